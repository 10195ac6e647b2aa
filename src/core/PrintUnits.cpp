#include "core/PrintUnits.h"

long double ScaleLength(long double metres, long unit) {
  if (unit == 100 || unit == 1000) return metres * unit;
  if (unit < 0) return metres / -unit;
  if (unit == 0) return metres;
  return metres / unit;
}

long double ScaleTime(long double seconds, long unit) {
  return unit > 0 ? seconds * unit : seconds;
}
