#include "atmosphere/gMF_Davis.h"

#include <cmath>

#include "atmosphere/TropoFormulas.h"

gMF_Davis::gMF_Davis() {
  using namespace stdAtm;
  alpha = -5.93L - 0.0359L * T0;
  a = 0.001185L * (1.0L + 6.071e-5L * (p0 - 1000.0L) - 1.471e-4L * e0 + 3.072e-3L * (T0 - 20.0L) +
                   1.965e-2L * (alpha + 6.5L));
  b = 0.001144L * (1.0L + 1.164e-5L * (p0 - 1000.0L) + 2.795e-4L * e0 + 3.109e-3L * (T0 - 20.0L) +
                   3.038e-2L * (alpha + 6.5L));
  c = -0.009L;
}

void gMF_Davis::GetMappFunction(long double E, long double& mfdry, long double& mfwet) const {
  const long double sE = std::sin(E);
  mfdry = mfwet = 1.0L / (sE + a / (std::tan(E) + b / (sE + c)));
}
