// Linear algebra on matrix<T>: identity, transpose, product, Gauss-Jordan inverse,
// stable sorting, unique lists and vector norms, with their library-wide settings.
#ifndef TERVAN_CORE_MATRIXUTIL_H
#define TERVAN_CORE_MATRIXUTIL_H

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "core/matrix.h"

namespace invns {
extern long double thres;  // magnitude at or below which an element counts as zero
extern bool IsSingular;    // set when inv gave up on a singular matrix
}  // namespace invns

namespace normns {
enum { NORM1 = 0, NORM2 = 1, NORMP = 2, INF = 1000, MINABS = -1000 };
extern short norm;  // norm type used by subnorm
}  // namespace normns

namespace sortns {
enum { ASC = 0, DISC = 1 };
extern short sort;  // sort direction
}  // namespace sortns

namespace chrns {
extern long double thres;
}

// New n x n matrix with value on the diagonal and 0 elsewhere.
template <class T>
matrix<T> I(long n, T value) {
  matrix<T> m(n, n, T(0));
  for (long k = 0; k < n; k++) m(k, k) = value;
  return m;
}

// New c x r transpose.
template <class T>
matrix<T> tr(const matrix<T>& M) {
  matrix<T> t(M.c, M.r);
  for (long i = 0; i < M.r; i++)
    for (long j = 0; j < M.c; j++)
      t.v[i + j * static_cast<long>(M.r)] = M.v[j + i * static_cast<long>(M.c)];
  return t;
}

// Product A*B; each element is accumulated from zero over k = 0 ... A.c-1.
template <class T>
matrix<T> operator*(const matrix<T>& A, const matrix<T>& B) {
  if (A.c != B.r)
    MError::DimError("Function:   matrix operator *\nMatrix dimensions do not fit!", A.r, A.c, B.r,
                     B.c);
  matrix<T> P(A.r, B.c);
  for (long i = 0; i < A.r; i++) {
    const T* a = A.v + i * static_cast<long>(A.c);
    for (long j = 0; j < B.c; j++) {
      T s = T(0);
      for (long k = 0; k < A.c; k++) s += a[k] * B.v[j + k * static_cast<long>(B.c)];
      P.v[j + i * static_cast<long>(B.c)] = s;
    }
  }
  return P;
}

