#include <gtest/gtest.h>

#include <cmath>

#include "atmosphere/TropoFormulas.h"
#include "atmosphere/gMF_Chao.h"
#include "atmosphere/gMF_Davis.h"
#include "atmosphere/gMF_Marini.h"
#include "atmosphere/gMF_Niell.h"
#include "atmosphere/gMF_UNB3.h"
#include "atmosphere/gMF_VMF1.h"

namespace {
const long double kDeg = 3.141592653589793L / 180.0L;
const long double kZenith = 90.0L * kDeg;
const long kDay = 58300;  // a summer day

struct MF {
  long double dry, wet;
};

MF Niell(long double latDeg, long double h, long double elevDeg, long day = kDay) {
  gMF_Niell n;
  n.SetAtmParams(latDeg * kDeg, h);
  MF m{};
  n.GetMappFunction(day, h, elevDeg * kDeg, m.dry, m.wet);
  return m;
}
}  // namespace

TEST(gMF_Niell, BelowFifteenDegreesUsesTheFifteenDegreeRow) {
  const MF at0 = Niell(0.0L, 0.0L, 10.0L), at149 = Niell(14.9L, 0.0L, 10.0L);
  EXPECT_EQ(at0.dry, at149.dry);
  EXPECT_EQ(at0.wet, at149.wet);
  // The 15-degree row has no seasonal amplitude.
  EXPECT_EQ(Niell(5.0L, 0.0L, 10.0L, kDay + 100).dry, at0.dry);
  EXPECT_NEAR(at0.dry,
              TropMappingFraction(10.0L * kDeg, 1.2769934e-3L, 2.9153695e-3L, 62.610505e-3L),
              1e-15L);
  EXPECT_NEAR(at0.wet,
              TropMappingFraction(10.0L * kDeg, 5.8021897e-4L, 1.4275268e-3L, 4.3472961e-2L),
              1e-15L);
}

TEST(gMF_Niell, BetweenRowsTakesTheMeanOfTheTwoRows) {
  // At 40 degrees: the mean of the 30- and 45-degree rows, whatever the exact latitude.
  const MF at40 = Niell(40.0L, 0.0L, 7.0L), at32 = Niell(32.0L, 0.0L, 7.0L);
  EXPECT_EQ(at40.dry, at32.dry);
  const long double aw = (5.6794847e-4L + 5.8118019e-4L) / 2.0L;
  const long double bw = (1.5138625e-3L + 1.4572752e-3L) / 2.0L;
  const long double cw = (4.6729510e-2L + 4.3908931e-2L) / 2.0L;
  EXPECT_NEAR(at40.wet, TropMappingFraction(7.0L * kDeg, aw, bw, cw), 1e-15L);
  const long double s = std::cos(2.0L * 3.141592653589793L * (kDay - 44239 + 1 - 28) / 365.25L);
  const long double ad =
      (1.2683230e-3L + 1.2465397e-3L) / 2.0L + (1.2709626e-5L + 2.6523662e-5L) / 2.0L * s;
  const long double bd =
      (2.9152299e-3L + 2.9288445e-3L) / 2.0L + (2.1414979e-5L + 3.0160779e-5L) / 2.0L * s;
  const long double cd =
      (62.837393e-3L + 63.721774e-3L) / 2.0L + (9.0128400e-5L + 4.3497037e-5L) / 2.0L * s;
  EXPECT_NEAR(at40.dry, TropMappingFraction(7.0L * kDeg, ad, bd, cd), 1e-15L);
}

TEST(gMF_Niell, FromSeventyFiveDegreesUsesTheLastRow) {
  const MF at80 = Niell(80.0L, 0.0L, 10.0L), at75 = Niell(75.0L, 0.0L, 10.0L);
  EXPECT_EQ(at80.dry, at75.dry);
  EXPECT_EQ(at80.wet, at75.wet);
  EXPECT_NEAR(at80.wet,
              TropMappingFraction(10.0L * kDeg, 6.1641693e-4L, 1.7599082e-3L, 5.4736038e-2L),
              1e-15L);
  EXPECT_NE(Niell(74.0L, 0.0L, 10.0L).wet, at75.wet);
}

TEST(gMF_Niell, SouthernLatitudesMirrorTheNorthernOnes) {
  for (long double lat : {10.0L, 40.0L, 62.0L, 80.0L}) {
    const MF north = Niell(lat, 300.0L, 12.0L), south = Niell(-lat, 300.0L, 12.0L);
    EXPECT_EQ(north.dry, south.dry) << lat;
    EXPECT_EQ(north.wet, south.wet) << lat;
  }
}

TEST(gMF_Niell, HeightRaisesOnlyTheHydrostaticFunction) {
  const MF low = Niell(46.0L, 0.0L, 5.0L), high = Niell(46.0L, 2000.0L, 5.0L);
  EXPECT_EQ(low.wet, high.wet);
  EXPECT_NEAR(high.dry - low.dry,
              (1.0L / std::sin(5.0L * kDeg) -
               TropMappingFraction(5.0L * kDeg, 2.53e-5L, 5.49e-3L, 1.14e-3L)) *
                  2.0L,
              1e-14L);
  EXPECT_GT(low.dry, 9.5L);  // about ten at five degrees elevation
  EXPECT_LT(low.dry, 10.5L);
}

