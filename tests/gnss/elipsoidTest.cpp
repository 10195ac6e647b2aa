#include "gnss/elipsoid.h"
#include "support/TestSupport.h"

TEST(elipsoid, Parameters) {
  const elipsoid wgs;  // the default
  EXPECT_EQ(wgs.GetA(), 6378137.0L);
  EXPECT_EQ(wgs.GetF(), static_cast<long double>(1.0 / 298.257223563));
  EXPECT_NEAR(static_cast<double>(wgs.GetE()), 0.0818191908426215, 1e-15);
  EXPECT_NEAR(static_cast<double>(wgs.GetB()), 6356752.314245, 1e-6);
  EXPECT_NEAR(static_cast<double>(wgs.GetESQR()), 0.00669437999014, 1e-14);

  const elipsoid grs(elipsoidns::GRS80);
  EXPECT_NEAR(static_cast<double>(grs.GetB()), 6356752.314140, 1e-6);
  EXPECT_EQ(elipsoid(elipsoidns::PZ90).GetA(), 6378136.0L);
  EXPECT_EQ(elipsoid(elipsoidns::BESSEL).GetA(), 6377397.155L);
  const elipsoid sphere(elipsoidns::SPHERE);
  EXPECT_EQ(sphere.GetF(), 0.0L);
  EXPECT_EQ(sphere.GetE(), 0.0L);
  EXPECT_EQ(sphere.GetB(), 6371000.0L);
}

TEST(elipsoidDeathTest, UnknownCodeIsFatal) {
  EXPECT_EXIT(
      {
        elipsoid e;
        e.Set(5);
      },
      ::testing::ExitedWithCode(1),
      testsupport::Literal("\n**** Tervan: Error -> Improper ELLIPSOID setting! ****\n"
                           "     Exiting Tervan ... \n\n"));
  EXPECT_EXIT(elipsoid(-1), ::testing::ExitedWithCode(1),
              testsupport::Literal("Improper ELLIPSOID setting!"));
}
