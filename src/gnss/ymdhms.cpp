#include "gnss/ymdhms.h"

#include <cmath>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/ProgramError.h"
#include "core/StreamFormatGuard.h"
#include "gnss/Calendar.h"

namespace {

[[noreturn]] void Fail(const char* text) {
  ClassError("ymdhms", text);
}

int MonthLength(long month, long year) {
  switch (month) {
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
      return 31;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return ::LeapYear(year) ? 29 : 28;
  }
}

void CheckYear(long y) {
  if (!(y > 1900 && y < 2200)) Fail("YEAR not valid");
}
// Month 0 would index the table of days before the month out of range.
void CheckMonth(long mo) {
  if (!(mo >= 1 && mo < 13)) Fail("MONTH not valid");
}
void CheckDay(long d, long mo, long y) {
  if (!(d >= 1 && d <= MonthLength(mo, y))) Fail("DAY not valid");
}
// Hours up to 59 pass, so that an epoch rounded up to 24:00:00 stays valid.
void CheckHour(long h) {
  if (!(h >= 0 && h < 60)) Fail("HOUR not valid");
}
void CheckMinute(long mi) {
  if (!(mi >= 0 && mi < 60)) Fail("MINUTE not valid");
}
void CheckSecond(long double s) {
  if (!(s >= 0.0L && s < 60.0L)) Fail("SECOND not valid");
}

}  // namespace

ymdhms::ymdhms(long y, long mo, long d, long h, long mi, long double s) {
  Set(y, mo, d, h, mi, s);
}

ymdhms::ymdhms(const ymdhms& t)
    : year(t.year), month(t.month), day(t.day), hour(t.hour), minute(t.minute), second(t.second) {
  Test();
}

ymdhms& ymdhms::operator=(const ymdhms& t) {
  if (this != &t) Set(t.year, t.month, t.day, t.hour, t.minute, t.second);
  return *this;
}

void ymdhms::Set(long y, long mo, long d, long h, long mi, long double s) {
  CheckYear(y);
  CheckMonth(mo);
  CheckDay(d, mo, y);
  CheckHour(h);
  CheckMinute(mi);
  CheckSecond(s);
  year = static_cast<std::uint16_t>(y);
  month = static_cast<std::uint16_t>(mo);
  day = static_cast<std::uint16_t>(d);
  hour = static_cast<std::uint16_t>(h);
  minute = static_cast<std::uint16_t>(mi);
  second = s;
}

void ymdhms::SetYear(long y) {
  CheckYear(y);
  year = static_cast<std::uint16_t>(y);
}

void ymdhms::SetMonth(long mo) {
  CheckMonth(mo);
  month = static_cast<std::uint16_t>(mo);
}

void ymdhms::SetDay(long d) {
  CheckDay(d, month, year);
  day = static_cast<std::uint16_t>(d);
}

void ymdhms::SetHour(long h) {
  CheckHour(h);
  hour = static_cast<std::uint16_t>(h);
}

void ymdhms::SetMinute(long mi) {
  CheckMinute(mi);
  minute = static_cast<std::uint16_t>(mi);
}

void ymdhms::SetSecond(long double s) {
  CheckSecond(s);
  second = s;
}

void ymdhms::SetHMS(long h, long mi, long double s) {
  SetHour(h);
  SetMinute(mi);
  SetSecond(s);
}

void ymdhms::SetDayOfYear(long y, long doy) {
  SetYear(y);
  hour = minute = 0;
  second = 0.0L;
  const bool leap = ::LeapYear(y);
  long mo = 12;
  while (mo > 1 && DaysBeforeMonth(mo, leap) >= doy) --mo;
  SetMonth(mo);
  SetDay(doy - DaysBeforeMonth(mo, leap));
}

void ymdhms::SetYDec(double y) {
  if (!(y > 1900.0 && y < 2200.0)) Fail("YEAR not valid");
  const long yr = static_cast<long>(std::floor(y));
  const long double d = (y - yr) * DaysBeforeMonth(13, ::LeapYear(yr)) + 1.0L;
  const long double doy = std::floor(d);
  SetDayOfYear(yr, static_cast<long>(doy));
  SetDaySecond((d - doy) * 86400.0L);
}

void ymdhms::SetDaySecond(long double s) {
  unsigned short h, m;
  long double sec;
  ::Sec2HMS(s, h, m, sec);
  SetHMS(h, m, sec);
}

int ymdhms::GetDayOfYear() const {
  return DaysBeforeMonth(month, ::LeapYear(year)) + day;
}

