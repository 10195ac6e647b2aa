#include "estimation/Tervan_ResCheck.h"

#include <cmath>
#include <iomanip>
#include <iostream>

#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "estimation/ObsTypes.h"
#include "estimation/Tervan_ProcStatic.h"

namespace {

void ZeroCounts(TervanC& tc) {
  tc.NObsOutlGCd = tc.NObsOutlRCd = tc.NObsOutlECd = 0;
  tc.NObsOutlGPh = tc.NObsOutlRPh = tc.NObsOutlEPh = 0;
}

void Totals(TervanC& tc) {
  tc.NObsOutlPh = tc.NObsOutlGPh + tc.NObsOutlRPh + tc.NObsOutlEPh;
  tc.NObsOutlCd = tc.NObsOutlGCd + tc.NObsOutlRCd + tc.NObsOutlECd;
  tc.NObsOutl = tc.NObsOutlPh + tc.NObsOutlCd;
  tc.NObsOutlG = tc.NObsOutlGCd + tc.NObsOutlGPh;
  tc.NObsOutlR = tc.NObsOutlRCd + tc.NObsOutlRPh;
  tc.NObsOutlE = tc.NObsOutlECd + tc.NObsOutlEPh;
}

void PrintLine(const char* label, long all, long g, long r, long e) {
  std::cout << label << std::setw(10) << all << "     G: " << std::setw(6) << g
            << "     R: " << std::setw(6) << r << "     E: " << std::setw(6) << e << '\n';
}

// Outlier counter of the satellite's system for code or phase; nullptr when none.
long* Counter(TervanC& tc, short sat, bool phase) {
  switch (SystemOf(tc, sat)) {
    case 0:
      return phase ? &tc.NObsOutlGPh : &tc.NObsOutlGCd;
    case 1:
      return phase ? &tc.NObsOutlRPh : &tc.NObsOutlRCd;
    case 2:
      return phase ? &tc.NObsOutlEPh : &tc.NObsOutlECd;
    default:
      return nullptr;
  }
}

}  // namespace

void ResCheck(TervanC& tc) {
  if (!tc.isThresBlunder || !HasModelValues(tc) || tc.NUnk <= 0) return;
  StreamFormatGuard out(std::cout), err(std::cerr);
  ProgramSubSubTitle("OUTLIER DETECTION AND ELIMINATION - OBSERVATION CORRECTIONS CHECK:", 0);
  if (tc.verbose) std::cerr << "Tervan::ResCheck(): OUTLIER DETECTION AND ELIMINATION!\n";
  std::cout << std::fixed << "  Outlier detection parameters        :\n"
            << "   Phase/code residual threshold      : " << std::setw(6) << std::setprecision(3)
            << tc.ThresBlunder << " * STD_V\n\n";
  ZeroCounts(tc);
  const long nobs = tc.sdd.GetNObs();
  if (tc.verbose) std::cerr << "Tervan::ResCheck():         Process:       ";
  long shown = -1;
  for (long j = 0; j < nobs; ++j) {
    const long pc = static_cast<long>(100.0L * j / nobs);
    if (tc.verbose && pc % 5 == 0 && pc != shown) {
      shown = pc;
      std::cerr << "\b\b\b\b\b\b" << std::setw(4) << pc << " %";
    }
    const short sat = tc.sdd.GetRecSat(j);
    const long double sinE = std::sin((tc.ELV(j, 0) + tc.ELV(j, 1)) / 2.0L);
    for (int k : TypePrintOrder) {
      const ObsTypeDef& t = ObsTypes[k];
      if (!(tc.*(t.on)) || !(tc.sdh.*(t.inFile))()) continue;
      // Observations the misclosure test has already excluded are not counted again.
      if (!(tc.*(t.used))(j) || (tc.*(t.excl))(j)) continue;
      const long double limit = tc.ThresBlunder * std::sqrt(tc.*(t.variance)) / sinE;
      if (!(std::fabs((tc.*(t.f))(j)) > limit)) continue;
      (tc.*(t.excl))(j) = true;
      if (long* c = Counter(tc, sat, t.phase)) ++*c;
    }
  }
  if (tc.verbose) std::cerr << "\b\b\b\b\b\b" << std::setw(4) << 100 << " %\n";
  Totals(tc);
  std::cout << "  Outlier detection results           :\n";
  PrintLine("   # of Code residual outliers        : ", tc.NObsOutlCd, tc.NObsOutlGCd,
            tc.NObsOutlRCd, tc.NObsOutlECd);
  PrintLine("   # of Phase residual outliers       : ", tc.NObsOutlPh, tc.NObsOutlGPh,
            tc.NObsOutlRPh, tc.NObsOutlEPh);
  PrintLine("   # of All residual outliers         : ", tc.NObsOutl, tc.NObsOutlG, tc.NObsOutlR,
            tc.NObsOutlE);
  const long double pc = tc.NObs > 0 ? 100.0L * tc.NObsOutl / tc.NObs : 0.0L;
  std::cout << "  Percentage of detected outliers     : " << std::setw(10) << std::setprecision(2)
            << pc << " %\n\n\n";
  if (tc.verbose)
    std::cerr << "Tervan::ResCheck():         Outliers: code: " << tc.NObsOutlCd
              << "  /  phase: " << tc.NObsOutlPh << "  /  %: " << std::setprecision(1) << pc
              << '\n';
}
