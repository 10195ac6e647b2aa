// Klobuchar broadcast ionosphere model with its coefficients from the header of a GPS
// navigation file (ION ALPHA / ION BETA of RINEX 2, GPSA / GPSB of RINEX 3).
#ifndef TERVAN_ATMOSPHERE_IONKLOBUCHAR_H
#define TERVAN_ATMOSPHERE_IONKLOBUCHAR_H

#include <iosfwd>

class IonKlobuchar {
 public:
  IonKlobuchar();

  // Delay on the first GPS frequency [m]. lat, lon: station geodetic latitude and longitude
  // [deg]; elev, azim: satellite elevation and azimuth [deg]; sod: GPS seconds of day [s].
  double CalcIonDelay(double lat, double lon, double elev, double azim, double sod) const;

  const long double* GetAlfa() const { return alfa; }
  const long double* GetBeta() const { return beta; }
  float GetVersion() const { return version; }
  const char* GetType() const { return type; }
  long double GetA0() const { return a0; }
  long double GetA1() const { return a1; }
  long GetT() const { return T; }
  long GetW() const { return W; }
  short GetLeaps() const { return leaps; }

  // Reads the header up to "END OF HEADER" (or the end of the stream).
  friend std::istream& operator>>(std::istream& in, IonKlobuchar& k);

 private:
  float version;
  char type[20];
  char pgm[21];
  char runby[21];
  char date[20];
  long double a0, a1;   // UTC parameters [s, s/s]
  long T, W;            // reference time [s] and week of the UTC parameters
  short leaps;          // leap seconds [s]
  long double alfa[4];  // amplitude coefficients [s, s/semicircle, ...]
  long double beta[4];  // period coefficients [s, s/semicircle, ...]

  void ReadLine(const char* line);
};

#endif
