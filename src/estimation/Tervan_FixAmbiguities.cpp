#include "estimation/Tervan_FixAmbiguities.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <sstream>

#include "core/ProgramOutput.h"
#include "core/matrixUtil.h"
#include "estimation/Lambda.h"
#include "estimation/Tervan_ResultTables.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/g_lg.h"
#include "gnss/mGNSSc.h"
#include "preprocess/Tervan_SetAmbiguities.h"

using std::setw;

namespace {

// Smallest bootstrapped success rate of a fixed set: the ratio test alone accepts
// lucky draws of a float solution too weak to carry any integers.
constexpr long double kMinSuccess = 0.999L;

// 0 GPS, 1 GLONASS, 2 Galileo; -1 for a system not processed.
int System(const TervanC& tc, short prn) {
  if (satnum::IsGPS(prn)) return tc.isGPS ? 0 : -1;
  if (satnum::IsGLONASS(prn)) return tc.isGLN ? 1 : -1;
  if (satnum::IsGALILEO(prn)) return tc.isGAL ? 2 : -1;
  return -1;
}

// Wavelength of the band for the satellite [m]; 1 for L3 (metres); 0 for a GLONASS
// slot without a channel table row.
long double Wavelength(short prn, int band) {
  if (band == 3) return 1.0L;
  if (satnum::IsGLONASS(prn))
    return prn - 101 < GLONASSc::lamb.NRow() ? GLONASSc::lamb(prn - 101, band - 1) : 0.0L;
  if (satnum::IsGALILEO(prn)) return band == 1 ? GALILEOc::lamb1 : GALILEOc::lamb2;
  return band == 1 ? GPSc::lamb1 : GPSc::lamb2;
}

struct Arc {
  long row, ix, first, last, count;
};

// Epochs that two arcs share (negative: the gap between them).
long Overlap(const Arc& a, const Arc& b) {
  return std::min(a.last, b.last) - std::max(a.first, b.first) + 1;
}

// Each arc of the group, from the longest one on, joins the taken arc it overlaps
// longest: (arc, reference) pairs of a spanning tree.
std::vector<std::pair<Arc, Arc>> Tree(std::vector<Arc> arcs) {
  std::vector<std::pair<Arc, Arc>> dd;
  const size_t n = arcs.size();
  if (n < 2) return dd;
  std::stable_sort(arcs.begin(), arcs.end(),
                   [](const Arc& a, const Arc& b) { return a.count > b.count; });
  std::vector<char> taken(n, 0);
  taken[0] = 1;
  for (size_t added = 1; added < n; ++added) {
    size_t bu = 0, bt = 0;
    long best = 0;
    bool any = false;
    for (size_t u = 0; u < n; ++u) {
      if (taken[u]) continue;
      for (size_t t = 0; t < n; ++t) {
        if (!taken[t]) continue;
        const long o = Overlap(arcs[u], arcs[t]);
        if (!any || o > best) bu = u, bt = t, best = o, any = true;
      }
    }
    dd.push_back({arcs[bu], arcs[bt]});
    taken[bu] = 1;
  }
  return dd;
}

const matrix<long>& AmbIndexOf(const TervanC& tc, int band) {
  return band == 1 ? tc.ixAmbL1 : band == 2 ? tc.ixAmbL2 : tc.ixAmbL3;
}
const matrix<long double>& AmbValueOf(const TervanC& tc, int band) {
  return band == 1 ? tc.xAmbL1 : band == 2 ? tc.xAmbL2 : tc.xAmbL3;
}
long AmbCount(const TervanC& tc, int band) {
  const long n = band == 1 ? tc.nAmbL1 : band == 2 ? tc.nAmbL2 : tc.nAmbL3;
  const long avail = std::min({AmbIndexOf(tc, band).Length(), AmbValueOf(tc, band).Length(),
                               tc.AmbSat.Length(), tc.AmbIndex.NRow()});
  return tc.AmbIndex.NCol() < 4 ? 0 : std::min(n, avail);
}

// ---------------------------------------------------------------------------
// Resolution of a set of double differences.

// An integer function of the unknowns fixed by the search: sum of coef * x(ix) equals
// the integer `fixed`; `value` is its float value.
struct FixedFunction {
  std::vector<std::pair<long, long double>> terms;
  long double value = 0.0L;
  long fixed = 0;
};

struct Resolution {
  bool ok = false;
  long nFixed = 0;
  long double ratio = 0.0L;
  std::string note;
  std::vector<FixedFunction> functions;
};

// Quantile of the chi-square distribution with k degrees of freedom at the standard
// normal quantile z (Wilson-Hilferty).
long double Chi2Quantile(long k, long double z) {
  const long double a = 2.0L / (9.0L * k);
  const long double c = 1.0L - a + z * std::sqrt(a);
  return k * c * c * c;
}
// Upper 0.999 quantile.
long double Chi2Quantile999(long k) {
  return Chi2Quantile(k, 3.090232306L);
}

long double RatioOf(const std::vector<long double>& dist) {
  if (dist.size() < 2) return 0.0L;
  if (dist[0] < 1e-12L) return dist[1] > 1e-12L ? 999.99L : 0.0L;
  return std::min(dist[1] / dist[0], 999.99L);
}

std::string Fixed2(long double v) {
  std::ostringstream os;
  os << std::fixed << std::setprecision(2) << v;
  return os.str();
}

// The best candidate of m integers lies within the float solution's own spread: its
// squared distance in the metric of the covariance stays below the chi-square 0.999
// quantile, times kCorrelationAllowance. Unmodelled errors (a troposphere left out)
// bias the float values and put every candidate far away, while the ratio of two
// wrong candidates can still look convincing. The allowance admits the optimism of a
// covariance that treats errors correlated over minutes as independent every epoch.
constexpr long double kCorrelationAllowance = 5.0L;

bool Fits(const std::vector<long double>& dist, long m) {
  return !dist.empty() && dist[0] <= kCorrelationAllowance * Chi2Quantile999(m);
}

// How much the covariance may understate the scatter of the float values: the squared
// distance of the best candidate over the lower 0.1 quantile of the chi-square
// distribution of m entries (at least 1; the best candidate lies nearer than the true
// integers when they are wrong, so a mean would understate it). A float solution
// pulled off its integers by unmodelled errors sits between them, and a success rate
// from the covariance as it stands would call it certain; the fit test tolerates this
// optimism, so the success rate is judged with the covariance scaled up by it.
long double VarianceFactor(const std::vector<long double>& dist, long m) {
  if (m <= 0 || dist.empty()) return 1.0L;
  return std::max(1.0L, dist[0] / Chi2Quantile(m, -1.281551566L));
}

// The decorrelated entries k >= first with the integers z as fixed functions (the
// known parts of the differences are already out of their float values).
void KeepFunctions(const Lambda& lam, const std::vector<AmbDoubleDifference>& dd, long first,
                   const std::vector<long>& z, Resolution& r) {
  for (long k = first; k < lam.Size(); ++k) {
    FixedFunction f;
    const std::vector<long> c = lam.Combination(k);
    for (size_t j = 0; j < dd.size(); ++j) {
      if (c[j] == 0) continue;
      f.terms.push_back({dd[j].ix, c[j] * dd[j].scale});
      f.terms.push_back({dd[j].ixRef, -c[j] * dd[j].scale});
      f.value += c[j] * dd[j].value;
    }
    f.fixed = z[k - first];
    r.functions.push_back(f);
  }
}

// Covariance of the double differences [cycles^2] from the float cofactors.
matrix<long double> DoubleDifferenceCovariance(const TervanC& tc,
                                               const std::vector<AmbDoubleDifference>& dd,
                                               long double s02) {
  const long n = static_cast<long>(dd.size());
  matrix<long double> Q(n, n, 0.0L);
  const matrix<long double>& C = tc.QxxAll;
  for (long i = 0; i < n; ++i)
    for (long j = 0; j <= i; ++j) {
      const AmbDoubleDifference &a = dd[i], &b = dd[j];
      const long double q =
          C(a.ix, b.ix) - C(a.ix, b.ixRef) - C(a.ixRef, b.ix) + C(a.ixRef, b.ixRef);
      Q(i, j) = Q(j, i) = q * a.scale * b.scale * s02;
    }
  return Q;
}

// Why the best candidate of m entries is not accepted; empty when it is. factor: the
// variance factor of the full set, raised to this set's own when that is larger.
std::string Rejection(const TervanC& tc, const Lambda& lam, const std::vector<long double>& dist,
                      long m, long double factor) {
  factor = std::max(factor, VarianceFactor(dist, m));
  if (dist.size() < 2) return "NO SECOND CANDIDATE FOR THE RATIO TEST";
  if (tc.verbose)
    std::cerr << "Tervan::FixAmbiguities():     SET " << m << ": BEST " << dist[0] << " SECOND "
              << dist[1] << " LIMIT " << kCorrelationAllowance * Chi2Quantile999(m)
              << " SUCCESS RATE " << lam.SuccessRate(m) << " SCALED " << lam.SuccessRate(m, factor)
              << '\n';
  const long double ratio = RatioOf(dist);
  if (ratio < tc.AmbRatioThres) return "RATIO " + Fixed2(ratio) + " < " + Fixed2(tc.AmbRatioThres);
  if (!Fits(dist, m)) return "BEST INTEGERS DO NOT FIT THE FLOAT SOLUTION (MODEL ERRORS?)";
  const long double p = lam.SuccessRate(m, factor);
  if (p < kMinSuccess)
    return "SUCCESS RATE " + Fixed2(100.0L * p) + " % < " + Fixed2(100.0L * kMinSuccess) + " %";
  return "";
}

// The full set of the double differences dd (all decorrelated entries) fixed to the
// best candidate of the search of lam.
void KeepAll(const Lambda& lam, const std::vector<AmbDoubleDifference>& dd,
             const std::vector<long>& best, Resolution& r) {
  const long n = lam.Size();
  std::vector<long> z(n, 0);
  for (long k = 0; k < n; ++k) {
    const std::vector<long> c = lam.Combination(k);
    for (long j = 0; j < n; ++j) z[k] += c[j] * best[j];
  }
  KeepFunctions(lam, dd, 0, z, r);
  r.ok = true;
  r.nFixed = n;
}

Lambda SubsetLambda(const std::vector<AmbDoubleDifference>& dd, const matrix<long double>& Q) {
  const long n = static_cast<long>(dd.size());
  matrix<long double> a(n, 1, 0.0L);
  for (long i = 0; i < n; ++i) a(i) = dd[i].value;
  return Lambda(a, Q);
}

// Partial fixing: the worst-determined double differences (largest float variance:
// short arcs, low satellites) leave the set one after the other until the rest passes.
bool FixBestDetermined(const TervanC& tc, const std::vector<AmbDoubleDifference>& dd,
                       const matrix<long double>& Q, long double factor, Resolution& r) {
  const long n = static_cast<long>(dd.size());
  std::vector<long> order(n);
  for (long i = 0; i < n; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](long a, long b) { return Q(a, a) < Q(b, b); });
  // Large sets drop a twentieth at a time: at most 20 trials.
  const long step = std::max(1L, n / 20);
  for (long keep = n - step; keep >= 1; keep -= step) {
    std::vector<AmbDoubleDifference> sub;
    matrix<long double> Qs(keep, keep, 0.0L);
    for (long i = 0; i < keep; ++i) {
      sub.push_back(dd[order[i]]);
      for (long j = 0; j < keep; ++j) Qs(i, j) = Q(order[i], order[j]);
    }
    const Lambda lam = SubsetLambda(sub, Qs);
    std::vector<std::vector<long>> best;
    std::vector<long double> dist;
    if (!lam.IsValid() || !lam.Search(2, best, dist) ||
        !Rejection(tc, lam, dist, keep, factor).empty())
      continue;
    KeepAll(lam, sub, best[0], r);
    r.ratio = RatioOf(dist);
    return true;
  }
  return false;
}

