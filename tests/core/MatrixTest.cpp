#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "core/matrix.h"
#include "core/matrixUtil.h"
#include "support/TestSupport.h"

namespace {

const std::string kStars = "************************************************************";

std::string ErrorBanner(const std::string& body) {
  return "\n" + kStars + "\nMATRIX::ERROR:\n\t" + body + kStars + "\nExiting program...\n\n";
}

matrix<long double> M3(std::initializer_list<long double> values, long rows, long cols) {
  matrix<long double> m(rows, cols);
  long k = 0;
  for (long double x : values) m(k++) = x;
  return m;
}

// Textbook Gauss-Jordan on [M | I], whole rows column after column, with the pivoting
// and thresholds of inv: the inverse must keep its bits.
matrix<long double> PlainGaussJordan(const matrix<long double>& M) {
  const long n = M.NRow();
  const long double thres = invns::thres;
  matrix<long double> a(M), b = I<long double>(n, 1.0L);
  auto add = [](matrix<long double>& m, long to, long from, long double f, long last) {
    for (long k = 0; k < last; ++k) m(to, k) += f * m(from, k);
  };
  for (long j = 0; j < n - 1; ++j) {
    long p = j;
    for (long k = j + 1; k < n; ++k)
      if (std::fabs(a(k, j)) > std::fabs(a(p, j))) p = k;
    for (long k = 0; k < n; ++k) {
      std::swap(a(j, k), a(p, k));
      std::swap(b(j, k), b(p, k));
    }
    for (long i = j + 1; i < n; ++i)
      if (std::fabs(a(i, j)) > thres) {
        const long double f = -a(i, j) / a(j, j);
        add(a, i, j, f, n);
        add(b, i, j, f, n);
      }
  }
  for (long j = n - 1; j >= 1; --j)
    for (long i = j - 1; i >= 0; --i)
      if (std::fabs(a(i, j)) > thres) {
        const long double f = -a(i, j) / a(j, j);
        add(a, i, j, f, j);
        add(b, i, j, f, n);
      }
  for (long i = 0; i < n; ++i)
    for (long k = 0; k < n; ++k) b(i, k) /= a(i, i);
  return b;
}

// Normal matrix of random observations of n unknowns, each touching four of them
// (many zeros, as in the static solution), bordered by nb constraints that sum unknowns
// to zero (zero diagonal: the border needs row pivoting).
matrix<long double> RandomNormal(long n, long nb, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::uniform_int_distribution<long> pick(0, n - 1);
  matrix<long double> N(n + nb, n + nb, 0.0L);
  for (long k = 0; k < n; ++k) N(k, k) = 1e-3L;
  for (long obs = 0; obs < 6 * n; ++obs) {
    long ix[4];
    long double b[4];
    for (int s = 0; s < 4; ++s) ix[s] = pick(gen), b[s] = u(gen);
    for (int s = 0; s < 4; ++s)
      for (int t = 0; t < 4; ++t) N(ix[s], ix[t]) += b[s] * b[t];
  }
  for (long r = 0; r < nb; ++r)
    for (long k = r; k < n; k += nb + 1) N(n + r, k) = N(k, n + r) = 1.0L;
  return N;
}

void ExpectPlainInverseBits(const matrix<long double>& M) {
  const matrix<long double> Q = inv(M), Q0 = PlainGaussJordan(M);
  ASSERT_FALSE(invns::IsSingular);
  for (long i = 0; i < M.NRow(); ++i)
    for (long k = 0; k < M.NRow(); ++k) ASSERT_EQ(Q(i, k), Q0(i, k)) << i << " " << k;
}

}  // namespace

TEST(Matrix, ResizeKeepsContentsOnlyForSameCounts) {
  matrix<long double> m(2, 3, 7.0L);
  m.Resize(2, 3);
  EXPECT_EQ(m(1, 2), 7.0L);
  m.Resize(3, 2);
  EXPECT_EQ(m.NRow(), 3);
  EXPECT_EQ(m(2, 1), 0.0L);  // new array, old values gone
  m.Resize(3, 2, 1.5L);
  EXPECT_EQ(m(0, 0), 1.5L);
  matrix<long> v;
  v.Resize(4);
  EXPECT_EQ(v.NCol(), 1);
  EXPECT_EQ(v.Length(), 4);
}

