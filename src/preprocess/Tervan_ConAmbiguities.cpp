#include "preprocess/Tervan_ConAmbiguities.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iomanip>
#include <iostream>
#include <vector>

#include "core/ProgramError.h"
#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "core/matrixUtil.h"
#include "gnss/GNSSLinCombs.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"
#include "preprocess/GeometricPhase.h"
#include "preprocess/Tervan_AmbiguityArcs.h"

namespace {

constexpr long double kMaxGap = 300.0L;  // s: arcs closer than this may be joined
constexpr long double kMWth = 0.1L;      // cycles: MW jump distance to its integer
constexpr long double kSMWth = 0.15L;    // cycles: sigma of the MW jump
constexpr long double kL2th = 0.1L;      // cycles: L2 jump distance to its integer
constexpr long double kSL2th = 0.15L;    // cycles: sigma of the L2 jump
constexpr long double kMinE = 30.0L * 3.141592653589793L / 180.0L;  // rad: down-weighting
constexpr long kMaxCSObs = 10;          // epochs (observations) on each side of the L4 fit
constexpr long double kNoSigma = 1e9L;  // sigma of a jump that cannot be estimated

long double BaseElevation(const TervanC& tc, long r, bool& known) {
  known = tc.ELV.NRow() > r && tc.ELV.NCol() >= 2;
  return known ? tc.ELV(r, 0) : 0.0L;
}

// Weight of an MW value: 2 sin(E) below 30 degrees at the BASE, else 1.
long double MWWeight(const TervanC& tc, long r) {
  bool known;
  const long double e = BaseElevation(tc, r, known);
  return known && e < kMinE ? 2 * std::sin(e) : 1.0L;
}

// Weight of an L4 value: 2 sin(E_BASE) when both elevations are below 30 degrees.
long double L4Weight(const TervanC& tc, long r) {
  bool known;
  const long double e = BaseElevation(tc, r, known);
  return known && e < kMinE && tc.ELV(r, 1) < kMinE ? 2 * std::sin(e) : 1.0L;
}

bool Has(const matrix<gnssobs>& m, long r) {
  return m.Length() > r && !m(r).IsNull();
}

// Record offset of the first observation of each epoch.
std::vector<long> EpochOffsets(const PhsDiffData& d) {
  std::vector<long> off(static_cast<size_t>(d.neph) + 1, 0);
  for (long e = 0; e < d.neph; ++e) off[e + 1] = off[e] + d.nsat(e);
  return off;
}

void ArcWalk(TervanC& tc, long k, short sat, const std::function<void(long, long)>& f) {
  ForEachArcRecord(tc.sdd, sat, tc.AmbIndex(k, 0), tc.AmbIndex(k, 1), tc.AmbIndex(k, 2), f);
}

}  // namespace

void GetMWCSlip(TervanC& tc, long iamb, long double lWL, long double& dMW, long double& sdMW) {
  const short sat = tc.AmbSat(iamb - 1);
  const PhsDiffData& d = tc.sdd;
  bool haveX0 = false;
  long double x0 = 0, mean[2] = {0, 0}, var[2] = {kNoSigma, kNoSigma};
  for (int side = 0; side < 2; ++side) {
    long double sw = 0, swd = 0, swdd = 0;
    long n = 0;
    ArcWalk(tc, iamb - 1 + side, sat, [&](long, long r) {
      if (!Has(d.MW, r)) return;
      const long double v = d.MW(r).GetObs();
      if (!haveX0) {
        x0 = v;
        haveX0 = true;
      }
      const long double w = MWWeight(tc, r), dv = v - x0;
      sw += w;
      swd += w * dv;
      swdd += w * dv * dv;
      ++n;
    });
    if (n < 2 || !(sw > 0)) continue;
    mean[side] = swd / sw;
    const long double v = (swdd / sw - mean[side] * mean[side]) / (n - 1);
    var[side] = v > 0 ? v : 0;
  }
  dMW = (mean[1] - mean[0]) / lWL;
  sdMW = std::sqrt(var[0] + var[1]) / lWL;
}

