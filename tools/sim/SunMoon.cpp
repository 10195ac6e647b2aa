#include "sim/SunMoon.h"

#include "sim/SimConstants.h"
#include "sim/SimTime.h"

namespace sim {

namespace {

constexpr long double kArcsec = kDeg / 3600.0L;
constexpr long double kObliquity = 23.43929111L * kDeg;  // of J2000

// Julian centuries (terrestrial time) since J2000.0 of a GPS epoch.
long double Centuries(long double t) {
  const long double mjdTT = MjdOfGpsStart + (t + 19.0L + 32.184L) / 86400.0L;
  return (mjdTT - 51544.5L) / 36525.0L;
}

// Ecliptic longitude and latitude (rad, equinox of J2000) and distance (m) to an
// Earth-fixed vector at GPS seconds t.
Vec3 EclipticToEarthFixed(long double lon, long double lat, long double dist, long double t) {
  lon += 1.3972L * kDeg * Centuries(t);  // equinox of the date
  const Vec3 ecl = {dist * Cos(lat) * Cos(lon), dist * Cos(lat) * Sin(lon), dist * Sin(lat)};
  const long double ce = Cos(kObliquity), se = Sin(kObliquity);
  const Vec3 equ = {ecl.x, ce * ecl.y - se * ecl.z, se * ecl.y + ce * ecl.z};
  // Mean sidereal time at UT1, taken as UTC.
  const long double daysUT = (t - LeapSeconds(t)) / 86400.0L + MjdOfGpsStart - 51544.5L;
  long double gmst = std::fmod(280.46061837L + 360.98564736629L * daysUT, 360.0L) * kDeg;
  return RotateZ(equ, gmst);
}

}  // namespace

Vec3 SunPosition(long double t) {
  const long double T = Centuries(t);
  const long double m = (357.5256L + 35999.049L * T) * kDeg;
  const long double lon = 282.94L * kDeg + m + (6892.0L * Sin(m) + 72.0L * Sin(2.0L * m)) * kArcsec;
  const long double dist = (149.619L - 2.499L * Cos(m) - 0.021L * Cos(2.0L * m)) * 1e9L;
  return EclipticToEarthFixed(lon, 0.0L, dist, t);
}

Vec3 MoonPosition(long double t) {
  const long double T = Centuries(t);
  const long double l0 = (218.31617L + 481267.88088L * T - 1.3972L * T) * kDeg;
  const long double l = (134.96292L + 477198.86753L * T) * kDeg;
  const long double lp = (357.52543L + 35999.04944L * T) * kDeg;
  const long double f = (93.27283L + 483202.01873L * T) * kDeg;
  const long double d = (297.85027L + 445267.11135L * T) * kDeg;
  const long double lon =
      l0 +
      (22640.0L * Sin(l) + 769.0L * Sin(2 * l) - 4586.0L * Sin(l - 2 * d) + 2370.0L * Sin(2 * d) -
       668.0L * Sin(lp) - 412.0L * Sin(2 * f) - 212.0L * Sin(2 * l - 2 * d) -
       206.0L * Sin(l + lp - 2 * d) + 192.0L * Sin(l + 2 * d) - 165.0L * Sin(lp - 2 * d) +
       148.0L * Sin(l - lp) - 125.0L * Sin(d) - 110.0L * Sin(l + lp) - 55.0L * Sin(2 * f - 2 * d)) *
          kArcsec;
  const long double lat =
      (18520.0L * Sin(f + lon - l0 + (412.0L * Sin(2 * f) + 541.0L * Sin(lp)) * kArcsec) -
       526.0L * Sin(f - 2 * d) + 44.0L * Sin(l + f - 2 * d) - 31.0L * Sin(-l + f - 2 * d) -
       25.0L * Sin(-2 * l + f) - 23.0L * Sin(lp + f - 2 * d) + 21.0L * Sin(-l + f) +
       11.0L * Sin(-lp + f - 2 * d)) *
      kArcsec;
  const long double dist =
      (385000.0L - 20905.0L * Cos(l) - 3699.0L * Cos(2 * d - l) - 2956.0L * Cos(2 * d) -
       570.0L * Cos(2 * l) + 246.0L * Cos(2 * l - 2 * d) - 205.0L * Cos(lp - 2 * d) -
       171.0L * Cos(l + 2 * d) - 152.0L * Cos(l + lp - 2 * d)) *
      1000.0L;
  return EclipticToEarthFixed(lon, lat, dist, t);
}

}  // namespace sim