TEST(Matrix, OneIndexAccessOnRowAndColumnVectors) {
  matrix<short> col(4, 1), row(1, 4);
  for (long k = 0; k < 4; k++) {
    col(k) = static_cast<short>(k);
    row(k) = static_cast<short>(10 + k);
  }
  EXPECT_EQ(col(3, 0), 3);
  EXPECT_EQ(row(0, 3), 13);
}

TEST(Matrix, CopiesAreDeep) {
  matrix<std::string> a(2, 1, "x");
  matrix<std::string> b(a);
  b(0) = "y";
  EXPECT_EQ(a(0), "x");
  a = b;
  EXPECT_EQ(a(0), "y");
  a = a;
  EXPECT_EQ(a(1), "x");
}

TEST(Matrix, AccessOnEmptyMatrixIsFatal) {
  matrix<long double> m;
  EXPECT_EXIT_COUT(m(0, 0) = 1,
                   ErrorBanner("Operator:   ()\nMatrix is not set:  [    0,    0]\n\n"));
}

TEST(Matrix, IndexErrorsAreFatal) {
  matrix<long double> m(3, 2);
  EXPECT_EXIT_COUT(
      m(3, 0) = 1,
      ErrorBanner("Operator:   ()\nRow index not in range:     3 -> [    0,    2]\n\n"));
  EXPECT_EXIT_COUT(
      m(0, -1) = 1,
      ErrorBanner("Operator:   ()\nColumn index not in range:    -1 -> [    0,    1]\n\n"));
  volatile long past = 6;  // not a constant, so the compiler does not object
  EXPECT_EXIT_COUT(
      m(past) = 1,
      ErrorBanner("Operator:   ()\nMatrix index not in range:     6 -> [    0,    5]\n\n"));
}

TEST(Matrix, SumAndProductDimensionsAreChecked) {
  matrix<long double> a(2, 3, 1.0L), b(3, 2, 1.0L);
  EXPECT_EXIT_COUT(
      a += b,
      ErrorBanner(
          "Operator:   +=\nMatrix dims do not agree:   [    2,    3] -> [    3,    2]\n\n"));
  EXPECT_EXIT_COUT(a * a, ErrorBanner("Function:   matrix operator *\nMatrix dimensions do not "
                                      "fit!  [    2,    3] -> [    2,    3]\n\n"));
}

TEST(MatrixUtil, ProductTransposeIdentity) {
  matrix<long double> a = M3({1, 2, 3, 4, 5, 6}, 2, 3);
  matrix<long double> p = a * tr(a);
  EXPECT_EQ(p.NRow(), 2);
  EXPECT_EQ(p(0, 0), 14.0L);
  EXPECT_EQ(p(0, 1), 32.0L);
  EXPECT_EQ(p(1, 1), 77.0L);
  matrix<long double> i3 = I<long double>(3, 2.0L);
  EXPECT_EQ(i3(1, 1), 2.0L);
  EXPECT_EQ(i3(1, 0), 0.0L);
  a *= 2.0L;
  EXPECT_EQ(a(1, 2), 12.0L);
}

TEST(MatrixUtil, InverseOfWellConditionedMatrix) {
  matrix<long double> a = M3({4, -2, 1, -2, 4, -2, 1, -2, 4}, 3, 3);
  invns::IsSingular = true;
  matrix<long double> ai = inv(a);
  EXPECT_FALSE(invns::IsSingular);
  matrix<long double> e = a * ai;
  for (long i = 0; i < 3; i++)
    for (long j = 0; j < 3; j++)
      EXPECT_NEAR(static_cast<double>(e(i, j)), i == j ? 1.0 : 0.0, 1e-15);
}

TEST(MatrixUtil, InverseNeedsPivoting) {
  matrix<long double> a = M3({0, 1, 1, 0}, 2, 2);
  matrix<long double> ai = inv(a);
  EXPECT_FALSE(invns::IsSingular);
  EXPECT_EQ(ai(0, 1), 1.0L);
  EXPECT_EQ(ai(1, 0), 1.0L);
  EXPECT_EQ(ai(0, 0), 0.0L);
}

