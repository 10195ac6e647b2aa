#include "atmosphere/gTM_Hopfield.h"

#include <cmath>

#include "atmosphere/TropoFormulas.h"

gTM_Hopfield::gTM_Hopfield()
    : K1(1.55208L), T(stdAtm::T0), Hd(0.0L), g(1.0L), p(stdAtm::p0), e(stdAtm::e0) {}

void gTM_Hopfield::SetAtmParams(long double lat, long double h) {
  // The standard atmosphere (50 % relative humidity at sea level) at the station height.
  const long double dh = h - stdAtm::h0;
  T = stdAtm::T0 - 0.0065L * dh;
  p = stdAtm::p0 * std::pow(1.0L - 2.26e-5L * dh, 5.225L);
  const long double TK = T + 273.16L;
  const long double rh = stdAtm::H0 / 100.0L * std::exp(-6.396e-4L * dh);
  e = rh * 6.108L * std::exp((17.15L * TK - 4684.0L) / (TK - 38.45L));
  g = TropGravityFactor(lat, h);
}

void gTM_Hopfield::GetZenithDelay(long double& tdry, long double& twet) {
  const long double TK = T + 273.16L;
  Hd = 148.72L * T + 40136.0L;
  tdry = K1 * 1e-5L * p / TK * Hd / g;
  twet = (-0.0282L * e / TK + 830.72L * e / (TK * TK)) / g;
}
