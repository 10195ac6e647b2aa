#include "estimation/Tervan_FinalMisclosures.h"

#include <algorithm>

#include "estimation/EpochTropoDesign.h"
#include "estimation/ObsTypes.h"
#include "preprocess/Tervan_SetAmbiguities.h"

std::vector<SolvedObsType> SolvedObsTypes(const TervanC& tc) {
  const PhsDiffHeader& h = tc.sdh;
  const long n = tc.sdd.GetNObs();
  std::vector<SolvedObsType> v;
  auto add = [&](bool on, SolvedObsType::Kind k, const matrix<long double>& f,
                 const matrix<bool>& used, const matrix<bool>& excl) {
    if (on && f.Length() >= n && used.Length() >= n && excl.Length() >= n)
      v.push_back({k, &f, &used, &excl});
  };
  add(tc.ifC1 && h.HasC1(), SolvedObsType::C1, tc.fc1, tc.ifOc1, tc.ifXc1);
  add(tc.ifP1 && h.HasP1(), SolvedObsType::P1, tc.fp1, tc.ifOp1, tc.ifXp1);
  add(tc.ifP2 && (h.HasP2() || h.HasC7()), SolvedObsType::P2, tc.fp2, tc.ifOp2, tc.ifXp2);
  add(tc.ifPc3 && h.HasPC3(), SolvedObsType::PC3, tc.fc3, tc.ifOc3, tc.ifXc3);
  add(tc.ifPp3 && h.HasPP3(), SolvedObsType::PP3, tc.fp3, tc.ifOp3, tc.ifXp3);
  add(tc.ifL1 && h.HasL1(), SolvedObsType::L1, tc.fl1, tc.ifOl1, tc.ifXl1);
  add(tc.ifL2 && (h.HasL2() || h.HasL7()), SolvedObsType::L2, tc.fl2, tc.ifOl2, tc.ifXl2);
  add(tc.ifL3 && h.HasL3(), SolvedObsType::L3, tc.fl3, tc.ifOl3, tc.ifXl3);
  return v;
}

namespace {

// 0 GPS, 1 GLONASS, 2 Galileo.
int System(short prn) {
  return prn > 200 ? 2 : prn > 100 ? 1 : 0;
}

long double TypeWeight(const TervanC& tc, SolvedObsType::Kind k, int sys) {
  switch (k) {
    case SolvedObsType::C1:
      return tc.p0C;
    case SolvedObsType::P1:
    case SolvedObsType::P2:
      return tc.p0P;
    case SolvedObsType::PC3:
      return sys == 0 ? tc.p0Pc3G : sys == 1 ? tc.p0Pc3R : tc.p0Pc3E;
    case SolvedObsType::PP3:
      return sys == 0 ? tc.p0Pp3G : sys == 1 ? tc.p0Pp3R : tc.p0Pp3E;
    case SolvedObsType::L3:
      return sys == 0 ? tc.p0L3G : sys == 1 ? tc.p0L3R : tc.p0L3E;
    default:
      return tc.p0L1;
  }
}

long double Correction(const TervanC& tc, long ix) {
  return ix >= 0 && ix < tc.xtemp.Length() ? tc.xtemp(ix) : 0.0L;
}

// Design slots of the coordinates, the system offset and the troposphere at the
// final corrections; 0 for a record the static solution formed no row for.
long double DesignPart(const TervanC& tc, long i, short prn, const EpochTropoDesign& design) {
  if (i >= tc.mB.NRow() || tc.mB.NCol() < 3) return 0.0L;
  const int sys = SystemOf(tc, prn);
  if (sys < 0 || (tc.mB(i, 0) == 0.0L && tc.mB(i, 1) == 0.0L && tc.mB(i, 2) == 0.0L)) return 0.0L;
  long double B[NSlots];
  long iB[NSlots];
  for (int k = 0; k < 3; ++k) B[k] = tc.mB(i, k);
  iB[0] = tc.ixX, iB[1] = tc.ixY, iB[2] = tc.ixZ;
  B[3] = -1.0L, iB[3] = tc.ixDTsys[sys];
  // Without troposphere nodes at the epoch its slots hold no unknown and add nothing.
  const int end = design.Zenith() ? NSlots : 4;
  if (design.Zenith()) design.Fill(tc, i, B, iB);
  long double s = 0;
  for (int k = 0; k < end; ++k) {
    if (k >= 4 && k <= 7) continue;
    s += B[k] * Correction(tc, iB[k]);
  }
  return s;
}

}  // namespace

long CodeBiasUnknown(const TervanC& tc, SolvedObsType::Kind k, short prn) {
  const matrix<long>* idx[] = {&tc.ixdcbC1, &tc.ixdcbP1, &tc.ixdcbP2, &tc.ixdcbPc3, &tc.ixdcbPp3};
  const bool on[] = {tc.isdcbC1, tc.isdcbP1, tc.isdcbP2, tc.isdcbPc3, tc.isdcbPp3};
  if (k > SolvedObsType::PP3 || !on[k]) return -1;
  for (long s = 0; s < tc.sdd.GetNSat() && s < idx[k]->Length(); ++s)
    if (tc.sdd.GetSat(s) == prn) return (*idx[k])(s);
  return -1;
}

long AmbiguityUnknown(TervanC& tc, SolvedObsType::Kind k, long e, short prn) {
  long n = k == SolvedObsType::L1 ? tc.nAmbL1 : k == SolvedObsType::L2 ? tc.nAmbL2 : tc.nAmbL3;
  const matrix<long>& ix = k == SolvedObsType::L1   ? tc.ixAmbL1
                           : k == SolvedObsType::L2 ? tc.ixAmbL2
                                                    : tc.ixAmbL3;
  n = std::min({n, tc.AmbSat.Length(), tc.AmbIndex.NRow(), ix.Length()});
  if (n <= 0 || tc.AmbIndex.NCol() < 3) return -1;
  long a = -1;
  // The indexed lookup serves the current ambiguity list; a list filled by other means
  // falls back to the linear search.
  if (tc.AmbFind.Size() == n)
    a = GetAmbIndex(tc, prn, e);
  else
    GetAmbIndex(prn, e, tc.AmbIndex, tc.AmbSat, n, a);
  return a >= 0 ? ix(a) : -1;
}

long ParameterUnknown(TervanC& tc, const SolvedObsType& t, long e, short prn) {
  return t.IsPhase() ? AmbiguityUnknown(tc, t.kind, e, prn) : CodeBiasUnknown(tc, t.kind, prn);
}

long double ObsWeight(const TervanC& tc, const SolvedObsType& t, long i, short prn) {
  const long double w = i < tc.WGHT.Length() ? tc.WGHT(i) : 1.0L;
  return w * TypeWeight(tc, t.kind, System(prn));
}

long double FinalMisclosure(TervanC& tc, const SolvedObsType& t, long i, long e, short prn) {
  return FinalMisclosure(tc, t, i, prn, EpochTropoDesign(tc, e), ParameterUnknown(tc, t, e, prn));
}

long double FinalMisclosure(const TervanC& tc, const SolvedObsType& t, long i, short prn,
                            const EpochTropoDesign& design, long unknown) {
  return (*t.f)(i)-DesignPart(tc, i, prn, design) + Correction(tc, unknown);
}
