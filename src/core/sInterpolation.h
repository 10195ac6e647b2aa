// Closed-form interpolation formulas: linear, bilinear, and Lagrange polynomials
// through three or four nodes, and a cubic between the middle two of four nodes.
// x is the argument, a, b, c, d the nodes and y0 ... y3 the values at them.
#ifndef TERVAN_CORE_SINTERPOLATION_H
#define TERVAN_CORE_SINTERPOLATION_H

// Weight of the first node, (b - x) / (b - a); 1 when the nodes coincide.
long double SetP(long double x, long double a, long double b);
// Normalised position (x - a) / (b - a); 0 when the nodes coincide.
long double SetXN(long double x, long double a, long double b);

// p1 y1 + p2 y2.
long double LinearInterpolate(long double p1, long double y1, long double p2, long double y2);
// Straight line through (a, y1) and (b, y2) at x.
long double LinearInterpolate(long double x, long double a, long double b, long double y1,
                              long double y2);
// Bilinear interpolation at (x, y) in the cell [a, b] x [y1, y2]; the first index
// of z runs along x, the second along y (z21 is the value at (b, y1)).
long double BiLinearInterpolate(long double x, long double y, long double a, long double b,
                                long double y1, long double y2, long double z11, long double z21,
                                long double z22, long double z12);
// Lagrange polynomial through three nodes.
long double QuadraticInterpolate(long double x, long double a, long double b, long double c,
                                 long double y0, long double y1, long double y2);
// Lagrange polynomial through four nodes.
long double CubicInterpolate(long double x, long double a, long double b, long double c,
                             long double d, long double y0, long double y1, long double y2,
                             long double y3);
// Coefficients of the cubic p0 t^3 + p1 t^2 + p2 t + p3 between the middle nodes
// b and c (t = SetXN(x, b, c)), with the slopes at b and c taken from their
// neighbours, (y2 - y0) / (c - a) and (y3 - y1) / (d - b), expressed per unit of t.
void SetP(long double a, long double b, long double c, long double d, long double y0,
          long double y1, long double y2, long double y3, long double& p0, long double& p1,
          long double& p2, long double& p3);
// p0 t^3 + p1 t^2 + p2 t + p3.
long double CubicInterpolate(long double t, long double p0, long double p1, long double p2,
                             long double p3);

#endif
