// Code biases estimated by the sibling tool Lustra: receiver P1-C1 and P2-C1
// biases and, per satellite, the P1-C1 and P2-C1 biases with their RMS, all as
// stored in the file, at a reference epoch.
#ifndef TERVAN_STATION_MYDCB_H
#define TERVAN_STATION_MYDCB_H

#include "core/matrix.h"
#include "gnss/mjd.h"

class myDCB {
 public:
  myDCB();

  void SetFile(const char* name);
  void ReadFile();

  short GetNSat() const { return nsat; }
  short GetSat(long i) const { return sat(i); }
  const mjd& GetRefEpoch() const { return RefEpoch; }
  long double GetRecP1C1() const { return recP1C1; }
  long double GetRecP2C1() const { return recP2C1; }
  long double GetRecP1C1RMS() const { return recP1C1rms; }
  long double GetRecP2C1RMS() const { return recP2C1rms; }

  // Biases of a satellite; all 0 with a warning when it is not listed.
  void GetDCB(short satellite, long double& p1c1, long double& p1c1rms, long double& p2c1,
              long double& p2c1rms);
  void GetDCBVAL(short satellite, long double& p1c1, long double& p2c1);
  void GetDCBRMS(short satellite, long double& p1c1rms, long double& p2c1rms);

 private:
  long Index(short satellite) const;
  void ReadSatellite(const std::string& line, long i);

  char file[512];  // as long as the names the command line takes
  short nsat;
  long double recP1C1, recP2C1, recP1C1rms, recP2C1rms;
  matrix<short> sat;
  matrix<long double> VAL;  // nsat x 2: P1-C1, P2-C1
  matrix<long double> RMS;  // nsat x 2
  mjd RefEpoch;
};

#endif
