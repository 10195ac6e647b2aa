// The truth of a simulated dataset, its README and the problem-satellite list.
#ifndef TERVAN_SIM_REPORTFILES_H
#define TERVAN_SIM_REPORTFILES_H

#include <string>
#include <vector>

namespace sim {

class Simulator;

bool WriteTruth(const Simulator& sim, const std::string& path);
bool WriteProblemList(const Simulator& sim, const std::string& path);
// `files` are the names written; `precise` and `broadcast` the Tervan commands that
// process them with the precise products or the navigation files.
bool WriteReadme(const Simulator& sim, const std::vector<std::string>& files,
                 const std::string& precise, const std::string& broadcast, const std::string& path);

}  // namespace sim

#endif
