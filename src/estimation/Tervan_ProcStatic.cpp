#include "estimation/Tervan_ProcStatic.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <vector>

#include "core/KotnePretvorbe.h"
#include "core/ProgramError.h"
#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "core/matrixUtil.h"
#include "estimation/StaticObservations.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/TimeConverse.h"
#include "gnss/g_lg.h"
#include "gnss/mGNSSc.h"
#include "gnss/xyz_flh.h"
#include "gnss/ymdhms.h"
#include "preprocess/Tervan_SetAmbiguities.h"

namespace {

const char* const Prog = "Tervan";
const char* const Pre = "Tervan::ProcStatic():         ";
constexpr long double C = 299792458.0L;

// Sums of one iteration: weighted squared misclosures (all, and per type with the
// elevation weight alone), observation counts and the troposphere pseudo-observations.
struct IterationSums {
  long double all = 0.0L;
  long double type[NObsTypes] = {};
  long pseudo = 0;
};

void ZeroIteration(TervanC& tc, IterationSums& sums) {
  tc.Nc = 0.0L;
  tc.Nt = 0.0L;
  tc.tc = 0.0L;
  tc.tt = 0.0L;
  sums = IterationSums();
  tc.NObs = tc.NObsG = tc.NObsR = tc.NObsE = 0;
  tc.NClk = 0;
}

// Constraint of the BASE zenith delays toward their a-priori value (zero wet delay
// beyond the model) with the weight (sig0 / TropoSigma)^2: a pseudo-observation per
// node, with its misclosure in the right-hand side and in vtPv.
void ConstrainBaseTroposphere(TervanC& tc, IterationSums& sums) {
  if (!tc.ifEstTropo || !tc.ifEstTropoB || !tc.ifTropoSigma) return;
  const long double w = (tc.sig0 / tc.TropoSigma) * (tc.sig0 / tc.TropoSigma);
  for (long k = 0; k < tc.nTropoUnkB; ++k) {
    const long j = tc.ixTropoB(k);
    const long double f = tc.xTropoB(k);
    tc.Nc(j, j) += w;
    tc.tc(j) -= w * f;
    sums.all += w * f * f;
    ++sums.pseudo;
  }
}

// NFin = Nc - Nt on the unknowns (the constraint border stays); unknowns without
// observations are kept out of the solution with a unit diagonal.
void FormFinalSystem(TervanC& tc) {
  const long n = tc.NUnk;
  for (long i = 0; i < n; ++i) {
    tc.tall(i) = tc.tc(i) - tc.tt(i);
    for (long j = 0; j <= i; ++j) tc.NFin(j, i) = tc.NFin(i, j) = tc.Nc(j, i) - tc.Nt(j, i);
  }
  tc.NUnkUndef = 0;
  for (long i = 0; i < n; ++i) {
    tc.IsUnkOK(i) = true;
    if (std::fabs(tc.NFin(i, i)) < 1e-6L) {
      tc.NFin(i, i) = 1.0L;
      tc.IsUnkOK(i) = false;
      ++tc.NUnkUndef;
    }
  }
}

void Solve(TervanC& tc) {
  invns::IsSingular = false;
  tc.QxxAll = inv(tc.NFin, -1);
  if (invns::IsSingular)
    ProgramError(Prog, "PROBLEMS INVERTING MATRIX N - SINGULARITY POSSIBILITY!!!");
  tc.xtemp = tc.QxxAll * tc.tall;
  tc.xAll += tc.xtemp;
}

long double Norm(const matrix<long double>& x, long from, long to) {
  long double s = 0.0L;
  for (long i = from; i < to; ++i) s += x(i) * x(i);
  return std::sqrt(s);
}

// vtPv of the reduced system and the clock back-substitution; returns the redundancy.
long double Statistics(TervanC& tc, const EpochClocks& clk, const IterationSums& sums) {
  long double xtc = 0.0L;
  for (long i = 0; i < tc.NUnk; ++i)
    if (tc.IsUnkOK(i)) xtc += tc.tall(i) * tc.xtemp(i);
  tc.vtPv = sums.all - xtc;
  tc.NClk = 0;
  for (long e = 0; e < tc.sdd.GetNEpoch(); ++e) {
    if (!clk.IsSolved(e)) continue;  // no observations: the a-priori clock stays
    ++tc.NClk;
    tc.dtAll(e) += clk.Solve(e, tc.xtemp);
    tc.vtPv -= clk.T2(e) * clk.T2(e) / clk.N22(e);
  }
  if (tc.vtPv < 0.0L) tc.vtPv = 0.0L;  // rounding of an exact fit
  return static_cast<long double>(tc.NObs) - tc.NUnk - tc.NClk + tc.ndcbConstr + tc.NUnkUndef +
         sums.pseudo;
}

void AddTo(matrix<long double>& x, const matrix<long>& ix, long n, const matrix<long double>& dx) {
  for (long k = 0; k < n; ++k)
    if (ix(k) >= 0) x(k) += dx(ix(k));
}

// The corrections of this iteration go into the current estimates.
void UpdateEstimates(TervanC& tc) {
  const matrix<long double>& x = tc.xtemp;
  for (int s = 0; s < 3; ++s)
    if (tc.ixDTsys[s] >= 0) tc.dtGNSS[s] += x(tc.ixDTsys[s]);
  tc.RecPosFC_ROVER += xyz(x(0), x(1), x(2));
  const long nsat = tc.sdd.GetNSat();
  if (tc.isdcbC1) AddTo(tc.dcbC1, tc.ixdcbC1, nsat, x);
  if (tc.isdcbP1) AddTo(tc.dcbP1, tc.ixdcbP1, nsat, x);
  if (tc.isdcbP2) AddTo(tc.dcbP2, tc.ixdcbP2, nsat, x);
  if (tc.isdcbPc3) AddTo(tc.dcbPc3, tc.ixdcbPc3, nsat, x);
  if (tc.isdcbPp3) AddTo(tc.dcbPp3, tc.ixdcbPp3, nsat, x);
  AddTo(tc.xTropoB, tc.ixTropoB, tc.nTropoUnkB, x);
  AddTo(tc.xTropoR, tc.ixTropoR, tc.nTropoUnkR, x);
  AddTo(tc.xTropoGradEB, tc.ixTropoGradEB, tc.nTropoUnkGradEB, x);
  AddTo(tc.xTropoGradNB, tc.ixTropoGradNB, tc.nTropoUnkGradNB, x);
  AddTo(tc.xTropoGradER, tc.ixTropoGradER, tc.nTropoUnkGradER, x);
  AddTo(tc.xTropoGradNR, tc.ixTropoGradNR, tc.nTropoUnkGradNR, x);
  if (tc.ifL1) AddTo(tc.xAmbL1, tc.ixAmbL1, tc.nAmbL1, x);
  if (tc.ifL2) AddTo(tc.xAmbL2, tc.ixAmbL2, tc.nAmbL2, x);
  if (tc.ifL3) AddTo(tc.xAmbL3, tc.ixAmbL3, tc.nAmbL3, x);
}

void PrintWeights(const TervanC& tc) {
  struct Row {
    const char* label;
    long double s, w;
  };
  const Row rows[] = {
      {"      observation C/A             [m] :  S: ", tc.sigC, tc.p0C},
      {"      observation P1/P2           [m] :  S: ", tc.sigP, tc.p0P},
      {"      observation P3[C1,P2]-GPS   [m] :  S: ", tc.sigPc3G, tc.p0Pc3G},
      {"      observation P3[C1,P2]-GLN   [m] :  S: ", tc.sigPc3R, tc.p0Pc3R},
      {"      observation P3[C1,C7]-GAL   [m] :  S: ", tc.sigPc3E, tc.p0Pc3E},
      {"      observation P3[P1,P2]-GPS   [m] :  S: ", tc.sigPp3G, tc.p0Pp3G},
      {"      observation P3[P1,P2]-GLN   [m] :  S: ", tc.sigPp3R, tc.p0Pp3R},
      {"      observation P3[P1,C7]-GAL   [m] :  S: ", tc.sigPp3E, tc.p0Pp3E},
      {"      observation L3[L1,L2]-GPS   [m] :  S: ", tc.sigL3G, tc.p0L3G},
      {"      observation L3[L1,L2]-GLN   [m] :  S: ", tc.sigL3R, tc.p0L3R},
      {"      observation L3[L1,L7]-GAL   [m] :  S: ", tc.sigL3E, tc.p0L3E},
      {"      observation L1/L2           [m] :  S: ", tc.sigL1, tc.p0L1},
  };
  std::cout << std::fixed << "  Standard deviatons and weights      :\n";
  for (const Row& r : rows)
    std::cout << r.label << std::setw(6) << std::setprecision(4) << r.s
              << "     W: " << std::setw(8) << r.w << '\n';
  std::cout << "      reference std. dev. apriori [m] : " << std::setw(6) << tc.sig0 << "\n\n";
}

void PrintSigma(const char* label, const char* vlabel, long double variance, bool verbose) {
  const long double mm = 1000.0L * std::sqrt(std::max(variance, 0.0L));
  std::cout << label << std::setw(15) << std::setprecision(1) << mm << " mm\n";
  if (verbose) std::cerr << vlabel << std::fixed << std::setprecision(1) << mm << " mm\n";
}

void PrintSigmas(const TervanC& tc) {
  std::cout << std::fixed << "\n  Estimated reference standard deviations:\n";
  PrintSigma("  A-posteriori        : ", "Tervan::ProcStatic():         RMS   : ", tc.s0apost,
             tc.verbose);
  for (int k : TypePrintOrder) {
    const ObsTypeDef& t = ObsTypes[k];
    if (tc.*(t.on)) PrintSigma(t.sigmaLabel, t.verboseLabel, tc.*(t.variance), tc.verbose);
  }
}

void FinalPositions(TervanC& tc) {
  tc.RecPosFCG_ROVER = xyz2flh(tc.RecPosFC_ROVER, tc.eGPS);
  tc.RecPosCorr = xyz(tc.xAll(0), tc.xAll(1), tc.xAll(2));
  tc.RecPosCorrG = g2lg(tc.RecPosCorr, tc.RecPosFCG_ROVER);
  tc.RecPosEst = tc.RecPos0_ROVER + tc.RecPosCorr;
  tc.RecPosEstG = xyz2flh(tc.RecPosEst, tc.eGPS);
  tc.Delta_RecPosEst = tc.Delta_RecPos0 + tc.RecPosCorr;
}

void PrintIterationEnd(const TervanC& tc, long double dx) {
  std::cout << std::scientific << std::setprecision(2) << std::setw(15) << dx << std::fixed << '\n';
  if (tc.verbose)
    std::cerr << std::scientific << std::setprecision(2) << std::setw(12) << dx << std::fixed
              << '\n';
}

}  // namespace

