#include "sim/Ionosphere.h"

#include <cmath>

#include "sim/Constants.h"

namespace sim {

namespace {
constexpr long double kEarthRadius = 6371000.0L;
constexpr long double kLayer = 450000.0L;
}  // namespace

long double Ionosphere::Vertical(long double lat, long double lon, long double t) const {
  const long double hours = std::fmod(t / 3600.0L + lon / kDeg / 15.0L + 48.0L, 24.0L);
  const long double day = Cos(2.0L * kPi * (hours - 14.0L) / 24.0L);
  const long double diurnal = 0.25L + 0.75L * (day > 0 ? day : 0.0L);
  const long double c = Cos(lat);
  return peak_ * diurnal * (0.3L + 0.7L * c * c);
}

long double Ionosphere::Slant(const Geodetic& st, long double e, long double az,
                              long double t) const {
  if (!enabled_) return 0.0L;
  const long double ratio = kEarthRadius / (kEarthRadius + kLayer);
  const long double psi = kPi / 2.0L - e - std::asin(ratio * Cos(e));  // Earth angle
  const long double latp = std::asin(Sin(st.lat) * Cos(psi) + Cos(st.lat) * Sin(psi) * Cos(az));
  const long double lonp = st.lon + std::asin(Sin(psi) * Sin(az) / Cos(latp));
  const long double sinz = ratio * Cos(e);
  return Vertical(latp, lonp, t) / std::sqrt(1.0L - sinz * sinz);
}

long double Ionosphere::Delay(long double tec, long double f) {
  return 40.3e16L * tec / (f * f);
}

}  // namespace sim
