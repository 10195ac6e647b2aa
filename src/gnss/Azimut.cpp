#include "gnss/Azimut.h"

#include <cmath>

#include "core/KotnePretvorbe.h"

long double Azimuth(long double x1, long double y1, long double x2, long double y2) {
  long double dx = x2 - x1, dy = y2 - y1;
  if (std::fabs(dx) < 1e-14L) dx = 0.0L;
  if (std::fabs(dy) < 1e-14L) dy = 0.0L;
  if (dx > 0.0L) {
    if (dy > 0.0L) return std::atan(dx / dy);
    if (dy == 0.0L) return kPi / 2.0L;
    return std::atan(dx / dy) + kPi;
  }
  if (dx == 0.0L) return dy < 0.0L ? kPi : 0.0L;
  if (dy > 0.0L) return std::atan(dx / dy) + 2.0L * kPi;
  if (dy == 0.0L) return 3.0L * kPi / 2.0L;
  return std::atan(dx / dy) + kPi;
}
