#include "sim/Tool.h"

#include <ostream>

#include "core/ProgramVersion.h"
#include "sim/Dataset.h"
#include "sim/Scenario.h"
#include "sim/Simulator.h"

namespace sim {

int RunSimTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Scenario sc;
  std::string message;
  switch (ParseScenario(args, sc, message)) {
    case ParseResult::kHelp:
      out << HelpText();
      return 0;
    case ParseResult::kVersion:
      out << VersionLine("tervan-sim") << "\n";
      return 0;
    case ParseResult::kError:
      err << "tervan-sim: " << message << "\n";
      return 1;
    case ParseResult::kRun:
      break;
  }
  Simulator simulator(sc);
  simulator.Run();
  if (!WriteDataset(simulator, message)) {
    err << "tervan-sim: " << message << "\n";
    return 1;
  }
  out << "tervan-sim: dataset written to " << sc.outDir << "\n";
  return 0;
}

}  // namespace sim
