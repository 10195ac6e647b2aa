#include "sim/SampledSeries.h"

#include <cmath>
#include <utility>

namespace sim {

SampledSeries::SampledSeries(long double start, long double step, std::vector<long double> samples)
    : start_(start), step_(step), samples_(std::move(samples)) {}

long SampledSeries::Interval(long double t) const {
  const long last = static_cast<long>(samples_.size()) - 2;
  long i = static_cast<long>(std::floor((t - start_) / step_));
  if (i < 0) i = 0;
  if (i > last) i = last;
  return i;
}

long double SampledSeries::Value(long double t) const {
  const long i = Interval(t);
  const long double s = (t - start_ - i * step_) / step_;
  return samples_[i] + s * (samples_[i + 1] - samples_[i]);
}

long double SampledSeries::Slope(long double t) const {
  const long i = Interval(t);
  return (samples_[i + 1] - samples_[i]) / step_;
}

}  // namespace sim
