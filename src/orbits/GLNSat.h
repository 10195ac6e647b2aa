// GLONASS frequency channel numbers per slot with their periods of validity,
// read from a channel table file.
#ifndef TERVAN_ORBITS_GLNSAT_H
#define TERVAN_ORBITS_GLNSAT_H

#include <cstdint>

#include "core/matrix.h"
#include "gnss/mjd.h"
#include "gnss/ymdhms.h"

class GLNSat {
 public:
  GLNSat();

  void SetFile(const char* name);
  void ReadFile();

  // Channel number of satellite sat (100 + slot) at the GPS-time epoch t: the
  // first row of the satellite whose validity holds t; 0 with GetIsGLNSat()
  // false when no row does.
  long double GetFreqNum(short sat, const mjd& t);
  bool GetIsGLNSat() const { return IsGLNSat; }
  int32_t GetNSat() const { return nsat; }

 private:
  char file[512];  // as long as a file name the command line accepts
  bool IsGLNSat;
  int32_t nsat;
  matrix<short> sat;
  matrix<mjd> eph;
  matrix<long double> FreqChannel;
  ymdhms dm;
  mjd lastEph;  // open end of validity, 2099-12-31 23:59:59
};

#endif
