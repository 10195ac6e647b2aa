#include "gnss/GNSSSatBasis.h"
#include "support/TestSupport.h"

TEST(GNSSSatBasis, RightHandedAxesTowardEarthAndSun) {
  xyz X, Y, Z;
  GNSSSatBasis(X, Y, Z, xyzt(26560e3L, 0, 0, 1e-5L), xyz(26560e3L, 1.5e11L, 0));
  EXPECT_EQ(Z, xyz(-1, 0, 0));
  EXPECT_EQ(Y, xyz(0, 0, -1));
  EXPECT_EQ(X, xyz(0, 1, 0));
  EXPECT_EQ(CrossP(X, Y), Z);

  GNSSSatBasis(X, Y, Z, xyzt(1.3e7L, -2.1e7L, 1.1e7L, 0), xyz(1.1e11L, 9e10L, -2e10L));
  EXPECT_NEAR(static_cast<double>(X * Y), 0.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Y * Z), 0.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(X * Z), 0.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(X.GetLength()), 1.0, 1e-15);
  EXPECT_LT(static_cast<double>((CrossP(X, Y) - Z).GetLength()), 1e-15);
  // The Sun lies in the X-Z plane on the positive X side.
  const xyz toSun = (xyz(1.1e11L, 9e10L, -2e10L) - xyz(1.3e7L, -2.1e7L, 1.1e7L)).GetUnitVector();
  EXPECT_NEAR(static_cast<double>(toSun * Y), 0.0, 1e-15);
  EXPECT_GT(toSun * X, 0.0L);
}
