// UNB3 mapping functions.
#ifndef TERVAN_ATMOSPHERE_GMF_UNB3_H
#define TERVAN_ATMOSPHERE_GMF_UNB3_H

class gMF_UNB3 {
 public:
  gMF_UNB3();
  // lat: geodetic latitude [rad]; h: ellipsoidal height [m].
  void SetAtmParams(long double lat, long double h);
  // E: elevation [rad].
  void GetMappFunction(long double E, long double& mfdry, long double& mfwet) const;

 private:
  long double ad, bd, cd;  // hydrostatic coefficients
  long double aw, bw, cw;  // wet coefficients
};

#endif
