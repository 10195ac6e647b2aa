#include "sdiff/ArcStepSearch.h"

#include <algorithm>
#include <cmath>

#include "core/SmallInverse.h"

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

// From a test value per boundary, the boundaries of the largest values such
// that no two lie within `reach` boundaries of each other: a step seen by long
// windows also lifts the test where those windows overlap it, and such a shadow
// must not count as a second step (the pieces are searched again anyway).
std::vector<long> SeparatePeaks(const std::vector<long double>& z, const std::vector<long>& index,
                                long reach) {
  std::vector<long> cand;
  for (size_t i = 0; i < z.size(); ++i)
    if (z[i] > 0) cand.push_back(static_cast<long>(i));
  std::stable_sort(cand.begin(), cand.end(), [&](long a, long b) { return z[a] > z[b]; });
  std::vector<long> taken, out;
  for (long c : cand) {
    bool near = false;
    for (long t : taken) near = near || std::labs(c - t) <= reach;
    if (!near) taken.push_back(c);
  }
  std::sort(taken.begin(), taken.end());
  for (long t : taken) out.push_back(index[t]);
  return out;
}

// x = Q b for a 4 x 4 matrix Q.
void Multiply4(const long double Q[4][4], const long double b[4], long double x[4]) {
  for (int i = 0; i < 4; ++i) {
    x[i] = 0;
    for (int j = 0; j < 4; ++j) x[i] += Q[i][j] * b[j];
  }
}

// Solves the symmetric 4 x 4 system N x = b by Gauss-Jordan; also returns the
// (3,3) element of the inverse. False when N is singular.
bool Solve4(long double N[4][4], long double b[4], long double x[4], long double& q33) {
  long double Q[4][4];
  if (!Invert4(N, Q, 1e-18L)) return false;
  Multiply4(Q, b, x);
  q33 = Q[3][3];
  return true;
}

// Adds one L4 value to the normal equations of a quadratic in time t with a step
// of height N[3] after the boundary: the row is (t^2, t, 1, after ? 1 : 0), h the
// value. Only the upper triangle is summed (MirrorL4Normals completes it), and the
// products with the constant 1 and 0 entries are left out: they are the other
// element itself or zero, so every sum is the same to the last bit. The matrix
// part depends on the times alone, the right-hand side on the values.
void AddL4Normals(long double N[4][4], long double t, bool after) {
  const long double t2 = t * t;
  N[0][0] += t2 * t2, N[0][1] += t2 * t, N[0][2] += t2;
  N[1][1] += t * t, N[1][2] += t;
  N[2][2] += 1.0L;
  if (after) N[0][3] += t2, N[1][3] += t, N[2][3] += 1.0L, N[3][3] += 1.0L;
}

void AddL4Values(long double rhs[4], long double& hh, long double t, long double h, bool after) {
  const long double t2 = t * t;
  rhs[0] += t2 * h, rhs[1] += t * h, rhs[2] += h;
  if (after) rhs[3] += h;
  hh += h * h;
}

void AddL4Row(long double N[4][4], long double rhs[4], long double& hh, long double t,
              long double h, bool after) {
  AddL4Normals(N, t, after);
  AddL4Values(rhs, hh, t, h, after);
}

void MirrorL4Normals(long double N[4][4]) {
  for (int r = 1; r < 4; ++r)
    for (int c = 0; c < r; ++c) N[r][c] = N[c][r];
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
  // Mean and sum of squared deviations of the values [a, b).
  auto stats = [&](long a, long b, long double& mean, long double& ss) {
    const long n = b - a;
    mean = (s1[b] - s1[a]) / n;
    ss = std::max(0.0L, (s2[b] - s2[a]) - n * mean * mean);
  };
  // Values per window: mwWindow, or as many as span mwSpan at the mean spacing.
  const long double spacing = (s.t[p[m - 1]] - s.t[p[0]]) / (m - 1);
  const long w = spacing > 0 ? std::max(mwWindow, std::lround(mwSpan / spacing)) : mwWindow;
  for (long q = minSide; q <= m - minSide; ++q) {
    const long a = std::max(0L, q - w), b = std::min(m, q + w);
    long double m1, ss1, m2, ss2;
    stats(a, q, m1, ss1);
    stats(q, b, m2, ss2);
    // One noise variance from both windows: a short window near an end of the
    // arc alone would often underrate it and show a step in plain noise.
    const long n1 = q - a, n2 = b - q;
    const long double var = (ss1 + ss2) / (n1 + n2 - 2);
    const long double d = std::fabs(m2 - m1), sd = std::sqrt(var * (1.0L / n1 + 1.0L / n2));
    if (d > 0.6L * lWL_ && d > zMW * sd) z[q] = sd > 0 ? d / sd : d * 1e9L;
  }
  return SeparatePeaks(z, p, w);
}

