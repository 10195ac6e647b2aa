// One simulated scenario through the whole processing chain as a user runs it: the
// simulator writes RINEX observation files and orbit products, tervan-sdiff converts the
// observation files into single differences and tervan solves the baseline. The
// simulator's truth stays in memory beside the results read from the report.
#ifndef TERVAN_TESTS_E2E_CHAINRUN_H
#define TERVAN_TESTS_E2E_CHAINRUN_H

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sim/Simulator.h"
#include "support/TestSupport.h"

namespace e2e {

enum class Orbits { kPrecise, kBroadcast };

// A baseline component of the report: estimate and formal precision [m].
struct Component {
  long double estimate = 0, sigma = 0;
};

class ChainRun {
 public:
  // Simulates the scenario (tervan-sim options), converts it with the precise products
  // or the navigation files and processes it with tervan, whose orbit and GLONASS
  // channel options are added here; false with Why() when a step fails.
  bool Run(const std::vector<std::string>& simArgs, Orbits orbits,
           const std::vector<std::string>& tervanArgs);

  const std::string& Why() const { return why_; }
  const std::string& Report() const { return report_; }
  const sim::Simulator& Sim() const { return *sim_; }
  long double Seconds() const { return seconds_; }

  // Estimated baseline component k (0 X, 1 Y, 2 Z) with its precision [m].
  Component Baseline(int k) const { return baseline_[k]; }
  // Estimate minus the simulated baseline ROVER - BASE, component k [m].
  long double Error(int k) const;
  // A-posteriori sigma of an observation type ("L1", "Pc3", ...) [m]; -1 when absent.
  long double TypeSigma(const std::string& type) const;
  // Value behind "label :" on the first report line that begins with the label.
  long double Value(const std::string& label) const;
  // Every value and precision of a code-bias result file (tervan -od) of the run [m].
  std::vector<Component> CodeBiases(const std::string& file) const;
  // Number of simulated events of a kind ("outlier", "slip", ...).
  long Events(const std::string& kind) const;
  // Satellites listed by the report's eclipsing seasons and by the truth ("G05").
  std::set<std::string> EclipsingFound() const;
  std::set<std::string> EclipsingTruth() const;

  // One line for the log: errors, formal sigmas [mm] and the run time.
  std::string Summary() const;

 private:
  bool Simulate(const std::vector<std::string>& simArgs);
  bool Convert(Orbits orbits);
  bool Process(Orbits orbits, const std::vector<std::string>& tervanArgs);
  bool ReadBaseline();
  bool HasSystem(char s) const;

  testsupport::TempDir dir_;
  std::unique_ptr<sim::Simulator> sim_;
  std::string report_, why_;
  Component baseline_[3];
  long double seconds_ = 0;
};

}  // namespace e2e

#endif
