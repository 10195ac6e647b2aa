#include "sdiff/ArcStepSearch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

std::vector<long> PresentIndices(const std::vector<bool>& has) {
  std::vector<long> p;
  for (size_t i = 0; i < has.size(); ++i)
    if (has[i]) p.push_back(static_cast<long>(i));
  return p;
}

// From a test value per boundary (0 where the limits are not passed), the
// boundary of the largest value of each run of consecutive non-zero values.
std::vector<long> RunPeaks(const std::vector<long double>& z, const std::vector<long>& index) {
  std::vector<long> out;
  size_t i = 0;
  while (i < z.size()) {
    if (z[i] <= 0) {
      ++i;
      continue;
    }
    size_t best = i;
    for (; i < z.size() && z[i] > 0; ++i)
      if (z[i] > z[best]) best = i;
    out.push_back(index[best]);
  }
  return out;
}

// Solves the symmetric 4 x 4 system N x = b by Gauss-Jordan; also returns the
// (3,3) element of the inverse. False when N is singular.
bool Solve4(long double N[4][4], long double b[4], long double x[4], long double& q33) {
  long double a[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 8; ++j) a[i][j] = j < 4 ? N[i][j] : (j - 4 == i ? 1.0L : 0.0L);
  for (int c = 0; c < 4; ++c) {
    int piv = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[piv][c])) piv = r;
    if (std::fabs(a[piv][c]) < 1e-18L) return false;
    if (piv != c)
      for (int j = 0; j < 8; ++j) std::swap(a[c][j], a[piv][j]);
    const long double d = a[c][c];
    for (int j = 0; j < 8; ++j) a[c][j] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == c || a[r][c] == 0) continue;
      const long double f = a[r][c];
      for (int j = 0; j < 8; ++j) a[r][j] -= f * a[c][j];
    }
  }
  for (int i = 0; i < 4; ++i) {
    x[i] = 0;
    for (int j = 0; j < 4; ++j) x[i] += a[i][4 + j] * b[j];
  }
  q33 = a[3][7];
  return true;
}

}  // namespace

std::vector<long> ArcStepSearch::StepsMW(const ArcSeries& s) const {
  const std::vector<long> p = PresentIndices(s.hasMW);
  const long m = static_cast<long>(p.size());
  std::vector<long double> z(p.size(), 0.0L);
  if (m < 2 * minSide) return {};
  // Prefix sums about the first value.
  std::vector<long double> s1(m + 1, 0.0L), s2(m + 1, 0.0L);
  const long double x0 = s.mw[p[0]];
  for (long i = 0; i < m; ++i) {
    const long double d = s.mw[p[i]] - x0;
    s1[i + 1] = s1[i] + d;
    s2[i + 1] = s2[i] + d * d;
  }
  auto stats = [&](long a, long b, long double& mean, long double& varMean) {
    const long n = b - a;
    mean = (s1[b] - s1[a]) / n;
    long double var = ((s2[b] - s2[a]) - n * mean * mean) / (n - 1);
    varMean = (var > 0 ? var : 0) / n;
  };
  for (long q = minSide; q <= m - minSide; ++q) {
    const long a = std::max(0L, q - mwWindow), b = std::min(m, q + mwWindow);
    long double m1, v1, m2, v2;
    stats(a, q, m1, v1);
    stats(q, b, m2, v2);
    const long double d = std::fabs(m2 - m1), sd = std::sqrt(v1 + v2);
    if (d > lWL_ / 2 && d > zMW * sd) z[q] = sd > 0 ? d / sd : d * 1e9L;
  }
  return RunPeaks(z, p);
}

std::vector<long> ArcStepSearch::StepsL4(const ArcSeries& s) const {
  const std::vector<long> p = PresentIndices(s.hasL4);
  const long m = static_cast<long>(p.size());
  std::vector<long double> z(p.size(), 0.0L);
  if (m < 2 * minSide || !(dLambda_ > 0)) return {};
  const long double limit = dLambda_ / 2;
  for (long q = minSide; q <= m - minSide; ++q) {
    const long a = std::max(0L, q - l4Window), b = std::min(m, q + l4Window);
    const long double tb = s.t[p[q]], x0 = s.l4[p[q - 1]];
    long double N[4][4] = {}, rhs[4] = {}, hh = 0;
    for (long i = a; i < b; ++i) {
      const long double t = (s.t[p[i]] - tb) / 60.0L, h = s.l4[p[i]] - x0;
      const long double row[4] = {t * t, t, 1.0L, i >= q ? 1.0L : 0.0L};
      for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) N[r][c] += row[r] * row[c];
        rhs[r] += row[r] * h;
      }
      hh += h * h;
    }
    long double x[4], q33;
    const long n = b - a;
    if (n <= 4 || !Solve4(N, rhs, x, q33)) continue;
    long double vtPv = hh;
    for (int r = 0; r < 4; ++r) vtPv -= x[r] * rhs[r];
    const long double s0sq = (vtPv > 0 ? vtPv : 0) / (n - 4);
    const long double sd = std::sqrt((q33 > 0 ? q33 : 0) * s0sq), d = std::fabs(x[3]);
    if (d > limit && d > zL4 * sd) z[q] = sd > 0 ? d / sd : d * 1e9L;
  }
  return RunPeaks(z, p);
}

std::vector<long> ArcStepSearch::Steps(const ArcSeries& s) const {
  std::vector<long> l4 = StepsL4(s), out = l4;
  // An L4 step places a slip more precisely than the means; a Melbourne-Wuebbena
  // step close to one is the same slip.
  for (long j : StepsMW(s)) {
    bool near = false;
    for (long k : l4) near = near || std::labs(k - j) <= minSide;
    if (!near) out.push_back(j);
  }
  std::sort(out.begin(), out.end());
  return out;
}
