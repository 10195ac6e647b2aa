#include "station/gCRD.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/ProgramError.h"
#include "core/TextFields.h"
#include "core/cfilef.h"
#include "gnss/TimeConverse.h"

using textfield::Cut;
using textfield::Real;
using textfield::Take;
using textfield::Trim;

namespace {

// A station line: not empty and column 3 (last digit of the record number) not blank.
bool IsStationLine(const std::string& line) {
  return line.size() > 3 && line[3] != ' ' && line[3] != '\r' && line[3] != '\t';
}

}  // namespace

gCRD::gCRD() : IsSiteB(false) {
  file[0] = '\0';
}

void gCRD::SetFile(const char* name) {
  std::snprintf(file, sizeof file, "%s", name);
  if (!FileExists(file)) ProgramError("Tervan", "COORDINATE FILE DOES NOT EXIST!");
}

bool gCRD::LinePosition(const std::string& line, long double tyear, xyz& pos) {
  long double x, y, z;
  if (!Take(Real(line, 87, 15), x) || !Take(Real(line, 102, 15), y) ||
      !Take(Real(line, 117, 15), z))
    return false;
  // Stations lie within 10000 km of the geocentre and drift by centimetres a
  // year; beyond that the line is damaged.
  if (std::fabs(x) > 1e7L || std::fabs(y) > 1e7L || std::fabs(z) > 1e7L) return false;
  long double v[3] = {0, 0, 0};
  if (line.size() >= 161)
    for (int i = 0; i < 3; i++)
      if (!Take(Real(line, 132 + 10 * i, 10), v[i]) || std::fabs(v[i]) > 1.0L) return false;
  long double t0 = 2005.0L;
  if (line.size() >= 182) {
    long double f[6];
    const size_t col[6] = {163, 168, 171, 174, 177, 180};
    for (int i = 0; i < 6; i++)
      if (!Take(Real(line, col[i], i < 5 ? col[i + 1] - col[i] : 12), f[i])) return false;
    if (f[0] <= 1900 || f[0] >= 2200 || f[1] < 1 || f[1] > 12 || f[2] < 1 || f[2] > 31 ||
        f[3] < 0 || f[3] >= 24 || f[4] < 0 || f[4] >= 60 || f[5] < 0 || f[5] >= 60)
      return false;
    const int days =
        DaysBeforeMonth(static_cast<int>(f[1]) + 1, LeapYear(static_cast<long>(f[0]))) -
        DaysBeforeMonth(static_cast<int>(f[1]), LeapYear(static_cast<long>(f[0])));
    if (f[2] > days) return false;
    dm.Set(static_cast<unsigned short>(f[0]), static_cast<unsigned short>(f[1]),
           static_cast<unsigned short>(f[2]), static_cast<unsigned short>(f[3]),
           static_cast<unsigned short>(f[4]), f[5]);
    t0 = dm.GetYearDec();
  }
  const long double dt = tyear - t0;
  pos = xyz(x + dt * v[0], y + dt * v[1], z + dt * v[2]);
  return true;
}

xyz gCRD::GetCRD(const char* name, const char* number, const mjd& epoch) {
  IsSiteB = false;
  std::ifstream in(file);
  if (!in) return xyz(0, 0, 0);
  const long double tyear = mjd2ymdhms(epoch).GetYearDec();
  const size_t nlen = std::strlen(name);
  std::string line;
  bool more = static_cast<bool>(std::getline(in, line));
  while (more && !line.empty() && line[0] == '#') more = static_cast<bool>(std::getline(in, line));
  for (; more && IsStationLine(line); more = static_cast<bool>(std::getline(in, line))) {
    if (Cut(line, 5, nlen) != name) continue;
    const std::string num = Trim(Cut(line, 26, 60));
    if (!num.empty() && num != number) continue;
    xyz pos;
    if (!LinePosition(line, tyear, pos)) continue;
    IsSiteB = true;
    return pos;
  }
  return xyz(0, 0, 0);
}
