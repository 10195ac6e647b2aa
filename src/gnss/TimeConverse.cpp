#include "gnss/TimeConverse.h"

#include <cmath>
#include <iomanip>
#include <ostream>

#include "core/ProgramError.h"

namespace {

const long double kDay = 86400.0L;   // seconds of a day
const long kMjdOfGpsStart = 44244;   // MJD of 1980-01-06, the start of GPS week 0
const long kMjdOfUnixStart = 40587;  // MJD of 1970-01-01

// Days since 1970-01-01 of a proleptic Gregorian date.
long DaysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

// Proleptic Gregorian date of a day counted from 1970-01-01.
void CivilFromDays(long z, long& y, long& m, long& d) {
  z += 719468;
  const long era = (z >= 0 ? z : z - 146096) / 146097;
  const long doe = z - era * 146097;
  const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y = yoe + era * 400 + (m <= 2);
}

// GPS-UTC [s] and the first MJD from which it holds.
struct LeapRow {
  int value;
  long firstMjd;
};
const LeapRow kLeapSeconds[] = {
    {-9, 41317}, {-8, 41499}, {-7, 41683}, {-6, 42048}, {-5, 42413}, {-4, 42778}, {-3, 43144},
    {-2, 43509}, {-1, 43874}, {0, 44239},  {1, 44786},  {2, 45151},  {3, 45516},  {4, 46247},
    {5, 47161},  {6, 47892},  {7, 48257},  {8, 48804},  {9, 49169},  {10, 49534}, {11, 50083},
    {12, 50630}, {13, 51179}, {14, 53736}, {15, 54832}, {16, 56109}, {17, 57204}, {18, 57754}};

}  // namespace

mjd ymdhms2mjd(const ymdhms& t) {
  long day = DaysFromCivil(t.GetYear(), t.GetMonth(), t.GetDay()) + kMjdOfUnixStart;
  long double s = t.GetDaySecond();
  if (std::fabs(s - kDay) < 1e-10L) {
    ++day;
    s = 0.0L;
  } else if (s >= kDay) {
    // Hours past midnight belong to the following days.
    const long double days = std::floor(s / kDay);
    day += static_cast<long>(days);
    s -= days * kDay;
  }
  return mjd(day, s);
}

void ymdhms2mjd(const ymdhms& t, mjd& out) {
  out = ymdhms2mjd(t);
}

ymdhms mjd2ymdhms(const mjd& t) {
  long y, m, d;
  CivilFromDays(static_cast<long>(t.GetMJDay()) - kMjdOfUnixStart, y, m, d);
  unsigned short hh, mm;
  long double ss;
  t.Sec2HMS(hh, mm, ss);
  return ymdhms(y, m, d, hh, mm, ss);
}

void mjd2ymdhms(const mjd& t, ymdhms& out) {
  out = mjd2ymdhms(t);
}

GPSws mjd2GPSws(const mjd& t) {
  const long days = static_cast<long>(t.GetMJDay()) - kMjdOfGpsStart;
  if (days < 0) ClassError("GPSws", "WEEK not valid");
  const long week = days / 7;
  return GPSws(week, t.GetSecond() + (days - 7 * week) * kDay);
}

void mjd2GPSws(const mjd& t, GPSws& out) {
  out = mjd2GPSws(t);
}

mjd GPSws2mjd(const GPSws& t) {
  const long double days = std::floor(t.GetSecond() / kDay);
  return mjd(7L * t.GetWeek() + static_cast<long>(days) + kMjdOfGpsStart,
             t.GetSecond() - days * kDay);
}

void GPSws2mjd(const GPSws& t, mjd& out) {
  out = GPSws2mjd(t);
}

GPSws ymdhms2GPSws(const ymdhms& t) {
  return mjd2GPSws(ymdhms2mjd(t));
}

void ymdhms2GPSws(const ymdhms& t, GPSws& out) {
  out = ymdhms2GPSws(t);
}

ymdhms GPSws2ymdhms(const GPSws& t) {
  return mjd2ymdhms(GPSws2mjd(t));
}

void GPSws2ymdhms(const GPSws& t, ymdhms& out) {
  out = GPSws2ymdhms(t);
}

int LeapSecond(const mjd& t) {
  const long day = static_cast<long>(t.GetMJDay());
  int value = kLeapSeconds[0].value;
  for (const LeapRow& row : kLeapSeconds) {
    if (day < row.firstMjd) break;
    value = row.value;
  }
  return value;
}
