#include "preprocess/StageRecords.h"

#include <iomanip>
#include <iostream>
#include <string>

#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"

namespace stagerec {

std::vector<long> EpochOffsets(const PhsDiffData& d) {
  std::vector<long> off(static_cast<size_t>(d.neph) + 1, 0);
  for (long i = 0; i < d.neph; ++i) off[i + 1] = off[i] + d.nsat(i);
  return off;
}

std::vector<std::vector<SatRecord>> RecordsBySatellite(const PhsDiffData& d) {
  const long nsat = d.satList.Length();
  std::vector<long> index(static_cast<size_t>(satnum::kMaxSatNumber) + 1, -1);
  for (long j = 0; j < nsat; ++j) {
    const short s = d.satList(j);
    if (s >= 0 && s <= satnum::kMaxSatNumber) index[s] = j;
  }
  auto listOf = [&](long r) {
    const short s = d.sat(r);
    return s >= 0 && s <= satnum::kMaxSatNumber ? index[s] : -1L;
  };
  // Each list is given its final size first: no spare capacity is left behind.
  std::vector<size_t> count(static_cast<size_t>(nsat), 0);
  const std::vector<long> off = EpochOffsets(d);
  for (long r = 0; r < off[d.neph]; ++r) {
    const long j = listOf(r);
    if (j >= 0) ++count[j];
  }
  std::vector<std::vector<SatRecord>> out(static_cast<size_t>(nsat));
  for (long j = 0; j < nsat; ++j) out[j].reserve(count[j]);
  for (long i = 0; i < d.neph; ++i)
    for (long r = off[i]; r < off[i + 1]; ++r) {
      const long j = listOf(r);
      if (j >= 0) out[j].push_back(SatRecord{static_cast<int32_t>(i), static_cast<int32_t>(r)});
    }
  return out;
}

bool SystemProcessed(const TervanC& tc, short sat) {
  if (satnum::IsGPS(sat)) return tc.isGPS;
  if (satnum::IsGLONASS(sat)) return tc.isGLN;
  if (satnum::IsGALILEO(sat)) return tc.isGAL;
  return false;
}

void WriteSatLabel(std::ostream& os, short sat) {
  os << std::setw(4) << satnum::SystemLetter(sat) << std::setw(2) << satnum::NumberInSystem(sat);
}

void Wavelengths(short sat, long double& lamb1, long double& lamb2) {
  lamb1 = lamb2 = 0.0L;
  if (satnum::IsGPS(sat)) {
    lamb1 = GPSc::lamb1;
    lamb2 = GPSc::lamb2;
  } else if (satnum::IsGLONASS(sat)) {
    lamb1 = GLONASSc::SatLambda(sat, 0);
    lamb2 = GLONASSc::SatLambda(sat, 1);
  } else if (satnum::IsGALILEO(sat)) {
    lamb1 = GALILEOc::lamb1;
    lamb2 = GALILEOc::lamb2;
  }
}

SystemFactors FactorsOf(short sat) {
  if (satnum::IsGLONASS(sat))
    return SystemFactors{GLONASSc::LCion1, GLONASSc::LCion2, GLONASSc::LCwl1, GLONASSc::LCwl2};
  if (satnum::IsGALILEO(sat))
    return SystemFactors{GALILEOc::LCion1, GALILEOc::LCion2, GALILEOc::LCwl1, GALILEOc::LCwl2};
  return SystemFactors{GPSc::LCion1, GPSc::LCion2, GPSc::LCwl1, GPSc::LCwl2};
}

bool GeometryReady(const TervanC& tc) {
  const long n = tc.sdd.nobs;
  return tc.OKSAT.NRow() == n && tc.ELV.NRow() == n && tc.SAT_POS.NRow() == n &&
         tc.ELV.NCol() >= 2 && tc.SAT_POS.NCol() >= 2;
}

long double ComputedRange(const TervanC& tc, long r) {
  const xyzt& sB = tc.SAT_POS(r, 0);
  const xyzt& sR = tc.SAT_POS(r, 1);
  const long double rhoB = (sB.GetXYZ() - tc.RecPosFC_BASE).GetLength();
  const long double rhoR = (sR.GetXYZ() - tc.RecPosFC_ROVER).GetLength();
  return (rhoR - rhoB) - (sR.GetT() - sB.GetT()) * GNSSc::c;
}

void Detail(const TervanC& tc, const char* stage, const std::string& text) {
  if (tc.verbose) std::cerr << "Tervan::" << stage << "():         " << text << std::endl;
}

}  // namespace stagerec
