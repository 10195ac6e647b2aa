// The truth of a simulated dataset, its README and the problem-satellite list.
#ifndef TERVAN_SIM_REPORTFILES_H
#define TERVAN_SIM_REPORTFILES_H

#include <string>
#include <vector>

namespace sim {

class Simulator;

bool WriteTruth(const Simulator& sim, const std::string& path);
bool WriteProblemList(const Simulator& sim, const std::string& path);
// `files` are the names written, `tervanCommand` the command that processes them.
bool WriteReadme(const Simulator& sim, const std::vector<std::string>& files,
                 const std::string& tervanCommand, const std::string& path);

}  // namespace sim

#endif
