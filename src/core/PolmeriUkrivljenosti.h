// Radii of curvature of the reference ellipsoid.
#ifndef TERVAN_CORE_POLMERIUKRIVLJENOSTI_H
#define TERVAN_CORE_POLMERIUKRIVLJENOSTI_H

// Radius of curvature in the prime vertical [m] at geodetic latitude phi [rad]
// of an ellipsoid with semi-major axis a [m] and first eccentricity e.
long double PolmerN(long double phi, long double a, long double e);

#endif
