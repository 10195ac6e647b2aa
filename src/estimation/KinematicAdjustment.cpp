#include "estimation/KinematicAdjustment.h"

#include <cmath>

#include "core/matrixUtil.h"
#include "estimation/EpochTropoDesign.h"
#include "estimation/Tervan_FixAmbiguities.h"

namespace {

// Clock of the epoch solution for a satellite's system: 3 GPS, 4 GLONASS, 5 Galileo.
int ClockIndex(const TervanC& tc, short prn) {
  if (prn >= 1 && prn <= 99) return tc.isGPS ? 3 : -1;
  if (prn >= 101 && prn <= 199) return tc.isGLN ? 4 : -1;
  if (prn >= 201 && prn <= 299) return tc.isGAL ? 5 : -1;
  return -1;
}

bool IsSystemOffset(const TervanC& tc, long j) {
  for (int s = 0; s < 3; ++s)
    if (tc.ixDTsys[s] == j) return true;
  return false;
}

// Ambiguities of the double differences fixed to integers: the track rests on them,
// so they stay out of the adjustment (the others, GLONASS for one, are adjusted).
std::vector<bool> FixedAmbiguities(const TervanC& tc, long nunk) {
  std::vector<bool> fixed(nunk, false);
  if (!tc.isAmbFixed || tc.xFixCorr.NRow() < nunk) return fixed;
  for (int band : {1, 2, 3})
    for (const AmbDoubleDifference& d : FormDoubleDifferences(tc, band)) {
      if (d.ix < 0 || d.ixRef < 0 || d.ix >= nunk || d.ixRef >= nunk) continue;
      const long double v = d.value + (tc.xFixCorr(d.ix) - tc.xFixCorr(d.ixRef)) * d.scale;
      if (std::fabs(v - std::round(v)) < 1e-3L) fixed[d.ix] = fixed[d.ixRef] = true;
    }
  return fixed;
}

void AddFloat(KinObs& o, long g, long double a) {
  if (g < 0 || o.nf >= 14) return;
  o.g[o.nf] = g;
  o.a[o.nf++] = a;
}

}  // namespace

bool EpochSolvable(const std::vector<KinObs>& obs) {
  long nsys[3] = {0, 0, 0};
  for (const KinObs& o : obs) ++nsys[o.ixT - 3];
  const long n = static_cast<long>(obs.size());
  return n >= 4 && n >= 3 + (nsys[0] > 0) + (nsys[1] > 0) + (nsys[2] > 0);
}

KinematicAdjustment::KinematicAdjustment(TervanC& tc, const std::vector<SolvedObsType>& types)
    : tc_(tc), types_(types) {
  const long nunk = tc.NUnk;
  if (nunk <= 3 || tc.IsUnkOK.Length() < nunk) return;
  param_.assign(nunk, -1);
  const std::vector<bool> fixed = FixedAmbiguities(tc, nunk);
  for (long j = 3; j < nunk; ++j)
    if (tc.IsUnkOK(j) && !IsSystemOffset(tc, j) && !fixed[j]) param_[j] = n_++;
  // code-bias sums of the static solution's border that reach an adjusted bias
  for (long r = 0; r < tc.ndcbConstr && nunk + r < tc.NFin.NRow(); ++r) {
    bool any = false;
    for (long j = 3; j < nunk; ++j) any = any || (param_[j] >= 0 && tc.NFin(nunk + r, j) != 0);
    nConstr_ += any;
  }
}

long KinematicAdjustment::Parameter(long unknown) const {
  return unknown >= 0 && unknown < static_cast<long>(param_.size()) ? param_[unknown] : -1;
}

