// A simulated dataset run in process through the loading, every preprocessing stage
// and the static solution, with the simulator kept for its truth.
#ifndef TERVAN_TESTS_SUPPORT_SIMULATEDRUN_H
#define TERVAN_TESTS_SUPPORT_SIMULATEDRUN_H

#include <memory>
#include <string>
#include <vector>

#include "driver/TervanC.h"
#include "sim/Simulator.h"
#include "support/TestSupport.h"

namespace testsupport {

// Runs the simulator with the options and writes its dataset into dir; null (with the
// reason in why) when the options are refused or the files cannot be written.
std::unique_ptr<sim::Simulator> SimulateDataset(const std::vector<std::string>& args,
                                                const std::string& dir, std::string& why);

class SimulatedRun {
 public:
  // Simulates from 2026-06-15 08:00 GPS with the base options plus extraSim and runs
  // the chain with the dataset's files plus extraRun; false (with the reason in why)
  // when the simulator refused the options or nothing reached the static solution.
  bool Run(const std::vector<std::string>& baseSim, const std::vector<std::string>& extraSim,
           const std::vector<std::string>& extraRun);

  // Estimated minus simulated ROVER position [m], ECEF.
  xyz RoverError() const;
  // Largest difference of the estimated and simulated receiver clock differences [m],
  // the estimates taken less `datum`.
  long double ClockError(long double datum = 0.0L) const;
  // Formal sigma of coordinate k of the static solution [m].
  long double CoordinateSigma(int k) const;
  // GPS seconds of a Tervan epoch, the simulator's time.
  static long double GpsSeconds(const mjd& t);

  TempDir dir;
  std::unique_ptr<sim::Simulator> sim;
  TervanC tc;
  std::string report, err, why;
};

}  // namespace testsupport

#endif
