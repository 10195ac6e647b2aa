// A Cartesian position in the Earth-centred, Earth-fixed frame [m] with a clock
// or time term [s] (a satellite position with its clock correction). Wherever
// an xyz is expected, an xyzt serves with its time term ignored.
#ifndef TERVAN_GNSS_XYZT_H
#define TERVAN_GNSS_XYZT_H

#include <iosfwd>

#include "gnss/xyz.h"

// Print settings of xyzt output (global, set by the report stages).
namespace xyztns {
inline short NDec = 4;
inline short NDecT = 6;
inline short Width = 14;
inline short WidthT = 12;
inline bool PrintTime = true;  // the time term is printed after the position
inline long Unit = xyzns::M;
inline long UnitT = xyzns::S;
}  // namespace xyztns

class xyzt : public xyz {
 public:
  xyzt() : dt(0.0L) {}
  xyzt(long double X, long double Y, long double Z, long double T) : xyz(X, Y, Z), dt(T) {}
  // A position with a zero time term.
  explicit xyzt(const xyz& p) : xyz(p), dt(0.0L) {}

  using xyz::Set;
  void Set(long double X, long double Y, long double Z, long double T) {
    xyz::Set(X, Y, Z);
    dt = T;
  }
  long double GetT() const { return dt; }
  void SetT(long double T) { dt = T; }
  xyz GetXYZ() const { return xyz(x, y, z); }

  // With another xyzt the time terms combine too; with an xyz only the position.
  using xyz::operator+=;
  using xyz::operator-=;
  xyzt& operator+=(const xyzt& p);
  xyzt& operator-=(const xyzt& p);
  xyzt& operator*=(long double s);
  xyzt& operator/=(long double s);

 private:
  long double dt;  // time term [s]
};

xyzt operator+(const xyzt& a, const xyzt& b);
xyzt operator-(const xyzt& a, const xyzt& b);
xyzt operator*(long double s, const xyzt& p);
xyzt operator*(const xyzt& p, long double s);
// Equal when every component, the time term included, differs by less than 1e-14.
bool operator==(const xyzt& a, const xyzt& b);
bool operator!=(const xyzt& a, const xyzt& b);

// Reads x, y, z, dt; a failed read leaves the value unchanged and the stream failed.
std::istream& operator>>(std::istream& is, xyzt& p);
// Writes x, y, z (and the time term when xyztns::PrintTime) by the settings of xyztns.
std::ostream& operator<<(std::ostream& os, const xyzt& p);

#endif
