#include "preprocess/Tervan_AmbiguityArcs.h"

#include <iomanip>
#include <iostream>

#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"

bool SatWavelengths(short sat, long double& lWL, long double& l1, long double& l2) {
  if (satnum::IsGPS(sat)) {
    lWL = GPSc::lamWL;
    l1 = GPSc::lamb1;
    l2 = GPSc::lamb2;
  } else if (satnum::IsGLONASS(sat)) {
    l1 = GLONASSc::SatLambda(sat, 0);
    l2 = GLONASSc::SatLambda(sat, 1);
    if (!(l1 > 0.01L) || !(l2 > 0.01L) || l2 == l1) return false;
    lWL = l1 * l2 / (l2 - l1);
  } else if (satnum::IsGALILEO(sat)) {
    lWL = GALILEOc::lamWL;
    l1 = GALILEOc::lamb1;
    l2 = GALILEOc::lamb2;
  } else {
    return false;
  }
  return true;
}

bool FirstCode(const PhsDiffData& d, long r, long double& code, bool& usedP1) {
  const PhsDiffHeader& h = d.rhead;
  usedP1 = false;
  if (h.iC1 && d.C1.Length() > r && !d.C1(r).IsNull()) {
    code = d.C1(r).GetObs();
    return true;
  }
  if (h.iP1 && d.P1.Length() > r && !d.P1(r).IsNull()) {
    code = d.P1(r).GetObs();
    usedP1 = true;
    return true;
  }
  return false;
}

namespace {

bool Has(const matrix<gnssobs>& m, long r) {
  return m.Length() > r && !m(r).IsNull();
}

}  // namespace

AprioriSums ArcAprioriSums(TervanC& tc, short sat, long e0, long off0, long e1) {
  AprioriSums a;
  long double lWL, l1, l2;
  if (!SatWavelengths(sat, lWL, l1, l2)) return a;
  const PhsDiffData& d = tc.sdd;
  const PhsDiffHeader& h = tc.sdh;
  ForEachArcRecord(d, sat, e0, off0, e1, [&](long, long r) {
    long double c = 0;
    bool p1 = false;
    if (!FirstCode(d, r, c, p1)) return;
    bool used = false;
    if (tc.ifL1 && Has(d.L1, r)) {
      a.sum[0] += c - l1 * d.L1(r).GetObs();
      ++a.n[0];
      used = true;
    }
    if (tc.ifL2) {
      const bool second = satnum::IsGALILEO(sat) ? h.iL7 && Has(d.L7, r) : h.iL2 && Has(d.L2, r);
      if (second) {
        a.sum[1] += c - l2 * (satnum::IsGALILEO(sat) ? d.L7(r) : d.L2(r)).GetObs();
        ++a.n[1];
        used = true;
      }
    }
    if (tc.ifL3 && Has(d.L3, r)) {
      a.sum[2] += c - d.L3(r).GetObs();
      ++a.n[2];
      used = true;
    }
    if (used && p1) ++a.nP1;
  });
  return a;
}

void RebuildAmbFind(TervanC& tc) {
  tc.AmbFind.Build(tc.AmbIndex, tc.AmbSat, tc.AmbSat.Length());
}

namespace {

bool SystemInUse(const TervanC& tc, short s) {
  return (satnum::IsGPS(s) && tc.isGPS) || (satnum::IsGLONASS(s) && tc.isGLN) ||
         (satnum::IsGALILEO(s) && tc.isGAL);
}

void PrintRule(const TervanC& tc) {
  int ntype = (tc.ifL1 ? 1 : 0) + (tc.ifL2 ? 1 : 0) + (tc.ifL3 ? 1 : 0);
  std::cout << "   -----------------------------------------------";
  PrintChar('-', 16 * ntype + 10, 0);
}

}  // namespace

void PrintAmbiguityTable(TervanC& tc, const char* title, bool onlyUsed) {
  StreamFormatGuard guard(std::cout);
  std::cout << std::fixed;
  ProgramSubSubSubTitle(title, 2);
  std::cout << std::right << std::setw(8) << "ID" << std::setw(6) << "PRN" << std::setw(18)
            << "START EPOCH" << std::setw(18) << "END EPOCH";
  if (tc.ifL1) std::cout << std::setw(16) << "L1 AMB [m]";
  if (tc.ifL2) std::cout << std::setw(16) << "L2 AMB [m]";
  if (tc.ifL3) std::cout << std::setw(16) << "L3 AMB [m]";
  std::cout << "  #OBS/AMB" << std::endl;
  PrintRule(tc);
  const long n = tc.AmbSat.Length();
  short prev = -1;
  for (long k = 0; k < n; ++k) {
    const short s = tc.AmbSat(k);
    if (onlyUsed && !SystemInUse(tc, s)) continue;
    if (s != prev) std::cout << std::endl;
    prev = s;
    std::cout << std::setw(8) << k + 1 << std::setw(4) << satnum::SystemLetter(s) << std::setw(2)
              << satnum::NumberInSystem(s) << "    " << tc.sdd.epoch(tc.AmbIndex(k, 0)) << "    "
              << tc.sdd.epoch(tc.AmbIndex(k, 2)) << std::setprecision(4);
    if (tc.ifL1) std::cout << std::setw(16) << tc.xAmbL1(k);
    if (tc.ifL2) std::cout << std::setw(16) << tc.xAmbL2(k);
    if (tc.ifL3) std::cout << std::setw(16) << tc.xAmbL3(k);
    std::cout << std::setw(10) << tc.AmbIndex(k, 3) << std::endl;
  }
  PrintRule(tc);
  std::cout << std::endl;
}
