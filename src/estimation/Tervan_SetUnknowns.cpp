#include "estimation/Tervan_SetUnknowns.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>

#include "core/KotnePretvorbe.h"
#include "core/ParseArgument.h"
#include "core/ProgramError.h"
#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "estimation/Tervan_ProcStatic.h"
#include "gnss/SatelliteNumbering.h"

namespace {

const char* const Prog = "Tervan";
const char* const Pre = "Tervan::SetUnknowns():         ";

// One satellite code-bias type: its switch, the observations it needs and its tables.
struct DCBType {
  bool TervanC::*flag;
  matrix<gnssobs> PhsDiffData::*obs;
  matrix<long double> TervanC::*value;
  matrix<long> TervanC::*index;
  long TervanC::*count;
  const char* verboseLabel;
  const char* countLabel;
};

const DCBType DCBTypes[] = {
    {&TervanC::isdcbC1, &PhsDiffData::C1, &TervanC::dcbC1, &TervanC::ixdcbC1, &TervanC::ndcbC1,
     "C1 DCB values:", "  #C1 DCB "},
    {&TervanC::isdcbP1, &PhsDiffData::P1, &TervanC::dcbP1, &TervanC::ixdcbP1, &TervanC::ndcbP1,
     "P1 DCB values:", "  #P1 DCB "},
    {&TervanC::isdcbP2, &PhsDiffData::P2, &TervanC::dcbP2, &TervanC::ixdcbP2, &TervanC::ndcbP2,
     "P2 DCB values:", "  #P2 DCB "},
    {&TervanC::isdcbPc3, &PhsDiffData::PC3, &TervanC::dcbPc3, &TervanC::ixdcbPc3, &TervanC::ndcbPc3,
     "P3[C1,P2/C7] DCB values:", "  #Pc3 DCB "},
    {&TervanC::isdcbPp3, &PhsDiffData::PP3, &TervanC::dcbPp3, &TervanC::ixdcbPp3, &TervanC::ndcbPp3,
     "P3[P1,P2/C7] DCB values:", "  #Pp3 DCB "},
};

// The file holds what the code-bias type k needs.
bool HasDCBObs(const PhsDiffHeader& h, int k) {
  const bool second = h.HasP2() || h.HasC7();
  switch (k) {
    case 0:
      return h.HasC1();
    case 1:
      return h.HasP1();
    case 2:
      return second;
    case 3:
      return h.HasC1() && second;
    default:
      return h.HasP1() && second;
  }
}

bool SystemHasDCB(const TervanC& tc, short sat) {
  return (satnum::IsGPS(sat) && tc.isGPSxdcb) || (satnum::IsGLONASS(sat) && tc.isGLNxdcb) ||
         (satnum::IsGALILEO(sat) && tc.isGALxdcb);
}

void PrintCount(const char* label, long n) {
  std::cout << label << std::setw(6) << n << '\n';
}

// The code-bias switches of the observation types chosen.
void SetDCBSwitches(TervanC& tc) {
  if (!tc.isGPSxdcb && !tc.isGLNxdcb && !tc.isGALxdcb) return;
  const PhsDiffHeader& h = tc.sdh;
  tc.isdcbC1 = tc.ifC1 && h.HasC1();
  tc.isdcbP1 = tc.ifP1 && h.HasP1();
  tc.isdcbP2 = tc.ifP2 && (h.HasP2() || h.HasC7());
  tc.isdcbPc3 = tc.ifPc3 && h.HasC1() && h.HasP2();
  tc.isdcbPp3 = tc.ifPp3 && h.HasP1() && h.HasP2();
  if ((tc.isdcbC1 || tc.isdcbP1 || tc.isdcbP2) && (tc.isdcbPc3 || tc.isdcbPp3)) {
    ProgramWarning(Prog,
                   "COMBINED OBSERVATION PROCESSING (RAW AND LIN. COMBS) -> DCB VALUES UNKONWNS "
                   "UNSET!");
    tc.isdcbC1 = tc.isdcbP1 = tc.isdcbP2 = tc.isdcbPc3 = tc.isdcbPp3 = false;
  }
}

// A combination and a raw type formed from the same measurement are not independent.
void WarnSameMeasurements(const TervanC& tc) {
  std::string pairs;
  auto pair = [&pairs](bool both, const char* text) {
    if (!both) return;
    if (!pairs.empty()) pairs += ", ";
    pairs += text;
  };
  pair(tc.ifL3 && tc.ifL1, "L3+L1");
  pair(tc.ifL3 && tc.ifL2, "L3+L2");
  pair(tc.ifPc3 && tc.ifC1, "Pc3+C1");
  pair(tc.ifPc3 && tc.ifP2, "Pc3+P2");
  pair(tc.ifPp3 && tc.ifP1, "Pp3+P1");
  pair(tc.ifPp3 && tc.ifP2, "Pp3+P2");
  pair(tc.ifPc3 && tc.ifPp3, "Pc3+Pp3");
  if (pairs.empty()) return;
  ProgramWarning(Prog, "OBSERVATION TYPES " + pairs +
                           " USE THE SAME MEASUREMENTS TWICE AND ARE TREATED AS INDEPENDENT - "
                           "PRECISIONS WILL BE TOO OPTIMISTIC!");
}

// Both zenith delays free on a short baseline: the two are nearly the same unknown.
void WarnFreeTroposphere(const TervanC& tc) {
  if (!tc.ifEstTropo || !tc.ifEstTropoB || !tc.ifEstTropoR || tc.ifTropoSigma) return;
  const xyz& d = tc.Delta_RecPos0;
  const long double len = std::sqrt(d * d);
  if (len >= MinBaselineFreeTropo) return;
  char text[64];
  std::snprintf(text, sizeof text, "%.1f KM", static_cast<double>(len / 1000.0L));
  ProgramWarning(
      Prog, std::string("ZENITH DELAYS OF BOTH STATIONS ESTIMATED ON A SHORT BASELINE (") + text +
                ") WITHOUT A CONSTRAINT ON THE BASE - NEARLY SINGULAR, CONSTRAIN THE "
                "BASE WITH -ts!");
}

// Grids finer than MaxTropoNodes would exhaust memory rather than help.
void CheckTropoGrid(const TervanC& tc, long double span) {
  if (tc.ifTropoSigma && !(tc.TropoSigma > 0.0L))
    ProgramError(Prog, "TROPOSPHERE CONSTRAINT SIGMA MUST BE POSITIVE [ -ts ]!");
  if (span / tc.TropoInterval + 2.0L > MaxTropoNodes)
    ProgramError(Prog, OptionBoundText("TROPOSPHERE INTERVAL TOO SHORT",
                                       "MORE THAN " + std::to_string(MaxTropoNodes) +
                                           " TROPOSPHERE PARAMETERS PER STATION",
                                       "-ti"));
  if (tc.ifEstTropoGrad && tc.nTropoGradInt >= MaxTropoNodes)
    ProgramError(Prog, OptionBoundText("TOO MANY TROPOSPHERE GRADIENT INTERVALS",
                                       "AT MOST " + std::to_string(MaxTropoNodes - 1), "-tgi"));
}

void AssignIndices(matrix<long>& ix, long n, long& next) {
  ix.Resize(n, 1, -1L);
  for (long k = 0; k < n; ++k) ix(k) = ++next;
}

void SetSystemOffsets(TervanC& tc) {
  tc.NXcrd = 3;
  tc.ixX = 0;
  tc.ixY = 1;
  tc.ixZ = 2;
  for (int s = 0; s < 3; ++s) {
    tc.ixDTsys[s] = -1;
    tc.dtGNSS[s] = 0.0L;
  }
  tc.nDTsys = (tc.isGPS ? 1 : 0) + (tc.isGLN ? 1 : 0) + (tc.isGAL ? 1 : 0) - 1;
  if (tc.nDTsys < 0) tc.nDTsys = 0;
  if (tc.isGPS && tc.isGLN) tc.ixDTsys[1] = 3;
  if (tc.isGAL && (tc.isGPS || tc.isGLN)) tc.ixDTsys[2] = (tc.isGPS && tc.isGLN) ? 4 : 3;
  PrintCount("  Coordinate unknowns dX, dY, dZ      : ", 3);
  std::cout << "  GNSS inter-system clock biases      : " << std::setw(6) << tc.nDTsys
            << "  [YES]\n";
}

void SetZenithDelays(TervanC& tc, long& ix) {
  if (!tc.ifEstTropo) return;
  mjd first = tc.sdd.GetMJD(0), last = tc.sdd.GetMJD(tc.sdd.GetNEpoch() - 1);
  CheckTropoGrid(tc, last - first);
  long ntrop = 0;
  SetTropoIntervals(first, last, tc.TropoInterval, tc.TropoShift, tc.TropoEpoch, ntrop);
  if (tc.ifEstTropoB) {
    tc.nTropoUnkB = ntrop;
    tc.xTropoB.Resize(ntrop, 1, 0.0L);
    AssignIndices(tc.ixTropoB, ntrop, ix);
  }
  if (tc.ifEstTropoR) {
    tc.nTropoUnkR = ntrop;
    tc.xTropoR.Resize(ntrop, 1, 0.0L);
    AssignIndices(tc.ixTropoR, ntrop, ix);
  }
  PrintCount("  Troposphere zenit delays (wet)      : ", tc.nTropoUnkB + tc.nTropoUnkR);
  PrintCount("                     BASE station     : ", tc.nTropoUnkB);
  PrintCount("                    ROVER station     : ", tc.nTropoUnkR);
}

// East then north gradients of one station.
void SetStationGradients(long n, long& ix, matrix<long double>& xe, matrix<long double>& xn,
                         matrix<long>& ie, matrix<long>& in, long& ne, long& nn, long& nall) {
  ne = nn = n;
  nall = 2 * n;
  xe.Resize(n, 1, 0.0L);
  xn.Resize(n, 1, 0.0L);
  AssignIndices(ie, n, ix);
  AssignIndices(in, n, ix);
}

void SetGradients(TervanC& tc, long& ix) {
  if (!tc.ifEstTropo || !tc.ifEstTropoGrad) return;
  const long ntrop = tc.TropoEpoch.NRow();
  if (tc.nTropoGradInt == 0) tc.nTropoGradInt = ntrop - 1;
  if (tc.nTropoGradInt < 1) tc.nTropoGradInt = 1;
  tc.TropoGradInterval = (tc.TropoEpoch(ntrop - 1) - tc.TropoEpoch(0)) / tc.nTropoGradInt;
  const long n = tc.nTropoGradInt + 1;
  tc.TropoGradEpoch.Resize(n, 1);
  for (long i = 0; i < n; ++i) {
    mjd t = tc.TropoEpoch(0);
    t += i * tc.TropoGradInterval;
    tc.TropoGradEpoch(i) = t;
  }
  if (tc.ifEstTropoGradB)
    SetStationGradients(n, ix, tc.xTropoGradEB, tc.xTropoGradNB, tc.ixTropoGradEB, tc.ixTropoGradNB,
                        tc.nTropoUnkGradEB, tc.nTropoUnkGradNB, tc.nTropoUnkGradB);
  if (tc.ifEstTropoGradR)
    SetStationGradients(n, ix, tc.xTropoGradER, tc.xTropoGradNR, tc.ixTropoGradER, tc.ixTropoGradNR,
                        tc.nTropoUnkGradER, tc.nTropoUnkGradNR, tc.nTropoUnkGradR);
  PrintCount("  Troposphere Gradient parameters     : ", tc.nTropoUnkGradB + tc.nTropoUnkGradR);
  std::cout << "                     BASE station E/N : " << std::setw(6) << tc.nTropoUnkGradEB
            << " /" << std::setw(6) << tc.nTropoUnkGradNB << '\n';
  std::cout << "                    ROVER station E/N : " << std::setw(6) << tc.nTropoUnkGradER
            << " /" << std::setw(6) << tc.nTropoUnkGradNR << '\n';
}

void SetAmbiguityIndices(TervanC& tc, long& ix) {
  if (tc.ifL1) AssignIndices(tc.ixAmbL1, tc.nAmbL1, ix);
  if (tc.ifL2) AssignIndices(tc.ixAmbL2, tc.nAmbL2, ix);
  if (tc.ifL3) AssignIndices(tc.ixAmbL3, tc.nAmbL3, ix);
  PrintCount("  L1 ambiguity parameters             : ", tc.nAmbL1 * tc.ifL1);
  PrintCount("  L2 ambiguity parameters             : ", tc.nAmbL2 * tc.ifL2);
  PrintCount("  L3 ambiguity parameters             : ", tc.nAmbL3 * tc.ifL3);
}

// Misclosures and the used and excluded flags of one observation type.
void SizeType(bool on, long n, matrix<long double>& f, matrix<bool>& used, matrix<bool>& excl) {
  if (!on) return;
  f.Resize(n, 1, 0.0L);
  used.Resize(n, 1, false);
  excl.Resize(n, 1, false);
}

void SizeMatrices(TervanC& tc) {
  const long n = tc.NUnk, nf = tc.NUnk + tc.ndcbConstr, nobs = tc.sdd.GetNObs();
  tc.xtemp.Resize(nf, 1, 0.0L);
  tc.xAll.Resize(nf, 1, 0.0L);
  tc.Nc.Resize(n, n, 0.0L);
  tc.Nt.Resize(n, n, 0.0L);
  tc.tc.Resize(n, 1, 0.0L);
  tc.tt.Resize(n, 1, 0.0L);
  tc.IsUnkOK.Resize(n, 1, true);
  SizeType(tc.ifC1, nobs, tc.fc1, tc.ifOc1, tc.ifXc1);
  SizeType(tc.ifP1, nobs, tc.fp1, tc.ifOp1, tc.ifXp1);
  SizeType(tc.ifP2, nobs, tc.fp2, tc.ifOp2, tc.ifXp2);
  SizeType(tc.ifPc3, nobs, tc.fc3, tc.ifOc3, tc.ifXc3);
  SizeType(tc.ifPp3, nobs, tc.fp3, tc.ifOp3, tc.ifXp3);
  SizeType(tc.ifL1, nobs, tc.fl1, tc.ifOl1, tc.ifXl1);
  SizeType(tc.ifL2, nobs, tc.fl2, tc.ifOl2, tc.ifXl2);
  SizeType(tc.ifL3, nobs, tc.fl3, tc.ifOl3, tc.ifXl3);
}

void PrintVerboseSummary(const TervanC& tc) {
  if (!tc.verbose) return;
  const std::string p = std::string("Tervan::SetUnknowns():                    ");
  std::cerr << Pre << "FINAL:    #UNKNOWNS: " << tc.NUnk << '\n'
            << p << "#COORD  : " << tc.NXcrd << '\n'
            << p << "#CLK DIF: " << tc.nDTsys << '\n'
            << p << "#DCB    : " << tc.NUnkDCB << '\n'
            << p << "#TRP B  : " << tc.nTropoUnkB << '\n'
            << p << "#TRP R  : " << tc.nTropoUnkR << '\n'
            << p << "#TRPGRDB: " << tc.nTropoUnkGradB << '\n'
            << p << "#TRPGRDR: " << tc.nTropoUnkGradR << '\n'
            << p << "#L1 AMB : " << tc.nAmbL1 * tc.ifL1 << '\n'
            << p << "#L2 AMB : " << tc.nAmbL2 * tc.ifL2 << '\n'
            << p << "#L3 AMB : " << tc.nAmbL3 * tc.ifL3 << '\n'
            << Pre << "Preeliminated GNSS clock errors: " << tc.NClk << '\n'
            << Pre << "Constraints on DCBs: " << tc.ndcbConstr << '\n';
}

}  // namespace

