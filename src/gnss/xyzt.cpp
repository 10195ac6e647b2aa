#include "gnss/xyzt.h"

#include <cmath>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/PrintUnits.h"
#include "core/StreamFormatGuard.h"

xyzt& xyzt::operator+=(const xyzt& p) {
  xyz::operator+=(p);
  dt += p.dt;
  return *this;
}

xyzt& xyzt::operator-=(const xyzt& p) {
  xyz::operator-=(p);
  dt -= p.dt;
  return *this;
}

xyzt& xyzt::operator*=(long double s) {
  xyz::operator*=(s);
  dt *= s;
  return *this;
}

xyzt& xyzt::operator/=(long double s) {
  xyz::operator/=(s);
  dt /= s;
  return *this;
}

xyzt operator+(const xyzt& a, const xyzt& b) {
  return xyzt(a) += b;
}
xyzt operator-(const xyzt& a, const xyzt& b) {
  return xyzt(a) -= b;
}
xyzt operator*(long double s, const xyzt& p) {
  return xyzt(p) *= s;
}
xyzt operator*(const xyzt& p, long double s) {
  return xyzt(p) *= s;
}

bool operator==(const xyzt& a, const xyzt& b) {
  return static_cast<const xyz&>(a) == static_cast<const xyz&>(b) &&
         std::fabs(a.GetT() - b.GetT()) < 1e-14L;
}

bool operator!=(const xyzt& a, const xyzt& b) {
  return !(a == b);
}

std::istream& operator>>(std::istream& is, xyzt& p) {
  long double x, y, z, t;
  if (is >> x >> y >> z >> t) p.Set(x, y, z, t);
  return is;
}

std::ostream& operator<<(std::ostream& os, const xyzt& p) {
  StreamFormatGuard guard(os);
  os << std::fixed << std::setprecision(xyztns::NDec);
  for (long double v : {p.GetX(), p.GetY(), p.GetZ()})
    os << std::setw(xyztns::Width) << ScaleLength(v, xyztns::Unit);
  if (xyztns::PrintTime)
    os << std::setprecision(xyztns::NDecT) << std::setw(xyztns::WidthT)
       << ScaleTime(p.GetT(), xyztns::UnitT);
  return os;
}
