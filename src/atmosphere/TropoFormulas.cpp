#include "atmosphere/TropoFormulas.h"

#include <cmath>

long double TropGravityFactor(long double lat, long double h) {
  return 1.0L - 0.0026L * std::cos(2.0L * lat) - 0.00028L * h / 1000.0L;
}

long double TropMappingFraction(long double E, long double a, long double b, long double c) {
  return TropMappingFractionSin(std::sin(E), a, b, c);
}

long double TropMappingFractionSin(long double sE, long double a, long double b, long double c) {
  return (1.0L + a / (1.0L + b / (1.0L + c))) / (sE + a / (sE + b / (sE + c)));
}

long double TropHeightCorrectionSin(long double sE, long double h, long double a, long double b,
                                    long double c) {
  return (1.0L / sE - TropMappingFractionSin(sE, a, b, c)) * h / 1000.0L;
}

long double TropSeasonDay(long mjday) {
  return static_cast<long double>(mjday - 44239 + 1 - 28);
}

long double TropVapourPressure(long double rh, long double TK) {
  return rh / 100.0L * std::exp(0.213166L * TK - 37.2456L - 0.000256908L * TK * TK);
}

void TropSaastamoinenDelays(long double p, long double TK, long double e, long double g,
                            long double& tdry, long double& twet) {
  tdry = 0.002277L * p / g;
  twet = 0.002277L * (1255.0L / TK + 0.05L) * e / g;
}
