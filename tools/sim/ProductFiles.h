// Precise products of the simulated satellites: SP3-c orbit and clock, RINEX clock.
#ifndef TERVAN_SIM_PRODUCTFILES_H
#define TERVAN_SIM_PRODUCTFILES_H

#include <string>

namespace sim {

class Simulator;

// SP3-c positions (km) and clocks (microseconds) at the scenario's SP3 spacing.
bool WriteSp3(const Simulator& sim, const std::string& path);
// RINEX clock 3.00, satellite records "AS" every 30 s.
bool WriteClock(const Simulator& sim, const std::string& path);

}  // namespace sim

#endif