namespace {

// The inverse normal matrix of the L4 step fit of one window. It depends only on
// the window's times about the boundary and on the place of the step, which
// repeat from one boundary to the next along an arc at a constant interval: the
// inverse is then taken over, the same to the last bit.
struct L4WindowDesign {
  std::vector<long double> dt;  // times of the window about the boundary [s]
  std::vector<long double> t;   // the same in minutes
  long split = -1;              // index in t of the first value after the step
  bool ok = false;              // the normal matrix could be inverted
  long double Q[4][4] = {};

  // The window of the present values p[a] to p[b - 1] of s about the time tb [s],
  // the step before the value `first` of the window.
  void Update(const ArcSeries& s, const std::vector<long>& p, long a, long b, long double tb,
              long first) {
    bool same = split == first && static_cast<long>(dt.size()) == b - a;
    for (long i = a; same && i < b; ++i) same = dt[i - a] == s.t[p[i]] - tb;
    if (same) return;
    dt.clear();
    for (long i = a; i < b; ++i) dt.push_back(s.t[p[i]] - tb);
    split = first;
    t.clear();
    for (long double x : dt) t.push_back(x / 60.0L);
    long double N[4][4] = {};
    for (size_t i = 0; i < t.size(); ++i) AddL4Normals(N, t[i], static_cast<long>(i) >= split);
    MirrorL4Normals(N);
    ok = Invert4(N, Q, 1e-18L);
  }
};

}  // namespace

std::vector<long> ArcStepSearch::StepsL4(const ArcSeries& s) const {
  const std::vector<long> p = PresentIndices(s.hasL4);
  const long m = static_cast<long>(p.size());
  std::vector<long double> z(p.size(), 0.0L);
  if (m < 2 * minSide || !(dLambda_ > 0)) return {};
  const long double limit = 0.7L * dLambda_;
  L4WindowDesign design;
  for (long q = minSide; q <= m - minSide; ++q) {
    const long a = std::max(0L, q - l4Window), b = std::min(m, q + l4Window);
    const long double tb = s.t[p[q]], x0 = s.l4[p[q - 1]];
    design.Update(s, p, a, b, tb, q - a);
    long double rhs[4] = {}, hh = 0;
    for (long i = a; i < b; ++i) AddL4Values(rhs, hh, design.t[i - a], s.l4[p[i]] - x0, i >= q);
    const long n = b - a;
    if (n <= 4 || !design.ok) continue;
    long double x[4];
    Multiply4(design.Q, rhs, x);
    const long double q33 = design.Q[3][3];
    long double vtPv = hh;
    for (int r = 0; r < 4; ++r) vtPv -= x[r] * rhs[r];
    const long double s0sq = (vtPv > 0 ? vtPv : 0) / (n - 4);
    const long double sd = std::sqrt((q33 > 0 ? q33 : 0) * s0sq), d = std::fabs(x[3]);
    if (d > limit && d > zL4 * sd) z[q] = sd > 0 ? d / sd : d * 1e9L;
  }
  return RunPeaks(z, p);
}

