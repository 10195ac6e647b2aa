// Records of a GLONASS navigation file: 15 values per record in file order
// (-TauN, GammaN, frame time, x, vx, ax, health, y, vy, ay, channel, z, vz, az,
// age; km, km/s, km/s^2).
#ifndef TERVAN_ORBITS_GLNBEPHDATA_H
#define TERVAN_ORBITS_GLNBEPHDATA_H

#include "orbits/NavData.h"

class GLNbEphData : public NavData<15> {};

#endif
