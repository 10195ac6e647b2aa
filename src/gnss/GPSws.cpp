#include "gnss/GPSws.h"

#include <cmath>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/ProgramError.h"
#include "core/StreamFormatGuard.h"
#include "gnss/TimeConverse.h"

namespace {

const long double kWeek = 604800.0L;  // seconds of a week

[[noreturn]] void Fail(const char* text) {
  ClassError("GPSws", text);
}

void CheckWeek(long w) {
  if (!(w >= 0 && w < 12000)) Fail("WEEK not valid");
}
void CheckSecond(long double sec) {
  if (!(sec >= 0.0L && sec < kWeek)) Fail("SECOND not valid");
}

}  // namespace

GPSws::GPSws(long w, long double sec) {
  Set(w, sec);
}

GPSws::GPSws(const GPSws& t) : week(t.week), second(t.second) {
  TestWeek();
  TestSecond();
}

GPSws& GPSws::operator=(const GPSws& t) {
  if (this != &t) Set(t.week, t.second);
  return *this;
}

void GPSws::Set(long w, long double sec) {
  SetWeek(w);
  SetSecond(sec);
}

void GPSws::SetWeek(long w) {
  CheckWeek(w);
  week = static_cast<std::uint16_t>(w);
}

void GPSws::SetSecond(long double sec) {
  CheckSecond(sec);
  second = sec;
}

int GPSws::GetWeekDay() const {
  return static_cast<int>(std::floor(second / 86400.0L));
}

long double GPSws::GetDaySecond() const {
  return second - GetWeekDay() * 86400.0L;
}

void GPSws::Sec2HMS(unsigned short& h, unsigned short& m, long double& s) const {
  ::Sec2HMS(GetDaySecond(), h, m, s);
}

GPSws& GPSws::operator+=(unsigned short weeks) {
  week = static_cast<std::uint16_t>(week + weeks);
  return *this;
}

void GPSws::TestWeek() const {
  CheckWeek(week);
}
void GPSws::TestSecond() const {
  CheckSecond(second);
}

std::istream& operator>>(std::istream& is, GPSws& t) {
  long w;
  long double sec;
  if (is >> w >> sec) t.Set(w, sec);
  return is;
}

std::ostream& operator<<(std::ostream& os, const GPSws& t) {
  using std::setw;
  const int n = gpswsns::NDecSecond;
  StreamFormatGuard guard(os);
  os << std::fixed;
  switch (gpswsns::PrintFormat) {
    case gpswsns::GPSWDS:
      os << setw(5) << t.GetWeek() << setw(2) << t.GetWeekDay() << setw(n + 7)
         << std::setprecision(n) << t.GetDaySecond();
      break;
    case gpswsns::GPSWDHMS: {
      unsigned short h, m;
      long double s;
      t.Sec2HMS(h, m, s);
      os << setw(5) << t.GetWeek() << setw(2) << t.GetWeekDay() << "  ";
      WriteHMS(os, h, m, s, n + 3, n);
      break;
    }
    case gpswsns::GPSWD:
      os << ' ' << std::setfill('0') << setw(4) << t.GetWeek() << std::setfill(' ') << setw(2)
         << t.GetWeekDay();
      break;
    case gpswsns::SP3:
      os << setw(5) << t.GetWeek() << setw(16) << std::setprecision(8) << t.GetSecond();
      break;
    default:
      os << setw(5) << t.GetWeek() << setw(n + 8) << std::setprecision(n) << t.GetSecond();
      break;
  }
  return os;
}