namespace {

// Accumulates one L4 value into the normal equations of h = a t^2 + b t + c (+ d).
struct L4Fit {
  matrix<long double> N{4, 4, 0.0L}, b{4, 1, 0.0L};
  long double hh = 0;
  long n = 0;
  void Add(long double t, long double h, long double w, bool after) {
    const long double row[4] = {t * t, t, 1.0L, after ? 1.0L : 0.0L};
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 4; ++j) N(i, j) += w * row[i] * row[j];
      b(i) += w * row[i] * h;
    }
    hh += w * h * h;
    ++n;
  }
};

}  // namespace

void GetL4CSlip(TervanC& tc, long iamb, long double& dL4, long double& sdL4, long maxObs) {
  dL4 = 0;
  sdL4 = kNoSigma;
  const short sat = tc.AmbSat(iamb - 1);
  const PhsDiffData& d = tc.sdd;
  const std::vector<long> off = EpochOffsets(d);
  const long last = tc.AmbIndex(iamb - 1, 2);
  long start = last - (maxObs - 1);
  if (start < tc.AmbIndex(iamb - 1, 0)) start = tc.AmbIndex(iamb - 1, 0);
  const mjd t0 = d.epoch(start);
  L4Fit fit;
  bool haveX0 = false;
  long double x0 = 0;
  auto add = [&](long e, long r, bool after) {
    if (!Has(d.L4, r)) return;
    if (!haveX0) {
      x0 = d.L4(r).GetObs();
      haveX0 = true;
    }
    fit.Add((d.epoch(e) - t0) / 60.0L, d.L4(r).GetObs() - x0, L4Weight(tc, r), after);
  };
  ForEachArcRecord(d, sat, start, off[start], last, [&](long e, long r) { add(e, r, false); });
  const long nBefore = fit.n;
  for (long e = tc.AmbIndex(iamb, 0); e <= tc.AmbIndex(iamb, 2) && fit.n - nBefore < maxObs; ++e)
    ForEachArcRecord(d, sat, e, off[e], e, [&](long ee, long r) { add(ee, r, true); });
  if (nBefore < 1 || fit.n - nBefore < 1 || fit.n <= 4) return;
  invns::IsSingular = false;
  matrix<long double> Ni = inv(fit.N, -1);
  if (invns::IsSingular) {
    ProgramWarning("Tervan", "PROBLEMS INVERTING MATRIX N - SINGULARITY POSSIBILITY!!!");
    return;  // no jump is resolved from a singular fit
  }
  matrix<long double> x(4, 1, 0.0L);
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) x(i) += Ni(i, j) * fit.b(j);
  long double vtPv = fit.hh;
  for (int i = 0; i < 4; ++i) vtPv -= fit.b(i) * x(i);
  const long double s0sq = (vtPv > 0 ? vtPv : 0) / (fit.n - 4);
  const long double q = Ni(3, 3) > 0 ? Ni(3, 3) : 0;
  if (!std::isfinite(x(3)) || !std::isfinite(q)) return;
  dL4 = x(3);
  sdL4 = std::sqrt(q * s0sq);
}

void RepairAmb(TervanC& tc, long iamb, long double dL1, long double dL2) {
  if (tc.ifL1) tc.xAmbL1(iamb) = tc.xAmbL1(iamb - 1);
  if (tc.ifL2) tc.xAmbL2(iamb) = tc.xAmbL2(iamb - 1);
  if (tc.ifL3) tc.xAmbL3(iamb) = tc.xAmbL3(iamb - 1);
  const short sat = tc.AmbSat(iamb - 1);
  GLC::SetForSatellite(sat, true);
  const long double dObsL3 = GNSS_L3(dL1, dL2), dObsL4 = GNSS_L4(dL1, dL2);
  const long double zero = 0;
  const long double dObsMW = GNSS_MW(dL1, dL2, zero, zero);
  PhsDiffData& d = tc.sdd;
  ArcWalk(tc, iamb, sat, [&](long, long r) {
    if (Has(d.L1, r)) d.L1(r) += -dL1;
    if (sat <= 199 && Has(d.L2, r)) d.L2(r) += -dL2;
    if (satnum::IsGALILEO(sat) && tc.sdh.iL7 && Has(d.L7, r)) d.L7(r) += -dL2;
    if (tc.ifL3 && Has(d.L3, r)) d.L3(r) += -dObsL3;
    if (Has(d.L4, r)) d.L4(r) += -dObsL4;
    if (Has(d.MW, r)) d.MW(r) += -dObsMW;
  });
}

