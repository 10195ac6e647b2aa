// Solid earth tide against the official test cases of the IERS Conventions
// (2010) routine DEHANTTIDEINEL and its correction routines.
#include <gtest/gtest.h>

#include "gnss/mjd.h"
#include "gnss/xyz.h"
#include "station/SolidEarthTide.h"

namespace {

const xyz kStation(4075578.385L, 931852.890L, 4801570.154L);
const xyz kSun(137859926952.015L, 54228127881.4350L, 23509422341.6960L);
const xyz kMoon(-179996231.920342L, -312468450.131567L, -169288918.592160L);

// Station, Sun and Moon of the official cases.
SolidEarthTide OfficialCase() {
  SolidEarthTide t;
  t.SetSunPosition((1.0L / kSun.GetLength()) * kSun, kSun.GetLength());
  t.SetMoonPosition((1.0L / kMoon.GetLength()) * kMoon, kMoon.GetLength());
  t.SetStaPosition((1.0L / kStation.GetLength()) * kStation, kStation.GetLength());
  return t;
}

void ExpectNear(const xyz& got, long double x, long double y, long double z, long double tol) {
  EXPECT_NEAR(static_cast<double>(got.GetX()), static_cast<double>(x), static_cast<double>(tol));
  EXPECT_NEAR(static_cast<double>(got.GetY()), static_cast<double>(y), static_cast<double>(tol));
  EXPECT_NEAR(static_cast<double>(got.GetZ()), static_cast<double>(z), static_cast<double>(tol));
}

const long double kTol = 1e-5L;  // 0.01 mm
const long double kFac2Sun = 0.163271964478954L;
const long double kFac2Mon = 0.321989090026845L;

}  // namespace

TEST(SolidEarthTide, WholeDisplacementMatchesTheOfficialCase) {
  SolidEarthTide t = OfficialCase();
  xyz d;
  t.GetDisplacement(mjd(54934, 0.0L), d);  // 2009-04-13 0h
  ExpectNear(d, 0.7700420357108125891e-01L, 0.6304056321824967613e-01L, 0.5516568152597246810e-01L,
             kTol);
  ExpectNear(d, 0.7700420357108125891e-01L, 0.6304056321824967613e-01L, 0.5516568152597246810e-01L,
             1e-9L);
}

TEST(SolidEarthTide, StepOneCorrectionsMatchTheOfficialCases) {
  SolidEarthTide t = OfficialCase();
  ExpectNear(t.ST1IDIU(kFac2Sun, kFac2Mon), -0.2836337012840008001e-03L, 0.1125342324347507444e-03L,
             -0.2471186224343683169e-03L, 1e-12L);
  ExpectNear(t.ST1ISEM(kFac2Sun, kFac2Mon), -0.2801334805106874015e-03L, 0.2939522229284325029e-04L,
             -0.6051677912316721561e-04L, 1e-12L);
  ExpectNear(t.ST1L1(kFac2Sun, kFac2Mon), 0.2367189532359759044e-03L, 0.5181609907284959182e-03L,
             -0.3014881422940427977e-03L, 1e-12L);
}

TEST(SolidEarthTide, StepTwoCorrectionsMatchTheOfficialCases) {
  SolidEarthTide t = OfficialCase();
  const long double T = 0.1059411362080767L;
  ExpectNear(t.STEP2DIU(T, 0), 0.4193085327321284701e-02L, 0.1456681241014607395e-02L,
             0.5123366597450316508e-02L, 1e-12L);
  ExpectNear(t.STEP2LON(T), -0.9780962849562107762e-04L, -0.2236349699932734273e-04L,
             0.3561945821351565926e-03L, 1e-12L);
}

TEST(SolidEarthTide, CenturiesAreOnTheTerrestrialTimeScale) {
  // 2009-04-13 0h: GPS-UTC 15 s, so TT-GPS is 15 + 19 + 32.184 s.
  EXPECT_NEAR(static_cast<double>(SolidEarthTide::Centuries(mjd(54934, 0.0L))), 0.0927994734022866,
              1e-15);
}

TEST(SolidEarthTide, DisplacementStaysWithinHalfAMetre) {
  SolidEarthTide t = OfficialCase();
  for (int h = 0; h < 24; h += 3) {
    xyz d;
    t.GetDisplacement(mjd(54934, h * 3600.0L), d);
    EXPECT_LT(d.GetLength(), 0.5L);
    EXPECT_GT(d.GetLength(), 0.0L);
  }
}

TEST(SolidEarthTide, StationOnThePoleHasTheDisplacementOfItsNeighbourhood) {
  SolidEarthTide t = OfficialCase();
  xyz pole, near;
  t.SetStaPosition(xyz(0, 0, 1), 6356752.3L);
  t.GetDisplacement(mjd(54934, 0.0L), pole);
  t.SetStaPosition(xyz(1e-12L, 0, 1), 6356752.3L);
  t.GetDisplacement(mjd(54934, 0.0L), near);
  EXPECT_GT(pole.GetLength(), 0.0L);  // a number, not NaN
  ExpectNear(pole, near.GetX(), near.GetY(), near.GetZ(), 1e-9L);
}
