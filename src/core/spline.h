// Cubic spline through tabulated values, with the end slopes taken from the
// parabolas through the first three and the last three points.
#ifndef TERVAN_CORE_SPLINE_H
#define TERVAN_CORE_SPLINE_H

#include "core/matrix.h"

// Second derivatives S (n x 1) of the spline through the nodes X (ascending) with
// values U. With fewer than four nodes S stays zero and the spline is the
// broken line through the points.
void spline(const matrix<long double>& X, const matrix<long double>& U, matrix<long double>& S);

// Value of the spline at Y; outside the nodes the end values (no extrapolation).
long double Evaluate(const matrix<long double>& X, const matrix<long double>& U, long double Y,
                     const matrix<long double>& S);

// Slope at a point of the parabola through it and two more points given by their
// differences (x1, u1) and (x2, u2) from it.
long double Qfun(long double u1, long double x1, long double u2, long double x2);

#endif