TEST(MatrixUtil, InverseOfLargerMatrixWithManyRowSwaps) {
  // Small diagonal and large off-diagonal values: nearly every column swaps rows, so
  // the rows of the inverse fill from scattered columns.
  const long n = 24;
  matrix<long double> a(n, n);
  for (long i = 0; i < n; i++)
    for (long j = 0; j < n; j++)
      a(i, j) = i == j ? 0.01L : std::sin(1.0L + 7 * i + 3 * j) + (j == (i + 5) % n ? 4.0L : 0.0L);
  matrix<long double> ai = inv(a);
  ASSERT_FALSE(invns::IsSingular);
  const matrix<long double> left = ai * a, right = a * ai;
  for (long i = 0; i < n; i++)
    for (long j = 0; j < n; j++) {
      EXPECT_NEAR(static_cast<double>(left(i, j)), i == j ? 1.0 : 0.0, 1e-14);
      EXPECT_NEAR(static_cast<double>(right(i, j)), i == j ? 1.0 : 0.0, 1e-14);
    }
}

// The inverse skips zeros and orders its work for speed; every bit stays that of the
// textbook elimination, on normal matrices with and without a constraint border and on
// a dense matrix.
TEST(MatrixUtil, InverseKeepsTheBitsOfThePlainElimination) {
  ExpectPlainInverseBits(RandomNormal(60, 0, 1));
  ExpectPlainInverseBits(RandomNormal(80, 5, 3));
  ExpectPlainInverseBits(RandomNormal(7, 2, 5));
  matrix<long double> dense(30, 30);
  for (long i = 0; i < 30; ++i)
    for (long k = 0; k < 30; ++k) dense(i, k) = std::sin(1.0L + 7 * i + 3 * k) + (i == k ? 8 : 0);
  ExpectPlainInverseBits(dense);
}

TEST(MatrixUtil, InverseOfLeadingBlock) {
  matrix<long double> a = M3({2, 0, 9, 0, 4, 9, 9, 9, 9}, 3, 3);
  matrix<long double> ai = inv(a, 2);
  ASSERT_EQ(ai.NRow(), 2);
  EXPECT_EQ(ai(0, 0), 0.5L);
  EXPECT_EQ(ai(1, 1), 0.25L);
  EXPECT_EXIT_COUT(
      inv(a, 4),
      ErrorBanner("Function:   inv\nDimension of submatrix inproper:  [   -1,   -1]\n\n"));
}

TEST(MatrixUtil, InverseOfOneByOneZeroIsInfiniteAndNotFlagged) {
  matrix<long double> a(1, 1, 0.0L);
  invns::IsSingular = false;
  matrix<long double> ai = inv(a);
  EXPECT_TRUE(std::isinf(static_cast<double>(ai(0, 0))));
  EXPECT_FALSE(invns::IsSingular);
}

TEST(MatrixUtil, ZeroColumnBelowDiagonalReturnsQuietlySingular) {
  // Column 0 is zero: the first pivot is zero after the search.
  matrix<long double> a = M3({0, 1, 2, 0, 3, 4, 0, 5, 7}, 3, 3);
  testing::internal::CaptureStdout();
  inv(a);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_TRUE(invns::IsSingular);
}

TEST(MatrixUtil, ZeroLastPivotWarnsSingular) {
  matrix<long double> a = M3({1, 2, 2, 4}, 2, 2);
  testing::internal::CaptureStdout();
  inv(a);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(invns::IsSingular);
  EXPECT_EQ(out, "\n" + kStars +
                     "\nMATRIX::WARNING:\n\tFunction:   inv\nMatrix is SINGULAR:          0 "
                     "10**-15     1\n\n" +
                     kStars + "\n");
}

TEST(MatrixUtil, InverseShapeErrors) {
  matrix<long double> a(2, 3, 1.0L), e;
  EXPECT_EXIT_COUT(inv(a),
                   ErrorBanner("Function:   inv\nMatrix is not square:  [    2,    3]\n\n"));
  EXPECT_EXIT_COUT(inv(e),
                   ErrorBanner("Function:   inv\nMatrix is not defined:  [    0,    0]\n\n"));
}

