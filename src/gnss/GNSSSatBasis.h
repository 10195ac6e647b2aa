// Axes of the satellite body frame in the ECEF frame.
#ifndef TERVAN_GNSS_GNSSSATBASIS_H
#define TERVAN_GNSS_GNSSSATBASIS_H

#include "gnss/xyz.h"
#include "gnss/xyzt.h"

// Unit axes of the body frame of a satellite at the given ECEF position [m] with
// the Sun at sun [m]: Zv points to the Earth's centre, Yv = unit(Zv x s) with s
// the unit vector toward the Sun, Xv = unit(Yv x Zv) completes the right-handed
// frame. With the Sun on the Zv axis, Yv and Xv come out as zero vectors.
void GNSSSatBasis(xyz& Xv, xyz& Yv, xyz& Zv, const xyzt& satellite, const xyz& sun);

#endif