namespace {

void CopyAmb(TervanC& tc, long from, long to, matrix<long>& AI, matrix<short>& AP,
             matrix<long double>* x) {
  AP(to) = tc.AmbSat(from);
  for (int c = 0; c < 4; ++c) AI(to, c) = tc.AmbIndex(from, c);
  const matrix<long double>* src[3] = {&tc.xAmbL1, &tc.xAmbL2, &tc.xAmbL3};
  const bool use[3] = {tc.ifL1, tc.ifL2, tc.ifL3};
  for (int t = 0; t < 3; ++t)
    if (use[t] && src[t]->Length() > from) x[t](to) = (*src[t])(from);
}

}  // namespace

// Each run of flagged ambiguities is joined to the unflagged one before it: the
// merged ambiguity keeps the first arc's start and a-priori values and takes the
// last arc's end; the counts add up.
void ConAmbIntervals(TervanC& tc, matrix<bool>& isFixAmb) {
  const long n = tc.AmbSat.Length();
  long nfix = 0;
  for (long k = 1; k < n; ++k) nfix += isFixAmb(k) ? 1 : 0;
  const long m = n - nfix;
  matrix<long> AI(m, 4, 0L);
  matrix<short> AP(m, 1, static_cast<short>(-1));
  matrix<long double> x[3] = {matrix<long double>(m, 1, 0.0L), matrix<long double>(m, 1, 0.0L),
                              matrix<long double>(m, 1, 0.0L)};
  long q = -1;
  for (long k = 0; k < n; ++k) {
    if (k > 0 && isFixAmb(k)) {
      AI(q, 2) = tc.AmbIndex(k, 2);
      AI(q, 3) += tc.AmbIndex(k, 3);
    } else {
      CopyAmb(tc, k, ++q, AI, AP, x);
    }
  }
  tc.AmbIndex = AI;
  tc.AmbSat = AP;
  tc.xAmbL1 = x[0];
  tc.xAmbL2 = x[1];
  tc.xAmbL3 = x[2];
  tc.nAmbL1 = tc.nAmbL2 = tc.nAmbL3 = m;
  RebuildAmbFind(tc);
}

