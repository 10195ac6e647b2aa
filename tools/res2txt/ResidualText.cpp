#include "res2txt/ResidualText.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// "G05", "R12", "E30".
std::string SatLabel(int sat) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%c%02d", ResidualSystem(sat), sat % 100);
  return buf;
}

// Calendar date of an MJD day (proleptic Gregorian), "YYYY-MM-DD".
std::string CalendarDate(long mjdDay) {
  long z = mjdDay + 678881;  // days since 0000-03-01
  const long era = z / 146097, doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153, day = doy - (153 * mp + 2) / 5 + 1;
  const long month = mp < 10 ? mp + 3 : mp - 9, year = yoe + era * 400 + (month <= 2);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04ld-%02ld-%02ld", year, month, day);
  return buf;
}

// Time of day "HH:MM:SS.sss" from milliseconds of the day.
std::string TimeOfDay(long ms) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02ld:%02ld:%06.3f", ms / 3600000, ms / 60000 % 60,
                static_cast<double>(ms % 60000) / 1000.0);
  return buf;
}

}  // namespace

void ResidualText::WriteHeader(std::ostream& os, const std::vector<int>& sats) {
  os << "# RESIDUALS OF THE STATIC SOLUTION (computed minus observed)\n";
  os << "# SATELLITES: " << sats.size();
  for (int s : sats) os << ' ' << SatLabel(s);
  os << "\n#        MJD[d]        DATE          TIME  SAT SYS TYPE       RES[m]  ELEV[deg]  "
        "AZIM[deg] OUTLIER\n";
}

void ResidualText::WriteEpoch(std::ostream& os, const ResidualEpoch& epoch) {
  char mjd[32];
  std::snprintf(mjd, sizeof mjd, "%15.8f",
                static_cast<double>(epoch.mjdDay + epoch.second / 86400.0L));
  // Rounded to the millisecond; a second that rounds to the end of the day is the
  // next day's midnight.
  long day = epoch.mjdDay, ms = std::lround(static_cast<double>(epoch.second * 1000.0L));
  day += ms / 86400000;
  ms %= 86400000;
  const std::string stamp = std::string(mjd) + "  " + CalendarDate(day) + "  " + TimeOfDay(ms);
  for (const ResidualRecord& r : epoch.records) {
    char line[160];
    std::snprintf(line, sizeof line, "%s  %s   %c %4s %12.5f %10.4f %10.4f %7d\n", stamp.c_str(),
                  SatLabel(r.sat).c_str(), ResidualSystem(r.sat), ResidualTypeName(r.type),
                  static_cast<double>(r.residual), static_cast<double>(r.elevation),
                  static_cast<double>(r.azimuth), r.outlier ? 1 : 0);
    os << line;
  }
}

long ResidualText::Convert(std::istream& in, std::ostream& os) {
  ResidualFile file(in);
  WriteHeader(os, file.Satellites());
  ResidualEpoch epoch;
  long count = 0;
  while (file.NextEpoch(epoch)) {
    WriteEpoch(os, epoch);
    count += static_cast<long>(epoch.records.size());
  }
  return count;
}
