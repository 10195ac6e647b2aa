#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

#include "core/KotnePretvorbe.h"
#include "estimation/StaticObservations.h"
#include "estimation/StaticProblem.h"
#include "estimation/Tervan_ProcStatic.h"

namespace {

long double Dist(const xyz& a, const xyz& b) {
  const xyz d = a - b;
  return std::sqrt(d * d);
}

// Mean of the estimated and of the true C1 biases (the zero-sum datum).
long double MeanBias(const StaticProblem& p) {
  long double mean = 0.0L;
  const long n = p.tc.sdd.GetNSat();
  for (long s = 0; s < n; ++s) mean += p.dcbTrue.at(p.tc.sdd.GetSat(s));
  return mean / n;
}

void ExpectBiases(const StaticProblem& p, long double tol) {
  const long double meanTrue = MeanBias(p);
  const long n = p.tc.sdd.GetNSat();
  for (long s = 0; s < n; ++s)
    EXPECT_NEAR(p.tc.dcbC1(s), p.dcbTrue.at(p.tc.sdd.GetSat(s)) - meanTrue, tol) << s;
}

// With code biases the clocks take their mean (the datum of the biases).
void ExpectClocks(const StaticProblem& p, long double tol, long double datum = 0.0L) {
  for (long e = 0; e < p.tc.sdd.GetNEpoch(); ++e)
    EXPECT_NEAR(p.tc.dtAll(e), p.clockTrue[e] + datum, tol) << e;
}

TEST(ProcStaticTruth, NoiseFreeCodePhaseBiasesWithinThreeIterations) {
  ProblemOptions o;
  o.dcb = true;
  StaticProblem p(o);
  p.tc.MaxIter = 3;
  p.Solve();
  EXPECT_LE(p.tc.IterDone, 3);
  EXPECT_LT(Dist(p.tc.RecPosEst, p.roverTrue), 1e-4L);
  ExpectClocks(p, 1e-3L, MeanBias(p));
  ExpectBiases(p, 1e-3L);
  for (long k = 0; k < p.tc.nAmbL1; ++k)
    EXPECT_NEAR(p.tc.xAmbL1(k), p.ambTrue.at(p.tc.AmbSat(k)) - MeanBias(p), 1e-4L);
  // The misclosures hold the current biases: an exact fit has no residuals left.
  EXPECT_LT(std::sqrt(p.tc.s0apost), 1e-5L);
  EXPECT_LT(std::sqrt(p.tc.s0apost_C1), 1e-4L);
}

TEST(ProcStaticTruth, NoiseFreeL1L2AndL3WithRoverZenithDelay) {
  ProblemOptions o;
  o.p2 = o.l2 = true;
  o.tropoR = true;
  o.zR = 0.05L;
  StaticProblem p(o);
  p.Solve();
  EXPECT_LT(Dist(p.tc.RecPosEst, p.roverTrue), 1e-4L);
  for (long k = 0; k < p.tc.nTropoUnkR; ++k) {
    if (p.tc.IsUnkOK(p.tc.ixTropoR(k))) {
      EXPECT_NEAR(p.tc.xTropoR(k), 0.05L, 1e-4L);
    }
  }
  ExpectClocks(p, 1e-3L);

  ProblemOptions o3;
  o3.l1 = false;
  o3.l3 = true;
  StaticProblem q(o3);
  q.Solve();
  EXPECT_LT(Dist(q.tc.RecPosEst, q.roverTrue), 1e-4L);
  for (long k = 0; k < q.tc.nAmbL3; ++k)
    EXPECT_NEAR(q.tc.xAmbL3(k), -0.7L * q.ambTrue.at(q.tc.AmbSat(k)), 1e-4L);
}

// A ROVER header 30 m off: the misclosure test waits until the position is within a
// metre and then rejects nothing, so the solution is that of a correct header.
TEST(ProcStaticTruth, RoverHeaderThirtyMetresOffGivesTheSameSolution) {
  ProblemOptions good, bad;
  bad.offN = 20.0L, bad.offE = -15.0L, bad.offU = 16.0L;
  StaticProblem a(good), b(bad);
  for (StaticProblem* p : {&a, &b}) {
    p->tc.isMaxfDiff = true;
    p->tc.MaxfDiff = 20.0L;
    p->Solve();
  }
  EXPECT_LT(Dist(a.tc.RecPosEst, b.tc.RecPosEst), 1e-5L);
  EXPECT_EQ(a.tc.NObs, b.tc.NObs);
  EXPECT_EQ(b.report.find("Outlier detection:"), std::string::npos);
}

// The BASE delay constraint pulls the estimate toward its a-priori value, not each
// increment toward zero: the solution is a fixed point of the iteration.
TEST(ProcStaticTroposphere, BaseConstraintHoldsOverIterations) {
  ProblemOptions o;
  o.tropoB = o.tropoR = true;
  o.zB = 0.02L;
  o.zR = 0.03L;
  long double z[2];
  int k = 0;
  for (int iter : {4, 12}) {
    StaticProblem p(o);
    p.tc.ifTropoSigma = true;
    p.tc.TropoSigma = 0.005L;
    p.tc.MaxIter = iter;
    p.tc.IterThres = 0.0;
    p.Solve();
    z[k++] = p.tc.xTropoB(1);
    EXPECT_LT(std::fabs(p.tc.xTropoB(1)), 0.02L);  // pulled toward zero
    EXPECT_GT(p.tc.s0apost, 0.0L);                 // the pull leaves residuals
  }
  EXPECT_NEAR(z[0], z[1], 1e-6L);
}

// A troposphere node that no observation touches stays as it is and is undefined.
TEST(ProcStaticTroposphere, UntouchedNodeIsUndefined) {
  ProblemOptions o;
  o.tropoR = true;
  o.tropoInterval = 600.0L;
  StaticProblem p(o);
  long first = 0;
  for (long e = 0; e < p.tc.sdd.GetNEpoch(); ++e) {
    const long double s = p.tc.sdd.GetMJD(e).GetSecond() - 4.0L * 3600.0L;
    for (long i = first; i < first + p.tc.sdd.GetNSatEpoch(e); ++i)
      if (s > 1200.0L && s < 2400.0L) p.tc.ELV(i, 0) = 0.0L;
    first += p.tc.sdd.GetNSatEpoch(e);
  }
  p.Solve();
  EXPECT_FALSE(p.tc.IsUnkOK(p.tc.ixTropoR(3)));  // the node at 04:30
  // and the last node, after the last epoch, which only that epoch touches with weight 0
  EXPECT_FALSE(p.tc.IsUnkOK(p.tc.ixTropoR(p.tc.nTropoUnkR - 1)));
  EXPECT_EQ(p.tc.NUnkUndef, 2);
  EXPECT_EQ(p.tc.xTropoR(3), 0.0L);
  EXPECT_LT(Dist(p.tc.RecPosEst, p.roverTrue), 1e-4L);
}

// An epoch whose clock diagonal is tiny but positive is still eliminated and solved:
// its clock is refined, not erased.
TEST(ProcStaticClocks, TinyWeightEpochKeepsItsClock) {
  ProblemOptions o;
  StaticProblem p(o);
  const long e = 5;
  long start = 0;
  for (long k = 0; k < e; ++k) start += p.tc.sdd.GetNSatEpoch(k);
  for (long i = start; i < start + p.tc.sdd.GetNSatEpoch(e); ++i) p.tc.WGHT(i) = 1e-9L;
  p.Solve();
  EXPECT_NEAR(p.tc.dtAll(e), p.clockTrue[e], 1e-3L);
  EXPECT_EQ(p.tc.NClk, p.tc.sdd.GetNEpoch());
}

TEST(ProcStaticEdges, MaxIterOneRunsExactlyOneIteration) {
  ProblemOptions o;
  StaticProblem p(o);
  p.tc.MaxIter = 1;
  p.Solve();
  EXPECT_EQ(p.tc.IterDone, 1);
}

TEST(ProcStaticEdges, VerboseProgressLineEndsWithTheCorrectionNorm) {
  ProblemOptions o;
  StaticProblem p(o);
  p.tc.verbose = true;
  p.tc.MaxIter = 1;
  p.Solve();
  const std::string& err = p.report;  // report and verbose lines
  const std::regex line("   1:   Process:       [^\n]* 100 % {4}[0-9]\\.[0-9]{2}e[-+][0-9]{2}\n");
  EXPECT_TRUE(std::regex_search(err, line)) << err;
}

TEST(ProcStaticEdges, ElevationExactlyAtTheCutOffIsNotUsed) {
  ProblemOptions o;
  StaticProblem p(o);
  p.tc.MinElevation = 10.0;
  const long i = 7;
  p.tc.ELV(i, 1) = deg2rad(static_cast<long double>(p.tc.MinElevation));
  p.tc.ELV(i, 0) = 0.5L;
  p.Solve();
  EXPECT_FALSE(p.tc.ifOc1(i));
  EXPECT_FALSE(p.tc.ifOl1(i));
  p.tc.ELV(i, 1) = std::nextafter(p.tc.ELV(i, 1), 1.0L);
  ProcStatic(p.tc);
  EXPECT_TRUE(p.tc.ifOc1(i));
}

// A phase whose misclosure is exactly half the limit is rejected (a misclosure is
// accepted only below its limit); one a step above it is kept. The misclosures are
// formed twice at the same estimates, so the second pass meets the first's value.
TEST(ProcStaticEdges, PhaseMisclosureExactlyAtHalfTheLimitIsRejected) {
  ProblemOptions o;
  StaticProblem p(o);
  const long i = 7;
  p.tc.sdd.L1(i) += 0.5L;  // about 9.5 cm, far the largest misclosure of the solution
  p.Solve();
  auto pass = [&p, i](bool test) {
    p.tc.ifXl1(i) = false;
    StaticObservations obs(p.tc);
    EpochClocks clk;
    clk.Reset(p.tc.NUnk, p.tc.sdd.GetNEpoch());
    long double all = 0, type[NObsTypes] = {};
    testing::internal::CaptureStdout();
    obs.Accumulate(1, test, clk, all, type);
    testing::internal::GetCapturedStdout();
    return p.tc.ifXl1(i);
  };
  p.tc.isMaxfDiff = true;
  pass(false);
  const long double f = std::fabs(p.tc.fl1(i));
  ASSERT_GT(f, 0.05L);
  p.tc.MaxfDiff = 2.0L * f;
  EXPECT_TRUE(pass(true));
  EXPECT_EQ(f, std::fabs(p.tc.fl1(i)));
  p.tc.MaxfDiff = 2.0L * std::nextafter(f, 1.0L);
  EXPECT_FALSE(pass(true));
}

}  // namespace
