#include "station/DCB.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "core/cfilef.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"

using textfield::RealFrom;

namespace {

bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// A satellite line: 'G' or 'R', two digits, then white space.
bool IsSatelliteLine(const std::string& line) {
  return line.size() > 3 && (line[0] == 'G' || line[0] == 'R') && IsDigit(line[1]) &&
         IsDigit(line[2]) && std::isspace(static_cast<unsigned char>(line[3]));
}

// The label of the column header line, after which the table begins.
const char* const kTableLabel = "PRN / STATION NAME";

}  // namespace

DCB::DCB() : nsat(0), StartEpoch(44250, 0.0L), EndEpoch(85000, 0.0L) {
  file[0] = '\0';
}

void DCB::SetFile(const char* name) {
  std::snprintf(file, sizeof file, "%s", name);
  if (!FileExists(file)) ProgramError("Tervan", "DCB FILE DOES NOT EXIST!");
}

void DCB::SetValidity() {
  StartEpoch = mjd(44250, 0.0L);
  EndEpoch = mjd(85000, 0.0L);
  const std::string name(file);
  const size_t back = name.find("_ALL") != std::string::npos ? 12 : 8;
  if (name.size() < back) return;
  const size_t y = name.size() - back, m = y + 2;
  if (!IsDigit(name[y]) || !IsDigit(name[y + 1]) || !IsDigit(name[m]) || !IsDigit(name[m + 1]))
    return;
  long year = (name[y] - '0') * 10 + (name[y + 1] - '0');
  const long month = (name[m] - '0') * 10 + (name[m + 1] - '0');
  if (month < 1 || month > 12) return;
  year += year > 78 ? 1900 : 2000;
  StartEpoch = ymdhms2mjd(ymdhms(year, month, 1, 0, 0, 0));
  EndEpoch = ymdhms2mjd(month == 12 ? ymdhms(year + 1, 1, 1, 0, 0, 0)
                                    : ymdhms(year, month + 1, 1, 0, 0, 0));
  EndEpoch += -0.001L;
}

void DCB::ReadFile() {
  SetValidity();
  std::ifstream in(file);
  if (!in) ProgramError("Tervan", "DCB FILE DOES NOT EXIST!");
  long n = 0;
  std::string line;
  if (textfield::SkipPastLabel(in, kTableLabel))
    while (std::getline(in, line))
      if (IsSatelliteLine(line)) n++;
  if (n > 32767) FileError("DCB", "DCB FILE CORRUPTED!");
  nsat = static_cast<short>(n);
  sat.Resize(nsat);
  VAL.Resize(nsat);
  RMS.Resize(nsat);
  std::ifstream again(file);
  textfield::SkipPastLabel(again, kTableLabel);
  long i = 0;
  while (i < nsat && std::getline(again, line)) {
    if (!IsSatelliteLine(line)) continue;
    const short prn = static_cast<short>((line[1] - '0') * 10 + (line[2] - '0'));
    sat(i) = static_cast<short>(prn + (line[0] == 'R' ? 100 : 0));
    long double v, r;
    if (!RealFrom(line, 26, v) || !RealFrom(line, 38, r)) FileError("DCB", "DCB FILE CORRUPTED!");
    VAL(i) = v * 1e-9L;
    RMS(i) = r * 1e-9L;
    i++;
  }
}

long DCB::Index(short satellite) const {
  for (long i = 0; i < nsat; i++)
    if (sat(i) == satellite) return i;
  return -1;
}

namespace {

void NotListed(short satellite, const char* tail) {
  char text[128];
  std::snprintf(text, sizeof text,
                "SATELLITE: %02d NOT LISTED IN DCB VALUES - SETTING 0.0s VALUES%s", satellite,
                tail);
  ClassWarning("DCB", text);
}

}  // namespace

void DCB::GetDCB(short satellite, long double& value, long double& rms) {
  const long i = Index(satellite);
  value = rms = 0;
  if (i < 0) return NotListed(satellite, "!");
  value = VAL(i);
  rms = RMS(i);
}

long double DCB::GetDCBVAL(short satellite) {
  const long i = Index(satellite);
  if (i >= 0) return VAL(i);
  NotListed(satellite, " FOR VAL!");
  return 0;
}

long double DCB::GetDCBRMS(short satellite) {
  const long i = Index(satellite);
  if (i >= 0) return RMS(i);
  NotListed(satellite, " FOR RMS!");
  return 0;
}
