#include "sim/Time.h"

#include <cmath>
#include <cstdio>

namespace sim {

namespace {

// Days from 1970-01-01 of a civil date (proleptic Gregorian).
long DaysFromCivil(long y, unsigned m, unsigned d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& y, int& m, int& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(yoe + era * 400 + (m <= 2));
}

constexpr long kUnixDaysOfGpsStart = 3657;  // 1980-01-06 counted from 1970-01-01

}  // namespace

long double ToSeconds(const Calendar& c) {
  const long days = DaysFromCivil(c.year, c.month, c.day) - kUnixDaysOfGpsStart;
  return static_cast<long double>(days) * 86400.0L + c.hour * 3600.0L + c.minute * 60.0L + c.second;
}

Calendar ToCalendar(long double seconds) {
  // Round to 0.1 microsecond first so that an epoch never prints as 59.9999999 s.
  const long double t = std::round(seconds * 1e7L) / 1e7L;
  const long days = static_cast<long>(std::floor(t / 86400.0L));
  long double sod = t - days * 86400.0L;
  Calendar c;
  CivilFromDays(days + kUnixDaysOfGpsStart, c.year, c.month, c.day);
  c.hour = static_cast<int>(sod / 3600.0L);
  sod -= c.hour * 3600.0L;
  c.minute = static_cast<int>(sod / 60.0L);
  c.second = sod - c.minute * 60.0L;
  return c;
}

long Mjd(long double seconds) {
  return MjdOfGpsStart + static_cast<long>(std::floor(seconds / 86400.0L));
}

long double SecondsOfDay(long double seconds) {
  return seconds - std::floor(seconds / 86400.0L) * 86400.0L;
}

int GpsWeek(long double seconds) {
  return static_cast<int>(std::floor(seconds / 604800.0L));
}

long double SecondsOfWeek(long double seconds) {
  return seconds - GpsWeek(seconds) * 604800.0L;
}

int DayOfYear(const Calendar& c) {
  return static_cast<int>(DaysFromCivil(c.year, c.month, c.day) - DaysFromCivil(c.year, 1, 1) + 1);
}

int LeapSeconds(long double seconds) {
  // GPS - UTC from the first of the month each count began (UTC), newest first.
  struct Step {
    int year, month, leap;
  };
  static const Step steps[] = {
      {2017, 1, 18}, {2015, 7, 17}, {2012, 7, 16}, {2009, 1, 15}, {2006, 1, 14}, {1999, 1, 13},
      {1997, 7, 12}, {1996, 1, 11}, {1994, 7, 10}, {1993, 7, 9},  {1992, 7, 8},  {1991, 1, 7},
      {1990, 1, 6},  {1988, 1, 5},  {1985, 7, 4},  {1983, 7, 3},  {1982, 7, 2},  {1981, 7, 1}};
  for (const Step& s : steps) {
    Calendar c;
    c.year = s.year;
    c.month = s.month;
    c.day = 1;
    if (seconds >= ToSeconds(c) + s.leap) return s.leap;
  }
  return 0;
}

bool ParseCalendar(const std::string& text, Calendar& c) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0;
  double s = 0;
  char sep = ' ';
  char tail = 0;
  const int n =
      std::sscanf(text.c_str(), "%d-%d-%d%c%d:%d:%lf%c", &y, &mo, &d, &sep, &h, &mi, &s, &tail);
  if (n != 3 && n != 7) return false;
  if (n == 7 && sep != ' ' && sep != 'T') return false;
  if (y < 1980 || y > 2099 || mo < 1 || mo > 12 || d < 1 || d > 31) return false;
  if (h < 0 || h > 23 || mi < 0 || mi > 59 || s < 0 || s >= 60) return false;
  c.year = y;
  c.month = mo;
  c.day = d;
  c.hour = h;
  c.minute = mi;
  c.second = s;
  int yy, mm, dd;  // reject dates such as 2026-02-30
  CivilFromDays(DaysFromCivil(y, mo, d), yy, mm, dd);
  return yy == y && mm == mo && dd == d;
}

}  // namespace sim
