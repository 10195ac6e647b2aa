#include "gnss/neut.h"

#include <cmath>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/PrintUnits.h"
#include "core/StreamFormatGuard.h"

neut& neut::operator+=(const neut& p) {
  neu::operator+=(p);
  dt += p.dt;
  return *this;
}

neut& neut::operator-=(const neut& p) {
  neu::operator-=(p);
  dt -= p.dt;
  return *this;
}

neut& neut::operator*=(long double s) {
  neu::operator*=(s);
  dt *= s;
  return *this;
}

neut& neut::operator/=(long double s) {
  neu::operator/=(s);
  dt /= s;
  return *this;
}

neut operator+(const neut& a, const neut& b) {
  return neut(a) += b;
}
neut operator-(const neut& a, const neut& b) {
  return neut(a) -= b;
}

bool operator==(const neut& a, const neut& b) {
  return static_cast<const neu&>(a) == static_cast<const neu&>(b) &&
         std::fabs(a.GetT() - b.GetT()) < 1e-14L;
}

bool operator!=(const neut& a, const neut& b) {
  return !(a == b);
}

std::istream& operator>>(std::istream& is, neut& p) {
  long double n, e, u, t;
  if (is >> n >> e >> u >> t) p.Set(n, e, u, t);
  return is;
}

std::ostream& operator<<(std::ostream& os, const neut& p) {
  os << static_cast<const neu&>(p);
  StreamFormatGuard guard(os);
  os << std::fixed << std::setprecision(xyzns::NDecT) << std::setw(xyzns::WidthT)
     << ScaleTime(p.GetT(), xyzns::UnitT);
  return os;
}
