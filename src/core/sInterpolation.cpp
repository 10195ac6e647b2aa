#include "core/sInterpolation.h"

long double SetP(long double x, long double a, long double b) {
  if (b == a) return 1.0L;
  return (b - x) / (b - a);
}

long double SetXN(long double x, long double a, long double b) {
  if (b == a) return 0.0L;
  return (x - a) / (b - a);
}

long double LinearInterpolate(long double p1, long double y1, long double p2, long double y2) {
  return p1 * y1 + p2 * y2;
}

long double LinearInterpolate(long double x, long double a, long double b, long double y1,
                              long double y2) {
  const long double p = SetP(x, a, b);
  return LinearInterpolate(p, y1, 1.0L - p, y2);
}

long double BiLinearInterpolate(long double x, long double y, long double a, long double b,
                                long double y1, long double y2, long double z11, long double z21,
                                long double z22, long double z12) {
  const long double p = SetP(x, a, b);
  const long double zA = p * z11 + (1.0L - p) * z21;
  const long double zB = p * z12 + (1.0L - p) * z22;
  const long double q = SetP(y, y1, y2);
  return q * zA + (1.0L - q) * zB;
}

long double QuadraticInterpolate(long double x, long double a, long double b, long double c,
                                 long double y0, long double y1, long double y2) {
  return y0 * (x - b) * (x - c) / ((a - b) * (a - c)) +
         y1 * (x - a) * (x - c) / ((b - a) * (b - c)) +
         y2 * (x - a) * (x - b) / ((c - a) * (c - b));
}

long double CubicInterpolate(long double x, long double a, long double b, long double c,
                             long double d, long double y0, long double y1, long double y2,
                             long double y3) {
  return y0 * (x - b) * (x - c) * (x - d) / ((a - b) * (a - c) * (a - d)) +
         y1 * (x - a) * (x - c) * (x - d) / ((b - a) * (b - c) * (b - d)) +
         y2 * (x - a) * (x - b) * (x - d) / ((c - a) * (c - b) * (c - d)) +
         y3 * (x - a) * (x - b) * (x - c) / ((d - a) * (d - b) * (d - c));
}

void SetP(long double a, long double b, long double c, long double d, long double y0,
          long double y1, long double y2, long double y3, long double& p0, long double& p1,
          long double& p2, long double& p3) {
  // Slopes at b and c per unit of t, which runs from 0 at b to 1 at c.
  const long double m1 = (y2 - y0) / (c - a) * (c - b);
  const long double m2 = (y3 - y1) / (d - b) * (c - b);
  p0 = m2 + m1 + 2.0L * y1 - 2.0L * y2;
  p1 = -3.0L * y1 + 3.0L * y2 - 2.0L * m1 - m2;
  p2 = m1;
  p3 = y1;
}

long double CubicInterpolate(long double t, long double p0, long double p1, long double p2,
                             long double p3) {
  return p0 * t * t * t + p1 * t * t + p2 * t + p3;
}