TEST(MatrixUtil, PivotTiesKeepUpperRow) {
  // |1| and |-1| tie in column 0: no swap, so elimination uses row 0.
  matrix<long double> a = M3({1, 2, -1, 3}, 2, 2);
  matrix<long double> ai = inv(a);
  matrix<long double> e = a * ai;
  EXPECT_NEAR(static_cast<double>(e(0, 0)), 1.0, 1e-18);
  EXPECT_NEAR(static_cast<double>(e(1, 0)), 0.0, 1e-18);
}

TEST(MatrixUtil, SortIsStableWithIndices) {
  matrix<long double> v = M3({3, 1, 3, 0, 1}, 5, 1);
  matrix<long> ix;
  matrix<long double> s = sort(v, ix);
  long double expect[] = {0, 1, 1, 3, 3};
  long expectIx[] = {3, 1, 4, 0, 2};
  for (long k = 0; k < 5; k++) {
    EXPECT_EQ(s(k), expect[k]);
    EXPECT_EQ(ix(k), expectIx[k]);
  }
  sortns::sort = sortns::DISC;
  s = sort(v, ix);
  sortns::sort = sortns::ASC;
  EXPECT_EQ(s(0), 3.0L);
  EXPECT_EQ(ix(0), 0);
  EXPECT_EQ(ix(1), 2);
}

TEST(MatrixUtil, UniqList) {
  matrix<short> v(4, 1);
  v(0) = 5, v(1) = 3, v(2) = 5, v(3) = 1;
  matrix<short> u = UniqList(v);
  ASSERT_EQ(u.NRow(), 3);
  EXPECT_EQ(u(0), 1);
  EXPECT_EQ(u(1), 3);
  EXPECT_EQ(u(2), 5);
  matrix<short> empty;
  EXPECT_EXIT_COUT(UniqList(empty),
                   ErrorBanner("Operator:   ()\nMatrix is not set:  [    0,    0]\n\n"));
}

TEST(MatrixUtil, Subnorm) {
  matrix<long double> v = M3({-3, 2}, 2, 1);
  normns::norm = normns::INF;
  EXPECT_EQ(subnorm(v, 2, 0.0L), 3.0L);
  normns::norm = normns::MINABS;
  EXPECT_EQ(subnorm(v, 2, 0.0L), 2.0L);
  normns::norm = normns::NORM1;
  EXPECT_EQ(subnorm(v, 2, 0.0L), 5.0L);
  normns::norm = normns::NORMP;
  EXPECT_NEAR(static_cast<double>(subnorm(v, 2, 3.0L)), std::cbrt(35.0), 1e-15);
  normns::norm = normns::NORM2;
  EXPECT_NEAR(static_cast<double>(subnorm(v, 1, 0.0L)), 3.0, 1e-18);
  EXPECT_EXIT_COUT(subnorm(v, 3, 0.0L),
                   ErrorBanner("Function:   subnorm\nNumber of elements for subnorm greater than "
                               "vector size:  [    2,    1] -> n =     3\n\n"));
  matrix<long double> e;
  EXPECT_EXIT_COUT(
      subnorm(e, 0, 0.0L),
      ErrorBanner("Function:   subnorm\nMatrix/Vector is not defined:  [    0,    0]\n\n"));
}

TEST(MatrixUtil, SubnormWarnings) {
  matrix<long double> m(2, 2, 1.0L);
  testing::internal::CaptureStdout();
  EXPECT_EQ(subnorm(m, 2, 0.0L), 0.0L);
  normns::norm = 7;
  matrix<long double> v(2, 1, 1.0L);
  subnorm(v, 2, 0.0L);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(normns::norm, normns::NORM2);
  EXPECT_EQ(out, "\n" + kStars +
                     "\nMATRIX::WARNING:\n\tFunction:   norm\nMatrix norm is not evaluated!\n\n" +
                     kStars + "\nContinuing program...\n\n" + "\n" + kStars +
                     "\nMATRIX::WARNING:\n\tFunction:   norm\nNORM type is not properly set - "
                     "Using default NORM2!\n\n" +
                     kStars + "\nContinuing program...\n\n");
}
