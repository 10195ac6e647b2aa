#include "gnss/mjd.h"

#include <cmath>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/ProgramError.h"
#include "core/StreamFormatGuard.h"
#include "gnss/TimeConverse.h"

namespace {

const long double kDay = 86400.0L;  // seconds of a day
// Epochs closer than this [s] are the same epoch, for ==, <= and >= alike.
const long double kTolerance = 1e-13L;

bool ValidDay(long long day) {
  return day >= 0 && day < 200000;
}
bool ValidSecond(long double sec) {
  return sec >= 0.0L && sec < kDay;
}  // false for NaN

[[noreturn]] void Fail(const char* text) {
  ClassError("mjd", text);
}

}  // namespace

mjd::mjd(long long day, long double sec) {
  Set(day, sec);
}

mjd::mjd(const mjd& t) : mjday(t.mjday), second(t.second) {
  TestMJDay();
  TestSecond();
}

mjd& mjd::operator=(const mjd& t) {
  if (this != &t) Set(t.mjday, t.second);
  return *this;
}

mjd& mjd::operator=(long double decimalDay) {
  if (!(decimalDay >= 0.0L && decimalDay < 200000.0L)) Fail("MJDAY not valid");
  const long double day = std::floor(decimalDay);
  Set(static_cast<long long>(day), (decimalDay - day) * kDay);
  return *this;
}

void mjd::Set(long long day, long double sec) {
  SetMJDay(day);
  SetSecond(sec);
}

void mjd::SetMJDay(long long day) {
  if (!ValidDay(day)) Fail("MJDAY not valid");
  mjday = static_cast<std::uint32_t>(day);
}

void mjd::SetSecond(long double sec) {
  if (!ValidSecond(sec)) Fail("SECOND not valid");
  second = sec;
}

void mjd::TestMJDay() const {
  if (!ValidDay(mjday)) Fail("MJDAY not valid");
}

void mjd::TestSecond() const {
  if (!ValidSecond(second)) Fail("SECOND not valid");
}

mjd& mjd::operator+=(long double dsec) {
  // Beyond some three million years the day count is meaningless; a non-finite
  // shift would make it undefined.
  if (!(std::fabs(dsec) < 1e14L)) Fail("SECOND not valid");
  const long double sign = dsec < 0.0L ? -1.0L : 1.0L;
  // Shifts of less than half a day (light times, clocks) hold no whole day.
  const long double dday = std::fabs(dsec) < kDay / 2 ? 0.0L : std::floor(std::fabs(dsec) / kDay);
  long long day = static_cast<long long>(mjday) + static_cast<long long>(sign * dday);
  second += sign * (std::fabs(dsec) - dday * kDay);
  if (second < 0.0L) {
    --day;
    second += kDay;
  } else if (second > kDay) {
    ++day;
    second -= kDay;
  }
  if (std::fabs(second - kDay) < 1e-12L) {
    ++day;
    second = 0.0L;
  }
  mjday = static_cast<std::uint32_t>(day);
  return *this;
}

mjd& mjd::operator+=(long days) {
  mjday = static_cast<std::uint32_t>(static_cast<long long>(mjday) + days);
  return *this;
}

mjd& mjd::operator-=(long days) {
  mjday = static_cast<std::uint32_t>(static_cast<long long>(mjday) - days);
  return *this;
}

void mjd::Sec2HMS(unsigned short& h, unsigned short& m, long double& s) const {
  ::Sec2HMS(second, h, m, s);
}

bool operator==(const mjd& a, const mjd& b) {
  return a.mjday == b.mjday && std::fabs(a.second - b.second) < kTolerance;
}

bool operator!=(const mjd& a, const mjd& b) {
  return !(a == b);
}

bool operator<(const mjd& a, const mjd& b) {
  return a.mjday < b.mjday || (a.mjday == b.mjday && a.second < b.second);
}

bool operator>(const mjd& a, const mjd& b) {
  return b < a;
}

bool operator<=(const mjd& a, const mjd& b) {
  return a.mjday < b.mjday || (a.mjday == b.mjday && a.second - b.second < kTolerance);
}

bool operator>=(const mjd& a, const mjd& b) {
  return a.mjday > b.mjday || (a.mjday == b.mjday && a.second - b.second > -kTolerance);
}

std::istream& operator>>(std::istream& is, mjd& t) {
  long long day;
  long double sec;
  if (is >> day >> sec) t.Set(day, sec);
  return is;
}

std::ostream& operator<<(std::ostream& os, const mjd& t) {
  const int n = mjdns::NDecSecond;
  StreamFormatGuard guard(os);
  os << std::fixed;
  switch (mjdns::PrintFormat) {
    case mjdns::MJDDEC:
      os << std::setw(n + 7) << std::setprecision(n) << t.GetMJDDec();
      break;
    case mjdns::MJDHMS: {
      unsigned short h, m;
      long double s;
      t.Sec2HMS(h, m, s);
      os << std::setw(6) << t.mjday << "  ";
      WriteHMS(os, h, m, s, n + 3, n);
      break;
    }
    case mjdns::MJD:
      os << std::setw(6) << t.mjday;
      break;
    case mjdns::SP3:
      os << std::setw(6) << t.mjday << std::setw(16) << std::setprecision(13)
         << t.second / 86400.0L;
      break;
    default:
      os << std::setw(6) << t.mjday << std::setw(n + 7) << std::setprecision(n) << t.second;
      break;
  }
  return os;
}
