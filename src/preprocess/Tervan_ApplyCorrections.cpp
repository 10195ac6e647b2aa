#include "preprocess/Tervan_ApplyCorrections.h"

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "core/ProgramError.h"
#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "gnss/SatAzimuthZenit.h"
#include "gnss/mGNSSc.h"
#include "orbits/LightTime.h"

namespace {

const char* const Detail = "Tervan::ApplyCorrections():         ";
constexpr long double kDeg = 57.29577951308232L;           // degrees per radian
constexpr long double kRel2Const = 0.008870056078235343L;  // 2GM/c^2 [m]
constexpr long double kOmegaEarth = 7.2921151467e-5L;      // Earth rotation [rad/s]
constexpr long double kIonoR = 6371.0L, kIonoH = 450.0L;   // single-layer radius, height [km]
constexpr long double kGradMap = 0.0032L;                  // gradient mapping constant
// The broadcast GLONASS state is integrated in at most 1000 steps of 30 s: a record
// farther than this from the epoch cannot be reached [s].
constexpr long double kGlonassReach = 29900.0L;
constexpr int kSatNumbers = 300;  // satellite numbers the stages process: 1 to 299

// Satellites already reported without a position (one warning each; 0 for the
// precise orbit file as a whole).
using Reported = std::vector<bool>;

void WarnOnce(Reported& reported, short sat, const std::string& text) {
  if (reported[sat]) return;
  reported[sat] = true;
  ProgramWarning("Tervan", text);
}

std::string SatName(short sat) {
  char name[8];
  std::snprintf(name, sizeof(name), "%c%02d", sat < 100 ? 'G' : (sat < 200 ? 'R' : 'E'), sat % 100);
  return name;
}

// ---------------------------------------------------------------------------
// GLONASS frequency channels.

// GLONASS phases without channels would get the wavelengths of channel 0: the
// system is left out instead.
bool GlonassChannelsMissing(TervanC& tc) {
  if (!tc.isGLN || tc.isGLNfrch || tc.isGLNnav || !(tc.ifL1 || tc.ifL2 || tc.ifL3)) return false;
  tc.isGLN = false;
  ProgramWarning("Tervan",
                 "GLONASS SYSTEM SET BUT NO FREQUENCY CHANNELS FOR GLONASS SET (CHANNEL FILE -gf, "
                 "e.g. FROM tervan-sdiff --glonass-channels, OR NAVIGATION FILE -er) - NOT "
                 "PROCESSING GLONASS SYSTEM!");
  if (!tc.isGPS && !tc.isGAL)
    ProgramError("Tervan",
                 "NO SATELLITE SYSTEM LEFT TO PROCESS - GLONASS PHASES NEED A "
                 "FREQUENCY CHANNEL FILE [-gf]!");
  return true;
}

void SetChannel(long double k, short row) {
  if (row >= 0 && row < GLONASSc::kSlots) GLONASSc::SetFrequency(k, row);
}

void PrintChannel(bool found, long double k) {
  if (found)
    std::cout << std::fixed << std::setprecision(1) << std::setw(10) << k;
  else
    std::cout << " NOT FOUND -> SETTING TO 0.0";
  std::cout << '\n';
}

void ChannelsFromFile(TervanC& tc) {
  const mjd first = tc.sdd.epoch(0);
  for (long i = 0; i < tc.sdd.GetNSat(); ++i) {
    const short sat = tc.sdd.GetSat(i);
    if (sat < 101 || sat > 199) continue;
    long double k = tc.glnfc.GetFreqNum(sat, first);
    const bool found = tc.glnfc.GetIsGLNSat();
    std::cout << "    Satellite: " << std::setw(4) << sat << "    f. channel: ";
    if (!found) {
      k = 0.0L;
      char text[128];
      std::snprintf(text, sizeof(text),
                    "GLONASS SATELLITE %3d NOT LISTED IN GLONASS FREQUENCY CHANNEL FILE - USING "
                    "FREQ. CHANNEL k = 0!",
                    sat);
      ProgramWarning("Tervan", text);
    }
    PrintChannel(found, k);
    SetChannel(k, static_cast<short>(sat - 101));
  }
}

void ChannelsFromNavigation(TervanC& tc) {
  const GLNbEphData& data = tc.glnnav.GetData();
  for (long i = 0; i < tc.sdd.GetNSat(); ++i) {
    const short sat = tc.sdd.GetSat(i);
    if (sat < 101 || sat > 199) continue;
    const short slot = static_cast<short>(sat - 100);
    long rec = 0;
    while (rec < data.GetNRecords() && data.GetSat(rec) != slot) ++rec;
    const bool found = rec < data.GetNRecords();
    const long double k = found ? data.GetData(rec, 10) : 0.0L;
    std::cout << "    Satellite: " << std::setw(4) << slot << "    f. channel: ";
    if (!found) {
      char text[128];
      std::snprintf(text, sizeof(text),
                    "GLONASS SATELLITE %3d NOT LISTED IN GLONASS BROADCAST EPHEMERIS FILE - USING "
                    "FREQ. CHANNEL k = 0!",
                    slot + 100);
      ProgramWarning("Tervan", text);
    }
    PrintChannel(found, k);
    SetChannel(k, static_cast<short>(slot - 1));
  }
}

}  // namespace

