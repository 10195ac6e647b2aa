// Low-precision Earth-fixed directions and distances of the Sun and the Moon, and
// Greenwich and local sidereal time (Astronomical Almanac formulas, about 0.01 deg).
#ifndef TERVAN_ORBITS_LUNISOLARPOSITION_H
#define TERVAN_ORBITS_LUNISOLARPOSITION_H

#include "gnss/flh.h"
#include "gnss/mjd.h"
#include "gnss/xyz.h"

class LuniSolarPosition {
 public:
  LuniSolarPosition() = default;

  // Greenwich mean sidereal time (rad, [0, 2pi)) at the GPS-time epoch t.
  long double GSTime(const mjd& t) const;
  // Local mean sidereal time (rad, [0, 2pi)) at the longitude of position.
  long double LSTime(const mjd& t, const flh& position) const;

  // Earth-fixed unit vector toward the body and its geocentric distance (m) at the
  // GPS-time epoch t.
  void SunPosition(const mjd& t, xyz& unit, long double& distance) const;
  void MoonPosition(const mjd& t, xyz& unit, long double& distance) const;

 private:
  // Julian centuries of UTC since J2000.0 for the GPS-time epoch t.
  long double Centuries(const mjd& t) const;
  // Angle reduced into [0, 2pi).
  long double Reduce(long double a) const;
  // Celestial unit vector rotated by -sidereal time into the Earth-fixed frame.
  xyz ToEarthFixed(const mjd& t, long double cx, long double cy, long double cz) const;

  long double twopi = 6.283185307179586L;
  long double AU = 149597870.0L;  // astronomical unit (km)
  long double RE = 6378.137L;     // Earth's equatorial radius (km)
};

#endif
