#include "gnss/flh.h"

#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/KotnePretvorbe.h"
#include "core/ProgramError.h"
#include "core/StreamFormatGuard.h"

flh::flh(long double F, long double L, long double H) {
  Set(F, L, H);
}

void flh::Set(long double F, long double L, long double H) {
  f = F;
  l = L;
  h = H;
  TestPos();
}

void flh::SetF(long double F) {
  f = F;
  TestFi();
}

void flh::SetL(long double L) {
  l = L;
  TestLa();
}

flh& flh::operator+=(const flh& p) {
  f += p.f;
  l += p.l;
  h += p.h;
  return *this;
}

flh& flh::operator-=(const flh& p) {
  f -= p.f;
  l -= p.l;
  h -= p.h;
  return *this;
}

void flh::TestPos() const {
  TestFi();
  TestLa();
}

void flh::TestFi() const {
  TestFi("flh");
}
void flh::TestLa() const {
  TestLa("flh");
}

void flh::TestFi(const std::string& cls) const {
  if (!(f >= -90.0L && f <= 90.0L)) ClassError(cls, "LATITUDE not valid");
}

void flh::TestLa(const std::string& cls) const {
  if (!(l >= -180.0L && l <= 180.0L)) ClassError(cls, "LONGITUDE not valid");
}

flh operator+(const flh& a, const flh& b) {
  return flh(a.GetF() + b.GetF(), a.GetL() + b.GetL(), a.GetH() + b.GetH());
}

flh operator-(const flh& a, const flh& b) {
  return flh(a.GetF() - b.GetF(), a.GetL() - b.GetL(), a.GetH() - b.GetH());
}

bool operator==(const flh& a, const flh& b) {
  if (&a == &b) return true;
  return std::fabs(a.GetF() - b.GetF()) < 1e-14L && std::fabs(a.GetL() - b.GetL()) < 1e-14L &&
         std::fabs(a.GetH() - b.GetH()) < 1e-14L;
}

bool operator!=(const flh& a, const flh& b) {
  return !(a == b);
}

namespace flhio {

namespace {

// Degrees, minutes and seconds; the sign of the degrees is taken from the text,
// so that -0 30 0 is the negative angle of half a degree.
bool ReadDMS(std::istream& is, long double& rad) {
  std::string degrees;
  long m;
  long double s;
  if (!(is >> degrees >> m >> s)) return false;
  char* end = nullptr;
  const long double d = std::strtold(degrees.c_str(), &end);
  if (end == degrees.c_str() || *end != '\0') {
    is.setstate(std::ios::failbit);
    return false;
  }
  const long double deg = std::fabs(std::trunc(d)) + m / 60.0L + s / 3600.0L;
  rad = deg2rad(degrees[0] == '-' ? -deg : deg);
  return true;
}

}  // namespace

bool ReadAngle(std::istream& is, long double& rad) {
  if (flhns::Unit == flhns::DMSV || flhns::Unit == flhns::SINEX) return ReadDMS(is, rad);
  long double value;
  if (!(is >> value)) return false;
  switch (flhns::Unit) {
    case flhns::DEG:
      rad = deg2rad(value);
      break;
    case flhns::DMS:
      rad = dms2rad(value);
      break;
    default:
      rad = value;
      break;
  }
  return true;
}

void Write(std::ostream& os, long double f, long double l, long double h) {
  using std::setw;
  StreamFormatGuard guard(os);
  os << std::fixed;
  switch (flhns::Unit) {
    case flhns::DMSV:
      os << dms2dms(rad2dms(f), flhns::NDecFL) << dms2dms(rad2dms(l), flhns::NDecFL);
      break;
    case flhns::SINEX:  // longitude counted eastward from 0 to 360 degrees
      os << setw(11) << dms2dms(rad2dms(l < 0.0L ? l + 2.0L * kPi : l), 1) << ' ' << setw(11)
         << dms2dms(rad2dms(f), 1) << ' ' << std::setprecision(1) << setw(7) << h;
      return;
    default: {
      long double a = f, b = l;
      if (flhns::Unit == flhns::DEG) {
        a = rad2deg(f);
        b = rad2deg(l);
      } else if (flhns::Unit == flhns::DMS) {
        a = rad2dms(f);
        b = rad2dms(l);
      }
      os << std::setprecision(flhns::NDecFL) << setw(flhns::WidthFL) << a << setw(flhns::WidthFL)
         << b;
      break;
    }
  }
  os << std::setprecision(flhns::NDecH) << setw(flhns::WidthH) << h;
}

}  // namespace flhio

std::istream& operator>>(std::istream& is, flh& p) {
  long double f, l, h;
  if (flhio::ReadAngle(is, f) && flhio::ReadAngle(is, l) && (is >> h)) p.Set(f, l, h);
  return is;
}

std::ostream& operator<<(std::ostream& os, const flh& p) {
  flhio::Write(os, p.GetF(), p.GetL(), p.GetH());
  return os;
}
