// Noise of a series that changes slowly along it (phase and code noise grow as
// a satellite sinks): a robust sigma of the values around each one, from the
// median of their absolute values, so that a few slips or outliers inside the
// window do not raise it.
#ifndef TERVAN_SDIFF_LOCALNOISE_H
#define TERVAN_SDIFF_LOCALNOISE_H

#include <vector>

class LocalNoise {
 public:
  // half: values on each side of the window (the window keeps 2 half + 1 values
  // near the ends of the series too, when there are so many).
  explicit LocalNoise(long half = 100, long stride = 10) : half_(half), stride_(stride) {}

  // Sigma about zero of the values x (which scatter about zero: differences of
  // a smooth series) around each index, 1.4826 times the median of |x|; 0 for an
  // empty series. Computed once per stride values, from the window centred on
  // the middle of the stride.
  std::vector<long double> Sigmas(const std::vector<long double>& x) const;

 private:
  long half_, stride_;
};

#endif
