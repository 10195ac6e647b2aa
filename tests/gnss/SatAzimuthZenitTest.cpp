#include <cmath>

#include "core/KotnePretvorbe.h"
#include "gnss/SatAzimuthZenit.h"
#include "gnss/g_lg.h"
#include "gnss/xyz_flh.h"
#include "support/TestSupport.h"

namespace {

// A satellite 20000 km away from the station in the local direction (north,
// east, up) given.
xyzt SatelliteAt(const xyz& station, const neu& direction, const elipsoid& ell) {
  const xyz v = lg2g(direction * (2e7L / direction.GetLength()), station, ell);
  return xyzt(station.GetX() + v.GetX(), station.GetY() + v.GetY(), station.GetZ() + v.GetZ(),
              1e-4L);
}

}  // namespace

TEST(SatAzimuthZenit, DirectionsInTheLocalFrame) {
  const elipsoid wgs;
  const xyz station = flh2xyz(flh(deg2rad(46.04L), deg2rad(14.54L), 300.0L), wgs);
  long double E, A, Z;
  SatelliteAzimuthElevation(station, SatelliteAt(station, neu(0, 0, 1), wgs), wgs, E, A);
  EXPECT_NEAR(static_cast<double>(E), static_cast<double>(kPi / 2.0L), 1e-9);

  SatelliteAzimuthElevation(station, SatelliteAt(station, neu(1, 1, std::sqrt(2.0L)), wgs), wgs, E,
                            A);
  EXPECT_NEAR(static_cast<double>(E), static_cast<double>(kPi / 4.0L), 1e-12);
  EXPECT_NEAR(static_cast<double>(A), static_cast<double>(kPi / 4.0L), 1e-12);

  SatelliteAzimuthZenith(station, SatelliteAt(station, neu(-1, -1, std::sqrt(2.0L)), wgs), wgs, Z,
                         A);
  EXPECT_NEAR(static_cast<double>(Z), static_cast<double>(kPi / 4.0L), 1e-12);
  EXPECT_NEAR(static_cast<double>(A), static_cast<double>(5.0L * kPi / 4.0L), 1e-12);

  SatelliteAzimuthElevation(station, SatelliteAt(station, neu(1, -0.5L, -0.2L), wgs), wgs, E, A);
  EXPECT_LT(E, 0.0L);
  EXPECT_GT(A, 3.0L * kPi / 2.0L);
}

TEST(SatAzimuthZenit, CoincidentPositionsLieBelowEveryMask) {
  const elipsoid wgs;
  const xyz station(4075580.385L, 931853.986L, 4801568.233L);
  long double E = 1, A = 1, Z = 0;
  SatelliteAzimuthElevation(station, xyzt(station), wgs, E, A);
  EXPECT_EQ(E, -kPi / 2.0L);
  EXPECT_EQ(A, 0.0L);
  SatelliteAzimuthZenith(station, xyzt(station), wgs, Z, A);
  EXPECT_EQ(Z, kPi);
}
