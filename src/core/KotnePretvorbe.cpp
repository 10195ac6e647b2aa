#include "core/KotnePretvorbe.h"

#include <cmath>
#include <cstdio>

double deg2rad(double x) {
  return x / 180.0 * 3.141592653589793;
}
long double deg2rad(long double x) {
  return x / 180.0L * kPi;
}
double rad2deg(double x) {
  return x * 180.0 / 3.141592653589793;
}
long double rad2deg(long double x) {
  return x * 180.0L / kPi;
}

long double dms2deg(short d, short m, double s) {
  const long double deg = d < 0 ? d - m / 60.0L - s / 3600.0L : d + m / 60.0L + s / 3600.0L;
  return deg2rad(deg);
}

long double dms2rad(long double x) {
  const long double ax = std::fabs(x);
  const long double d = std::floor(ax);
  const long double a = (ax - d) * 100.0L;
  long double m = std::floor(a);
  long double s = (a - m) * 100.0L;
  // 46.3 is stored as 46.2999...: its seconds come out as 99.99... and are the
  // next full minute.
  if (100.0L - s < 1e-9L) {
    m += 1.0L;
    s = 0.0L;
  }
  const long double r = deg2rad(d + m / 60.0L + s / 3600.0L);
  return x < 0.0L ? -r : r;
}

long double rad2dms(long double x) {
  const long double deg = rad2deg(std::fabs(x));
  long double d = std::floor(deg);
  const long double frac = (deg - d) * 60.0L;
  long double m = std::floor(frac);
  long double s = (frac - m) * 60.0L;
  if (std::fabs(s - 60.0L) < 1e-13L) {
    m += 1.0L;
    s = 0.0L;
  }
  if (m == 60.0L) {
    m = 0.0L;
    d += 1.0L;
  }
  const long double r = d + m / 100.0L + s / 10000.0L;
  return x < 0.0L ? -r : r;
}

std::string dms2dms(long double x, int ndec) {
  if (ndec < 0) ndec = 0;
  if (ndec > 12) ndec = 12;
  const long double ax = std::fabs(x);
  if (!(ax < 1e9L)) return "NaN";
  long d = static_cast<long>(std::floor(ax));
  const long double a = (ax - d) * 100.0L;
  long m = static_cast<long>(std::floor(a));
  long double s = (a - m) * 100.0L;
  // A packed value such as 10.3 is stored as 10.2999...; its seconds come out
  // as 99.99... and belong to the next minute, as do seconds that would print
  // as 60.
  const long double printTolerance = 0.5L * std::pow(10.0L, -ndec);
  if (std::fabs(s - 100.0L) < printTolerance || std::fabs(s - 60.0L) < printTolerance) {
    s = 0.0L;
    m += 1;
  }
  if (m == 60) {
    m = 0;
    d += 1;
  }
  char format[32];
  std::snprintf(format, sizeof format, "%%3ld%%%d.%dLf", ndec + 4, ndec);
  char text[96];
  char degrees[24];
  if (x < 0.0L && d == 0)
    std::snprintf(degrees, sizeof degrees, " -%1d", 0);
  else
    std::snprintf(degrees, sizeof degrees, "%3ld", x < 0.0L ? -d : d);
  std::snprintf(text, sizeof text, format, m, s);
  return std::string(degrees) + text;
}
