#include "atmosphere/gTM_Hopfield.h"

#include "atmosphere/TropoFormulas.h"

gTM_Hopfield::gTM_Hopfield() : K1(1.55208L), T(stdAtm::T0), Hd(0.0L), g(1.0L) {}

void gTM_Hopfield::SetAtmParams(long double lat, long double h) {
  T = stdAtm::T0 - 0.0065L * (h - stdAtm::h0);
  g = TropGravityFactor(lat, h);
}

void gTM_Hopfield::GetZenithDelay(long double& tdry, long double& twet) {
  const long double TK0 = stdAtm::T0 + 273.16L;
  Hd = 148.72L * T + 40136.0L;
  tdry = K1 * 1e-5L * stdAtm::p0 / TK0 * Hd / g;
  twet = (-0.0282L * stdAtm::e0 / TK0 + 830.72L * stdAtm::e0 / (TK0 * TK0)) / g;
}
