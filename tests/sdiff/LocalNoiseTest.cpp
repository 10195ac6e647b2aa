// The robust local sigma of a series whose noise changes along it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The windows are kept sorted as they move along the series: every sigma equals
// 1.4826 times the median selected afresh from the window's absolute values, with
// ties (values on a 1 mm grid), both signs, series shorter than a window, strides
// that do not divide the length, and a value that is not a number.
TEST(LocalNoise, MovingWindowsGiveTheMediansOfTheirValues) {
  std::mt19937 gen(11);
  std::uniform_int_distribution<int> grid(-40, 40);
  for (long n : {1L, 7L, 150L, 1003L}) {
    for (long half : {3L, 100L}) {
      for (long stride : {1L, 10L, 13L}) {
        std::vector<long double> x(static_cast<size_t>(n));
        for (long double& v : x) v = 0.001L * grid(gen);
        if (n == 1003 && stride == 13) x[500] = std::nanl("");
        const std::vector<long double> s = LocalNoise(half, stride).Sigmas(x);
        const long want = std::min(n, 2 * half + 1);
        for (long b = 0; b < n; b += stride) {
          const long e = std::min(n, b + stride), centre = (b + e - 1) / 2;
          const long lo = std::min(std::max(0L, centre - half), n - want);
          std::vector<long double> w;
          for (long i = lo; i < lo + want; ++i) w.push_back(std::fabs(x[i]));
          std::nth_element(w.begin(), w.begin() + w.size() / 2, w.end());
          const long double sigma = 1.4826L * w[w.size() / 2];
          for (long i = b; i < e; ++i)
            ASSERT_TRUE(s[i] == sigma || (std::isnan(s[i]) && std::isnan(sigma)))
                << n << ' ' << half << ' ' << stride << ' ' << i;
        }
      }
    }
  }
}
