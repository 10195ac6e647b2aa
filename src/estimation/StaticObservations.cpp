#include "estimation/StaticObservations.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>

#include "core/KotnePretvorbe.h"
#include "estimation/EpochTropoDesign.h"
#include "gnss/TimeConverse.h"
#include "gnss/mGNSSc.h"
#include "gnss/ymdhms.h"
#include "preprocess/Tervan_SetAmbiguities.h"

namespace {

constexpr long double C = 299792458.0L;

// Verbose progress of the epoch loop in steps of 5 %.
class Progress {
 public:
  Progress(bool on, long n) : on_(on), n_(n) {}
  void Show(long e) {
    if (!on_ || n_ <= 0) return;
    const long pc = static_cast<long>(static_cast<long double>(e) / n_ * 100.0L);
    if (pc % 5 == 0 && pc != last_) Print(pc);
  }
  // The iteration's correction norm completes the line.
  void Done() {
    if (on_) Print(100);
  }

 private:
  void Print(long pc) {
    last_ = pc;
    std::cerr << "\b\b\b\b\b\b" << std::setw(4) << pc << " %";
  }
  bool on_;
  long n_;
  long last_ = -1;
};

long double Interpolate(const matrix<long double>& x, long k, long double a, long double b) {
  return x(k) * a + x(k + 1) * b;
}

}  // namespace

StaticObservations::StaticObservations(TervanC& tc)
    : tc_(tc),
      cut_(deg2rad(static_cast<long double>(tc.MinElevation))),
      usedTypes_(static_cast<size_t>(tc.sdd.GetNObs()), 0) {
  // The BASE does not move between iterations: its ranges are kept from the first
  // one. With the travel times of the preprocessing a BASE range costs one orbit
  // evaluation, which repeats the earlier result to the last bit, so a day of
  // millions of records (a day at 1 s) computes them again instead of holding them.
  const long nobs = tc.sdd.GetNObs();
  if (tc.TravelTime.NRow() != nobs || nobs <= KeepBaseRecords) {
    base_.resize(static_cast<size_t>(tc.sdd.GetNObs()));
    baseState_.assign(static_cast<size_t>(tc.sdd.GetNObs()), 0);
  }
  // The coordinate part of each record's design row is kept for the type variances
  // and the later stages; the rest of a row is formed again when needed.
  if (tc.mB.NRow() != tc.sdd.GetNObs() || tc.mB.NCol() != 3)
    tc.mB.Resize(tc.sdd.GetNObs(), 3, 0.0L);
}

void StaticObservations::Accumulate(int niter, bool testOn, EpochClocks& clk, long double& sumAll,
                                    long double* sumType) {
  sumAll_ = &sumAll;
  sumType_ = sumType;
  std::fill(usedTypes_.begin(), usedTypes_.end(), 0);
  const long neph = tc_.sdd.GetNEpoch();
  if (tc_.verbose)
    std::cerr << "Tervan::ProcStatic():         " << std::setw(3) << niter << ":   Process:       ";
  Progress progress(tc_.verbose, neph);
  long first = 0;
  for (long e = 0; e < neph; ++e) {
    progress.Show(e);
    Epoch(e, first, testOn, clk);
    SetElimNormalSystem(tc_.Nt, tc_.tt, clk, e);
    first += tc_.sdd.GetNSatEpoch(e);
  }
  progress.Done();
}

void StaticObservations::SetTropo(const EpochTropoDesign& d, EpochTropo& et) const {
  if (!d.Zenith()) return;
  const long k = d.ZenithNode(), g = d.GradientNode();
  if (tc_.ifEstTropoB) {
    et.zB = Interpolate(tc_.xTropoB, k, d.Wa(), d.Wb());
    if (d.Gradient() && tc_.ifEstTropoGradB) {
      et.eB = Interpolate(tc_.xTropoGradEB, g, d.Ga(), d.Gb());
      et.nB = Interpolate(tc_.xTropoGradNB, g, d.Ga(), d.Gb());
    }
  }
  if (tc_.ifEstTropoR) {
    et.zR = Interpolate(tc_.xTropoR, k, d.Wa(), d.Wb());
    if (d.Gradient() && tc_.ifEstTropoGradR) {
      et.eR = Interpolate(tc_.xTropoGradER, g, d.Ga(), d.Gb());
      et.nR = Interpolate(tc_.xTropoGradNR, g, d.Ga(), d.Gb());
    }
  }
}

