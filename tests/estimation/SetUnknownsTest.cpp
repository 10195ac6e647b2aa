#include <gtest/gtest.h>

#include "estimation/StaticProblem.h"
#include "estimation/Tervan_SetUnknowns.h"
#include "gnss/TimeConverse.h"

namespace {

mjd At(int h, int m, int s) {
  mjd t;
  ymdhms2mjd(ymdhms(2020, 6, 25, h, m, s), t);
  return t;
}

std::string LayOut(StaticProblem& p) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  SetUnknowns(p.tc);
  std::string out = testing::internal::GetCapturedStdout();
  return out + testing::internal::GetCapturedStderr();
}

TEST(SetTropoIntervals, GridStartsAtOrBeforeAndEndsStrictlyAfterTheData) {
  mjd s = At(0, 10, 0), e = At(2, 0, 0);
  matrix<mjd> grid;
  long n = 0;
  SetTropoIntervals(s, e, 3600.0L, 0.0L, grid, n);
  ASSERT_EQ(n, 4);
  EXPECT_EQ(grid(0), At(0, 0, 0));
  EXPECT_EQ(grid(3), At(3, 0, 0));
  e = At(1, 59, 30);
  SetTropoIntervals(s, e, 3600.0L, 0.0L, grid, n);
  ASSERT_EQ(n, 3);
  EXPECT_EQ(grid(2), At(2, 0, 0));
}

TEST(SetUnknowns, SystemOffsetsOnlyForTheSystemsAfterTheFirst) {
  ProblemOptions o;
  StaticProblem p(o);
  LayOut(p);
  EXPECT_EQ(p.tc.nDTsys, 0);
  for (long ix : p.tc.ixDTsys) EXPECT_EQ(ix, -1);
  p.tc.isGPS = false;
  p.tc.isGLN = p.tc.isGAL = true;
  LayOut(p);
  EXPECT_EQ(p.tc.ixDTsys[1], -1);
  EXPECT_EQ(p.tc.ixDTsys[2], 3);
  p.tc.isGPS = true;
  LayOut(p);
  EXPECT_EQ(p.tc.ixDTsys[1], 3);
  EXPECT_EQ(p.tc.ixDTsys[2], 4);
  EXPECT_EQ(p.tc.NUnk, 5 + p.tc.nAmbL1);
}

// A code bias needs three usable observations of its satellite.
TEST(SetUnknowns, CodeBiasNeedsThreeObservations) {
  ProblemOptions o;
  o.dcb = true;
  StaticProblem p(o);
  const short sat = p.tc.sdd.GetSat(0);
  // Keeps the first `keep` C1 values of the satellite well above the cut-off.
  auto keepOnly = [&](int keep) {
    for (long i = 0; i < p.tc.sdd.GetNObs(); ++i)
      if (p.tc.sdd.GetRecSat(i) == sat) {
        const bool use = p.tc.ELV(i, 0) > 0.3L && keep-- > 0;
        if (!use) p.tc.sdd.C1(i) = 0.0L;
      }
  };
  keepOnly(3);
  LayOut(p);
  EXPECT_GE(p.tc.ixdcbC1(0), 0);
  keepOnly(2);
  LayOut(p);
  EXPECT_EQ(p.tc.ixdcbC1(0), -1);
  EXPECT_EQ(p.tc.ndcbConstr, 1);
  EXPECT_EQ(p.tc.NFin(p.tc.NUnk, p.tc.ixdcbC1(1)), 1.0L);
}

TEST(SetUnknowns, RawAndCombinedCodesSwitchTheBiasesOff) {
  ProblemOptions o;
  o.dcb = true;
  StaticProblem p(o);
  p.tc.ifPc3 = true;
  p.tc.sdh.SetType(sdobs::P2, true);
  const std::string out = LayOut(p);
  EXPECT_NE(out.find("DCB VALUES UNKONWNS UNSET!"), std::string::npos);
  EXPECT_EQ(p.tc.NUnkDCB, 0);
  // the same measurements twice
  EXPECT_NE(out.find("Pc3+C1"), std::string::npos);
  EXPECT_NE(out.find("TOO OPTIMISTIC"), std::string::npos);
}

TEST(SetUnknowns, BothZenithDelaysFreeOnAShortBaselineWarn) {
  ProblemOptions o;
  o.tropoB = o.tropoR = true;
  StaticProblem p(o);
  EXPECT_NE(LayOut(p).find("-ts"), std::string::npos);
  p.tc.ifTropoSigma = true;
  EXPECT_EQ(LayOut(p).find("-ts"), std::string::npos);
}

TEST(SetUnknownsDeathTest, TroposphereGridBoundsEndTheRun) {
  ProblemOptions o;
  o.tropoR = true;
  StaticProblem p(o);
  p.tc.TropoInterval = 0.001L;
  EXPECT_EXIT(SetUnknowns(p.tc), testing::ExitedWithCode(1), "\\[ -ti \\]");
  p.tc.TropoInterval = 1800.0L;
  p.tc.ifEstTropoGrad = p.tc.ifEstTropoGradR = true;
  p.tc.nTropoGradInt = 99999999;
  EXPECT_EXIT(SetUnknowns(p.tc), testing::ExitedWithCode(1), "\\[ -tgi \\]");
  p.tc.nTropoGradInt = 1;
  p.tc.ifTropoSigma = true;
  p.tc.TropoSigma = 0.0L;
  EXPECT_EXIT(SetUnknowns(p.tc), testing::ExitedWithCode(1), "\\[ -ts \\]");
}

}  // namespace
