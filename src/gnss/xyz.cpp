#include "gnss/xyz.h"

#include <cmath>
#include <iomanip>
#include <istream>
#include <ostream>

#include "core/PrintUnits.h"
#include "core/StreamFormatGuard.h"
#include "gnss/xyzt.h"

xyz& xyz::operator=(const xyzt& p) {
  Set(p.GetX(), p.GetY(), p.GetZ());
  return *this;
}

xyz& xyz::operator+=(const xyz& p) {
  x += p.x;
  y += p.y;
  z += p.z;
  return *this;
}

xyz& xyz::operator-=(const xyz& p) {
  x -= p.x;
  y -= p.y;
  z -= p.z;
  return *this;
}

xyz& xyz::operator*=(long double s) {
  x *= s;
  y *= s;
  z *= s;
  return *this;
}

xyz& xyz::operator/=(long double s) {
  x /= s;
  y /= s;
  z /= s;
  return *this;
}

long double xyz::GetLength() const {
  return std::sqrt(x * x + y * y + z * z);
}

xyz xyz::GetUnitVector(long double s) const {
  xyz scaled(x * 1e-6L, y * 1e-6L, z * 1e-6L);
  const long double length = scaled.GetLength();
  if (length == 0.0L) return xyz();
  scaled *= s / length;
  return scaled;
}

xyz& xyz::RotateX(long double a) {
  const long double c = std::cos(a), s = std::sin(a);
  Set(x, y * c - z * s, y * s + z * c);
  return *this;
}

xyz& xyz::RotateY(long double a) {
  const long double c = std::cos(a), s = std::sin(a);
  Set(x * c + z * s, y, -x * s + z * c);
  return *this;
}

xyz& xyz::RotateZ(long double a) {
  const long double c = std::cos(a), s = std::sin(a);
  Set(x * c - y * s, x * s + y * c, z);
  return *this;
}

xyz operator+(const xyz& a, const xyz& b) {
  return xyz(a) += b;
}
xyz operator-(const xyz& a, const xyz& b) {
  return xyz(a) -= b;
}
xyz operator-(const xyz& a) {
  return xyz(-a.GetX(), -a.GetY(), -a.GetZ());
}
xyz operator*(long double s, const xyz& p) {
  return xyz(p) *= s;
}
xyz operator*(const xyz& p, long double s) {
  return xyz(p) *= s;
}

long double operator*(const xyz& a, const xyz& b) {
  return a.GetX() * b.GetX() + a.GetY() * b.GetY() + a.GetZ() * b.GetZ();
}

bool operator==(const xyz& a, const xyz& b) {
  if (&a == &b) return true;
  return std::fabs(a.GetX() - b.GetX()) < 1e-14L && std::fabs(a.GetY() - b.GetY()) < 1e-14L &&
         std::fabs(a.GetZ() - b.GetZ()) < 1e-14L;
}

bool operator!=(const xyz& a, const xyz& b) {
  return !(a == b);
}

xyz CrossP(const xyz& p1, const xyz& p2) {
  return xyz(p1.GetY() * p2.GetZ() - p1.GetZ() * p2.GetY(),
             p1.GetZ() * p2.GetX() - p1.GetX() * p2.GetZ(),
             p1.GetX() * p2.GetY() - p1.GetY() * p2.GetX());
}

xyz ElementP(const xyz& p1, const xyz& p2) {
  return xyz(p1.GetX() * p2.GetX(), p1.GetY() * p2.GetY(), p1.GetZ() * p2.GetZ());
}

xyz sqrt(const xyz& p) {
  return xyz(std::sqrt(p.GetX()), std::sqrt(p.GetY()), std::sqrt(p.GetZ()));
}

std::istream& operator>>(std::istream& is, xyz& p) {
  long double x, y, z;
  if (is >> x >> y >> z) p.Set(x, y, z);
  return is;
}

std::ostream& operator<<(std::ostream& os, const xyz& p) {
  StreamFormatGuard guard(os);
  os << std::fixed << std::setprecision(xyzns::NDec);
  for (long double v : {p.GetX(), p.GetY(), p.GetZ()})
    os << std::setw(xyzns::Width) << ScaleLength(v, xyzns::Unit);
  return os;
}