void SetGlonassFrequency(TervanC& tc) {
  StreamFormatGuard keep(std::cout);
  if (GlonassChannelsMissing(tc)) return;
  if (!tc.isGLN || (!tc.isGLNfrch && !tc.isGLNnav) || tc.sdd.neph < 1) return;
  if (tc.verbose) std::cerr << Detail << "GLONASS frequency channel determination!\n";
  ProgramSubSubTitle("SETTING GLONASS FREQUENCY CHANNEL:", 0);
  std::cout << "  GLONASS frequency channel source    : ";
  if (tc.isGLNfrch) {
    std::cout << "GLONASS frequency channel file [" << tc.glnfreqch << "]\n";
    ChannelsFromFile(tc);
  } else {
    std::cout << "GLONASS broadcast navigation file [" << tc.rnavfile << "]\n";
    ChannelsFromNavigation(tc);
  }
  std::cout << "\n\n";
}

namespace {

// ---------------------------------------------------------------------------
// Satellite positions.

// Position (Earth-fixed frame of the reception epoch t) of the satellite at the
// emission of the signal received at t by the receiver; the range (m), or -1
// when there is no position.
long double GlonassBroadcast(TervanC& tc, short sat, const mjd& t, const xyz& receiver, xyzt& pos,
                             Reported& reported) {
  const short slot = static_cast<short>(sat - 100);
  if (!tc.glnnav.HasSat(slot)) {
    WarnOnce(reported, sat,
             "SATELLITE " + SatName(sat) +
                 " NOT LISTED IN GLONASS NAVIGATION FILE - NO POSITION, OBSERVATIONS NOT USED!");
    return -1.0L;
  }
  const std::string unreachable =
      "SATELLITE " + SatName(sat) +
      ": NO GLONASS BROADCAST RECORD WITHIN 8 H OF THE OBSERVATION EPOCH - NO POSITION, "
      "OBSERVATIONS NOT USED!";
  const long rec = tc.glnnav.GetData().Select(slot, t);
  if (rec < 0 || std::fabs(t - tc.glnnav.GetData().GetEpoch(rec)) > kGlonassReach) {
    WarnOnce(reported, sat, unreachable);
    return -1.0L;
  }
  xyzt vel;
  const long double rho = tc.glnnav.CalcSatPosition(slot, t, t, receiver, pos, vel, 0);
  if (tc.glnnav.GetNSteps() > 1000) {  // the integration stopped before the epoch
    WarnOnce(reported, sat, unreachable);
    return -1.0L;
  }
  return rho;
}

long double KeplerBroadcast(GPSbEph& nav, const char* file, short sat, short prn, const mjd& t,
                            const xyz& receiver, xyzt& pos, Reported& reported) {
  if (!nav.HasSat(prn)) {
    WarnOnce(reported, sat,
             "SATELLITE " + SatName(sat) + " NOT LISTED IN " + file +
                 " NAVIGATION FILE - NO POSITION, OBSERVATIONS NOT USED!");
    return -1.0L;
  }
  long double tgd = 0.0L;
  return nav.CalcSatPosition(prn, t, t, receiver, pos, &tgd, 0, 0);
}

// An emission state predicts the travel times of epochs this close [s].
constexpr long double kPredictionReach = 60.0L;

// Interpolation nodes reach this far beyond the first and last epoch of the
// precise orbit file [s]; farther out a polynomial gives no position.
constexpr long double kPreciseMargin = 900.0L;

// The emission of the signal the BASE received from a satellite: where the ROVER's
// light-time solution starts, and the BASE's at the next epoch.
struct Emission {
  bool ok = false;
  mjd t;         // emission epoch (GPS time)
  xyz pos, vel;  // satellite position (ECEF of the emission epoch, m) and velocity (m/s)
  long double travel = 0.0L;  // travel time [s, negative]
};

long double Precise(TervanC& tc, short sat, const mjd& t, const xyz& receiver, xyzt& pos,
                    long double& travel, EmissionState* kept, Emission& em, Reported& reported) {
  const long n = tc.pephM.GetNEpoch();
  if (!tc.isPEph || n < 1) return -1.0L;
  if (tc.pephM.GetMJD(0) - t > kPreciseMargin || t - tc.pephM.GetMJD(n - 1) > kPreciseMargin) {
    WarnOnce(reported, 0,
             "OBSERVATION EPOCHS OUTSIDE THE EPOCH INTERVAL OF THE PRECISE ORBIT FILE - NO "
             "SATELLITE POSITIONS THERE, OBSERVATIONS NOT USED!");
    return -1.0L;
  }
  xyzt vel;
  if (em.ok && std::fabs(t - em.t) < kPredictionReach) {
    travel = lighttime::PredictTravel(t, receiver, kOmegaEarth, em.pos, em.vel, em.t, em.travel);
    // Within the light-time tolerance (0.01 mm) of the BASE's: a ROVER at the BASE
    // repeats its solution to the bit.
    if (std::fabs(travel - em.travel) * lighttime::c < 1e-5L) travel = em.travel;
  }
  const long double rho = tc.pephM.CalcSatPosition(sat, t, receiver, pos, vel, travel, kept);
  if (!tc.pephM.GetPSisOK()) return -1.0L;
  em.ok = rho > 0.0L;
  em.t = t;
  em.t += travel;
  em.pos = pos.GetXYZ();
  em.vel = vel.GetXYZ();
  em.travel = travel;
  return rho;
}

long double SatellitePosition(TervanC& tc, short sat, const mjd& t, const xyz& receiver, xyzt& pos,
                              long double& travel, EmissionState* kept, Emission& em,
                              Reported& reported) {
  long double rho;
  if (sat < 100 && tc.isGPSnav)
    rho = KeplerBroadcast(tc.gpsnav, "GPS", sat, sat, t, receiver, pos, reported);
  else if (sat > 200 && tc.isGALnav)
    rho = KeplerBroadcast(tc.galnav, "GALILEO", sat, static_cast<short>(sat - 200), t, receiver,
                          pos, reported);
  else if (sat > 100 && sat < 200 && tc.isGLNnav)
    rho = GlonassBroadcast(tc, sat, t, receiver, pos, reported);
  else
    rho = Precise(tc, sat, t, receiver, pos, travel, kept, em, reported);
  if (!(rho > 0.0L)) return -1.0L;
  // The emission position turned by the Earth's rotation during the travel time.
  const xyz turned = lighttime::RotateAboutZ(pos, -kOmegaEarth * rho / lighttime::c);
  pos = xyzt(turned.GetX(), turned.GetY(), turned.GetZ(), pos.GetT());
  return rho;
}

bool Processed(const TervanC& tc, short sat) {
  if (sat > 0 && sat < 100) return tc.isGPS;
  if (sat > 100 && sat < 200) return tc.isGLN;
  if (sat > 200 && sat < kSatNumbers) return tc.isGAL;
  return false;
}

// ---------------------------------------------------------------------------
// Model terms per station.

struct StationState {
  int col = 0;  // 0 BASE, 1 ROVER
  const char* name = "";
  xyz ref;                  // antenna reference point (ECEF, m)
  flh refG;                 // its geodetic coordinates
  xyz unit;                 // unit vector of the marker
  long double mag = 0;      // geocentric distance of the marker [m]
  long double latDeg = 0;   // geodetic latitude [deg]
  long double lonDeg = 0;   // longitude [deg]
  long double geocDeg = 0;  // geocentric latitude [deg]
  mjd t;                    // reception epoch (GPS time)
  xyz setide;               // solid tide displacement (ECEF, m)
  neu ptide, otide;         // pole tide and ocean loading displacements (m)
  bool blqListed = false;   // the BLQ file has the station
};

StationState MakeStation(TervanC& tc, int col) {
  StationState s;
  s.col = col;
  s.name = tc.sdh.GetMarkerName(col);
  s.ref = col == 0 ? tc.RecPosFC_BASE : tc.RecPosFC_ROVER;
  s.refG = col == 0 ? tc.RecPosFCG_BASE : tc.RecPosFCG_ROVER;
  s.unit = col == 0 ? tc.RecPosUnit_BASE : tc.RecPosUnit_ROVER;
  s.mag = col == 0 ? tc.RecMag_BASE : tc.RecMag_ROVER;
  s.latDeg = s.refG.GetF() * kDeg;
  s.lonDeg = s.refG.GetL() * kDeg;
  s.geocDeg = std::atan(std::tan(s.refG.GetF()) * (1.0L - tc.eGPS.GetESQR())) * kDeg;
  if (tc.isOTide) {
    tc.otide.SetStation(s.name);  // warns once when the station is not listed
    s.blqListed = tc.otide.GetStationIndex() >= 0;
  }
  return s;
}

void Displacements(TervanC& tc, StationState& s) {
  if (tc.isSolidTide) {
    tc.nset.SetStaPosition(s.unit, s.mag);
    tc.nset.GetDisplacement(s.t, s.setide);
  }
  if (tc.isPTide) {
    tc.ptide.SetCalcEpoch(s.t);
    tc.ptide.SetMeanPole();
    tc.ptide.GetPoleTide(s.t, s.refG, s.ptide);
  }
  if (tc.isOTide && s.blqListed) {
    tc.otide.SetStation(s.name);
    tc.otide.GetDisplacement(s.t, s.otide);
  }
}

// Range effect of a station displacement d (north, east, up) for the line of sight
// toward the satellite: the projection on the unit vector from the satellite to
// the station, so that a station moved toward the satellite shortens the range.
long double RangeEffect(const neu& d, const neu& los) {
  return -(d.GetN() * los.GetN() + d.GetE() * los.GetE() + d.GetU() * los.GetU());
}

void Troposphere(TervanC& tc, const StationState& s, long r, long double el, long double az) {
  tc.trpmodel.GetMappFunction(tc.trpdelay, s.refG, s.t, el);
  tc.TROP(r, s.col) = tc.trpdelay.DelayDry();
  if (tc.ifEstTropo || tc.isOutTropEphFile) tc.MFTROP(r, s.col) = tc.trpdelay.MappFunWet();
  if (!tc.ifEstTropo) tc.TROP(r, s.col) += tc.trpdelay.DelayWet();
  if (tc.ifEstTropo && tc.ifEstTropoGrad) {
    const long double m = std::sin(el) * std::tan(el) + kGradMap;
    tc.MFGRAD(r, 2 * s.col) = std::cos(az) / m;
    tc.MFGRAD(r, 2 * s.col + 1) = std::sin(az) / m;
  }
}

void Ionosphere(TervanC& tc, const StationState& s, long r, long double el, long double az,
                long double sod, long double vertical) {
  const long double elDeg = el * kDeg, azDeg = az * kDeg;
  if (tc.isKlob) {
    tc.ION(r, s.col) = tc.ionk.CalcIonDelay(
        static_cast<double>(s.latDeg), static_cast<double>(s.lonDeg), static_cast<double>(elDeg),
        static_cast<double>(azDeg), static_cast<double>(sod));
  } else if (tc.isIonx) {
    long double t = sod, lat = s.geocDeg, lon = s.lonDeg, e = elDeg;
    int unit = tc.IonexUnit, proc = tc.IonexProc, tecv = tc.IonexTECV;
    tc.ION(r, s.col) = tc.ionx.CalcIonDelay(t, lat, lon, e, azDeg, unit, proc, tecv);
  } else if (tc.isMyion) {
    const long double sinz = std::cos(el) * kIonoR / (kIonoR + kIonoH);
    tc.ION(r, s.col) = vertical / std::sqrt(1.0L - sinz * sinz);
  }
}

// Geometry and model terms of record r at one station.
void RecordTerms(TervanC& tc, const StationState& s, long r, long double rho, long double sod,
                 long double vertical) {
  const int c = s.col;
  const xyzt& sp = tc.SAT_POS(r, c);
  long double el = 0, az = 0;
  SatelliteAzimuthElevation(s.ref, sp, tc.eGPS, el, az);
  tc.ELV(r, c) = el;
  tc.AZM(r, c) = az;
  const xyz sat(sp.GetX(), sp.GetY(), sp.GetZ());
  const long double rsat = sat.GetLength();
  if (tc.SAT_DIST.NRow() > 0) tc.SAT_DIST(r, c) = rsat;
  tc.REL2(r, c) = kRel2Const * std::log((rsat + s.mag + rho) / (rsat + s.mag - rho));
  if (tc.isSolidTide) tc.SETIDE(r, c) = s.setide * (s.ref - sat) / rho;
  if (tc.isPTide || tc.isOTide) {  // the line of sight only serves the displacements
    const neu los(std::cos(el) * std::cos(az), std::cos(el) * std::sin(az), std::sin(el));
    if (tc.isPTide) tc.PTIDE(r, c) = RangeEffect(s.ptide, los);
    if (tc.isOTide) tc.OTIDE(r, c) = RangeEffect(s.otide, los);
  }
  if (tc.isTrpModel) Troposphere(tc, s, r, el, az);
  Ionosphere(tc, s, r, el, az, sod, vertical);
}

// Elevation weight of a record from the elevations at both stations.
long double ElevationWeight(long double elB, long double elR) {
  const long double sB = std::sin(elB), sR = std::sin(elR);
  const long double b = sB * sB, r = sR * sR;
  return b + r > 0.0L ? 2.0L * b * r / (b + r) : 0.0L;
}

// ---------------------------------------------------------------------------
// The epoch loop.

struct EpochLoop {
  StationState st[2];
  Reported reported = Reported(kSatNumbers, false);
  std::vector<long double> rho[2];
  std::vector<Emission> last = std::vector<Emission>(kSatNumbers);  // BASE's, per satellite
  int shown = -1;                                                   // last percentage shown
};

void SunAndMoon(TervanC& tc, long i, const mjd& t) {
  xyz sun, moon;
  long double sunDist = 0, moonDist = 0;
  tc.lsp.SunPosition(t, sun, sunDist);
  tc.lsp.MoonPosition(t, moon, moonDist);
  tc.posSunUnit(i) = sun;
  tc.SunMag(i) = sunDist;
  tc.nset.SetSunPosition(sun, sunDist);
  tc.nset.SetMoonPosition(moon, moonDist);
}

// Satellite positions of the epoch's records at both stations; OKSAT marks the
// records with a position at each.
void Positions(TervanC& tc, EpochLoop& lp, long off, long n) {
  for (long k = 0; k < n; ++k) {
    const long r = off + k;
    const short sat = tc.sdd.sat(r);
    lp.rho[0][k] = lp.rho[1][k] = -1.0L;
    if (!Processed(tc, sat)) continue;
    Emission base = lp.last[sat];
    for (int c = 0; c < 2; ++c) {
      xyzt pos;
      long double travel = 0.0L;
      EmissionState* kept = tc.Emissions.NRow() > 0 ? &tc.Emissions(r, c) : nullptr;
      lp.rho[c][k] = SatellitePosition(tc, sat, lp.st[c].t, lp.st[c].ref, pos, travel, kept, base,
                                       lp.reported);
      if (tc.TravelTime.NRow() > 0) tc.TravelTime(r, c) = travel;
      if (c == 0) lp.last[sat] = base;
      if (lp.rho[c][k] < 0) break;
      tc.SAT_POS(r, c) = pos;
    }
    tc.OKSAT(r) = lp.rho[0][k] > 0 && lp.rho[1][k] > 0;
    if (!tc.OKSAT(r)) tc.SAT_POS(r, 0) = tc.SAT_POS(r, 1) = xyzt();
  }
}

void Epoch(TervanC& tc, EpochLoop& lp, long i, long off) {
  const mjd t = tc.sdd.epoch(i);
  lp.st[0].t = t;
  lp.st[0].t += -tc.sdd.clkErB(i);
  lp.st[1].t = t;
  lp.st[1].t += tc.sdd.dtR_B(i) - tc.sdd.clkErR(i);
  SunAndMoon(tc, i, lp.st[0].t);
  Displacements(tc, lp.st[0]);
  Displacements(tc, lp.st[1]);
  long double vertical = 0.0L;
  if (tc.isMyion) {
    tc.myion.SetIonoIndex(t, tc.myion.GetIonoIndex());
    tc.myion.GetIonoDelay(lp.st[0].t, vertical);
  }
  const long n = tc.sdd.nsat(i);
  lp.rho[0].resize(n);
  lp.rho[1].resize(n);
  Positions(tc, lp, off, n);
  const long double sod = lp.st[0].t.GetSecond();
  bool any = false;
  for (long r = off; r < off + n; ++r) any = any || tc.OKSAT(r);
  if (!any) return;
  for (StationState& s : lp.st) {
    if (tc.isTrpModel) {  // zenith delays of the station before its mapping functions
      tc.trpmodel.SetPoint(s.name);
      tc.trpmodel.SetAtmParams(s.refG);
      tc.trpmodel.GetZenithDelay(tc.trpdelay, s.refG, s.t);
    }
    for (long k = 0; k < n; ++k)
      if (tc.OKSAT(off + k)) RecordTerms(tc, s, off + k, lp.rho[s.col][k], sod, vertical);
  }
  if (tc.obsP != 1) return;
  for (long r = off; r < off + n; ++r)
    if (tc.OKSAT(r)) tc.WGHT(r) = ElevationWeight(tc.ELV(r, 0), tc.ELV(r, 1));
}

void Progress(const TervanC& tc, EpochLoop& lp, long i) {
  if (!tc.verbose) return;
  const int p = static_cast<int>(100.0L * i / tc.sdd.neph);
  if (p % 5 != 0 || p == lp.shown) return;
  lp.shown = p;
  std::cerr << "\b\b\b\b\b\b" << std::setw(4) << p << " %" << std::flush;
}

void PrintModels(const TervanC& tc) {
  ProgramSubSubTitle("MODELING GNSS BIASES:", 0);
  if (tc.isSolidTide) std::cout << "  Solid Earth tide\n";
  if (tc.isPTide) std::cout << "  Pole tide\n";
  if (tc.isOTide) std::cout << "  Ocean tide loading\n";
  std::cout << "  Relativistic path range effect\n";
  if (tc.isTrpModel || tc.ifEstTropo) std::cout << "  Troposphere modelling/estimation\n";
  if (tc.isKlob || tc.isIonx || tc.isMyion) std::cout << "  Ionosphere modelling\n";
  if (tc.obsP == 1) std::cout << "  Elevation dependent observation weighting\n";
}

// The values of a model that is off would all be zero: its matrix stays empty
// (a day at 1 s has millions of records) and the stages read it as zero.
void SizeModel(matrix<long double>& m, bool on, long n, long columns) {
  if (on)
    m.Resize(n, columns, 0.0L);
  else
    m.Resize(0, 0);
}

void SizeMatrices(TervanC& tc) {
  const long n = tc.sdd.nobs;
  for (matrix<long double>* m : {&tc.ELV, &tc.AZM, &tc.TROP, &tc.REL2}) m->Resize(n, 2, 0.0L);
  SizeModel(tc.SAT_DIST, tc.isAtx, n, 2);  // for the satellite antenna variations
  SizeModel(tc.SETIDE, tc.isSolidTide, n, 2);
  SizeModel(tc.PTIDE, tc.isPTide, n, 2);
  SizeModel(tc.OTIDE, tc.isOTide, n, 2);
  SizeModel(tc.ION, tc.isKlob || tc.isIonx || tc.isMyion, n, 2);
  SizeModel(tc.MFTROP, tc.isTrpModel && (tc.ifEstTropo || tc.isOutTropEphFile), n, 2);
  SizeModel(tc.MFGRAD, tc.isTrpModel && tc.ifEstTropo && tc.ifEstTropoGrad, n, 4);
  tc.WGHT.Resize(n, 1, 1.0L);
  tc.SAT_POS.Resize(n, 2, xyzt());
  SizeModel(tc.TravelTime, tc.isPEph, n, 2);
  tc.Emissions.Resize(0, 0);  // a new table holds no states
  if (tc.isPEph && n <= TervanC::KeepEmissionRecords) tc.Emissions.Resize(n, 2);
  tc.OKSAT.Resize(n, 1, false);
  tc.posSunUnit.Resize(tc.sdd.neph, 1, xyz());
  tc.SunMag.Resize(tc.sdd.neph, 1, 0.0L);
}

}  // namespace

