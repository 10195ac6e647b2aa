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
  long double clock0 = 1e-4L;  // [s]
  mjd t0 = ymdhms2mjd(ymdhms(2024, 3, 1, 0, 0, 0.0L));
  bool State(short sat, const mjd& t, xyz& p, long double& clk) override {
    if (sat != 5) return false;
    ++calls;
    const long double a = 1.4584e-4L * (t - t0);  // mean motion of a GPS orbit [rad/s]
    p.Set(26560000.0L * std::cos(a), 26560000.0L * std::sin(a), 0.0L);
    clk = clock0 + 1e-11L * (t - t0);
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

// Emission states from the cache have the bits of the two states asked for one after
// the other, and leave the same entries: within the reach of the entry, at its edge
// (the second state renews it), on a new epoch, with a clock beyond a second, and for
// a satellite the source does not know.
TEST(OrbitCache, EmissionStatesAreThoseOfTwoStates) {
  for (long double clock0 : {1e-4L, 0.04L, -0.06L, 1.5L}) {
    Circle src1, src2;
    src1.clock0 = src2.clock0 = clock0;
    OrbitCache fast(src1), plain(src2);
    mjd t = src1.t0;
    for (long double step : {100.0L, 0.01L, -0.03L, 0.045L, 0.02L, 30.0L, 0.0L}) {
      t += step;
      for (short sat : {5, 7}) {
        xyz p1(1, 2, 3), p2(1, 2, 3);
        long double c1 = 9.0L, c2 = 9.0L;
        const bool ok1 = fast.EmissionState(sat, t, p1, c1);
        const bool ok2 = plain.OrbitSource::EmissionState(sat, t, p2, c2);
        ASSERT_EQ(ok1, ok2);
        EXPECT_TRUE(p1.GetX() == p2.GetX() && p1.GetY() == p2.GetY() && p1.GetZ() == p2.GetZ());
        EXPECT_EQ(c1, c2);
        EXPECT_EQ(src1.calls, src2.calls);
      }
    }
  }
}
