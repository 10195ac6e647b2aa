#include "sim/SunMoon.h"

#include "sim/Constants.h"
#include "sim/Time.h"

namespace sim {

namespace {

constexpr long double kArcsec = kDeg / 3600.0L;
constexpr long double kAu = 149597870700.0L;  // astronomical unit, m

// Julian centuries (terrestrial time) since J2000.0 of a GPS epoch.
long double Centuries(long double t) {
  const long double mjdTT = MjdOfGpsStart + (t + 19.0L + 32.184L) / 86400.0L;
  return (mjdTT - 51544.5L) / 36525.0L;
}

// Ecliptic longitude and latitude (rad, mean equinox and ecliptic of the date) and
// distance (m) to an Earth-fixed vector at GPS seconds t.
Vec3 EclipticToEarthFixed(long double lon, long double lat, long double dist, long double t) {
  const Vec3 ecl = {dist * Cos(lat) * Cos(lon), dist * Cos(lat) * Sin(lon), dist * Sin(lat)};
  const long double obliquity = (23.439291L - 0.0130042L * Centuries(t)) * kDeg;
  const long double ce = Cos(obliquity), se = Sin(obliquity);
  const Vec3 equ = {ecl.x, ce * ecl.y - se * ecl.z, se * ecl.y + ce * ecl.z};
  // Mean sidereal time at UT1, taken as UTC.
  const long double daysUT = (t - LeapSeconds(t)) / 86400.0L + MjdOfGpsStart - 51544.5L;
  long double gmst = std::fmod(280.46061837L + 360.98564736629L * daysUT, 360.0L) * kDeg;
  return RotateZ(equ, gmst);
}

}  // namespace

Vec3 SunPosition(long double t) {
  // Mean longitude and anomaly of the date and the equation of the centre (Meeus,
  // Astronomical Algorithms, 1998, chapter 25), geometric (without aberration).
  const long double T = Centuries(t);
  const long double l0 = (280.46646L + 36000.76983L * T) * kDeg;
  const long double m = (357.52911L + 35999.05029L * T) * kDeg;
  const long double c =
      ((1.914602L - 0.004817L * T) * Sin(m) + (0.019993L - 0.000101L * T) * Sin(2.0L * m)) * kDeg;
  const long double e = 0.016708634L - 0.000042037L * T;
  const long double dist = 1.000001018L * (1.0L - e * e) / (1.0L + e * Cos(m + c)) * kAu;
  return EclipticToEarthFixed(l0 + c, 0.0L, dist, t);
}

Vec3 MoonPosition(long double t) {
  const long double T = Centuries(t);
  // Mean longitude of the date; the other arguments and the series as Montenbruck
  // and Gill give them.
  const long double l0 = (218.31617L + 481267.88088L * T) * kDeg;
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
