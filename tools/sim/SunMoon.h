// Earth-fixed positions of the Sun (Meeus, Astronomical Algorithms, chapter 25,
// about 0.01 degree) and the Moon (the series of Montenbruck and Gill, Satellite
// Orbits, 2000, section 3.3.2, a few arc minutes), enough for the tides and the
// attitude of the satellites. Both refer to the mean equinox of the date, and the
// Earth is turned by the mean sidereal time of UTC.
#ifndef TERVAN_SIM_SUNMOON_H
#define TERVAN_SIM_SUNMOON_H

#include "sim/Geometry.h"

namespace sim {

Vec3 SunPosition(long double t);   // Earth-fixed, m, at GPS seconds t
Vec3 MoonPosition(long double t);  // Earth-fixed, m, at GPS seconds t

}  // namespace sim

#endif
