#include "atmosphere/gMF_Marini.h"

#include <cmath>

gMF_Marini::gMF_Marini() : g(1.0L), Tkz(0.0L), ksi(0.0L) {
  SetAtmParams(0.0L, 0.0L);
}

void gMF_Marini::SetAtmParams(long double lat, long double h) {
  g = 1.0L - 0.0026L * std::cos(2.0L * lat) - 0.0028L * h / 1000.0L;
  ksi = 0.02644L * std::exp(-0.14372L * h / 1000.0L) / g;
}

void gMF_Marini::GetMappFunction(long double E, long double& mfdry, long double& mfwet) const {
  const long double sE = std::sin(E);
  mfdry = mfwet = (1.0L + ksi) / (sE + (ksi / (1.0L + ksi)) / (sE + 0.015L));
}