namespace {

struct PairResult {
  long double dMW = 0, sdMW = 0, dL4 = 0, sdL4 = 0, dL2 = 0, sdL2 = 0;
  long double dMWF = 0, dL2F = 0, dL1F = 0;
  bool fixMW = false, fixL2 = false;
};

// An integer estimate x with sigma sd is taken when it lies within th of its
// integer and sd is below sth; or when it is beyond doubt: within a quarter
// cycle and more than five sigmas from the half-way points to the neighbours
// (long arcs whose means scatter a little more than th).
bool Resolved(long double x, long double xF, long double sd, long double th, long double sth) {
  const long double dev = std::fabs(xF - x);
  if (!(sd < sth)) return false;
  return dev < th || (dev < 0.25L && 0.5L - dev > 5 * sd);
}

// The jumps of the pair (iamb-1, iamb) and whether they are resolved. The L4
// fit starts with the last 10 epochs before and the first 10 observations after
// the break; when L2 stays unresolved it is tried again on longer windows, as
// far as the arcs reach, since a few epochs of realistic phase noise rarely
// pin the L2 jump down to a tenth of a cycle.
PairResult TestPair(TervanC& tc, long iamb, long double lWL, long double l1, long double l2) {
  PairResult p;
  GetMWCSlip(tc, iamb, lWL, p.dMW, p.sdMW);
  p.dMWF = std::round(p.dMW) + 0.0L;  // + 0: no negative zero in the report
  p.fixMW = Resolved(p.dMW, p.dMWF, p.sdMW, kMWth, kSMWth);
  const long longest = std::max(tc.AmbIndex(iamb - 1, 2) - tc.AmbIndex(iamb - 1, 0),
                                tc.AmbIndex(iamb, 2) - tc.AmbIndex(iamb, 0)) +
                       1;
  for (long window = kMaxCSObs;; window *= 3) {
    GetL4CSlip(tc, iamb, p.dL4, p.sdL4, window);
    p.dL2 = (l1 * p.dMWF - p.dL4) / (l2 - l1);
    p.dL2F = std::round(p.dL2) + 0.0L;
    p.sdL2 = p.sdL4 / (l2 - l1);
    p.fixL2 = Resolved(p.dL2, p.dL2F, p.sdL2, kL2th, kSL2th) && p.fixMW;
    if (p.fixL2 || !p.fixMW || window >= longest) break;
  }
  p.dL1F = p.dMWF + p.dL2F;
  return p;
}

// Where the Melbourne-Wuebbena means or the L4 fit leave the jumps open, the
// phases against the geometry may resolve both integers; they are taken when
// the MW and L4 jumps agree with them within four sigmas (and a quarter of
// a wide-lane cycle or of the L4 signature of a (1,1) jump).
void TestPairGeometry(TervanC& tc, const GeometricPhase& geometry, long iamb, long double l1,
                      long double l2, PairResult& p) {
  GeometricPhase::Jump j;
  if (p.fixL2 ||
      !geometry.JumpAt(tc.AmbSat(iamb), tc.AmbIndex(iamb - 1, 0), tc.AmbIndex(iamb - 1, 2),
                       tc.AmbIndex(iamb, 0), tc.AmbIndex(iamb, 2), j) ||
      !j.Resolved())
    return;
  const long double n1 = std::round(j.n1) + 0.0L, n2 = std::round(j.n2) + 0.0L;
  const bool agreeMW = std::fabs(n1 - n2 - p.dMW) < 4 * p.sdMW + 0.25L;
  const long double l4 = l1 * n1 - l2 * n2;
  const bool agreeL4 = std::fabs(l4 - p.dL4) < 4 * p.sdL4 + 0.25L * std::fabs(l2 - l1);
  if (!agreeMW || !agreeL4) return;
  p.dMWF = n1 - n2;
  p.dL2F = n2;
  p.dL1F = n1;
  p.fixMW = p.fixL2 = true;
}

void PrintEpochs(TervanC& tc, long k) {
  std::cout << "    " << tc.sdd.epoch(tc.AmbIndex(k, 0)) << "    "
            << tc.sdd.epoch(tc.AmbIndex(k, 2));
}

void PrintPair(TervanC& tc, long i, const PairResult& p) {
  const short s = tc.AmbSat(i - 1);
  std::cout << std::setprecision(2) << std::setw(8) << i << std::setw(4) << satnum::SystemLetter(s)
            << std::setw(2) << satnum::NumberInSystem(s);
  PrintEpochs(tc, i - 1);
  std::cout << std::setw(10) << tc.AmbIndex(i - 1, 3) << std::setw(22) << p.dMW << std::setw(8)
            << p.sdMW << std::setw(10) << " " << std::setw(12) << p.dL2 << std::setw(8) << p.sdL2
            << std::setw(12) << p.dMW + p.dL2 << std::endl;
  std::cout << std::setw(8) << i + 1 << std::setw(10) << " ";
  PrintEpochs(tc, i);
  std::cout << std::setw(10) << tc.AmbIndex(i, 3);
  if (p.fixMW)
    std::cout << std::setw(10) << "YES" << std::setw(12) << p.dMWF;
  else
    std::cout << std::setw(10) << "NO" << std::setw(12) << "-.--";
  std::cout << std::setw(8) << " ";
  if (p.fixL2)
    std::cout << std::setw(10) << "YES" << std::setw(12) << p.dL2F << std::setw(8) << " "
              << std::setw(12) << p.dL1F;
  else
    std::cout << std::setw(10) << "NO" << std::setw(12) << "-.--" << std::setw(8) << " "
              << std::setw(12) << "-.--";
  if (p.fixL2) std::cout << "   FIXED";
  std::cout << std::endl;
}

void PrintSettings() {
  ProgramSubSubTitle("CONNECTING CONSECUTIVE AMBIGUITIES:", 0);
  std::cout << std::setprecision(1) << "  Maximum time gap between cons. amb  : " << std::setw(6)
            << kMaxGap << " s" << std::endl
            << "  Melbourne-Wuebbena linear comb.     :" << std::endl
            << std::setprecision(2) << "   Max float-fixed difference         : " << std::setw(6)
            << kMWth << " cy" << std::endl
            << "   Max float value precision          : " << std::setw(6) << kSMWth << " cy"
            << std::endl
            << "  L4 and MW based L2 ambiguity        :" << std::endl
            << "   Max float-fixed difference         : " << std::setw(6) << kL2th << " cy"
            << std::endl
            << "   Max float value precision          : " << std::setw(6) << kSL2th << " cy"
            << std::endl
            << std::endl;
}

void PrintTableHeader() {
  std::cout << "      ID   PRN       START EPOCH         END EPOCH  #OBS/AMB    MW AMB          "
               "MW AMB[cy]    L2 AMB          L2 AMB[cy]  L1 AMB[cy]  STATUS"
            << std::endl
            << "                                                                 FIXED       "
               "VALUE  STDDEV     FIXED       VALUE  STDDEV       VALUE"
            << std::endl;
  std::cout << "   ";
  PrintChar('-', 137, 0);
}

// Recomputes the a-priori values of every ambiguity from its (repaired) arc.
void RecomputeApriori(TervanC& tc, long nfix) {
  matrix<long double>* x[3] = {&tc.xAmbL1, &tc.xAmbL2, &tc.xAmbL3};
  long* ncorr[3] = {&tc.nAmbCorrL1, &tc.nAmbCorrL2, &tc.nAmbCorrL3};
  const bool use[3] = {tc.ifL1, tc.ifL2, tc.ifL3};
  for (int t = 0; t < 3; ++t)
    if (use[t]) *ncorr[t] = nfix;
  for (long l = 0; l < tc.AmbSat.Length(); ++l) {
    const short s = tc.AmbSat(l);
    if (s > 299) continue;
    AprioriSums a = ArcAprioriSums(tc, s, tc.AmbIndex(l, 0), tc.AmbIndex(l, 1), tc.AmbIndex(l, 2));
    for (int t = 0; t < 3; ++t) {
      if (!use[t] || a.n[t] == 0) continue;
      tc.AmbIndex(l, 3) = a.n[t];
      (*x[t])(l) = -a.sum[t] / a.n[t];
    }
  }
}

}  // namespace

