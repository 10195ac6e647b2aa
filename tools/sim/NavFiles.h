// Broadcast navigation files of the simulated satellites and the GLONASS
// frequency channel table. Kepler records reproduce the simulated GPS and Galileo
// orbits exactly; GLONASS records are states of the integrated orbit.
#ifndef TERVAN_SIM_NAVFILES_H
#define TERVAN_SIM_NAVFILES_H

#include <string>

namespace sim {

class Simulator;

constexpr long double kGpsRecordStep = 7200.0L;      // s between GPS records
constexpr long double kGalileoRecordStep = 3600.0L;  // s between Galileo records

bool WriteGpsNav(const Simulator& sim, const std::string& path);      // RINEX 2.11
bool WriteGlonassNav(const Simulator& sim, const std::string& path);  // RINEX 2.11
bool WriteGalileoNav(const Simulator& sim, const std::string& path);  // RINEX 3.04
bool WriteGlonassChannels(const Simulator& sim, const std::string& path);

}  // namespace sim

#endif
