#include "sdiff/LocalNoise.h"

#include <algorithm>
#include <cmath>

namespace {

// The window [lo, hi) of the block [b, e) of a series of n values: 2 half + 1 values
// centred on the block's middle, slid inwards near an end rather than shrunk. Along
// the series both ends only move forward.
void BlockWindow(long n, long half, long b, long e, long& lo, long& hi) {
  const long centre = (b + e - 1) / 2;
  lo = std::max(0L, centre - half);
  hi = std::min(n, centre + half + 1);
  const long want = std::min(n, 2 * half + 1);
  if (hi - lo < want) {
    if (lo == 0)
      hi = want;
    else
      lo = n - want;
  }
}

// The absolute values of a window, kept in ascending order as it moves forward: a
// block takes out the values that left it and puts in those that entered, where
// selecting the median afresh would copy and partition the whole window.
class SortedWindow {
 public:
  explicit SortedWindow(const std::vector<long double>& x) : x_(x) {}

  void MoveTo(long lo, long hi) {
    if (lo < lo_ || hi < hi_) lo_ = hi_ = lo, sorted_.clear();  // not forward: start anew
    for (long i = lo_; i < std::min(lo, hi_); ++i)
      sorted_.erase(std::lower_bound(sorted_.begin(), sorted_.end(), std::fabs(x_[i])));
    for (long i = std::max(hi_, lo); i < hi; ++i) {
      const long double v = std::fabs(x_[i]);
      sorted_.insert(std::upper_bound(sorted_.begin(), sorted_.end(), v), v);
    }
    lo_ = lo, hi_ = hi;
  }
  // The value of rank size/2 (counted from 0) of the window.
  long double Median() const { return sorted_[sorted_.size() / 2]; }

 private:
  const std::vector<long double>& x_;
  std::vector<long double> sorted_;
  long lo_ = 0, hi_ = 0;
};

// The median of the absolute values of x[lo, hi), selected afresh.
long double SelectedMedian(const std::vector<long double>& x, long lo, long hi,
                           std::vector<long double>& w) {
  w.clear();
  for (long i = lo; i < hi; ++i) w.push_back(std::fabs(x[i]));
  std::nth_element(w.begin(), w.begin() + w.size() / 2, w.end());
  return w[w.size() / 2];
}

}  // namespace

std::vector<long double> LocalNoise::Sigmas(const std::vector<long double>& x) const {
  const long n = static_cast<long>(x.size());
  std::vector<long double> out(x.size(), 0.0L), w;
  const long stride = stride_ > 0 ? stride_ : 1;
  // A value that is not a number has no place in an order: such a series selects
  // each window's median afresh.
  const bool ordered =
      std::none_of(x.begin(), x.end(), [](long double v) { return std::isnan(v); });
  SortedWindow window(x);
  for (long b = 0; b < n; b += stride) {
    const long e = std::min(n, b + stride);
    long lo, hi;
    BlockWindow(n, half_, b, e, lo, hi);
    if (ordered) window.MoveTo(lo, hi);
    const long double sigma = 1.4826L * (ordered ? window.Median() : SelectedMedian(x, lo, hi, w));
    for (long i = b; i < e; ++i) out[i] = sigma;
  }
  return out;
}
