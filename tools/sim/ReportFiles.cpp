#include "sim/ReportFiles.h"

#include <cmath>
#include <fstream>

#include "sim/SimConstants.h"
#include "sim/Simulator.h"
#include "sim/TextFormat.h"

namespace sim {

namespace {

std::string Epoch(long double t) {
  const Calendar c = ToCalendar(t);
  return Format("%04d-%02d-%02d %02d:%02d:%010.7f", c.year, c.month, c.day, c.hour, c.minute,
                static_cast<double>(c.second));
}

const char* StationText(Station s) {
  return s == kBase ? "BASE " : "ROVER";
}

void Stations(std::ostream& os, const Simulator& sim) {
  os << "STATIONS (WGS84, metres; latitude/longitude in degrees)\n";
  for (Station s : {kBase, kRover}) {
    const Vec3& p = sim.Position(s);
    const Geodetic& g = sim.Geo(s);
    os << Format(
        "  %s %-8s X %15.4Lf  Y %15.4Lf  Z %15.4Lf   lat %14.9Lf  lon %14.9Lf  h %10.4Lf\n",
        StationText(s), (s == kBase ? sim.Sc().baseName : sim.Sc().roverName).c_str(), p.x, p.y,
        p.z, g.lat / kDeg, g.lon / kDeg, g.h);
  }
  const Vec3 d = sim.Position(kRover) - sim.Position(kBase);
  Vec3 n, e, u;
  LocalAxes(sim.Geo(kBase), n, e, u);
  os << Format("BASELINE ROVER - BASE\n  dX %12.4Lf  dY %12.4Lf  dZ %12.4Lf  length %12.4Lf\n", d.x,
               d.y, d.z, Norm(d))
     << Format("  dN %12.4Lf  dE %12.4Lf  dU %12.4Lf  (local axes at the BASE)\n\n", Dot(d, n),
               Dot(d, e), Dot(d, u));
}

void Troposphere(std::ostream& os, const Simulator& sim) {
  os << "TROPOSPHERE (zenith delays and gradients, metres; every 5 minutes)\n"
     << Format("  hydrostatic zenith delay: BASE %.4Lf  ROVER %.4Lf\n",
               sim.Tropo(kBase).Hydrostatic(), sim.Tropo(kRover).Hydrostatic())
     << "  epoch (GPS)                   BASE wet   north     east      ROVER wet  north     "
        "east\n";
  for (long double t = sim.Sc().StartSeconds(); t <= sim.Sc().EndSeconds() + 1e-6L; t += 300) {
    os << "  " << Epoch(t);
    for (Station s : {kBase, kRover}) {
      long double gn, ge;
      sim.Tropo(s).Gradients(t, gn, ge);
      os << Format("   %8.4Lf %8.5Lf %8.5Lf", sim.Tropo(s).Wet(t), gn, ge);
    }
    os << "\n";
  }
  os << "\n";
}

void Satellites(std::ostream& os, const Simulator& sim) {
  const Constellation& sats = sim.Sats();
  os << "SATELLITES (clock at the first observation epoch, s; drift s/s; code biases, m)\n"
     << "  sat  number channel        clock           drift      C1      P1      P2      C7\n";
  const long double t = sim.Sc().StartSeconds();
  for (size_t i = 0; i < sats.Size(); ++i) {
    const SimSat& s = sats.Sat(i);
    os << Format("  %s  %4d  %4d  %17.12Le %12.4Le %7.3Lf %7.3Lf %7.3Lf %7.3Lf\n", s.Id().c_str(),
                 s.number, s.channel, s.clock.Value(t), s.clock.Drift(t), s.biasC1, s.biasP1,
                 s.biasP2, s.biasC7);
  }
  os << "\n";
}

void Events(std::ostream& os, const Simulator& sim) {
  os << "EFFECTS INSERTED (epochs GPS time)\n";
  if (sim.Events().empty()) os << "  none\n";
  for (const AppliedEvent& e : sim.Events()) {
    os << Format("  %-10s %s %-3s %s", e.kind.c_str(), StationText(e.station), e.sat.c_str(),
                 Epoch(e.from).c_str());
    if (e.to != e.from) os << " to " << Epoch(e.to);
    if (!e.detail.empty()) os << "  " << e.detail;
    os << "\n";
  }
  os << "\n";
}

void Clocks(std::ostream& os, const Simulator& sim) {
  os << "RECEIVER CLOCKS (offset of the receiver clock, s; the ROVER tag offset is "
     << Format("%.6Lf s)\n", sim.Sc().roverTagOffset)
     << "  The epoch lines of the observation and single-difference files carry them.\n"
     << "  At a millisecond jump the codes jump with the clock; the phases stay continuous.\n"
     << "  epoch (GPS)                       BASE              ROVER\n";
  const auto &b = sim.Epochs(kBase), &r = sim.Epochs(kRover);
  for (size_t k = 0; k < b.size() && k < r.size(); ++k)
    os << "  " << Epoch(b[k].tag) << Format("  %17.12Lf  %17.12Lf\n", b[k].clock, r[k].clock);
}

}  // namespace

bool WriteTruth(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Scenario& sc = sim.Sc();
  os << "TRUTH OF THE SIMULATED DATASET\n"
     << "  command: " << sc.commandLine << "\n"
     << "  first epoch " << Epoch(sc.StartSeconds()) << "  last epoch " << Epoch(sc.EndSeconds())
     << Format("  interval %.0Lf s  systems %s  seed %lu\n", sc.interval, sc.systems.c_str(),
               sc.seed)
     << Format("  noise at the zenith: code %.3Lf m, phase %.4Lf m (divided by sqrt(sin e))\n",
               sc.codeSigma, sc.phaseSigma)
     << Format("  elevation mask %.1Lf deg; vertical TEC at 14 h local time %.1Lf TECU%s%s\n\n",
               sc.mask, sc.peakTec, sc.ionosphere ? "" : " (ionosphere off)",
               sc.troposphere ? "" : " (troposphere off)");
  Stations(os, sim);
  Troposphere(os, sim);
  Events(os, sim);
  Satellites(os, sim);
  Clocks(os, sim);
  return static_cast<bool>(os);
}

bool WriteProblemList(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  os << "PROBLEM SATELLITES OF THE SIMULATED DATASET\n"
     << "  SAT = satellite number (GPS PRN, GLONASS 100+slot, Galileo 200+PRN)\n"
     << "  TYPE = 1 phase, 2 code, 3 phase and code unusable; ACTION = 0\n"
     << "  START and END of the window, GPS time\n"
     << " SAT        TYPE  ACTION        START                END\n"
     << "-------------------------------------------------------------------------\n";
  for (const WindowSpec& w : sim.Sc().problems) {
    const int sat = sim.Sats().Find(w.sat);
    if (sat < 0) continue;
    const Calendar a = ToCalendar(sim.Sc().StartSeconds() + w.from);
    const Calendar b = ToCalendar(sim.Sc().StartSeconds() + w.to);
    std::string line(80, ' ');
    auto put = [&line](size_t col, const std::string& text) {
      line.replace(col, text.size(), text);
    };
    put(1, Format("%3d", sim.Sats().Sat(sat).number));
    put(13, Format("%2d", 3));
    put(21, Format("%2d", 0));
    put(32, Format("%4d", a.year));
    put(37, Format("%02d", a.month));
    put(40, Format("%02d", a.day));
    put(43, Format("%02d", a.hour));
    put(46, Format("%02d", a.minute));
    put(49, Format("%04.1f", static_cast<double>(a.second)));
    put(53, Format("%4d", b.year));
    put(58, Format("%02d", b.month));
    put(61, Format("%02d", b.day));
    put(64, Format("%02d", b.hour));
    put(67, Format("%02d", b.minute));
    put(70, Format("%04.1f", static_cast<double>(b.second)));
    line.resize(74);
    os << line << "\n";
  }
  return static_cast<bool>(os);
}

bool WriteReadme(const Simulator& sim, const std::vector<std::string>& files,
                 const std::string& precise, const std::string& broadcast,
                 const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Scenario& sc = sim.Sc();
  os << "# Simulated dataset\n\n"
     << "Written by tervan-sim with\n\n    " << sc.commandLine << "\n\n"
     << "Two stations, " << sc.baseName << " (BASE) and " << sc.roverName << " (ROVER), "
     << Format("%.3Lf km apart, ", sc.baselineKm) << "observe the satellites of the systems "
     << sc.systems << Format(" every %.0Lf s for %.2Lf h from ", sc.interval, sc.duration / 3600)
     << Epoch(sc.StartSeconds()) << " GPS time.\n"
     << "The observations hold the geometric range (light time, Earth rotation), the\n"
        "satellite and receiver clocks with the periodic relativistic clock term and the\n"
        "relativistic path delay, troposphere, first-order ionosphere, satellite code\n"
        "biases, phase ambiguities and white noise. Not simulated: antenna phase-centre\n"
        "offsets and variations, phase wind-up, tides and loading, higher-order ionosphere.\n"
        "Orbits and clocks in the products are those the observations were made with.\n\n"
     << "Files:\n\n";
  for (const std::string& f : files) os << "    " << f << "\n";
  os << "\nThe truth (positions, baseline, troposphere, clocks, inserted effects) is in\n"
        "truth.txt. Process the dataset with\n\n    "
     << precise
     << "\n\nor, with the broadcast orbits and clocks in place of the precise products,\n\n    "
     << broadcast << "\n";
  return static_cast<bool>(os);
}

}  // namespace sim
