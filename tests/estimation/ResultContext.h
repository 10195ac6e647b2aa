// A run context filled by hand as the static solution leaves it: three epochs of
// GPS, GLONASS and Galileo records with known estimates, cofactors and index
// tables, for the report and kinematic tests.
#ifndef TERVAN_TESTS_ESTIMATION_RESULTCONTEXT_H
#define TERVAN_TESTS_ESTIMATION_RESULTCONTEXT_H

#include <cmath>
#include <string>
#include <vector>

#include "driver/TervanC.h"
#include "gnss/g_lg.h"
#include "gnss/xyz_flh.h"

namespace resulttest {

// Satellites of every epoch, in record order.
inline std::vector<short> Sats(bool gpsOnly) {
  if (gpsOnly) return {1, 5, 12, 20, 25};
  return {1, 5, 12, 20, 103, 111, 211, 224};
}

// Header, epochs (MJD 59000, 00:00:00 + 30 s steps) and records; C1 and L1 in the file.
inline void FillData(TervanC& tc, long neph, const std::vector<short>& sats) {
  tc.sdh.SetMarkerName(0, "BASE");
  tc.sdh.SetMarkerName(1, "ROVR");
  tc.sdh.SetMarkerNumber(0, "11001M001");
  tc.sdh.SetMarkerNumber(1, "11002M001");
  tc.sdh.iC1 = tc.sdh.iL1 = true;
  PhsDiffData& d = tc.sdd;
  d.neph = neph;
  d.nobs = neph * static_cast<long>(sats.size());
  d.epoch.Resize(neph);
  d.nsat.Resize(neph);
  d.sat.Resize(d.nobs);
  for (long e = 0; e < neph; ++e) {
    d.epoch(e) = mjd(59000, 30.0L * e);
    d.nsat(e) = static_cast<short>(sats.size());
    for (size_t k = 0; k < sats.size(); ++k) d.sat(e * sats.size() + k) = sats[k];
  }
  std::vector<short> sorted = sats;
  std::sort(sorted.begin(), sorted.end());
  d.satList.Resize(static_cast<long>(sorted.size()));
  for (size_t k = 0; k < sorted.size(); ++k) d.satList(k) = sorted[k];
}

// Station positions: BASE near Ljubljana, ROVER 1.2 km away, estimated ROVER 1 cm off
// its approximate position.
inline void FillPositions(TervanC& tc) {
  const long double deg = 3.141592653589793L / 180;
  tc.RecPos0G_BASE = flh(46.0483L * deg, 14.5436L * deg, 351.2345L);
  tc.RecPos0_BASE = flh2xyz(tc.RecPos0G_BASE, tc.eGPS);
  tc.RecPosFCG_BASE = tc.RecPos0G_BASE;
  tc.Delta_RecPos0 = xyz(-500.0L, 900.0L, 600.0L);
  tc.RecPos0_ROVER = tc.RecPos0_BASE + tc.Delta_RecPos0;
  tc.RecPos0G_ROVER = xyz2flh(tc.RecPos0_ROVER, tc.eGPS);
  tc.RecPosCorr = xyz(0.0100L, -0.0040L, 0.0070L);
  tc.RecPosEst = tc.RecPos0_ROVER + tc.RecPosCorr;
  tc.RecPosFC_ROVER = tc.RecPosEst;
  tc.RecPosEstG = xyz2flh(tc.RecPosEst, tc.eGPS);
  tc.RecPosFCG_ROVER = tc.RecPosEstG;
  tc.RecPosCorrG = g2lg(tc.RecPosCorr, tc.RecPosFCG_ROVER);
  tc.Delta_RecPosEst = tc.Delta_RecPos0 + tc.RecPosCorr;
}

// A diagonal cofactor matrix with the given diagonal and a coordinate correlation.
inline void FillCofactors(TervanC& tc, const std::vector<long double>& diag) {
  const long n = static_cast<long>(diag.size());
  tc.NUnk = n;
  tc.QxxAll.Resize(n, n, 0.0L);
  tc.IsUnkOK.Resize(n, 1, true);
  tc.xtemp.Resize(n, 1, 0.0L);
  tc.xAll.Resize(n, 1, 0.0L);
  for (long k = 0; k < n; ++k) tc.QxxAll(k, k) = diag[k];
  tc.QxxAll(0, 1) = tc.QxxAll(1, 0) = 0.4L * diag[0];
}

// Unit vector from the ROVER to a satellite at azimuth az and elevation el [deg].
inline xyz LineOfSight(const TervanC& tc, long double azDeg, long double elDeg) {
  const long double az = azDeg * 3.141592653589793L / 180, el = elDeg * 3.141592653589793L / 180;
  return lg2g(neu(std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el)),
              tc.RecPosFCG_ROVER);
}

}  // namespace resulttest

#endif
