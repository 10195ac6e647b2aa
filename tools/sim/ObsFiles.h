// Observation files of the two simulated stations and their single differences.
#ifndef TERVAN_SIM_OBSFILES_H
#define TERVAN_SIM_OBSFILES_H

#include <string>

#include "sim/Scenario.h"

class PhsDiffData;

namespace sim {

class Simulator;

bool WriteRinex3(const Simulator& sim, Station st, const std::string& path);  // RINEX 3.04
bool WriteRinex2(const Simulator& sim, Station st, const std::string& path);  // RINEX 2.11
// ROVER minus BASE of every satellite both stations observed at an epoch, into
// data whose header lists C1, P1, P2, L1, L2, C7, L7.
void SingleDifferences(const Simulator& sim, PhsDiffData& d);
// The single-difference file, written through the classes' output operators.
bool WriteSingleDifferences(const Simulator& sim, const std::string& path);

}  // namespace sim

#endif
