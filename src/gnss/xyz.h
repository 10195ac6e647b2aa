// A Cartesian vector or position in the Earth-centred, Earth-fixed frame [m].
#ifndef TERVAN_GNSS_XYZ_H
#define TERVAN_GNSS_XYZ_H

#include <iosfwd>

// Print settings of xyz output (global, set by the report stages).
namespace xyzns {
enum { M = 1, CM = 100, MM = 1000, KM = -1000 };                   // length units
enum : long { S = 1, MS = 1000, MCS = 1000000, NS = 1000000000 };  // time units
inline short NDec = 4;
inline short Width = 14;
inline long Unit = M;
inline short NDecT = 6;
inline short WidthT = 12;
inline long UnitT = S;
}  // namespace xyzns

class xyzt;

class xyz {
 public:
  xyz() : x(0.0L), y(0.0L), z(0.0L) {}
  xyz(long double X, long double Y, long double Z) : x(X), y(Y), z(Z) {}
  xyz(const xyz&) = default;
  xyz& operator=(const xyz&) = default;
  // The time term of an xyzt is dropped.
  xyz& operator=(const xyzt& p);

  void Set(long double X, long double Y, long double Z) {
    x = X;
    y = Y;
    z = Z;
  }
  long double GetX() const { return x; }
  long double GetY() const { return y; }
  long double GetZ() const { return z; }
  void SetX(long double X) { x = X; }
  void SetY(long double Y) { y = Y; }
  void SetZ(long double Z) { z = Z; }

  xyz& operator+=(const xyz& p);
  xyz& operator-=(const xyz& p);
  xyz& operator*=(long double s);
  xyz& operator/=(long double s);

  long double GetLength() const;
  // Vector of length s along this one (s = -1 gives the opposite direction); the
  // components are scaled by 1e-6 first so that orbit radii square safely. A zero
  // vector has no direction and gives the zero vector.
  xyz GetUnitVector(long double s = 1.0L) const;
  // Rotations of the vector by angle a [rad] about the axes (in place).
  xyz& RotateX(long double a);
  xyz& RotateY(long double a);
  xyz& RotateZ(long double a);

 protected:
  long double x;  // [m]
  long double y;  // [m]
  long double z;  // [m]
};

xyz operator+(const xyz& a, const xyz& b);
xyz operator-(const xyz& a, const xyz& b);
xyz operator-(const xyz& a);
xyz operator*(long double s, const xyz& p);
xyz operator*(const xyz& p, long double s);
// Dot product.
long double operator*(const xyz& a, const xyz& b);
// Equal when every component differs by less than 1e-14.
bool operator==(const xyz& a, const xyz& b);
bool operator!=(const xyz& a, const xyz& b);
// Cross product p1 x p2.
xyz CrossP(const xyz& p1, const xyz& p2);
// Component-wise product.
xyz ElementP(const xyz& p1, const xyz& p2);
// Component-wise square root.
xyz sqrt(const xyz& p);

// Reads x, y, z; a failed read leaves the vector unchanged and the stream failed.
std::istream& operator>>(std::istream& is, xyz& p);
// Writes x, y, z by the settings of xyzns.
std::ostream& operator<<(std::ostream& os, const xyz& p);

#endif
