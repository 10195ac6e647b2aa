#include <gtest/gtest.h>

#include <cmath>

#include "orbits/LuniSolarPosition.h"

namespace {
const long double kPi = 3.141592653589793L;

TEST(LuniSolarPosition, GreenwichSiderealTimeAtJ2000) {
  // 2000-01-01 12:00 UTC is 12:00:13 GPS time.
  LuniSolarPosition ls;
  EXPECT_NEAR(static_cast<double>(ls.GSTime(mjd(51544, 43213.0L))), 4.8949612, 1e-7);
}

TEST(LuniSolarPosition, LocalSiderealTimeAddsLongitudeAndWraps) {
  LuniSolarPosition ls;
  const mjd t(51544, 43213.0L);
  const long double gst = ls.GSTime(t);
  const long double lst = ls.LSTime(t, flh(0.8L, 2.0L, 300.0L));
  EXPECT_NEAR(static_cast<double>(lst), static_cast<double>(gst + 2.0L - 2 * kPi), 1e-15);
  EXPECT_GE(lst, 0.0L);
  EXPECT_LT(lst, 2 * kPi);
}

TEST(LuniSolarPosition, SunDistanceStaysWithinTheOrbitOverAYear) {
  LuniSolarPosition ls;
  long double dmin = 1e20L, dmax = 0;
  for (int day = 0; day < 366; day += 3) {
    xyz u;
    long double d;
    ls.SunPosition(mjd(58849 + day, 0.0L), u, d);
    EXPECT_NEAR(static_cast<double>(u.GetLength()), 1.0, 1e-15);
    dmin = std::min(dmin, d);
    dmax = std::max(dmax, d);
  }
  EXPECT_GT(dmin, 1.4705e11L);  // perihelion 1.4709e11 m
  EXPECT_LT(dmax, 1.5215e11L);  // aphelion 1.5210e11 m
  EXPECT_LT(dmin, 1.4715e11L);  // perihelion early in January
  EXPECT_GT(dmax, 1.5205e11L);  // aphelion early in July
}

TEST(LuniSolarPosition, SunAtNoonOfTheJuneSolsticeIsOverTheTropic) {
  // 2020-06-20 21:44 UTC solstice; at 12:00 UTC the Sun is near the Greenwich
  // meridian (equation of time about -1.5 min) at declination +23.44 deg.
  LuniSolarPosition ls;
  xyz u;
  long double d;
  ls.SunPosition(mjd(59020, 43200.0L + 18.0L), u, d);
  EXPECT_NEAR(static_cast<double>(std::asin(u.GetZ()) * 180 / kPi), 23.43, 0.02);
  const long double lon = std::atan2(u.GetY(), u.GetX()) * 180 / kPi;
  EXPECT_NEAR(static_cast<double>(lon), 0.4, 0.3);
}

TEST(LuniSolarPosition, MoonDistanceAndUnitVector) {
  LuniSolarPosition ls;
  for (int day = 0; day < 60; day += 2) {
    xyz u;
    long double d;
    ls.MoonPosition(mjd(59000 + day, 3600.0L), u, d);
    EXPECT_NEAR(static_cast<double>(u.GetLength()), 1.0, 1e-15);
    EXPECT_GT(d, 3.55e8L);
    EXPECT_LT(d, 4.07e8L);
    // The Moon stays within about 28.6 deg of the equator.
    EXPECT_LT(std::fabs(std::asin(u.GetZ())), 29.0L * kPi / 180);
  }
}

}  // namespace
