// Conversions between Cartesian ECEF coordinates [m] and geodetic latitude,
// longitude [rad] and ellipsoidal height [m] on a reference ellipsoid.
#ifndef TERVAN_GNSS_XYZ_FLH_H
#define TERVAN_GNSS_XYZ_FLH_H

#include "gnss/elipsoid.h"
#include "gnss/flh.h"
#include "gnss/flht.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"

flh xyz2flh(const xyz& p, const elipsoid& ell);
// As xyz2flh, iterating until latitude and height together settle; the time
// term is copied.
flht xyzt2flht(const xyzt& p, const elipsoid& ell);
xyz flh2xyz(const flh& p, const elipsoid& ell);
xyzt flht2xyzt(const flht& p, const elipsoid& ell);

#endif
