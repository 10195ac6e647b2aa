#include "estimation/StaticProblem.h"

#include <cmath>
#include <random>

#include "../orbits/NavFixture.h"
#include "estimation/Tervan_ProcStatic.h"
#include "estimation/Tervan_SetUnknowns.h"
#include "gnss/SatAzimuthZenit.h"
#include "gnss/mGNSSc.h"
#include "gnss/xyz_flh.h"

namespace {

constexpr long double Pi = 3.141592653589793L;
constexpr long double C = 299792458.0L;
constexpr unsigned long Day = 59025;  // 2020-06-25
constexpr long double Start = 4.0L * 3600.0L;

// Keplerian record of one satellite of a 6-plane constellation, Toe 04:00.
navfixture::Rec Kepler(int prn) {
  navfixture::Rec r;
  r.prn = prn;
  r.h = 4;
  const double toe = 4 * 86400.0 + 4 * 3600.0;
  const int plane = (prn - 1) / 4, slot = (prn - 1) % 4;
  const double omega0 = plane * Pi / 3.0, m0 = slot * Pi / 2.0 + plane * 0.26;
  r.v = {1e-4 * prn, 1e-11, 0,    10,     20.5,  4.5e-9, m0,     1e-6,    0.01,  2e-6,
         5153.7,     toe,   1e-7, omega0, -1e-7, 0.96,   200.25, 0.3,     -8e-9, 1e-10,
         1,          2111,  0,    2,      0,     5e-9,   7e-9,   toe - 30};
  return r;
}

long double WeightOf(long double eB, long double eR) {
  const long double b = std::sin(eB) * std::sin(eB), r = std::sin(eR) * std::sin(eR);
  return 2.0L * b * r / (b + r);
}

}  // namespace

StaticProblem::StaticProblem(const ProblemOptions& o) {
  Orbits();
  base = flh2xyz(flh(46.0L * Pi / 180.0L, 14.5L * Pi / 180.0L, 300.0L), tc.eGPS);
  roverTrue = base + o.baselineScale * xyz(700.0L, 500.0L, -400.0L);
  Settings(o);
  Observations(o);
  Ambiguities();
}

void StaticProblem::Orbits() {
  std::string text = navfixture::HeaderGps2();
  for (int prn = 1; prn <= 24; ++prn) text += navfixture::Record2(Kepler(prn));
  const std::string name = dir_.File("nav");
  testsupport::WriteFile(name, text);
  tc.gpsnav.SetFile(name.c_str());
  tc.gpsnav.ReadFile();
  tc.isGPSnav = tc.isGPS = true;
}

void StaticProblem::Settings(const ProblemOptions& o) {
  tc.ifC1 = o.c1, tc.ifP2 = o.p2, tc.ifL1 = o.l1, tc.ifL2 = o.l2, tc.ifL3 = o.l3;
  tc.ifEstSta = true;
  tc.isGPSxdcb = o.dcb;
  tc.ifEstTropo = o.tropoB || o.tropoR;
  tc.ifEstTropoB = o.tropoB, tc.ifEstTropoR = o.tropoR;
  tc.TropoInterval = o.tropoInterval;
  tc.sigC = tc.sigP = 0.3L;
  tc.sigL1 = 0.002L;
  tc.sigL3G = 0.006L;
  tc.sig0 = 0.002L;
  tc.p0C = tc.p0P = (tc.sig0 / tc.sigC) * (tc.sig0 / tc.sigC);
  tc.p0L1 = 1.0L;
  tc.p0L3G = (tc.sig0 / tc.sigL3G) * (tc.sig0 / tc.sigL3G);
  const xyz off = xyz(o.offN, o.offE, o.offU);
  tc.RecPos0_BASE = tc.RecPosFC_BASE = base;
  tc.RecPos0_ROVER = tc.RecPosFC_ROVER = roverTrue + off;
  tc.Delta_RecPos0 = tc.RecPos0_ROVER - base;
  tc.RecPosFCG_BASE = xyz2flh(base, tc.eGPS);
  tc.RecPosFCG_ROVER = xyz2flh(tc.RecPosFC_ROVER, tc.eGPS);
  tc.sdh.SetType(sdobs::C1, o.c1);
  tc.sdh.SetType(sdobs::P2, o.p2);
  tc.sdh.SetType(sdobs::L1, o.l1);
  tc.sdh.SetType(sdobs::L2, o.l2);
  tc.sdh.iL3 = o.l3;
}