void SetUnknowns(TervanC& tc) {
  if (tc.sdd.GetNEpoch() < 1 || !HasModelValues(tc)) return;
  StreamFormatGuard out(std::cout), err(std::cerr);
  if (tc.verbose) std::cerr << "Tervan::SetUnknowns(): SETTING UNKNOWNS IN ESTIMATION!\n";
  ProgramSubSubTitle("SETTING UNKNOWNS IN ESTIMATION:", 0);
  WarnSameMeasurements(tc);
  WarnFreeTroposphere(tc);
  SetSystemOffsets(tc);
  long ix = 2 + tc.nDTsys;
  SetDCBSwitches(tc);
  SetUnknowns_SatDCB(tc, ix);
  tc.NUnkDCB = tc.ndcbC1 + tc.ndcbP1 + tc.ndcbP2 + tc.ndcbPc3 + tc.ndcbPp3;
  PrintCount("  Differential code biases (DCB)      : ", tc.NUnkDCB);
  PrintCount("                         C1 DCB       : ", tc.ndcbC1);
  PrintCount("                         P1 DCB       : ", tc.ndcbP1);
  PrintCount("                         P2 DCB       : ", tc.ndcbP2);
  PrintCount("               P3[C1,P2/C7] DCB       : ", tc.ndcbPc3);
  PrintCount("               P3[P1,P2/C7] DCB       : ", tc.ndcbPp3);
  PrintCount("                DCB constraints       : ", tc.ndcbConstr);
  SetZenithDelays(tc, ix);
  SetGradients(tc, ix);
  SetAmbiguityIndices(tc, ix);
  tc.NUnk = ix + 1;
  // The satellite positions served the preprocessing alone; the adjustment of a day
  // at 1 s needs their memory (two positions of every record).
  tc.SAT_POS.Resize(0, 0);
  tc.NFin.Resize(tc.NUnk + tc.ndcbConstr, tc.NUnk + tc.ndcbConstr, 0.0L);
  tc.tall.Resize(tc.NUnk + tc.ndcbConstr, 1, 0.0L);
  tc.NClk = tc.sdd.GetNEpoch();
  PrintCount("  GNSS clk parameters [preeliminated] : ", tc.NClk);
  std::cout << '\n';
  SetDCBConstraints(tc);
  PrintCount("  Number of all unknowns to estimate  : ", tc.NUnk);
  PrintCount("  Number of all unknowns (+clock unk) : ", tc.NUnk + tc.NClk);
  std::cout << "\n\n";
  PrintVerboseSummary(tc);
  SizeMatrices(tc);
}

