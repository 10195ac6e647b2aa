// Rotations between the Earth-centred frame and the local horizon frame (north,
// east, up) of an origin, for vectors and for their covariance matrices.
#ifndef TERVAN_GNSS_G_LG_H
#define TERVAN_GNSS_G_LG_H

#include "core/matrix.h"
#include "gnss/elipsoid.h"
#include "gnss/flh.h"
#include "gnss/neu.h"
#include "gnss/neut.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"

// ECEF vector [m] into the local frame at the origin's latitude and longitude.
neu g2lg(const xyz& v, const flh& origin);
// The same with a Cartesian origin, whose geodetic position is computed first.
neu g2lg(const xyz& v, const xyz& origin, const elipsoid& ell);
// Local vector [m] back into the ECEF frame.
xyz lg2g(const neu& v, const flh& origin);
xyz lg2g(const neu& v, const xyz& origin, const elipsoid& ell);
// The same for the time-carrying classes; the time term is copied.
neut gt2lgt(const xyzt& v, const flh& origin);
neut gt2lgt(const xyzt& v, const xyz& origin, const elipsoid& ell);
xyzt lgt2gt(const neut& v, const flh& origin);
xyzt lgt2gt(const neut& v, const xyz& origin, const elipsoid& ell);

// Covariance matrix S of an ECEF vector [m^2, at least 3x3, symmetric; its
// diagonal and upper triangle are used] into the local frame: Syy = R S R^T,
// with R the rows north, east, up. Syy becomes 3x3.
void g2lg(const matrix<long double>& S, const flh& origin, matrix<long double>& Syy);

#endif
