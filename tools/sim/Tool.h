// The tervan-sim run: options, simulation, files and the closing line.
#ifndef TERVAN_SIM_TOOL_H
#define TERVAN_SIM_TOOL_H

#include <iosfwd>
#include <string>
#include <vector>

namespace sim {

// Runs the tool on the arguments (without the program name); returns the exit
// status: 0 after the help text or a written dataset, 1 after an error, which is
// reported on `err`.
int RunSimTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace sim

#endif
