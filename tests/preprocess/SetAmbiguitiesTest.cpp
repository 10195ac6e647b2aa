// Ambiguity setup: arc limits, sampling interval, a-priori values, removal of
// phases outside arcs, and the ambiguity search.
#include <gtest/gtest.h>

#include <random>

#include "preprocess/ArcTestData.h"
#include "preprocess/Tervan_SetAmbiguities.h"
#include "sdiff/AmbLookup.h"

using namespace sdobs;

namespace {

// Interval rows: every bound is a strict less-than.
TEST(SetAmbiguities, ArcLimitsTakeTheNextRowAtEachBound) {
  struct Row {
    long double dt, gap;
    long minObs;
  } rows[] = {{1, 15.5L, 120}, {1.999L, 15 * 1.999L + 0.5L, 120},
              {2, 20.5L, 60},  {3, 24.5L, 40},
              {4, 20.5L, 30},  {10, 30.5L, 25},
              {20, 40.5L, 15}, {30, 60.5L, 15}};
  for (const Row& r : rows) {
    long double gap = 0;
    long minObs = 0;
    ArcLimits(r.dt, gap, minObs);
    EXPECT_NEAR(static_cast<double>(gap), static_cast<double>(r.gap), 1e-12) << r.dt;
    EXPECT_EQ(minObs, r.minObs) << r.dt;
  }
}

// Two equal epochs give a header interval of 0: the arcs use the most frequent
// spacing, with a warning, instead of a gap limit of 0.5 s that cuts every arc.
TEST(SetAmbiguities, ZeroIntervalTakesTheMostFrequentSpacing) {
  arctest::ArcData a({C1, L1, L2, P2}, {5}, 30, 3600);
  a.tc.sdd.epoch(1) = a.tc.sdd.epoch(0);
  a.tc.sdh.SetInterval(0);
  bool changed = false;
  EXPECT_EQ(ArcInterval(a.tc.sdd, changed), 30.0L);
  EXPECT_TRUE(changed);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  SetAmbiguities(a.tc);
  testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("ARCS USE THE MOST FREQUENT SPACING OF EPOCHS: 30.000 s"), std::string::npos);
  EXPECT_EQ(a.tc.MaxAmbTimeGap, 60.5L);
  ASSERT_EQ(a.tc.AmbSat.Length(), 1);
  // A header interval of 15 s in 30 s data (spacings 30, 30, 15, 30) stays.
  a.tc.sdh.SetInterval(15);
  EXPECT_EQ(ArcInterval(a.tc.sdd, changed), 15.0L);
  EXPECT_FALSE(changed);
}

// A file without C1 forms the a-priori values (and MW) from P1 and says so.
TEST(SetAmbiguities, P1TakesThePlaceOfMissingC1) {
  arctest::ArcData a({P1, L1, L2, P2}, {5, 7}, 30, 3600);
  testing::internal::CaptureStdout();
  SetAmbiguities(a.tc);
  const std::string out = testing::internal::GetCapturedStdout();
  ASSERT_EQ(a.tc.AmbSat.Length(), 2);
  EXPECT_NE(out.find("  Observations with P1 in place of C1 :    242"), std::string::npos) << out;
  EXPECT_NE(out.find("  Removing unusable phase observations:      0"), std::string::npos);
  // The mean of L3 - P1: the L3 ambiguity less the mean ionosphere of the code.
  const long double n1 = 1005, n2 = 1995, ion = 0.3L + 2e-5L * 1800;
  EXPECT_NEAR(
      static_cast<double>(a.tc.xAmbL3(0)),
      static_cast<double>(GPSc::LCion1 * GPSc::lamb1 * n1 - GPSc::LCion2 * GPSc::lamb2 * n2 - ion),
      0.02);
}

// Phases outside every arc are removed, of the systems in use only.
TEST(SetAmbiguities, PhasesOutsideArcsAreRemoved) {
  arctest::ArcData a({C1, L1, L2, P2}, {5, 7}, 30, 3600);
  a.tc.ELV(0, 0) = 0.01L;  // first epoch of satellite 5 below the mask
  a.tc.isGLN = false;
  testing::internal::CaptureStdout();
  SetAmbiguities(a.tc);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("  Removing unusable phase observations:      1"), std::string::npos) << out;
  EXPECT_TRUE(a.tc.sdd.L1(0).IsNull());
  EXPECT_TRUE(a.tc.sdd.L2(0).IsNull());
  EXPECT_TRUE(a.tc.sdd.L3(0).IsNull());
  EXPECT_FALSE(a.tc.sdd.L1(1).IsNull());
  EXPECT_EQ(a.tc.AmbIndex(0, 0), 1);
}

// The lookup answers as the linear search: arc ends, gaps, unknown satellites,
// and the first of overlapping arcs.
TEST(GetAmbIndex, LookupAgreesWithTheLinearSearch) {
  matrix<long> AI(5, 4, 0L);
  matrix<short> AP(5, 1);
  const long arcs[5][3] = {{5, 10, 20}, {5, 30, 40}, {105, 0, 100}, {5, 35, 50}, {699, 0, 0}};
  for (long k = 0; k < 5; ++k) {
    AP(k) = static_cast<short>(arcs[k][0]);
    AI(k, 0) = arcs[k][1];
    AI(k, 2) = arcs[k][2];
  }
  long n = 5;
  AmbLookup look(AI, AP, n);
  EXPECT_EQ(look.Find(5, 10), 0);
  EXPECT_EQ(look.Find(5, 20), 0);
  EXPECT_EQ(look.Find(5, 21), -1);  // gap between arcs
  EXPECT_EQ(look.Find(5, 29), -1);
  EXPECT_EQ(look.Find(5, 30), 1);
  EXPECT_EQ(look.Find(5, 37), 1);  // first match wins
  EXPECT_EQ(look.Find(5, 45), 3);
  EXPECT_EQ(look.Find(699, 0), 4);
  EXPECT_EQ(look.Find(6, 15), -1);
  EXPECT_EQ(look.Find(-3, 15), -1);
  for (short s : {5, 6, 105, 699})
    for (long e = -2; e < 110; ++e) {
      long iamb = 0;
      GetAmbIndex(s, e, AI, AP, n, iamb);
      ASSERT_EQ(look.Find(s, e), iamb) << s << " " << e;
    }
}

TEST(GetAmbIndex, LookupAgreesOnRandomLists) {
  std::mt19937 gen(3);
  for (int trial = 0; trial < 20; ++trial) {
    long n = 1 + static_cast<long>(gen() % 60);
    matrix<long> AI(n, 4, 0L);
    matrix<short> AP(n, 1);
    for (long k = 0; k < n; ++k) {
      AP(k) = static_cast<short>(1 + gen() % 4);
      AI(k, 0) = static_cast<long>(gen() % 200);
      AI(k, 2) = AI(k, 0) + static_cast<long>(gen() % 40);
    }
    AmbLookup look(AI, AP, n);
    for (short s = 0; s < 6; ++s)
      for (long e = 0; e < 250; ++e) {
        long iamb = 0;
        GetAmbIndex(s, e, AI, AP, n, iamb);
        ASSERT_EQ(look.Find(s, e), iamb);
      }
  }
}

}  // namespace
