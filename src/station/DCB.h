// Monthly satellite differential code biases (P1-P2, P1-C1 or P2-C2) of a
// CODE-style file. The validity month comes from the file name (P1C1yymm.DCB,
// P1P2yymm_ALL.DCB); biases are kept in seconds per satellite.
#ifndef TERVAN_STATION_DCB_H
#define TERVAN_STATION_DCB_H

#include "core/matrix.h"
#include "gnss/mjd.h"

class DCB {
 public:
  DCB();

  void SetFile(const char* name);
  void ReadFile();

  short GetNSat() const { return nsat; }
  short GetSat(long i) const { return sat(i); }
  const mjd& GetStartEpoch() const { return StartEpoch; }
  const mjd& GetEndEpoch() const { return EndEpoch; }

  // Bias and RMS (s) of a satellite; 0 with a warning when it is not listed.
  void GetDCB(short satellite, long double& value, long double& rms);
  long double GetDCBVAL(short satellite);
  long double GetDCBRMS(short satellite);

 private:
  // Validity month from the file name.
  void SetValidity();
  long Index(short satellite) const;

  char file[512];  // as long as the names the command line takes
  short nsat;
  matrix<short> sat;
  matrix<long double> VAL;  // bias (s)
  matrix<long double> RMS;  // (s)
  mjd StartEpoch, EndEpoch;
};

#endif
