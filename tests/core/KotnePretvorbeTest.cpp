#include <gtest/gtest.h>

#include <cmath>

#include "core/KotnePretvorbe.h"
#include "core/PolmeriUkrivljenosti.h"

TEST(KotnePretvorbe, DegreesAndRadians) {
  EXPECT_EQ(deg2rad(180.0L), kPi);
  EXPECT_DOUBLE_EQ(deg2rad(90.0), 3.141592653589793 / 2.0);
  EXPECT_NEAR(static_cast<double>(rad2deg(kPi / 4.0L)), 45.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(dms2deg(10, 30, 36.0)), static_cast<double>(deg2rad(10.51L)),
              1e-17);
  EXPECT_NEAR(static_cast<double>(dms2deg(-10, 30, 36.0)), static_cast<double>(deg2rad(-10.51L)),
              1e-17);
}

TEST(KotnePretvorbe, PackedSexagesimal) {
  EXPECT_NEAR(static_cast<double>(dms2rad(10.3036L)), static_cast<double>(deg2rad(10.51L)), 1e-15);
  EXPECT_NEAR(static_cast<double>(dms2rad(-10.3036L)), static_cast<double>(deg2rad(-10.51L)),
              1e-15);
  EXPECT_NEAR(static_cast<double>(rad2dms(deg2rad(10.51L))), 10.3036, 1e-13);
  // Values that the decimal fraction cannot hold exactly keep their minutes.
  EXPECT_NEAR(static_cast<double>(dms2rad(46.3L)), static_cast<double>(deg2rad(46.5L)), 1e-17);
  EXPECT_NEAR(static_cast<double>(dms2rad(46.3)), static_cast<double>(deg2rad(46.5L)), 1e-15);
  EXPECT_NEAR(static_cast<double>(rad2dms(deg2rad(-46.0L - 3.0L / 60.0L))), -46.03, 1e-13);
}

TEST(KotnePretvorbe, SecondsCarryIntoMinutesAndDegrees) {
  const long double angle = deg2rad(10.0L + 59.0L / 60.0L + 59.99999999999999L / 3600.0L);
  EXPECT_NEAR(static_cast<double>(rad2dms(angle)), 11.0, 1e-15);
}

TEST(KotnePretvorbe, PackedValueText) {
  EXPECT_EQ(dms2dms(-0.3, 3), " -0 30  0.000");
  EXPECT_EQ(dms2dms(46.0312345L, 3), " 46  3 12.345");
  EXPECT_EQ(dms2dms(-46.0312345L, 1), "-46  3 12.3");
  EXPECT_EQ(dms2dms(10.3, 2), " 10 30  0.00");
  EXPECT_EQ(dms2dms(10.5960, 1), " 11  0  0.0");
  EXPECT_EQ(dms2dms(10.2959999, 1), " 10 30  0.0");
  EXPECT_EQ(dms2dms(10.2959, 1), " 10 29 59.0");
}

TEST(PolmeriUkrivljenosti, PrimeVerticalRadius) {
  const long double a = 6378137.0L, e = 0.0818191908426L;
  EXPECT_EQ(PolmerN(0.0L, a, e), a);
  // At the pole N = a / sqrt(1 - e^2).
  EXPECT_NEAR(static_cast<double>(PolmerN(kPi / 2.0L, a, e)),
              static_cast<double>(a / std::sqrt(1.0L - e * e)), 1e-8);
}
