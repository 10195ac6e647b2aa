#include "sdiff/LocalNoise.h"

#include <algorithm>
#include <cmath>

std::vector<long double> LocalNoise::Sigmas(const std::vector<long double>& x) const {
  const long n = static_cast<long>(x.size());
  std::vector<long double> out(x.size(), 0.0L), w;
  const long stride = stride_ > 0 ? stride_ : 1;
  for (long b = 0; b < n; b += stride) {
    const long e = std::min(n, b + stride);
    const long centre = (b + e - 1) / 2;
    long lo = std::max(0L, centre - half_), hi = std::min(n, centre + half_ + 1);
    // Near an end the window slides inwards rather than shrinking.
    const long want = std::min(n, 2 * half_ + 1);
    if (hi - lo < want) {
      if (lo == 0)
        hi = want;
      else
        lo = n - want;
    }
    w.clear();
    for (long i = lo; i < hi; ++i) w.push_back(std::fabs(x[i]));
    const size_t mid = w.size() / 2;
    std::nth_element(w.begin(), w.begin() + mid, w.end());
    const long double sigma = 1.4826L * w[mid];
    for (long i = b; i < e; ++i) out[i] = sigma;
  }
  return out;
}
