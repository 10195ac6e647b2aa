#include <gtest/gtest.h>

#include <cmath>

#include "estimation/StaticProblem.h"
#include "estimation/Tervan_ProcStatic.h"
#include "estimation/Tervan_ResCheck.h"

namespace {

std::string Check(TervanC& tc) {
  testing::internal::CaptureStdout();
  ResCheck(tc);
  return testing::internal::GetCapturedStdout();
}

long double Limit(const TervanC& tc, long j) {
  return tc.ThresBlunder * std::sqrt(tc.s0apost_C1) /
         std::sin((tc.ELV(j, 0) + tc.ELV(j, 1)) / 2.0L);
}

TEST(ResCheck, OffWithoutThresholdPrintsNothing) {
  ProblemOptions o;
  StaticProblem p(o);
  p.Solve();
  EXPECT_EQ(Check(p.tc), "");
  EXPECT_FALSE(p.tc.GetNOutl());
}

// The limit itself is kept (strictly greater is an outlier); an observation the
// misclosure test has already excluded is not counted again.
TEST(ResCheck, LimitKeptAndExcludedNotCountedTwice) {
  ProblemOptions o;
  o.sigmaC = 0.3L, o.sigmaL = 0.002L;
  StaticProblem p(o);
  p.Solve();
  TervanC& tc = p.tc;
  tc.isThresBlunder = true;
  tc.ThresBlunder = 100.0L;  // nothing of the noise itself
  const long a = 10, b = 20, c = 30;
  tc.fc1(a) = Limit(tc, a);
  tc.fc1(b) = std::nextafter(Limit(tc, b), 1e9L);
  tc.fc1(c) = 1000.0L;
  tc.ifXc1(c) = true;
  const std::string out = Check(tc);
  EXPECT_FALSE(tc.ifXc1(a));
  EXPECT_TRUE(tc.ifXc1(b));
  EXPECT_EQ(tc.NObsOutl, 1);
  EXPECT_EQ(tc.NObsOutlGCd, 1);
  EXPECT_NE(out.find("   # of Code residual outliers        :          1     G:      1"),
            std::string::npos);
}

// A code outlier of 3 m in noisy data is found by the residual check and the second
// solution leaves it out.
TEST(ResCheck, SimulatedOutlierFlaggedAndSecondSolutionRuns) {
  ProblemOptions o;
  o.sigmaC = 0.3L, o.sigmaL = 0.002L;
  StaticProblem p(o);
  const long i = 40;
  p.tc.sdd.C1(i) = p.tc.sdd.C1(i).GetObs() + 30.0L;
  p.tc.isThresBlunder = true;
  p.tc.ThresBlunder = 5.0L;
  p.Solve();
  Check(p.tc);
  EXPECT_TRUE(p.tc.ifXc1(i));
  EXPECT_LE(p.tc.NObsOutl, 3);
  const long n = p.tc.NObs;
  testing::internal::CaptureStdout();
  ProcStatic(p.tc);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(p.tc.NObs, n - p.tc.NObsOutl);
}

}  // namespace
