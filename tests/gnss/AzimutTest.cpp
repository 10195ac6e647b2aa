#include "core/KotnePretvorbe.h"
#include "gnss/Azimut.h"
#include "support/TestSupport.h"

TEST(Azimut, AxesAndQuadrants) {
  EXPECT_EQ(Azimuth(0, 0, 0, 1), 0.0L);
  EXPECT_EQ(Azimuth(0, 0, 1, 0), kPi / 2.0L);
  EXPECT_EQ(Azimuth(0, 0, 0, -1), kPi);
  EXPECT_EQ(Azimuth(0, 0, -1, 0), 3.0L * kPi / 2.0L);
  EXPECT_EQ(Azimuth(0, 0, 0, 0), 0.0L);
  EXPECT_NEAR(static_cast<double>(Azimuth(0, 0, 1, 1)), static_cast<double>(kPi / 4.0L), 1e-18);
  EXPECT_NEAR(static_cast<double>(Azimuth(0, 0, 1, -1)), static_cast<double>(3.0L * kPi / 4.0L),
              1e-15);
  EXPECT_NEAR(static_cast<double>(Azimuth(0, 0, -1, -1)), static_cast<double>(5.0L * kPi / 4.0L),
              1e-15);
  EXPECT_NEAR(static_cast<double>(Azimuth(0, 0, -1, 1)), static_cast<double>(7.0L * kPi / 4.0L),
              1e-15);
  // Measured from the start point; tiny components count as zero.
  EXPECT_EQ(Azimuth(5, 5, 5 + 1e-15L, 3), kPi);
  EXPECT_NEAR(static_cast<double>(Azimuth(10, 20, 11, 21)), static_cast<double>(kPi / 4.0L), 1e-15);
}
