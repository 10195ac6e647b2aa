#include "estimation/Tervan_ResultTables.h"

#include <cmath>
#include <iomanip>
#include <sstream>

#include "gnss/TimeConverse.h"
#include "gnss/g_lg.h"
#include "gnss/mGNSSc.h"
#include "gnss/ymdhms.h"

PrintSettingsGuard::PrintSettingsGuard()
    : mjdDec_(mjdns::NDecSecond),
      ymdhmsDec_(ymdhmsns::NDecSecond),
      xyzWidth_(xyzns::Width),
      xyzDec_(xyzns::NDec) {}

PrintSettingsGuard::~PrintSettingsGuard() {
  mjdns::NDecSecond = mjdDec_;
  ymdhmsns::NDecSecond = ymdhmsDec_;
  xyzns::Width = xyzWidth_;
  xyzns::NDec = xyzDec_;
}

bool HasStaticSolution(const TervanC& tc) {
  return tc.NUnk >= 3 && tc.QxxAll.NRow() >= tc.NUnk && tc.QxxAll.NCol() >= tc.NUnk &&
         tc.IsUnkOK.Length() >= tc.NUnk;
}

long double S0Squared(const TervanC& tc) {
  return tc.s0apost > 0 ? tc.s0apost : 0.0L;
}

long Redundancy(const TervanC& tc) {
  return tc.NObs + tc.ndcbConstr + tc.NUnkUndef - tc.NUnk - tc.NClk;
}

bool IsDefined(const TervanC& tc, long ix) {
  return ix >= 0 && ix < tc.IsUnkOK.Length() && tc.IsUnkOK(ix) && ix < tc.QxxAll.NRow();
}

long double Precision(const TervanC& tc, long ix) {
  if (ix < 0 || ix >= tc.QxxAll.NRow() || ix >= tc.QxxAll.NCol()) return 0.0L;
  const long double q = tc.QxxAll(ix, ix);
  return q > 0 ? std::sqrt(q * S0Squared(tc)) : 0.0L;
}

std::string EpochText(const mjd& t) {
  const short keep = ymdhmsns::NDecSecond;
  ymdhmsns::NDecSecond = 1;
  std::ostringstream os;
  os << mjd2ymdhms(t);
  ymdhmsns::NDecSecond = keep;
  return os.str();
}

long double Comp(const xyz& v, int k) {
  return k == 0 ? v.GetX() : k == 1 ? v.GetY() : v.GetZ();
}
long double Comp(const neu& v, int k) {
  return k == 0 ? v.GetN() : k == 1 ? v.GetE() : v.GetU();
}

char SatLetter(short prn) {
  return prn > 200 ? 'E' : prn > 100 ? 'R' : 'G';
}

std::string SatLabel(short prn) {
  std::ostringstream os;
  os << SatLetter(prn) << std::setfill('0') << std::setw(2) << prn % 100;
  return os.str();
}

namespace {

bool HasSecond(const PhsDiffHeader& h, bool code) {
  return code ? (h.HasP2() || h.HasC7()) : (h.HasL2() || h.HasL7());
}

}  // namespace

std::vector<ObsTypeInfo> ProcessedTypes(const TervanC& tc) {
  const PhsDiffHeader& h = tc.sdh;
  std::vector<ObsTypeInfo> v;
  auto add = [&](bool on, const char* label, const long double& var) {
    if (on) v.push_back({label, &var});
  };
  add(tc.ifC1 && h.HasC1(), "  REF. STD. APOSTERIORI - C1                     : ", tc.s0apost_C1);
  add(tc.ifP1 && h.HasP1(), "  REF. STD. APOSTERIORI - P1                     : ", tc.s0apost_P1);
  add(tc.ifP2 && HasSecond(h, true),
      "  REF. STD. APOSTERIORI - P2                     : ", tc.s0apost_P2);
  add(tc.ifPc3 && h.HasPC3(),
      "  REF. STD. APOSTERIORI - Pc3                    : ", tc.s0apost_Pc3);
  add(tc.ifPp3 && h.HasPP3(),
      "  REF. STD. APOSTERIORI - Pp3                    : ", tc.s0apost_Pp3);
  add(tc.ifL1 && h.HasL1(), "  REF. STD. APOSTERIORI - L1                     : ", tc.s0apost_L1);
  add(tc.ifL2 && HasSecond(h, false),
      "  REF. STD. APOSTERIORI - L2                     : ", tc.s0apost_L2);
  add(tc.ifL3 && h.HasL3(), "  REF. STD. APOSTERIORI - L3                     : ", tc.s0apost_L3);
  return v;
}

