// Reader of an IONEX file into a header and a data object owned by the caller.
#ifndef TERVAN_ATMOSPHERE_IONEX_H
#define TERVAN_ATMOSPHERE_IONEX_H

#include "atmosphere/IONEXData.h"
#include "atmosphere/IONEXHeader.h"

class IONEX {
 public:
  IONEX(IONEXHeader& head, IONEXData& data);

  void SetFile(const char* name);
  // Counts the bias lines, reads the header and the maps; a missing file ends the program.
  void ReadFile();

  // See IONEXData::CalcIonDelay.
  long double CalcIonDelay(long double& sod, long double& lat, long double& lon, long double& elev,
                           long double azim, int& unit, int& type, int& kind) {
    return idata.CalcIonDelay(sod, lat, lon, elev, azim, unit, type, kind);
  }
  // Satellite code bias [s] from the header, 0 when the satellite is not listed.
  double GetDCB(unsigned short sat) const { return ihead.GetDCB(sat); }
  const char* GetFile() const { return ifile; }

 private:
  char ifile[512];
  unsigned short sattmp;
  IONEXHeader& ihead;
  IONEXData& idata;
};

#endif