void ConAmbiguities(TervanC& tc) {
  if ((!tc.ifL1 && !tc.ifL2 && !tc.ifL3) || !tc.CorrAmbig) return;
  StreamFormatGuard guard(std::cout);
  std::cout << std::fixed;
  if (tc.verbose)
    std::cerr << "Tervan::ConAmbiguities(): CONNECTING AMBIGUITIES - DETERMINING CYCLE SLIPS!"
              << std::endl;
  PrintSettings();
  const long n = tc.AmbSat.Length();
  matrix<bool> isFixAmb(n > 0 ? n : 1, 1, false);
  const GeometricPhase geometry(tc);
  long nfix = 0, nconp = 0;
  for (long i = 1; i < n; ++i) {
    const short s = tc.AmbSat(i);
    if (s != tc.AmbSat(i - 1)) continue;
    const long double dt = tc.sdd.epoch(tc.AmbIndex(i, 0)) - tc.sdd.epoch(tc.AmbIndex(i - 1, 2));
    long double lWL, l1, l2;
    if (!(dt < kMaxGap) || !SatWavelengths(s, lWL, l1, l2)) continue;
    if (nconp == 0)
      PrintTableHeader();
    else
      std::cout << std::endl;
    PairResult p = TestPair(tc, i, lWL, l1, l2);
    TestPairGeometry(tc, geometry, i, l1, l2, p);
    const bool connect = p.fixMW && p.fixL2;
    if (connect && (std::fabs(p.dL1F) > 0.5L || std::fabs(p.dL2F) > 0.5L))
      RepairAmb(tc, i, p.dL1F, p.dL2F);
    PrintPair(tc, i, p);
    isFixAmb(i) = connect;
    nfix += connect ? 1 : 0;
    ++nconp;
  }
  std::cout << "   ";
  PrintChar('-', 137, 0);
  std::cout << std::endl;
  if (tc.verbose)
    std::cerr << "Tervan::ConAmbiguities():         # of possible ambiguities to fix: " << nconp
              << std::endl
              << "Tervan::ConAmbiguities():         # of finally fixed ambiguities: " << nfix
              << std::endl;
  std::cout << "  # of possible ambiguities to fix    : " << std::setw(4) << nconp << std::endl
            << "  # of fixed/connected ambiguities    : " << std::setw(4) << nfix << std::endl
            << std::endl
            << std::endl;
  if (nconp > 0) ConAmbIntervals(tc, isFixAmb);
  RecomputeApriori(tc, nfix);
  PrintAmbiguityTable(tc, "FINAL SET OF AMBIGUITIES", true);
  std::cout << std::endl << std::endl;
}
