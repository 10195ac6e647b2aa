// Writing speed of tervan-sim: a whole day at 30 s of GPS, GLONASS and Galileo at
// two stations, simulated and written to a temporary folder.
#ifdef TERVAN_HAVE_SIM
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "sim/Dataset.h"
#include "sim/Simulator.h"

namespace {

void BM_SimulateDay(benchmark::State& state) {
  char tmpl[] = "/tmp/tervan-sim-bench-XXXXXX";
  const std::string dir = mkdtemp(tmpl) ? tmpl : "/tmp/tervan-sim-bench";
  for (auto _ : state) {
    sim::Scenario sc;
    std::string msg;
    sim::ParseScenario({"--duration", "1d", "--out", dir}, sc, msg);
    sim::Simulator s(sc);
    s.Run();
    if (!sim::WriteDataset(s, msg)) state.SkipWithError(msg.c_str());
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SimulateDay)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
#endif