void CalculateAE(TervanC& tc) {
  StreamFormatGuard keep(std::cout);
  PrintModels(tc);
  SizeMatrices(tc);
  EpochLoop lp;
  lp.st[0] = MakeStation(tc, 0);
  lp.st[1] = MakeStation(tc, 1);
  if (tc.isMyion && tc.sdd.neph > 0) tc.myion.SetIonoIndex(tc.sdd.epoch(0));
  if (tc.verbose) std::cerr << Detail << "Process:       " << std::flush;
  long off = 0;
  for (long i = 0; i < tc.sdd.neph; off += tc.sdd.nsat(i), ++i) {
    Progress(tc, lp, i);
    Epoch(tc, lp, i, off);
  }
  if (tc.verbose) std::cerr << "\b\b\b\b\b\b" << std::setw(4) << 100 << " %" << std::endl;
  std::cout << "\n\n" << std::flush;
}

void ApplyCorrections(TervanC& tc) {
  if (tc.verbose)
    std::cerr << "Tervan::ApplyCorrections(): OBSERVATIONS AND COORDINATE CORRECTIONS!\n";
  SetGlonassFrequency(tc);
  if (tc.verbose)
    std::cerr << Detail
              << "Azimuths, Elevation angles, Solid Earth Tide, Troposphere, Ionosphere!\n";
  CalculateAE(tc);
}
