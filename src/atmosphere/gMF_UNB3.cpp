#include "atmosphere/gMF_UNB3.h"

#include <cmath>

#include "atmosphere/TropoFormulas.h"

gMF_UNB3::gMF_UNB3() {
  SetAtmParams(0.0L, 0.0L);
}

void gMF_UNB3::SetAtmParams(long double lat, long double h) {
  ad = (1.18972L - 2.6855e-5L * h + 0.10664L * std::cos(lat)) / 1000.0L;
  bd = 0.0035716L;
  cd = 0.082456L;
  aw = (0.61120L - 3.5348e-5L * h - 0.01526L * std::cos(lat)) / 1000.0L;
  bw = 0.0018576L;
  cw = 0.062741L;
}

void gMF_UNB3::GetMappFunction(long double E, long double& mfdry, long double& mfwet) const {
  const long double sE = std::sin(E);
  mfdry = TropMappingFractionSin(sE, ad, bd, cd);
  mfwet = TropMappingFractionSin(sE, aw, bw, cw);
}
