#include "sdiff/OrbitSource.h"

#include <cmath>

bool OrbitSource::EmissionState(short sat, const mjd& te, xyz& position, long double& clock) {
  long double offset;
  if (!State(sat, te, position, offset) || !(std::fabs(offset) < 1.0L)) return false;
  mjd t = te;
  t += -offset;
  return State(sat, t, position, clock);
}
