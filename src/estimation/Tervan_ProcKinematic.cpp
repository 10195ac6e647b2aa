#include "estimation/Tervan_ProcKinematic.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <memory>
#include <vector>

#include "core/FiniteNumPut.h"
#include "core/ProgramError.h"
#include "core/ProgramOutput.h"
#include "core/ResultFile.h"
#include "core/matrixUtil.h"
#include "estimation/KinematicAdjustment.h"
#include "estimation/Tervan_ResultTables.h"
#include "gnss/g_lg.h"

using std::setw;

void SetNormalSystem(matrix<long double>& N, matrix<long double>& t, long double& bx,
                     long double& by, long double& bz, long double& f, long double& p,
                     long double& ff, int& ixT) {
  const long double b[3] = {bx, by, bz};
  for (int k = 0; k < 3; ++k) {
    for (int l = k; l < 3; ++l) N(k, l) += b[k] * b[l] * p;
    t(k) += b[k] * f * p;
    N(k, ixT) -= b[k] * p;
  }
  N(ixT, ixT) += p;
  t(ixT) -= f * p;
  ff += f * f * p;
}

namespace {

constexpr long double kMicro = 1e6L / 299792458.0L;  // metres of clock to microseconds

// Solution of one epoch.
struct KinEpoch {
  long nobs = 0, nsys[3] = {0, 0, 0};
  long double ff = 0;
  matrix<long double> x;  // dX, dY, dZ [m], GPS, GLONASS, Galileo clocks [m]
  long double s02 = 0;    // a-posteriori variance of unit weight [m^2]
  neu dNEU;
  long double sNEU[3] = {0, 0, 0};
};

// Observations of an epoch into the normal equations, with their misclosures at the
// adjusted float parameters.
void AddEpoch(TervanC& tc, const KinematicAdjustment& adj, const std::vector<KinObs>& obs,
              KinEpoch& k) {
  for (const KinObs& o : obs) {
    long double bx = o.b[0], by = o.b[1], bz = o.b[2], p = o.p, f = adj.Misclosure(o);
    int ixT = o.ixT;
    ++k.nobs;
    ++k.nsys[ixT - 3];
    SetNormalSystem(tc.Nc, tc.tc, bx, by, bz, f, p, k.ff, ixT);
  }
}

// Solves the epoch; false when it cannot be determined (too few observations for the
// coordinates and the clocks of the systems observed, or a singular normal matrix).
bool SolveEpoch(TervanC& tc, const KinematicAdjustment& adj, const std::vector<KinObs>& obs,
                KinEpoch& k) {
  const int nSys = (k.nsys[0] > 0) + (k.nsys[1] > 0) + (k.nsys[2] > 0);
  if (k.nobs < 4 || k.nobs < 3 + nSys) return false;
  long nrReal = 0;
  for (int a = 0; a < 6; ++a) {
    if (std::fabs(tc.Nc(a, a)) < 1e-6L)
      tc.Nc(a, a) = 1.0L;
    else
      ++nrReal;
    for (int b = a + 1; b < 6; ++b) tc.Nc(b, a) = tc.Nc(a, b);
  }
  invns::IsSingular = false;
  tc.QxxAll = inv(tc.Nc, -1);
  if (invns::IsSingular) return false;
  k.x = tc.QxxAll * tc.tc;
  long double xt = 0;
  for (int a = 0; a < 6; ++a) xt += k.x(a) * tc.tc(a);
  tc.vtPv = k.ff - xt;
  const long r = k.nobs - nrReal;
  tc.s0apost = r > 0 && tc.vtPv > 0 ? tc.vtPv / r : 0.0L;
  k.s02 = tc.s0apost;
  adj.AddFloatCofactors(obs, tc.QxxAll);
  k.dNEU = g2lg(xyz(k.x(0), k.x(1), k.x(2)), tc.RecPosFCG_ROVER);
  matrix<long double> Syy;
  g2lg(tc.QxxAll, tc.RecPosEstG, Syy);
  for (int a = 0; a < 3; ++a) k.sNEU[a] = Syy(a, a) > 0 ? std::sqrt(Syy(a, a) * k.s02) : 0.0L;
  return true;
}

long double Sigma(const TervanC& tc, int a, long double s02) {
  const long double q = tc.QxxAll(a, a);
  return q > 0 ? std::sqrt(q * s02) : 0.0L;
}

// Clock of system s [microseconds] and its precision; 0 for a system not in use.
long double Clock(const TervanC& tc, const KinEpoch& k, int s) {
  const bool use[3] = {tc.isGPS, tc.isGLN, tc.isGAL};
  return use[s] ? k.x(3 + s) * kMicro : 0.0L;
}
long double ClockSigma(const TervanC& tc, const KinEpoch& k, int s) {
  const bool use[3] = {tc.isGPS, tc.isGLN, tc.isGAL};
  return use[s] ? Sigma(tc, 3 + s, k.s02) * kMicro : 0.0L;
}

void WriteCommon(std::ostream& os, const TervanC& tc, const KinEpoch& k, const mjd& t, int s0dec) {
  os << t << std::fixed << setw(7) << k.nobs << setw(7) << k.nsys[0] << setw(7) << k.nsys[1]
     << setw(7) << k.nsys[2] << std::setprecision(4);
  const long double x0[3] = {tc.Delta_RecPosEst.GetX(), tc.Delta_RecPosEst.GetY(),
                             tc.Delta_RecPosEst.GetZ()};
  for (int a = 0; a < 3; ++a) os << setw(16) << x0[a] + k.x(a);
  os << std::setprecision(6);
  for (int s = 0; s < 3; ++s) os << setw(15) << Clock(tc, k, s);
  os << std::setprecision(s0dec) << setw(15) << std::sqrt(k.s02) << std::setprecision(4);
  for (int a = 0; a < 3; ++a) os << setw(10) << Sigma(tc, a, k.s02);
}

void WriteReportRow(const TervanC& tc, const KinEpoch& k, const mjd& t) {
  std::cout << "  ";
  WriteCommon(std::cout, tc, k, t, 4);
  std::cout << std::setprecision(6);
  for (int s = 0; s < 3; ++s) std::cout << setw(12) << ClockSigma(tc, k, s);
  std::cout << '\n';
}

void WritePlotRow(std::ostream& os, const TervanC& tc, const KinEpoch& k, const mjd& t) {
  WriteCommon(os, tc, k, t, 6);
  os << std::setprecision(6);
  for (int s = 0; s < 3; ++s) os << setw(11) << ClockSigma(tc, k, s);
  os << std::setprecision(4) << setw(10) << k.dNEU.GetN() << setw(10) << k.dNEU.GetE() << setw(10)
     << k.dNEU.GetU();
  for (int a = 0; a < 3; ++a) os << setw(10) << k.sNEU[a];
  os << "   " << tc.sdh.GetMarkerName(0) << "   " << tc.sdh.GetMarkerName(1) << '\n';
}

void Progress(const TervanC& tc, long e, long n, long& shown) {
  if (!tc.verbose) return;
  const long pct = n > 0 ? static_cast<long>(100.0L * e / n) : 100;
  if (pct % 5 != 0 || pct == shown) return;
  shown = pct;
  std::cerr << "\b\b\b\b\b\b" << setw(4) << pct << " %";
}

// The static solution left a design row for every observation record.
bool HasStaticDesign(const TervanC& tc) {
  const long n = tc.sdd.GetNObs();
  return n > 0 && tc.mB.NRow() >= n && tc.mB.NCol() >= 3;
}

// With fixed ambiguities the track rests on the fixed solution: its corrections join
// the last static correction, from which FinalMisclosure evaluates the misclosures,
// and the track is reported around the fixed baseline.
void UseFixedSolution(TervanC& tc) {
  if (!tc.isAmbFixed || tc.xFixCorr.NRow() != tc.NUnk || tc.xtemp.NRow() < tc.NUnk) return;
  for (long i = 0; i < tc.NUnk; ++i) tc.xtemp(i) += tc.xFixCorr(i);
  tc.Delta_RecPosEst = tc.Delta_RecPosFix;
}

}  // namespace

