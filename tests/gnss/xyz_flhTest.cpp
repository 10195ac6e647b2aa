#include <cmath>

#include "core/KotnePretvorbe.h"
#include "gnss/xyz_flh.h"
#include "support/TestSupport.h"

TEST(xyz_flh, LongitudeOnTheAxes) {
  const elipsoid wgs;
  EXPECT_EQ(xyz2flh(xyz(-6378137, 0, 0), wgs).GetL(), -kPi);
  EXPECT_EQ(xyz2flh(xyz(0, 6378137, 0), wgs).GetL(), kPi / 2.0L);
  EXPECT_EQ(xyz2flh(xyz(-0.0L, 6378137, 0), wgs).GetL(), kPi / 2.0L);
  EXPECT_EQ(xyz2flh(xyz(0, -6378137, 0), wgs).GetL(), -kPi / 2.0L);
  EXPECT_NEAR(static_cast<double>(xyz2flh(xyz(-1e6L, 1e6L, 6e6L), wgs).GetL()),
              static_cast<double>(3.0L * kPi / 4.0L), 1e-15);
  EXPECT_NEAR(static_cast<double>(xyz2flh(xyz(-1e6L, -1e6L, 6e6L), wgs).GetL()),
              static_cast<double>(-3.0L * kPi / 4.0L), 1e-15);
}

TEST(xyz_flh, EquatorAndPoles) {
  const elipsoid wgs;
  const flh eq = xyz2flh(xyz(6378137.0L + 100.0L, 0, 0), wgs);
  EXPECT_NEAR(static_cast<double>(eq.GetF()), 0.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(eq.GetH()), 100.0, 1e-8);
  const flh north = xyz2flh(xyz(0, 0, wgs.GetB() + 50.0L), wgs);
  EXPECT_EQ(north.GetF(), kPi / 2.0L);
  EXPECT_NEAR(static_cast<double>(north.GetH()), 50.0, 1e-8);
  const flh south = xyz2flh(xyz(0, 0, -wgs.GetB()), wgs);
  EXPECT_EQ(south.GetF(), -kPi / 2.0L);
  // Close to the pole the height keeps its precision.
  for (long double colatitude : {1e-9L, 1e-6L, 1e-4L}) {
    const flh near = xyz2flh(flh2xyz(flh(kPi / 2.0L - colatitude, 1.0L, 10.0L), wgs), wgs);
    EXPECT_NEAR(static_cast<double>(near.GetH()), 10.0, 1e-6);
    EXPECT_NEAR(static_cast<double>(near.GetF()), static_cast<double>(kPi / 2.0L - colatitude),
                1e-15);
  }
}

TEST(xyz_flh, SphereGivesGeocentricLatitude) {
  const elipsoid sphere(elipsoidns::SPHERE);
  const flh p = xyz2flh(xyz(3e6L, 4e6L, 5e6L), sphere);
  EXPECT_NEAR(static_cast<double>(p.GetF()), static_cast<double>(std::atan2(5e6L, 5e6L)), 1e-15);
  EXPECT_NEAR(static_cast<double>(p.GetH()), static_cast<double>(std::sqrt(50e12L) - 6371000.0L),
              1e-7);
}

TEST(xyz_flh, RoundTripBelowATenthOfAMillimetre) {
  for (int code = elipsoidns::GRS80; code <= elipsoidns::SPHERE; ++code) {
    const elipsoid ell(code);
    for (int lat = -89; lat <= 89; lat += 8)
      for (int lon = -179; lon <= 179; lon += 22)
        for (long double h : {-420.0L, 0.0L, 376.5L, 8848.0L, 20200e3L}) {
          const flh g(deg2rad(static_cast<long double>(lat) + 0.123456789L),
                      deg2rad(static_cast<long double>(lon) + 0.987654321L), h);
          const xyz p = flh2xyz(g, ell);
          const flh back = xyz2flh(p, ell);
          const xyz again = flh2xyz(back, ell);
          ASSERT_LT(static_cast<double>((again - p).GetLength()), 1e-4)
              << code << " " << lat << " " << lon << " " << static_cast<double>(h);
          ASSERT_NEAR(static_cast<double>(back.GetH()), static_cast<double>(h), 1e-4);
          ASSERT_NEAR(static_cast<double>(back.GetF()), static_cast<double>(g.GetF()), 1e-11);
        }
  }
}

TEST(xyz_flh, TimeTermIsCopied) {
  const elipsoid wgs;
  const xyzt p(4075580.385L, 931853.986L, 4801568.233L, 1.25e-4L);
  const flht g = xyzt2flht(p, wgs);
  EXPECT_EQ(g.GetT(), 1.25e-4L);
  const xyzt back = flht2xyzt(g, wgs);
  EXPECT_EQ(back.GetT(), 1.25e-4L);
  EXPECT_LT(static_cast<double>((back - p).GetLength()), 1e-6);
  const flh plain = xyz2flh(p, wgs);
  EXPECT_NEAR(static_cast<double>(plain.GetH()), static_cast<double>(g.GetH()), 1e-6);
}