namespace matrixdetail {

template <class T>
void SwapRows(matrix<T>& m, long a, long b, long n) {
  for (long k = 0; k < n; k++) SWAP(m(a, k), m(b, k));
}

// Adds factor times row `from` to row `to`, over the columns [k0, k1) (rows checked
// by the caller). Zeros of row `from` are skipped: adding factor * 0 leaves every
// element as it is (no element of the elimination is ever -0), and the rows of the
// identity start almost all zero.
template <class T>
void AddRow(matrix<T>& m, long to, long from, T factor, long k0, long k1) {
  T* dst = m.v + to * static_cast<long>(m.c);
  const T* src = m.v + from * static_cast<long>(m.c);
  for (long k = k0; k < k1; k++)
    if (src[k] != T(0)) dst[k] += factor * src[k];
}

// x plus factor[s] * m(from[s], k) over s in turn, skipping zeros of m as AddRow does.
template <class T>
T AddColumn(T x, const matrix<T>& m, long k, const std::vector<long>& from,
            const std::vector<T>& factor) {
  const long c = m.c;
  for (size_t s = 0; s < from.size(); s++) {
    const T e = m.v[k + from[s] * c];
    if (e != T(0)) x += factor[s] * e;
  }
  return x;
}

// AddColumn on the four columns k ... k+3 at once (one load of each factor for four
// terms): x[c] takes the terms of column k+c in the same order.
template <class T>
void AddColumns4(T* x, const matrix<T>& m, long k, const std::vector<long>& from,
                 const std::vector<T>& factor) {
  T x0 = x[0], x1 = x[1], x2 = x[2], x3 = x[3];
  const long c = m.c;
  for (size_t s = 0; s < from.size(); s++) {
    const T* e = m.v + k + from[s] * c;
    const T f = factor[s];
    if (e[0] != T(0)) x0 += f * e[0];
    if (e[1] != T(0)) x1 += f * e[1];
    if (e[2] != T(0)) x2 += f * e[2];
    if (e[3] != T(0)) x3 += f * e[3];
  }
  x[0] = x0, x[1] = x1, x[2] = x2, x[3] = x3;
}

// Every column of [k0, k1] of row to takes its terms (AddColumn), four at a time.
template <class T>
void AddToColumns(T* to, const matrix<T>& m, long k0, long k1, const std::vector<long>& from,
                  const std::vector<T>& factor) {
  long k = k0;
  for (; k + 3 <= k1; k += 4) AddColumns4(to + k, m, k, from, factor);
  for (; k <= k1; k++) to[k] = AddColumn(to[k], m, k, from, factor);
}

// Rows of a matrix that starts as the identity and changes by row operations only,
// with the columns [lo, hi] outside which each row is still all zero: AddRow needs
// to visit only the source row's span.
template <class T>
struct SpannedRows {
  matrix<T>& m;
  std::vector<long> lo, hi;
  explicit SpannedRows(matrix<T>& identity) : m(identity), lo(identity.r), hi(identity.r) {
    std::iota(lo.begin(), lo.end(), 0L);
    std::iota(hi.begin(), hi.end(), 0L);
  }
  void Add(long to, long from, T factor) {
    AddRow(m, to, from, factor, lo[from], hi[from] + 1);
    lo[to] = std::min(lo[to], lo[from]);
    hi[to] = std::max(hi[to], hi[from]);
  }
  void Swap(long a, long b, long n) {
    SwapRows(m, a, b, n);
    std::swap(lo[a], lo[b]);
    std::swap(hi[a], hi[b]);
  }
  // Add(to, from[s], factor[s]) for every s in turn (rows from[] other than to): each
  // element takes its terms in the same order, held in a register meanwhile.
  void AddAll(long to, const std::vector<long>& from, const std::vector<T>& factor) {
    long k0 = lo[to], k1 = hi[to];
    for (long f : from) k0 = std::min(k0, lo[f]), k1 = std::max(k1, hi[f]);
    AddToColumns(m.v + to * static_cast<long>(m.c), m, k0, k1, from, factor);
    lo[to] = k0;
    hi[to] = k1;
  }
};

// The back substitution of the inverse on the upper triangular temp and on rows: for
// every column j from the last, each row i above it with |temp(i, j)| > thres takes
// -temp(i, j) / temp(j, j) times row j (of temp over the columns left of j). Row by
// row from the bottom instead: a row's factors come from its columns right of the
// diagonal in turn, and each element takes the terms of the columns in the same order
// in a register. Only the diagonal and the columns left of it are stored in temp.
template <class T>
void BackSubstitute(matrix<T>& temp, SpannedRows<T>& rows, long n) {
  using std::fabs;
  const T thres = invns::thres;
  const long c = temp.c;
  std::vector<long> from;
  std::vector<T> factor;
  from.reserve(n);
  factor.reserve(n);
  for (long i = n - 2; i >= 0; i--) {
    T* row = temp.v + i * c;
    from.clear();
    factor.clear();
    for (long k = n - 1; k > i; k--) {
      const T x = AddColumn(row[k], temp, k, from, factor);
      if (fabs(x) > thres) {
        from.push_back(k);
        factor.push_back(-x / temp.v[k + k * c]);
      }
    }
    AddToColumns(row, temp, 0, i, from, factor);
    rows.AddAll(i, from, factor);
  }
}

}  // namespace matrixdetail

// Inverse by Gauss-Jordan elimination with row pivoting. With dim >= 0 only the
// leading dim x dim block is inverted. A singular matrix sets invns::IsSingular and
// returns the partly reduced matrix (not an inverse); callers test the flag.
template <class T>
matrix<T> inv(const matrix<T>& M, long dim = -1) {
  using std::fabs;
  matrix<T> temp(M);
  long m = M.r, n = M.c;
  if (dim >= 0) {
    if (m < dim || n < dim)
      MError::SizeError("Function:   inv\nDimension of submatrix inproper: ", m - dim, n - dim);
    m = n = dim;
  }
  if (m != n) MError::SizeError("Function:   inv\nMatrix is not square: ", M.r, M.c);
  if (m == 0) MError::SizeError("Function:   inv\nMatrix is not defined: ", M.r, M.c);
  if (n == 1) return matrix<T>(1, 1, T(1) / temp(0, 0));

  const T thres = invns::thres;
  matrix<T> minv = I<T>(n, T(1));
  matrixdetail::SpannedRows<T> rows(minv);
  invns::IsSingular = false;
  for (long j = 0; j < n - 1; j++) {
    T max = fabs(temp(j, j));
    long mind = j;
    for (long k = j + 1; k < m; k++)
      if (fabs(temp(k, j)) > max) {
        max = fabs(temp(k, j));
        mind = k;
      }
    if (mind != j) {
      matrixdetail::SwapRows(temp, j, mind, n);
      rows.Swap(j, mind, n);
    }
    for (long i = j + 1; i < m; i++) {
      if (fabs(temp(i, j)) > thres) {
        if (fabs(temp(j, j)) < thres) {
          invns::IsSingular = true;
          return minv;
        }
        T factor = -temp(i, j) / temp(j, j);
        matrixdetail::AddRow(temp, i, j, factor, 0, n);
        rows.Add(i, j, factor);
      }
      if (fabs(temp(j, j)) < thres) {
        invns::IsSingular = true;
        return minv;
      }
    }
  }
  if (fabs(temp(n - 1, n - 1)) < thres) {
    MError::SingularWarning("Function:   inv\nMatrix is SINGULAR: ",
                            static_cast<long double>(temp(n - 1, n - 1) / thres), n - 1);
    invns::IsSingular = true;
    return minv;
  }
  matrixdetail::BackSubstitute(temp, rows, n);
  for (long i = 0; i < n; i++) {
    const T d = temp(i, i);
    T* q = minv.Row(i);
    for (long k = 0; k < n; k++) q[k] /= d;
  }
  return minv;
}