void ProcKinematic(TervanC& tc) {
  if (!tc.ifEstKin || !HasStaticDesign(tc)) return;
  UseFixedSolution(tc);
  if (tc.verbose)
    std::cerr << "Tervan::ProcKinematic(): PROCESSING OF CODE/PHASE OBSERVATIONS!\n"
              << "Tervan::ProcKinematic():         Process:       ";
  ProgramSubSubTitle("KINEMATIC SOLUTION:", 0);
  std::cout << "     EPOCH[MJD]    NOBS   #GPS   #GLN   #GAL           dX[m]           dY[m]      "
               "     dZ[m]      dTG[mics]      dTR[mics]      dTE[mics]          s0[m]     sX[m]  "
               "   sY[m]     sZ[m]  sdTG[mics]  sdTR[mics]  sdTE[mics]\n";
  std::unique_ptr<ResultFile> plot;
  if (tc.isGNUPlotKin) {
    plot.reset(new ResultFile(tc.gnuplotKin));
    plot->Stream() << "#   EPOCH[MJD]   NOBS   #GPS   #GLN   #GAL           dX[m]           dY[m]  "
                      "         dZ[m]      dTG[mics]      dTR[mics]      dTE[mics]          s0[m]  "
                      "  sdX[m]    sdY[m]    sdZ[m] sdTG[mics] sdTR[mics] sdTE[mics]     dN[m]     "
                      "dE[m]     dU[m]    sdN[m]    sdE[m]    sdU[m]\n";
  }
  PrintSettingsGuard keep;
  mjdns::NDecSecond = 1;
  const std::vector<SolvedObsType> types = SolvedObsTypes(tc);
  KinematicAdjustment adj(tc, types);
  // Without -kf every float parameter keeps its static (or fixed) value and the epoch
  // misclosures are those of the final estimates.
  if (tc.isKinFloat && !adj.Solve() && adj.Count() > 0)
    ProgramWarning("Tervan",
                   "KINEMATIC SOLUTION: FLOAT PARAMETERS NOT DETERMINED WITH EPOCH POSITIONS - "
                   "KEPT AT THEIR STATIC VALUES!");
  const long ne = tc.sdd.GetNEpoch();
  long i0 = 0, shown = -1;
  for (long e = 0; e < ne; ++e) {
    Progress(tc, e, ne, shown);
    tc.Nc.Resize(6, 6, 0.0L);
    tc.tc.Resize(6, 1, 0.0L);
    KinEpoch k;
    const std::vector<KinObs> obs = adj.Epoch(e, i0);
    AddEpoch(tc, adj, obs, k);
    i0 += tc.sdd.GetNSatEpoch(e);
    tc.NObs = k.nobs;
    tc.NObsG = k.nsys[0];
    tc.NObsR = k.nsys[1];
    tc.NObsE = k.nsys[2];
    if (!SolveEpoch(tc, adj, obs, k)) {
      std::cout << '\n';
      continue;
    }
    FiniteNumPut::SetEpoch(EpochText(tc.sdd.GetMJD(e)));
    WriteReportRow(tc, k, tc.sdd.GetMJD(e));
    if (plot) WritePlotRow(plot->Stream(), tc, k, tc.sdd.GetMJD(e));
  }
  FiniteNumPut::SetEpoch("");
  if (plot) plot->Commit();
  std::cout.flush();
  if (tc.verbose) std::cerr << "\b\b\b\b\b\b" << setw(4) << 100 << " %\n";
}
