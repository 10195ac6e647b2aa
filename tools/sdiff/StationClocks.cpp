#include "sdiff/StationClocks.h"

#include <cmath>
#include <cstdio>

#include "sdiff/Report.h"

StationClocks::StationClocks(const RinexHeader& base, const RinexHeader& rover, OrbitSource& orbits,
                             DelayModel& delays) {
  pp_[0] = std::make_unique<PointPositioning>(base, orbits, delays);
  pp_[1] = std::make_unique<PointPositioning>(rover, orbits, delays);
}

bool StationClocks::Solve(int station, const RinexEpoch& epoch, long double& clock) {
  xyz pos;
  return pp_[station]->Solve(epoch, pos, clock);
}

void StationClocks::HeaderPosition(int station, const std::string& name, long double p[3]) const {
  xyz mean;
  if (!pp_[station]->MeanPosition(mean)) return;
  const long double dx = p[0] - mean.GetX(), dy = p[1] - mean.GetY(), dz = p[2] - mean.GetZ();
  const bool zero = p[0] == 0.0L && p[1] == 0.0L && p[2] == 0.0L;
  const long double off = std::sqrt(dx * dx + dy * dy + dz * dz);
  if (!zero && off <= kMaxHeaderOffset) return;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1Lf", off);
  SdWarning(std::string(station == 0 ? "BASE" : "ROVER") + " " + name +
            (zero ? ": THE RINEX HEADER HAS NO POSITION"
                  : ": THE RINEX HEADER POSITION IS " + std::string(buf) +
                        " m FROM THE POINT POSITIONING") +
            "; THE MEAN POINT POSITIONING SOLUTION IS WRITTEN");
  p[0] = mean.GetX();
  p[1] = mean.GetY();
  p[2] = mean.GetZ();
}
