// The robust local sigma of a series whose noise changes along it.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "sdiff/LocalNoise.h"

// Noise of 1 cm, then of 3 cm, with a few large outliers in each half: each
// half gets its own sigma, the outliers do not raise it, and the windows at
// both ends keep their full length.
TEST(LocalNoise, FollowsTheNoiseAndIgnoresOutliers) {
  std::mt19937 gen(5);
  std::normal_distribution<double> normal(0.0, 1.0);
  std::vector<long double> x(2000);
  for (size_t i = 0; i < x.size(); ++i) x[i] = normal(gen) * (i < 1000 ? 0.01L : 0.03L);
  for (size_t i = 100; i < x.size(); i += 150) x[i] = 2.0L;
  const std::vector<long double> s = LocalNoise().Sigmas(x);
  ASSERT_EQ(s.size(), x.size());
  for (size_t i : {0u, 500u, 850u}) EXPECT_NEAR(s[i], 0.01L, 0.002L) << i;
  for (size_t i : {1150u, 1500u, 1999u}) EXPECT_NEAR(s[i], 0.03L, 0.006L) << i;
  EXPECT_TRUE(LocalNoise().Sigmas({}).empty());
  EXPECT_EQ(LocalNoise().Sigmas({-0.5L})[0], 1.4826L * 0.5L);
}