void StaticObservations::Epoch(long e, long first, bool testOn, EpochClocks& clk) {
  clk.Begin(e);
  const EpochTropoDesign design(tc_, e);
  EpochTropo et;
  SetTropo(design, et);
  const PhsDiffData& d = tc_.sdd;
  mjd tB = d.GetMJD(e), tR = d.GetMJD(e);
  tB += -d.clkErB(e);
  tR += d.dtR_B(e) - d.clkErR(e);
  for (long i = first; i < first + d.GetNSatEpoch(e); ++i) {
    Record r;
    r.i = i;
    r.e = e;
    r.prn = d.GetRecSat(i);
    if (!(tc_.ELV(i, 0) > cut_ && tc_.ELV(i, 1) > cut_)) continue;
    if (!SetSystem(r)) continue;
    for (long& k : r.iB) k = -1;
    if (!Geometry(r, tB, tR)) continue;
    const long double mf0 = ModelValue(tc_.MFTROP, i, 0), mf1 = ModelValue(tc_.MFTROP, i, 1);
    design.Fill(tc_, i, r.B, r.iB);
    const long double g[4] = {ModelValue(tc_.MFGRAD, i, 0), ModelValue(tc_.MFGRAD, i, 1),
                              ModelValue(tc_.MFGRAD, i, 2), ModelValue(tc_.MFGRAD, i, 3)};
    r.T = (tc_.TROP(i, 1) + mf1 * et.zR + g[2] * et.nR + g[3] * et.eR) -
          (tc_.TROP(i, 0) + mf0 * et.zB + g[0] * et.nB + g[1] * et.eB);
    r.dI = ModelValue(tc_.ION, i, 1) - ModelValue(tc_.ION, i, 0);
    if (tc_.mB.NRow() == d.GetNObs())
      for (int s = 0; s < 3; ++s) tc_.mB(i, s) = r.B[s];
    Types(r, testOn, clk);
  }
  clk.End();
}

bool StaticObservations::SetSystem(Record& r) const {
  r.sys = SystemOf(tc_, r.prn);
  switch (r.sys) {
    case 0:
      r.a1 = 1.0L, r.a2 = 1.6469444444444448L;
      r.lamb1 = GPSc::lamb1, r.lamb2 = GPSc::lamb2;
      r.p0Pc3 = tc_.p0Pc3G, r.p0Pp3 = tc_.p0Pp3G, r.p0L3 = tc_.p0L3G;
      return true;
    case 1: {
      const long s = r.prn - 101;
      r.a1 = GLONASSc::alphaG(s, 0), r.a2 = GLONASSc::alphaG(s, 1);
      r.lamb1 = GLONASSc::lamb(s, 0), r.lamb2 = GLONASSc::lamb(s, 1);
      r.p0Pc3 = tc_.p0Pc3R, r.p0Pp3 = tc_.p0Pp3R, r.p0L3 = tc_.p0L3R;
      return true;
    }
    case 2:
      r.a1 = 1.0L, r.a2 = 1.7032461936225225L;
      r.lamb1 = GALILEOc::lamb1, r.lamb2 = GALILEOc::lamb2;
      r.p0Pc3 = tc_.p0Pc3E, r.p0Pp3 = tc_.p0Pp3E, r.p0L3 = tc_.p0L3E;
      return true;
    default:
      return false;
  }
}

bool StaticObservations::SatelliteRange(short prn, int sys, const mjd& t, const xyz& rec, long i,
                                        int travel, xyzt& pos, long double& rho) const {
  xyzt vel;
  long double tgd = 0.0L;
  if (sys == 0 && tc_.isGPSnav) {
    if (!tc_.gpsnav.HasSat(prn)) return false;
    rho = tc_.gpsnav.CalcSatPosition(prn, t, t, rec, pos, &tgd, 0, 0);
    return true;
  }
  if (sys == 1 && tc_.isGLNnav) {
    const short slot = static_cast<short>(prn - 100);
    if (!tc_.glnnav.HasSat(slot)) return false;
    rho = tc_.glnnav.CalcSatPosition(slot, t, t, rec, pos, vel, 0);
    return true;
  }
  if (sys == 2 && tc_.isGALnav) {
    const short e = static_cast<short>(prn - 200);
    if (!tc_.galnav.HasSat(e)) return false;
    rho = tc_.galnav.CalcSatPosition(e, t, t, rec, pos, &tgd, 0, 0);
    return true;
  }
  if (!tc_.isPEph) return false;
  if (tc_.TravelTime.NRow() == tc_.sdd.GetNObs()) {
    EmissionState* kept =
        tc_.Emissions.NRow() == tc_.sdd.GetNObs() ? &tc_.Emissions(i, travel) : nullptr;
    rho = tc_.pephM.CalcSatPosition(prn, t, rec, pos, vel, tc_.TravelTime(i, travel), kept);
  } else
    rho = tc_.pephM.CalcSatPosition(prn, t, rec, pos, vel);
  if (tc_.isPclk) {
    long double dt = 0.0L;
    tc_.pclkM.SetEpochIndex(t);
    tc_.pclkM.GetSatelliteClock(prn, t, dt);
    if (tc_.pclkM.GetDTisOK()) pos.SetT(dt - tc_.pephM.GetRelativity());
  }
  return rho > 0.0L && tc_.pephM.GetPSisOK() && tc_.pephM.GetDTisOK();
}

