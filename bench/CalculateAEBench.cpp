// Speed of the satellite geometry stage: a simulated day at 30 s of GPS, GLONASS and
// Galileo, one satellite position per record and station (about 140,000), with the
// troposphere, solid tide and weights, from precise and from broadcast orbits. The
// dataset is simulated and loaded outside the measurement.
#ifdef TERVAN_HAVE_SIM
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "driver/TervanC.h"
#include "driver/Tervan_GetFiles.h"
#include "driver/Tervan_ReadFiles.h"
#include "preprocess/Tervan_ApplyCorrections.h"
#include "preprocess/Tervan_GetInitPos.h"
#include "sim/Dataset.h"
#include "sim/Simulator.h"

namespace {

// The simulated day, written once per process.
const std::string& Day() {
  static std::string dir;
  if (!dir.empty()) return dir;
  char tmpl[] = "/tmp/tervan-ae-bench-XXXXXX";
  dir = mkdtemp(tmpl) ? tmpl : "/tmp/tervan-ae-bench";
  sim::Scenario sc;
  std::string msg;
  sim::ParseScenario({"--duration", "1d", "--noise-free", "--out", dir}, sc, msg);
  sim::Simulator s(sc);
  s.Run();
  sim::WriteDataset(s, msg);
  return dir;
}

// orbits: option and file name of the dataset, e.g. {"-ep", "orbit.sp3"}.
void Measure(benchmark::State& state,
             const std::vector<std::pair<std::string, std::string>>& orbits) {
  const std::string dir = Day();
  std::vector<std::string> args = {"tervan",
                                   "-r" + dir + "/SIMB_SIMR.sd",
                                   "-gf" + dir + "/glonass_channels.txt",
                                   "-csGRE",
                                   "-lPc3,L3",
                                   "-tmSAAST,NIELL",
                                   "-xSTA",
                                   "-pcosz",
                                   "-st"};
  for (const auto& o : orbits) args.push_back(o.first + dir + "/" + o.second);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  std::ostringstream sink;
  std::streambuf* out = std::cout.rdbuf(sink.rdbuf());
  TervanC tc;
  ParseArgumetns(tc, static_cast<int>(argv.size()), argv.data());
  CheckArgumetns(tc);
  SetFiles(tc);
  ReadFiles(tc);
  GetReceiverProperties(tc);
  for (auto _ : state) CalculateAE(tc);
  std::cout.rdbuf(out);
  state.counters["positions"] = 2.0 * tc.sdd.nobs;
  state.counters["positions/s"] =
      benchmark::Counter(2.0 * tc.sdd.nobs * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_CalculateAEPrecise(benchmark::State& state) {
  Measure(state, {{"-ep", "orbit.sp3"}, {"-ec", "clock.clk"}});
}
BENCHMARK(BM_CalculateAEPrecise)->Unit(benchmark::kSecond)->Iterations(1);

void BM_CalculateAEBroadcast(benchmark::State& state) {
  Measure(state, {{"-eg", "gps.nav"}, {"-er", "glonass.nav"}, {"-ee", "galileo.nav"}});
  std::filesystem::remove_all(Day());
}
BENCHMARK(BM_CalculateAEBroadcast)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
#endif
