// First-order ionosphere: a vertical electron content that follows local time and
// latitude, mapped to the line of sight with a single thin layer at 450 km.
#ifndef TERVAN_SIM_IONOSPHERE_H
#define TERVAN_SIM_IONOSPHERE_H

#include "sim/Geometry.h"

namespace sim {

class Ionosphere {
 public:
  // `peakTec` is the vertical content at 14 h local time on the equator (TECU).
  Ionosphere(long double peakTec, bool enabled) : peak_(peakTec), enabled_(enabled) {}

  long double Vertical(long double lat, long double lon, long double t) const;  // TECU
  // Slant content (TECU) from a station toward a satellite at elevation/azimuth.
  long double Slant(const Geodetic& station, long double elevation, long double azimuth,
                    long double t) const;
  // Group delay (m) of a slant content on a carrier: 40.3e16 TEC / f^2.
  static long double Delay(long double tec, long double frequency);

 private:
  long double peak_;
  bool enabled_;
};

}  // namespace sim

#endif
