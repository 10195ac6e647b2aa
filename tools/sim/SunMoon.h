// Earth-fixed positions of the Sun and the Moon from the low-precision series of
// Montenbruck and Gill (Satellite Orbits, 2000, section 3.3.2): about 0.01 degree
// for the Sun and a few arc minutes for the Moon, enough for the tides and the
// attitude of the satellites. The equinox is carried to the date by the general
// precession in longitude and the Earth is turned by the mean sidereal time.
#ifndef TERVAN_SIM_SUNMOON_H
#define TERVAN_SIM_SUNMOON_H

#include "sim/Geometry.h"

namespace sim {

Vec3 SunPosition(long double t);   // Earth-fixed, m, at GPS seconds t
Vec3 MoonPosition(long double t);  // Earth-fixed, m, at GPS seconds t

}  // namespace sim

#endif
