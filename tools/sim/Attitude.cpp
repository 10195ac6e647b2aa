#include "sim/Attitude.h"

#include <algorithm>
#include <cmath>

#include "sim/Constants.h"

namespace sim {

void BodyAxes(const Vec3& sat, const Vec3& sun, bool iir, Vec3& ex, Vec3& ey, Vec3& ez) {
  ez = -1.0L * Unit(sat);
  ey = Unit(Cross(ez, Unit(sun - sat)));
  ex = Unit(Cross(ey, ez));
  if (iir) {
    ex = -1.0L * ex;
    ey = -1.0L * ey;
  }
}

long double WindUp(const Vec3& sat, const Vec3& sun, bool iir, const Vec3& station,
                   const Geodetic& geo) {
  Vec3 ex, ey, ez, north, east, up;
  BodyAxes(sat, sun, iir, ex, ey, ez);
  LocalAxes(geo, north, east, up);
  const Vec3 west = -1.0L * east;
  const Vec3 k = Unit(station - sat);  // direction of propagation
  // Effective dipoles: each antenna's dipole pair projected on the wave front.
  const Vec3 ds = ex - Dot(k, ex) * k - Cross(k, ey);
  const Vec3 dr = north - Dot(k, north) * k + Cross(k, west);
  // Both lie in the wave front, so their cross product lies along k: its component
  // there is the sine of the angle from ds to dr, their dot product its cosine.
  return std::atan2(Dot(k, Cross(ds, dr)), Dot(ds, dr)) / (2.0L * kPi);
}

long double SunEarthAngle(const Vec3& sat, const Vec3& sun) {
  const long double c = std::fabs(Dot(Unit(sun - sat), -1.0L * Unit(sat)));
  return std::acos(std::min(1.0L, c));
}

}  // namespace sim