// Partial fixing in the decorrelated space: the trailing entries of z, the largest
// set with a success rate of at least kMinSuccess that passes the tests.
bool FixTrailingEntries(const TervanC& tc, const Lambda& lam,
                        const std::vector<AmbDoubleDifference>& dd, long double factor,
                        Resolution& r) {
  const long n = lam.Size();
  long m = n - 1;
  while (m > 0 && lam.SuccessRate(m, factor) < kMinSuccess) --m;
  std::vector<std::vector<long>> best;
  std::vector<long double> dist;
  for (; m > 0; --m) {
    if (!lam.Search(2, best, dist, m) || !Rejection(tc, lam, dist, m, factor).empty()) continue;
    KeepFunctions(lam, dd, n - m, best[0], r);
    r.ok = true;
    r.nFixed = m;
    r.ratio = RatioOf(dist);
    return true;
  }
  return false;
}

Resolution Resolve(const TervanC& tc, const std::vector<AmbDoubleDifference>& dd) {
  Resolution r;
  const long n = static_cast<long>(dd.size());
  if (n == 0) {
    r.note = "NO DOUBLE DIFFERENCES (FEWER THAN TWO ARCS OF ONE SYSTEM/FREQUENCY)";
    return r;
  }
  const long double s02 = std::max(S0Squared(tc), tc.sig0 * tc.sig0);
  const matrix<long double> Q = DoubleDifferenceCovariance(tc, dd, s02);
  const Lambda lam = SubsetLambda(dd, Q);
  if (!lam.IsValid()) {
    r.note = "COVARIANCE OF THE DOUBLE DIFFERENCES NOT POSITIVE DEFINITE";
    return r;
  }
  std::vector<std::vector<long>> best;
  std::vector<long double> dist;
  std::string full = "SEARCH FAILED";
  long double factor = 1.0L;  // the float solution's optimism, shared by every subset
  if (lam.Search(2, best, dist)) {
    r.ratio = RatioOf(dist);
    factor = VarianceFactor(dist, n);
    full = Rejection(tc, lam, dist, n, factor);
    if (full.empty()) {
      KeepAll(lam, dd, best[0], r);
      r.note = "ALL DOUBLE DIFFERENCES FIXED";
      return r;
    }
  }
  const long double fullRatio = r.ratio;
  if (FixBestDetermined(tc, dd, Q, factor, r) || FixTrailingEntries(tc, lam, dd, factor, r)) {
    r.note = "PARTIAL FIXING; FULL SET: " + full;
    return r;
  }
  r.ratio = fullRatio;
  r.note = full + "; NO SUBSET PASSED THE TESTS";
  return r;
}

