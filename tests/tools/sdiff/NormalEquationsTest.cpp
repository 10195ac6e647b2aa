#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/matrix.h"
#include "core/matrixUtil.h"
#include "sdiff/NormalEquations.h"

// The point positioning's receiver clocks are written to the picosecond: the solution
// must have the bits of the general inverse's, for well and badly conditioned systems
// of four to six unknowns (a unit direction, a clock and system offsets).
TEST(NormalEquations, SolvesWithTheBitsOfTheGeneralInverse) {
  std::mt19937_64 g(3);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (int trial = 0; trial < 3000; ++trial) {
    const int n = 4 + trial % 3;
    const int obs = n + 1 + trial % 9;
    NormalEquations fast(n);
    matrix<long double> N(n, n), b(n, 1);
    for (int k = 0; k < obs; ++k) {
      long double a[6] = {u(g), u(g), u(g), 1.0L, 0.0L, 0.0L};
      if (n > 4 && k % 3 == 1) a[4] = 1.0L;
      if (n > 5 && k % 3 == 2) a[5] = 1.0L;
      const long double w = 0.1L + u(g) * u(g), l = 100.0L * u(g);
      fast.Add(a, w, l);
      for (int i = 0; i < n; ++i) {
        b(i, 0) += w * a[i] * l;
        for (int j = 0; j < n; ++j) N(i, j) += w * a[i] * a[j];
      }
    }
    long double x[6];
    const bool solved = fast.Solve(x);
    const matrix<long double> Q = inv(N);
    ASSERT_EQ(solved, !invns::IsSingular);
    if (!solved) continue;
    const matrix<long double> ref = Q * b;
    for (int i = 0; i < n; ++i) ASSERT_EQ(x[i], ref(i, 0)) << trial << " " << i;
  }
  // Two observations of five unknowns: singular.
  NormalEquations few(5);
  const long double a[6] = {0.6L, 0.0L, 0.8L, 1.0L, 0.0L, 0.0L};
  few.Add(a, 1.0L, 3.0L);
  few.Add(a, 2.0L, 1.0L);
  long double x[6];
  EXPECT_FALSE(few.Solve(x));
}

// The code-range rows of the point positioning, summed cell by cell, give the bits of
// the general rows added one by one: directions with components of exactly 0 and 1,
// with and without system offsets, in one or two batches, after a general row, and
// rows that are not finite.
TEST(NormalEquations, RangeRowsAddAsTheGeneralRows) {
  std::mt19937_64 g(5);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (int trial = 0; trial < 2000; ++trial) {
    const int n = 4 + trial % 3;
    NormalEquations general(n), range(n);
    if (trial % 4 == 3) {
      // A general row first, whose products in the clock column are not mirrored.
      const long double a[6] = {u(g), u(g), u(g), 0.3L, 0.7L, 1.3L};
      general.Add(a, 0.7L, 3.0L);
      range.Add(a, 0.7L, 3.0L);
    }
    std::vector<NormalEquations::RangeRow> rows;
    for (int k = 0; k < n + 1 + trial % 7; ++k) {
      NormalEquations::RangeRow r{{u(g), u(g), u(g)}, 3, -1, 0.1L + u(g) * u(g), 100.0L * u(g)};
      if (k % 5 == 1) r.d[k % 3] = 0.0L;
      if (k % 7 == 2) r.d[(k + 1) % 3] = 1.0L;
      if (trial % 100 == 7 && k == 2) r.d[1] = INFINITY;
      if (n > 4 && k % 3 != 0) r.offset = 3 + (k % 3 == 1 || n == 5 ? 1 : 2);
      long double a[6] = {r.d[0], r.d[1], r.d[2], 1.0L, 0.0L, 0.0L};
      if (r.offset >= 0) a[r.offset] = 1.0L;
      general.Add(a, r.w, r.l);
      rows.push_back(r);
    }
    const size_t first = trial % 2 ? rows.size() / 2 : rows.size();
    range.AddRanges(rows.data(), first);
    range.AddRanges(rows.data() + first, rows.size() - first);
    long double x[6], y[6];
    ASSERT_EQ(general.Solve(x), range.Solve(y)) << trial;
    for (int i = 0; i < n; ++i)
      ASSERT_TRUE(x[i] == y[i] || (std::isnan(x[i]) && std::isnan(y[i]))) << trial << " " << i;
  }
}
