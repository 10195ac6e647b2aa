// Marini mapping function (one function for both parts).
#ifndef TERVAN_ATMOSPHERE_GMF_MARINI_H
#define TERVAN_ATMOSPHERE_GMF_MARINI_H

class gMF_Marini {
 public:
  gMF_Marini();
  // lat: geodetic latitude [rad]; h: ellipsoidal height [m].
  void SetAtmParams(long double lat, long double h);
  // E: elevation [rad].
  void GetMappFunction(long double E, long double& mfdry, long double& mfwet) const;

 private:
  long double g;    // gravity factor of this function (0.0028 per km)
  long double Tkz;  // kept for the layout of the model; not used by the formula
  long double ksi;
};

#endif
