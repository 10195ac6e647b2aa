// Satellite state at the emission epoch of the last light-time solution of one
// observation record and station: a later solution of the same record and station
// that evaluates the orbit at the very same epoch takes it instead of
// interpolating again. A state belongs to the orbits it was computed from.
#ifndef TERVAN_ORBITS_EMISSIONSTATE_H
#define TERVAN_ORBITS_EMISSIONSTATE_H

#include <cmath>
#include <cstdint>

#include "gnss/mjd.h"
#include "gnss/xyzt.h"

// Plain values, so that a table of millions of states costs nothing to create
// beyond the flag of each.
struct EmissionState {
  long double second;          // emission epoch: seconds of day (GPS time)
  long double x, y, z, clock;  // position (ECEF, m) and interpolated clock (s, no relativity term)
  long double vx, vy, vz;      // velocity (ECEF, m/s)
  std::uint32_t day;           // emission epoch: Modified Julian Day number
  bool held = false;           // a state is kept
  bool clockOK;                // the clock nodes were usable

  // The kept state was evaluated at te to the last bit (mjd's == allows 1e-13 s).
  bool Holds(const mjd& te) const {
    return held && day == te.GetMJDay() && second == te.GetSecond() &&
           std::signbit(second) == std::signbit(te.GetSecond());
  }
  void Keep(const mjd& te, const xyzt& pos, const xyzt& vel, bool clockUsable) {
    second = te.GetSecond();
    day = static_cast<std::uint32_t>(te.GetMJDay());
    x = pos.GetX(), y = pos.GetY(), z = pos.GetZ(), clock = pos.GetT();
    vx = vel.GetX(), vy = vel.GetY(), vz = vel.GetZ();
    held = true;
    clockOK = clockUsable;
  }
  xyzt Position() const { return xyzt(x, y, z, clock); }
  xyzt Velocity() const { return xyzt(vx, vy, vz, 0.0L); }
};

#endif
