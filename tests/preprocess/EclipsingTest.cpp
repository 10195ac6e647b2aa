// Removal of the phases of eclipsing satellites.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "PrepContext.h"
#include "preprocess/Tervan_Eclipsing.h"
#include "sdiff/PhsDiffHeader.h"

using preptest::PrepContext;

namespace {

constexpr long double kPi = 3.141592653589793L;

// Every satellite at the same place, seen under the Sun-Earth angle beta [deg].
std::unique_ptr<PrepContext> Eclipsing(const std::vector<short>& sats, long double betaDeg) {
  auto ctx = std::make_unique<PrepContext>(
      sats, 3, 30.0L,
      std::initializer_list<int>{sdobs::C1, sdobs::L1, sdobs::L2, sdobs::P2, sdobs::L7});
  PrepContext& pc = *ctx;
  const long double b = betaDeg * kPi / 180.0L;
  const xyz p(-26600000.0L * std::cos(b), -26600000.0L * std::sin(b), 0.0L);
  pc.SetGeometry([p](short, long) { return p; }, p + xyz(1.5e11L, 0.0L, 0.0L));
  pc.tc.ifL3 = pc.tc.isEcclipsing = true;
  return ctx;
}

std::string RunEclipsing(TervanC& tc) {
  testing::internal::CaptureStdout();
  GetEclipsing(tc);
  return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(GetEclipsing, AngleJustBelowTheThresholdRemovesThePhases) {
  auto ctx = Eclipsing({5, 211}, 13.9L);
  PrepContext& pc = *ctx;
  const std::string out = RunEclipsing(pc.tc);
  EXPECT_NEAR(SunEarthAngle(pc.tc.SAT_POS(0, 0).GetXYZ(), pc.tc.posSunUnit(0) * pc.tc.SunMag(0)),
              13.9L * kPi / 180.0L, 1e-12);
  for (long r = 0; r < pc.tc.sdd.nobs; ++r) {
    EXPECT_TRUE(pc.tc.sdd.L1(r).IsNull());
    EXPECT_FALSE(pc.tc.sdd.C1(r).IsNull());
  }
  EXPECT_TRUE(pc.tc.sdd.L2(pc.Record(5, 0)).IsNull());
  EXPECT_TRUE(pc.tc.sdd.L7(pc.Record(211, 0)).IsNull());
  EXPECT_FALSE(pc.tc.sdd.L2(pc.Record(211, 0)).IsNull());
  EXPECT_EQ(pc.tc.NEclipsSat, 2);
  EXPECT_EQ(pc.tc.EclipsSat(1), 211);
  EXPECT_EQ(pc.tc.EclipsNObs(1), 3);
  EXPECT_NE(out.find("  Minimum Sun-Earth angle at satellite:   14.0\n"), std::string::npos);
  EXPECT_NE(out.find("       2   E11     61206 28800.0     61206 28860.0               3\n"),
            std::string::npos)
      << out;
}

TEST(GetEclipsing, AngleAtTheThresholdKeepsThePhases) {
  auto ctx = Eclipsing({5}, 14.0L + 1e-9L);
  PrepContext& pc = *ctx;
  const std::string out = RunEclipsing(pc.tc);
  EXPECT_FALSE(pc.tc.sdd.L1(0).IsNull());
  EXPECT_EQ(pc.tc.NEclipsSat, 0);
  EXPECT_EQ(out.find("#ECLIPSING OBS"), std::string::npos);
}

// More eclipsing satellites than the default list of 100 holds.
TEST(GetEclipsing, ListsGrowWithTheEclipsingSatellites) {
  std::vector<short> sats;
  for (short s = 1; s <= 99; ++s) sats.push_back(s);
  for (short s = 101; s <= 130; ++s) sats.push_back(s);
  auto ctx = Eclipsing(sats, 5.0L);
  PrepContext& pc = *ctx;
  RunEclipsing(pc.tc);
  ASSERT_EQ(pc.tc.NEclipsSat, 129);
  EXPECT_EQ(pc.tc.EclipsSat(128), 130);
  EXPECT_EQ(pc.tc.EclipsNObs(128), 3);
}
