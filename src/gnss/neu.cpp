#include "gnss/neu.h"

#include <cmath>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/PrintUnits.h"
#include "core/StreamFormatGuard.h"

neu& neu::operator+=(const neu& p) {
  n += p.n;
  e += p.e;
  u += p.u;
  return *this;
}

neu& neu::operator-=(const neu& p) {
  n -= p.n;
  e -= p.e;
  u -= p.u;
  return *this;
}

neu& neu::operator*=(long double s) {
  n *= s;
  e *= s;
  u *= s;
  return *this;
}

neu& neu::operator/=(long double s) {
  n /= s;
  e /= s;
  u /= s;
  return *this;
}

long double neu::GetLength() const {
  return std::sqrt(n * n + e * e + u * u);
}

neu operator+(const neu& a, const neu& b) {
  return neu(a) += b;
}
neu operator-(const neu& a, const neu& b) {
  return neu(a) -= b;
}
neu operator*(long double s, const neu& p) {
  return neu(p) *= s;
}
neu operator*(const neu& p, long double s) {
  return neu(p) *= s;
}

bool operator==(const neu& a, const neu& b) {
  if (&a == &b) return true;
  return std::fabs(a.GetN() - b.GetN()) < 1e-14L && std::fabs(a.GetE() - b.GetE()) < 1e-14L &&
         std::fabs(a.GetU() - b.GetU()) < 1e-14L;
}

bool operator!=(const neu& a, const neu& b) {
  return !(a == b);
}

neu sqrt(const neu& p) {
  return neu(std::sqrt(p.GetN()), std::sqrt(p.GetE()), std::sqrt(p.GetU()));
}

std::istream& operator>>(std::istream& is, neu& p) {
  long double n, e, u;
  if (is >> n >> e >> u) p.Set(n, e, u);
  return is;
}

std::ostream& operator<<(std::ostream& os, const neu& p) {
  using std::setw;
  StreamFormatGuard guard(os);
  os << std::fixed;
  if (neuns::PrintType == neuns::RINEX) {
    os << std::setprecision(4) << setw(14) << p.GetU() << setw(14) << p.GetE() << setw(14)
       << p.GetN();
    return os;
  }
  os << std::setprecision(neuns::NDecNE) << setw(neuns::WidthNE)
     << ScaleLength(p.GetN(), neuns::Unit) << setw(neuns::WidthNE)
     << ScaleLength(p.GetE(), neuns::Unit) << std::setprecision(neuns::NDecU) << setw(neuns::WidthU)
     << ScaleLength(p.GetU(), neuns::Unit);
  return os;
}
