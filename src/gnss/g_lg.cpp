#include "gnss/g_lg.h"

#include <cmath>

#include "gnss/xyz_flh.h"

namespace {

// Rows north, east, up of the rotation from ECEF into the local frame.
struct LocalAxes {
  long double r[3][3];
  explicit LocalAxes(const flh& o) {
    const long double sf = std::sin(o.GetF()), cf = std::cos(o.GetF());
    const long double sl = std::sin(o.GetL()), cl = std::cos(o.GetL());
    const long double rows[3][3] = {
        {-sf * cl, -sf * sl, cf}, {-sl, cl, 0.0L}, {cf * cl, cf * sl, sf}};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) r[i][j] = rows[i][j];
  }
};

neu ToLocal(const LocalAxes& R, const xyz& v) {
  const long double x = v.GetX(), y = v.GetY(), z = v.GetZ();
  return neu(R.r[0][0] * x + R.r[0][1] * y + R.r[0][2] * z,
             R.r[1][0] * x + R.r[1][1] * y + R.r[1][2] * z,
             R.r[2][0] * x + R.r[2][1] * y + R.r[2][2] * z);
}

}  // namespace

neu g2lg(const xyz& v, const flh& origin) {
  return ToLocal(LocalAxes(origin), v);
}

namespace {

// The local axes of the last two origins: a run asks for the frames of its BASE and
// ROVER record after record, and their geodetic positions cost an iteration and
// four sines and cosines.
struct AxesCache {
  bool set = false;
  long double x = 0, y = 0, z = 0, a = 0, f = 0;  // origin [m] and ellipsoid
  LocalAxes axes{flh()};
};

// Equal numbers of equal sign (a longitude tells +0 from -0).
bool Same(long double a, long double b) {
  return a == b && std::signbit(a) == std::signbit(b);
}

const LocalAxes& AxesAt(const xyz& origin, const elipsoid& ell) {
  static AxesCache cache[2];
  static int next = 0;
  for (const AxesCache& c : cache)
    if (c.set && Same(c.x, origin.GetX()) && Same(c.y, origin.GetY()) && Same(c.z, origin.GetZ()) &&
        Same(c.a, ell.GetA()) && Same(c.f, ell.GetF()))
      return c.axes;
  AxesCache& c = cache[next];
  next = 1 - next;
  c.set = true;
  c.x = origin.GetX(), c.y = origin.GetY(), c.z = origin.GetZ();
  c.a = ell.GetA(), c.f = ell.GetF();
  c.axes = LocalAxes(xyz2flh(origin, ell));
  return c.axes;
}

}  // namespace

neu g2lg(const xyz& v, const xyz& origin, const elipsoid& ell) {
  return ToLocal(AxesAt(origin, ell), v);
}

xyz lg2g(const neu& v, const flh& origin) {
  const LocalAxes R(origin);
  const long double n = v.GetN(), e = v.GetE(), u = v.GetU();
  return xyz(R.r[0][0] * n + R.r[1][0] * e + R.r[2][0] * u,
             R.r[0][1] * n + R.r[1][1] * e + R.r[2][1] * u,
             R.r[0][2] * n + R.r[1][2] * e + R.r[2][2] * u);
}

xyz lg2g(const neu& v, const xyz& origin, const elipsoid& ell) {
  return lg2g(v, xyz2flh(origin, ell));
}

neut gt2lgt(const xyzt& v, const flh& origin) {
  const neu l = g2lg(v, origin);
  return neut(l.GetN(), l.GetE(), l.GetU(), v.GetT());
}

neut gt2lgt(const xyzt& v, const xyz& origin, const elipsoid& ell) {
  return gt2lgt(v, xyz2flh(origin, ell));
}

xyzt lgt2gt(const neut& v, const flh& origin) {
  const xyz g = lg2g(v, origin);
  return xyzt(g.GetX(), g.GetY(), g.GetZ(), v.GetT());
}

xyzt lgt2gt(const neut& v, const xyz& origin, const elipsoid& ell) {
  return lgt2gt(v, xyz2flh(origin, ell));
}

void g2lg(const matrix<long double>& S, const flh& origin, matrix<long double>& Syy) {
  const LocalAxes R(origin);
  // The symmetric matrix from its diagonal and upper triangle.
  long double s[3][3];
  for (int k = 0; k < 3; ++k)
    for (int m = k; m < 3; ++m) s[k][m] = s[m][k] = S(k, m);
  Syy.Resize(3, 3);
  for (int i = 0; i < 3; ++i)
    for (int j = i; j < 3; ++j) {
      long double sum = 0.0L;
      for (int k = 0; k < 3; ++k)
        for (int m = 0; m < 3; ++m) sum += R.r[i][k] * s[k][m] * R.r[j][m];
      Syy(i, j) = Syy(j, i) = sum;
    }
}
