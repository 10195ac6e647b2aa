#include "preprocess/Tervan_PhaseWindUp.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>

#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "gnss/GNSSLinCombs.h"
#include "gnss/GNSSSatBasis.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/g_lg.h"
#include "gnss/mGNSSc.h"
#include "preprocess/StageRecords.h"

namespace {

constexpr long double kPi = 3.141592653589793L;
// Observations of a satellite further apart than this start a new wind-up arc [s].
constexpr long double kArcGap = 1800.0L;
// A dipole shorter than this has no direction across the line of sight.
constexpr long double kTinyDipole = 1e-12L;

struct Station {
  int k;  // 0 BASE, 1 ROVER
  const char* who;
  const xyz& pos;   // antenna reference point, ECEF [m]
  const flh& geo;   // its geodetic coordinates
  xyz north, west;  // receiver dipole axes, ECEF unit vectors
};

// Report row of one wind-up arc: its epochs and the range of its values.
struct ArcRow {
  bool open = false;
  mjd last;
  long double wmin = 0.0L, wmax = 0.0L;

  void Start(const mjd& t, long double w) {
    std::cout << "    " << t;
    open = true;
    wmin = wmax = w;
  }
  void Finish() {
    StreamFormatGuard guard(std::cout);
    std::cout << "    " << last << std::fixed << std::setprecision(4) << std::setw(12) << wmin
              << std::setw(10) << wmax << std::endl;
  }
  void Update(long double w) {
    wmin = std::fmin(wmin, w);
    wmax = std::fmax(wmax, w);
  }
};

// The combination factors and wavelengths of the satellite's system, which the
// L3 correction uses; they keep the values of the last satellite.
void LoadFactors(short sat) {
  const stagerec::SystemFactors f = stagerec::FactorsOf(sat);
  GLC::LCion1 = f.ion1;
  GLC::LCion2 = f.ion2;
  stagerec::Wavelengths(sat, GLC::lamb1, GLC::lamb2);
}

void AddIfChosen(bool chosen, matrix<gnssobs>& col, long r, long double value) {
  if (chosen && !col(r).IsNull()) col(r) += value;
}

// Removes the wind-up w [cycles] of one station from record r: added for the
// BASE, subtracted for the ROVER (single differences are ROVER minus BASE).
void ApplyWindUp(TervanC& tc, const Station& st, long r, long double w) {
  PhsDiffData& d = tc.sdd;
  const PhsDiffHeader& h = tc.sdh;
  const long double c = st.k == 0 ? w : -w;
  AddIfChosen(tc.ifL1 && h.iL1, d.L1, r, c);
  if (satnum::IsGALILEO(d.sat(r)))
    AddIfChosen(tc.ifL2 && h.iL7, d.L7, r, c);
  else
    AddIfChosen(tc.ifL2 && h.iL2, d.L2, r, c);
  AddIfChosen(tc.ifL3 && h.iL3, d.L3, r, GNSS_L3(c, c));
}

bool IsBlockIIR(TervanC& tc, short sat) {
  if (!tc.isAtx || tc.sdd.neph == 0) return false;
  tc.atx.SetSatellite(sat, tc.sdd.epoch(0));
  return tc.atx.IsBlockIIR();
}

// Raw wind-up of one observation [cycles]; false when the geometry gives none.
bool ObservationWindUp(const TervanC& tc, const Station& st, const stagerec::SatRecord& sr,
                       bool iir, long double& w) {
  const xyzt& sp = tc.SAT_POS(sr.record, 0);
  const xyz k = (st.pos - sp).GetUnitVector();
  const xyz sun = tc.posSunUnit(sr.epoch) * tc.SunMag(sr.epoch);
  xyz ex, ey, ez;
  GNSSSatBasis(ex, ey, ez, sp, sun);
  if (iir) {
    ex *= -1.0L;
    ey *= -1.0L;
  }
  return WindUpCycles(k, ex, ey, st.north, st.west, w);
}

// Wind-up of one satellite seen from one station, continuous along each arc.
// Returns whether the satellite had an observation (a row in the table).
bool SatelliteWindUp(TervanC& tc, const Station& st, short sat, bool iir,
                     const std::vector<stagerec::SatRecord>& recs, long rowNo) {
  ArcRow row;
  long double prev = 0.0L;
  for (const stagerec::SatRecord& sr : recs) {
    if (!tc.OKSAT(sr.record)) continue;
    const mjd& t = tc.sdd.epoch(sr.epoch);
    long double w = prev;
    ObservationWindUp(tc, st, sr, iir, w);
    if (!row.open) {
      std::cout << std::setw(8) << rowNo;
      stagerec::WriteSatLabel(std::cout, sat);
      row.Start(t, w);
    } else if (t - row.last > kArcGap) {
      prev = 0.0L;
      row.Finish();
      std::cout << std::string(14, ' ');
      row.Start(t, w);
    } else {
      w -= std::round(w - prev);
      row.Update(w);
    }
    ApplyWindUp(tc, st, sr.record, w);
    prev = w;
    row.last = t;
  }
  if (row.open) row.Finish();
  return row.open;
}

bool GeometryReady(const TervanC& tc) {
  const long n = tc.sdd.nobs;
  return tc.OKSAT.NRow() == n && tc.SAT_POS.NRow() == n && tc.posSunUnit.NRow() == tc.sdd.neph &&
         tc.SunMag.NRow() == tc.sdd.neph;
}

const char* const kDashes =
    "   ---------------------------------------------------------------------";

void StationWindUp(TervanC& tc, Station st,
                   const std::vector<std::vector<stagerec::SatRecord>>& bySat) {
  ProgramSubSubSubTitle(
      std::string("PHASE WIND-UP BIAS FOR ") + st.who + " STATION: " + tc.sdh.mname[st.k], 0);
  std::cout << std::setw(8) << "ID" << std::setw(6) << "PRN" << std::setw(18) << "START EPOCH"
            << std::setw(18) << "END EPOCH" << std::setw(12) << "MIN[cy]" << std::setw(10)
            << "MAX[cy]" << std::endl
            << kDashes << std::endl;
  st.north = lg2g(neu(1.0L, 0.0L, 0.0L), st.geo);
  st.west = lg2g(neu(0.0L, -1.0L, 0.0L), st.geo);
  long rowNo = 0;
  for (long j = 0; j < tc.sdd.satList.Length(); ++j) {
    const short sat = tc.sdd.satList(j);
    if (!stagerec::SystemProcessed(tc, sat)) continue;
    const bool iir = IsBlockIIR(tc, sat);
    LoadFactors(sat);
    if (j > 0) std::cout << std::endl;
    if (SatelliteWindUp(tc, st, sat, iir, bySat[j], rowNo + 1)) ++rowNo;
  }
  std::cout << kDashes << std::endl << std::endl;
}

}  // namespace

