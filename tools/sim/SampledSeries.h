// A quantity sampled at a fixed step from a start time and linear between the
// samples; before the first and after the last interval the end intervals go on.
#ifndef TERVAN_SIM_SAMPLEDSERIES_H
#define TERVAN_SIM_SAMPLEDSERIES_H

#include <vector>

namespace sim {

class SampledSeries {
 public:
  SampledSeries() = default;
  // Samples at start, start + step, ... (GPS seconds); at least two.
  SampledSeries(long double start, long double step, std::vector<long double> samples);

  long double Value(long double t) const;  // at GPS seconds t
  long double Slope(long double t) const;  // per second

 private:
  long Interval(long double t) const;  // index of the sample that opens t's interval

  long double start_ = 0, step_ = 1;
  std::vector<long double> samples_;
};

}  // namespace sim

#endif
