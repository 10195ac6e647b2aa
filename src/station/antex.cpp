#include "station/antex.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "core/cfilef.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"

namespace antexns {
short PrintWarns = 1;
}  // namespace antexns

using textfield::Cut;
using textfield::HasLabel;
using textfield::Int;
using textfield::Need;
using textfield::Real;
using textfield::Take;

namespace {

// A number read from a field; false when the field holds none.
bool Number(const std::string& field, double& v) {
  return Take(Real(field), v);
}

// Phase centres lie within metres of the reference point and vary by
// centimetres; values beyond these limits (mm) come from a damaged file.
const double kMaxOffset = 10000.0;
const double kMaxVariation = 1000.0;

bool Millimetres(const std::string& field, double limit, double& v) {
  return Number(field, v) && std::fabs(v) <= limit;
}

bool Integer(const std::string& field, long& v) {
  return Take(Int(field), v);
}

// GPS block and GLONASS types as they stand in columns 0-10 of "TYPE / SERIAL NO".
const char* const kGPSBlocks[9] = {"BLOCK I    ", "BLOCK II   ", "BLOCK IIA  ",
                                   "BLOCK IIR  ", "BLOCK IIR-A", "BLOCK IIR-B",
                                   "BLOCK IIR-M", "BLOCK IIF  ", "BLOCK IIIA "};
const char* const kGLONASSTypes[4] = {"GLONASS    ", "GLONASS-M  ", "GLONASS-K  ", "GLONASS-K1 "};

// Class code of a known type text, or -1.
short TypeCode(const std::string& text, const char* const* table, int n, short first) {
  for (int i = 0; i < n; i++)
    if (text.compare(0, 11, table[i]) == 0) return static_cast<short>(first + i);
  return -1;
}

// Frequency index of a "START OF FREQUENCY" line, -1 for one that is not kept.
int FrequencyIndex(const std::string& line) {
  const char sys = line.size() > 3 ? line[3] : ' ';
  const char num = line.size() > 5 ? line[5] : ' ';
  if (sys == 'G' && num == '1') return antfreq::G01;
  if (sys == 'G' && num == '2') return antfreq::G02;
  if (sys == 'R' && num == '1') return antfreq::R01;
  if (sys == 'R' && num == '2') return antfreq::R02;
  if (sys == 'E' && num == '1') return antfreq::E01;
  if (sys == 'E' && num == '7') return antfreq::E07;
  return -1;
}

}  // namespace

antex::antex()
    : version(0),
      satsystem(' '),
      pvctype(' '),
      nAntenna(0),
      nGPSSat(0),
      nGLNSat(0),
      nGALSat(0),
      nRec(0),
      IxAnt(-1) {
  antfile[0] = '\0';
}

void antex::SetFile(const char* name) {
  std::snprintf(antfile, sizeof antfile, "%s", name);
  if (!FileExists(antfile)) ProgramError("Tervan", "ANTEX FILE DOES NOT EXISTS!");
}

void antex::Corrupted(const AntennaPCV& a) const {
  FileError("antex", "ANTEX FILE CORRUPTED - ANTENNA >" + std::string(a.AntennaName) + "<!");
}

void antex::ReadHeader(std::istream& in) {
  std::string line;
  while (std::getline(in, line)) {
    if (HasLabel(line, "END OF HEADER")) return;
    if (HasLabel(line, "ANTEX VERSION / SYST")) {
      version = static_cast<float>(Need(Real(line, 0, 9), {"antex", antfile}, line, 0, 9));
      satsystem = line.size() > 20 ? line[20] : ' ';
    } else if (HasLabel(line, "PCV TYPE / REFANT")) {
      pvctype = line.empty() ? ' ' : line[0];
    }
  }
  FileError("antex", "ANTEX FILE HEADER NOT COMPLETE (END OF HEADER MISSING)!");
}

void antex::CountAntennas(std::istream& in) {
  nAntenna = nGPSSat = nGLNSat = nGALSat = nRec = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (!HasLabel(line, "TYPE / SERIAL NO")) continue;
    nAntenna++;
    if (HasLabel(line, "BLOCK"))
      nGPSSat++;
    else if (HasLabel(line, "GLONASS"))
      nGLNSat++;
    else if (HasLabel(line, "GALILEO"))
      nGALSat++;
    else
      nRec++;
  }
}

void antex::ReadFile() {
  std::ifstream in(antfile);
  if (!in) ProgramError("Tervan", "ANTEX FILE DOES NOT EXISTS!");
  ReadHeader(in);
  CountAntennas(in);
  AT_PCV.Resize(nAntenna);
  IxAnt = -1;
  unknownTypes.clear();
  std::ifstream again(antfile);
  ReadHeader(again);
  for (long i = 0; i < nAntenna; i++) ReadAntenna(again, AT_PCV(i));
}

