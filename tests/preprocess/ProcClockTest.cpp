// Linear combinations and the a-priori receiver clock differences.
#include <gtest/gtest.h>

#include <string>

#include "PrepContext.h"
#include "preprocess/Tervan_ProcClock.h"
#include "preprocess/Tervan_SetLinCombinations.h"
#include "sdiff/PhsDiffHeader.h"

using preptest::PrepContext;

TEST(FindOutliers, FarValueIsFlaggedAndHardlyMovesTheMean) {
  long double f[4] = {0.0L, 0.1L, 0.2L, 700.0L};
  bool fo[4] = {true, true, true, false};
  long n = 4;
  const long double m = FindOutliers(f, fo, n, 500.0L);
  EXPECT_NEAR(m, 0.1L, 0.01L);
  EXPECT_FALSE(fo[0] || fo[1] || fo[2]);
  EXPECT_TRUE(fo[3]);
}

TEST(FindOutliers, SingleValueIsItsOwnMean) {
  long double f[1] = {1000.0L};
  bool fo[1] = {true};
  long n = 1;
  EXPECT_EQ(FindOutliers(f, fo, n, 500.0L), 1000.0L);
  EXPECT_FALSE(fo[0]);
}

namespace {

// Codes that hold the geometry plus a receiver clock difference of clk metres.
void SetCodes(PrepContext& pc, long double clk) {
  TervanC& tc = pc.tc;
  for (long r = 0; r < tc.sdd.nobs; ++r) {
    const long double rho = (tc.SAT_POS(r, 1).GetXYZ() - tc.RecPosFC_ROVER).GetLength() -
                            (tc.SAT_POS(r, 0).GetXYZ() - tc.RecPosFC_BASE).GetLength();
    for (matrix<gnssobs>* c : {&tc.sdd.C1, &tc.sdd.P1, &tc.sdd.P2, &tc.sdd.C7})
      if (c->Length() == tc.sdd.nobs) (*c)(r) = rho + clk;
  }
}

std::string RunClock(TervanC& tc) {
  testing::internal::CaptureStdout();
  ProcClock(tc);
  return testing::internal::GetCapturedStdout();
}

}  // namespace

// Forty satellites with four codes each: 160 values in one epoch, more than a
// fixed list of 100 would hold.
TEST(ProcClock, EpochWithManyCodeValuesUsesThemAll) {
  std::vector<short> sats;
  for (short s = 1; s <= 40; ++s) sats.push_back(s);
  PrepContext pc(sats, 2, 30.0L, {sdobs::C1, sdobs::P1, sdobs::P2, sdobs::C7});
  pc.SetGeometry([](short s, long i) { return PrepContext::Orbit(s, 30.0L * i); },
                 xyz(1e11L, 0, 0));
  for (long r = 0; r < pc.tc.sdd.nobs; ++r) pc.tc.ELV(r, 0) = pc.tc.ELV(r, 1) = 0.5L;
  SetCodes(pc, 12.345L);
  pc.tc.sdd.C1(pc.Record(40, 1)) = 900000.0L;  // the last value of the epoch is wild
  const std::string out = RunClock(pc.tc);
  EXPECT_NEAR(pc.tc.dtAll(0), 12.345L, 1e-6);
  EXPECT_NEAR(pc.tc.dtAll(1), 12.345L, 1e-6);
  EXPECT_NE(out.find("  # of ESTIMATED OUTLIERS:          1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("  # of EXCEEDED F VALUES :          1\n"), std::string::npos);
}

// A low satellite at one station and a system that is not processed neither
// enter the mean nor raise "NO ... OBSERVATIONS!" lines for that system.
TEST(ProcClock, LowSatellitesAndUnprocessedSystemsStayOut) {
  PrepContext pc({3, 9, 104}, 2, 30.0L, {sdobs::C1, sdobs::P2});
  pc.SetGeometry([](short s, long i) { return PrepContext::Orbit(s, 30.0L * i); },
                 xyz(1e11L, 0, 0));
  for (long r = 0; r < pc.tc.sdd.nobs; ++r) pc.tc.ELV(r, 0) = pc.tc.ELV(r, 1) = 0.5L;
  SetCodes(pc, -3.0L);
  pc.tc.isGLN = pc.tc.isGAL = false;
  pc.tc.ELV(pc.Record(9, 0), 1) = 0.1L;  // below 10 degrees at the ROVER
  pc.tc.sdd.C1(pc.Record(9, 0)) = 5000.0L;
  pc.tc.sdd.C1(pc.Record(104, 0)) = 5000.0L;
  const std::string out = RunClock(pc.tc);
  EXPECT_NEAR(pc.tc.dtAll(0), -3.0L, 1e-6);
  EXPECT_EQ(out.find("NO GLONASS"), std::string::npos);
  EXPECT_EQ(out.find("GLONASS EPOCHS"), std::string::npos);
  EXPECT_NE(out.find("    # of GPS EPOCHS            :                  2\n"), std::string::npos)
      << out;
}

// Without C1 the Melbourne-Wuebbena combination is formed from P1, so that the
// phases keep their slip screening.
TEST(SetLinearCombinations, FileWithoutC1FormsMelbourneWuebbenaFromP1) {
  PrepContext pc({3, 9}, 2, 30.0L, {sdobs::P1, sdobs::P2, sdobs::L1, sdobs::L2});
  pc.tc.ifL3 = pc.tc.ifPp3 = true;
  testing::internal::CaptureStdout();
  SetLinearCombinations(pc.tc);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(pc.tc.sdh.iMW);
  EXPECT_FALSE(pc.tc.sdd.MW(0).IsNull());
  EXPECT_NE(out.find("     Melbourne-Wuebbena[L1,L2/L7,P1,P2/C7] Linear combination!\n"),
            std::string::npos)
      << out;
}
