#include "orbits/GPSbEph.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "core/ProgramError.h"
#include "gnss/TimeConverse.h"
#include "orbits/LightTime.h"
#include "orbits/NavFile.h"

namespace {
const long double kPi = 3.141592653589793L;
const long double kGMGalileo = 3.986004418e14L;  // Galileo's value of GM (m^3/s^2)

// Record values.
enum {
  A0 = 0,
  A1,
  A2,
  IODE,
  CRS,
  DN,
  M0,
  CUC,
  ECC,
  CUS,
  SQRTA,
  TOE,
  CIC,
  OMEGA0,
  CIS,
  I0,
  CRC,
  OMEGA,
  OMEGADOT,
  IDOT,
  L2CODES,
  WEEK,
  L2P,
  ACCURACY,
  HEALTH,
  TGD,
  IODC,
  TTRANS
};
}  // namespace

GPSbEph::GPSbEph()
    : Relativity(0),
      nsatall(0),
      GMz(3.986005e14L),
      OMEGAz(7.2921151467e-5L),
      RelK(-4.442807633e-10L),
      system('G') {
  navig[0] = '\0';
}

void GPSbEph::SetFile(const char* name) {
  std::strncpy(navig, name, sizeof(navig) - 1);
  navig[sizeof(navig) - 1] = '\0';
}

void GPSbEph::SetSystem(char sys) {
  system = sys == 'E' ? 'E' : 'G';
  GMz = system == 'E' ? kGMGalileo : 3.986005e14L;
}

void GPSbEph::ReadFile() {
  std::ifstream in(navig);
  if (!in)
    FileError("GPSbEph", system == 'E' ? "GALILEO NAVIGATION FILE CAN NOT BE OPENED!"
                                       : "GPS NAVIGATION FILE CAN NOT BE OPENED!");
  const float version = navfile::ReadHeader(
      in, [this](const std::string& line, const std::string&) { return ghead.Label(line); },
      "GPSbEphHeader", "GPSbEphData");
  // Version 2 records carry no system letter: a GLONASS file would be read as
  // Keplerian records of nonsense.
  if (version < 3.0f && ghead.GetType()[0] == 'G')
    FileError("GPSbEphData", "RINEX NAVIGATION FILE OF GLONASS SATELLITES - RINEX TYPE IS 'G'!",
              "####");
  std::vector<navfile::Record> records =
      navfile::ReadRecords(in, version, system, 28, 8, "GPSbEphData");
  // An orbit needs 0 <= e < 1 and a semi-major axis between 1000 km and 100000 km
  // (navigation satellites fly at 20000 km to 42000 km).
  navfile::DropUnusable(
      records, system,
      [](const navfile::Record& r) {
        return r.values[ECC] >= 0 && r.values[ECC] < 1 && r.values[SQRTA] > 1000 &&
               r.values[SQRTA] < 10000;
      },
      "GPSbEphData");
  gdata.Set(records);
  nsatall = gdata.GetNRecords();
}

long GPSbEph::GetDataIndex(short sat, const mjd& t) {
  // A Galileo record is fitted for the hours after its reference epoch.
  const long rec = gdata.Select(sat, t, system == 'E');
  if (rec < 0) {
    char text[96];
    if (system == 'E')
      std::snprintf(text, sizeof(text), "SAT: E%02d IS NOT LISTED IN GALILEO NAVIGATION FILE!!!",
                    sat);
    else
      std::snprintf(text, sizeof(text), "SAT: G%02d IS NOT LISTED IN GPS NAVIGATION FILE!!!", sat);
    FileError("GPSbEph", text);
  }
  return rec;
}

void GPSbEph::PrintParameter(const char* name, long double value) const {
  navfile::PrintParameter("GPSbEph", name, value);
}

void GPSbEph::CheckInterval(short sat, const mjd& t, long double dt, unsigned short warn) const {
  if (std::fabs(dt) > 8000.0L)
    ProgramWarning("Tervan",
                   "GPS BROADCAST EPHEMERIS: CALCULATION EPOCH NOT IN VALID INTERVAL (2H) WITH "
                   "RESPECT TO EPOCHS OF DATA!");
  if (warn && std::fabs(dt) > 7200.0L) {
    const ymdhms c = mjd2ymdhms(t);
    char text[128];
    std::snprintf(text, sizeof(text),
                  "SAT: %c%02d [%4d-%02d-%02d %02d:%02d:%04.1lf] -> DT = %5.2lf h PARAMETER TO BIG "
                  "[>2h]",
                  system, sat, c.GetYear(), c.GetMonth(), c.GetDay(), c.GetHour(), c.GetMinute(),
                  static_cast<double>(c.GetSecond()), static_cast<double>(dt / 3600.0L));
    ProgramWarning("Tervan", text);
  }
}

