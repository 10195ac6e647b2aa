#include "gnss/xyz_flh.h"

#include <cmath>

#include "core/KotnePretvorbe.h"
#include "core/PolmeriUkrivljenosti.h"

namespace {

// Longitude [rad] of a point: -pi on the negative x axis, +-pi/2 on the y axis.
long double Longitude(long double x, long double y) {
  if (x == 0.0L) return y > 0.0L ? kPi / 2.0L : (y < 0.0L ? -kPi / 2.0L : 0.0L);
  long double l = std::atan(y / x);
  if (x < 0.0L) l += y > 0.0L ? kPi : -kPi;
  return l;
}

// Height [m] above the ellipsoid at latitude f of a point at distance p from the
// polar axis and z from the equator plane. Equal to p / cos f - N, but without
// the cancellation that formula suffers near the poles.
long double Height(long double p, long double z, long double f, long double n, long double a) {
  return p * std::cos(f) + z * std::sin(f) - a * a / n;
}

// Latitude [rad] and height [m] by iteration. The latitude alone decides when
// to stop, unless withHeight adds the change of height to the test.
void LatitudeHeight(long double p, long double z, const elipsoid& ell, bool withHeight,
                    long double& f, long double& h) {
  const long double a = ell.GetA(), e = ell.GetE(), e2 = ell.GetESQR();
  if (p == 0.0L) {  // on the polar axis the iteration would divide by zero
    f = z < 0.0L ? -kPi / 2.0L : kPi / 2.0L;
    h = std::fabs(z) - ell.GetB();
    return;
  }
  f = std::atan(z / (p * (1.0L - e) * (1.0L + e)));
  h = Height(p, z, f, PolmerN(f, a, e), a);
  long double change = 1.0L;
  for (int it = 0; change > 1e-14L && it < 100; ++it) {
    const long double n = PolmerN(f, a, e);
    const long double hNew = Height(p, z, f, n, a);
    const long double fNew = std::atan(z / (p * (1.0L - e2 * n / (n + hNew))));
    change = std::fabs(fNew - f) + (withHeight ? std::fabs(hNew - h) : 0.0L);
    f = fNew;
    h = hNew;
  }
}

xyz Cartesian(long double f, long double l, long double h, const elipsoid& ell) {
  const long double n = PolmerN(f, ell.GetA(), ell.GetE());
  return xyz((n + h) * std::cos(f) * std::cos(l), (n + h) * std::cos(f) * std::sin(l),
             (n * (1.0L - ell.GetESQR()) + h) * std::sin(f));
}

}  // namespace

flh xyz2flh(const xyz& p, const elipsoid& ell) {
  long double f, h;
  LatitudeHeight(std::hypot(p.GetX(), p.GetY()), p.GetZ(), ell, false, f, h);
  return flh(f, Longitude(p.GetX(), p.GetY()), h);
}

flht xyzt2flht(const xyzt& p, const elipsoid& ell) {
  long double f, h;
  LatitudeHeight(std::hypot(p.GetX(), p.GetY()), p.GetZ(), ell, true, f, h);
  return flht(f, Longitude(p.GetX(), p.GetY()), h, p.GetT());
}

xyz flh2xyz(const flh& p, const elipsoid& ell) {
  return Cartesian(p.GetF(), p.GetL(), p.GetH(), ell);
}

xyzt flht2xyzt(const flht& p, const elipsoid& ell) {
  const xyz c = Cartesian(p.GetF(), p.GetL(), p.GetH(), ell);
  return xyzt(c.GetX(), c.GetY(), c.GetZ(), p.GetT());
}
