// Saastamoinen zenith delays from the standard atmosphere reduced to the station height.
#ifndef TERVAN_ATMOSPHERE_GTM_SAASTAMOINEN_H
#define TERVAN_ATMOSPHERE_GTM_SAASTAMOINEN_H

class gTM_Saastamoinen {
 public:
  gTM_Saastamoinen();

  // lat: geodetic latitude [rad]; h: ellipsoidal height [m].
  void SetAtmParams(long double lat, long double h);
  // Zenith hydrostatic and wet delays [m]; independent of the epoch.
  void GetZenithDelay(long double& tdry, long double& twet) const;

  long double GetPressure() const { return p; }        // [hPa]
  long double GetTemperature() const { return T; }     // [K]
  long double GetHumidity() const { return H; }        // [%]
  long double GetVapourPressure() const { return e; }  // [hPa]

 private:
  long double p;  // pressure [hPa]
  long double T;  // temperature [K]
  long double H;  // relative humidity [%]
  long double g;  // gravity factor
  long double e;  // water vapour pressure [hPa]
};

#endif
