#include "sim/NavFiles.h"

#include <cmath>
#include <fstream>
#include <vector>

#include "sim/Constants.h"
#include "sim/Simulator.h"
#include "sim/TextFormat.h"

namespace sim {

namespace {

std::string D(long double v) {
  return FormatExp(v, 19, 12, 'D');
}
std::string E(long double v) {
  return FormatExp(v, 19, 12, 'E');
}

// One broadcast-orbit line of four values after the given indentation.
std::string OrbitLine(const std::string& indent, long double a, long double b, long double c,
                      long double d, std::string (*fmt)(long double)) {
  return indent + fmt(a) + fmt(b) + fmt(c) + fmt(d) + "\n";
}

std::string Header(const char* version, const char* type, const char* system,
                   const Simulator& sim) {
  const Calendar c = ToCalendar(sim.Sc().StartSeconds());
  return Format("%9s%11s%-20s%-20sRINEX VERSION / TYPE\n", version, "", type, system) +
         Format("%-20s%-20s%04d%02d%02d %06d UTC PGM / RUN BY / DATE\n", "tervan-sim", "Tervan",
                c.year, c.month, c.day, 0);
}

// Record epochs of one system: every `step` seconds covering the observations.
std::vector<long double> RecordEpochs(const Simulator& sim, long double step) {
  std::vector<long double> out;
  const long double first = std::floor(sim.Sc().StartSeconds() / step) * step;
  for (long double t = first; t <= sim.Sc().EndSeconds() + step / 2; t += step) out.push_back(t);
  return out;
}

// Broadcast clock of a record: offset at the reference epoch and the mean drift of
// the quarter hour around it (the periodic relativistic term is the user's).
void ClockFit(const SatClock& clock, long double t, long double& a0, long double& a1) {
  a0 = clock.Value(t);
  a1 = (clock.Value(t + 900.0L) - clock.Value(t - 900.0L)) / 1800.0L;
}

// TGD of a GPS satellite from its P1 and P2 code biases.
long double GroupDelay(const SimSat& s) {
  const long double gamma = (kFreqL1 * kFreqL1) / (kFreqL2 * kFreqL2);
  return (s.biasP1 - s.biasP2) / (kC * (1.0L - gamma));
}

}  // namespace

bool WriteGpsNav(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Constellation& sats = sim.Sats();
  const long double t0 = sim.Sc().StartSeconds();
  os << Header("2.11", "N: GPS NAV DATA", "", sim)
     << "    0.1118D-07  0.2235D-07 -0.5960D-07 -0.1192D-06          ION ALPHA\n"
     << "    0.1167D+06  0.1802D+06 -0.6554D+05 -0.5243D+06          ION BETA\n"
     << "   " << D(0) << D(0) << Format("%9ld%9d", std::lround(SecondsOfWeek(t0)), GpsWeek(t0))
     << " DELTA-UTC: A0,A1,T,W\n"
     << Format("%6d%54sLEAP SECONDS\n", LeapSeconds(t0), "") << Format("%60sEND OF HEADER\n", "");
  const std::string ind = "   ";
  for (long double t : RecordEpochs(sim, kGpsRecordStep)) {
    for (size_t i = 0; i < sats.Size(); ++i) {
      if (sats.Sat(i).system != 'G') continue;
      const KeplerElements el = sats.Kepler(i).ElementsAt(t);
      long double a0, a1;
      ClockFit(sats.Sat(i).clock, t, a0, a1);
      const Calendar c = ToCalendar(t);
      const long iode = std::lround(std::fmod(t / kGpsRecordStep, 256.0L));
      os << Format("%2d %02d %2d %2d %2d %2d%5.1f", sats.Sat(i).prn, c.year % 100, c.month, c.day,
                   c.hour, c.minute, static_cast<double>(c.second))
         << D(a0) << D(a1) << D(0) << "\n"
         << OrbitLine(ind, iode, el.crs, el.deltaN, el.m0, D)
         << OrbitLine(ind, el.cuc, el.e, el.cus, el.sqrtA, D)
         << OrbitLine(ind, el.toe, el.cic, el.omega0, el.cis, D)
         << OrbitLine(ind, el.i0, el.crc, el.w, el.omegaDot, D)
         << OrbitLine(ind, el.iDot, 1, GpsWeek(t), 0, D)
         << OrbitLine(ind, 2, 0, GroupDelay(sats.Sat(i)), iode, D) << ind
         << D(SecondsOfWeek(t) - 30.0L) << D(4) << "\n";
    }
  }
  return static_cast<bool>(os);
}

bool WriteGalileoNav(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Constellation& sats = sim.Sats();
  os << Header("3.04", "N: GNSS NAV DATA", "E: GALILEO", sim)
     << Format("%6d%54sLEAP SECONDS\n", LeapSeconds(sim.Sc().StartSeconds()), "")
     << Format("%60sEND OF HEADER\n", "");
  const std::string ind = "    ";
  for (long double t : RecordEpochs(sim, kGalileoRecordStep)) {
    for (size_t i = 0; i < sats.Size(); ++i) {
      if (sats.Sat(i).system != 'E') continue;
      const KeplerElements el = sats.Kepler(i).ElementsAt(t);
      long double a0, a1;
      ClockFit(sats.Sat(i).clock, t, a0, a1);
      const Calendar c = ToCalendar(t);
      const long iod = std::lround(std::fmod(t / kGalileoRecordStep, 1024.0L));
      os << Format("E%02d %04d %02d %02d %02d %02d %02d", sats.Sat(i).prn, c.year, c.month, c.day,
                   c.hour, c.minute, static_cast<int>(c.second))
         << E(a0) << E(a1) << E(0) << "\n"
         << OrbitLine(ind, iod, el.crs, el.deltaN, el.m0, E)
         << OrbitLine(ind, el.cuc, el.e, el.cus, el.sqrtA, E)
         << OrbitLine(ind, el.toe, el.cic, el.omega0, el.cis, E)
         << OrbitLine(ind, el.i0, el.crc, el.w, el.omegaDot, E)
         << OrbitLine(ind, el.iDot, 517, GpsWeek(t), 0, E) << OrbitLine(ind, 3.12L, 0, 0, 0, E)
         << ind << E(SecondsOfWeek(t) - 30.0L) << "\n";
    }
  }
  return static_cast<bool>(os);
}

bool WriteGlonassNav(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Constellation& sats = sim.Sats();
  const Calendar c0 = ToCalendar(sim.Sc().StartSeconds());
  const int leap = LeapSeconds(sim.Sc().StartSeconds());
  os << Header("2.11", "G: GLONASS NAV DATA", "", sim)
     << Format("%6d%6d%6d   %s%21sCORR TO SYSTEM TIME\n", c0.year, c0.month, c0.day, D(0).c_str(),
               "")
     << Format("%6d%54sLEAP SECONDS\n", leap, "") << Format("%60sEND OF HEADER\n", "");
  const std::string ind = "   ";
  const long double from = sim.Sc().StartSeconds() - 1800.0L, to = sim.Sc().EndSeconds() + 1800.0L;
  for (size_t i = 0; i < sats.Size(); ++i) {
    if (sats.Sat(i).system != 'R') continue;
    for (const GlonassRecord& r : sats.Glonass(i).Records()) {
      if (r.tb < from || r.tb > to) continue;
      long double a0, a1;
      ClockFit(sats.Sat(i).clock, r.tb, a0, a1);
      const long double utc = r.tb - leap;  // records are tagged in UTC
      const Calendar c = ToCalendar(utc);
      const long double frame = SecondsOfWeek(utc) - 30.0L;
      os << Format("%2d %02d %2d %2d %2d %2d%5.1f", sats.Sat(i).prn, c.year % 100, c.month, c.day,
                   c.hour, c.minute, static_cast<double>(c.second))
         << D(a0) << D(a1) << D(frame) << "\n"
         << OrbitLine(ind, r.pos.x / 1000, r.vel.x / 1000, r.acc.x / 1000, 0, D)
         << OrbitLine(ind, r.pos.y / 1000, r.vel.y / 1000, r.acc.y / 1000, sats.Sat(i).channel, D)
         << OrbitLine(ind, r.pos.z / 1000, r.vel.z / 1000, r.acc.z / 1000, 0, D);
    }
  }
  return static_cast<bool>(os);
}

bool WriteGlonassChannels(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Constellation& sats = sim.Sats();
  const Calendar c = ToCalendar(std::floor(sim.ProductStart() / 86400.0L) * 86400.0L);
  os << "# GLONASS frequency channels of the simulated satellites\n"
     << "# slot     valid from               valid to                 channel\n";
  for (size_t i = 0; i < sats.Size(); ++i) {
    if (sats.Sat(i).system != 'R') continue;
    std::string line = Format("R%02d", sats.Sat(i).prn);
    line.resize(10, ' ');
    line += Format("%04d %02d %02d %02d %02d %4.1f", c.year, c.month, c.day, 0, 0, 0.0);
    line.resize(51, ' ');
    line += Format("%3d", sats.Sat(i).channel);
    os << line << "\n";
  }
  return static_cast<bool>(os);
}

}  // namespace sim