short antex::SatelliteType(const std::string& text, const char* const* table, int n, short first,
                           const char* system) {
  const short code = TypeCode(text, table, n, first);
  if (code >= 0) return code;
  // Calibration files carry new blocks (GLONASS-K2, BLOCK IIIF) before they are
  // listed here: such a satellite is one of its system, not of block IIR.
  if (unknownTypes.insert(text).second)
    ClassWarning("antex", std::string(system) + " SATELLITE TYPE >" + text +
                              "< UNKNOWN - TAKEN AS " + system + " SATELLITE NOT OF BLOCK IIR!");
  return static_cast<short>(first + n - 1);
}

void antex::ReadTypeLine(const std::string& line, AntennaPCV& a) {
  std::string text = Cut(line, 0, 20);
  text.resize(20, ' ');
  std::string serial = Cut(line, 20, 20);
  serial.resize(20, ' ');
  if (HasLabel(line, "BLOCK")) {
    a.PCVType = SatelliteType(text, kGPSBlocks, 9, 1, "GPS");
  } else if (HasLabel(line, "GLONASS")) {
    a.PCVType = SatelliteType(text, kGLONASSTypes, 4, 10, "GLONASS");
  } else if (HasLabel(line, "GALILEO")) {
    a.PCVType = 14;
  } else {
    a.PCVType = 0;
  }
  a.SatID = 0;
  const char sys = serial[0];
  if ((sys == 'G' || sys == 'R' || sys == 'E') &&
      std::isdigit(static_cast<unsigned char>(serial[1])) &&
      std::isdigit(static_cast<unsigned char>(serial[2]))) {
    const short prn = static_cast<short>((serial[1] - '0') * 10 + (serial[2] - '0'));
    a.SatID = static_cast<short>(prn + (sys == 'R' ? 100 : sys == 'E' ? 200 : 0));
  }
  std::snprintf(a.AntennaName, sizeof a.AntennaName, "%s", text.c_str());
  std::snprintf(a.AntennaSerial, sizeof a.AntennaSerial, "%s", serial.c_str());
}

void antex::ReadVariations(const std::string& line, AntennaPCV& a, matrix<double>& m, long row) {
  for (long k = 0; k < a.nZen; k++) {
    double v = 0;
    if (!Millimetres(Cut(line, 8 + 8 * k, 8), kMaxVariation, v)) Corrupted(a);
    m(row * a.nZen + k) = v / 1000.0;
  }
}

void antex::ReadFrequency(std::istream& in, const std::string& startLine, AntennaPCV& a) {
  const int f = FrequencyIndex(startLine);
  if (f < 0) return;
  if (a.nZen == 0) Corrupted(a);
  std::string line;
  double n = 0, e = 0, u = 0;
  if (!std::getline(in, line) || !Millimetres(Cut(line, 0, 10), kMaxOffset, n) ||
      !Millimetres(Cut(line, 10, 10), kMaxOffset, e) ||
      !Millimetres(Cut(line, 20, 10), kMaxOffset, u))
    Corrupted(a);
  a.Offset(f) = neu(n / 1000.0, e / 1000.0, u / 1000.0);
  matrix<double>& z = a.Zenith(f);
  z.Resize(a.nZen, 1);
  if (!std::getline(in, line)) Corrupted(a);
  ReadVariations(line, a, z, 0);
  if (!a.hasAzimuthPCV) return;
  matrix<double>& m = a.Azimuth(f);
  m.Resize(a.nAzi, a.nZen);
  for (long r = 0; r < a.nAzi; r++) {
    if (!std::getline(in, line)) Corrupted(a);
    ReadVariations(line, a, m, r);
  }
}

