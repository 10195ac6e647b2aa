#include "estimation/Tervan_PrintResStatic.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>

#include "core/FiniteNumPut.h"
#include "core/KotnePretvorbe.h"
#include "core/ProgramError.h"
#include "core/ResultFile.h"
#include "estimation/ObsTypes.h"
#include "estimation/Tervan_ProcStatic.h"
#include "estimation/Tervan_ResultTables.h"

namespace {

constexpr long double TwoPi = 2.0L * 3.141592653589793L;

template <class T>
void Put(std::ostream& out, T value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

// The types of record i that have a residual record, in file order.
bool HasRecord(const TervanC& tc, int k, long i) {
  const ObsTypeDef& t = ObsTypes[k];
  return tc.*(t.on) && (tc.sdh.*(t.inFile))() && (tc.*(t.used))(i);
}

long CountRecords(const TervanC& tc, long first, long n) {
  long count = 0;
  for (long i = first; i < first + n; ++i)
    for (int k = 0; k < NObsTypes; ++k) count += HasRecord(tc, k, i);
  return count;
}

void WriteRecords(std::ostream& out, const TervanC& tc, long first, long n) {
  for (long i = first; i < first + n; ++i) {
    const long double elev = rad2deg((tc.ELV(i, 0) + tc.ELV(i, 1)) / 2.0L);
    const long double azim = rad2deg(MeanAzimuth(tc.AZM(i, 0), tc.AZM(i, 1)));
    for (int k = 0; k < NObsTypes; ++k) {
      if (!HasRecord(tc, k, i)) continue;
      const ObsTypeDef& t = ObsTypes[k];
      if (!std::isfinite((tc.*(t.f))(i)) || !std::isfinite(elev) || !std::isfinite(azim))
        ProgramError("Tervan", FiniteNumPut::ErrorText("RESULT FILE " + std::string(tc.resfile)));
      Put<int16_t>(out, tc.sdd.GetRecSat(i));
      Put<int16_t>(out, static_cast<int16_t>(k));
      WriteExt12(out, (tc.*(t.f))(i));
      WriteExt12(out, elev);
      WriteExt12(out, azim);
      Put<uint8_t>(out, (tc.*(t.excl))(i) ? 1 : 0);
    }
  }
}

}  // namespace

void WriteExt12(std::ostream& out, long double value) {
  static_assert(sizeof(long double) >= 10, "long double must be the 80-bit extended type");
  unsigned char bytes[12] = {};
  std::memcpy(bytes, &value, 10);
  out.write(reinterpret_cast<const char*>(bytes), 12);
}

long double MeanAzimuth(long double a, long double b) {
  long double m = std::atan2(std::sin(a) + std::sin(b), std::cos(a) + std::cos(b));
  if (m < 0.0L) m += TwoPi;
  return TwoPi - m > 1e-12L ? m : 0.0L;  // a tiny negative angle is north, not 360 degrees
}

void PrintResStatic(TervanC& tc) {
  if (!tc.ifEstSta || !tc.isresfile || !HasModelValues(tc) || tc.NUnk <= 0) return;
  if (tc.verbose) std::cerr << "Tervan::PrintResStatic(): WRITING RESIDUALS OF STATIC SOLUTION -> ";
  // Written beside the result and renamed when complete (an older result stays until then).
  ResultFile file(tc.resfile);
  if (!file.IsOpen()) return;
  std::ostream& out = file.Stream();
  const PhsDiffData& d = tc.sdd;
  Put<int16_t>(out, static_cast<int16_t>(d.GetNSat()));
  for (long s = 0; s < d.GetNSat(); ++s) Put<int16_t>(out, d.GetSat(s));
  long first = 0, total = 0;
  for (long e = 0; e < d.GetNEpoch(); ++e) {
    const long n = d.GetNSatEpoch(e), count = CountRecords(tc, first, n);
    if (count > 0) {
      const mjd t = d.GetMJD(e);
      FiniteNumPut::SetEpoch(EpochText(t));
      Put<uint32_t>(out, static_cast<uint32_t>(t.GetMJDay()));
      WriteExt12(out, t.GetSecond());
      Put<int32_t>(out, static_cast<int32_t>(count));
      WriteRecords(out, tc, first, n);
      total += count;
    }
    first += n;
  }
  FiniteNumPut::SetEpoch("");
  file.Commit();
  if (tc.verbose) std::cerr << total << " RESIDUALS!\n";
}
