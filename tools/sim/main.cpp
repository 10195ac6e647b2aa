// tervan-sim: writes a simulated GNSS dataset with a known truth.
#include <iostream>
#include <string>
#include <vector>

#include "sim/Dataset.h"
#include "sim/Scenario.h"
#include "sim/Simulator.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  sim::Scenario sc;
  std::string message;
  switch (sim::ParseScenario(args, sc, message)) {
    case sim::ParseResult::kHelp:
      std::cout << sim::HelpText();
      return 0;
    case sim::ParseResult::kError:
      std::cerr << "tervan-sim: " << message << "\n";
      return 1;
    case sim::ParseResult::kRun:
      break;
  }
  sim::Simulator simulator(sc);
  simulator.Run();
  if (!sim::WriteDataset(simulator, message)) {
    std::cerr << "tervan-sim: " << message << "\n";
    return 1;
  }
  std::cout << "tervan-sim: dataset written to " << sc.outDir << "\n";
  return 0;
}
