#include "e2e/ChainRun.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "sim/Dataset.h"

namespace e2e {

namespace {

const char* const kSd = "chain.sd";
const char* const kChannels = "chain_channels.txt";

// The number behind the first ':' of a line, or NaN.
long double NumberAfterColon(const std::string& line) {
  const std::string::size_type colon = line.find(':');
  if (colon == std::string::npos) return std::nanl("");
  char* end = nullptr;
  const char* text = line.c_str() + colon + 1;
  const long double v = std::strtold(text, &end);
  return end == text ? std::nanl("") : v;
}

// The report line that begins (after blanks) with the text; empty when none.
std::string LineBeginning(const std::string& report, const std::string& text,
                          std::string::size_type from = 0) {
  std::istringstream in(report.substr(from));
  std::string line;
  while (std::getline(in, line)) {
    const std::string::size_type first = line.find_first_not_of(' ');
    if (first != std::string::npos && line.compare(first, text.size(), text) == 0) return line;
  }
  return "";
}

}  // namespace

bool ChainRun::Run(const std::vector<std::string>& simArgs, Orbits orbits,
                   const std::vector<std::string>& tervanArgs) {
  const auto start = std::chrono::steady_clock::now();
  const bool ok = Simulate(simArgs) && Convert(orbits) && Process(orbits, tervanArgs);
  seconds_ = std::chrono::duration<long double>(std::chrono::steady_clock::now() - start).count();
  return ok;
}

bool ChainRun::Simulate(const std::vector<std::string>& simArgs) {
  sim::Scenario sc;
  if (sim::ParseScenario(simArgs, sc, why_) != sim::ParseResult::kRun) return false;
  sc.outDir = dir_.Path();
  sim_ = std::make_unique<sim::Simulator>(sc);
  sim_->Run();
  return sim::WriteDataset(*sim_, why_);
}

bool ChainRun::HasSystem(char s) const {
  return sim_->Sc().systems.find(s) != std::string::npos;
}

bool ChainRun::Convert(Orbits orbits) {
#ifdef TERVAN_SDIFF_EXE
  const sim::DatasetFiles f;
  const sim::Scenario& sc = sim_->Sc();
  std::vector<std::string> args = {
      "--base", f.Rinex3(sc, sim::kBase), "--rover", f.Rinex3(sc, sim::kRover), "--out", kSd,
      "--quiet"};
  if (orbits == Orbits::kPrecise) args.insert(args.end(), {"--sp3", f.sp3, "--clk", f.clock});
  if (orbits == Orbits::kBroadcast) {
    if (HasSystem('G')) args.insert(args.end(), {"--nav", f.gpsNav});
    if (HasSystem('R')) args.insert(args.end(), {"--nav", f.glonassNav});
    if (HasSystem('E')) args.insert(args.end(), {"--nav", f.galileoNav});
  }
  if (HasSystem('R')) args.insert(args.end(), {"--glonass-channels", kChannels});
  const testsupport::RunResult r = testsupport::RunProgram(TERVAN_SDIFF_EXE, dir_.Path(), args);
  if (r.status != 0) why_ = "tervan-sdiff failed: " + r.out + r.err;
  return r.status == 0;
#else
  (void)orbits;
  why_ = "tervan-sdiff is not built";
  return false;
#endif
}

bool ChainRun::Process(Orbits orbits, const std::vector<std::string>& tervanArgs) {
  const sim::DatasetFiles f;
  std::vector<std::string> args = {std::string("-r") + kSd, "-cs" + sim_->Sc().systems};
  if (orbits == Orbits::kPrecise) args.insert(args.end(), {"-ep" + f.sp3, "-ec" + f.clock});
  if (orbits == Orbits::kBroadcast) {
    if (HasSystem('G')) args.push_back("-eg" + f.gpsNav);
    if (HasSystem('R')) args.push_back("-er" + f.glonassNav);
    if (HasSystem('E')) args.push_back("-ee" + f.galileoNav);
  }
  if (HasSystem('R')) args.push_back(std::string("-gf") + kChannels);
  args.insert(args.end(), tervanArgs.begin(), tervanArgs.end());
  const testsupport::RunResult r = testsupport::RunTervan(dir_.Path(), args);
  report_ = r.out;
  if (r.status != 0) {
    why_ = "tervan failed: " + r.out.substr(r.out.size() > 2000 ? r.out.size() - 2000 : 0) + r.err;
    return false;
  }
  return ReadBaseline();
}

bool ChainRun::ReadBaseline() {
  const std::string::size_type section = report_.rfind("BASE-ROVER BASELINE COMPONENTS:");
  if (section == std::string::npos) {
    why_ = "the report has no static baseline";
    return false;
  }
  const char* const labels[3] = {"DX:", "DY:", "DZ:"};
  for (int k = 0; k < 3; ++k) {
    // "DX:   approximate  correction[mm]  estimate  precision[mm]  DN: ..."
    std::istringstream in(LineBeginning(report_, labels[k], section));
    std::string label;
    long double approximate, correction, estimate, precision;
    if (!(in >> label >> approximate >> correction >> estimate >> precision)) {
      why_ = std::string("no line ") + labels[k] + " in the baseline section";
      return false;
    }
    // The approximate value comes from header positions of 0.1 mm and the correction
    // is printed to 0.01 mm: their sum carries more digits than the rounded estimate.
    baseline_[k] = {approximate + correction / 1000.0L, precision / 1000.0L};
  }
  return true;
}

long double ChainRun::Error(int k) const {
  const sim::Vec3 d = sim_->Position(sim::kRover) - sim_->Position(sim::kBase);
  const long double truth[3] = {d.x, d.y, d.z};
  return baseline_[k].estimate - truth[k];
}

long double ChainRun::TypeSigma(const std::string& type) const {
  const std::string line = LineBeginning(report_, "REF. STD. APOSTERIORI - " + type + " ");
  return line.empty() ? -1.0L : NumberAfterColon(line) / 1000.0L;
}

long double ChainRun::Value(const std::string& label) const {
  return NumberAfterColon(LineBeginning(report_, label));
}

std::vector<Component> ChainRun::CodeBiases(const std::string& file) const {
  // "STATION  SAT  value +- sigma [value +- sigma ...]" (a type without a bias is blank)
  std::istringstream in(testsupport::ReadFile(dir_.File(file)));
  std::vector<Component> biases;
  std::string line, station, sat, pm;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream row(line);
    row >> station >> sat;
    Component c;
    while (row >> c.estimate >> pm >> c.sigma) biases.push_back(c);
  }
  return biases;
}

