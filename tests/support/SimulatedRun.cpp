#include "support/SimulatedRun.h"

#include <gtest/gtest.h>

#include <cmath>

#include "estimation/Tervan_ProcStatic.h"
#include "estimation/Tervan_SetUnknowns.h"
#include "preprocess/Tervan_AntennaPhaseCenter.h"
#include "preprocess/Tervan_ConAmbiguities.h"
#include "preprocess/Tervan_Eclipsing.h"
#include "preprocess/Tervan_PhaseWindUp.h"
#include "preprocess/Tervan_ProcClock.h"
#include "preprocess/Tervan_SetAmbiguities.h"
#include "preprocess/Tervan_SetLinCombinations.h"
#include "sim/Dataset.h"
#include "support/PipelineStart.h"

namespace testsupport {

namespace {
constexpr long double kC = 299792458.0L;
}

std::unique_ptr<sim::Simulator> SimulateDataset(const std::vector<std::string>& args,
                                                const std::string& dir, std::string& why) {
  sim::Scenario sc;
  std::string msg;
  if (sim::ParseScenario(args, sc, msg) != sim::ParseResult::kRun) {
    why = "simulator: " + msg;
    return nullptr;
  }
  sc.outDir = dir;
  auto s = std::make_unique<sim::Simulator>(sc);
  s->Run();
  if (!sim::WriteDataset(*s, msg)) {
    why = msg;
    return nullptr;
  }
  return s;
}

bool SimulatedRun::Run(const std::vector<std::string>& baseSim,
                       const std::vector<std::string>& extraSim,
                       const std::vector<std::string>& extraRun) {
  std::vector<std::string> args = baseSim;
  args.insert(args.end(), {"--start", "2026-06-15 08:00:00"});
  args.insert(args.end(), extraSim.begin(), extraSim.end());
  sim = SimulateDataset(args, dir.Path(), why);
  if (!sim) return false;
  const std::string d = dir.Path() + "/";
  std::vector<std::string> run = {"-r" + d + "SIMB_SIMR.sd",
                                  "-ep" + d + "orbit.sp3",
                                  "-ec" + d + "clock.clk",
                                  "-csGRE",
                                  "-xSTA",
                                  "-me10"};
  if (!ReadFile(d + "glonass_channels.txt").empty())
    run.push_back("-gf" + d + "glonass_channels.txt");
  run.insert(run.end(), extraRun.begin(), extraRun.end());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  RunToGeometry(tc, run);
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

xyz SimulatedRun::RoverError() const {
  const sim::Vec3& p = sim->Position(sim::kRover);
  return tc.RecPosEst - xyz(p.x, p.y, p.z);
}

long double SimulatedRun::ClockError(long double datum) const {
  const auto& b = sim->Epochs(sim::kBase);
  const auto& r = sim->Epochs(sim::kRover);
  long double worst = 0.0L;
  for (long e = 0; e < tc.sdd.neph && e < static_cast<long>(b.size()); ++e) {
    const long double est = tc.dtAll(e) + (tc.sdd.clkErR(e) - tc.sdd.clkErB(e)) * kC - datum;
    worst = std::fmax(worst, std::fabs(est - (r[e].clock - b[e].clock) * kC));
  }
  return worst;
}

long double SimulatedRun::CoordinateSigma(int k) const {
  return std::sqrt(tc.QxxAll(k, k) * tc.s0apost);
}

long double SimulatedRun::GpsSeconds(const mjd& t) {
  return (static_cast<long double>(t.GetMJDay()) - sim::MjdOfGpsStart) * 86400.0L + t.GetSecond();
}

}  // namespace testsupport
