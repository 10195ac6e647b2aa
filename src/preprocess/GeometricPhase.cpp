#include "preprocess/GeometricPhase.h"

#include <algorithm>
#include <cmath>

#include "core/SmallInverse.h"
#include "gnss/SatelliteNumbering.h"

namespace {

constexpr long double kPi = 3.141592653589793L;
constexpr size_t kMinShared = 4;  // satellites that fix the shared change of an epoch

// Mean of the values within three robust sigmas (and a millimetre) of their
// median: satellites that slip at the same epoch do not move it. The values are
// reordered; dev is room for the deviations.
long double SharedChange(std::vector<long double>& c, std::vector<long double>& dev) {
  const size_t mid = c.size() / 2;
  std::nth_element(c.begin(), c.begin() + mid, c.end());
  const long double median = c[mid];
  dev.clear();
  for (long double x : c) dev.push_back(std::fabs(x - median));
  std::nth_element(dev.begin(), dev.begin() + mid, dev.end());
  const long double keep = 3 * 1.4826L * dev[mid] + 0.001L;
  long double sum = 0;
  long n = 0;
  for (long double x : c)
    if (std::fabs(x - median) <= keep) {
      sum += x;
      ++n;
    }
  return n > 0 ? sum / n : median;
}

constexpr int kUnknowns = 4;  // quadratic in time and the step
using Square = long double[kUnknowns][kUnknowns];

}  // namespace

bool GeometricPhase::Jump::Resolved() const {
  const long double dev1 = std::fabs(n1 - std::round(n1)), dev2 = std::fabs(n2 - std::round(n2));
  return dev1 < 0.25L && dev2 < 0.25L && 0.5L - dev1 > 4 * s1 && 0.5L - dev2 > 4 * s2;
}

GeometricPhase::GeometricPhase(const TervanC& tc) : tc_(tc) {
  const PhsDiffData& d = tc.sdd;
  if (!stagerec::GeometryReady(tc) || d.neph < 2 || !tc.sdh.iL1 || d.L1.Length() < d.nobs) return;
  limit_ = tc.MinElevation * kPi / 180.0L;
  bySat_ = stagerec::RecordsBySatellite(d);
  index_.assign(static_cast<size_t>(satnum::kMaxSatNumber) + 1, -1);
  for (long j = 0; j < d.satList.Length(); ++j) {
    const short s = d.satList(j);
    if (s >= 0 && s <= satnum::kMaxSatNumber) index_[s] = j;
  }
  const size_t nsat = static_cast<size_t>(satnum::kMaxSatNumber) + 1;
  std::vector<long> last(nsat, -1);  // epoch of each satellite's previous usable value
  std::vector<long double> prev1(nsat, 0), prev2(nsat, 0);
  shared1_.assign(d.neph, 0.0L);
  shared2_.assign(d.neph, 0.0L);
  segment_.assign(d.neph, 0);
  const std::vector<long> off = stagerec::EpochOffsets(d);
  long seg = 0;
  std::vector<long double> c1, c2, dev;
  for (long e = 0; e < d.neph; ++e) {
    c1.clear();
    c2.clear();
    for (long r = off[e]; r < off[e + 1]; ++r) {
      const short s = d.sat(r);
      long double m1, m2;
      if (s < 0 || s > satnum::kMaxSatNumber || !Usable(r, m1, m2)) continue;
      if (last[s] == e - 1) {
        c1.push_back(m1 - prev1[s]);
        c2.push_back(m2 - prev2[s]);
      }
      last[s] = e;
      prev1[s] = m1;
      prev2[s] = m2;
    }
    if (e > 0 && c1.size() < kMinShared) ++seg;  // the sides of this epoch stay apart
    if (e > 0 && c1.size() >= kMinShared) {
      shared1_[e] = shared1_[e - 1] + SharedChange(c1, dev);
      shared2_[e] = shared2_[e - 1] + SharedChange(c2, dev);
    }
    segment_[e] = seg;
  }
  available_ = true;
}

bool GeometricPhase::Usable(long r, long double& m1, long double& m2) const {
  const PhsDiffData& d = tc_.sdd;
  const short s = d.sat(r);
  if (!tc_.OKSAT(r) || !(tc_.ELV(r, 0) > limit_) || !(tc_.ELV(r, 1) > limit_) ||
      !stagerec::SystemProcessed(tc_, s))
    return false;
  const bool gal = satnum::IsGALILEO(s);
  const matrix<gnssobs>& second = gal ? d.L7 : d.L2;
  if (!(gal ? tc_.sdh.iL7 : tc_.sdh.iL2) || second.Length() <= r || d.L1(r).IsNull() ||
      second(r).IsNull())
    return false;
  long double l1, l2;
  stagerec::Wavelengths(s, l1, l2);
  if (!(l1 > 0.01L) || !(l2 > 0.01L)) return false;
  const long double rho = stagerec::ComputedRange(tc_, r);
  m1 = l1 * d.L1(r).GetObs() - rho;
  m2 = l2 * second(r).GetObs() - rho;
  return std::isfinite(m1) && std::isfinite(m2);
}

std::vector<GeometricPhase::Value> GeometricPhase::Series(short sat, long e0, long e1) const {
  std::vector<Value> v;
  if (!available_ || sat < 0 || sat > satnum::kMaxSatNumber || index_[sat] < 0) return v;
  const std::vector<stagerec::SatRecord>& rec = bySat_[index_[sat]];
  auto it = std::lower_bound(rec.begin(), rec.end(), e0,
                             [](const stagerec::SatRecord& x, long e) { return x.epoch < e; });
  for (; it != rec.end() && it->epoch <= e1; ++it) {
    long double m1, m2;
    if (!Usable(it->record, m1, m2)) continue;
    v.push_back(Value{it->epoch, tc_.sdd.epoch(it->epoch) - tc_.sdd.epoch(0),
                      m1 - shared1_[it->epoch], m2 - shared2_[it->epoch]});
  }
  return v;
}