std::vector<KinObs> KinematicAdjustment::Epoch(long e, long i0) const {
  std::vector<KinObs> obs;
  const EpochTropoDesign tropo(tc_, e);  // troposphere slots of the epoch's design rows
  for (short s = 0; s < tc_.sdd.GetNSatEpoch(e); ++s) {
    const long i = i0 + s;
    const short prn = tc_.sdd.GetRecSat(i);
    const int ixT = ClockIndex(tc_, prn);
    if (ixT < 0) continue;
    for (const SolvedObsType& t : types_) {
      if (!(*t.used)(i) || (*t.excluded)(i)) continue;
      KinObs o;
      for (int c = 0; c < 3; ++c) o.b[c] = tc_.mB(i, c);
      o.ixT = ixT;
      o.p = ObsWeight(tc_, t, i, prn);
      const long unknown = ParameterUnknown(tc_, t, e, prn);
      o.f = FinalMisclosure(tc_, t, i, prn, tropo, unknown);
      if (tropo.Zenith()) {  // without nodes at the epoch no slot holds an unknown
        long double B[NSlots];
        long iB[NSlots];
        tropo.Fill(tc_, i, B, iB);
        for (int k = EpochTropoDesign::sZB; k < NSlots; ++k) AddFloat(o, Parameter(iB[k]), B[k]);
      }
      AddFloat(o, Parameter(unknown), -1.0L);
      obs.push_back(o);
    }
  }
  return obs;
}

KinematicAdjustment::Block KinematicAdjustment::Normals(const std::vector<KinObs>& obs) const {
  Block b;
  std::vector<std::vector<long>> at(obs.size());
  for (size_t r = 0; r < obs.size(); ++r)
    for (int k = 0; k < obs[r].nf; ++k) {
      long m = 0;
      while (m < static_cast<long>(b.local.size()) && b.local[m] != obs[r].g[k]) ++m;
      if (m == static_cast<long>(b.local.size())) b.local.push_back(obs[r].g[k]);
      at[r].push_back(m);
    }
  const long nl = static_cast<long>(b.local.size());
  b.N22.Resize(6, 6, 0.0L);
  b.t2.Resize(6, 1, 0.0L);
  b.A.Resize(6, nl > 0 ? nl : 1, 0.0L);
  b.N11.Resize(nl > 0 ? nl : 1, nl > 0 ? nl : 1, 0.0L);
  b.t1.Resize(nl > 0 ? nl : 1, 1, 0.0L);
  for (size_t r = 0; r < obs.size(); ++r) {
    const KinObs& o = obs[r];
    long double c[6] = {o.b[0], o.b[1], o.b[2], 0, 0, 0};
    c[o.ixT] = -1.0L;
    for (int k = 0; k < 6; ++k) {
      b.t2(k) += c[k] * o.p * o.f;
      for (int l = 0; l < 6; ++l) b.N22(k, l) += c[k] * c[l] * o.p;
      for (int m = 0; m < o.nf; ++m) b.A(k, at[r][m]) += c[k] * o.a[m] * o.p;
    }
    for (int m = 0; m < o.nf; ++m) {
      b.t1(at[r][m]) += o.a[m] * o.p * o.f;
      for (int n = 0; n < o.nf; ++n) b.N11(at[r][m], at[r][n]) += o.a[m] * o.a[n] * o.p;
    }
  }
  for (int k = 0; k < 6; ++k)
    if (std::fabs(b.N22(k, k)) < 1e-6L) b.N22(k, k) = 1.0L;
  return b;
}

// Eliminates the epoch's position and clocks: N11 - A' Q22 A, t1 - A' Q22 t2.
void KinematicAdjustment::Reduce(const Block& b) {
  invns::IsSingular = false;
  const matrix<long double> Q22 = inv(b.N22, -1);
  if (invns::IsSingular) return;
  const long nl = static_cast<long>(b.local.size());
  for (long m = 0; m < nl; ++m) {
    long double w[6];
    for (int k = 0; k < 6; ++k) {
      w[k] = 0;
      for (int l = 0; l < 6; ++l) w[k] += Q22(k, l) * b.A(l, m);
    }
    long double tm = b.t1(m);
    for (int k = 0; k < 6; ++k) tm -= w[k] * b.t2(k);
    t_(b.local[m]) += tm;
    for (long n = 0; n < nl; ++n) {
      long double v = b.N11(m, n);
      for (int k = 0; k < 6; ++k) v -= w[k] * b.A(k, n);
      N_(b.local[m], b.local[n]) += v;
    }
  }
}

