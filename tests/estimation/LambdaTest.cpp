// The integer search against plain enumeration of every integer vector that can
// compete, on small random positive-definite problems.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/matrixUtil.h"
#include "estimation/Lambda.h"

namespace {

struct Problem {
  matrix<long double> a, Q, Qinv;
};

// Q = A A' + eps I with A random: strongly correlated for small eps, like the
// ambiguities of a short observation span.
Problem RandomProblem(std::mt19937_64& g, long n) {
  std::uniform_real_distribution<double> u(-1.0, 1.0), shift(-40.0, 40.0), eps(0.002, 0.05);
  Problem p;
  matrix<long double> A(n, n);
  for (long i = 0; i < n; ++i)
    for (long j = 0; j < n; ++j) A(i, j) = u(g);
  p.Q.Resize(n, n, 0.0L);
  const long double e = eps(g);
  for (long i = 0; i < n; ++i)
    for (long j = 0; j < n; ++j) {
      long double s = i == j ? e : 0.0L;
      for (long k = 0; k < n; ++k) s += A(i, k) * A(j, k);
      p.Q(i, j) = s;
    }
  p.a.Resize(n, 1, 0.0L);
  for (long i = 0; i < n; ++i) p.a(i) = shift(g);
  p.Qinv = inv(p.Q, -1);
  return p;
}

long double Norm(const Problem& p, const std::vector<long>& z) {
  const long n = p.a.NRow();
  long double s = 0.0L;
  for (long i = 0; i < n; ++i)
    for (long j = 0; j < n; ++j) s += (z[i] - p.a(i)) * p.Qinv(i, j) * (z[j] - p.a(j));
  return s;
}

// The two smallest norms over every integer vector within reach of bound: each
// entry of a vector of norm <= bound lies within sqrt(bound Q(i,i)) of its float value.
void Enumerate(const Problem& p, long double bound, long double& d1, long double& d2,
               std::vector<long>& z1, std::vector<long>& z2) {
  const long n = p.a.NRow();
  std::vector<long> lo(n), hi(n), z(n);
  for (long i = 0; i < n; ++i) {
    const long double r = std::sqrt(bound * p.Q(i, i)) + 1e-9L;
    lo[i] = static_cast<long>(std::ceil(p.a(i) - r));
    hi[i] = static_cast<long>(std::floor(p.a(i) + r));
    z[i] = lo[i];
  }
  d1 = d2 = INFINITY;
  for (;;) {
    const long double d = Norm(p, z);
    if (d < d1) {
      d2 = d1, z2 = z1, d1 = d, z1 = z;
    } else if (d < d2) {
      d2 = d, z2 = z;
    }
    long i = 0;
    while (i < n && ++z[i] > hi[i]) z[i] = lo[i], ++i;
    if (i == n) break;
  }
}

TEST(Lambda, SearchFindsTheSameBestAndSecondBestAsEnumeration) {
  std::mt19937_64 g(20261209);
  for (int trial = 0; trial < 60; ++trial) {
    const long n = 2 + trial % 4;
    const Problem p = RandomProblem(g, n);
    Lambda lam(p.a, p.Q);
    ASSERT_TRUE(lam.IsValid());
    std::vector<std::vector<long>> best;
    std::vector<long double> dist;
    ASSERT_TRUE(lam.Search(2, best, dist));
    ASSERT_EQ(best.size(), 2u);
    long double d1, d2;
    std::vector<long> z1, z2;
    Enumerate(p, dist[1] * 1.0001L, d1, d2, z1, z2);
    EXPECT_EQ(best[0], z1) << "trial " << trial;
    EXPECT_EQ(best[1], z2) << "trial " << trial;
    EXPECT_NEAR(dist[0], d1, 1e-6L * (1 + d1));
    EXPECT_NEAR(dist[1], d2, 1e-6L * (1 + d2));
  }
}

// The decorrelated entries are integer combinations of the originals whose float
// values follow from the same combinations, and a search on a trailing subset
// returns the best integers of those entries alone.
TEST(Lambda, TrailingSubsetIsSearchedInItsOwnMetric) {
  std::mt19937_64 g(7);
  const Problem p = RandomProblem(g, 5);
  Lambda lam(p.a, p.Q);
  ASSERT_TRUE(lam.IsValid());
  const long m = 2, n = 5;
  Problem sub;
  sub.a.Resize(m, 1, 0.0L);
  sub.Q.Resize(m, m, 0.0L);
  std::vector<std::vector<long>> c;
  for (long k = n - m; k < n; ++k) c.push_back(lam.Combination(k));
  for (long i = 0; i < m; ++i) {
    long double v = 0;
    for (long j = 0; j < n; ++j) v += c[i][j] * p.a(j);
    EXPECT_NEAR(v, lam.Decorrelated(n - m + i), 1e-9L);
    sub.a(i) = v;
    for (long k = 0; k < m; ++k) {
      long double q = 0;
      for (long r = 0; r < n; ++r)
        for (long s = 0; s < n; ++s) q += c[i][r] * p.Q(r, s) * c[k][s];
      sub.Q(i, k) = q;
    }
  }
  sub.Qinv = inv(sub.Q, -1);
  std::vector<std::vector<long>> best;
  std::vector<long double> dist;
  ASSERT_TRUE(lam.Search(2, best, dist, m));
  long double d1, d2;
  std::vector<long> z1, z2;
  Enumerate(sub, dist[1] * 1.0001L, d1, d2, z1, z2);
  EXPECT_EQ(best[0], z1);
  EXPECT_EQ(best[1], z2);
  EXPECT_GT(lam.SuccessRate(1), lam.SuccessRate(n));
}

TEST(Lambda, RefusesACovarianceThatIsNotPositiveDefinite) {
  matrix<long double> a(2, 1, 0.3L), Q(2, 2, 1.0L);  // rank 1
  EXPECT_FALSE(Lambda(a, Q).IsValid());
  Q(1, 1) = NAN;
  EXPECT_FALSE(Lambda(a, Q).IsValid());
}

}  // namespace