std::vector<DcbTypeInfo> ActiveDcbTypes(const TervanC& tc) {
  std::vector<DcbTypeInfo> v;
  auto add = [&](bool on, const DcbTypeInfo& t) {
    if (on && *t.count > 0 && t.index->Length() == tc.sdd.GetNSat()) v.push_back(t);
  };
  add(tc.isdcbC1,
      {"    C1: ", "C1 DCB[m +- m]", "        C1", "  C1", &tc.ndcbC1, &tc.dcbC1, &tc.ixdcbC1});
  add(tc.isdcbP1,
      {"    P1: ", "P1 DCB[m +- m]", "        P1", "  P1", &tc.ndcbP1, &tc.dcbP1, &tc.ixdcbP1});
  add(tc.isdcbP2,
      {"    P2: ", "P2 DCB[m +- m]", "        P2", "  P2", &tc.ndcbP2, &tc.dcbP2, &tc.ixdcbP2});
  add(tc.isdcbPc3, {" P3[C]: ", "P3[C] DCB[m +- m]", "     P3[C]", "  P3[C]", &tc.ndcbPc3,
                    &tc.dcbPc3, &tc.ixdcbPc3});
  add(tc.isdcbPp3, {" P3[P]: ", "P3[P] DCB[m +- m]", "     P3[P]", "  P3[P]", &tc.ndcbPp3,
                    &tc.dcbPp3, &tc.ixdcbPp3});
  return v;
}

bool HasCodeBias(const TervanC&, const std::vector<DcbTypeInfo>& types, long k) {
  for (const DcbTypeInfo& t : types)
    if ((*t.index)(k) >= 0) return true;
  return false;
}

std::string CodeBiasPairs(const TervanC& tc, const std::vector<DcbTypeInfo>& types, long k) {
  std::ostringstream os, blank;
  os << std::fixed << std::setprecision(4);
  for (const DcbTypeInfo& t : types) {
    const long ix = (*t.index)(k);
    if (!IsDefined(tc, ix)) {
      blank << std::setw(20) << "";
      continue;
    }
    os << blank.str() << std::setw(10) << (*t.value)(k) << " +-" << std::setw(7)
       << Precision(tc, ix);
    blank.str("");
  }
  return os.str();
}

long double MeanCodeBiasPrecision(const TervanC& tc, const DcbTypeInfo& t) {
  long double sum = 0;
  long n = 0;
  for (long k = 0; k < t.index->Length(); ++k) {
    if (!IsDefined(tc, (*t.index)(k))) continue;
    sum += Precision(tc, (*t.index)(k));
    ++n;
  }
  return n > 0 ? sum / n : 0.0L;
}

namespace {

TropoSeries Series(long n, const matrix<long double>& v, const matrix<long>& ix) {
  TropoSeries s;
  s.n = (v.Length() >= n && ix.Length() >= n) ? n : 0;
  s.value = &v;
  s.index = &ix;
  return s;
}

// The members of one station's troposphere unknowns.
struct StationMembers {
  bool zenithOn, gradOn;
  long nZenith, nGrad;
  const matrix<long double>&xZ, &xE, &xN;
  const matrix<long>&iZ, &iE, &iN;
};

StationTropo MakeStation(const TervanC& tc, const char* title, int station, const flh& pos,
                         const StationMembers& m) {
  StationTropo st{title, tc.sdh.GetMarkerName(station), pos, {}, {}, {}};
  st.zenith = Series(std::min(m.nZenith, tc.TropoEpoch.Length()), m.xZ, m.iZ);
  if (m.gradOn) {
    st.east = Series(std::min(m.nGrad, tc.TropoGradEpoch.Length()), m.xE, m.iE);
    st.north = Series(st.east.n, m.xN, m.iN);
  }
  return st;
}

}  // namespace

std::vector<StationTropo> EstimatedStations(const TervanC& tc) {
  std::vector<StationTropo> v;
  if (!tc.ifEstTropo) return v;
  const StationMembers base{
      tc.ifEstTropoB,  tc.ifEstTropoGradB, tc.nTropoUnkB, tc.nTropoUnkGradEB, tc.xTropoB,
      tc.xTropoGradEB, tc.xTropoGradNB,    tc.ixTropoB,   tc.ixTropoGradEB,   tc.ixTropoGradNB};
  const StationMembers rover{
      tc.ifEstTropoR,  tc.ifEstTropoGradR, tc.nTropoUnkR, tc.nTropoUnkGradER, tc.xTropoR,
      tc.xTropoGradER, tc.xTropoGradNR,    tc.ixTropoR,   tc.ixTropoGradER,   tc.ixTropoGradNR};
  if (base.zenithOn && base.nZenith > 0)
    v.push_back(MakeStation(tc, "SITE SPECIEFIC TROPOSPHERE PARAMETERS - BASE STATION:", 0,
                            tc.RecPosFCG_BASE, base));
  if (rover.zenithOn && rover.nZenith > 0)
    v.push_back(MakeStation(tc, "SITE SPECIEFIC TROPOSPHERE PARAMETERS - ROVER STATION:", 1,
                            tc.RecPosFCG_ROVER, rover));
  return v;
}

