// Header of a GLONASS navigation file: version, program, the correction of the
// system time to UTC, leap seconds.
#ifndef TERVAN_ORBITS_GLNBEPHHEADER_H
#define TERVAN_ORBITS_GLNBEPHHEADER_H

#include <string>

#include "gnss/ymdhms.h"

class GLNbEphHeader {
 public:
  GLNbEphHeader();

  // Takes one header line; false when its label is not known.
  bool Label(const std::string& line);

  float GetVersion() const { return version; }
  const char* GetType() const { return type; }
  long double GetTauC() const { return TauC; }
  const ymdhms& GetRefTimeCorr() const { return RefTimeCorr; }
  short GetLeapSeconds() const { return leaps; }

 private:
  float version;
  char type[20];
  char pgm[21], runby[21];
  char date[20];
  long double TauC;  // correction of the GLONASS system time to UTC (s)
  ymdhms RefTimeCorr;
  short leaps;
};

#endif
