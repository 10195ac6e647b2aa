// Header of a GPS or Galileo navigation file: version, program, UTC and
// ionosphere parameters, leap seconds.
#ifndef TERVAN_ORBITS_GPSBEPHHEADER_H
#define TERVAN_ORBITS_GPSBEPHHEADER_H

#include <cstdint>
#include <string>

class GPSbEphHeader {
 public:
  GPSbEphHeader();

  // Takes one header line; false when its label is not known.
  bool Label(const std::string& line);

  float GetVersion() const { return version; }
  const char* GetType() const { return type; }
  long double GetA0() const { return a0; }
  long double GetA1() const { return a1; }
  int32_t GetT() const { return T; }
  int32_t GetW() const { return W; }
  short GetLeapSeconds() const { return leaps; }
  long double GetAlfa(int i) const { return alfa[i]; }
  long double GetBeta(int i) const { return beta[i]; }

 private:
  void Ionosphere(const std::string& line, size_t first, long double* out);

  float version;
  char type[20];
  char pgm[21], runby[21];
  char date[20];
  long double a0, a1;  // UTC parameters (s, s/s)
  int32_t T, W;        // reference time (s of week) and week of the UTC parameters
  short leaps;
  long double alfa[4], beta[4];  // Klobuchar coefficients
};

#endif
