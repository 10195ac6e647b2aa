#include "station/PoleTide.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "core/ProgramError.h"
#include "core/TextFields.h"

namespace {

// The pole never strays more than a fraction of an arcsecond from its mean;
// anything beyond 10 arcsec (or not a number) is a damaged line.
bool PlausiblePole(long double arcsec) {
  return std::fabs(arcsec) <= 10.0L;
}

// A data line holds more than 5 characters besides blanks, tabs and line ends.
bool IsDataLine(const std::string& s) {
  return textfield::Trim(s).size() > 5;
}

}  // namespace

PoleTide::PoleTide()
    : neph(0),
      version(1),
      nPoleTideData(3),
      PoleM(1e-5L),
      Tm(1e-6L),
      J2000(51544, 0.0L),
      xp(0),
      yp(0),
      xi(0),
      yi(0) {
  file[0] = '\0';
  for (int i = 0; i < 4; i++) xpdata[i] = ypdata[i] = 0;
}

void PoleTide::SetFile(const char* name) {
  std::snprintf(file, sizeof file, "%s", name);
}

void PoleTide::Unreadable() const {
  ProgramError("Tervan", "EARTH ROTATION PARAMETER FILE CAN NOT BE READ!");
}

bool PoleTide::ScanFile() {
  std::ifstream in(file);
  std::string line;
  if (!std::getline(in, line)) Unreadable();
  version = 1;
  neph = 0;
  bool header = false;
  do {
    if (line.find("version 2") != std::string::npos || line.find("VERSION 2") != std::string::npos)
      version = 2;
    header = line.find("MJD") != std::string::npos;
  } while (!header && std::getline(in, line));
  if (!header) return false;
  std::getline(in, line);  // units
  while (std::getline(in, line))
    if (IsDataLine(line)) neph++;
  return true;
}

void PoleTide::ReadFile() {
  if (!ScanFile() || neph == 0) Unreadable();
  PoleM = version == 2 ? 1e-6L : 1e-5L;
  Tm = version == 2 ? 1e-7L : 1e-6L;
  VAL.Resize(neph, nPoleTideData);
  eph.Resize(neph);
  std::ifstream in(file);
  std::string line;
  if (!textfield::SkipPastLabel(in, "MJD")) Unreadable();  // the column header
  std::getline(in, line);                                  // units
  long i = 0;
  while (i < neph && std::getline(in, line)) {
    if (!IsDataLine(line)) continue;
    double m = 0, x = 0, y = 0, ut = 0;
    if (std::sscanf(line.c_str(), "%lf %lf %lf %lf", &m, &x, &y, &ut) != 4 || !(m > 0) ||
        m >= 200000 || !PlausiblePole(x * PoleM) || !PlausiblePole(y * PoleM) || !std::isfinite(ut))
      Unreadable();
    eph(i) = static_cast<long double>(m);
    if (i > 0 && !(eph(i) > eph(i - 1))) Unreadable();
    VAL(i, 0) = x * PoleM;
    VAL(i, 1) = y * PoleM;
    VAL(i, 2) = ut * Tm;
    i++;
  }
  if (i < neph) Unreadable();
}

void PoleTide::SetMeanPole() {
  const long double t = (CalcEph.GetMJDDec() - J2000.GetMJDDec()) / 365.25L;
  const long double linX[4] = {0.023513L, 0.0076141L, 0, 0};
  const long double linY[4] = {0.358891L, -0.0006287L, 0, 0};
  const long double cubX[4] = {0.055974L, 0.0018243L, 0.00018413L, 0.000007024L};
  const long double cubY[4] = {0.346346L, 0.0017896L, -0.00010729L, -0.000000908L};
  const bool linear = t > 10.0L;
  xi = yi = 0;
  long double tn = 1;
  for (int k = 0; k < 4; k++) {
    xpdata[k] = linear ? linX[k] : cubX[k];
    ypdata[k] = linear ? linY[k] : cubY[k];
    xi += xpdata[k] * tn;
    yi += ypdata[k] * tn;
    tn *= t;
  }
}

void PoleTide::InterpolatePole(const mjd& t) {
  if (neph == 1) {
    xp = VAL(0, 0);
    yp = VAL(0, 1);
    return;
  }
  long i = 0;
  if (t < eph(0)) {
    if (eph(0) - t > 86400.0L)
      ClassWarning("PoleTide",
                   "ERP FILE - GETTING INDEX - INPUT EPOCH OUT OF DATA INTERVAL (<1day)");
  } else if (t > eph(neph - 1)) {
    i = neph - 2;
    if (t - eph(neph - 1) > 86400.0L)
      ClassWarning("PoleTide",
                   "ERP FILE - GETTING INDEX - INPUT EPOCH OUT OF DATA INTERVAL (>1day)");
  } else {
    while (i < neph - 2 && t > eph(i + 1)) i++;
  }
  const long double f = (t - eph(i)) / (eph(i + 1) - eph(i));
  xp = VAL(i, 0) + f * (VAL(i + 1, 0) - VAL(i, 0));
  yp = VAL(i, 1) + f * (VAL(i + 1, 1) - VAL(i, 1));
}

void PoleTide::GetPoleTide(const mjd& t, const flh& station, neu& d) {
  d = neu(0, 0, 0);
  if (neph == 0) return;
  InterpolatePole(t);
  // Wobble of the pole from its mean; the y axis of m2 points to 90 degrees east, the
  // opposite of the pole coordinate yp (IERS Conventions 2010, eq. 7.24).
  const long double m1 = xp - xi, m2 = -(yp - yi);
  const long double f = station.GetF(), l = station.GetL();
  const long double c = m1 * std::cos(l) + m2 * std::sin(l);
  const long double up = -0.033L * std::sin(2.0L * f) * c;
  const long double east = 0.009L * std::sin(f) * (m1 * std::sin(l) - m2 * std::cos(l));
  const long double north = -0.009L * std::cos(2.0L * f) * c;
  d = neu(north, east, up);
}