// Sorted copy of the first NRow() elements of vec in the direction of sortns::sort;
// vIx receives, for every position of the result, the element's index in vec. The
// sort is stable: equal values keep their input order (and their indices).
template <class T>
matrix<T> sort(matrix<T>& vec, matrix<long>& vIx) {
  long n = vec.NRow();
  std::vector<long> ix(n);
  std::iota(ix.begin(), ix.end(), 0L);
  if (sortns::sort == sortns::DISC)
    std::stable_sort(ix.begin(), ix.end(), [&](long a, long b) { return vec(b) < vec(a); });
  else
    std::stable_sort(ix.begin(), ix.end(), [&](long a, long b) { return vec(a) < vec(b); });
  matrix<T> out(vec);
  vIx.Resize(n, 1);
  for (long k = 0; k < n; k++) {
    out(k) = vec(ix[k]);
    vIx(k) = ix[k];
  }
  return out;
}

template <class T>
matrix<T> sort(matrix<T>& vec) {
  matrix<long> ix;
  return sort(vec, ix);
}

// Sorted n x 1 list of the distinct values of vec.
template <class T>
matrix<T> UniqList(matrix<T>& vec) {
  if (vec.NRow() == 0 || vec.NCol() == 0)
    MError::SizeError("Operator:   ()\nMatrix is not set: ", vec.r, vec.c);
  matrix<T> s = sort(vec);
  long n = 1;
  for (long k = 1; k < s.NRow(); k++)
    if (s(k) != s(k - 1)) n++;
  matrix<T> u(n, 1);
  u(0) = s(0);
  for (long k = 1, m = 1; k < s.NRow(); k++)
    if (s(k) != s(k - 1)) u(m++) = s(k);
  return u;
}

// Norm of the first nr elements of a vector, of the type in normns::norm (p is the
// exponent of NORMP). A matrix that is not a vector gives 0 with a warning.
template <class T>
T subnorm(const matrix<T>& A, long nr, T p) {
  using std::fabs;
  if (A.r == 0 && A.c == 0)
    MError::SizeError("Function:   subnorm\nMatrix/Vector is not defined: ", A.r, A.c);
  if (nr > A.Length())
    MError::CountError(
        "Function:   subnorm\nNumber of elements for subnorm greater than vector size: ", A.r, A.c,
        nr);
  short t = normns::norm;
  if (t != normns::NORM1 && t != normns::NORM2 && t != normns::NORMP && t != normns::INF &&
      t != normns::MINABS) {
    MError::NormWarning("Function:   norm\nNORM type is not properly set - Using default NORM2!");
    normns::norm = t = normns::NORM2;
  }
  if (A.r != 1 && A.c != 1) {
    MError::NormWarning("Function:   norm\nMatrix norm is not evaluated!");
    return T(0);
  }
  T s = T(0);
  switch (t) {
    case normns::NORM1:
      for (long i = 0; i < nr; i++) s += fabs(A(i));
      return s;
    case normns::NORM2:
      for (long i = 0; i < nr; i++) s += A(i) * A(i);
      return std::sqrt(s);
    case normns::NORMP:
      for (long i = 0; i < nr; i++) s += std::pow(fabs(A(i)), p);
      return std::pow(s, T(1) / p);
    default: {
      T best = fabs(A(0));
      for (long i = 1; i < nr; i++)
        best = (t == normns::INF) ? std::max(best, fabs(A(i))) : std::min(best, fabs(A(i)));
      return best;
    }
  }
}

#endif
