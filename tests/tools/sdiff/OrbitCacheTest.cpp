#include <gtest/gtest.h>

#include <cmath>

#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"
#include "sdiff/OrbitCache.h"

namespace {

// A satellite on a circle of 26560 km radius with a drifting clock; counts the calls.
class Circle : public OrbitSource {
 public:
  int calls = 0;
  mjd t0 = ymdhms2mjd(ymdhms(2024, 3, 1, 0, 0, 0.0L));
  bool State(short sat, const mjd& t, xyz& p, long double& clk) override {
    if (sat != 5) return false;
    ++calls;
    const long double a = 1.4584e-4L * (t - t0);  // mean motion of a GPS orbit [rad/s]
    p.Set(26560000.0L * std::cos(a), 26560000.0L * std::sin(a), 0.0L);
    clk = 1e-4L + 1e-11L * (t - t0);
    return true;
  }
};

}  // namespace

TEST(OrbitCache, NearbyEpochsReuseOneStateToTheMillimetre) {
  Circle src;
  OrbitCache cache(src);
  xyz p, exact;
  long double clk, exactClk;
  mjd t = src.t0;
  t += 100.0L;
  ASSERT_TRUE(cache.State(5, t, p, clk));
  EXPECT_EQ(src.calls, 2);  // the state and its rate
  for (long double dt : {-0.049L, -0.003L, 0.02L, 0.049L}) {
    mjd tt = t;
    tt += dt;
    ASSERT_TRUE(cache.State(5, tt, p, clk));
    src.State(5, tt, exact, exactClk);
    EXPECT_LT(static_cast<double>((p - exact).GetLength()), 0.002);
    EXPECT_NEAR(static_cast<double>(clk), static_cast<double>(exactClk), 1e-15);
  }
  EXPECT_EQ(src.calls, 6);  // the four checks above only
  mjd later = t;
  later += 30.0L;
  ASSERT_TRUE(cache.State(5, later, p, clk));
  EXPECT_EQ(src.calls, 8);  // a new epoch: computed again
  EXPECT_FALSE(cache.State(7, later, p, clk));
}