// ---------------------------------------------------------------------------
// Conditional adjustment on the fixed functions.

bool ConditionalAdjustment(TervanC& tc, const std::vector<FixedFunction>& g) {
  const long nu = tc.NUnk, m = static_cast<long>(g.size());
  const matrix<long double>& Q = tc.QxxAll;
  matrix<long double> QG(nu, m, 0.0L), M(m, m, 0.0L), dz(m, 1, 0.0L);
  for (long k = 0; k < m; ++k) {
    for (const auto& t : g[k].terms)
      for (long i = 0; i < nu; ++i) QG(i, k) += Q(i, t.first) * t.second;
    dz(k) = g[k].value - g[k].fixed;
  }
  for (long k = 0; k < m; ++k)
    for (long l = 0; l < m; ++l)
      for (const auto& t : g[k].terms) M(k, l) += t.second * QG(t.first, l);
  invns::IsSingular = false;
  const matrix<long double> Mi = inv(M, -1);
  if (invns::IsSingular) return false;
  const matrix<long double> y = Mi * dz;
  tc.xFixCorr.Resize(nu, 1, 0.0L);
  for (long i = 0; i < nu; ++i)
    for (long k = 0; k < m; ++k) tc.xFixCorr(i) -= QG(i, k) * y(k);
  long double add = 0.0L;
  for (long k = 0; k < m; ++k) add += dz(k) * y(k);
  tc.QcrdFix.Resize(3, 3, 0.0L);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      long double s = Q(r, c);
      for (long k = 0; k < m; ++k)
        for (long l = 0; l < m; ++l) s -= QG(r, k) * Mi(k, l) * QG(c, l);
      tc.QcrdFix(r, c) = s;
    }
  tc.RedundancyFix = Redundancy(tc) + m;
  const long double vtPv = std::max(tc.vtPv, 0.0L) + std::max(add, 0.0L);
  tc.s0apostFix = tc.RedundancyFix > 0 ? vtPv / tc.RedundancyFix : 0.0L;
  tc.Delta_RecPosFix = tc.Delta_RecPosEst + xyz(tc.xFixCorr(0), tc.xFixCorr(1), tc.xFixCorr(2));
  return true;
}