void StaticProblem::Observations(const ProblemOptions& o) {
  PhsDiffData& d = tc.sdd;
  std::mt19937 gen(o.seed);
  std::normal_distribution<double> normal(0.0, 1.0);
  struct Obs {
    long e;
    short prn;
    long double eB, eR, aB, aR, geo;
  };
  std::vector<Obs> all;
  std::vector<short> count(o.nEpoch, 0);
  for (long e = 0; e < o.nEpoch; ++e) {
    clockTrue.push_back(3.0L + 0.01L * e);
    const mjd t(Day, Start + e * o.interval);
    for (short prn = 1; prn <= 24; ++prn) {
      xyzt pB, pR;
      long double tgd = 0, eB, eR, aB, aR;
      const long double rB = tc.gpsnav.CalcSatPosition(prn, t, t, base, pB, &tgd, 0, 0);
      const long double rR = tc.gpsnav.CalcSatPosition(prn, t, t, roverTrue, pR, &tgd, 0, 0);
      SatelliteAzimuthElevation(base, pB, tc.eGPS, eB, aB);
      SatelliteAzimuthElevation(roverTrue, pR, tc.eGPS, eR, aR);
      if (eB < 5.0L * Pi / 180.0L || eR < 5.0L * Pi / 180.0L) continue;
      all.push_back({e, prn, eB, eR, aB, aR, rR - rB - C * (pR.GetT() - pB.GetT())});
      ++count[e];
    }
  }
  d.neph = o.nEpoch;
  d.nobs = static_cast<long>(all.size());
  d.epoch.Resize(d.neph, 1);
  d.nsat.Resize(d.neph, 1);
  d.dtR_B.Resize(d.neph, 1, 0.0L);
  d.clkErB.Resize(d.neph, 1, 0.0L);
  d.clkErR.Resize(d.neph, 1, 0.0L);
  long first = 0;
  for (long e = 0; e < d.neph; ++e) {
    d.epoch(e) = mjd(Day, Start + e * o.interval);
    d.nsat(e) = count[e];
    first_.push_back(first);
    first += count[e];
  }
  const long n = d.nobs;
  for (matrix<gnssobs>* m : {&d.C1, &d.P2, &d.L1, &d.L2, &d.L3}) m->Resize(n, 1);
  d.sat.Resize(n, 1);
  for (matrix<long double>* m : {&tc.ELV, &tc.AZM, &tc.TROP, &tc.MFTROP, &tc.ION, &tc.SETIDE,
                                 &tc.PTIDE, &tc.OTIDE, &tc.REL2, &tc.SAT_DIST})
    m->Resize(n, 2, 0.0L);
  tc.MFGRAD.Resize(n, 4, 0.0L);
  tc.WGHT.Resize(n, 1, 0.0L);
  tc.OKSAT.Resize(n, 1, true);
  std::vector<short> sats;
  for (long i = 0; i < n; ++i) {
    const Obs& a = all[i];
    d.sat(i) = a.prn;
    sats.push_back(a.prn);
    tc.ELV(i, 0) = a.eB, tc.ELV(i, 1) = a.eR;
    tc.AZM(i, 0) = a.aB, tc.AZM(i, 1) = a.aR;
    tc.WGHT(i) = WeightOf(a.eB, a.eR);
    tc.TROP(i, 0) = 2.3L / std::sin(a.eB), tc.TROP(i, 1) = 2.3L / std::sin(a.eR);
    tc.MFTROP(i, 0) = 1.0L / std::sin(a.eB), tc.MFTROP(i, 1) = 1.0L / std::sin(a.eR);
    const long double T =
        tc.TROP(i, 1) + tc.MFTROP(i, 1) * o.zR - tc.TROP(i, 0) - tc.MFTROP(i, 0) * o.zB;
    const long double g = a.geo + T + clockTrue[a.e];
    auto noise = [&](long double s) {
      return s * (normal(gen) / std::sin(a.eR) - normal(gen) / std::sin(a.eB));
    };
    dcbTrue[a.prn] = o.dcb ? 0.1L * (a.prn % 7) - 0.25L : 0.0L;
    ambTrue[a.prn] = 1.3L * a.prn - 7.0L;
    if (o.c1) d.C1(i) = g + dcbTrue[a.prn] + noise(o.sigmaC);
    if (o.p2) d.P2(i) = g + noise(o.sigmaC);
    if (o.l1) d.L1(i) = (g + ambTrue[a.prn] + noise(o.sigmaL)) / GPSc::lamb1;
    if (o.l2) d.L2(i) = (g + 0.5L * ambTrue[a.prn] + noise(o.sigmaL)) / GPSc::lamb2;
    if (o.l3) d.L3(i) = g - 0.7L * ambTrue[a.prn] + noise(3.0L * o.sigmaL);
  }
  std::sort(sats.begin(), sats.end());
  sats.erase(std::unique(sats.begin(), sats.end()), sats.end());
  d.satList.Resize(static_cast<long>(sats.size()), 1);
  for (size_t k = 0; k < sats.size(); ++k) d.satList(k) = sats[k];
  tc.dtAll.Resize(d.neph, 1, 0.0L);
  for (long e = 0; e < d.neph; ++e) tc.dtAll(e) = clockTrue[e] + 0.8L;
}

