#include "sim/ReportFiles.h"

#include <cmath>
#include <fstream>

#include "sim/Constants.h"
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

void TroposphereTable(std::ostream& os, const Simulator& sim) {
  os << "TROPOSPHERE (zenith delays and gradients, metres; every 5 minutes)\n"
     << Format("  hydrostatic zenith delay: BASE %.4Lf  ROVER %.4Lf\n",
               sim.Tropo(kBase).Hydrostatic(), sim.Tropo(kRover).Hydrostatic());
  if (sim.Sc().tropoNodes > 0 && sim.Sc().troposphere)
    os << Format(
        "  Saastamoinen hydrostatic delay, Niell mapping; wet delay and gradients linear "
        "between nodes every %.0Lf s from 00:00\n",
        sim.Sc().tropoNodes);
  os << "  epoch (GPS)                   BASE wet   north     east      ROVER wet  north     "
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

void ReceiverBiases(std::ostream& os, const Simulator& sim) {
  if (!sim.Sc().receiverBiases) return;
  os << "ROVER RECEIVER BIASES (m; on every ROVER observation, none at the BASE)\n"
     << Format(
            "  system offset against GPS time (codes and phases): GLONASS %.6Lf  Galileo %.6Lf\n",
            sim.RoverSystemOffset('R'), sim.RoverSystemOffset('E'))
     << "  sat  code bias C1        P1        P2        C7\n";
  const Constellation& sats = sim.Sats();
  for (size_t i = 0; i < sats.Size(); ++i) {
    const int k = static_cast<int>(i);
    const bool gal = sats.Sat(i).system == 'E';
    os << Format("  %s  %12.6Lf %9.6Lf %9.6Lf %9.6Lf\n", sats.Sat(i).Id().c_str(),
                 sim.RoverCodeBias(k, kC1), gal ? 0.0L : sim.RoverCodeBias(k, kP1),
                 gal ? 0.0L : sim.RoverCodeBias(k, kP2), gal ? sim.RoverCodeBias(k, kC7) : 0.0L);
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

void Displacements(std::ostream& os, const Simulator& sim) {
  const Scenario& sc = sim.Sc();
  if (!sc.solidTide && !sc.poleTide && !sc.oceanLoading) return;
  os << "STATION DISPLACEMENTS (metres from the reference point, local north/east/up; every "
        "5 minutes)\n"
     << "  The antenna moves by their sum; angles and antenna corrections refer to the point.\n"
     << "  epoch (GPS)                  station    solid N   solid E   solid U     pole N    "
        "pole E    pole U    ocean N   ocean E   ocean U\n";
  for (long double t = sc.StartSeconds(); t <= sc.EndSeconds() + 1e-6L; t += 300) {
    for (Station st : {kBase, kRover}) {
      os << "  " << Epoch(t) << "  " << StationText(st) << "  ";
      for (int e = 0; e < StationEffects::kNumEffects; ++e) {
        const Neu d = sim.Effects().Part(st, static_cast<StationEffects::Effect>(e), t);
        os << Format("  %9.5Lf %9.5Lf %9.5Lf", d.n, d.e, d.u);
      }
      os << "\n";
    }
  }
  os << "\n";
}

void Motion(std::ostream& os, const Simulator& sim) {
  if (sim.Sc().motionAmplitude <= 0) return;
  os << Format("ROVER MOTION (amplitude %.4Lf m, period %.1Lf s; metres from the ROVER's point,\n",
               sim.Sc().motionAmplitude, sim.Sc().motionPeriod)
     << "  local north/east/up, and the moving antenna reference point without tides; every "
        "epoch,\n  at the ROVER's epoch tags)\n"
     << "  epoch (GPS)                    north      east        up              X              "
        "Y              Z\n";
  Vec3 n, e, u;
  LocalAxes(sim.Geo(kRover), n, e, u);
  for (const StationEpoch& ep : sim.Epochs(kRover)) {
    const Neu d = sim.Effects().Motion(ep.tag - ep.clock);
    const Vec3 p = sim.Position(kRover) + d.n * n + d.e * e + d.u * u;
    os << "  " << Epoch(ep.tag)
       << Format("  %9.5Lf %9.5Lf %9.5Lf  %14.5Lf %14.5Lf %14.5Lf\n", d.n, d.e, d.u, p.x, p.y, p.z);
  }
  os << "\n";
}

void Eclipses(std::ostream& os, const Simulator& sim) {
  if (sim.Sc().eclipseAngle <= 0) return;
  os << Format(
      "ECLIPSING SATELLITES (seen at both stations within %.1Lf deg of the Sun-Earth "
      "line at the satellite)\n",
      sim.Sc().eclipseAngle);
  if (sim.Eclipses().empty()) os << "  none\n";
  for (const AppliedEvent& e : sim.Eclipses())
    os << "  " << e.sat << "  " << Epoch(e.from) << " to " << Epoch(e.to) << "  " << e.detail
       << "\n";
  os << "\n";
}

void AntennaSummary(std::ostream& os, const Simulator& sim) {
  const Scenario& sc = sim.Sc();
  if (!sc.antennas && !sc.windUp) return;
  os << "ANTENNAS AND WIND-UP\n";
  if (sc.antennas) {
    os << "  calibrations in antenna.atx (offsets in mm, L1 then L2/E5b, north/east/up)\n";
    for (Station st : {kBase, kRover}) {
      const SimAntenna& a = sim.Antenna().Receiver(st);
      os << "  " << StationText(st) << " " << a.type;
      for (const PcvPattern& p : a.band)
        os << Format("   %7.2Lf %7.2Lf %7.2Lf", p.offset.x * 1e3L, p.offset.y * 1e3L,
                     p.offset.z * 1e3L);
      os << "\n";
    }
    os << "  satellite antennas: offsets (body x/y/z) and nadir variations; orbit.sp3 holds the\n"
          "  centres of mass, the navigation files and the observations the phase centres\n";
    std::string iir;
    for (size_t i = 0; i < sim.Sats().Size(); ++i)
      if (sim.Antenna().Satellite(i).iir) iir += " " + sim.Sats().Sat(i).Id();
    os << "  BLOCK IIR family:" << (iir.empty() ? std::string(" none") : iir) << "\n";
  }
  if (sc.windUp)
    os << "  phase wind-up: each one-way phase holds +w cycles on both carriers (nominal yaw,\n"
          "  receiver dipoles north and west), continuous along each satellite's passes\n";
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
     << Format("  noise at the zenith: code %.3Lf m, phase %.4Lf m (divided by %s)\n", sc.codeSigma,
               sc.phaseSigma, sc.sineNoise ? "sin e at each station" : "sqrt(sin e)")
     << Format("  elevation mask %.1Lf deg; vertical TEC at 14 h local time %.1Lf TECU%s%s\n\n",
               sc.mask, sc.peakTec, sc.ionosphere ? "" : " (ionosphere off)",
               sc.troposphere ? "" : " (troposphere off)");
  Stations(os, sim);
  Displacements(os, sim);
  Motion(os, sim);
  AntennaSummary(os, sim);
  TroposphereTable(os, sim);
  Events(os, sim);
  Eclipses(os, sim);
  Satellites(os, sim);
  ReceiverBiases(os, sim);
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

namespace {

// The README's sentences on the effects beyond the basic ones.
std::string Simulated(const Scenario& sc) {
  const bool tides = sc.solidTide || sc.poleTide || sc.oceanLoading;
  if (!tides && !sc.antennas && !sc.windUp && sc.motionAmplitude <= 0)
    return "Not simulated: antenna phase-centre\n"
           "offsets and variations, phase wind-up, tides and loading, higher-order ionosphere.\n";
  std::vector<std::string> on, off;
  (sc.solidTide ? on : off).push_back("solid earth tide");
  (sc.poleTide ? on : off).push_back("pole tide");
  (sc.oceanLoading ? on : off).push_back("ocean loading");
  (sc.antennas ? on : off).push_back("antenna phase-centre offsets and variations");
  (sc.windUp ? on : off).push_back("phase wind-up");
  if (sc.motionAmplitude > 0) on.push_back("a moving ROVER");
  off.push_back("higher-order ionosphere");
  auto list = [](const std::vector<std::string>& v) {
    std::string s;
    for (size_t k = 0; k < v.size(); ++k) s += (k ? ", " : "") + v[k];
    return s;
  };
  std::string text = "Also simulated: " + list(on) + ".\nNot simulated: " + list(off) + ".\n";
  if (sc.antennas)
    text +=
        "The precise orbit holds the satellites' centres of mass, the navigation files\n"
        "their antenna phase centres.\n";
  return text;
}

}  // namespace

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
        "biases, phase ambiguities and white noise. "
     << Simulated(sc)
     << "Orbits and clocks in the products are those the observations were made with.\n\n"
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