void Verbose(const TervanC& tc, const std::string& text) {
  if (tc.verbose) std::cerr << "Tervan::FixAmbiguities():     " << text << '\n';
}

std::vector<AmbDoubleDifference> L1L2DoubleDifferences(const TervanC& tc) {
  std::vector<AmbDoubleDifference> dd;
  const bool l1 = tc.ifL1 && tc.sdh.HasL1();
  const bool l2 = tc.ifL2 && (tc.sdh.HasL2() || tc.sdh.HasL7());
  for (int band : {1, 2}) {
    if (band == 1 ? !l1 : !l2) continue;
    const std::vector<AmbDoubleDifference> b = FormDoubleDifferences(tc, band);
    dd.insert(dd.end(), b.begin(), b.end());
  }
  return dd;
}

// ---------------------------------------------------------------------------
// L3: wide lane from the Melbourne-Wuebbena means, then the narrow lane.

// Wide-lane rounding limits [cycles]: distance of the double difference to its integer
// and its sigma.
constexpr long double kWideLaneFraction = 0.2L;
constexpr long double kWideLaneSigma = 0.1L;

struct Frequencies {
  long double f1, f2;  // [Hz]
};
Frequencies FrequenciesOf(short prn) {
  constexpr long double c = 299792458.0L;
  if (satnum::IsGALILEO(prn)) return {c / GALILEOc::lamb1, c / GALILEOc::lamb2};
  return {c / GPSc::lamb1, c / GPSc::lamb2};
}

