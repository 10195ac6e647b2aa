#include "core/KotnePretvorbe.h"
#include "gnss/g_lg.h"
#include "gnss/xyz_flh.h"
#include "support/TestSupport.h"

TEST(g_lg, AxesAtTheOrigin) {
  const flh o(0, 0, 0);  // equator, Greenwich: x is up, y east, z north
  EXPECT_EQ(g2lg(xyz(1, 0, 0), o), neu(0, 0, 1));
  EXPECT_EQ(g2lg(xyz(0, 1, 0), o), neu(0, 1, 0));
  EXPECT_EQ(g2lg(xyz(0, 0, 1), o), neu(1, 0, 0));
  EXPECT_EQ(lg2g(neu(1, 2, 3), o), xyz(3, 2, 1));
}

TEST(g_lg, RoundTripAndCartesianOrigin) {
  const elipsoid wgs;
  const flh o(deg2rad(46.04L), deg2rad(14.54L), 300.0L);
  const xyz v(12.5L, -7.25L, 3.0L);
  const neu l = g2lg(v, o);
  EXPECT_NEAR(static_cast<double>(l.GetLength()), static_cast<double>(v.GetLength()), 1e-12);
  const xyz back = lg2g(l, o);
  EXPECT_LT(static_cast<double>((back - v).GetLength()), 1e-13);

  const xyz origin = flh2xyz(o, wgs);
  const neu l2 = g2lg(v, origin, wgs);
  EXPECT_LT(static_cast<double>((l2 - l).GetLength()), 1e-12);
  EXPECT_LT(static_cast<double>((lg2g(l2, origin, wgs) - v).GetLength()), 1e-12);

  const neut lt = gt2lgt(xyzt(12.5L, -7.25L, 3.0L, 2.5L), o);
  EXPECT_EQ(lt.GetT(), 2.5L);
  const xyzt gt = lgt2gt(lt, origin, wgs);
  EXPECT_EQ(gt.GetT(), 2.5L);
  EXPECT_LT(static_cast<double>((gt - xyzt(12.5L, -7.25L, 3.0L, 2.5L)).GetLength()), 1e-12);
}

TEST(g_lg, CovarianceIsRotatedSymmetrically) {
  const flh o(deg2rad(46.04L), deg2rad(14.54L), 300.0L);
  matrix<long double> S(3, 3);
  const long double values[3][3] = {{4.0L, 1.2L, -0.7L}, {1.2L, 9.0L, 0.4L}, {-0.7L, 0.4L, 2.5L}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) S(i, j) = values[i][j];
  matrix<long double> Syy;
  g2lg(S, o, Syy);
  ASSERT_EQ(Syy.NRow(), 3);
  ASSERT_EQ(Syy.NCol(), 3);

  // R S R^T from the rotated unit vectors: row i of R is g2lg of the axes.
  const neu ex = g2lg(xyz(1, 0, 0), o), ey = g2lg(xyz(0, 1, 0), o), ez = g2lg(xyz(0, 0, 1), o);
  long double R[3][3] = {{ex.GetN(), ey.GetN(), ez.GetN()},
                         {ex.GetE(), ey.GetE(), ez.GetE()},
                         {ex.GetU(), ey.GetU(), ez.GetU()}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      long double expected = 0.0L;
      for (int k = 0; k < 3; ++k)
        for (int m = 0; m < 3; ++m) expected += R[i][k] * values[k][m] * R[j][m];
      EXPECT_NEAR(static_cast<double>(Syy(i, j)), static_cast<double>(expected), 1e-14);
      EXPECT_EQ(Syy(i, j), Syy(j, i));
    }
  // The trace is kept by a rotation.
  EXPECT_NEAR(static_cast<double>(Syy(0, 0) + Syy(1, 1) + Syy(2, 2)), 15.5, 1e-14);
}

// Origins taken in turn (more than the frames kept) give each its own frame, the
// same to the bit as from its geodetic position; so do the two ellipsoids.
TEST(g_lg, CartesianOriginsInTurnKeepTheirOwnFrames) {
  const elipsoid wgs, other(elipsoidns::BESSEL);
  const xyz v(-3.5L, 8.25L, 1.0L);
  const xyz origins[3] = {flh2xyz(flh(deg2rad(46.0L), deg2rad(14.5L), 300.0L), wgs),
                          flh2xyz(flh(deg2rad(-33.9L), deg2rad(151.2L), 40.0L), wgs),
                          flh2xyz(flh(deg2rad(64.1L), deg2rad(-21.9L), 10.0L), wgs)};
  auto same = [](const neu& a, const neu& b) {
    return a.GetN() == b.GetN() && a.GetE() == b.GetE() && a.GetU() == b.GetU();
  };
  for (int pass = 0; pass < 3; ++pass)
    for (const xyz& o : origins) {
      EXPECT_TRUE(same(g2lg(v, o, wgs), g2lg(v, xyz2flh(o, wgs))));
      EXPECT_TRUE(same(g2lg(v, o, other), g2lg(v, xyz2flh(o, other))));
    }
  EXPECT_FALSE(same(g2lg(v, origins[0], wgs), g2lg(v, origins[0], other)));
}
