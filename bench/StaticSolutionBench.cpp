// Speed and memory of one iteration of the static solution on a simulated day at
// 30 s of GPS, GLONASS and Galileo (tervan-sim's default scenario, 10 km baseline):
// once with C1, L1 and L2, once with C1 and L3. The loading and preprocessing run
// once before the measurement; each benchmark iteration is one static solution of
// three iterations (geometry, normal equations with the epoch clocks eliminated,
// inversion, back-substitution, type variances); "cpuPerIterS" is the processor
// time of one such iteration and "peakMB" the process's peak resident memory.
#ifdef TERVAN_HAVE_SIM
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "driver/TervanC.h"
#include "driver/Tervan_GetFiles.h"
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

namespace {

// A temporary folder removed at the end of the program.
struct TempFolder {
  std::string path;
  ~TempFolder() {
    if (!path.empty()) std::filesystem::remove_all(path);
  }
};

// The simulated day, written once for both benchmarks.
const std::string& Day() {
  static TempFolder folder;
  std::string& dir = folder.path;
  if (!dir.empty()) return dir;
  char tmpl[] = "/tmp/tervan-static-bench-XXXXXX";
  if (!mkdtemp(tmpl)) return dir;
  dir = tmpl;
  sim::Scenario sc;
  std::string msg;
  sim::ParseScenario({"--duration", "1d", "--no-ionosphere", "--out", dir}, sc, msg);
  sim::Simulator s(sc);
  s.Run();
  sim::WriteDataset(s, msg);
  return dir;
}

// Standard output and error silenced while the stages report.
class Silence {
 public:
  Silence() : out_(std::cout.rdbuf(sink_.rdbuf())), err_(std::cerr.rdbuf(sink_.rdbuf())) {}
  ~Silence() {
    std::cout.rdbuf(out_);
    std::cerr.rdbuf(err_);
  }

 private:
  std::ostringstream sink_;
  std::streambuf* out_;
  std::streambuf* err_;
};

// The context after the preprocessing and the parameter setup.
std::unique_ptr<TervanC> Prepared(const std::string& types) {
  auto tc = std::make_unique<TervanC>();
  const std::string d = Day() + "/";
  std::vector<std::string> args = {"tervan",
                                   "-r" + d + "SIMB_SIMR.sd",
                                   "-ep" + d + "orbit.sp3",
                                   "-ec" + d + "clock.clk",
                                   "-gf" + d + "glonass_channels.txt",
                                   "-csGRE",
                                   "-l" + types,
                                   "-xSTA",
                                   "-mi3",
                                   "-mt0"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  Silence quiet;
  ParseArgumetns(*tc, static_cast<int>(argv.size()), argv.data());
  CheckArgumetns(*tc);
  PrintArgumetns(*tc);
  SetFiles(*tc);
  ReadFiles(*tc);
  ExcludeProblemSat(tc->sdh, tc->sdd, *tc->GetSatCRX(), tc->GetIsSCRX(), tc->GetVerbose());
  GetReceiverProperties(*tc);
  ApplyCorrections(*tc);
  ApplyATXVal(*tc);
  SetLinearCombinations(*tc);
  ProcClock(*tc);
  SetAmbiguities(*tc);
  ConAmbiguities(*tc);
  PhaseWindUp(*tc);
  GetEclipsing(*tc);
  SetUnknowns(*tc);
  return tc;
}

void Iterations(benchmark::State& state, const std::string& types) {
  std::unique_ptr<TervanC> tc = Prepared(types);
  double cpu = 0.0;
  long iterations = 0;
  for (auto _ : state) {
    Silence quiet;
    const std::clock_t start = std::clock();
    ProcStatic(*tc);
    cpu += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    iterations += tc->IterDone;
  }
  state.counters["cpuPerIterS"] = cpu / static_cast<double>(iterations);
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  state.counters["epochs"] = static_cast<double>(tc->sdd.GetNEpoch());
  state.counters["obs"] = static_cast<double>(tc->NObs);
  state.counters["unknowns"] = static_cast<double>(tc->NUnk);
  state.counters["peakMB"] = static_cast<double>(ru.ru_maxrss) / 1024.0;
}

void BM_StaticIterationL1L2(benchmark::State& state) {
  Iterations(state, "C1,L1,L2");
}
void BM_StaticIterationL3(benchmark::State& state) {
  Iterations(state, "C1,L3");
}

BENCHMARK(BM_StaticIterationL1L2)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_StaticIterationL3)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
#endif
