#include "sdiff/NormalEquations.h"

#include <cmath>
#include <utility>

#include "core/MError.h"
#include "core/matrixUtil.h"

namespace {

using Rows = long double[NormalEquations::kMaxUnknowns][NormalEquations::kMaxUnknowns];

// Row `to` += factor times row `from` over the columns [0, k1), skipping the zeros of
// row `from` as the library's elimination does.
void AddRow(Rows m, int to, int from, long double factor, int k1) {
  for (int k = 0; k < k1; ++k)
    if (m[from][k] != 0.0L) m[to][k] += factor * m[from][k];
}

void SwapRows(Rows m, int a, int b, int n) {
  for (int k = 0; k < n; ++k) std::swap(m[a][k], m[b][k]);
}

// Forward elimination with row pivoting on t, the same row operations on q (starting
// as the identity); false when a pivot is too small.
bool Forward(Rows t, Rows q, int n, long double thres) {
  for (int j = 0; j < n - 1; ++j) {
    long double max = std::fabs(t[j][j]);
    int mind = j;
    for (int k = j + 1; k < n; ++k)
      if (std::fabs(t[k][j]) > max) {
        max = std::fabs(t[k][j]);
        mind = k;
      }
    if (mind != j) {
      SwapRows(t, j, mind, n);
      SwapRows(q, j, mind, n);
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
void Backward(Rows t, Rows q, int n, long double thres) {
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

bool NormalEquations::Solve(long double x[]) const {
  Rows t = {}, q = {};
  for (int i = 0; i < n_; ++i)
    for (int j = 0; j < n_; ++j) {
      t[i][j] = N_[i][j];
      q[i][j] = i == j ? 1.0L : 0.0L;
    }
  const long double thres = invns::thres;
  if (!Forward(t, q, n_, thres)) return false;
  Backward(t, q, n_, thres);
  for (int i = 0; i < n_; ++i) {
    long double s = 0.0L;
    for (int k = 0; k < n_; ++k) s += q[i][k] * b_[k];
    x[i] = s;
  }
  return true;
}
