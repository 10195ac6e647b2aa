#include "sim/Dataset.h"

#include <filesystem>
#include <functional>

#include "sim/ModelFiles.h"
#include "sim/NavFiles.h"
#include "sim/ObsFiles.h"
#include "sim/ProductFiles.h"
#include "sim/ReportFiles.h"
#include "sim/Simulator.h"
#include "sim/TextFormat.h"

namespace sim {

std::string DatasetFiles::Rinex3(const Scenario& sc, Station st) const {
  return (st == kBase ? sc.baseName : sc.roverName) + ".rnx";
}

std::string DatasetFiles::Rinex2(const Scenario& sc, Station st) const {
  return (st == kBase ? sc.baseName : sc.roverName) + Format(".%02do", sc.start.year % 100);
}

std::string DatasetFiles::SingleDifferences(const Scenario& sc) const {
  return sc.baseName + "_" + sc.roverName + ".sd";
}

std::string TervanCommand(const Scenario& sc, bool broadcast) {
  const DatasetFiles f;
  auto has = [&sc](char s) { return sc.systems.find(s) != std::string::npos; };
  std::string cmd = "tervan -r" + f.SingleDifferences(sc);
  if (!broadcast) cmd += " -ep" + f.sp3 + " -ec" + f.clock;
  if (broadcast && has('G')) cmd += " -eg" + f.gpsNav;
  if (broadcast && has('R')) cmd += " -er" + f.glonassNav;
  if (broadcast && has('E')) cmd += " -ee" + f.galileoNav;
  if (has('R')) cmd += " -gf" + f.channels;
  if (!sc.problems.empty()) cmd += " -sx" + f.problems;
  if (sc.poleTide) cmd += " -eo" + f.erp;
  if (sc.oceanLoading) cmd += " -bq" + f.blq;
  if (sc.antennas) cmd += " -pv" + f.antex;
  if (sc.solidTide) cmd += " -st";
  if (sc.windUp) cmd += " -wu";
  if (sc.eclipseAngle > 0) cmd += " -cc";
  // A troposphere on nodes is estimated on the same grid, gradients included.
  const long nodes = static_cast<long>(sc.tropoNodes);
  const std::string ti =
      nodes > 0 && sc.troposphere
          ? Format("%02ld:%02ld:%02ldROVER -tgi0ROVER", nodes / 3600, nodes / 60 % 60, nodes % 60)
          : std::string("02:00:00ROVER");
  return cmd + " -cs" + sc.systems + " -lPc3,L3 -tmSAAST,NIELL -ti" + ti +
         " -me10 -pcosz -xSTA,KIN -v";
}

bool WriteDataset(const Simulator& sim, std::string& message) {
  const Scenario& sc = sim.Sc();
  std::error_code ec;
  std::filesystem::create_directories(sc.outDir, ec);
  if (ec || !std::filesystem::is_directory(sc.outDir)) {
    message = "cannot create the output folder '" + sc.outDir + "'";
    return false;
  }
  const DatasetFiles f;
  std::vector<std::pair<std::string, std::function<bool(const std::string&)>>> jobs = {
      {f.sp3, [&](const std::string& p) { return WriteSp3(sim, p); }},
      {f.clock, [&](const std::string& p) { return WriteClock(sim, p); }},
  };
  auto system = [&sc](char s) { return sc.systems.find(s) != std::string::npos; };
  if (system('G'))
    jobs.push_back({f.gpsNav, [&](const std::string& p) { return WriteGpsNav(sim, p); }});
  if (system('R')) {
    jobs.push_back({f.glonassNav, [&](const std::string& p) { return WriteGlonassNav(sim, p); }});
    jobs.push_back(
        {f.channels, [&](const std::string& p) { return WriteGlonassChannels(sim, p); }});
  }
  if (system('E'))
    jobs.push_back({f.galileoNav, [&](const std::string& p) { return WriteGalileoNav(sim, p); }});
  for (Station st : {kBase, kRover}) {
    jobs.push_back(
        {f.Rinex3(sc, st), [&sim, st](const std::string& p) { return WriteRinex3(sim, st, p); }});
    if (sc.rinex2)
      jobs.push_back(
          {f.Rinex2(sc, st), [&sim, st](const std::string& p) { return WriteRinex2(sim, st, p); }});
  }
  jobs.push_back({f.SingleDifferences(sc),
                  [&](const std::string& p) { return WriteSingleDifferences(sim, p); }});
  if (sc.poleTide) jobs.push_back({f.erp, [&](const std::string& p) { return WriteErp(sim, p); }});
  if (sc.oceanLoading)
    jobs.push_back({f.blq, [&](const std::string& p) { return WriteBlq(sim, p); }});
  if (sc.antennas)
    jobs.push_back({f.antex, [&](const std::string& p) { return WriteAntex(sim, p); }});
  if (!sc.problems.empty())
    jobs.push_back({f.problems, [&](const std::string& p) { return WriteProblemList(sim, p); }});
  jobs.push_back({f.truth, [&](const std::string& p) { return WriteTruth(sim, p); }});
  std::vector<std::string> names;
  for (const auto& j : jobs) names.push_back(j.first);
  names.push_back(f.readme);
  jobs.push_back({f.readme, [&](const std::string& p) {
                    return WriteReadme(sim, names, TervanCommand(sc), TervanCommand(sc, true), p);
                  }});
  for (const auto& j : jobs) {
    if (!j.second(sc.outDir + "/" + j.first)) {
      message = "cannot write '" + sc.outDir + "/" + j.first + "'";
      return false;
    }
  }
  return true;
}

}  // namespace sim