void StaticProblem::Ambiguities() {
  const PhsDiffData& d = tc.sdd;
  const long nsat = d.GetNSat();
  tc.AmbSat.Resize(nsat, 1);
  tc.AmbIndex.Resize(nsat, 4, -1L);
  tc.xAmbL1.Resize(nsat, 1, 0.0L);
  tc.xAmbL2.Resize(nsat, 1, 0.0L);
  tc.xAmbL3.Resize(nsat, 1, 0.0L);
  for (long k = 0; k < nsat; ++k) {
    const short prn = d.GetSat(k);
    tc.AmbSat(k) = prn;
    long n = 0;
    for (long e = 0; e < d.GetNEpoch(); ++e) {
      const long r = Record(e, prn);
      if (r < 0) continue;
      if (n == 0) tc.AmbIndex(k, 0) = e, tc.AmbIndex(k, 1) = first_[e];
      tc.AmbIndex(k, 2) = e;
      ++n;
    }
    tc.AmbIndex(k, 3) = n;
    tc.xAmbL1(k) = ambTrue[prn] + 0.37L;  // a-priori values off by some decimetres
    tc.xAmbL2(k) = 0.5L * ambTrue[prn] - 0.21L;
    tc.xAmbL3(k) = -0.7L * ambTrue[prn] + 0.15L;
  }
  tc.nAmbL1 = tc.nAmbL2 = tc.nAmbL3 = nsat;
}

long StaticProblem::Record(long e, short prn) const {
  for (long i = first_[e]; i < first_[e] + tc.sdd.GetNSatEpoch(e); ++i)
    if (tc.sdd.GetRecSat(i) == prn) return i;
  return -1;
}

void StaticProblem::Solve() {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  SetUnknowns(tc);
  ProcStatic(tc);
  report = testing::internal::GetCapturedStdout();
  report += testing::internal::GetCapturedStderr();
}
