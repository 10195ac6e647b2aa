#include "sdiff/NormalEquations.h"

#include <cmath>
#include <utility>

#include "core/MError.h"
#include "core/matrixUtil.h"

namespace {

using Rows = long double[NormalEquations::kMaxUnknowns][NormalEquations::kMaxUnknowns];

// The loops below run over n known at compile time (one copy per size), which lets
// the compiler unroll them; the operations and their order are those of the loops
// over a run-time n.

// Row `to` += factor times row `from` over the columns [0, k1), skipping the zeros of
// row `from` as the library's elimination does.
void AddRow(Rows m, int to, int from, long double factor, int k1) {
  for (int k = 0; k < k1; ++k)
    if (m[from][k] != 0.0L) m[to][k] += factor * m[from][k];
}

template <int n>
void SwapRows(Rows m, int a, int b) {
  for (int k = 0; k < n; ++k) std::swap(m[a][k], m[b][k]);
}

// Forward elimination with row pivoting on t, the same row operations on q (starting
// as the identity); false when a pivot is too small.
template <int n>
bool Forward(Rows t, Rows q, long double thres) {
  for (int j = 0; j < n - 1; ++j) {
    long double max = std::fabs(t[j][j]);
    int mind = j;
    for (int k = j + 1; k < n; ++k)
      if (std::fabs(t[k][j]) > max) {
        max = std::fabs(t[k][j]);
        mind = k;
      }
    if (mind != j) {
      SwapRows<n>(t, j, mind);
      SwapRows<n>(q, j, mind);
    }
    for (int i = j + 1; i < n; ++i) {
      if (std::fabs(t[i][j]) > thres) {
        if (std::fabs(t[j][j]) < thres) return false;
        const long double factor = -t[i][j] / t[j][j];
        AddRow(t, i, j, factor, n);
        AddRow(q, i, j, factor, n);
      }
      if (std::fabs(t[j][j]) < thres) return false;
    }
  }
  if (std::fabs(t[n - 1][n - 1]) < thres) {
    MError::SingularWarning("Function:   inv\nMatrix is SINGULAR: ", t[n - 1][n - 1] / thres,
                            n - 1);
    return false;
  }
  return true;
}

// Back substitution and the division by the diagonal: q becomes the inverse.
template <int n>
void Backward(Rows t, Rows q, long double thres) {
  for (int j = n - 1; j >= 1; --j)
    for (int i = j - 1; i >= 0; --i)
      if (std::fabs(t[i][j]) > thres) {
        const long double factor = -t[i][j] / t[j][j];
        AddRow(t, i, j, factor, j);
        AddRow(q, i, j, factor, n);
      }
  for (int i = 0; i < n; ++i)
    for (int k = 0; k < n; ++k) q[i][k] /= t[i][i];
}

// x = N^-1 b through the inverse of N.
template <int n>
bool SolveBy(const Rows N, const long double b[], long double x[]) {
  Rows t = {}, q = {};
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      t[i][j] = N[i][j];
      q[i][j] = i == j ? 1.0L : 0.0L;
    }
  const long double thres = invns::thres;
  if (!Forward<n>(t, q, thres)) return false;
  Backward<n>(t, q, thres);
  for (int i = 0; i < n; ++i) {
    long double s = 0.0L;
    for (int k = 0; k < n; ++k) s += q[i][k] * b[k];
    x[i] = s;
  }
  return true;
}

}  // namespace

NormalEquations::NormalEquations(int n) : n_(n) {}

void NormalEquations::Add(const long double a[], long double w, long double l) {
  // With finite numbers a zero of the design row adds nothing (the sums never hold
  // -0) and a one adds w a_i itself: only the other products are formed.
  int ones[kMaxUnknowns], others[kMaxUnknowns];
  int nOnes = 0, nOthers = 0;
  bool finite = std::isfinite(w);
  for (int j = 0; j < n_; ++j) {
    finite = finite && std::isfinite(a[j]);
    if (a[j] == 1.0L)
      ones[nOnes++] = j;
    else if (a[j] != 0.0L)
      others[nOthers++] = j;
  }
  for (int i = 0; i < n_; ++i) {
    const long double wa = w * a[i];
    b_[i] += wa * l;
    long double* row = N_[i];
    if (!finite) {
      for (int j = 0; j < n_; ++j) row[j] += wa * a[j];
    } else if (a[i] != 0.0L) {
      for (int k = 0; k < nOthers; ++k) row[others[k]] += wa * a[others[k]];
      for (int k = 0; k < nOnes; ++k) row[ones[k]] += wa;
    }
  }
}

void NormalEquations::AddRange(const long double d[3], int clock, int offset, long double w,
                               long double l) {
  if (!(std::isfinite(w) && std::isfinite(l) && std::isfinite(d[0]) && std::isfinite(d[1]) &&
        std::isfinite(d[2]))) {
    long double a[kMaxUnknowns] = {d[0], d[1], d[2], 0, 0, 0};
    a[clock] = 1.0L;
    if (offset >= 0) a[offset] = 1.0L;
    Add(a, w, l);
    return;
  }
  // A sum that starts at +0 never becomes -0, so the +-0 products of a zero direction
  // component leave it as Add's skipping leaves it, and w * 1 is w.
  auto addRow = [&](int i, long double wa) {
    b_[i] += wa * l;
    long double* row = N_[i];
    for (int j = 0; j < 3; ++j) row[j] += wa * d[j];
    row[clock] += wa;
    if (offset >= 0) row[offset] += wa;
  };
  for (int i = 0; i < 3; ++i) addRow(i, w * d[i]);
  addRow(clock, w);
  if (offset >= 0) addRow(offset, w);
}

bool NormalEquations::Solve(long double x[]) const {
  switch (n_) {
    case 2:
      return SolveBy<2>(N_, b_, x);
    case 3:
      return SolveBy<3>(N_, b_, x);
    case 4:
      return SolveBy<4>(N_, b_, x);
    case 5:
      return SolveBy<5>(N_, b_, x);
    default:
      return SolveBy<6>(N_, b_, x);
  }
}
