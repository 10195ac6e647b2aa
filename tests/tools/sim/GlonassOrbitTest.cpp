#include <gtest/gtest.h>

#include <cmath>

#include "sim/Constants.h"
#include "sim/GlonassOrbit.h"
#include "sim/Random.h"

namespace sim {
namespace {

// A near-circular orbit at GLONASS height, Earth-fixed state.
void StartState(Vec3& p, Vec3& v) {
  const long double a = 25510000.0L, inc = 64.8L * kDeg;
  const long double speed = std::sqrt(kGmGlonass / a);
  p = {a, 0, 0};
  v = {0, speed * std::cos(inc), speed * std::sin(inc)};
  v = v - Vec3{-kOmegaGlonass * p.y, kOmegaGlonass * p.x, 0};
}

// Plain integration of a record the way a navigation reader does it: 30 s
// Runge-Kutta steps with the record's constant acceleration.
Vec3 FromRecord(const GlonassRecord& r, long double t) {
  Vec3 p = r.pos, v = r.vel;
  long double now = r.tb;
  while (std::fabs(t - now) > 1e-9L) {
    long double h = t > now ? 30.0L : -30.0L;
    if (std::fabs(t - now) < 30.0L) h = t - now;
    Vec3 k1p, k1v, k2p, k2v, k3p, k3v, k4p, k4v;
    GlonassOrbit::Derivative(p, v, r.acc, k1p, k1v);
    GlonassOrbit::Derivative(p + (h / 2) * k1p, v + (h / 2) * k1v, r.acc, k2p, k2v);
    GlonassOrbit::Derivative(p + (h / 2) * k2p, v + (h / 2) * k2v, r.acc, k3p, k3v);
    GlonassOrbit::Derivative(p + h * k3p, v + h * k3v, r.acc, k4p, k4v);
    p = p + (h / 6) * (k1p + 2.0L * k2p + 2.0L * k3p + k4p);
    v = v + (h / 6) * (k1v + 2.0L * k2v + 2.0L * k3v + k4v);
    now += h;
  }
  return p;
}

TEST(GlonassOrbit, EveryRecordReproducesTheOrbitWithinItsQuarterHour) {
  Vec3 p, v;
  StartState(p, v);
  Random rnd(7);
  const GlonassOrbit orbit(p, v, 0, 6 * 3600.0L, 918, 1800, rnd);
  ASSERT_GE(orbit.Records().size(), 10u);
  long double worst = 0;
  for (const GlonassRecord& r : orbit.Records()) {
    EXPECT_LT(Norm(r.pos - orbit.Position(r.tb)), 1e-4L);
    for (long double dt = -900; dt <= 900; dt += 150) {
      if (r.tb + dt < 0 || r.tb + dt > 6 * 3600.0L) continue;
      worst = std::max(worst, Norm(FromRecord(r, r.tb + dt) - orbit.Position(r.tb + dt)));
    }
  }
  EXPECT_LT(worst, 0.1L);
}

TEST(GlonassOrbit, RecordsCarrySmallLuniSolarAccelerations) {
  Vec3 p, v;
  StartState(p, v);
  Random rnd(3);
  const GlonassOrbit orbit(p, v, 0, 7200, 918, 1800, rnd);
  for (const GlonassRecord& r : orbit.Records()) {
    EXPECT_LT(Norm(r.acc), 1e-5L);
    EXPECT_GT(Norm(r.acc), 0.0L);
  }
  // Interpolated velocity is the derivative of the interpolated position.
  const Vec3 a = orbit.Position(1000), b = orbit.Position(1001);
  EXPECT_LT(Norm((b - a) - orbit.Velocity(1000.5L)), 1e-3L);
}

}  // namespace
}  // namespace sim
