// Satellite state at the emission epoch of the last light-time solution of one
// observation record and station: a later solution of the same record and station
// that evaluates the orbit at the very same epoch takes it instead of
// interpolating again. A state belongs to the orbits it was computed from.
#ifndef TERVAN_ORBITS_EMISSIONSTATE_H
#define TERVAN_ORBITS_EMISSIONSTATE_H

#include <cmath>

#include "gnss/mjd.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"

struct EmissionState {
  mjd epoch;             // emission epoch (GPS time)
  xyzt pos;              // position (ECEF, m) and interpolated clock (s, no relativity term)
  xyz vel;               // velocity (ECEF, m/s)
  bool held = false;     // a state is kept
  bool clockOK = false;  // the clock nodes were usable

  // The kept state was evaluated at te to the last bit (mjd's == allows 1e-13 s).
  bool Holds(const mjd& te) const {
    return held && epoch.GetMJDay() == te.GetMJDay() && epoch.GetSecond() == te.GetSecond() &&
           std::signbit(epoch.GetSecond()) == std::signbit(te.GetSecond());
  }
};

#endif