bool HasModelValues(const TervanC& tc) {
  const long n = tc.sdd.GetNObs();
  auto model = [n](const matrix<long double>& m) { return m.NRow() == n || m.NRow() == 0; };
  return n > 0 && tc.ELV.NRow() == n && tc.WGHT.NRow() == n && tc.OKSAT.NRow() == n &&
         tc.TROP.NRow() == n && tc.REL2.NRow() == n && model(tc.MFTROP) && model(tc.MFGRAD) &&
         model(tc.ION) && model(tc.SETIDE) && model(tc.PTIDE) && model(tc.OTIDE);
}

void SetCRDNormalSystem(matrix<long double>& N, matrix<long double>& t, long double* B,
                        long double& f, long double& p, long* iB, EpochClocks& clk) {
  clk.AddClock(f, p);
  int used[NSlots];
  const int nused = UsedSlots(iB, used);
  for (int a = 0; a < nused; ++a) {
    const int i = used[a];
    const long r = iB[i];
    t(r) += B[i] * p * f;
    clk.Add(r, B[i], p);
    long double* row = N.Row(r);
    for (int b = 0; b < nused; ++b) {
      const int j = used[b];
      if (iB[j] >= r) row[iB[j]] += B[i] * B[j] * p;
    }
  }
}

void SetElimNormalSystem(matrix<long double>& N, matrix<long double>& t, EpochClocks& clk, long e) {
  clk.Eliminate(e, N, t);
}

