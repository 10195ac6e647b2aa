#include "sim/ModelFiles.h"

#include <cmath>
#include <fstream>

#include "sim/Simulator.h"
#include "sim/TextFormat.h"
#include "sim/Time.h"

namespace sim {

bool WriteErp(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  os << "VERSION 2\n"
     << "SIMULATED EARTH ROTATION PARAMETERS WRITTEN BY TERVAN-SIM (POLE LINEAR IN TIME)\n"
     << "  MJD         X        Y     UT1-UTC    LOD   Sx   Sy   Sutc  Slod  Nr Nf Nt    Xrt    "
        "Yrt  Sxrt  Syrt\n"
     << "               10**-6\"        .1us    .1us/d    10**-6\"     .1us  .1us/d       "
        "10**-6\"/d    10**-6\"/d\n";
  // Daily values at noon from a day before the data to a day after.
  const long first = Mjd(sim.Sc().StartSeconds()) - 1, last = Mjd(sim.Sc().EndSeconds()) + 1;
  for (long day = first; day <= last; ++day) {
    const long double t = (day + 0.5L - MjdOfGpsStart) * 86400.0L;
    long double xp, yp;
    PoleCoordinates(sim.Sc().StartSeconds(), t, xp, yp);
    os << Format("%8.2Lf %8.0Lf %8.0Lf %8d %6d %4d %4d %5d %5d %3d %2d %2d %6d %6d %5d %5d\n",
                 day + 0.5L, std::round(xp * 1e6L), std::round(yp * 1e6L), -500000, 0, 10, 10, 10,
                 0, 2, 0, 0, 400, -300, 10, 10);
  }
  return static_cast<bool>(os);
}

bool WriteBlq(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  const Scenario& sc = sim.Sc();
  os << "$$ Ocean loading displacement of the simulated stations, written by tervan-sim\n"
     << "$$\n$$ COLUMN ORDER:  M2  S2  N2  K2  K1  O1  P1  Q1  MF  MM SSA\n$$\n"
     << "$$ ROW ORDER:\n$$ AMPLITUDES (m)\n$$   RADIAL\n$$   TANGENTL    EW\n"
     << "$$   TANGENTL    NS\n$$ PHASES (degrees)\n$$   RADIAL\n$$   TANGENTL    EW\n"
     << "$$   TANGENTL    NS\n$$\n"
     << "$$ Displacement is defined positive in upwards, South and West direction.\n"
     << "$$ The phase lag is relative to Greenwich and lags positive.\n$$\n$$ END HEADER\n"
     << BlqBlock(sc.baseName, sim.Geo(kBase), kBase)
     << BlqBlock(sc.roverName, sim.Geo(kRover), kRover) << "$$ END TABLE\n";
  return static_cast<bool>(os);
}

bool WriteAntex(const Simulator& sim, const std::string& path) {
  std::ofstream os(path, std::ios::binary);
  if (!os) return false;
  os << sim.Antenna().Antex();
  return static_cast<bool>(os);
}

}  // namespace sim