// Mean of the Melbourne-Wuebbena values [wide-lane cycles] of an arc's observations
// used by the L3 solution, and the sigma of the mean.
struct WideLane {
  long double mean = 0.0L, sigma = 0.0L;
  long n = 0;
};

std::vector<WideLane> WideLaneMeans(const TervanC& tc, long namb) {
  std::vector<WideLane> w(namb);
  const PhsDiffData& d = tc.sdd;
  if (!tc.sdh.HasMW() || d.MW.Length() < d.GetNObs() || tc.ifOl3.Length() < d.GetNObs()) return w;
  std::vector<long double> sum(namb, 0.0L), sum2(namb, 0.0L);
  long i0 = 0;
  for (long e = 0; e < d.GetNEpoch(); ++e) {
    for (long i = i0; i < i0 + d.GetNSatEpoch(e); ++i) {
      if (!tc.ifOl3(i) || tc.ifXl3(i) || d.MW(i).IsNull()) continue;
      const long k = GetAmbIndex(tc, d.GetRecSat(i), e);
      if (k < 0 || k >= namb) continue;
      const Frequencies f = FrequenciesOf(d.GetRecSat(i));
      const long double v = d.MW(i).GetObs() * (f.f1 - f.f2) / 299792458.0L;
      sum[k] += v;
      sum2[k] += v * v;
      ++w[k].n;
    }
    i0 += d.GetNSatEpoch(e);
  }
  for (long k = 0; k < namb; ++k) {
    if (w[k].n < 2) continue;
    w[k].mean = sum[k] / w[k].n;
    const long double var = (sum2[k] - w[k].n * w[k].mean * w[k].mean) / (w[k].n - 1);
    w[k].sigma = std::sqrt(std::max(var, 0.0L) / w[k].n);
  }
  return w;
}

// Narrow-lane double differences of the L3 ambiguities whose wide lane rounds:
//   L3 ambiguity = lambdaN N1 + c f2 / (f1^2 - f2^2) Nw,  lambdaN = c / (f1 + f2).
std::vector<AmbDoubleDifference> NarrowLanes(const TervanC& tc, long& nWide) {
  std::vector<AmbDoubleDifference> out;
  const std::vector<AmbDoubleDifference> l3 = FormDoubleDifferences(tc, 3);
  nWide = static_cast<long>(l3.size());
  if (l3.empty() || tc.AmbFind.Size() != AmbCount(tc, 3)) return out;
  const std::vector<WideLane> w = WideLaneMeans(tc, AmbCount(tc, 3));
  for (AmbDoubleDifference d : l3) {
    const WideLane &a = w[d.arc], &b = w[d.refArc];
    if (a.n < 2 || b.n < 2) continue;
    const long double wl = a.mean - b.mean;
    const long double nw = std::round(wl);
    if (std::fabs(wl - nw) > kWideLaneFraction || std::hypot(a.sigma, b.sigma) > kWideLaneSigma)
      continue;
    constexpr long double c = 299792458.0L;
    const Frequencies f = FrequenciesOf(tc.AmbSat(d.arc));
    const long double lambdaN = c / (f.f1 + f.f2);
    d.scale = 1.0L / lambdaN;
    d.offset = c * f.f2 / (f.f1 * f.f1 - f.f2 * f.f2) * nw / lambdaN;
    d.value = (tc.xAmbL3(d.arc) - tc.xAmbL3(d.refArc)) * d.scale - d.offset;
    d.band = 3;
    out.push_back(d);
  }
  return out;
}

}  // namespace

