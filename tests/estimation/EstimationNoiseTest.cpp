// Statistics of the static solution on simulated noise whose variance follows the
// program's elevation weighting (sigma/sin e at each station, so a single difference
// has 2 sigma^2 / WGHT): the a-posteriori sigmas and the formal precisions agree with
// the noise that went in.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/SimulatedRun.h"

namespace {

const std::vector<std::string> kNoise = {"--noise-model", "sin", "--no-ionosphere",
                                         "--no-troposphere"};

// Each type's a-posteriori sigma is that of a single difference at the zenith of both
// stations: sqrt(2) times the simulated sigma (0.3 m code, 2 mm phase).
TEST(EstimationNoise, TypeSigmasAreSqrtTwoTimesTheSimulatedNoise) {
  testsupport::SimulatedRun r;
  std::vector<std::string> sim = kNoise;
  sim.insert(sim.end(), {"--duration", "1h", "--seed", "3"});
  if (!r.Run(sim, {}, {"-lC1,P2,L1,L2"})) GTEST_SKIP() << r.why;
  const long double code = std::sqrt(2.0L) * 0.3L, phase = std::sqrt(2.0L) * 0.002L;
  EXPECT_NEAR(std::sqrt(r.tc.s0apost_C1), code, 0.1L * code) << r.report;
  EXPECT_NEAR(std::sqrt(r.tc.s0apost_P2), code, 0.1L * code);
  EXPECT_NEAR(std::sqrt(r.tc.s0apost_L1), phase, 0.1L * phase);
  EXPECT_NEAR(std::sqrt(r.tc.s0apost_L2), phase, 0.1L * phase);
}

// Over 20 seeds of 20 minutes the coordinate errors agree with the formal sigmas: at
// most one of the 60 components beyond 3 sigma, and the errors over the sigmas scatter
// by about one (0.76 with these seeds; sigmas too small or too large both fail).
TEST(EstimationNoise, CoordinateErrorsAgreeWithTheFormalSigmasOverTwentySeeds) {
  int outside = 0;
  long double sum2 = 0;
  for (int seed = 1; seed <= 20; ++seed) {
    testsupport::SimulatedRun r;
    std::vector<std::string> sim = kNoise;
    sim.insert(sim.end(), {"--duration", "20m", "--seed", std::to_string(seed)});
    if (!r.Run(sim, {}, {"-lC1,L1,L2"})) GTEST_SKIP() << r.why;
    const xyz d = r.RoverError();
    const long double err[3] = {d.GetX(), d.GetY(), d.GetZ()};
    for (int k = 0; k < 3; ++k) {
      const long double t = err[k] / r.CoordinateSigma(k);
      sum2 += t * t;
      outside += std::fabs(t) > 3.0L;
    }
  }
  EXPECT_LE(outside, 1);
  EXPECT_GT(std::sqrt(sum2 / 60), 0.6L);
  EXPECT_LT(std::sqrt(sum2 / 60), 1.4L);
}

}  // namespace
