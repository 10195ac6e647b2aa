#include "sim/Scenario.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>
#include <sstream>

#include "sim/Constants.h"

namespace sim {

Scenario::Scenario() {
  start.year = 2026;
  start.month = 6;
  start.day = 15;
  base.lat = 46.0448L * kDeg;
  base.lon = 14.5435L * kDeg;
  base.h = 350.0L;
}

namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::stringstream ss(s);
  std::string item;
  while (std::getline(ss, item, sep)) out.push_back(item);
  return out;
}

bool Number(const std::string& s, long double& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtold(s.c_str(), &end);
  return *end == '\0' && std::isfinite(v);
}

bool Integer(const std::string& s, long& v) {
  long double d;
  if (!Number(s, d) || d != std::floor(d) || std::fabs(d) > 1e9L) return false;
  v = static_cast<long>(d);
  return true;
}

bool SatId(const std::string& s) {
  return s.size() == 3 && (s[0] == 'G' || s[0] == 'R' || s[0] == 'E') && std::isdigit(s[1]) &&
         std::isdigit(s[2]);
}

// An argument as a shell must be given it to pass it on unchanged: plain words stay as
// they are, others go in single quotes (a quote inside becomes '\'').
std::string ShellWord(const std::string& a) {
  const bool plain = !a.empty() && a.find_first_not_of(
                                       "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                       "abcdefghijklmnopqrstuvwxyz"
                                       "0123456789_-+=.,:/@%") == std::string::npos;
  if (plain) return a;
  std::string q = "'";
  for (char c : a) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

bool StationName(const std::string& s, Station& st) {
  if (s == "base")
    st = kBase;
  else if (s == "rover")
    st = kRover;
  else
    return false;
  return true;
}

// SAT,SECONDS,N1,N2[,base|rover]
bool ParseSlip(const std::string& v, Scenario& sc) {
  const auto f = Split(v, ',');
  SlipSpec s;
  if (f.size() < 4 || f.size() > 5 || !SatId(f[0]) || !Number(f[1], s.at) || !Integer(f[2], s.n1) ||
      !Integer(f[3], s.n2))
    return false;
  if (f.size() == 5 && !StationName(f[4], s.station)) return false;
  s.sat = f[0];
  sc.slips.push_back(s);
  return true;
}

// SAT,FROM,TO[,base|rover]
bool ParseWindow(const std::string& v, std::vector<WindowSpec>& list) {
  const auto f = Split(v, ',');
  WindowSpec w;
  if (f.size() < 3 || f.size() > 4 || !SatId(f[0]) || !Number(f[1], w.from) ||
      !Number(f[2], w.to) || w.to < w.from)
    return false;
  if (f.size() == 4 && !StationName(f[3], w.station)) return false;
  w.sat = f[0];
  list.push_back(w);
  return true;
}

// SAT,SECONDS,TYPE,METRES[,base|rover]
bool ParseOutlier(const std::string& v, Scenario& sc) {
  const auto f = Split(v, ',');
  OutlierSpec o;
  if (f.size() < 4 || f.size() > 5 || !SatId(f[0]) || !Number(f[1], o.at) || !Number(f[3], o.value))
    return false;
  if (f[2] != "C1" && f[2] != "P1" && f[2] != "P2" && f[2] != "C7") return false;
  if (f.size() == 5 && !StationName(f[4], o.station)) return false;
  o.sat = f[0];
  o.type = f[2];
  sc.outliers.push_back(o);
  return true;
}

// AMPLITUDE,PERIOD (m, s)
bool ParseMotion(const std::string& v, Scenario& sc) {
  const auto f = Split(v, ',');
  long double a, p;
  if (f.size() != 2 || !Number(f[0], a) || !Number(f[1], p) || a < 0 || a > 1 || p < 10 ||
      p > 86400)
    return false;
  sc.motionAmplitude = a;
  sc.motionPeriod = p;
  return true;
}

bool ParsePosition(const std::string& v, Geodetic& g) {
  const auto f = Split(v, ',');
  long double lat, lon, h;
  if (f.size() != 3 || !Number(f[0], lat) || !Number(f[1], lon) || !Number(f[2], h)) return false;
  if (std::fabs(lat) > 89.0L || std::fabs(lon) > 360.0L || std::fabs(h) > 10000.0L) return false;
  g.lat = lat * kDeg;
  g.lon = lon * kDeg;
  g.h = h;
  return true;
}

bool ParseDuration(const std::string& v, long double& seconds) {
  if (v.empty()) return false;
  long double factor = 1;
  std::string n = v;
  const char unit = v.back();
  if (unit == 'h' || unit == 'm' || unit == 's' || unit == 'd') {
    factor = unit == 'h' ? 3600 : unit == 'm' ? 60 : unit == 'd' ? 86400 : 1;
    n.pop_back();
  }
  if (!Number(n, seconds)) return false;
  seconds *= factor;
  return seconds > 0 && seconds <= 7 * 86400;
}

bool ParseSystems(const std::string& v, std::string& systems) {
  if (v.empty()) return false;
  for (char c : v)
    if (c != 'G' && c != 'R' && c != 'E') return false;
  systems = v;
  return true;
}

bool Ranged(const std::string& v, long double lo, long double hi, long double& out) {
  long double x;
  if (!Number(v, x) || x < lo || x > hi) return false;
  out = x;
  return true;
}

bool Count(const std::string& v, int& out) {
  long n;
  if (!Integer(v, n) || n < 0 || n > 1000) return false;
  out = static_cast<int>(n);
  return true;
}

bool MarkerName(const std::string& v, std::string& out) {
  if (v.empty() || v.size() > 20) return false;
  for (char c : v)
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  out = v;
  return true;
}

using Handler = std::function<bool(const std::string&, Scenario&)>;

const std::map<std::string, Handler>& ValueOptions() {
  static const std::map<std::string, Handler> options = {
      {"out",
       [](const std::string& v, Scenario& s) {
         s.outDir = v;
         return !v.empty();
       }},
      {"seed",
       [](const std::string& v, Scenario& s) {
         long n;
         if (!Integer(v, n) || n < 0) return false;
         s.seed = static_cast<unsigned long>(n);
         return true;
       }},
      {"start", [](const std::string& v, Scenario& s) { return ParseCalendar(v, s.start); }},
      {"duration", [](const std::string& v, Scenario& s) { return ParseDuration(v, s.duration); }},
      {"interval",
       [](const std::string& v, Scenario& s) {
         return Ranged(v, 1, 300, s.interval) && s.interval == std::floor(s.interval);
       }},
      {"sp3-interval",
       [](const std::string& v, Scenario& s) {
         long double m;
         if (!Number(v, m) || (m != 5 && m != 15)) return false;
         s.sp3Interval = m * 60;
         return true;
       }},
      {"systems", [](const std::string& v, Scenario& s) { return ParseSystems(v, s.systems); }},
      {"base", [](const std::string& v, Scenario& s) { return ParsePosition(v, s.base); }},
      {"baseline",
       [](const std::string& v, Scenario& s) { return Ranged(v, 0.001L, 2000, s.baselineKm); }},
      {"azimuth",
       [](const std::string& v, Scenario& s) { return Ranged(v, 0, 360, s.azimuthDeg); }},
      {"height-difference",
       [](const std::string& v, Scenario& s) { return Ranged(v, -3000, 3000, s.heightDiff); }},
      {"mask", [](const std::string& v, Scenario& s) { return Ranged(v, 0, 60, s.mask); }},
      {"code-noise",
       [](const std::string& v, Scenario& s) { return Ranged(v, 0, 100, s.codeSigma); }},
      {"phase-noise",
       [](const std::string& v, Scenario& s) { return Ranged(v, 0, 0.1L, s.phaseSigma); }},
      {"tec", [](const std::string& v, Scenario& s) { return Ranged(v, 0, 300, s.peakTec); }},
      {"tropo-nodes",
       [](const std::string& v, Scenario& s) {
         return Ranged(v, 60, 86400, s.tropoNodes) && s.tropoNodes == std::floor(s.tropoNodes);
       }},
      {"rover-tag-offset",
       [](const std::string& v, Scenario& s) {
         long double ms;
         if (!Ranged(v, -500, 500, ms)) return false;
         s.roverTagOffset = ms / 1000.0L;
         return true;
       }},
      {"base-name", [](const std::string& v, Scenario& s) { return MarkerName(v, s.baseName); }},
      {"rover-name", [](const std::string& v, Scenario& s) { return MarkerName(v, s.roverName); }},
      {"slip", [](const std::string& v, Scenario& s) { return ParseSlip(v, s); }},
      {"gap", [](const std::string& v, Scenario& s) { return ParseWindow(v, s.gaps); }},
      {"problem-sat", [](const std::string& v, Scenario& s) { return ParseWindow(v, s.problems); }},
      {"outlier", [](const std::string& v, Scenario& s) { return ParseOutlier(v, s); }},
      {"random-slips", [](const std::string& v, Scenario& s) { return Count(v, s.randomSlips); }},
      {"random-gaps", [](const std::string& v, Scenario& s) { return Count(v, s.randomGaps); }},
      {"eclipse-angle",
       [](const std::string& v, Scenario& s) { return Ranged(v, 0.1L, 90, s.eclipseAngle); }},
      {"noise-model",
       [](const std::string& v, Scenario& s) {
         s.sineNoise = v == "sin";
         return v == "sin" || v == "sqrt";
       }},
      {"rover-motion", [](const std::string& v, Scenario& s) { return ParseMotion(v, s); }},
      {"random-outliers",
       [](const std::string& v, Scenario& s) { return Count(v, s.randomOutliers); }},
  };
  return options;
}

bool Switch(const std::string& name, Scenario& s) {
  if (name == "rinex2")
    s.rinex2 = true;
  else if (name == "ms-jumps")
    s.msJumps = true;
  else if (name == "no-troposphere")
    s.troposphere = false;
  else if (name == "no-ionosphere")
    s.ionosphere = false;
  else if (name == "noise-free")
    s.codeSigma = s.phaseSigma = 0;
  else if (name == "solid-tide")
    s.solidTide = true;
  else if (name == "pole-tide")
    s.poleTide = true;
  else if (name == "ocean-loading")
    s.oceanLoading = true;
  else if (name == "tides")
    s.solidTide = s.poleTide = s.oceanLoading = true;
  else if (name == "antennas")
    s.antennas = true;
  else if (name == "wind-up")
    s.windUp = true;
  else if (name == "eclipses")
    s.eclipseAngle = 14;
  else if (name == "mixed-tracking")
    s.mixedTracking = true;
  else if (name == "receiver-biases")
    s.receiverBiases = true;
  else
    return false;
  return true;
}

}  // namespace

