// Writing a whole simulated dataset into its folder.
#ifndef TERVAN_SIM_DATASET_H
#define TERVAN_SIM_DATASET_H

#include <string>
#include <vector>

#include "sim/Scenario.h"

namespace sim {

class Simulator;

// Names of the files of a dataset (inside the output folder).
struct DatasetFiles {
  std::string sp3 = "orbit.sp3", clock = "clock.clk";
  std::string gpsNav = "gps.nav", glonassNav = "glonass.nav", galileoNav = "galileo.nav";
  std::string channels = "glonass_channels.txt", problems = "problem_satellites.txt";
  std::string truth = "truth.txt", readme = "README.md";
  std::string erp = "earth_rotation.erp", blq = "ocean_loading.blq", antex = "antenna.atx";
  std::string Rinex3(const Scenario& sc, Station st) const;
  std::string Rinex2(const Scenario& sc, Station st) const;
  std::string SingleDifferences(const Scenario& sc) const;
};

// The Tervan command line that processes the dataset with the precise products, or
// with the broadcast navigation files.
std::string TervanCommand(const Scenario& sc, bool broadcast = false);

// Writes every file; false with `message` when the folder or a file cannot be written.
bool WriteDataset(const Simulator& sim, std::string& message);

}  // namespace sim

#endif