std::vector<AmbDoubleDifference> FormDoubleDifferences(const TervanC& tc, int band) {
  std::vector<AmbDoubleDifference> out;
  const long n = AmbCount(tc, band);
  const matrix<long>& ix = AmbIndexOf(tc, band);
  const matrix<long double>& x = AmbValueOf(tc, band);
  // Groups: system and wavelength (GLONASS channels apart; L3 of GLONASS not at all).
  struct Group {
    int sys;
    long double lambda;
    std::vector<Arc> arcs;
  };
  std::vector<Group> groups;
  for (long k = 0; k < n; ++k) {
    const short prn = tc.AmbSat(k);
    const int sys = System(tc, prn);
    const long j = ix(k);
    if (sys < 0 || (band == 3 && sys == 1) || !IsDefined(tc, j) || j >= tc.NUnk) continue;
    const long double lam = Wavelength(prn, band);
    if (!(lam > 0.0L)) continue;
    auto g = std::find_if(groups.begin(), groups.end(), [&](const Group& q) {
      return q.sys == sys && std::fabs(q.lambda - lam) < 1e-9L;
    });
    if (g == groups.end()) g = groups.insert(groups.end(), Group{sys, lam, {}});
    g->arcs.push_back({k, j, tc.AmbIndex(k, 0), tc.AmbIndex(k, 2), tc.AmbIndex(k, 3)});
  }
  for (const Group& g : groups)
    for (const auto& p : Tree(g.arcs)) {
      AmbDoubleDifference d;
      d.arc = p.first.row, d.refArc = p.second.row;
      d.ix = p.first.ix, d.ixRef = p.second.ix;
      d.scale = 1.0L / g.lambda;
      d.value = (x(d.arc) - x(d.refArc)) * d.scale;
      d.band = band;
      out.push_back(d);
    }
  return out;
}

void FixAmbiguities(TervanC& tc) {
  tc.isAmbFixed = false;
  tc.nAmbDD = tc.nAmbDDFixed = 0;
  tc.AmbRatio = 0.0L;
  if (!tc.isFixAmb || !tc.ifEstSta || !HasStaticSolution(tc) || tc.NUnk < 3 ||
      tc.QxxAll.NRow() < tc.NUnk)
    return;
  if (tc.verbose) std::cerr << "Tervan::FixAmbiguities(): RESOLVING INTEGER AMBIGUITIES!\n";
  std::vector<AmbDoubleDifference> dd;
  std::string wide;
  if (tc.ifL1 || tc.ifL2) {
    dd = L1L2DoubleDifferences(tc);
  } else if (tc.ifL3) {
    long nWide = 0;
    dd = NarrowLanes(tc, nWide);
    wide =
        "WIDE LANES " + std::to_string(dd.size()) + " OF " + std::to_string(nWide) + " ROUNDED; ";
  }
  tc.nAmbDD = static_cast<long>(dd.size());
  Verbose(tc, "DOUBLE DIFFERENCES: " + std::to_string(tc.nAmbDD));
  const Resolution r = Resolve(tc, dd);
  tc.AmbRatio = r.ratio;
  tc.AmbFixNote = wide + r.note;
  if (r.ok && !ConditionalAdjustment(tc, r.functions)) {
    tc.AmbFixNote = "FIXED AMBIGUITIES GIVE A SINGULAR CONDITION SYSTEM";
    return;
  }
  tc.isAmbFixed = r.ok;
  tc.nAmbDDFixed = r.ok ? r.nFixed : 0;
  if (tc.verbose && r.ok)
    for (const AmbDoubleDifference& d : dd) {
      const long double v = d.value + (tc.xFixCorr(d.ix) - tc.xFixCorr(d.ixRef)) * d.scale;
      std::ostringstream os;
      os << SatLabel(tc.AmbSat(d.arc)) << '-' << SatLabel(tc.AmbSat(d.refArc))
         << (d.band == 1   ? " L1"
             : d.band == 2 ? " L2"
                           : " NL")
         << std::fixed << std::setprecision(3) << " FLOAT " << setw(10) << d.value << " FIXED "
         << setw(10) << v;
      Verbose(tc, os.str());
    }
  Verbose(tc, tc.AmbFixNote + " [RATIO " + Fixed2(r.ratio) + "]");
}

