#include "sdiff/NormalEquations.h"

#include <cmath>
#include <cstring>

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

// Rows and matrices move as bytes: copies through the floating-point unit cost far
// more for long double.
void SwapRows(Rows m, int a, int b) {
  long double row[NormalEquations::kMaxUnknowns];
  std::memcpy(row, m[a], sizeof row);
  std::memcpy(m[a], m[b], sizeof row);
  std::memcpy(m[b], row, sizeof row);
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
      SwapRows(t, j, mind);
      SwapRows(q, j, mind);
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
  Rows t, q = {};
  std::memcpy(t, N, sizeof(Rows));
  for (int i = 0; i < n; ++i) q[i][i] = 1.0L;
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

void NormalEquations::AddRanges(const RangeRow rows[], size_t count) {
  bool finite = true;
  for (size_t k = 0; k < count; ++k) {
    const RangeRow& r = rows[k];
    finite = finite && std::isfinite(r.w) && std::isfinite(r.l) && std::isfinite(r.d[0]) &&
             std::isfinite(r.d[1]) && std::isfinite(r.d[2]);
  }
  if (!finite) {
    for (size_t k = 0; k < count; ++k) {
      const RangeRow& r = rows[k];
      long double a[kMaxUnknowns] = {r.d[0], r.d[1], r.d[2], 0, 0, 0};
      a[r.clock] = 1.0L;
      if (r.offset >= 0) a[r.offset] = 1.0L;
      Add(a, r.w, r.l);
    }
    return;
  }
  // Each sum runs over the rows in their order, in a register rather than through
  // memory row by row. A sum that starts at +0 never becomes -0, so the +-0 products
  // of a zero direction component leave it as Add's skipping does, and w * 1 is w.
  for (int i = 0; i < 3; ++i) {
    long double s0 = N_[i][0], s1 = N_[i][1], s2 = N_[i][2], sb = b_[i];
    for (size_t k = 0; k < count; ++k) {
      const RangeRow& r = rows[k];
      const long double wa = r.w * r.d[i];
      s0 += wa * r.d[0];
      s1 += wa * r.d[1];
      s2 += wa * r.d[2];
      sb += wa * r.l;
    }
    N_[i][0] = s0;
    N_[i][1] = s1;
    N_[i][2] = s2;
    b_[i] = sb;
  }
  auto has = [](const RangeRow& r, int c) { return r.clock == c || r.offset == c; };
  // Column c of the direction rows and row c take the same products w d_i in the same
  // order, as do elements (c, c2) and (c2, c): equal sums from equal starts.
  bool mirrored = true;
  for (int c = 3; c < n_; ++c)
    for (int j = 0; j < n_; ++j) mirrored = mirrored && (j == c || N_[j][c] == N_[c][j]);
  // Adds w d_0, w d_1, w d_2 of the rows that hold column c to e0, e1, e2, and w l
  // to *eb unless it is null.
  auto addDirections = [&](int c, long double& e0, long double& e1, long double& e2,
                           long double* eb) {
    long double s0 = e0, s1 = e1, s2 = e2, sb = eb ? *eb : 0.0L;
    for (size_t k = 0; k < count; ++k) {
      const RangeRow& r = rows[k];
      if (!has(r, c)) continue;
      s0 += r.w * r.d[0];
      s1 += r.w * r.d[1];
      s2 += r.w * r.d[2];
      if (eb) sb += r.w * r.l;
    }
    e0 = s0;
    e1 = s1;
    e2 = s2;
    if (eb) *eb = sb;
  };
  for (int c = 3; c < n_; ++c) {
    // Column c of the direction rows and b_c, row c, then its clock and offset columns.
    addDirections(c, N_[0][c], N_[1][c], N_[2][c], &b_[c]);
    if (mirrored) {
      for (int j = 0; j < 3; ++j) N_[c][j] = N_[j][c];
    } else {
      addDirections(c, N_[c][0], N_[c][1], N_[c][2], nullptr);
    }
    for (int c2 = mirrored ? c : 3; c2 < n_; ++c2) {
      long double s = N_[c][c2];
      for (size_t k = 0; k < count; ++k)
        if (has(rows[k], c) && has(rows[k], c2)) s += rows[k].w;
      N_[c][c2] = s;
      if (mirrored) N_[c2][c] = s;
    }
  }
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
