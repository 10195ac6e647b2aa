// Writers of the model files of a scenario with station and satellite effects:
// Earth rotation parameters (IGS ERP version 2), ocean loading coefficients (BLQ)
// and antenna calibrations (ANTEX 1.4).
#ifndef TERVAN_SIM_MODELFILES_H
#define TERVAN_SIM_MODELFILES_H

#include <string>

namespace sim {

class Simulator;

bool WriteErp(const Simulator& sim, const std::string& path);
bool WriteBlq(const Simulator& sim, const std::string& path);
bool WriteAntex(const Simulator& sim, const std::string& path);

}  // namespace sim

#endif
