#include "FuzzTargets.h"

#include <fstream>
#include <map>

#include "FuzzHarness.h"
#include "atmosphere/IONEX.h"
#include "atmosphere/IonKlobuchar.h"
#include "atmosphere/TropoFormulas.h"
#include "atmosphere/gTropModel.h"
#include "atmosphere/myIono.h"
#include "gnss/flh.h"
#include "gnss/mjd.h"
#include "orbits/GLNSat.h"
#include "orbits/GLNbEph.h"
#include "orbits/GNSSpClk.h"
#include "orbits/GNSSpEph.h"
#include "orbits/GPSbEph.h"
#include "sdiff/OpenInput.h"
#include "sdiff/PhsDiff.h"
#include "sdiff/RinexReader.h"
#include "sdiff/SatCRX.h"
#include "station/DCB.h"
#include "station/OceanTideLoading.h"
#include "station/PoleTide.h"
#include "station/RecCodeTrack.h"
#include "station/antex.h"
#include "station/gCRD.h"
#include "station/myDCB.h"

int TervanMain(int argc, char** argv);

namespace {

using Body = void (*)(const std::string& file);

template <typename Reader>
void ReadWith(const std::string& file) {
  Reader r;
  r.SetFile(file.c_str());
  r.ReadFile();
}

void SingleDifferences(const std::string& file) {
  PhsDiffHeader h;
  PhsDiffData d(h);
  PhsDiff sd(h, d);
  sd.SetFile(file.c_str());
  sd.ReadFile();
}

void Navigation(const std::string& file, char system) {
  GPSbEph nav;
  nav.SetSystem(system);
  nav.SetFile(file.c_str());
  nav.ReadFile();
}

void GpsNavigation(const std::string& file) {
  Navigation(file, 'G');
}

void GalileoNavigation(const std::string& file) {
  Navigation(file, 'E');
}

// A model file serves the troposphere model only when evaluated at a station.
void Troposphere(const std::string& file, short model, short mapping) {
  gTropModel m;
  m.SetTropModel(model);
  m.SetMappFunction(mapping);
  m.SetFile(file.c_str());
  m.ReadFile();
  const flh pos(46.0L * tropns::deg, 14.5L * tropns::deg, 300.0L);
  const mjd t(59000, 43200.0L);
  for (const char* station : {"SIMB", "WTZR"}) {
    m.SetPoint(station);
    m.SetAtmParams(pos);
    gTropDelay td;
    m.GetZenithDelay(td, pos, t);
    m.GetMappFunction(td, pos, t, 0.5L);
  }
}

void Gpt2Grid(const std::string& file) {
  Troposphere(file, gTMns::GPT2, gTMns::GPT2MF);
}

void Vmf1Sites(const std::string& file) {
  Troposphere(file, gTMns::VMF1TM, gTMns::VMF1);
}

void Ionex(const std::string& file) {
  IONEXHeader h;
  IONEXData d(h);
  IONEX ionex(h, d);
  ionex.SetFile(file.c_str());
  ionex.ReadFile();
}

void Klobuchar(const std::string& file) {
  std::ifstream in(file);
  IonKlobuchar k;
  in >> k;
}

// The first words of the file's lines are the names looked up, besides fixed ones.
std::vector<std::string> NamesIn(const std::string& file) {
  std::vector<std::string> names = {"SIMB", "TRIMBLE NETR9", ""};
  std::ifstream in(file);
  std::string line;
  for (int k = 0; k < 8 && std::getline(in, line); ++k) {
    names.push_back(line.substr(0, 20));
    if (line.size() > 5) names.push_back(line.substr(5, 16));
  }
  return names;
}

void Coordinates(const std::string& file) {
  gCRD crd;
  crd.SetFile(file.c_str());
  for (const std::string& name : NamesIn(file)) crd.GetCRD(name.c_str(), "", mjd(59000, 0.0L));
}

void ReceiverList(const std::string& file) {
  RecCodeTrack list;
  list.SetFile(file.c_str());
  for (const std::string& name : NamesIn(file)) list.GetRecCodeTrack(name.c_str());
}

void OceanLoading(const std::string& file) {
  OceanTideLoading otl;
  otl.SetFile(file.c_str());
  otl.ReadFile();
  for (const std::string& name : NamesIn(file)) otl.SetStation(name.c_str());
}

// The converter's input: compressed layers and Compact RINEX removed while streaming.
void Observations(const std::string& file) {
  RinexReader reader(SdOpenObservationFile(file));
  RinexEpoch epoch;
  while (reader.NextEpoch(epoch)) {
  }
}

// Folder of the small scenario of the whole-run target.
#ifndef TERVAN_FUZZ_SCENARIO
#define TERVAN_FUZZ_SCENARIO "examples/sim-10km"
#endif

void WholeRun(const std::string& file) {
  const std::string dir = TERVAN_FUZZ_SCENARIO;
  std::vector<std::string> args = {"tervan",
                                   "-r" + file,
                                   "-eg" + dir + "/gps.nav",
                                   "-er" + dir + "/glonass.nav",
                                   "-ee" + dir + "/galileo.nav",
                                   "-gf" + dir + "/glonass_channels.txt",
                                   "-csGRE",
                                   "-lPc3,L3,L1,L2",
                                   "-tmSAAST,NIELL",
                                   "-ti00:05:00ROVER",
                                   "-tg",
                                   "-me10",
                                   "-pcosz",
                                   "-cxGPS,GLN,GAL",
                                   "-xSTA,KIN"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  TervanMain(static_cast<int>(args.size()), argv.data());
}

struct Target {
  Body body;
  const char* ending;  // of the scratch file (some readers look at it)
};

const std::map<std::string, Target>& Table() {
  static const std::map<std::string, Target> table = {
      {"sdiff", {SingleDifferences, ".sd"}},
      {"sp3", {ReadWith<GNSSpEph>, ".sp3"}},
      {"clock", {ReadWith<GNSSpClk>, ".clk"}},
      {"nav-gps", {GpsNavigation, ".nav"}},
      {"nav-galileo", {GalileoNavigation, ".nav"}},
      {"nav-glonass", {ReadWith<GLNbEph>, ".nav"}},
      {"glonass-channels", {ReadWith<GLNSat>, ".txt"}},
      {"problem-sats", {ReadWith<SatCRX>, ".crx"}},
      {"gpt2-grid", {Gpt2Grid, ".grd"}},
      {"vmf1-sites", {Vmf1Sites, ".vmf1"}},
      {"ionex", {Ionex, ".ionex"}},
      {"klobuchar", {Klobuchar, ".nav"}},
      {"lustra-ion", {ReadWith<myIono>, ".ion"}},
      {"lustra-dcb", {ReadWith<myDCB>, ".dcb"}},
      {"dcb", {ReadWith<DCB>, ".dcb"}},
      {"erp", {ReadWith<PoleTide>, ".erp"}},
      {"blq", {OceanLoading, ".blq"}},
      {"antex", {ReadWith<antex>, ".atx"}},
      {"coordinates", {Coordinates, ".crd"}},
      {"receivers", {ReceiverList, ".txt"}},
      {"rinex-obs", {Observations, ".obs"}},
      {"whole-run", {WholeRun, ".sd"}},
  };
  return table;
}

}  // namespace

std::vector<std::string> FuzzTargets::Names() {
  std::vector<std::string> names;
  for (const auto& entry : Table()) names.push_back(entry.first);
  return names;
}

bool FuzzTargets::Has(const std::string& name) {
  return Table().count(name) > 0;
}

bool FuzzTargets::Run(const std::string& name, const uint8_t* data, size_t size) {
  const Target& t = Table().at(name);
  const std::string file = FuzzHarness::WriteInput(data, size, t.ending);
  return FuzzHarness::Run([&] { t.body(file); });
}
