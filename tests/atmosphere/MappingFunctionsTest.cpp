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

// Reference values computed by hand from Niell's (1996) tables: coefficients interpolated
// linearly in latitude, p = p_avg - p_amp cos(2 pi (doy - 28) / 365.25) with the day of year
// shifted by half a year in the south, plus the height correction.
TEST(gMF_Niell, PublishedValuesNorthAndSouthInSummerAndWinter) {
  const long day177 = 59025, day10 = 58858;  // 2020-06-25 and 2020-01-10
  struct Case {
    long double lat, h, elev;
    long day;
    long double dry;
  };
  const Case cases[] = {
      {49.144L, 666.0L, 5.0L, day177, 10.129295043L},  // Wettzell, northern summer
      {49.144L, 666.0L, 10.0L, day177, 5.551757108L},
      {49.144L, 666.0L, 30.0L, day177, 1.992655217L},
      {49.144L, 666.0L, 10.0L, day10, 5.559628801L},  // northern winter
      {-33.9L, 500.0L, 10.0L, day177, 5.553130432L},  // southern winter
      {-33.9L, 500.0L, 10.0L, day10, 5.548660377L},   // southern summer
      {-33.9L, 500.0L, 5.0L, day177, 10.136057427L},
  };
  for (const Case& c : cases)
    EXPECT_NEAR(Niell(c.lat, c.h, c.elev, c.day).dry, c.dry, 2e-9L) << c.lat << " " << c.elev;
  EXPECT_NEAR(Niell(49.144L, 666.0L, 10.0L, day177).wet, 5.656392147L, 2e-9L);
  EXPECT_NEAR(Niell(-33.9L, 500.0L, 10.0L, day10).wet, 5.658880332L, 2e-9L);
}

TEST(gMF_Niell, CoefficientsFollowTheLatitudeBetweenRows) {
  // 40 degrees lies two thirds of the way from the 30- to the 45-degree row (day 100 of 2020).
  EXPECT_NEAR(Niell(40.0L, 0.0L, 7.0L, 58948).dry, 7.647222973L, 2e-9L);
  EXPECT_NEAR(Niell(40.0L, 0.0L, 7.0L).wet, 7.923378419L, 2e-9L);
  // No step where the rows change.
  for (long double row : {30.0L, 45.0L, 60.0L})
    EXPECT_NEAR(Niell(row - 1e-6L, 0.0L, 5.0L).dry, Niell(row + 1e-6L, 0.0L, 5.0L).dry, 1e-8L);
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

TEST(gMF_Niell, SouthernSeasonIsHalfAYearLater) {
  // Wet functions have no season and are the same in both hemispheres; the hydrostatic
  // function of the southern summer is that of the northern summer.
  for (long double lat : {10.0L, 40.0L, 62.0L, 80.0L}) {
    EXPECT_EQ(Niell(lat, 300.0L, 12.0L).wet, Niell(-lat, 300.0L, 12.0L).wet) << lat;
    const long double northSummer = Niell(lat, 300.0L, 12.0L, 59025).dry;   // 25 June
    const long double southSummer = Niell(-lat, 300.0L, 12.0L, 58842).dry;  // 25 December
    EXPECT_NEAR(northSummer, southSummer, 2e-5L) << lat;
    if (lat > 15.0L) {
      EXPECT_LT(northSummer, Niell(lat, 300.0L, 12.0L, 58842).dry) << lat;
    }
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

TEST(gMF_Chao, PublishedConstants) {
  // Chao (1972): 1 / (sin E + a / (tan E + b)), hydrostatic a = 0.00143, b = 0.0445,
  // wet a = 0.00035, b = 0.017; values at 5 degrees computed by hand.
  gMF_Chao chao;
  MF c{};
  chao.GetMappFunction(5.0L * kDeg, c.dry, c.wet);
  EXPECT_NEAR(c.wet, 11.049065889L, 1e-8L);  // 10.979 with b = 0.0017
  chao.GetMappFunction(10.0L * kDeg, c.dry, c.wet);
  EXPECT_NEAR(c.wet, 5.699350745L, 1e-8L);
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