long double DryZenithDelay(TervanC& tc, const StationTropo& st, const mjd& t) {
  if (tc.TrpModel < 0) return 0.0L;  // no a-priori model chosen
  tc.trpmodel.SetPoint(st.name);
  tc.trpmodel.SetAtmParams(st.pos);
  tc.trpmodel.GetZenithDelay(tc.trpdelay, st.pos, t);
  return tc.trpdelay.ZenithDelayDry();
}

std::vector<AmbTypeInfo> ProcessedAmbTypes(const TervanC& tc) {
  const PhsDiffHeader& h = tc.sdh;
  std::vector<AmbTypeInfo> v;
  auto add = [&](bool on, const AmbTypeInfo& t) {
    if (on && t.count > 0) v.push_back(t);
  };
  add(tc.ifL1 && h.HasL1(), {"L1", "                 L1 AMBIGUITY[c]       #OBS/AMBIG", 1,
                             tc.nAmbL1, tc.nAmbCorrL1, &tc.xAmbL1, &tc.ixAmbL1});
  add(tc.ifL2 && HasSecond(h, false), {"L2", "                 L2 AMBIGUITY[c]       #OBS/AMBIG", 2,
                                       tc.nAmbL2, tc.nAmbCorrL2, &tc.xAmbL2, &tc.ixAmbL2});
  add(tc.ifL3 && h.HasL3(), {"L3", "                 L3 AMBIGUITY[m]       #OBS/AMBIG", 3,
                             tc.nAmbL3, tc.nAmbCorrL3, &tc.xAmbL3, &tc.ixAmbL3});
  return v;
}

long AmbUnknown(const AmbTypeInfo& t, long k) {
  if (k >= t.count || k >= t.index->Length() || k >= t.value->Length()) return -1;
  return (*t.index)(k);
}

long double AmbUnit(const AmbTypeInfo& t, short prn) {
  if (t.phase == 3) return 1.0L;
  const int f = t.phase - 1;
  if (prn > 100 && prn < 200) {
    const long double lam = GLONASSc::lamb(prn - 101, f);
    return lam > 0 ? lam : 1.0L;
  }
  if (prn > 200) return f == 0 ? GALILEOc::lamb1 : GALILEOc::lamb2;
  return f == 0 ? GPSc::lamb1 : GPSc::lamb2;
}

long double MeanAmbPrecision(const TervanC& tc, const AmbTypeInfo& t) {
  long double sum = 0;
  long n = 0;
  for (long k = 0; k < t.count; ++k) {
    const long ix = AmbUnknown(t, k);
    if (!IsDefined(tc, ix)) continue;
    sum += Precision(tc, ix) / AmbUnit(t, tc.AmbSat(k));
    ++n;
  }
  return n > 0 ? sum / n : 0.0L;
}

StaticDerived DeriveStatic(const TervanC& tc) {
  StaticDerived d;
  const long ne = tc.sdd.GetNEpoch();
  if (ne > 0) {
    d.refEpoch = tc.sdd.GetMJD(0);
    d.refEpoch += (tc.sdd.GetMJD(ne - 1) - tc.sdd.GetMJD(0)) / 2.0L;
  }
  const xyz& b = tc.Delta_RecPosEst;
  d.baselineNEU = g2lg(b, tc.RecPosFCG_ROVER);
  d.blength = b.GetLength();
  if (tc.QxxAll.NRow() < 3 || tc.QxxAll.NCol() < 3) return d;
  matrix<long double> Q(3, 3), Syy;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) Q(i, j) = tc.QxxAll(i, j);
  g2lg(Q, tc.RecPosFCG_ROVER, Syy);
  const long double s02 = S0Squared(tc);
  for (int k = 0; k < 3; ++k) d.sigmaNEU[k] = Syy(k, k) > 0 ? std::sqrt(Syy(k, k) * s02) : 0.0L;
  if (d.blength > 0) {
    const long double u[3] = {b.GetX() / d.blength, b.GetY() / d.blength, b.GetZ() / d.blength};
    long double qL = 0;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) qL += u[i] * Q(i, j) * u[j];
    d.blengthSigma = qL > 0 ? std::sqrt(qL * s02) : 0.0L;
  }
  return d;
}
