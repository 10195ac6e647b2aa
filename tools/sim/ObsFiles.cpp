#include "sim/ObsFiles.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "sdiff/PhsDiffData.h"
#include "sdiff/PhsDiffHeader.h"
#include "sim/Simulator.h"
#include "sim/TextFormat.h"

namespace sim {

namespace {

// RINEX 3 codes of the types of each system at a station (empty: not observed).
// With mixed tracking the ROVER's receiver tracks GPS L2 and Galileo in other
// modes than the BASE's; the values are the same (no inter-signal biases).
const char* Rinex3Code(const Scenario& sc, Station st, char system, int type) {
  static const char* const gps[kNumTypes] = {"C1C", "C1W", "C2W", "L1C", "L2W", "", ""};
  static const char* const glo[kNumTypes] = {"C1C", "C1P", "C2P", "L1C", "L2P", "", ""};
  static const char* const gal[kNumTypes] = {"C1C", "", "", "L1C", "", "C7Q", "L7Q"};
  static const char* const gpsX[kNumTypes] = {"C1C", "C1W", "C2X", "L1C", "L2X", "", ""};
  static const char* const galX[kNumTypes] = {"C1X", "", "", "L1X", "", "C7X", "L7X"};
  const bool mixed = sc.mixedTracking && st == kRover;
  return system == 'G'   ? (mixed ? gpsX : gps)[type]
         : system == 'R' ? glo[type]
                         : (mixed ? galX : gal)[type];
}

// Antenna type of a station (20 characters).
std::string AntennaType(const Simulator& sim, Station st) {
  return sim.Sc().antennas ? sim.Antenna().Receiver(st).type : "SIMULATED       NONE";
}

std::string Label(const std::string& text, const char* label) {
  std::string s = text;
  s.resize(60, ' ');
  return s + label + "\n";
}

std::string Name(const Simulator& sim, Station st) {
  return st == kBase ? sim.Sc().baseName : sim.Sc().roverName;
}

// Header records common to both versions.
std::string CommonHeader(const Simulator& sim, Station st) {
  const Vec3& p = sim.Position(st);
  const long double first = sim.Epochs(st).front().tag, last = sim.Epochs(st).back().tag;
  const Calendar c0 = ToCalendar(first), c1 = ToCalendar(last);
  const std::string name = Name(sim, st);
  std::string h;
  h += Label(Format("%-20s%-20s%04d%02d%02d %06d GPS", "tervan-sim", "Tervan", c0.year, c0.month,
                    c0.day, 0),
             "PGM / RUN BY / DATE");
  h += Label("SIMULATED OBSERVATIONS WRITTEN BY TERVAN-SIM", "COMMENT");
  h += Label(name, "MARKER NAME");
  h += Label(Format("%s%s", name.c_str(), st == kBase ? "0001" : "0002"), "MARKER NUMBER");
  h += Label(Format("%-20s%-40s", "SIMULATION", "TERVAN"), "OBSERVER / AGENCY");
  h += Label(
      Format("%-20s%-20s%-20s", st == kBase ? "SIM0001" : "SIM0002", "SIMULATED RECEIVER", "1.0"),
      "REC # / TYPE / VERS");
  h +=
      Label(Format("%-20s%-20s", st == kBase ? "ANT0001" : "ANT0002", AntennaType(sim, st).c_str()),
            "ANT # / TYPE");
  h += Label(Format("%14.4Lf%14.4Lf%14.4Lf", p.x, p.y, p.z), "APPROX POSITION XYZ");
  h += Label(Format("%14.4f%14.4f%14.4f", 0.0, 0.0, 0.0), "ANTENNA: DELTA H/E/N");
  return h + "\x01" + Label(Format("%10.3Lf", sim.Sc().interval), "INTERVAL") +
         Label(Format("%6d%6d%6d%6d%6d%13.7f     GPS", c0.year, c0.month, c0.day, c0.hour,
                      c0.minute, static_cast<double>(c0.second)),
               "TIME OF FIRST OBS") +
         Label(Format("%6d%6d%6d%6d%6d%13.7f     GPS", c1.year, c1.month, c1.day, c1.hour,
                      c1.minute, static_cast<double>(c1.second)),
               "TIME OF LAST OBS");
}

// One observation field: F14.3, loss-of-lock and signal-strength digits; blanks
// when the value is missing.
std::string Field(const RawObs& o, int type) {
  if (o.value[type] == 0) return std::string(16, ' ');
  return Format("%14.3Lf", o.value[type]) + (o.lli[type] ? char('0' + o.lli[type]) : ' ') +
         char('0' + o.ssi);
}

std::string TrimRight(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string Rinex3TypeRecords(const Simulator& sim, Station st) {
  const Scenario& sc = sim.Sc();
  std::string h;
  for (char sys : {'G', 'R', 'E'}) {
    if (sim.Sc().systems.find(sys) == std::string::npos) continue;
    std::string codes;
    int n = 0;
    for (int k = 0; k < kNumTypes; ++k)
      if (*Rinex3Code(sc, st, sys, k)) {
        codes += std::string(" ") + Rinex3Code(sc, st, sys, k);
        ++n;
      }
    h += Label(Format("%c  %3d%s", sys, n, codes.c_str()), "SYS / # / OBS TYPES");
  }
  for (char sys : {'G', 'R', 'E'}) {
    if (sim.Sc().systems.find(sys) == std::string::npos) continue;
    for (int k : {kL1, kL2, kL7})
      if (*Rinex3Code(sc, st, sys, k))
        h += Label(Format("%c %s  0.00000", sys, Rinex3Code(sc, st, sys, k)), "SYS / PHASE SHIFT");
  }
  return h;
}

std::string GlonassSlotRecords(const Simulator& sim) {
  const Constellation& sats = sim.Sats();
  std::vector<std::string> entries;
  for (size_t i = 0; i < sats.Size(); ++i)
    if (sats.Sat(i).system == 'R')
      entries.push_back(Format("%s %2d", sats.Sat(i).Id().c_str(), sats.Sat(i).channel));
  std::string h;
  for (size_t l = 0; l * 8 < entries.size() || l == 0; ++l) {
    std::string line = l == 0 ? Format("%3zu ", entries.size()) : std::string("    ");
    for (size_t k = 8 * l; k < std::min(entries.size(), 8 * (l + 1)); ++k) line += entries[k] + " ";
    h += Label(line, "GLONASS SLOT / FRQ #");
  }
  h += Label(" C1C    0.000 C1P    0.000 C2C    0.000 C2P    0.000", "GLONASS COD/PHS/BIS");
  return h;
}

void SplitCommon(const std::string& common, std::string& first, std::string& second) {
  const std::string::size_type cut = common.find('\x01');
  first = common.substr(0, cut);
  second = common.substr(cut + 1);
}

}  // namespace

bool WriteRinex3(const Simulator& sim, Station st, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  std::string first, second;
  SplitCommon(CommonHeader(sim, st), first, second);
  os << Label("     3.04           OBSERVATION DATA    M", "RINEX VERSION / TYPE") << first
     << Label("GEODETIC", "MARKER TYPE") << Rinex3TypeRecords(sim, st) << second;
  if (sim.Sc().systems.find('R') != std::string::npos) os << GlonassSlotRecords(sim);
  os << Label(Format("%6d", LeapSeconds(sim.Sc().StartSeconds())), "LEAP SECONDS")
     << Label("", "END OF HEADER");
  const Constellation& sats = sim.Sats();
  for (const StationEpoch& ep : sim.Epochs(st)) {
    const Calendar c = ToCalendar(ep.tag);
    os << Format("> %4d %02d %02d %02d %02d%11.7f  0%3zu      %15.12Lf\n", c.year, c.month, c.day,
                 c.hour, c.minute, static_cast<double>(c.second), ep.obs.size(), ep.clock);
    for (const RawObs& o : ep.obs) {
      const char sys = sats.Sat(o.sat).system;
      std::string line = sats.Sat(o.sat).Id();
      for (int k = 0; k < kNumTypes; ++k)
        if (*Rinex3Code(sim.Sc(), st, sys, k)) line += Field(o, k);
      os << TrimRight(line) << "\n";
    }
  }
  return static_cast<bool>(os);
}

bool WriteRinex2(const Simulator& sim, Station st, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  std::string first, second;
  SplitCommon(CommonHeader(sim, st), first, second);
  os << Label("     2.11           OBSERVATION DATA    M (MIXED)", "RINEX VERSION / TYPE") << first
     << Label(Format("%6d%6d", 1, 1), "WAVELENGTH FACT L1/2")
     << Label("     7    C1    P1    P2    L1    L2    C7    L7", "# / TYPES OF OBSERV") << second
     << Label(Format("%6d", LeapSeconds(sim.Sc().StartSeconds())), "LEAP SECONDS")
     << Label("", "END OF HEADER");
  const Constellation& sats = sim.Sats();
  for (const StationEpoch& ep : sim.Epochs(st)) {
    const Calendar c = ToCalendar(ep.tag);
    std::string line = Format(" %02d %2d %2d %2d %2d%11.7f  0%3zu", c.year % 100, c.month, c.day,
                              c.hour, c.minute, static_cast<double>(c.second), ep.obs.size());
    for (size_t k = 0; k < ep.obs.size(); ++k) {
      if (k > 0 && k % 12 == 0) {
        os << line << "\n";
        line = std::string(32, ' ');
      }
      line += sats.Sat(ep.obs[k].sat).Id();
      if (k == 11 || (k == ep.obs.size() - 1 && k < 12)) {
        line.resize(68, ' ');
        line += Format("%12.9Lf", ep.clock);
      }
    }
    os << line << "\n";
    for (const RawObs& o : ep.obs) {
      std::string l1, l2;
      for (int k = 0; k < 5; ++k) l1 += Field(o, k);
      for (int k = 5; k < kNumTypes; ++k) l2 += Field(o, k);
      os << TrimRight(l1) << "\n" << TrimRight(l2) << "\n";
    }
  }
  return static_cast<bool>(os);
}

namespace {

const RawObs* Partner(const StationEpoch& ep, int sat) {
  for (const RawObs& o : ep.obs)
    if (o.sat == sat) return &o;
  return nullptr;
}

void FillHeader(const Simulator& sim, PhsDiffHeader& h) {
  const Scenario& sc = sim.Sc();
  const std::string names[2] = {sc.baseName, sc.roverName};
  for (int i = 0; i < 2; ++i) {
    const Station st = i == 0 ? kBase : kRover;
    h.SetMarkerName(i, names[i].c_str());
    h.SetMarkerNumber(i, (names[i] + (i == 0 ? "0001" : "0002")).c_str());
    h.SetReceiverType(i, "SIMULATED RECEIVER");
    h.SetAntennaType(i, AntennaType(sim, st).c_str());
    h.SetAntennaSerial(i, i == 0 ? "ANT0001" : "ANT0002");
    const Vec3& p = sim.Position(st);
    h.SetX0(i, xyz(p.x, p.y, p.z));
    h.SetDp(i, neu(0, 0, 0));
  }
  static const short codes[kNumTypes] = {sdobs::C1, sdobs::P1, sdobs::P2, sdobs::L1,
                                         sdobs::L2, sdobs::C7, sdobs::L7};
  matrix<short> types(kNumTypes, 1);
  for (int k = 0; k < kNumTypes; ++k) types(k) = codes[k];
  h.SetObsTypes(types);
  h.SetDiffLevel(1);
  h.SetHasObservations(true);
}

matrix<gnssobs>* Column(PhsDiffData& d, int type) {
  matrix<gnssobs>* cols[kNumTypes] = {&d.C1, &d.P1, &d.P2, &d.L1, &d.L2, &d.C7, &d.L7};
  return cols[type];
}

}  // namespace

namespace {

// Epochs with at least one satellite seen at both stations, and their numbers of records.
void CommonEpochs(const Simulator& sim, std::vector<size_t>& epochs, std::vector<long>& records) {
  const std::vector<StationEpoch>&base = sim.Epochs(kBase), &rover = sim.Epochs(kRover);
  const size_t n = std::min(base.size(), rover.size());
  for (size_t k = 0; k < n; ++k) {
    long common = 0;
    for (const RawObs& ob : base[k].obs) common += Partner(rover[k], ob.sat) != nullptr;
    if (common == 0) continue;
    epochs.push_back(k);
    records.push_back(common);
  }
}

// The single differences of the common epochs [from, to) of the lists.
void FillDifferences(const Simulator& sim, const std::vector<size_t>& epochs,
                     const std::vector<long>& records, size_t from, size_t to, PhsDiffData& d) {
  const std::vector<StationEpoch>&base = sim.Epochs(kBase), &rover = sim.Epochs(kRover);
  long total = 0;
  for (size_t e = from; e < to; ++e) total += records[e];
  d.SetNRecords(static_cast<long>(to - from), total);
  d.SetData();
  long rec = 0;
  for (size_t e = from; e < to; ++e) {
    const size_t k = epochs[e], row = e - from;
    const long double tag = base[k].tag;
    d.epoch(row) = mjd(Mjd(tag), SecondsOfDay(tag));
    d.dtR_B(row) = sim.Sc().roverTagOffset;  // nominal: the tags carry rounding of 1e-10 s
    d.clkErB(row) = base[k].clock;
    d.clkErR(row) = rover[k].clock;
    short count = 0;
    for (const RawObs& ob : base[k].obs) {
      const RawObs* orv = Partner(rover[k], ob.sat);
      if (!orv) continue;
      d.sat(rec) = sim.Sats().Sat(ob.sat).number;
      for (int t = 0; t < kNumTypes; ++t)
        if (ob.value[t] != 0 && orv->value[t] != 0)
          (*Column(d, t))(rec) = gnssobs(orv->value[t] - ob.value[t]);
      ++rec;
      ++count;
    }
    d.nsat(row) = count;
  }
}

}  // namespace

void SingleDifferences(const Simulator& sim, PhsDiffData& d) {
  std::vector<size_t> epochs;
  std::vector<long> records;
  CommonEpochs(sim, epochs, records);
  FillDifferences(sim, epochs, records, 0, epochs.size(), d);
}

bool WriteSingleDifferences(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  PhsDiffHeader head;
  FillHeader(sim, head);
  os << head;
  // Blocks of epochs, so that a long run does not hold all its differences at once.
  std::vector<size_t> epochs;
  std::vector<long> records;
  CommonEpochs(sim, epochs, records);
  const size_t block = 3600;
  for (size_t from = 0; from < epochs.size(); from += block) {
    PhsDiffData data(head);
    FillDifferences(sim, epochs, records, from, std::min(epochs.size(), from + block), data);
    os << data;
  }
  return static_cast<bool>(os);
}

}  // namespace sim