ParseResult ParseScenario(const std::vector<std::string>& args, Scenario& sc,
                          std::string& message) {
  sc.commandLine = "tervan-sim";
  for (const std::string& a : args) sc.commandLine += " " + ShellWord(a);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") return ParseResult::kHelp;
    if (a == "--version") return ParseResult::kVersion;
    if (a.compare(0, 2, "--") != 0) {
      message = "unexpected argument '" + a + "' (options begin with --; see --help)";
      return ParseResult::kError;
    }
    std::string name = a.substr(2), value;
    const std::string::size_type eq = name.find('=');
    const bool inlineValue = eq != std::string::npos;
    if (inlineValue) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
    }
    const auto& opts = ValueOptions();
    const auto it = opts.find(name);
    if (it == opts.end()) {
      if (!inlineValue && Switch(name, sc)) continue;
      message = "unknown option '--" + name + "' (see --help)";
      return ParseResult::kError;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        message = "option '--" + name + "' needs a value";
        return ParseResult::kError;
      }
      value = args[++i];
    }
    if (!it->second(value, sc)) {
      message = "invalid value '" + value + "' of option '--" + name + "' (see --help)";
      return ParseResult::kError;
    }
  }
  // The stations' files are named after their markers.
  if (sc.baseName == sc.roverName) {
    message = "--base-name and --rover-name must differ (the files are named after them)";
    return ParseResult::kError;
  }
  if (sc.windUp && sc.eclipseAngle == 0) sc.eclipseAngle = 14;  // the attitude is uncertain there
  // Every epoch of both stations is held in memory until the files are written.
  if (sc.duration / sc.interval > kMaxEpochs) {
    message =
        "too many epochs: --duration / --interval may be at most " + std::to_string(kMaxEpochs);
    return ParseResult::kError;
  }
  return ParseResult::kRun;
}

