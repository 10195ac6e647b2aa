// Satellite states from RINEX navigation files (version 2 GPS or GLONASS, version 3
// single-system or mixed), read through the program's broadcast orbit classes.
#ifndef TERVAN_TOOLS_SDIFF_BROADCASTORBITS_H
#define TERVAN_TOOLS_SDIFF_BROADCASTORBITS_H

#include <memory>
#include <string>
#include <vector>

#include "orbits/GLNbEph.h"
#include "orbits/GPSbEph.h"
#include "sdiff/OrbitSource.h"

class BroadcastOrbits : public OrbitSource {
 public:
  // Reads every file; ends the run on a file that is not a RINEX navigation file.
  explicit BroadcastOrbits(const std::vector<std::string>& files);
  bool State(short sat, const mjd& t, xyz& position, long double& clock) override;
  bool GlonassChannel(short sat, const mjd& t, int& channel) override;

 private:
  void Add(const std::string& file);

  std::vector<std::unique_ptr<GPSbEph>> gps_, galileo_;
  std::vector<std::unique_ptr<GLNbEph>> glonass_;
};

#endif
