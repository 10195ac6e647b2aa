#include "sim/Geometry.h"

#include "sim/Constants.h"

namespace sim {

namespace {
constexpr long double kE2 = kWgs84F * (2.0L - kWgs84F);  // first eccentricity squared
}

Vec3 GeodeticToEcef(const Geodetic& g) {
  const long double sl = Sin(g.lat), cl = Cos(g.lat);
  const long double n = kWgs84A / std::sqrt(1.0L - kE2 * sl * sl);
  return {(n + g.h) * cl * Cos(g.lon), (n + g.h) * cl * Sin(g.lon), (n * (1.0L - kE2) + g.h) * sl};
}

Geodetic EcefToGeodetic(const Vec3& r) {
  Geodetic g;
  const long double p = std::sqrt(r.x * r.x + r.y * r.y);
  g.lon = std::atan2(r.y, r.x);
  g.lat = std::atan2(r.z, p * (1.0L - kE2));
  for (int i = 0; i < 10; ++i) {
    const long double sl = Sin(g.lat);
    const long double n = kWgs84A / std::sqrt(1.0L - kE2 * sl * sl);
    g.h = p / Cos(g.lat) - n;
    g.lat = std::atan2(r.z, p * (1.0L - kE2 * n / (n + g.h)));
  }
  const long double sl = Sin(g.lat);
  g.h = p * Cos(g.lat) + r.z * sl - kWgs84A * std::sqrt(1.0L - kE2 * sl * sl);
  return g;
}

void LocalAxes(const Geodetic& g, Vec3& north, Vec3& east, Vec3& up) {
  const long double sf = Sin(g.lat), cf = Cos(g.lat);
  const long double sl = Sin(g.lon), cl = Cos(g.lon);
  north = {-sf * cl, -sf * sl, cf};
  east = {-sl, cl, 0.0L};
  up = {cf * cl, cf * sl, sf};
}

void ElevationAzimuth(const Geodetic& station, const Vec3& stationEcef, const Vec3& target,
                      long double& elevation, long double& azimuth) {
  Vec3 n, e, u;
  LocalAxes(station, n, e, u);
  const Vec3 d = target - stationEcef;
  const long double dist = Norm(d);
  elevation = std::asin(Dot(d, u) / dist);
  azimuth = std::atan2(Dot(d, e), Dot(d, n));
  if (azimuth < 0) azimuth += 2.0L * kPi;
}

}  // namespace sim
