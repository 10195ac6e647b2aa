// Truth through the whole chain: a noise-free simulated hour goes through the
// loading, every preprocessing stage and the static solution, and the simulator's
// ROVER position and receiver clocks come back out.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "driver/DriverTestUtil.h"
#include "driver/Tervan_ReadFiles.h"
#include "estimation/Tervan_ProcStatic.h"
#include "estimation/Tervan_SetUnknowns.h"
#include "preprocess/Tervan_AntennaPhaseCenter.h"
#include "preprocess/Tervan_ApplyCorrections.h"
#include "preprocess/Tervan_ConAmbiguities.h"
#include "preprocess/Tervan_Eclipsing.h"
#include "preprocess/Tervan_GetInitPos.h"
#include "preprocess/Tervan_PhaseWindUp.h"
#include "preprocess/Tervan_ProcClock.h"
#include "preprocess/Tervan_SetAmbiguities.h"
#include "preprocess/Tervan_SetLinCombinations.h"
#include "sdiff/ExcludeProblemSat.h"
#include "sim/Dataset.h"
#include "sim/Simulator.h"
#include "support/TestSupport.h"

namespace {

constexpr long double kC = 299792458.0L;

class EstimationTruth : public ::testing::Test {
 protected:
  // Simulates one noise-free hour and runs the chain up to the static solution.
  bool Run(const std::vector<std::string>& extraSim, const std::vector<std::string>& extraRun) {
    std::vector<std::string> args = {"--duration",      "1h",      "--noise-free",
                                     "--no-ionosphere", "--start", "2026-06-15 08:00:00"};
    args.insert(args.end(), extraSim.begin(), extraSim.end());
    sim::Scenario sc;
    std::string msg;
    if (sim::ParseScenario(args, sc, msg) != sim::ParseResult::kRun) {
      why = "simulator: " + msg;
      return false;
    }
    sc.outDir = dir.Path();
    sim_ = std::make_unique<sim::Simulator>(sc);
    sim_->Run();
    if (!sim::WriteDataset(*sim_, msg)) {
      why = msg;
      return false;
    }
    const std::string d = dir.Path() + "/";
    std::vector<std::string> run = {"-r" + d + "SIMB_SIMR.sd",
                                    "-ep" + d + "orbit.sp3",
                                    "-ec" + d + "clock.clk",
                                    "-gf" + d + "glonass_channels.txt",
                                    "-csGRE",
                                    "-xSTA",
                                    "-me10"};
    run.insert(run.end(), extraRun.begin(), extraRun.end());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    drivertest::Parse(tc, run);
    CheckArgumetns(tc);
    PrintArgumetns(tc);
    SetFiles(tc);
    ReadFiles(tc);
    ExcludeProblemSat(tc.sdh, tc.sdd, *tc.GetSatCRX(), tc.GetIsSCRX(), tc.GetVerbose());
    GetReceiverProperties(tc);
    ApplyCorrections(tc);
    ApplyATXVal(tc);
    SetLinearCombinations(tc);
    ProcClock(tc);
    SetAmbiguities(tc);
    ConAmbiguities(tc);
    PhaseWindUp(tc);
    GetEclipsing(tc);
    SetUnknowns(tc);
    ProcStatic(tc);
    err = testing::internal::GetCapturedStderr();
    report = testing::internal::GetCapturedStdout();
    if (tc.NObs == 0) {
      why = "no observation reached the static solution";
      return false;
    }
    return true;
  }
  long double RoverError() const {
    const sim::Vec3& p = sim_->Position(sim::kRover);
    const xyz d = tc.RecPosEst - xyz(p.x, p.y, p.z);
    return std::sqrt(d * d);
  }
  // Largest difference of the estimated and simulated receiver clock differences [m].
  long double ClockError() const {
    const auto& b = sim_->Epochs(sim::kBase);
    const auto& r = sim_->Epochs(sim::kRover);
    long double worst = 0.0L;
    for (long e = 0; e < tc.sdd.neph && e < static_cast<long>(b.size()); ++e) {
      const long double est = tc.dtAll(e) + (tc.sdd.clkErR(e) - tc.sdd.clkErB(e)) * kC;
      worst = std::fmax(worst, std::fabs(est - (r[e].clock - b[e].clock) * kC));
    }
    return worst;
  }

  testsupport::TempDir dir;
  std::unique_ptr<sim::Simulator> sim_;
  TervanC tc;
  std::string report, err, why;
};

TEST_F(EstimationTruth, CodeAndPhaseGiveTheSimulatedRoverAndClocks) {
  if (!Run({"--no-troposphere"}, {"-lC1,L1,L2"})) GTEST_SKIP() << why;
  EXPECT_LE(tc.IterDone, 3) << report;
  EXPECT_LT(RoverError(), 1e-4L) << report;
  EXPECT_LT(ClockError(), 1e-3L);
}

TEST_F(EstimationTruth, IonosphereFreePhaseGivesTheSimulatedRover) {
  if (!Run({"--no-troposphere"}, {"-lC1,L3"})) GTEST_SKIP() << why;
  EXPECT_LT(RoverError(), 1e-4L) << report;
  EXPECT_LT(ClockError(), 1e-3L);
}

}  // namespace