// The BASE zenith delays keep their pull toward the a-priori value; each system's
// code biases keep their zero sum.
void KinematicAdjustment::Constrain() {
  if (tc_.ifEstTropo && tc_.ifEstTropoB && tc_.ifTropoSigma && tc_.TropoSigma > 0) {
    const long double w = (tc_.sig0 / tc_.TropoSigma) * (tc_.sig0 / tc_.TropoSigma);
    for (long k = 0; k < tc_.nTropoUnkB && k < tc_.ixTropoB.Length(); ++k) {
      const long g = Parameter(tc_.ixTropoB(k));
      if (g < 0) continue;
      N_(g, g) += w;
      t_(g) -= w * tc_.xTropoB(k);
    }
  }
  const long nunk = tc_.NUnk;
  long row = n_;
  for (long r = 0; r < tc_.ndcbConstr && nunk + r < tc_.NFin.NRow(); ++r) {
    bool any = false;
    for (long j = 3; j < nunk; ++j) {
      const long g = Parameter(j);
      if (g < 0 || tc_.NFin(nunk + r, j) == 0) continue;
      N_(row, g) = N_(g, row) = tc_.NFin(nunk + r, j);
      any = true;
    }
    row += any;
  }
  for (long g = 0; g < n_; ++g)
    if (std::fabs(N_(g, g)) < 1e-6L) N_(g, g) = 1.0L;
}

bool KinematicAdjustment::Solve() {
  if (n_ == 0) return false;
  const long dim = n_ + nConstr_;
  N_.Resize(dim, dim, 0.0L);
  t_.Resize(dim, 1, 0.0L);
  long i0 = 0;
  for (long e = 0; e < tc_.sdd.GetNEpoch(); ++e) {
    const std::vector<KinObs> obs = Epoch(e, i0);
    i0 += tc_.sdd.GetNSatEpoch(e);
    if (EpochSolvable(obs)) Reduce(Normals(obs));
  }
  Constrain();
  invns::IsSingular = false;
  Q_ = inv(N_, -1);
  if (invns::IsSingular) {
    Q_ = matrix<long double>();
    return false;
  }
  dy_ = Q_ * t_;
  return true;
}

long double KinematicAdjustment::Misclosure(const KinObs& o) const {
  long double f = o.f;
  if (dy_.Length() > 0)
    for (int k = 0; k < o.nf; ++k) f -= o.a[k] * dy_(o.g[k]);
  return f;
}

void KinematicAdjustment::AddFloatCofactors(const std::vector<KinObs>& obs,
                                            matrix<long double>& Q) const {
  if (dy_.Length() == 0) return;
  const Block b = Normals(obs);
  const long nl = static_cast<long>(b.local.size());
  // W = Q22 A (6 x local), then Q += W Qyy W'
  matrix<long double> W(6, nl > 0 ? nl : 1, 0.0L);
  for (int k = 0; k < 6; ++k)
    for (long m = 0; m < nl; ++m)
      for (int l = 0; l < 6; ++l) W(k, m) += Q(k, l) * b.A(l, m);
  // T = Qyy W' (local x 6), then Q += W T
  matrix<long double> T(nl > 0 ? nl : 1, 6, 0.0L);
  for (long m = 0; m < nl; ++m)
    for (long n = 0; n < nl; ++n) {
      const long double q = Q_(b.local[m], b.local[n]);
      for (int l = 0; l < 6; ++l) T(m, l) += q * W(l, n);
    }
  for (int k = 0; k < 6; ++k)
    for (int l = 0; l < 6; ++l)
      for (long m = 0; m < nl; ++m) Q(k, l) += W(k, m) * T(m, l);
}
