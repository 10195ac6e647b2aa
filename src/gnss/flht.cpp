#include "gnss/flht.h"

#include <cmath>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/PrintUnits.h"
#include "core/StreamFormatGuard.h"
#include "gnss/xyz.h"

flht::flht(long double F, long double L, long double H, long double T) {
  Set(F, L, H, T);
}

void flht::Set(long double F, long double L, long double H, long double T) {
  f = F;
  l = L;
  h = H;
  dt = T;
  TestPos();
}

void flht::SetF(long double F) {
  f = F;
  TestFi();
}

void flht::SetL(long double L) {
  l = L;
  TestLa();
}

flht& flht::operator+=(const flht& p) {
  flh::operator+=(p);
  dt += p.dt;
  return *this;
}

flht& flht::operator-=(const flht& p) {
  flh::operator-=(p);
  dt -= p.dt;
  return *this;
}

void flht::TestPos() const {
  TestFi();
  TestLa();
}

void flht::TestFi() const {
  flh::TestFi("flht");
}
void flht::TestLa() const {
  flh::TestLa("flht");
}

flht operator+(const flht& a, const flht& b) {
  return flht(a) += b;
}
flht operator-(const flht& a, const flht& b) {
  return flht(a) -= b;
}

bool operator==(const flht& a, const flht& b) {
  return static_cast<const flh&>(a) == static_cast<const flh&>(b) &&
         std::fabs(a.GetT() - b.GetT()) < 1e-14L;
}

bool operator!=(const flht& a, const flht& b) {
  return !(a == b);
}

std::istream& operator>>(std::istream& is, flht& p) {
  long double f, l, h, t;
  if (flhio::ReadAngle(is, f) && flhio::ReadAngle(is, l) && (is >> h >> t)) p.Set(f, l, h, t);
  return is;
}

std::ostream& operator<<(std::ostream& os, const flht& p) {
  flhio::Write(os, p.GetF(), p.GetL(), p.GetH());
  StreamFormatGuard guard(os);
  os << std::fixed << std::setprecision(xyzns::NDecT) << std::setw(xyzns::WidthT)
     << ScaleTime(p.GetT(), xyzns::UnitT);
  return os;
}