namespace {

// Residual square sum of the L4 values in [a, b) about one quadratic in time
// with a step before value q, and its count; -1 when it cannot be fitted.
long double L4StepResidual(const ArcSeries& s, long a, long b, long q, long& n) {
  long double N[4][4] = {}, rhs[4] = {}, hh = 0;
  n = 0;
  if (q <= a || q >= b) return -1;
  const long double tb = s.t[q];
  long double x0 = 0;
  bool first = true;
  for (long i = a; i < b; ++i) {
    if (!s.hasL4[i]) continue;
    if (first) x0 = s.l4[i], first = false;
    AddL4Row(N, rhs, hh, (s.t[i] - tb) / 60.0L, s.l4[i] - x0, i >= q);
    ++n;
  }
  MirrorL4Normals(N);
  long double x[4], q33;
  if (n <= 4 || !Solve4(N, rhs, x, q33)) return -1;
  for (int r = 0; r < 4; ++r) hh -= x[r] * rhs[r];
  return hh > 0 ? hh : 0;
}

// Residual square sum of the MW values in [a, b) about two means split before q.
long double MWStepResidual(const ArcSeries& s, long a, long b, long q, long& n) {
  long double sum[2] = {0, 0}, sq[2] = {0, 0};
  long cnt[2] = {0, 0};
  for (long i = a; i < b; ++i) {
    if (!s.hasMW[i]) continue;
    const int side = i >= q ? 1 : 0;
    const long double v = s.mw[i] - s.mw[a];
    sum[side] += v;
    sq[side] += v * v;
    ++cnt[side];
  }
  n = cnt[0] + cnt[1];
  if (cnt[0] == 0 || cnt[1] == 0) return -1;
  return sq[0] - sum[0] * sum[0] / cnt[0] + sq[1] - sum[1] * sum[1] / cnt[1];
}

}  // namespace

ArcStepSearch::Step ArcStepSearch::Refine(const ArcSeries& s, long j) const {
  const long n = s.Size(), reach = 2 * minSide;
  const long a = std::max(0L, j - l4Window - reach), b = std::min(n, j + l4Window + reach);
  const long lo = std::max(a + 1, j - reach), hi = std::min(b - 1, j + reach);
  std::vector<long double> r4, rm;
  long double min4 = -1, minm = -1;
  long n4 = 0, nm = 0;
  for (long q = lo; q <= hi; ++q) {
    r4.push_back(L4StepResidual(s, a, b, q, n4));
    rm.push_back(MWStepResidual(s, a, b, q, nm));
    if (r4.back() >= 0 && (min4 < 0 || r4.back() < min4)) min4 = r4.back();
    if (rm.back() >= 0 && (minm < 0 || rm.back() < minm)) minm = rm.back();
  }
  const long double v4 = n4 > 4 && min4 > 0 ? min4 / (n4 - 4) : 0;
  const long double vm = nm > 2 && minm > 0 ? minm / (nm - 2) : 0;
  std::vector<long double> score;
  long double bestScore = -1;
  for (long q = lo; q <= hi; ++q) {
    const long double x4 = r4[q - lo], xm = rm[q - lo];
    long double sc = 0;
    if (v4 > 0 && x4 >= 0) sc += x4 / v4;
    if (vm > 0 && xm >= 0) sc += xm / vm;
    score.push_back(sc);
    if (bestScore < 0 || sc < bestScore) bestScore = sc;
  }
  if (score.empty()) return {j, j};
  Step st{-1, -1};
  for (long q = lo; q <= hi; ++q) {
    if (score[q - lo] - bestScore >= 25.0L) continue;
    if (st.from < 0) st.from = q;
    st.to = q;
  }
  if (s.t[st.to] - s.t[st.from > 0 ? st.from - 1 : 0] > maxUnsure) return {-1, -1};
  return st;
}

std::vector<ArcStepSearch::Step> ArcStepSearch::Steps(const ArcSeries& s) const {
  std::vector<long> found = StepsL4(s);
  for (long j : StepsMW(s)) found.push_back(j);
  std::vector<Step> out;
  for (long j : found) {
    const Step st = Refine(s, j);
    if (st.from >= 0) out.push_back(st);
  }
  std::sort(out.begin(), out.end(), [](const Step& a, const Step& b) { return a.from < b.from; });
  // Steps that overlap are one.
  std::vector<Step> merged;
  for (const Step& st : out) {
    if (!merged.empty() && st.from <= merged.back().to)
      merged.back().to = std::max(merged.back().to, st.to);
    else
      merged.push_back(st);
  }
  return merged;
}