void SetUnknowns_SatDCB(TervanC& tc, long& ix) {
  const long double cut = deg2rad(static_cast<long double>(tc.MinElevation));
  const long nsat = tc.sdd.GetNSat(), nobs = tc.sdd.GetNObs();
  for (int k = 0; k < 5; ++k) {
    const DCBType& t = DCBTypes[k];
    matrix<long>& index = tc.*(t.index);
    index.Resize(nsat > 0 ? nsat : 1, 1, -1L);
    tc.*(t.count) = 0;
    if (!(tc.*(t.flag)) || !HasDCBObs(tc.sdh, k)) {
      tc.*(t.flag) = false;
      continue;
    }
    if (tc.verbose) std::cerr << Pre << t.verboseLabel << '\n';
    (tc.*(t.value)).Resize(nsat, 1, 0.0L);
    for (long s = 0; s < nsat; ++s) {
      const short sat = tc.sdd.GetSat(s);
      if (!SystemHasDCB(tc, sat)) continue;
      // the second code of a Galileo satellite is its C7, which the solution takes as P2
      const bool c7 = k == 2 && satnum::IsGALILEO(sat);
      const matrix<gnssobs>& obs = c7 ? tc.sdd.C7 : tc.sdd.*(t.obs);
      int found = 0;
      for (long i = 0; i < nobs && found < 3; ++i)
        if (tc.sdd.GetRecSat(i) == sat && tc.ELV(i, 0) > cut && tc.OKSAT(i) && !obs(i).IsNull())
          ++found;
      if (found < 3) continue;
      index(s) = ++ix;
      ++(tc.*(t.count));
    }
    if (tc.verbose) std::cerr << t.countLabel << std::setw(4) << tc.*(t.count) << '\n';
  }
  tc.isDCB_Gc = tc.isDCB_Rc = tc.isDCB_Ec = false;
  for (long s = 0; s < nsat; ++s) {
    const short sat = tc.sdd.GetSat(s);
    bool has = false;
    for (const DCBType& t : DCBTypes)
      if (tc.*(t.flag) && (tc.*(t.index))(s) >= 0) has = true;
    if (!has) continue;
    if (satnum::IsGPS(sat) && tc.isGPSxdcb) tc.isDCB_Gc = true;
    if (satnum::IsGLONASS(sat) && tc.isGLNxdcb) tc.isDCB_Rc = true;
    if (satnum::IsGALILEO(sat) && tc.isGALxdcb) tc.isDCB_Ec = true;
  }
  tc.ndcbConstr = tc.isDCB_Gc + tc.isDCB_Rc + tc.isDCB_Ec;
  if (tc.verbose) std::cerr << Pre << "# of DCB constraints: " << tc.ndcbConstr << '\n';
}

