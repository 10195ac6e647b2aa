// The step search inside one arc, on synthetic series at 1 s.
#include <gtest/gtest.h>

#include <random>

#include "sdiff/ArcStepSearch.h"

namespace {

// 20 minutes at 1 s of a low satellite: Melbourne-Wuebbena noise of 0.8 m,
// L4 noise of 1 cm on a smooth ionosphere, and a wide-lane cycle (0.86 m,
// with 2.5 cm in L4 as a (5,4) slip leaves) from value 600 on.
ArcSeries LowSatellite(unsigned seed, long double mwStep, long double l4Step) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> normal(0.0, 1.0);
  ArcSeries s;
  for (long i = 0; i < 1200; ++i) {
    const long double after = i >= 600 ? 1.0L : 0.0L;
    // drawn in a fixed order (the order of evaluating arguments is the compiler's)
    const long double mwNoise = 0.8L * normal(gen);
    const long double l4Noise = 0.01L * normal(gen);
    s.Add(i, true, 3.0L + mwNoise + after * mwStep, true,
          0.5L + 2e-5L * i + l4Noise + after * l4Step);
  }
  return s;
}

// 30 minutes of L4 at 1 s with the irregularities of real arcs: gaps of 4 s and
// 29 s, ten missing values and a single one, 3 mm of noise on a slowly bending
// ionosphere, and (1,1) slips (the whole |lambda2 - lambda1|) before the given
// values.
ArcSeries GappedL4(unsigned seed, long double dLambda, const std::vector<long>& slips) {
  std::mt19937 gen(seed);
  std::normal_distribution<double> normal(0.0, 1.0);
  ArcSeries s;
  long double t = 0.0L, jump = 0.0L;
  for (long i = 0; i < 1800; ++i) {
    t += i == 500 ? 5.0L : (i == 1000 ? 30.0L : 1.0L);
    for (long j : slips) jump += i == j ? dLambda : 0.0L;
    const long double noise = 0.003L * normal(gen);
    const bool present = !(i >= 700 && i < 710) && i != 1300;
    s.Add(t, false, 0.0L, present, 0.5L + 2e-5L * t - 3e-9L * t * t + noise + jump);
  }
  return s;
}

}  // namespace

// The L4 fits of neighbouring boundaries share their normal equations wherever
// the window's times repeat; across gaps and missing values they do not. Slips
// next to both (one right behind the 29 s gap, one behind the missing values)
// are found at their values and nothing else is, with or without slips.
TEST(ArcStepSearch, L4SlipsBesideGapsAndMissingValues) {
  const long double lWL = 0.8619184003220056L, dLambda = 0.0539165406262034L;
  const ArcStepSearch search(lWL, dLambda);
  for (unsigned seed = 1; seed <= 5; ++seed) {
    const std::vector<long> slips = {300, 710, 1000, 1500};
    const std::vector<long> found = search.StepsL4(GappedL4(seed, dLambda, slips));
    ASSERT_EQ(found.size(), slips.size()) << "seed " << seed;
    for (size_t k = 0; k < slips.size(); ++k) EXPECT_NEAR(found[k], slips[k], 1) << "seed " << seed;
    EXPECT_TRUE(search.StepsL4(GappedL4(seed, dLambda, {})).empty()) << "seed " << seed;
  }
}

// One wide-lane cycle at 1 s is found surely only by windows of minutes: in
// windows of 60 values it lies near 6 sigmas of the code noise, in those of 10
// minutes near 18; with 0.8 m of noise a value it is placed within a few values
// of the true epoch. Without a step nothing is found, not even near the ends,
// where one window holds only a few values.
TEST(ArcStepSearch, WideLaneCycleOfALowSatelliteAt1s) {
  const long double lWL = 0.8619184003220056L, dLambda = 0.0539165406262034L;
  ArcStepSearch search(lWL, dLambda);
  long found = 0, shortFound = 0;
  for (unsigned seed = 1; seed <= 10; ++seed) {
    const ArcSeries s = LowSatellite(seed, lWL, -0.025L);
    const std::vector<ArcStepSearch::Step> steps = search.Steps(s);
    ASSERT_EQ(steps.size(), 1u) << "seed " << seed;
    // in this noise the step is placed within a few values of the true one
    EXPECT_LE(steps[0].from, 605) << "seed " << seed;
    EXPECT_GE(steps[0].to, 595) << "seed " << seed;
    EXPECT_LE(steps[0].to - steps[0].from, 30);
    ++found;
    ArcStepSearch shortWindows(lWL, dLambda);
    shortWindows.mwSpan = 0;
    shortFound += shortWindows.StepsMW(s).size() == 1 ? 1 : 0;
    EXPECT_TRUE(search.Steps(LowSatellite(seed + 100, 0, 0)).empty()) << "seed " << seed;
  }
  EXPECT_EQ(found, 10);
  EXPECT_LT(shortFound, 10);
}
