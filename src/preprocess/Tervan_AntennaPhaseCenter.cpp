#include "preprocess/Tervan_AntennaPhaseCenter.h"

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <string>

#include "core/ProgramError.h"
#include "core/ProgramOutput.h"
#include "gnss/GNSSSatBasis.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"
#include "preprocess/StageRecords.h"

namespace {

constexpr long double kPi = 3.141592653589793L;
constexpr long double kDeg = 180.0L / kPi;  // degrees per radian
const char* const kStage = "ApplyATXVal";

// One station of the single differences: its corrections are added for the
// ROVER and subtracted for the BASE.
struct Station {
  int k;  // column of the per-record matrices, 0 BASE, 1 ROVER
  bool rover;
  const xyz& pos;   // antenna reference point, ECEF [m]
  long double mag;  // geocentric distance of the station [m]
};

// Calibration index (antfreq) of the first carrier of a satellite's system; the
// second carrier is the next index (G02, R02, E07).
int FirstFrequency(short sat) {
  if (satnum::IsGLONASS(sat)) return antfreq::R01;
  if (satnum::IsGALILEO(sat)) return antfreq::E01;
  return antfreq::G01;
}

// Variations [m] of the selected antenna for both carriers of a satellite.
void PairVariations(antex& atx, short sat, long double zen, long double azi, long double& v1,
                    long double& v2) {
  double v[antfreq::NFREQ];
  atx.GetAntennaPCV(static_cast<double>(zen), static_cast<double>(azi), v[0], v[1], v[2], v[3],
                    v[4], v[5]);
  const int f = FirstFrequency(sat);
  v1 = v[f];
  v2 = v[f + 1];
}

void AddIfPresent(bool typePresent, matrix<gnssobs>& col, long r, long double value) {
  if (typePresent && !col(r).IsNull()) col(r) += value;
}

// Adds the corrections c1, c2 [m] of both carriers to every present
// observation of record r (phases in cycles).
void ApplyToRecord(TervanC& tc, long r, long double c1, long double c2) {
  PhsDiffData& d = tc.sdd;
  const PhsDiffHeader& h = tc.sdh;
  const short s = d.sat(r);
  long double l1, l2;
  stagerec::Wavelengths(s, l1, l2);
  if (l1 > 0.0L) AddIfPresent(h.iL1, d.L1, r, c1 / l1);
  AddIfPresent(h.iC1, d.C1, r, c1);
  AddIfPresent(h.iP1, d.P1, r, c1);
  if (satnum::IsGALILEO(s)) {
    AddIfPresent(h.iL7, d.L7, r, c2 / l2);
    AddIfPresent(h.iC7, d.C7, r, c2);
  } else {
    if (l2 > 0.0L) AddIfPresent(h.iL2, d.L2, r, c2 / l2);
    AddIfPresent(h.iP2, d.P2, r, c2);
  }
}

// Correction of one station's observation: reduction to the reference point
// (centre of mass) for the ROVER, its opposite for the BASE.
long double Correction(const Station& st, long double projection, long double variation) {
  return st.rover ? projection - variation : variation - projection;
}

// The per-record geometry of the satellite stage is in place.
bool GeometryReady(const TervanC& tc) {
  const long n = tc.sdd.nobs;
  return tc.ELV.NRow() == n && tc.AZM.NRow() == n && tc.SAT_DIST.NRow() == n &&
         tc.SAT_POS.NRow() == n && tc.posSunUnit.NRow() == tc.sdd.neph &&
         tc.SunMag.NRow() == tc.sdd.neph;
}

void PrintOffsets(const char* label, const neu& a, const neu& b) {
  std::cout << label << a << " / " << b << std::endl;
}

// Selects the station's antenna and reports it; false when the ANTEX file has none.
bool SelectReceiverAntenna(TervanC& tc, int k) {
  // Antenna types are 20 characters with the radome in columns 16-19, as in
  // RINEX; a header that dropped the trailing blanks names the same antenna.
  char type[21];
  std::snprintf(type, sizeof type, "%-20.20s", tc.sdh.anttype[k]);
  const char* serial = tc.sdh.antserial[k];
  const mjd first = tc.sdd.neph > 0 ? tc.sdd.epoch(0) : mjd();
  tc.atx.SetAntenna(type, serial, first);
  if (tc.atx.GetAtxIndex() >= 0) {
    std::cout << "  GNSS antenna match criterium: TYPE and SERIAL and DATE VALIDITY" << std::endl;
  } else {
    tc.atx.SetAntenna(type);
    std::cout << "  GNSS antenna match criterium: TYPE [and DATE VALIDITY]" << std::endl;
  }
  std::cout << "  GNSS antenna phase center offset    : " << type << " [" << serial << "]"
            << std::endl;
  if (tc.atx.GetAtxIndex() >= 0) return true;
  ProgramWarning("Tervan", std::string("RECEIVER ANTENNA -") + type +
                               "- NOT FOUND IN ANTEX FILE - NO OFFSET AND VARIATIONS APPLED!");
  std::cout << "   NOT FOUND IN ANTEX FILE -> SETTING ALL PARAMETERS TO 0.0" << std::endl
            << std::endl;
  return false;
}

void ReportReceiverOffsets(const neu* off) {
  neuns::NDecNE = neuns::NDecU = 2;
  neuns::WidthNE = neuns::WidthU = 8;
  neuns::Unit = xyzns::MM;
  PrintOffsets("     GPS carriers [L1/L2]    [NEU][mm]:", off[0], off[1]);
  PrintOffsets("     GLONASS carriers [L1/L2][NEU][mm]:", off[2], off[3]);
  PrintOffsets("     GALILEO carriers [L1/L7][NEU][mm]:", off[4], off[5]);
  std::cout << "  Reduction to Antenna Reference Point (ARP)!" << std::endl << std::endl;
}

void ReceiverPass(TervanC& tc, const Station& st) {
  stagerec::Detail(tc, kStage, "  Receiver antenna phase offset and variations");
  if (!SelectReceiverAntenna(tc, st.k)) return;
  neu off[antfreq::NFREQ];
  for (short f = 0; f < antfreq::NFREQ; ++f) tc.atx.GetAntennaOffset(off[f], f);
  ReportReceiverOffsets(off);
  if (!GeometryReady(tc)) return;
  for (long r = 0; r < tc.sdd.nobs; ++r) {
    const short s = tc.sdd.sat(r);
    if (!stagerec::SystemProcessed(tc, s)) continue;
    const long double el = tc.ELV(r, st.k), az = tc.AZM(r, st.k);
    long double v1, v2;
    PairVariations(tc.atx, s, 90.0L - el * kDeg, az * kDeg, v1, v2);
    // line of sight toward the satellite: east, north, up
    const long double e = std::cos(el) * std::sin(az), n = std::cos(el) * std::cos(az);
    const long double u = std::sin(el);
    const int f = FirstFrequency(s);
    const long double p1 = off[f].GetE() * e + off[f].GetN() * n + off[f].GetU() * u;
    const long double p2 = off[f + 1].GetE() * e + off[f + 1].GetN() * n + off[f + 1].GetU() * u;
    ApplyToRecord(tc, r, Correction(st, p1, v1), Correction(st, p2, v2));
  }
}

bool BroadcastOrbits(const TervanC& tc, short sat) {
  if (satnum::IsGPS(sat)) return tc.isGPSnav;
  if (satnum::IsGLONASS(sat)) return tc.isGLNnav;
  return tc.isGALnav;
}

// The combination factors of the satellite's system; the ROVER pass also loads
// the wide-lane factors. They keep the values of the last satellite.
void LoadFactors(short sat, bool rover) {
  const stagerec::SystemFactors f = stagerec::FactorsOf(sat);
  GLC::LCion1 = f.ion1;
  GLC::LCion2 = f.ion2;
  if (!rover) return;
  GLC::LCwl1 = f.wl1;
  GLC::LCwl2 = f.wl2;
}

// Projection [m] of the satellite antenna offset on the line of sight from the
// satellite to the station; zero with broadcast orbits, which refer to the
// antenna phase centre already.
long double SatelliteOffsetProjection(TervanC& tc, const Station& st, long r, const xyz& sun) {
  const short s = tc.sdd.sat(r);
  if (BroadcastOrbits(tc, s)) return 0.0L;
  neu o;
  tc.atx.GetAntennaOffset(o, static_cast<short>(FirstFrequency(s)));
  const xyzt& sp = tc.SAT_POS(r, st.k);
  xyz ex, ey, ez;
  GNSSSatBasis(ex, ey, ez, sp, sun);
  const xyz offset = o.GetN() * ex + o.GetE() * ey + o.GetU() * ez;
  return offset * (st.pos - sp).GetUnitVector();
}

void SatellitePass(TervanC& tc, const Station& st) {
  stagerec::Detail(tc, kStage, "  Satellite antenna phase variations");
  std::cout << "  GNSS satellite phase center offset  :";
  long missing = 0;
  const std::vector<long> off = stagerec::EpochOffsets(tc.sdd);
  for (long i = 0; GeometryReady(tc) && i < tc.sdd.neph; ++i) {
    const xyz sun = tc.posSunUnit(i) * tc.SunMag(i);
    for (long r = off[i]; r < off[i + 1]; ++r) {
      const short s = tc.sdd.sat(r);
      const long double dist = tc.SAT_DIST(r, st.k);
      if (!stagerec::SystemProcessed(tc, s) || !(dist >= 1.0L)) continue;
      const long double sn = std::fmin(1.0L, std::cos(tc.ELV(r, st.k)) * st.mag / dist);
      const long double nadir = std::asin(sn) * kDeg;
      tc.atx.SetSatellite(s, tc.sdd.epoch(i));
      LoadFactors(s, st.rover);
      if (tc.atx.GetAtxIndex() < 0) {
        std::cout << std::endl
                  << "    Satellite: " << std::setw(4) << s << "    epoch: " << tc.sdd.epoch(i)
                  << "     -> NO PCV INFORMATION FOUND";
        ++missing;
        continue;
      }
      long double v1, v2;
      PairVariations(tc.atx, s, nadir, 0.0L, v1, v2);
      const long double p = SatelliteOffsetProjection(tc, st, r, sun);
      ApplyToRecord(tc, r, Correction(st, p, v1), Correction(st, p, v2));
    }
  }
  std::cout << (missing == 0 ? " All satellites OK" : "") << std::endl << std::endl;
  if (st.rover) std::cout << std::endl;
}

void StationPasses(TervanC& tc, const Station& st) {
  const char* who = st.rover ? "ROVER" : "BASE";
  if (tc.verbose)
    std::cerr << "Tervan::ApplyATXVal(): ANTENNA PHASE CENTER PARAMETERS (OFFSET, VARIATIONS) - "
              << who << " RECEIVER!!" << std::endl;
  ProgramSubSubSubTitle(std::string("GNSS ANTENNA ON ") + who + " STATION: " + tc.sdh.mname[st.k],
                        0);
  ReceiverPass(tc, st);
  SatellitePass(tc, st);
}

}  // namespace

void ApplyATXVal(TervanC& tc) {
  if (!tc.isAtx) return;
  ProgramSubSubTitle("ANTENNA PHASE CENTER PARAMETERS (OFFSET, VARIATIONS):", 0);
  StationPasses(tc, Station{0, false, tc.RecPosFC_BASE, tc.RecMag_BASE});
  StationPasses(tc, Station{1, true, tc.RecPosFC_ROVER, tc.RecMag_ROVER});
}
