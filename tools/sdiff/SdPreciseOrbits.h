// Satellite states from a precise orbit file (SP3) and, optionally, a precise clock
// file (RINEX clock) that replaces the SP3 clocks.
#ifndef TERVAN_TOOLS_SDIFF_SDPRECISEORBITS_H
#define TERVAN_TOOLS_SDIFF_SDPRECISEORBITS_H

#include <memory>
#include <string>

#include "orbits/GNSSpClk.h"
#include "orbits/GNSSpEph.h"
#include "sdiff/SdOrbitSource.h"

class SdPreciseOrbits : public SdOrbitSource {
 public:
  SdPreciseOrbits(const std::string& sp3, const std::string& clk);
  bool State(short sat, const mjd& t, xyz& position, long double& clock) override;

 private:
  GNSSpEph eph_;
  std::unique_ptr<GNSSpClk> clk_;
  mjd first_, last_;
};

#endif