bool GeometricPhase::Fit(const std::vector<Value>& v, long a, long q, long b, short sat,
                         Jump& j) const {
  const long n = b - a;
  if (q - a < 2 || b - q < 2 || n < kUnknowns + 3) return false;
  Square N = {};
  long double rhs[2][kUnknowns] = {}, yy[2] = {0, 0};
  for (long i = a; i < b; ++i) {
    // Design row (1, t, t^2, after the step ? 1 : 0): the upper triangle alone is
    // summed, and products with the entries 1 and 0 are the other factor or nothing.
    const long double t = (v[i].t - v[q].t) / 60.0L, t2 = t * t;  // min
    const bool after = i >= q;
    const long double y[2] = {v[i].y1 - v[a].y1, v[i].y2 - v[a].y2};
    N[0][0] += 1.0L, N[0][1] += t, N[0][2] += t2;
    N[1][1] += t2, N[1][2] += t * t2;
    N[2][2] += t2 * t2;
    if (after) N[0][3] += 1.0L, N[1][3] += t, N[2][3] += t2, N[3][3] += 1.0L;
    for (int k = 0; k < 2; ++k) {
      rhs[k][0] += y[k], rhs[k][1] += t * y[k], rhs[k][2] += t2 * y[k];
      if (after) rhs[k][3] += y[k];
      yy[k] += y[k] * y[k];
    }
  }
  for (int r = 1; r < kUnknowns; ++r)
    for (int c = 0; c < r; ++c) N[r][c] = N[c][r];
  Square Q;
  if (!Invert4(N, Q, 1e-12L)) return false;
  const int d = kUnknowns - 1;
  long double step[2], sigma[2];
  for (int k = 0; k < 2; ++k) {
    long double x[kUnknowns] = {}, vtv = yy[k];
    for (int r = 0; r < kUnknowns; ++r)
      for (int c = 0; c < kUnknowns; ++c) x[r] += Q[r][c] * rhs[k][c];
    for (int r = 0; r < kUnknowns; ++r) vtv -= x[r] * rhs[k][r];
    step[k] = x[d];
    sigma[k] = std::sqrt(std::max(0.0L, Q[d][d]) * std::max(0.0L, vtv) / (n - kUnknowns));
  }
  long double l1, l2;
  stagerec::Wavelengths(sat, l1, l2);
  j.n1 = step[0] / l1;
  j.n2 = step[1] / l2;
  j.s1 = sigma[0] / l1;
  j.s2 = sigma[1] / l2;
  return std::isfinite(j.n1) && std::isfinite(j.n2) && std::isfinite(j.s1) && std::isfinite(j.s2);
}

bool GeometricPhase::JumpAt(short sat, long e0, long ea, long eb, long e1, Jump& j) const {
  const std::vector<Value> v = Series(sat, e0, e1);
  long q = 0;
  while (q < static_cast<long>(v.size()) && v[q].epoch < eb) ++q;
  if (q < 1 || q >= static_cast<long>(v.size()) || v[q - 1].epoch > ea) return false;
  const long seg = segment_[v[q].epoch];
  if (segment_[v[q - 1].epoch] != seg) return false;
  long a = q, b = q;
  while (a > 0 && q - a < side && segment_[v[a - 1].epoch] == seg) --a;
  while (b < static_cast<long>(v.size()) && b - q < side && segment_[v[b].epoch] == seg) ++b;
  return Fit(v, a, q, b, sat, j);
}

std::vector<long> GeometricPhase::Slips(short sat, long e0, long e1) const {
  const std::vector<Value> v = Series(sat, e0, e1);
  const long n = static_cast<long>(v.size());
  long double l1, l2;
  stagerec::Wavelengths(sat, l1, l2);
  // A slip of half a cycle or more bends the series by more than a quarter
  // cycle: only there is a fit needed (second differences barely see the drift).
  auto bent = [&](long q) {
    const long double d1 = v[q].y1 - 2 * v[q - 1].y1 + v[q - 2].y1;
    const long double d2 = v[q].y2 - 2 * v[q - 1].y2 + v[q - 2].y2;
    return std::fabs(d1) > 0.25L * l1 || std::fabs(d2) > 0.25L * l2;
  };
  // Per break: the spread of the jump (sum of sigmas) where it is a slip, else -1.
  std::vector<long double> spread(v.size(), -1.0L);
  long start = 0;  // first value of the current segment
  for (long q = 1; q < n; ++q) {
    if (segment_[v[q].epoch] != segment_[v[q - 1].epoch]) {
      start = q;
      continue;
    }
    if (q - start >= 2 && !bent(q)) continue;
    long b = q;
    while (b < n && b - q < side && segment_[v[b].epoch] == segment_[v[q].epoch]) ++b;
    Jump j;
    if (!Fit(v, std::max(start, q - side), q, b, sat, j)) continue;
    const long double beyond = std::max(std::fabs(j.n1) - 4 * j.s1, std::fabs(j.n2) - 4 * j.s2);
    if (beyond > 0.5L) spread[q] = j.s1 + j.s2;
  }
  // Neighbouring breaks that pass are one slip: the one that fits best.
  std::vector<long> out;
  for (long q = 1; q < n;) {
    if (spread[q] < 0) {
      ++q;
      continue;
    }
    long best = q;
    for (; q < n && spread[q] >= 0; ++q)
      if (spread[q] < spread[best]) best = q;
    out.push_back(v[best].epoch);
  }
  return out;
}