bool StaticObservations::Base(const Record& r, const mjd& tB, BaseSide& b) {
  xyzt posB;
  const bool ok = SatelliteRange(r.prn, r.sys, tB, tc_.RecPosFC_BASE, r.i, 0, posB, b.rho);
  b.clock = posB.GetT();
  return ok;
}

bool StaticObservations::Geometry(Record& r, const mjd& tB, const mjd& tR) {
  xyzt posR;
  BaseSide b;
  if (base_.empty()) {
    if (!Base(r, tB, b)) return false;
  } else {
    signed char& state = baseState_[r.i];
    if (state == 0) {
      state = Base(r, tB, base_[r.i]) ? 1 : -1;
    }
    if (state < 0) return false;
    b = base_[r.i];
  }
  long double rhoB = b.rho, rhoR = 0.0L;
  if (!SatelliteRange(r.prn, r.sys, tR, tc_.RecPosFC_ROVER, r.i, 1, posR, rhoR)) return false;
  // A satellite at the station (a broken orbit record) has no line of sight.
  if (!(rhoB > 1.0L && rhoR > 1.0L) || !std::isfinite(rhoB) || !std::isfinite(rhoR)) return false;
  const long i = r.i, e = r.e;
  long double cR = (tc_.sdd.clkErR(e) - tc_.sdd.clkErB(e)) * C + tc_.dtAll(e);
  if (tc_.ixDTsys[r.sys] >= 0) cR += tc_.dtGNSS[r.sys];
  auto dif = [i](const matrix<long double>& m) {
    return ModelValue(m, i, 1) - ModelValue(m, i, 0);
  };
  r.G = rhoR - rhoB + dif(tc_.SETIDE) + dif(tc_.PTIDE) + dif(tc_.OTIDE) + dif(tc_.REL2) -
        C * (posR.GetT() - b.clock) + cR;
  SetRow(r, posR, rhoR);
  // Model terms that cannot be evaluated (a station at the geocentre) leave the
  // observation out rather than spread NaN through the normal equations.
  return std::isfinite(r.G);
}

void StaticObservations::SetRow(Record& r, const xyzt& posR, long double rhoR) const {
  const xyz& R = tc_.RecPosFC_ROVER;
  r.B[0] = -(R.GetX() - posR.GetX()) / rhoR;
  r.B[1] = -(R.GetY() - posR.GetY()) / rhoR;
  r.B[2] = -(R.GetZ() - posR.GetZ()) / rhoR;
  r.iB[0] = tc_.ixX, r.iB[1] = tc_.ixY, r.iB[2] = tc_.ixZ;
  r.iB[3] = tc_.ixDTsys[r.sys];
  for (int s = 3; s < 8; ++s) r.B[s] = -1.0L;
  for (int s = 4; s < 8; ++s) r.iB[s] = -1;
}

bool StaticObservations::Misclosure(const Record& r, int k, long double& f, long& amb) const {
  const PhsDiffData& d = tc_.sdd;
  const PhsDiffHeader& h = tc_.sdh;
  const bool gal = r.sys == 2;
  const long i = r.i;
  const gnssobs* o = nullptr;
  switch (k) {
    case tC1:
      o = h.HasC1() ? &d.C1(i) : nullptr;
      break;
    case tP1:
      o = h.HasP1() ? &d.P1(i) : nullptr;
      break;
    case tP2:
      o = gal ? (h.HasC7() ? &d.C7(i) : nullptr) : (h.HasP2() ? &d.P2(i) : nullptr);
      break;
    case tPc3:
      o = h.HasPC3() ? &d.PC3(i) : nullptr;
      break;
    case tPp3:
      o = h.HasPP3() ? &d.PP3(i) : nullptr;
      break;
    case tL3:
      o = h.HasL3() ? &d.L3(i) : nullptr;
      break;
    case tL1:
      o = h.HasL1() ? &d.L1(i) : nullptr;
      break;
    default:
      o = gal ? (h.HasL7() ? &d.L7(i) : nullptr) : (h.HasL2() ? &d.L2(i) : nullptr);
  }
  if (!o || o->IsNull()) return false;
  const long double v = o->GetObs(), base = r.G + r.T;
  amb = -1;
  if (ObsTypes[k].phase) {
    amb = Ambiguity(r, k);
    if (amb < 0) return false;
  }
  switch (k) {
    case tC1:
    case tP1:
      f = base + r.a1 * r.dI - v;
      break;
    case tP2:
      f = base + r.a2 * r.dI - v;
      break;
    case tPc3:
    case tPp3:
      f = base - v;
      break;
    case tL3:
      f = base - v + tc_.xAmbL3(amb);
      break;
    case tL1:
      f = base - r.a1 * r.dI - r.lamb1 * v + tc_.xAmbL1(amb);
      break;
    default:
      f = base - r.a2 * r.dI - r.lamb2 * v + tc_.xAmbL2(amb);
  }
  return true;
}

