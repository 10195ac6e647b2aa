#include "atmosphere/gMF_Chao.h"

#include <cmath>

void gMF_Chao::GetMappFunction(long double E, long double& mfdry, long double& mfwet) const {
  const long double sE = std::sin(E), tE = std::tan(E);
  mfdry = 1.0L / (sE + 0.00143L / (tE + 0.0445L));
  mfwet = 1.0L / (sE + 0.00035L / (tE + 0.017L));
}
