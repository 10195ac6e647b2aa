#include "sim/SatClock.h"

#include <cmath>
#include <utility>

#include "sim/Random.h"

namespace sim {

SatClock::SatClock(long double start, long double end, long double step, long double offset,
                   long double drift, long double walkSigma, Random& rnd) {
  const long n = static_cast<long>(std::ceil((end - start) / step)) + 2;
  std::vector<long double> samples;
  samples.reserve(n);
  long double walk = 0;
  for (long i = 0; i < n; ++i) {
    samples.push_back(offset + drift * i * step + walk);
    walk += rnd.Normal(walkSigma);
  }
  samples_ = SampledSeries(start, step, std::move(samples));
}

long double SatClock::Value(long double t) const {
  return samples_.Value(t);
}

long double SatClock::Drift(long double t) const {
  return samples_.Slope(t);
}

}  // namespace sim
