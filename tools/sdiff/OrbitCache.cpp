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
  Move(e, dt, position);
  clock = e.clk + e.rate * dt;
  return true;
}

OrbitCache::Entry* OrbitCache::Near(short sat, const mjd& t, long double& dt) {
  if (sat <= 0 || sat >= static_cast<short>(entries_.size())) return nullptr;
  Entry& e = entries_[sat];
  if (!e.valid) return nullptr;
  dt = t - e.t;
  return std::fabs(dt) > kReach ? nullptr : &e;
}

bool OrbitCache::EmissionState(short sat, const mjd& te, xyz& position, long double& clock) {
  long double dt;
  const Entry* e = Near(sat, te, dt);
  if (!e) return OrbitSource::EmissionState(sat, te, position, clock);
  const long double offset = e->clk + e->rate * dt;
  if (!(std::fabs(offset) < 1.0L)) {
    Move(*e, dt, position);
    return false;
  }
  mjd t = te;
  t += -offset;
  long double dt2;
  if (Near(sat, t, dt2) != e) {
    // The second state renews the entry: the first one's position stays if that fails.
    Move(*e, dt, position);
    return State(sat, t, position, clock);
  }
  Move(*e, dt2, position);
  clock = e->clk + e->rate * dt2;
  return true;
}