std::string HelpText() {
  return R"(tervan-sim: writes a simulated GNSS dataset with a known truth for Tervan.

Usage: tervan-sim [options]

From a scenario it writes, in one folder: a precise orbit file (SP3-c) and a
RINEX clock file (30 s); broadcast navigation files (RINEX 2 GPS and GLONASS,
RINEX 3 Galileo); a GLONASS frequency channel file; RINEX 3.04 observation files
of a BASE and a ROVER station (also 2.11 with --rinex2); the single-difference
file ROVER minus BASE; a problem-satellite list when asked for; a truth file and
a README of the scenario. The same options and seed give the same files byte
for byte.

Scenario (defaults in brackets):
  --out DIR                  output folder [sim-out]
  --seed N                   random seed [1]
  --start "YYYY-MM-DD HH:MM:SS"   first epoch, GPS time [2026-06-15 00:00:00]
  --duration T               length, seconds or with unit s/m/h/d, e.g. 2h [2h]
  --interval S               observation interval, s [30]; at most 86,400 epochs in all
  --sp3-interval M           SP3 spacing in minutes, 5 or 15 [5]
  --systems LIST             any of G, R, E, e.g. GE [GRE]
  --base LAT,LON,H           BASE position, degrees and metres [46.0448,14.5435,350]
  --baseline KM              BASE-ROVER distance [10]
  --azimuth DEG              azimuth of the ROVER from the BASE [60]
  --height-difference M      ROVER height minus BASE height [40]
  --base-name NAME, --rover-name NAME   marker names [SIMB, SIMR]
  --mask DEG                 elevation mask [7]

Errors and effects:
  --code-noise M             code noise at the zenith, m [0.3]
  --phase-noise M            phase noise at the zenith, m [0.002]
  --noise-free               no noise at all
  --tec TECU                 vertical TEC at 14 h local time [25]
  --no-ionosphere, --no-troposphere   leave the delay out
  --tropo-nodes SECONDS      troposphere as Tervan estimates it: wet zenith delay and
                             gradients linear between nodes every SECONDS (60-86400,
                             whole) from 00:00 GPS time of the start day, Saastamoinen
                             hydrostatic delay, Niell mapping (tervan -tmSAAST,NIELL
                             -tiHH:MM:SS -tgi0); default: a wet delay wandering every
                             300 s, mid-latitude continued-fraction mapping
  --slip SAT,SEC,N1,N2[,base|rover]   cycle slip of N1/N2 cycles on L1/L2 (L7 for
                             Galileo) from SEC seconds after the start on [rover]
  --random-slips N           N slips at random ROVER observations
  --gap SAT,FROM,TO[,base|rover]      no data of SAT between the times (s) [rover]
  --random-gaps N            N gaps of 2 to 10 minutes
  --outlier SAT,SEC,TYPE,M[,base|rover]   add M metres to code TYPE (C1, P1, P2, C7)
  --random-outliers N        N code outliers of 10 to 40 m on the ROVER
  --ms-jumps                 receiver clocks drift and jump by 1 ms at 0.5 ms; the
                             codes jump with them, the phases stay continuous
  --rover-tag-offset MS      ROVER epochs tagged MS milliseconds off the nominal time
  --problem-sat SAT,FROM,TO[,base|rover]  observations of SAT unusable in the window;
                             listed in problem_satellites.txt
  --rinex2                   also write RINEX 2.11 observation files
  --noise-model sqrt|sin     noise sigma/sqrt(sin e) [sqrt], or sigma/sin(e) at each
                             station: the single-difference variance is then
                             sigma^2 (1/sin^2 e_BASE + 1/sin^2 e_ROVER) = 2 sigma^2/WGHT
  --mixed-tracking           the ROVER records GPS C2X/L2X and Galileo C1X/C7X/L1X/L7X
                             where the BASE records C2W/L2W and C1C/C7Q/L1C/L7Q
  --receiver-biases          the ROVER's receiver (another make than the BASE's) adds
                             an offset of GLONASS and of Galileo time against GPS time
                             to all its observations (within 3 m) and a bias per
                             satellite and code signal (within 1 m; GLONASS
                             inter-frequency biases, tracking differences); in truth.txt

