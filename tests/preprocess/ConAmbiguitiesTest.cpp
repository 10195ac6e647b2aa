// Connection of consecutive arcs: jumps across gaps, repair and joining.
#include <gtest/gtest.h>

#include "preprocess/ArcTestData.h"
#include "preprocess/Tervan_ConAmbiguities.h"
#include "preprocess/Tervan_SetAmbiguities.h"

using namespace sdobs;
using arctest::ArcData;
using arctest::Gap;
using arctest::Slip;

namespace {

const std::vector<short> kTypes = {C1, L1, L2, P2, C7, L7};

// Both stages on the data; returns the report of the connection stage.
std::string RunStages(ArcData& a) {
  testing::internal::CaptureStdout();
  SetAmbiguities(a.tc);
  testing::internal::GetCapturedStdout();
  testing::internal::CaptureStdout();
  ConAmbiguities(a.tc);
  return testing::internal::GetCapturedStdout();
}

long ArcsOf(const TervanC& tc, short s) {
  long n = 0;
  for (long k = 0; k < tc.AmbSat.Length(); ++k) n += tc.AmbSat(k) == s ? 1 : 0;
  return n;
}

// Phases after the stages equal those of the same data without slips.
void ExpectRepaired(const ArcData& a, const ArcData& clean) {
  ASSERT_EQ(a.tc.sdd.nobs, clean.tc.sdd.nobs);
  for (long r = 0; r < a.tc.sdd.nobs; ++r) {
    ASSERT_NEAR(static_cast<double>(a.tc.sdd.L1(r).GetObs() - clean.tc.sdd.L1(r).GetObs()), 0, 1e-6)
        << "record " << r;
    ASSERT_NEAR(static_cast<double>(a.tc.sdd.L3(r).GetObs() - clean.tc.sdd.L3(r).GetObs()), 0, 1e-6)
        << "record " << r;
  }
}

// Satellite 5 is back 300 s after its last epoch, satellite 7 after 270 s.
TEST(ConAmbiguities, GapOfExactly300sIsNotConnected) {
  ArcData a(kTypes, {5, 7}, 30, 7200, {{5, 1800, 2070}, {7, 1800, 2040}});
  const std::string out = RunStages(a);
  EXPECT_EQ(ArcsOf(a.tc, 5), 2);
  EXPECT_EQ(ArcsOf(a.tc, 7), 1);
  EXPECT_NE(out.find("  # of possible ambiguities to fix    :    1"), std::string::npos) << out;
  EXPECT_NE(out.find("  # of fixed/connected ambiguities    :    1"), std::string::npos);
  EXPECT_EQ(a.tc.nAmbL3, 3);
  EXPECT_EQ(a.tc.nAmbCorrL3, 1);
}

// No slip in the gap: joined without any change of the observations.
TEST(ConAmbiguities, ZeroJumpIsMergedWithoutRepair) {
  ArcData a(kTypes, {5, 205}, 30, 7200, {{5, 1800, 1920}, {205, 1800, 1920}});
  ArcData clean(kTypes, {5, 205}, 30, 7200, {{5, 1800, 1920}, {205, 1800, 1920}});
  const std::string out = RunStages(a);
  EXPECT_EQ(ArcsOf(a.tc, 5), 1);
  EXPECT_EQ(ArcsOf(a.tc, 205), 1);
  for (long r = 0; r < a.tc.sdd.nobs; ++r)
    ASSERT_EQ(a.tc.sdd.L1(r).GetObs(), clean.tc.sdd.L1(r).GetObs());
  EXPECT_NE(out.find("       YES        0.00               YES        0.00                "
                     "0.00   FIXED\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(a.tc.AmbIndex(0, 0), 0);
  EXPECT_EQ(a.tc.AmbIndex(0, 2), static_cast<long>(a.times.size()) - 1);
}

// Half a cycle on both frequencies: the wide lane is fixed (no change), the L2
// jump is not, and the arcs stay apart.
TEST(ConAmbiguities, FixedWideLaneWithUnfixedL2JumpStaysApart) {
  ArcData a(kTypes, {5}, 30, 7200, {{5, 1800, 1920}}, {{5, 1920, 0.5L, 0.5L}});
  const std::string out = RunStages(a);
  EXPECT_EQ(ArcsOf(a.tc, 5), 2);
  EXPECT_NE(out.find("       YES        0.00                NO        -.--                "
                     "-.--\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(out.find("FIXED\n"), std::string::npos);
}

// Two gaps with slips: the three arcs collapse into one aligned to the first.
TEST(ConAmbiguities, ChainOfThreeArcsCollapsesIntoOne) {
  std::vector<Gap> gaps = {{5, 1800, 1920}, {5, 3600, 3720}, {201, 1800, 1920}, {201, 3600, 3720}};
  ArcData a(kTypes, {5, 201}, 30, 7200, gaps,
            {{5, 1920, 3, 2}, {5, 3720, -4, -5}, {201, 1920, 9, 7}, {201, 3720, 1, 1}});
  ArcData clean(kTypes, {5, 201}, 30, 7200, gaps);
  const std::string out = RunStages(a);
  ASSERT_EQ(a.tc.AmbSat.Length(), 2) << out;
  for (long k = 0; k < 2; ++k) {
    EXPECT_EQ(a.tc.AmbIndex(k, 0), 0);
    EXPECT_EQ(a.tc.AmbIndex(k, 2), static_cast<long>(a.times.size()) - 1);
  }
  EXPECT_EQ(a.tc.nAmbCorrL3, 4);
  ExpectRepaired(a, clean);
  EXPECT_NE(out.find("YES        1.00               YES        2.00                3.00   FIXED"),
            std::string::npos)
      << out;
}

}  // namespace
