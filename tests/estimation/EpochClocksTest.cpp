#include <gtest/gtest.h>

#include <random>

#include "core/matrixUtil.h"
#include "estimation/EpochClocks.h"
#include "estimation/Tervan_ProcStatic.h"

namespace {

// Observations of a small problem: each epoch's rows touch a few of the unknowns.
struct Row {
  long e;
  long double B[NSlots];
  long iB[NSlots];
  long double f, p;
};

std::vector<Row> Problem(long nunk, long neph, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::uniform_int_distribution<long> pick(0, nunk - 1);
  std::vector<Row> rows;
  for (long e = 0; e < neph; ++e)
    for (int k = 0; k < 6; ++k) {
      Row r{e, {}, {}, u(gen), 0.5L + u(gen) * 0.4L};
      for (int s = 0; s < NSlots; ++s) r.iB[s] = -1;
      r.iB[0] = 0, r.iB[1] = 1, r.iB[2] = 2;  // every row sees the coordinates
      r.iB[5] = 3 + (e + k) % (nunk - 3);     // and one of the other unknowns
      if (k % 2) r.iB[8] = 3 + pick(gen) % (nunk - 3);
      for (int s = 0; s < NSlots; ++s) r.B[s] = r.iB[s] >= 0 ? u(gen) : 0.0L;
      rows.push_back(r);
    }
  return rows;
}

// The dense formulation: one row of N21 per epoch over all unknowns.
struct Dense {
  matrix<long double> N, t, Nt, tt, N21, N22, t2;
  Dense(long nunk, long neph)
      : N(nunk, nunk, 0.0L),
        t(nunk, 1, 0.0L),
        Nt(nunk, nunk, 0.0L),
        tt(nunk, 1, 0.0L),
        N21(neph, nunk, 0.0L),
        N22(neph, 1, 0.0L),
        t2(neph, 1, 0.0L) {}
  void Add(Row r) {
    N22(r.e) += r.p;
    t2(r.e) -= r.f * r.p;
    for (int i = 0; i < NSlots; ++i) {
      if (r.iB[i] < 0) continue;
      t(r.iB[i]) += r.B[i] * r.p * r.f;
      N21(r.e, r.iB[i]) -= r.B[i] * r.p;
      for (int j = 0; j < NSlots; ++j)
        if (r.iB[j] >= 0) N(r.iB[i], r.iB[j]) += r.B[i] * r.B[j] * r.p;
    }
  }
  void Eliminate(long e) {
    if (!(std::fabs(N22(e)) > 1e-12L)) return;
    for (long i = 0; i < N.NRow(); ++i) {
      tt(i) += N21(e, i) * t2(e) / N22(e);
      for (long j = i; j < N.NRow(); ++j) Nt(i, j) += N21(e, i) * N21(e, j) / N22(e);
    }
  }
  long double Clock(long e, const matrix<long double>& x) const {
    long double s = 0.0L;
    for (long k = 0; k < N.NRow(); ++k) s += N21(e, k) * x(k);
    return (t2(e) - s) / N22(e);
  }
};

struct Sparse {
  matrix<long double> N, t, Nt, tt;
  EpochClocks clk;
  Sparse(long nunk, long neph)
      : N(nunk, nunk, 0.0L), t(nunk, 1, 0.0L), Nt(nunk, nunk, 0.0L), tt(nunk, 1, 0.0L) {
    clk.Reset(nunk, neph);
  }
  void Run(std::vector<Row>& rows) {
    size_t k = 0;
    for (long e = 0; k < rows.size(); ++e) {
      clk.Begin(e);
      for (; k < rows.size() && rows[k].e == e; ++k)
        SetCRDNormalSystem(N, t, rows[k].B, rows[k].f, rows[k].p, rows[k].iB, clk);
      clk.End();
      SetElimNormalSystem(Nt, tt, clk, e);
    }
  }
};

matrix<long double> Reduced(const matrix<long double>& N, const matrix<long double>& Nt,
                            const matrix<long double>& t, const matrix<long double>& tt) {
  const long n = N.NRow();
  matrix<long double> R(n, n), r(n, 1);
  for (long i = 0; i < n; ++i) {
    r(i) = t(i) - tt(i);
    for (long j = 0; j <= i; ++j) R(i, j) = R(j, i) = N(j, i) - Nt(j, i);
  }
  return inv(R) * r;
}

TEST(EpochClocks, SparseEliminationEqualsTheDenseBitForBit) {
  const long nunk = 9, neph = 40;
  std::vector<Row> rows = Problem(nunk, neph, 7);
  Dense d(nunk, neph);
  for (const Row& r : rows) d.Add(r);
  for (long e = 0; e < neph; ++e) d.Eliminate(e);
  Sparse s(nunk, neph);
  s.Run(rows);
  for (long i = 0; i < nunk; ++i) {
    EXPECT_EQ(s.t(i), d.t(i));
    EXPECT_EQ(s.tt(i), d.tt(i));
    for (long j = i; j < nunk; ++j) EXPECT_EQ(s.N(i, j), d.N(i, j));
    for (long j = i; j < nunk; ++j) EXPECT_EQ(s.Nt(i, j), d.Nt(i, j)) << i << " " << j;
  }
  const matrix<long double> x = Reduced(s.N, s.Nt, s.t, s.tt);
  for (long e = 0; e < neph; ++e) {
    EXPECT_EQ(s.clk.N22(e), d.N22(e));
    EXPECT_EQ(s.clk.T2(e), d.t2(e));
    EXPECT_EQ(s.clk.Solve(e, x), d.Clock(e, x));
  }
}

// The pre-elimination solves the full system with one explicit clock per epoch.
TEST(EpochClocks, ReductionEqualsTheFullSystemWithExplicitClocks) {
  const long nunk = 9, neph = 30;
  std::vector<Row> rows = Problem(nunk, neph, 11);
  Sparse s(nunk, neph);
  s.Run(rows);
  const matrix<long double> x = Reduced(s.N, s.Nt, s.t, s.tt);

  const long n = nunk + neph;
  matrix<long double> N(n, n, 0.0L), t(n, 1, 0.0L);
  long double fPf = 0.0L;
  for (const Row& r : rows) {
    std::vector<std::pair<long, long double>> a;
    for (int k = 0; k < NSlots; ++k)
      if (r.iB[k] >= 0) a.push_back({r.iB[k], r.B[k]});
    a.push_back({nunk + r.e, -1.0L});
    for (auto& i : a) {
      t(i.first) += i.second * r.p * r.f;
      for (auto& j : a) N(i.first, j.first) += i.second * j.second * r.p;
    }
    fPf += r.p * r.f * r.f;
  }
  const matrix<long double> full = inv(N) * t;
  for (long i = 0; i < nunk; ++i) EXPECT_NEAR(x(i), full(i), 1e-13L);
  for (long e = 0; e < neph; ++e) EXPECT_NEAR(s.clk.Solve(e, x), full(nunk + e), 1e-13L);

  long double vtpv = fPf;
  for (long i = 0; i < nunk; ++i) vtpv -= (s.t(i) - s.tt(i)) * x(i);
  for (long e = 0; e < neph; ++e) vtpv -= s.clk.T2(e) * s.clk.T2(e) / s.clk.N22(e);
  long double fullVtpv = fPf;
  for (long i = 0; i < n; ++i) fullVtpv -= t(i) * full(i);
  EXPECT_NEAR(vtpv, fullVtpv, 1e-13L);
}

// An epoch without observations is neither eliminated nor solved.
TEST(EpochClocks, EmptyEpochIsLeftOut) {
  EpochClocks clk;
  clk.Reset(3, 2);
  clk.Begin(0);
  clk.End();
  EXPECT_FALSE(clk.IsSolved(0));
  matrix<long double> Nt(3, 3, 0.0L), tt(3, 1, 0.0L);
  clk.Eliminate(0, Nt, tt);
  EXPECT_EQ(Nt, matrix<long double>(3, 3, 0.0L));
}

}  // namespace
