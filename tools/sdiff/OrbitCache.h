// Satellite states shared by the epochs' point positionings: a state and its rate
// are computed once and moved linearly to nearby epochs. Both stations, the clock
// iterations and the passes of one epoch fall within a fraction of a second, where
// the linear motion is exact to a few millimetres.
#ifndef TERVAN_TOOLS_SDIFF_ORBITCACHE_H
#define TERVAN_TOOLS_SDIFF_ORBITCACHE_H

#include <vector>

#include "sdiff/OrbitSource.h"

class OrbitCache : public OrbitSource {
 public:
  // Largest distance in time of a cached state from the epoch asked for [s].
  static constexpr long double kReach = 0.05L;

  explicit OrbitCache(OrbitSource& source) : source_(source), entries_(700) {}
  bool State(short sat, const mjd& t, xyz& position, long double& clock) override;
  // The first state within reach of the cached one gives only its clock offset.
  bool EmissionState(short sat, const mjd& te, xyz& position, long double& clock) override;
  bool GlonassChannel(short sat, const mjd& t, int& channel) override {
    return source_.GlonassChannel(sat, t, channel);
  }

 private:
  struct Entry {
    bool valid = false;
    mjd t;
    xyz pos, vel;                         // [m], [m/s]
    long double clk = 0.0L, rate = 0.0L;  // [s], [s/s]
  };
  // The cached state of a satellite moved by dt [s].
  static void Move(const Entry& e, long double dt, xyz& position) {
    position.Set(e.pos.GetX() + e.vel.GetX() * dt, e.pos.GetY() + e.vel.GetY() * dt,
                 e.pos.GetZ() + e.vel.GetZ() * dt);
  }
  // The entry of sat and the time from it to t [s] when t lies within its reach.
  Entry* Near(short sat, const mjd& t, long double& dt);

  OrbitSource& source_;
  std::vector<Entry> entries_;
};

#endif
