#include "sdiff/OrbitCache.h"

#include <cmath>

namespace {
// Time step of the rates [s].
constexpr long double kStep = 0.01L;
}  // namespace

bool OrbitCache::State(short sat, const mjd& t, xyz& position, long double& clock) {
  if (sat <= 0 || sat >= static_cast<short>(entries_.size()))
    return source_.State(sat, t, position, clock);
  Entry& e = entries_[sat];
  long double dt = e.valid ? t - e.t : 0.0L;
  if (!e.valid || std::fabs(dt) > kReach) {
    mjd t2 = t;
    t2 += kStep;
    xyz p2;
    long double c2;
    e.valid = source_.State(sat, t, e.pos, e.clk) && source_.State(sat, t2, p2, c2);
    if (!e.valid) return false;
    e.t = t;
    e.vel = (p2 - e.pos) * (1.0L / kStep);
    e.rate = (c2 - e.clk) / kStep;
    dt = 0.0L;  // t - e.t
  }
  position.Set(e.pos.GetX() + e.vel.GetX() * dt, e.pos.GetY() + e.vel.GetY() * dt,
               e.pos.GetZ() + e.vel.GetZ() * dt);
  clock = e.clk + e.rate * dt;
  return true;
}
