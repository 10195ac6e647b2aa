// Hopfield zenith delays from the standard atmosphere reduced to the station height:
// pressure, temperature and water vapour pressure at the station, the hydrostatic layer
// reaching 40136 + 148.72 T metres above it.
#ifndef TERVAN_ATMOSPHERE_GTM_HOPFIELD_H
#define TERVAN_ATMOSPHERE_GTM_HOPFIELD_H

class gTM_Hopfield {
 public:
  gTM_Hopfield();

  // lat: geodetic latitude [rad]; h: ellipsoidal height [m].
  void SetAtmParams(long double lat, long double h);
  // Zenith hydrostatic and wet delays [m]; independent of the epoch.
  void GetZenithDelay(long double& tdry, long double& twet);

 private:
  long double K1;  // refractivity constant
  long double T;   // station temperature [deg C]
  long double Hd;  // height of the hydrostatic layer [m]
  long double g;   // gravity factor
  long double p;   // station pressure [hPa]
  long double e;   // station water vapour pressure [hPa]
};

#endif