void GetIndexSatDCB(short& prn, matrix<short>& list, matrix<long>& holder, long& nsat, long& ixdcb,
                    long& k) {
  for (k = 0; k < nsat; ++k)
    if (list(k) == prn) {
      ixdcb = holder(k);
      return;
    }
  ixdcb = -1;
  k = nsat;
}

void GetTropoIndex(const mjd& epoch, const matrix<mjd>& grid, long& itro) {
  itro = -1;
  const long n = grid.NRow();
  if (n < 2 || epoch < grid(0) || !(epoch < grid(n - 1))) return;
  long lo = 0, hi = n - 1;  // grid(lo) <= epoch < grid(hi)
  while (hi - lo > 1) {
    const long mid = (lo + hi) / 2;
    if (grid(mid) <= epoch)
      lo = mid;
    else
      hi = mid;
  }
  itro = lo;
}

void ProcStatic(TervanC& tc) {
  if (!HasModelValues(tc) || tc.NUnk <= 0) return;
  StreamFormatGuard out(std::cout), err(std::cerr);
  const long neph = tc.sdd.GetNEpoch();
  if (tc.dtAll.NRow() != neph) tc.dtAll.Resize(neph, 1, 0.0L);
  if (tc.verbose) std::cerr << "Tervan::ProcStatic(): PROCESSING OF CODE/PHASE OBSERVATIONS!\n";
  ProgramSubSubTitle("ESTIMATING GNSS UNKNOWNS WITH SINGLE DIFFERENCES:", 0);
  PrintWeights(tc);

  StaticObservations obs(tc);
  EpochClocks clk;
  IterationSums sums;
  // The misclosure test judges only once the ROVER is within a metre of its solution.
  bool testOn = tc.IterDone > 0 && Norm(tc.xtemp, 0, 3) < MisclosureTestStart;
  int niter = 1;
  long double dx = 0.0L;
  bool more = true;
  while (more) {
    ZeroIteration(tc, sums);
    clk.Reset(tc.NUnk, neph);
    std::cout << "  Processing iteration                : " << std::setw(6) << niter;
    obs.Accumulate(niter, testOn, clk, sums.all, sums.type);
    ConstrainBaseTroposphere(tc, sums);
    FormFinalSystem(tc);
    Solve(tc);
    dx = Norm(tc.xtemp, 0, tc.NUnk);
    PrintIterationEnd(tc, dx);
    const long double r = Statistics(tc, clk, sums);
    tc.s0apost = r > 0.0L ? tc.vtPv / r : 0.0L;
    const bool tested = testOn || !tc.isMaxfDiff;
    testOn = Norm(tc.xtemp, 0, 3) < MisclosureTestStart;
    ++niter;
    more = (dx >= tc.IterThres || !tested) && niter <= tc.MaxIter;
    // Only the last iteration's variances are reported: earlier ones would be overwritten.
    if (!more) obs.TypeVariances(clk);
    UpdateEstimates(tc);
  }
  PrintSigmas(tc);
  FinalPositions(tc);
  tc.IterDone = niter - 1;
  tc.IterThresFin = static_cast<double>(dx);
  std::cout << "\n\n";
}
