#include "preprocess/Tervan_Eclipsing.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "gnss/SatelliteNumbering.h"
#include "preprocess/StageRecords.h"

namespace {

constexpr long double kPi = 3.141592653589793L;
// Eclipsing epochs of a satellite further apart than this open a new season [s].
constexpr long double kSeasonGap = 900.0L;

const char* const kDashes = "   ---------------------------------------------------------------";

void Remove(bool present, matrix<gnssobs>& col, long r) {
  if (present) col(r) = 0.0L;
}

// Every phase value of record r becomes missing.
void RemovePhases(TervanC& tc, long r) {
  PhsDiffData& d = tc.sdd;
  const PhsDiffHeader& h = tc.sdh;
  Remove(h.iL1, d.L1, r);
  if (satnum::IsGALILEO(d.sat(r)))
    Remove(h.iL7, d.L7, r);
  else
    Remove(h.iL2, d.L2, r);
  Remove(h.iL3, d.L3, r);
  Remove(h.iL4, d.L4, r);
  Remove(h.iMW, d.MW, r);
}

struct Report {
  bool header = false;  // table header written
  long rows = 0;        // eclipsing satellites so far
};

// Screens one satellite; returns its number of eclipsing observations.
long ScreenSatellite(TervanC& tc, short sat, const std::vector<stagerec::SatRecord>& recs,
                     Report& rep) {
  long count = 0;
  mjd last;
  for (const stagerec::SatRecord& sr : recs) {
    if (!tc.OKSAT(sr.record)) continue;
    const xyz sun = tc.posSunUnit(sr.epoch) * tc.SunMag(sr.epoch);
    const xyz pos = tc.SAT_POS(sr.record, 0).GetXYZ();
    if (!(SunEarthAngle(pos, sun) < tc.satEclipsThres)) continue;
    RemovePhases(tc, sr.record);
    const mjd& t = tc.sdd.epoch(sr.epoch);
    if (!rep.header) {
      std::cout << std::setw(8) << "ID" << std::setw(6) << "PRN" << std::setw(18) << "START EPOCH"
                << std::setw(18) << "END EPOCH" << std::setw(16) << "#ECLIPSING OBS" << std::endl
                << kDashes << std::endl;
      rep.header = true;
    }
    if (count == 0) {
      std::cout << std::setw(8) << rep.rows + 1;
      stagerec::WriteSatLabel(std::cout, sat);
      std::cout << "    " << t;
    } else if (t - last > kSeasonGap) {
      std::cout << "    " << last << std::endl << std::string(14, ' ') << "    " << t;
    }
    ++count;
    last = t;
  }
  if (count > 0) {
    std::cout << "    " << last << std::setw(16) << count << std::endl;
    ++rep.rows;
  }
  return count;
}

bool GeometryReady(const TervanC& tc) {
  const long n = tc.sdd.nobs;
  return tc.OKSAT.NRow() == n && tc.SAT_POS.NRow() == n && tc.posSunUnit.NRow() == tc.sdd.neph &&
         tc.SunMag.NRow() == tc.sdd.neph;
}

}  // namespace

long double SunEarthAngle(const xyz& satellite, const xyz& sun) {
  const xyz toSun = (sun - satellite).GetUnitVector();
  const xyz toEarth = satellite.GetUnitVector(-1.0L);
  const long double c = std::fmin(1.0L, std::fabs(toSun * toEarth));
  return std::acos(c);
}

void GetEclipsing(TervanC& tc) {
  if (!(tc.ifL1 || tc.ifL2 || tc.ifL3) || !tc.isEcclipsing) return;
  if (tc.verbose)
    std::cerr << "Tervan::GetEclipsing(): SETTING ECLIPSING SEASONS FOR SATELLITES!" << std::endl;
  ProgramSubSubTitle("SETTING ECLIPSING SEASONS FOR SATELLITES:", 0);
  {
    StreamFormatGuard guard(std::cout);
    std::cout << "  Minimum Sun-Earth angle at satellite: " << std::fixed << std::setprecision(1)
              << std::setw(6) << tc.satEclipsThres * 180.0L / kPi << std::endl
              << std::endl;
  }
  ProgramSubSubSubTitle("ECLIPSING SATELLITE AND ECLIPSING SEASONS:", 0);
  std::vector<short> sats;
  std::vector<long> counts;
  Report rep;
  if (GeometryReady(tc)) {
    const std::vector<std::vector<stagerec::SatRecord>> bySat =
        stagerec::RecordsBySatellite(tc.sdd);
    for (long j = 0; j < tc.sdd.satList.Length(); ++j) {
      const short sat = tc.sdd.satList(j);
      const long n = ScreenSatellite(tc, sat, bySat[j], rep);
      if (n == 0) continue;
      sats.push_back(sat);
      counts.push_back(n);
    }
  }
  if (rep.header) std::cout << kDashes << std::endl << std::endl << std::endl;
  // The lists hold as many rows as satellites were found eclipsing.
  tc.NEclipsSat = static_cast<long>(sats.size());
  tc.EclipsSat.Resize(tc.NEclipsSat, 1);
  tc.EclipsNObs.Resize(tc.NEclipsSat, 1);
  for (long i = 0; i < tc.NEclipsSat; ++i) {
    tc.EclipsSat(i) = sats[i];
    tc.EclipsNObs(i) = counts[i];
  }
  if (tc.verbose)
    std::cerr << "Tervan::GetEclipsing():         #Eclipsing Satellites: " << tc.NEclipsSat
              << std::endl;
}
