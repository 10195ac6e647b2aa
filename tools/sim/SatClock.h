// A satellite clock as the precise products give it (without the periodic
// relativistic term): an offset and a drift plus a slow random walk, sampled every
// `step` seconds and linear between the samples.
#ifndef TERVAN_SIM_SATCLOCK_H
#define TERVAN_SIM_SATCLOCK_H

#include "sim/SampledSeries.h"

namespace sim {

class Random;

class SatClock {
 public:
  SatClock() = default;
  // offset (s) at `start`, drift (s/s), random-walk deviation per sample step (s).
  SatClock(long double start, long double end, long double step, long double offset,
           long double drift, long double walkSigma, Random& rnd);

  long double Value(long double t) const;  // s, at GPS seconds t
  long double Drift(long double t) const;  // s/s

 private:
  SampledSeries samples_;
};

}  // namespace sim

#endif