// ---------------------------------------------------------------------------
// Report.

void PrintFixedSolution(TervanC& tc) {
  if (!tc.isFixAmb || !tc.ifEstSta || !HasStaticSolution(tc)) return;
  std::ostream& os = std::cout;
  ProgramSubSubSubTitle("INTEGER AMBIGUITY RESOLUTION (FIXED SOLUTION):", 2);
  os << std::fixed << std::setprecision(2);
  os << "    Double differences               : " << setw(10) << tc.nAmbDD << '\n';
  os << "    Fixed to integers                : " << setw(10) << tc.nAmbDDFixed << '\n';
  os << "    Ratio test [second/best]         : " << setw(10) << tc.AmbRatio
     << "    THRESHOLD: " << setw(6) << tc.AmbRatioThres << '\n';
  os << "    Solution                         : "
     << (tc.isAmbFixed ? (tc.nAmbDDFixed == tc.nAmbDD ? "FIXED" : "PARTIALLY FIXED") : "FLOAT")
     << '\n';
  os << "    " << (tc.isAmbFixed ? "Note  " : "Reason") << "                           : "
     << tc.AmbFixNote << "\n\n";
  if (!tc.isAmbFixed) return;
  const long double s02 = tc.s0apostFix > 0 ? tc.s0apostFix : 0.0L;
  os << std::setprecision(1) << "    REF. STD. APOSTERIORI (FIXED)    : " << setw(10)
     << 1000.0L * std::sqrt(s02) << " mm     REDUNDANCY: " << setw(10) << tc.RedundancyFix << '\n';
  const xyz& b = tc.Delta_RecPosFix;
  const long double len = b.GetLength();
  long double qL = 0;
  if (len > 0)
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) qL += Comp(b, i) * tc.QcrdFix(i, j) * Comp(b, j) / (len * len);
  os << std::setprecision(4) << "    Fixed baseline length            : " << setw(14) << len
     << " m  +-  " << std::setprecision(2) << setw(6)
     << 1000.0L * std::sqrt(std::max(qL * s02, 0.0L)) << " mm     FIXED-FLOAT: " << setw(8)
     << 1000.0L * (len - tc.Delta_RecPosEst.GetLength()) << " mm\n\n";
  matrix<long double> Q = tc.QcrdFix, Syy;
  g2lg(Q, tc.RecPosFCG_ROVER, Syy);
  const neu nf = g2lg(b, tc.RecPosFCG_ROVER);
  const neu dn = g2lg(b - tc.Delta_RecPosEst, tc.RecPosFCG_ROVER);
  os << setw(21) << "Fixed" << setw(12) << "Precision" << setw(14) << "Fixed-Float" << setw(25)
     << "Fixed" << setw(12) << "Precision" << setw(14) << "Fixed-Float" << '\n';
  os << setw(21) << "[m]" << setw(12) << "[mm]" << setw(14) << "[mm]" << setw(25) << "[m]"
     << setw(12) << "[mm]" << setw(14) << "[mm]" << '\n';
  PrintChar('-', 98, 4);
  const char* lab[3] = {"    DX:", "    DY:", "    DZ:"};
  const char* labG[3] = {"    DN:", "    DE:", "    DU:"};
  for (int k = 0; k < 3; ++k) {
    os << std::setprecision(4) << lab[k] << setw(14) << Comp(b, k) << std::setprecision(2)
       << setw(12) << 1000.0L * std::sqrt(std::max(tc.QcrdFix(k, k) * s02, 0.0L)) << setw(14)
       << 1000.0L * (Comp(b, k) - Comp(tc.Delta_RecPosEst, k));
    os << std::setprecision(4) << labG[k] << setw(18) << Comp(nf, k) << std::setprecision(2)
       << setw(12) << 1000.0L * std::sqrt(std::max(Syy(k, k) * s02, 0.0L)) << setw(14)
       << 1000.0L * Comp(dn, k) << '\n';
  }
  PrintChar('-', 98, 4);
  os << '\n';
}