long double ymdhms::GetYearDec() const {
  const int length = DaysBeforeMonth(13, ::LeapYear(year));
  return year + (GetDayOfYear() - 1 + GetDaySecond() / 86400.0L) / length;
}

bool ymdhms::LeapYear(long y) const {
  return ::LeapYear(y);
}

void ymdhms::Sec2HMS(long double s, unsigned short& h, unsigned short& m, long double& sec) const {
  ::Sec2HMS(s, h, m, sec);
}

void ymdhms::Test() const {
  TestYear();
  TestMonth();
  TestDay();
  TestHour();
  TestMinute();
  TestSecond();
}

void ymdhms::TestYear() const {
  CheckYear(year);
}
void ymdhms::TestMonth() const {
  CheckMonth(month);
}
void ymdhms::TestDay() const {
  CheckDay(day, month, year);
}
void ymdhms::TestHour() const {
  CheckHour(hour);
}
void ymdhms::TestMinute() const {
  CheckMinute(minute);
}
void ymdhms::TestSecond() const {
  CheckSecond(second);
}

std::istream& operator>>(std::istream& is, ymdhms& t) {
  long y, mo, d, h, mi;
  long double s;
  if (!(is >> y >> mo >> d >> h >> mi >> s)) return is;
  if (y >= 0 && y <= 99) y += y > 79 ? 1900 : 2000;
  t.Set(y, mo, d, h, mi, s);
  return is;
}

namespace {

void WriteNoRinex(std::ostream& os, const ymdhms& t, int n) {
  using std::setw;
  if (ymdhmsns::PrintFormat == ymdhmsns::YDEC) {
    os << setw(n + 12) << std::setprecision(n + 6) << t.GetYearDec();
    return;
  }
  os << setw(5) << t.GetYear() << '-';
  os.fill('0');
  switch (ymdhmsns::PrintFormat) {
    case ymdhmsns::YDHMS:
      os << setw(3) << t.GetDayOfYear() << ' ';
      WriteHMS(os, t.GetHour(), t.GetMinute(), t.GetSecond(), n + 3, n);
      break;
    case ymdhmsns::YDSEC:
      os << setw(3) << t.GetDayOfYear() << ' ';
      os.fill(' ');
      os << setw(n + 7) << std::setprecision(n) << t.GetDaySecond();
      break;
    case ymdhmsns::YMD:
      os << setw(2) << t.GetMonth() << '-' << setw(2) << t.GetDay();
      break;
    case ymdhmsns::YD:
      os << setw(3) << t.GetDayOfYear();
      break;
    default:
      os << setw(2) << t.GetMonth() << '-' << setw(2) << t.GetDay() << ' ';
      WriteHMS(os, t.GetHour(), t.GetMinute(), t.GetSecond(), n > 0 ? n + 3 : n + 2, n);
      break;
  }
}

}  // namespace

std::ostream& operator<<(std::ostream& os, const ymdhms& t) {
  using std::setw;
  const int n = ymdhmsns::NDecSecond;
  StreamFormatGuard guard(os);
  os << std::fixed;
  switch (ymdhmsns::PrintType) {
    case ymdhmsns::RINEXHEADER:
      os << setw(6) << t.GetYear() << setw(6) << t.GetMonth() << setw(6) << t.GetDay() << setw(6)
         << t.GetHour() << setw(6) << t.GetMinute() << setw(13) << std::setprecision(7)
         << t.GetSecond();
      break;
    case ymdhmsns::RINEXDATA:
      os << setw(3) << t.GetYear() % 100 << setw(3) << t.GetMonth() << setw(3) << t.GetDay()
         << setw(3) << t.GetHour() << setw(3) << t.GetMinute() << setw(11) << std::setprecision(7)
         << t.GetSecond();
      break;
    case ymdhmsns::SP3:
      os << setw(4) << t.GetYear() << setw(3) << t.GetMonth() << setw(3) << t.GetDay() << setw(3)
         << t.GetHour() << setw(3) << t.GetMinute() << setw(12) << std::setprecision(8)
         << t.GetSecond();
      break;
    case ymdhmsns::SINEX:
      os.fill('0');
      os << setw(2) << t.GetYear() % 100 << ':' << setw(3) << t.GetDayOfYear() << ':' << setw(5)
         << std::setprecision(0) << t.GetDaySecond();
      break;
    default:
      WriteNoRinex(os, t, n);
      break;
  }
  return os;
}
