#include "atmosphere/gTM_Saastamoinen.h"

#include <cmath>

#include "atmosphere/TropoFormulas.h"

gTM_Saastamoinen::gTM_Saastamoinen() : p(0.0L), T(0.0L), H(0.0L), g(1.0L), e(0.0L) {
  SetAtmParams(0.0L, stdAtm::h0);
}

void gTM_Saastamoinen::SetAtmParams(long double lat, long double h) {
  const long double dh = h - stdAtm::h0;
  p = stdAtm::p0 * std::pow(1.0L - 2.26e-5L * dh, 5.225L);
  T = stdAtm::T0 - 0.0065L * dh + 273.16L;
  H = stdAtm::H0 * std::exp(-0.0006369L * dh);
  e = TropVapourPressure(H, T);
  g = TropGravityFactor(lat, h);
}

void gTM_Saastamoinen::GetZenithDelay(long double& tdry, long double& twet) const {
  TropSaastamoinenDelays(p, T, e, g, tdry, twet);
}
