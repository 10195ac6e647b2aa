#include "sim/ProductFiles.h"

#include <cmath>
#include <fstream>

#include "sim/Simulator.h"
#include "sim/SunMoon.h"
#include "sim/TextFormat.h"

namespace sim {

namespace {

std::string EpochText(long double t, const char* fmt) {
  const Calendar c = ToCalendar(t);
  return Format(fmt, c.year, c.month, c.day, c.hour, c.minute, static_cast<double>(c.second));
}

// The satellite list and accuracy lines of the SP3 header: at least five lines of
// 17 satellites each, unused places "  0".
void Sp3SatelliteLines(std::ostream& os, const Constellation& sats) {
  const size_t lines = std::max<size_t>(5, (sats.Size() + 16) / 17);
  for (size_t l = 0; l < lines; ++l) {
    os << (l == 0 ? Format("+  %3zu   ", sats.Size()) : std::string("+        "));
    for (size_t k = 17 * l; k < 17 * (l + 1); ++k)
      os << (k < sats.Size() ? sats.Sat(k).Id() : std::string("  0"));
    os << "\n";
  }
  for (size_t l = 0; l < lines; ++l) {
    os << "++       ";
    for (size_t k = 17 * l; k < 17 * (l + 1); ++k) os << (k < sats.Size() ? "  3" : "  0");
    os << "\n";
  }
}

}  // namespace

bool WriteSp3(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Constellation& sats = sim.Sats();
  const long double step = sim.Sc().sp3Interval;
  const long double t0 = sim.ProductStart();
  const long n = static_cast<long>(std::lround((sim.ProductEnd() - t0) / step)) + 1;
  os << EpochText(t0, "#cP%4d %2d %2d %2d %2d %11.8f") << Format(" %7ld", n)
     << " ORBIT IGS20 FIT  SIM\n";
  os << Format("## %4d %15.8Lf %14.8Lf %5ld %15.13Lf\n", GpsWeek(t0), SecondsOfWeek(t0), step,
               Mjd(t0), SecondsOfDay(t0) / 86400.0L);
  Sp3SatelliteLines(os, sats);
  // With antennas the file holds centres of mass, as real products do; the
  // observations leave the antenna phase centres, where the broadcast orbits are.
  const bool centresOfMass = sim.Sc().antennas;
  os << "%c M  cc GPS ccc cccc cccc cccc cccc ccccc ccccc ccccc ccccc\n"
        "%c cc cc ccc ccc cccc cccc cccc cccc ccccc ccccc ccccc ccccc\n"
        "%f  1.2500000  1.025000000  0.00000000000  0.000000000000000\n"
        "%f  0.0000000  0.000000000  0.00000000000  0.000000000000000\n"
        "%i    0    0    0    0      0      0      0      0         0\n"
        "%i    0    0    0    0      0      0      0      0         0\n"
        "/* SIMULATED ORBITS AND CLOCKS WRITTEN BY TERVAN-SIM\n"
     << (centresOfMass ? "/* POSITIONS OF THE CENTRES OF MASS, EARTH-FIXED\n"
                       : "/* POSITIONS OF THE ANTENNA PHASE CENTRES, EARTH-FIXED\n")
     << "/* CLOCKS WITHOUT THE PERIODIC RELATIVISTIC TERM\n"
        "/* GPS TIME\n";
  for (long k = 0; k < n; ++k) {
    const long double t = t0 + k * step;
    os << EpochText(t, "*  %4d %2d %2d %2d %2d %11.8f") << "\n";
    const Vec3 sun = centresOfMass ? SunPosition(t) : Vec3{};
    for (size_t i = 0; i < sats.Size(); ++i) {
      Vec3 p = sats.Position(i, t);
      if (centresOfMass) p = p - sim.Antenna().SatelliteOffset(i, p, sun);
      os << "P" << sats.Sat(i).Id()
         << Format("%14.6Lf%14.6Lf%14.6Lf%14.6Lf  3  3  3  93\n", p.x / 1000.0L, p.y / 1000.0L,
                   p.z / 1000.0L, sats.Clock(i, t) * 1e6L);
    }
  }
  os << "EOF\n";
  return static_cast<bool>(os);
}

bool WriteClock(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Constellation& sats = sim.Sats();
  const long double t0 = sim.ProductStart();
  const Calendar c0 = ToCalendar(t0);
  os << "     3.00           C                   M                   RINEX VERSION / TYPE\n"
     << Format("%-20s%-20s%04d%02d%02d %02d%02d%02d GPS PGM / RUN BY / DATE\n", "tervan-sim",
               "Tervan", c0.year, c0.month, c0.day, 0, 0, 0)
     << Format("%-60sCOMMENT\n", "SIMULATED SATELLITE CLOCKS WITHOUT RELATIVISTIC TERM")
     << Format("%-60sTIME SYSTEM ID\n", "   GPS")
     << Format("%-60s# / TYPES OF DATA\n", "     1    AS")
     << Format("%-60sANALYSIS CENTER\n", "SIM  TERVAN-SIM")
     << Format("%-60s# OF SOLN SATS\n", Format("%6zu", sats.Size()).c_str());
  for (size_t l = 0; l < (sats.Size() + 14) / 15; ++l) {
    std::string line;
    for (size_t k = 15 * l; k < std::min(sats.Size(), 15 * (l + 1)); ++k)
      line += sats.Sat(k).Id() + " ";
    os << Format("%-60sPRN LIST\n", line.c_str());
  }
  os << Format("%-60sEND OF HEADER\n", "");
  const long n = static_cast<long>(std::lround((sim.ProductEnd() - t0) / 30.0L)) + 1;
  for (long k = 0; k < n; ++k) {
    const long double t = t0 + k * 30.0L;
    const std::string epoch = EpochText(t, "%4d %02d %02d %02d %02d %9.6f");
    for (size_t i = 0; i < sats.Size(); ++i)
      os << "AS " << sats.Sat(i).Id() << "  " << epoch << "  1   "
         << FormatExp(sats.Clock(i, t), 19, 12, 'E') << "\n";
  }
  return static_cast<bool>(os);
}

}  // namespace sim
