#include "sim/SatClock.h"

#include <cmath>

#include "sim/Random.h"

namespace sim {

SatClock::SatClock(long double start, long double end, long double step, long double offset,
                   long double drift, long double walkSigma, Random& rnd)
    : start_(start), step_(step) {
  const long n = static_cast<long>(std::ceil((end - start) / step)) + 2;
  samples_.reserve(n);
  long double walk = 0;
  for (long i = 0; i < n; ++i) {
    samples_.push_back(offset + drift * i * step + walk);
    walk += rnd.Normal(walkSigma);
  }
}

long double SatClock::Value(long double t) const {
  const long last = static_cast<long>(samples_.size()) - 2;
  long i = static_cast<long>(std::floor((t - start_) / step_));
  if (i < 0) i = 0;
  if (i > last) i = last;
  const long double s = (t - start_ - i * step_) / step_;
  return samples_[i] + s * (samples_[i + 1] - samples_[i]);
}

long double SatClock::Drift(long double t) const {
  const long last = static_cast<long>(samples_.size()) - 2;
  long i = static_cast<long>(std::floor((t - start_) / step_));
  if (i < 0) i = 0;
  if (i > last) i = last;
  return (samples_[i + 1] - samples_[i]) / step_;
}

}  // namespace sim