void antex::ReadAntenna(std::istream& in, AntennaPCV& a) {
  std::string line;
  bool started = false;
  while (!started && std::getline(in, line)) started = HasLabel(line, "START OF ANTENNA");
  if (!started) Corrupted(a);
  double z1 = 0, z2 = 0, dz = 0;
  bool grid = false;
  while (std::getline(in, line)) {
    if (HasLabel(line, "END OF ANTENNA")) break;
    if (HasLabel(line, "COMMENT") || HasLabel(line, "SINEX CODE")) continue;
    if (HasLabel(line, "TYPE / SERIAL NO")) {
      ReadTypeLine(line, a);
    } else if (HasLabel(line, "DAZI")) {
      if (!Number(Cut(line, 2, 58), a.dazi)) Corrupted(a);
    } else if (HasLabel(line, "ZEN1 / ZEN2 / DZEN")) {
      grid = Number(Cut(line, 2, 6), z1) && Number(Cut(line, 8, 6), z2) &&
             Number(Cut(line, 14, 6), dz);
      if (!grid) Corrupted(a);
    } else if (HasLabel(line, "# OF FREQUENCIES")) {
      long nf = 0;
      if (!Integer(Cut(line, 0, 6), nf)) Corrupted(a);
      a.nFreq = static_cast<int>(nf);
    } else if (HasLabel(line, "VALID FROM") || HasLabel(line, "VALID UNTIL")) {
      long y = 0, mo = 0, d = 0, h = 0, mi = 0;
      double s = 0;
      if (!Integer(Cut(line, 0, 6), y) || !Integer(Cut(line, 6, 6), mo) ||
          !Integer(Cut(line, 12, 6), d) || !Integer(Cut(line, 18, 6), h) ||
          !Integer(Cut(line, 24, 6), mi) || !Number(Cut(line, 30, 13), s))
        Corrupted(a);
      if (y <= 1900 || y >= 2200 || mo < 1 || mo > 12 || d < 1 || d > 31 || h < 0 || h > 24 ||
          mi < 0 || mi >= 60 || s < 0 || s >= 60 ||
          d > DaysBeforeMonth(mo + 1, LeapYear(y)) - DaysBeforeMonth(mo, LeapYear(y)))
        Corrupted(a);
      const mjd t = ymdhms2mjd(ymdhms(y, mo, d, h, mi, s));
      (HasLabel(line, "VALID FROM") ? a.ValidFrom : a.ValidTo) = t;
    } else if (HasLabel(line, "START OF FREQUENCY")) {
      if (!grid || !a.SetGrid(z1, z2, dz, a.dazi)) Corrupted(a);
      ReadFrequency(in, line, a);
    }
  }
  if (!HasLabel(line, "END OF ANTENNA")) Corrupted(a);
  if (a.PCVType < 0 || a.PCVType > 14)
    ClassWarning("antex", "TYPE OF ANTENNA SENSOR NOT DEFINED [RECEIVER|GPS|GLONASS|GALILEO]!");
  if (a.PCVType == 0) a.InheritFrequencies();
}

void antex::StartSelection(const char* name) {
  IxAnt = -1;
  if (antexns::PrintWarns && std::strlen(name) != 20)
    FileError("antex", "ANTENNA NAME MUST HAVE 20 CHARACTERS!");
}

long antex::FindAntenna(const char* name, const char* serial, const mjd* epoch) const {
  for (long i = 0; i < nAntenna; i++) {
    const AntennaPCV& a = AT_PCV(i);
    if (std::strstr(name, a.AntennaName) == nullptr) continue;
    if (serial != nullptr && std::strstr(serial, a.AntennaSerial) == nullptr) continue;
    if (epoch != nullptr && !a.IsValid(*epoch)) continue;
    return i;
  }
  return -1;
}

void antex::SetAntenna(const char* name) {
  StartSelection(name);
  IxAnt = FindAntenna(name, nullptr, nullptr);
  if (IxAnt < 0 && antexns::PrintWarns)
    ClassWarning("antex",
                 "ANTENNA: " + std::string(name) +
                     " NOT FOUND IN ANTEX FILE - SETING ALL CALIBRATION PARAMETERS TO ZERO!");
}

void antex::SetAntenna(const char* name, const char* serial) {
  StartSelection(name);
  IxAnt = FindAntenna(name, serial, nullptr);
}

void antex::SetAntenna(const char* name, const char* serial, const mjd& epoch) {
  StartSelection(name);
  IxAnt = FindAntenna(name, serial, &epoch);
}

void antex::SetSatellite(short sat, const mjd& epoch) {
  IxAnt = -1;
  for (long i = 0; i < nAntenna && IxAnt < 0; i++)
    if (sat != 0 && AT_PCV(i).SatID == sat && AT_PCV(i).IsValid(epoch)) IxAnt = i;
  if (IxAnt < 0 && antexns::PrintWarns)
    ClassWarning("antex",
                 "SATELLITE: " + std::to_string(sat) +
                     " NOT FOUND IN ANTEX FILE - SETING ALL CALIBRATION PARAMETERS TO ZERO!");
}

bool antex::IsBlockIIR() const {
  return IxAnt >= 0 && AT_PCV(IxAnt).IsBlockIIR();
}

void antex::GetAntennaOffset(neu& offset, short f) {
  offset = neu(0, 0, 0);
  if (f < 0 || f >= antfreq::NFREQ) {
    ClassWarning("antex", "FREQUENCY TYPE NOT PROPER (GETTING ANTENNA OFFSET)!");
    return;
  }
  if (IxAnt >= 0) offset = AT_PCV(IxAnt).Offset(f);
}

void antex::GetAntennaPCV(double z, double a, double& g01, double& g02, double& r01, double& r02,
                          double& e01, double& e07) {
  g01 = g02 = r01 = r02 = e01 = e07 = 0;
  if (IxAnt >= 0) AT_PCV(IxAnt).GetAntennaPCV(z, a, g01, g02, r01, r02, e01, e07);
}
