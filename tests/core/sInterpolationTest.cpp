#include <gtest/gtest.h>

#include "core/sInterpolation.h"

TEST(sInterpolation, LinearAndBilinear) {
  EXPECT_EQ(SetP(2, 0, 8), 0.75L);
  EXPECT_EQ(SetXN(2, 0, 8), 0.25L);
  EXPECT_EQ(LinearInterpolate(2, 0, 8, 10, 30), 15.0L);
  EXPECT_EQ(LinearInterpolate(0.25L, 4, 0.75L, 8), 7.0L);
  // z = 1 + 2x + 3y + xy is reproduced exactly by bilinear interpolation.
  auto z = [](long double x, long double y) { return 1 + 2 * x + 3 * y + x * y; };
  EXPECT_NEAR(static_cast<double>(
                  BiLinearInterpolate(1.5L, 2.25L, 1, 2, 2, 3, z(1, 2), z(2, 2), z(2, 3), z(1, 3))),
              static_cast<double>(z(1.5L, 2.25L)), 1e-15);
  // Coincident nodes give the first value rather than a division by zero.
  EXPECT_EQ(LinearInterpolate(5, 5, 5, 10, 30), 10.0L);
}

TEST(sInterpolation, LagrangePolynomials) {
  auto quad = [](long double x) { return 2 - x + 0.5L * x * x; };
  EXPECT_NEAR(static_cast<double>(QuadraticInterpolate(1.7L, 0, 1, 3, quad(0), quad(1), quad(3))),
              static_cast<double>(quad(1.7L)), 1e-15);
  auto cub = [](long double x) { return 1 + x - 2 * x * x + 0.25L * x * x * x; };
  EXPECT_NEAR(
      static_cast<double>(CubicInterpolate(2.5L, 0, 1, 3, 4, cub(0), cub(1), cub(3), cub(4))),
      static_cast<double>(cub(2.5L)), 1e-14);
}

TEST(sInterpolation, CubicBetweenTheMiddleNodes) {
  long double p0, p1, p2, p3;
  // A straight line on nodes 10 apart is reproduced between the middle nodes.
  SetP(0, 10, 20, 30, 0, 20, 40, 60, p0, p1, p2, p3);
  EXPECT_NEAR(static_cast<double>(CubicInterpolate(SetXN(15, 10, 20), p0, p1, p2, p3)), 30.0,
              1e-15);
  EXPECT_NEAR(static_cast<double>(CubicInterpolate(0.0L, p0, p1, p2, p3)), 20.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(CubicInterpolate(1.0L, p0, p1, p2, p3)), 40.0, 1e-15);
  // On unit nodes the coefficients are the Catmull-Rom ones.
  SetP(0, 1, 2, 3, 1, 2, 4, 8, p0, p1, p2, p3);
  EXPECT_EQ(p2, 1.5L);
  EXPECT_EQ(p3, 2.0L);
  EXPECT_EQ(p0, 3.0L + 1.5L + 4.0L - 8.0L);
  EXPECT_EQ(p1, -6.0L + 12.0L - 3.0L - 3.0L);
}