long double sign(long double x) {
  return x > 0.0L ? 1.0L : (x < 0.0L ? -1.0L : 0.0L);
}

bool WindUpCycles(const xyz& k, const xyz& ex, const xyz& ey, const xyz& x, const xyz& y,
                  long double& w) {
  xyz ds = ex - (k * ex) * k - CrossP(k, ey);
  xyz dr = x - (k * x) * k + CrossP(k, y);
  const long double ls = ds.GetLength(), lr = dr.GetLength();
  if (!(ls > kTinyDipole) || !(lr > kTinyDipole)) return false;
  ds /= ls;
  dr /= lr;
  const long double zeta = k * CrossP(ds, dr);
  // Rounding can push the product of two unit vectors just past 1.
  const long double c = std::fmax(-1.0L, std::fmin(1.0L, ds * dr));
  w = sign(zeta) * std::acos(c) / (2.0L * kPi);
  return true;
}

void PhaseWindUp(TervanC& tc) {
  if (!(tc.ifL1 || tc.ifL2 || tc.ifL3) || !tc.isPhaseWindUp) return;
  if (tc.verbose) std::cerr << "Tervan::PhaseWindUp(): APPLYING PHASE WIND-UP BIAS!" << std::endl;
  ProgramSubSubTitle("APPLYING PHASE WIND-UP BIAS:", 0);
  std::vector<std::vector<stagerec::SatRecord>> bySat;
  if (GeometryReady(tc)) bySat = stagerec::RecordsBySatellite(tc.sdd);
  bySat.resize(static_cast<size_t>(tc.sdd.satList.Length()));
  StationWindUp(tc, Station{0, "BASE", tc.RecPosFC_BASE, tc.RecPosFCG_BASE, xyz(), xyz()}, bySat);
  StationWindUp(tc, Station{1, "ROVER", tc.RecPosFC_ROVER, tc.RecPosFCG_ROVER, xyz(), xyz()},
                bySat);
}