void SetTropoIntervals(mjd& eS, mjd& eE, long double tI, long double tS, matrix<mjd>& tropoEpochs,
                       long& nTEpochs) {
  const long double s = eS.GetSecond();
  long double t0 = tS + std::floor(s / tI) * tI;
  if (s < t0) t0 -= tI;
  mjd first(eS.GetMJDay(), 0.0L);
  first += t0;
  long n = 1;
  for (mjd t = first; !(t > eE); t += tI) ++n;
  tropoEpochs.Resize(n, 1);
  for (long i = 0; i < n; ++i) {
    mjd t = first;
    t += i * tI;
    tropoEpochs(i) = t;
  }
  nTEpochs = n;
}

void SetDCBConstraints(TervanC& tc) {
  if (!tc.isDCB_Gc && !tc.isDCB_Rc && !tc.isDCB_Ec) return;
  if (tc.verbose) std::cerr << Pre << "Setting DCB constraints: " << tc.ndcbConstr << '\n';
  const bool sys[3] = {tc.isDCB_Gc, tc.isDCB_Rc, tc.isDCB_Ec};
  long row = tc.NUnk;
  for (int k = 0; k < 3; ++k) {
    if (!sys[k]) continue;
    for (long s = 0; s < tc.sdd.GetNSat(); ++s) {
      const short sat = tc.sdd.GetSat(s);
      const bool in = k == 0   ? satnum::IsGPS(sat)
                      : k == 1 ? satnum::IsGLONASS(sat)
                               : satnum::IsGALILEO(sat);
      if (!in) continue;
      for (const DCBType& t : DCBTypes) {
        if (!(tc.*(t.flag))) continue;
        const long j = (tc.*(t.index))(s);
        if (j >= 0) tc.NFin(row, j) = tc.NFin(j, row) = 1.0L;
      }
    }
    ++row;
  }
}