long double GPSbEph::EccentricAnomaly(long double M, long double e) const {
  long double E = 0.0L;
  for (int iter = 1;; iter++) {
    const long double next = M + e * std::sin(E);
    const long double change = std::fabs(next - E);
    E = next;
    if (iter >= 100) FileError("GPSbEph", "TO MANY ITERATIONS (E)");
    if (change <= 1e-14L) return E;
  }
}

void GPSbEph::Orbit(const mjd& t, long rec, xyzt& pos, long double* tgd, unsigned short print) {
  auto d = [this, rec](int k) { return gdata.GetData(rec, k); };
  const mjd& toc = gdata.GetEpoch(rec);
  const long double tk = t - toc;  // from the clock reference epoch (s)
  // The orbit refers to Toe: the clock epoch's seconds of week differ from Toe in
  // the few records whose two reference epochs are not the same.
  long double toeShift = mjd2GPSws(toc).GetSecond() - d(TOE);
  toeShift -= 604800.0L * std::floor(toeShift / 604800.0L + 0.5L);
  const long double tko = tk + toeShift;
  const long double A = d(SQRTA) * d(SQRTA);
  const long double e = d(ECC);
  const long double n = std::sqrt(GMz / (A * A * A)) + d(DN);
  const long double M = d(M0) + n * tko;
  const long double E = EccentricAnomaly(M, e);
  const long double sinE = std::sin(E), cosE = std::cos(E);
  Relativity = -RelK * e * d(SQRTA) * sinE;
  const long double clk = d(A0) + d(A1) * tk + d(A2) * tk * tk - Relativity;
  if (tgd) *tgd = system == 'E' ? d(IODC) : d(TGD);
  long double v = std::atan2(std::sqrt(1.0L - e * e) * sinE, cosE - e);
  if (v < 0) v += 2.0L * kPi;
  const long double phi = v + d(OMEGA);
  const long double s2 = std::sin(2.0L * phi), c2 = std::cos(2.0L * phi);
  const long double u = phi + d(CUS) * s2 + d(CUC) * c2;
  const long double r = A * (1.0L - e * cosE) + d(CRS) * s2 + d(CRC) * c2;
  const long double i = d(I0) + d(CIS) * s2 + d(CIC) * c2 + d(IDOT) * tko;
  const long double Om = d(OMEGA0) + (d(OMEGADOT) - OMEGAz) * tko - OMEGAz * d(TOE);
  const long double xp = r * std::cos(u), yp = r * std::sin(u);
  const long double cO = std::cos(Om), sO = std::sin(Om), ci = std::cos(i);
  pos = xyzt(xp * cO - yp * ci * sO, xp * sO + yp * ci * cO, yp * std::sin(i), clk);
  if (print) {
    PrintParameter("A", A);
    PrintParameter("tk", tko);
    PrintParameter("n", n);
    PrintParameter("M", M);
    PrintParameter("E", E);
    PrintParameter("v", v);
    PrintParameter("u", u);
    PrintParameter("r", r);
    PrintParameter("i", i);
    PrintParameter("Omega", Om);
    PrintParameter("dt", clk);
  }
}

void GPSbEph::CalcSatPosition(short sat, const mjd& t, const mjd& tindex, xyzt& pos,
                              long double* tgd, unsigned short warn, unsigned short print) {
  const long rec = GetDataIndex(sat, tindex);
  CheckInterval(sat, t, t - gdata.GetEpoch(rec), warn);
  Orbit(t, rec, pos, tgd, print);
}

long double GPSbEph::CalcSatPosition(short sat, const mjd& t, const mjd& tindex,
                                     const xyz& receiver, xyzt& pos, long double* tgd,
                                     unsigned short warn, unsigned short print) {
  const long rec = GetDataIndex(sat, tindex);
  CheckInterval(sat, t, t - gdata.GetEpoch(rec), warn);
  // The record's validity is checked once, for the reception epoch.
  auto evaluate = [&](const mjd& te) {
    ephr = te;
    Orbit(te, rec, p0, tgd, print);
    return true;
  };
  bool exhausted = false;
  const long double rho = lighttime::Solve(t, receiver, OMEGAz, 10, evaluate, p0, &exhausted);
  if (exhausted)
    ClassWarning("GPSbEph", "GPSbEph::CalcSatPosition():      TO MANY ITERATIONS: > 10!!", true);
  pos = p0;
  return rho;
}

long double GPSbEph::CalcSatPosition(short sat, const mjd& t, const mjd& tindex,
                                     const xyz& receiver, xyzt& pos, long double* tgd,
                                     unsigned short warn, unsigned short print, const gnssobs& P) {
  const long double tau = P.GetObs() / lighttime::c;
  mjd te = t;
  te += -tau;
  CalcSatPosition(sat, te, tindex, pos, tgd, warn, print);
  ps = lighttime::RotateAboutZ(receiver, OMEGAz * tau);
  return lighttime::Range(ps, pos);
}
