// Global pressure and temperature model GPT: pressure and temperature from spherical
// harmonics (degree and order 9) with an annual term, delays by the Saastamoinen formulas.
#ifndef TERVAN_ATMOSPHERE_GTM_GPT_H
#define TERVAN_ATMOSPHERE_GTM_GPT_H

class gTM_GPT {
 public:
  static constexpr int N = 55;  // number of terms
  static constexpr int n = 9;   // degree
  static constexpr int m = 9;   // order

  gTM_GPT();

  // lat: geodetic latitude [rad]; lon: longitude [rad]; h: ellipsoidal height [m].
  void SetAtmParams(long double lat, long double lon, long double h);
  // Zenith hydrostatic and wet delays [m] on the integer MJD day mjday.
  void GetZenithDelay(long mjday, long double& tdry, long double& twet) const;

  long double GetPressure(long mjday) const;             // at the station [hPa]
  long double GetTemperature(long mjday) const;          // at the station [deg C]
  long double GetUndulation() const { return gHeight; }  // [m]

 private:
  long double aG[N], bG[N], apM[N], bpM[N], apA[N], bpA[N], atM[N], btM[N], atA[N], btA[N];
  long double gHeight;        // geoid undulation [m]
  long double H;              // orthometric height [m]
  long double apMean, apAmp;  // mean and annual amplitude of pressure [hPa]
  long double atMean, atAmp;  // mean and annual amplitude of temperature [deg C]
  long double hEll;           // ellipsoidal height [m]
  long double lat;            // geodetic latitude [rad]

  long double SeasonCos(long mjday) const;
};

#endif
