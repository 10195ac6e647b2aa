// Satellite states from precise orbit files (SP3) and, optionally, precise clock
// files (RINEX clock) that replace the SP3 clocks; files of consecutive days are
// joined into one series, the first file's values kept at a shared epoch.
#ifndef TERVAN_TOOLS_SDIFF_PRECISEORBITS_H
#define TERVAN_TOOLS_SDIFF_PRECISEORBITS_H

#include <memory>
#include <string>
#include <vector>

#include "orbits/GNSSpClk.h"
#include "orbits/GNSSpEph.h"
#include "sdiff/OrbitSource.h"

class PreciseOrbits : public OrbitSource {
 public:
  PreciseOrbits(const std::vector<std::string>& sp3, const std::vector<std::string>& clk);
  bool State(short sat, const mjd& t, xyz& position, long double& clock) override;

 private:
  GNSSpEph eph_;
  std::unique_ptr<GNSSpClk> clk_;
  mjd first_, last_;
};

#endif