long StaticObservations::Ambiguity(const Record& r, int k) const {
  short prn = r.prn;
  long e = r.e, amb = -1;
  long n = k == tL3 ? tc_.nAmbL3 : k == tL1 ? tc_.nAmbL1 : tc_.nAmbL2;
  if (tc_.AmbFind.Size() == n)
    amb = GetAmbIndex(tc_, prn, e);
  else
    GetAmbIndex(prn, e, tc_.AmbIndex, tc_.AmbSat, n, amb);
  return amb;
}

long double StaticObservations::Weight(const Record& r, int k) const {
  const long double w = tc_.WGHT(r.i);
  switch (k) {
    case tC1:
      return w * tc_.p0C;
    case tP1:
    case tP2:
      return w * tc_.p0P;
    case tPc3:
      return w * r.p0Pc3;
    case tPp3:
      return w * r.p0Pp3;
    case tL3:
      return w * r.p0L3;
    default:
      return w * tc_.p0L1;
  }
}

void StaticObservations::Reject(const Record& r, int k, long double f) const {
  const char* label = ObsTypes[k].outlierLabel;
  if (r.sys == 2 && k == tP2) label = "]     f(C7) = ";
  if (r.sys == 2 && k == tL2) label = "]     f(L7)  = ";
  std::cout << std::fixed << "    Outlier detection:  PRN" << std::setw(4) << r.prn
            << "   EPOCH: " << std::setw(5) << r.e + 1 << " [" << mjd2ymdhms(tc_.sdd.GetMJD(r.e))
            << label << std::setw(12) << std::setprecision(3) << f << " m\n";
}

void StaticObservations::Types(Record& r, bool testOn, EpochClocks& clk) {
  for (int k = 0; k < NObsTypes; ++k) {
    const ObsTypeDef& t = ObsTypes[k];
    if (!(tc_.*(t.on)) || (tc_.*(t.excl))(r.i)) continue;
    long double f = 0.0L;
    long amb = -1;
    if (!Misclosure(r, k, f, amb) || !std::isfinite(f)) continue;
    (tc_.*(t.f))(r.i) = f;
    const long double limit = t.phase ? tc_.MaxfDiff / 2.0L : tc_.MaxfDiff;
    if (tc_.isMaxfDiff && testOn && !(std::fabs(f) < limit)) {
      Reject(r, k, f);
      (tc_.*(t.excl))(r.i) = true;
      continue;
    }
    Use(r, k, f, Weight(r, k), amb, clk);
  }
}

void StaticObservations::TypeSlots(const Record& r, int k, long amb, long double& f,
                                   long* iB) const {
  const ObsTypeDef& t = ObsTypes[k];
  for (int s = 4; s < 8; ++s) iB[s] = -1;
  if (t.phase) {
    const matrix<long>& ix = k == tL3 ? tc_.ixAmbL3 : k == tL1 ? tc_.ixAmbL1 : tc_.ixAmbL2;
    iB[k == tL3 ? 7 : 5] = ix(amb);
  } else if (tc_.*(t.dcbOn)) {
    long nsat = tc_.sdd.GetNSat(), j = -1, s = 0;
    short prn = r.prn;
    GetIndexSatDCB(prn, tc_.sdd.satList, tc_.*(t.dcbIndex), nsat, j, s);
    if (j >= 0) {
      iB[4] = j;
      f += (tc_.*(t.dcb))(s);  // the current bias belongs to the computed value
    }
  }
}