TEST(MappingFunctions, ContinuedFractionFunctionsAreOneAtZenith) {
  const MF n = Niell(46.0L, 1500.0L, 90.0L);
  EXPECT_NEAR(n.dry, 1.0L, 1e-15L);
  EXPECT_NEAR(n.wet, 1.0L, 1e-15L);

  gMF_UNB3 unb3;
  unb3.SetAtmParams(46.0L * kDeg, 1500.0L);
  MF u{};
  unb3.GetMappFunction(kZenith, u.dry, u.wet);
  EXPECT_NEAR(u.dry, 1.0L, 1e-15L);
  EXPECT_NEAR(u.wet, 1.0L, 1e-15L);

  gMF_VMF1 vmf1;
  MF v{};
  vmf1.vmf1_ht(0.00121L, 0.00055L, kDay, -33.0L * kDeg, 1500.0L, kZenith, v.dry, v.wet);
  EXPECT_NEAR(v.dry, 1.0L, 1e-15L);
  EXPECT_NEAR(v.wet, 1.0L, 1e-15L);

  gMF_Chao chao;
  MF c{};
  chao.GetMappFunction(kZenith, c.dry, c.wet);
  EXPECT_NEAR(c.dry, 1.0L, 1e-12L);
  EXPECT_NEAR(c.wet, 1.0L, 1e-12L);

  gMF_Davis davis;
  MF d{};
  davis.GetMappFunction(kZenith, d.dry, d.wet);
  EXPECT_NEAR(d.dry, 1.0L, 1e-12L);
  EXPECT_EQ(d.dry, d.wet);
}

TEST(gMF_Marini, IsSlightlyAboveOneAtZenith) {
  gMF_Marini marini;
  marini.SetAtmParams(46.0L * kDeg, 500.0L);
  MF m{};
  marini.GetMappFunction(kZenith, m.dry, m.wet);
  // Its own gravity factor has 0.0028 per km of height.
  const long double g = 1.0L - 0.0026L * std::cos(92.0L * kDeg) - 0.0028L * 0.5L;
  const long double ksi = 0.02644L * std::exp(-0.14372L * 0.5L) / g;
  EXPECT_NEAR(m.dry, (1.0L + ksi) / (1.0L + ksi / ((1.0L + ksi) * 1.015L)), 1e-15L);
  EXPECT_GT(m.dry, 1.0L);
  EXPECT_EQ(m.dry, m.wet);
}

TEST(MappingFunctions, AgreeWithEachOtherAtLowElevation) {
  // All functions describe the same atmosphere: within a few percent at 10 degrees.
  const long double E = 10.0L * kDeg;
  const MF n = Niell(46.0L, 400.0L, 10.0L);
  gMF_Chao chao;
  gMF_Davis davis;
  gMF_UNB3 unb3;
  unb3.SetAtmParams(46.0L * kDeg, 400.0L);
  MF c{}, d{}, u{};
  chao.GetMappFunction(E, c.dry, c.wet);
  davis.GetMappFunction(E, d.dry, d.wet);
  unb3.GetMappFunction(E, u.dry, u.wet);
  for (long double dry : {c.dry, d.dry, u.dry}) EXPECT_NEAR(dry / n.dry, 1.0L, 0.02L);
  for (long double wet : {c.wet, u.wet}) EXPECT_NEAR(wet / n.wet, 1.0L, 0.02L);
}

TEST(gMF_VMF1, HydrostaticCoefficientCDependsOnTheHemisphere) {
  gMF_VMF1 vmf1;
  MF north{}, south{};
  const long double E = 5.0L * kDeg;
  vmf1.vmf1_ht(0.00121L, 0.00055L, kDay, 40.0L * kDeg, 0.0L, E, north.dry, north.wet);
  vmf1.vmf1_ht(0.00121L, 0.00055L, kDay, -40.0L * kDeg, 0.0L, E, south.dry, south.wet);
  EXPECT_NE(north.dry, south.dry);
  EXPECT_EQ(north.wet, south.wet);
  const long double d = kDay - 44239 + 1 - 28;
  const long double ch =
      0.062L +
      ((std::cos(2.0L * 3.141592653589793L * d / 365.25L) + 1.0L) * 0.005L / 2.0L + 0.001L) *
          (1.0L - std::cos(40.0L * kDeg));
  EXPECT_NEAR(north.dry, TropMappingFraction(E, 0.00121L, 0.0029L, ch), 1e-14L);
  EXPECT_NEAR(north.wet, TropMappingFraction(E, 0.00055L, 0.00146L, 0.04391L), 1e-15L);
}

TEST(gMF_Niell, LatitudeThatIsNotANumberStaysInsideTheTables) {
  gMF_Niell n;
  n.SetAtmParams(std::nanl(""), 0.0L);
  EXPECT_EQ(n.GetRow(), 0);
}
