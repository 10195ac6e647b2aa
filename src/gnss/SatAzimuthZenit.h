// Direction of a satellite seen from a station: azimuth from north toward east
// and zenith distance or elevation [rad], in the local frame of the station on
// the given ellipsoid.
#ifndef TERVAN_GNSS_SATAZIMUTHZENIT_H
#define TERVAN_GNSS_SATAZIMUTHZENIT_H

#include "gnss/elipsoid.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"

// When station and satellite coincide no direction exists: the satellite is then
// put at the nadir (Z = pi, E = -pi/2, A = 0) so that every elevation mask drops it.
void SatelliteAzimuthZenith(const xyz& station, const xyzt& satellite, const elipsoid& ell,
                            long double& Z, long double& A);
void SatelliteAzimuthElevation(const xyz& station, const xyzt& satellite, const elipsoid& ell,
                               long double& E, long double& A);

#endif