Station and satellite effects (each written into the scenario's files):
  --solid-tide               solid earth tide displacement of both stations
  --pole-tide                pole tide from the pole of earth_rotation.erp (written)
  --ocean-loading            ocean tide loading from ocean_loading.blq (written)
  --tides                    all three
  --antennas                 receiver antenna offsets and variations (types SIMANT-BASE
                             and SIMANT-ROVER, the ROVER's with azimuth dependence) and
                             satellite antenna offsets and variations, in antenna.atx
                             (written); orbit.sp3 then holds centres of mass, the
                             navigation files antenna phase centres
  --wind-up                  phase wind-up at both stations (nominal yaw attitude; the
                             IIR axes for the satellites antenna.atx marks as BLOCK IIR)
  --eclipses                 list in truth.txt the epochs at which a satellite is within
                             14 degrees of the Sun-Earth line (also with --wind-up)
  --eclipse-angle DEG        the same with another angle
  --rover-motion A,P         the ROVER oscillates around its point with amplitude A m and
                             period P s (north A sin, east A cos, up A/2 sin at twice the
                             rate); its position at every epoch is in truth.txt
  --help                     this text
  --version                  the version and the commit it was built from

Satellites are named G01-G30, R01-R24, E01-E36 (as in the constellation).
)";
}

}  // namespace sim