void StaticObservations::Use(Record& r, int k, long double f, long double p, long amb,
                             EpochClocks& clk) {
  const ObsTypeDef& t = ObsTypes[k];
  ++tc_.NObs;
  ++(r.sys == 0 ? tc_.NObsG : r.sys == 1 ? tc_.NObsR : tc_.NObsE);
  TypeSlots(r, k, amb, f, r.iB);
  (tc_.*(t.f))(r.i) = f;
  *sumAll_ += p * f * f;
  sumType_[k] += tc_.WGHT(r.i) * f * f;
  SetCRDNormalSystem(tc_.Nc, tc_.tc, r.B, f, p, r.iB, clk);
  (tc_.*(t.used))(r.i) = true;
  usedTypes_[r.i] |= static_cast<unsigned char>(1u << k);
}

void StaticObservations::Row(Record& r, const EpochTropoDesign& design) const {
  for (int s = 0; s < 3; ++s) r.B[s] = tc_.mB(r.i, s);
  r.iB[0] = tc_.ixX, r.iB[1] = tc_.ixY, r.iB[2] = tc_.ixZ;
  r.iB[3] = tc_.ixDTsys[r.sys];
  for (int s = 3; s < 8; ++s) r.B[s] = -1.0L;
  design.Fill(tc_, r.i, r.B, r.iB);
}

void StaticObservations::TypeVariances(const EpochClocks& clk) {
  const matrix<long double>& Q = tc_.QxxAll;
  const matrix<long double>& x = tc_.xtemp;
  long double sum[NObsTypes] = {}, hat[NObsTypes] = {};
  long n[NObsTypes] = {};
  std::vector<long double> w(tc_.NUnk, 0.0L);
  const PhsDiffData& d = tc_.sdd;
  long first = 0;
  for (long e = 0; e < d.GetNEpoch(); first += d.GetNSatEpoch(e), ++e) {
    const long last = first + d.GetNSatEpoch(e);
    bool any = false;
    for (long i = first; i < last && !any; ++i) any = usedTypes_[i] != 0;
    if (!any) continue;
    const bool solved = clk.IsSolved(e);
    long double uQu = 0.0L, dc = 0.0L;
    if (solved) {  // w = Q g and g'Q g with g = N21 / N22 over the epoch's unknowns
      dc = clk.Solve(e, x);
      for (long a = clk.First(e); a < clk.Last(e); ++a) {
        long double s = 0.0L;
        const long double* q = Q.Row(clk.Index(a));
        for (long b = clk.First(e); b < clk.Last(e); ++b)
          s += q[clk.Index(b)] * clk.Value(b) / clk.N22(e);
        w[clk.Index(a)] = s;
        uQu += s * clk.Value(a) / clk.N22(e);
      }
    }
    const EpochTropoDesign design(tc_, e);
    for (long i = first; i < last; ++i) {
      if (usedTypes_[i] == 0) continue;
      Record r;
      r.i = i;
      r.e = e;
      r.prn = d.GetRecSat(i);
      SetSystem(r);
      Row(r, design);
      for (int k = 0; k < NObsTypes; ++k) {
        if (!(usedTypes_[i] & (1u << k))) continue;
        const long double f = (tc_.*(ObsTypes[k].f))(i);
        long double unused = 0.0L;
        TypeSlots(r, k, ObsTypes[k].phase ? Ambiguity(r, k) : -1, unused, r.iB);
        long double bQb = 0.0L, bw = 0.0L, bx = 0.0L;
        int used[NSlots];
        const int nused = UsedSlots(r.iB, used);
        for (int ka = 0; ka < nused; ++ka) {
          const int a = used[ka];
          bx += r.B[a] * x(r.iB[a]);
          bw += r.B[a] * w[r.iB[a]];
          const long double* q = Q.Row(r.iB[a]);
          for (int kb = 0; kb < nused; ++kb) {
            const int b = used[kb];
            bQb += r.B[a] * r.B[b] * q[r.iB[b]];
          }
        }
        const long double aQa = solved ? bQb + 2.0L * bw + uQu + 1.0L / clk.N22(e) : bQb;
        const long double v = bx - dc - f;
        sum[k] += tc_.WGHT(i) * v * v;
        hat[k] += Weight(r, k) * aQa;
        ++n[k];
      }
    }
    if (solved)
      for (long a = clk.First(e); a < clk.Last(e); ++a) w[clk.Index(a)] = 0.0L;
  }
  for (int t = 0; t < NObsTypes; ++t) {
    const long double r = n[t] - hat[t];
    tc_.*(ObsTypes[t].variance) = r > 0.0L ? sum[t] / r : 0.0L;
  }
}
