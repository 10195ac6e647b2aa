// ANTEX antenna calibration file: receiver and satellite antennas with their
// phase-centre offsets and variations for the six kept frequencies.
//
// Selection works through one cursor: SetAntenna or SetSatellite chooses an
// antenna and the queries that follow concern it.
#ifndef TERVAN_STATION_ANTEX_H
#define TERVAN_STATION_ANTEX_H

#include <set>
#include <string>

#include "core/matrix.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "station/AntennaPCV.h"

namespace antexns {
// Enables the 20-character antenna name rule and the not-found warnings.
extern short PrintWarns;
}  // namespace antexns

class antex {
 public:
  antex();

  // Stores the name; a file that does not exist ends the run.
  void SetFile(const char* name);
  void ReadFile();

  float GetVersion() const { return version; }
  char GetSatSystem() const { return satsystem; }
  char GetPCVType() const { return pvctype; }
  long GetNAntenna() const { return nAntenna; }
  long GetNGPSSat() const { return nGPSSat; }
  long GetNGLNSat() const { return nGLNSat; }
  long GetNGALSat() const { return nGALSat; }
  long GetNRec() const { return nRec; }
  long GetAtxIndex() const { return IxAnt; }
  const AntennaPCV& GetAntenna(long i) const { return AT_PCV(i); }

  // name: antenna type padded to 20 characters with the radome in columns 16-19.
  void SetAntenna(const char* name);
  void SetAntenna(const char* name, const char* serial);
  void SetAntenna(const char* name, const char* serial, const mjd& epoch);
  void SetSatellite(short sat, const mjd& epoch);

  bool IsBlockIIR() const;
  // Offset (m) of the selected antenna for frequency f (antfreq index 0-5).
  void GetAntennaOffset(neu& offset, short f);
  // Variations (m) of the selected antenna at zenith (nadir) z and azimuth a (degrees).
  void GetAntennaPCV(double z, double a, double& g01, double& g02, double& r01, double& r02,
                     double& e01, double& e07);

 private:
  void ReadHeader(std::istream& in);
  void CountAntennas(std::istream& in);
  void ReadAntenna(std::istream& in, AntennaPCV& a);
  void ReadTypeLine(const std::string& line, AntennaPCV& a);
  void ReadFrequency(std::istream& in, const std::string& line, AntennaPCV& a);
  // Reads the nZen variations (mm, from column 8 in fields of 8) of one grid row into metres.
  void ReadVariations(const std::string& line, AntennaPCV& a, matrix<double>& m, long row);
  [[noreturn]] void Corrupted(const AntennaPCV& a) const;
  // Class code of a GPS block or GLONASS type text; a type outside the known ones
  // (a newer block) is taken as the system's newest type, with one warning per text.
  short SatelliteType(const std::string& text, const char* const* table, int n, short first,
                      const char* system);
  // Checks the length of a requested antenna name and clears the selection.
  void StartSelection(const char* name);
  // First antenna matching the name (and serial, and epoch when given).
  long FindAntenna(const char* name, const char* serial, const mjd* epoch) const;

  char antfile[512];
  float version;
  char satsystem;
  char pvctype;
  long nAntenna;
  long nGPSSat, nGLNSat, nGALSat;
  long nRec;
  long IxAnt;
  matrix<AntennaPCV> AT_PCV;
  std::set<std::string> unknownTypes;  // unknown satellite types already warned of
};

#endif
