// The nominal yaw-steering attitude of a satellite and what follows from it: the
// body axes, the phase wind-up of a receiver-satellite pair and the angle at the
// satellite between the Sun and the Earth's centre (small near an eclipse or noon
// turn, where the real attitude leaves the nominal one).
#ifndef TERVAN_SIM_ATTITUDE_H
#define TERVAN_SIM_ATTITUDE_H

#include "sim/Geometry.h"

namespace sim {

// Body axes (Earth-fixed unit vectors): ez toward the Earth's centre, ey normal to
// the plane of the Earth, the satellite and the Sun, ex completing the right-handed
// frame (on the Sun's side). Satellites of the GPS block IIR family turn ex and ey
// the other way round.
void BodyAxes(const Vec3& sat, const Vec3& sun, bool iir, Vec3& ex, Vec3& ey, Vec3& ez);

// Phase wind-up (cycles, in (-0.5, 0.5]) of the signal of a satellite at `sat` seen
// by a station at `station` whose crossed dipoles point north and west (Wu et al.
// 1993, Manuscripta Geodaetica 18, 91-98): the angle between the effective dipoles
// of the two antennas, signed by the sense of rotation about the line of sight.
long double WindUp(const Vec3& sat, const Vec3& sun, bool iir, const Vec3& station,
                   const Geodetic& geo);

// Angle (rad, 0 to pi/2) at the satellite between the directions to the Sun and to
// the Earth's centre, folded so that opposite directions count as aligned.
long double SunEarthAngle(const Vec3& sat, const Vec3& sun);

}  // namespace sim

#endif
