#include "estimation/Lambda.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

// Search steps after which the enumeration gives up (a sound problem needs a few
// thousand at most).
constexpr long kMaxSteps = 1000000L;

long Nearest(long double x) {
  return static_cast<long>(std::llround(x));
}

// Next zig-zag step around the conditional estimate: +1, -2, +3, ... or -1, +2, -3, ...
long NextStep(long step) {
  return -step - (step > 0 ? 1 : -1);
}

}  // namespace

Lambda::Lambda(const matrix<long double>& a, const matrix<long double>& Q) : n_(a.NRow()) {
  if (n_ <= 0 || Q.NRow() != n_ || Q.NCol() != n_) return;
  zhat_.assign(n_, 0.0L);
  for (long i = 0; i < n_; ++i) {
    zhat_[i] = a(i);
    if (!std::isfinite(zhat_[i])) return;
  }
  if (!Factor(Q)) return;
  z_.assign(n_ * n_, 0);
  zi_.assign(n_ * n_, 0);
  for (long i = 0; i < n_; ++i) Z(i, i) = Zi(i, i) = 1;
  Reduce();
  valid_ = true;
}

// Q = L' D L, from the last row upward.
bool Lambda::Factor(const matrix<long double>& Q) {
  std::vector<long double> A(n_ * n_);
  for (long i = 0; i < n_; ++i)
    for (long j = 0; j < n_; ++j) {
      A[i * n_ + j] = Q(i, j);
      if (!std::isfinite(Q(i, j)) ||
          std::fabs(Q(i, j) - Q(j, i)) > 1e-9L * std::fabs(Q(i, j)) + 1e-30L)
        return false;
    }
  l_.assign(n_ * n_, 0.0L);
  d_.assign(n_, 0.0L);
  for (long i = n_ - 1; i >= 0; --i) {
    d_[i] = A[i * n_ + i];
    if (!(d_[i] > 0.0L) || !std::isfinite(d_[i])) return false;
    const long double s = std::sqrt(d_[i]);
    for (long j = 0; j <= i; ++j) L(i, j) = A[i * n_ + j] / s;
    for (long j = 0; j < i; ++j)
      for (long k = 0; k <= j; ++k) A[j * n_ + k] -= L(i, k) * L(i, j);
    for (long j = 0; j <= i; ++j) L(i, j) /= L(i, i);
  }
  return true;
}

// Column j of Z loses round(L(i,j)) times column i: L(i,j) becomes at most 1/2.
void Lambda::Gauss(long i, long j) {
  const long mu = Nearest(L(i, j));
  if (mu == 0) return;
  for (long k = i; k < n_; ++k) L(k, j) -= mu * L(k, i);
  for (long r = 0; r < n_; ++r) {
    Z(r, j) -= mu * Z(r, i);
    Zi(i, r) += mu * Zi(j, r);
  }
  zhat_[j] -= mu * zhat_[i];
}

// Entries j and j+1 change places; del is the new conditional variance of j+1.
void Lambda::Swap(long j, long double del) {
  const long double eta = d_[j] / del;
  const long double lam = d_[j + 1] * L(j + 1, j) / del;
  d_[j] = eta * d_[j + 1];
  d_[j + 1] = del;
  for (long k = 0; k < j; ++k) {
    const long double a0 = L(j, k), a1 = L(j + 1, k);
    L(j, k) = -L(j + 1, j) * a0 + a1;
    L(j + 1, k) = eta * a0 + lam * a1;
  }
  L(j + 1, j) = lam;
  for (long k = j + 2; k < n_; ++k) std::swap(L(k, j), L(k, j + 1));
  for (long r = 0; r < n_; ++r) {
    std::swap(Z(r, j), Z(r, j + 1));
    std::swap(Zi(j, r), Zi(j + 1, r));
  }
  std::swap(zhat_[j], zhat_[j + 1]);
}

// Decorrelation: Gauss transformations of the columns below each entry and swaps of
// neighbours while a swap lowers the conditional variance of the later one.
void Lambda::Reduce() {
  long j = n_ - 2, k = n_ - 2;
  while (j >= 0) {
    if (j <= k)
      for (long i = j + 1; i < n_; ++i) Gauss(i, j);
    const long double del = d_[j] + L(j + 1, j) * L(j + 1, j) * d_[j + 1];
    if (del < d_[j + 1] * (1.0L - 1e-12L)) {
      Swap(j, del);
      k = j;
      j = n_ - 2;
    } else {
      --j;
    }
  }
}

bool Lambda::Search(int count, std::vector<std::vector<long>>& best, std::vector<long double>& dist,
                    long m) const {
  best.clear();
  dist.clear();
  if (!valid_ || count < 1) return false;
  if (m < 0 || m > n_) m = n_;
  if (m == 0) return false;
  const long first = n_ - m;
  std::vector<long double> zc(n_), part(n_);
  std::vector<long> z(n_), step(n_);
  std::vector<std::vector<long>> found;
  std::vector<long double> norms;
  long double maxd = std::numeric_limits<long double>::infinity();
  long k = n_ - 1;
  part[k] = 0.0L;
  zc[k] = zhat_[k];
  z[k] = Nearest(zc[k]);
  long double y = zc[k] - z[k];
  step[k] = y <= 0.0L ? -1 : 1;
  for (long steps = 0;; ++steps) {
    if (steps > kMaxSteps) return false;
    const long double nd = part[k] + y * y / d_[k];
    if (nd < maxd) {
      if (k != first) {
        --k;
        part[k] = nd;
        long double s = 0.0L;
        for (long i = k + 1; i < n_; ++i) s += L(i, k) * (z[i] - zc[i]);
        zc[k] = zhat_[k] + s;
        z[k] = Nearest(zc[k]);
        y = zc[k] - z[k];
        step[k] = y <= 0.0L ? -1 : 1;
        continue;
      }
      std::vector<long> cand(z.begin() + first, z.end());
      if (static_cast<int>(found.size()) < count) {
        found.push_back(cand);
        norms.push_back(nd);
      } else {
        const long w = std::max_element(norms.begin(), norms.end()) - norms.begin();
        found[w] = cand;
        norms[w] = nd;
      }
      if (static_cast<int>(found.size()) == count)
        maxd = *std::max_element(norms.begin(), norms.end());
    } else {
      if (k == n_ - 1) break;
      ++k;
    }
    z[k] += step[k];
    y = zc[k] - z[k];
    step[k] = NextStep(step[k]);
  }
  std::vector<size_t> order(found.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return norms[a] < norms[b]; });
  for (size_t o : order) {
    dist.push_back(norms[o]);
    if (m < n_) {
      best.push_back(found[o]);
      continue;
    }
    std::vector<long> a(n_, 0);  // a = Z^-T z
    for (long j = 0; j < n_; ++j)
      for (long r = 0; r < n_; ++r) a[j] += zi_[r * n_ + j] * found[o][r];
    best.push_back(a);
  }
  return !best.empty();
}

long double Lambda::SuccessRate(long m, long double varianceFactor) const {
  if (!valid_ || m <= 0 || m > n_ || !(varianceFactor > 0.0L)) return 0.0L;
  long double p = 1.0L;
  for (long k = n_ - m; k < n_; ++k)
    p *= std::erf(1.0L / (2.0L * std::sqrt(2.0L * d_[k] * varianceFactor)));
  return p;
}

std::vector<long> Lambda::Combination(long k) const {
  std::vector<long> c(n_);
  for (long j = 0; j < n_; ++j) c[j] = z_[j * n_ + k];
  return c;
}
