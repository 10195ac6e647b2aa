#include "atmosphere/IONEXHeader.h"

#include <cmath>
#include <cstdlib>
#include <istream>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"

using namespace textfield;

namespace {

const char* const kCls = "IONEXHeader";

// Header numbers are required: a field that holds none is a framed error.
long double Number(const std::string& line, size_t pos, size_t len) {
  return Need(Real(line, pos, len), {kCls, "IONEX HEADER"}, line, pos, len);
}

long Integer(const std::string& line, size_t pos, size_t len) {
  return Need(Int(line, pos, len), {kCls, "IONEX HEADER"}, line, pos, len);
}

// Epoch of a header line: year, month, day, hour, minute in 6-column fields, seconds from
// column 30.
mjd ReadEpoch(const std::string& line) {
  long f[5];
  for (int k = 0; k < 5; k++) f[k] = Integer(line, 6 * k, 6);
  return ymdhms2mjd(ymdhms(f[0], f[1], f[2], f[3], f[4], Number(line, 30, 6)));
}

// Number of a satellite from its system letter and PRN (0 for other systems).
unsigned short SatelliteNumber(char sys, long prn) {
  if (prn < 0 || prn > 99) return 0;
  switch (sys) {
    case 'G':
    case ' ':
      return static_cast<unsigned short>(prn);
    case 'R':
      return static_cast<unsigned short>(prn + 100);
    case 'E':
      return static_cast<unsigned short>(prn + 200);
    default:
      return 0;
  }
}

}  // namespace

IONEXHeader::IONEXHeader()
    : version(0.0f),
      type{},
      pgm{},
      runby{},
      date{},
      MapFun{},
      ObsUsed{},
      interval(0),
      nMaps(0),
      nStats(0),
      nSat(0),
      MapDim(0),
      ElevCutOff(0.0f),
      BaseR(0.0),
      hgt1(0.0),
      hgt2(0.0),
      dhgt(0.0),
      lat1(0.0),
      lat2(0.0),
      dlat(0.0),
      lon1(0.0),
      lon2(0.0),
      dlon(0.0),
      exponent(-1) {}

void IONEXHeader::Read(std::istream& in, int nsat, int nstats) {
  nSat = nsat;
  nStats = nstats;
  Sat.Resize(nSat, 1, 0);
  SatDCB.Resize(nSat, 2, 0.0);
  std::string line;
  while (std::getline(in, line)) {
    if (HasLabel(line, "DIFFERENTIAL CODE BIASES")) {
      ReadBiases(in);
      return;
    }
    if (ReadLabel(line)) return;
  }
  FileError(kCls, "IONEX FILE ENDS IN THE HEADER - NO MAPS IN FILE!");
}

bool IONEXHeader::ReadLabel(const std::string& line) {
  // Comment-like lines first: their free text may hold any label word.
  if (HasLabel(line, "COMMENT") || HasLabel(line, "DESCRIPTION") ||
      HasLabel(line, "# OF STATIONS") || HasLabel(line, "# OF SATELLITES"))
    return false;
  if (HasLabel(line, "END OF HEADER")) return true;
  if (HasLabel(line, "IONEX VERSION / TYPE")) {
    version = static_cast<float>(Number(line, 0, 9));
    CopyText(type, sizeof(type), Trimmed(line, 20, 19));
    if (!HasLabel(type, "IONOSPHERE MAPS"))
      FileError(kCls, "FILE VERSION IS NOT \"IONOSPHERE MAPS\"!!");
  } else if (HasLabel(line, "PGM / RUN BY / DATE")) {
    CopyText(pgm, sizeof(pgm), Trimmed(line, 0, 20));
    CopyText(runby, sizeof(runby), Trimmed(line, 20, 20));
    CopyText(date, sizeof(date), Trimmed(line, 40, 20));
  } else if (HasLabel(line, "EPOCH OF FIRST MAP")) {
    firstEph = ReadEpoch(line);
  } else if (HasLabel(line, "EPOCH OF LAST MAP")) {
    lastEph = ReadEpoch(line);
  } else if (HasLabel(line, "INTERVAL")) {
    interval = static_cast<int>(Integer(line, 0, 60));
  } else if (HasLabel(line, "# OF MAPS IN FILE")) {
    nMaps = static_cast<int>(Integer(line, 0, 60));
  } else if (HasLabel(line, "MAP DIMENSION")) {
    MapDim = static_cast<short>(Integer(line, 0, 60));
  } else if (HasLabel(line, "EXPONENT")) {
    exponent = static_cast<int>(Integer(line, 0, 60));
  } else if (HasLabel(line, "MAPPING FUNCTION")) {
    CopyText(MapFun, sizeof(MapFun), Cut(line, 2, 4));
  } else if (HasLabel(line, "ELEVATION CUTOFF")) {
    ElevCutOff = static_cast<float>(static_cast<double>(Number(line, 0, 60)));
  } else if (HasLabel(line, "BASE RADIUS")) {
    BaseR = static_cast<double>(Number(line, 0, 60));
  } else if (HasLabel(line, "HGT1 / HGT2 / DHGT")) {
    hgt1 = Number(line, 2, 6);
    hgt2 = Number(line, 8, 6);
    dhgt = Number(line, 14, 6);
  } else if (HasLabel(line, "LAT1 / LAT2 / DLAT")) {
    lat1 = Number(line, 2, 6);
    lat2 = Number(line, 8, 6);
    dlat = Number(line, 14, 6);
  } else if (HasLabel(line, "LON1 / LON2 / DLON")) {
    lon1 = Number(line, 2, 6);
    lon2 = Number(line, 8, 6);
    dlon = Number(line, 14, 6);
  } else if (HasLabel(line, "OBSERVABLES USED")) {
    CopyText(ObsUsed, sizeof(ObsUsed), Cut(line, 0, 60));
  } else {
    ClassWarning(kCls, Cut(line, 60, 20) + " -> UNKNOWN HEADER LABEL");
  }
  return false;
}

// The bias block: one "PRN / BIAS / RMS" line per satellite (biases in ns), station lines,
// then the rest of the header.
void IONEXHeader::ReadBiases(std::istream& in) {
  std::string line;
  long isat = 0;
  while (std::getline(in, line)) {
    if (HasLabel(line, "END OF HEADER")) return;
    if (!HasLabel(line, "PRN / BIAS / RMS") || isat >= nSat) continue;
    const char sys = line.size() > 3 ? line[3] : ' ';
    Sat(isat) = SatelliteNumber(sys, Integer(line, 4, 2));
    SatDCB(isat, 0) = static_cast<double>(Number(line, 6, 10)) * 1e-9;
    SatDCB(isat, 1) = static_cast<double>(Number(line, 16, 10)) * 1e-9;
    isat++;
  }
  FileError(kCls, "IONEX FILE ENDS IN THE HEADER - NO MAPS IN FILE!");
}

double IONEXHeader::GetDCB(unsigned short sat) const {
  for (long i = 0; i < nSat; i++)
    if (sat != 0 && Sat(i) == sat) return SatDCB(i, 0);
  return 0.0;
}