long ChainRun::Events(const std::string& kind) const {
  long n = 0;
  for (const sim::AppliedEvent& e : sim_->Events()) n += e.kind == kind;
  return n;
}

std::set<std::string> ChainRun::EclipsingFound() const {
  std::set<std::string> sats;
  const std::string::size_type from = report_.find("ECLIPSING SATELLITE AND ECLIPSING SEASONS:");
  if (from == std::string::npos) return sats;
  // Rows "  ID   SYSTEM-LETTER NUMBER   first epoch   last epoch   count" between dashes.
  std::istringstream in(report_.substr(from));
  std::string line;
  int dashes = 0;
  while (dashes < 3 && std::getline(in, line)) {
    if (line.find("-----") != std::string::npos) {
      ++dashes;
      continue;
    }
    // The satellite is a system letter and its number: "G15", "R 4".
    std::istringstream row(line);
    long id, number;
    char system;
    if (dashes == 2 && row >> id >> system >> number) {
      char name[8];
      std::snprintf(name, sizeof name, "%c%02ld", system, number);
      sats.insert(name);
    }
  }
  return sats;
}

std::set<std::string> ChainRun::EclipsingTruth() const {
  std::set<std::string> sats;
  for (const sim::AppliedEvent& e : sim_->Eclipses()) sats.insert(e.sat);
  return sats;
}

std::string ChainRun::Summary() const {
  char text[256];
  std::snprintf(text, sizeof text,
                "error dX %+.3Lf dY %+.3Lf dZ %+.3Lf mm, sigma %.3Lf %.3Lf %.3Lf mm, %.1Lf s",
                Error(0) * 1e3L, Error(1) * 1e3L, Error(2) * 1e3L, baseline_[0].sigma * 1e3L,
                baseline_[1].sigma * 1e3L, baseline_[2].sigma * 1e3L, seconds_);
  return text;
}

}  // namespace e2e
