#include "gnss/SatAzimuthZenit.h"

#include <cmath>

#include "core/KotnePretvorbe.h"
#include "gnss/Azimut.h"
#include "gnss/g_lg.h"

namespace {

// Elevation and azimuth [rad] of the line of sight.
void Direction(const xyz& station, const xyzt& satellite, const elipsoid& ell, long double& E,
               long double& A) {
  xyz v = satellite;
  v -= station;
  const long double length = v.GetLength();
  if (!(length > 0.0L)) {
    E = -kPi / 2.0L;
    A = 0.0L;
    return;
  }
  v /= length;
  const neu local = g2lg(v, station, ell);
  E = std::asin(local.GetU() / local.GetLength());
  A = Azimuth(0.0L, 0.0L, local.GetE(), local.GetN());
}

}  // namespace

void SatelliteAzimuthZenith(const xyz& station, const xyzt& satellite, const elipsoid& ell,
                            long double& Z, long double& A) {
  long double E;
  Direction(station, satellite, ell, E, A);
  Z = kPi / 2.0L - E;
}

void SatelliteAzimuthElevation(const xyz& station, const xyzt& satellite, const elipsoid& ell,
                               long double& E, long double& A) {
  Direction(station, satellite, ell, E, A);
}
