#include "atmosphere/gpt2_grd.h"

#include <cmath>

#include "atmosphere/TropoFormulas.h"
#include "core/ProgramError.h"

namespace gpt2ns {
long double scale = 1.0L;
}

gpt2_grd::gpt2_grd() : V{0.0L, 0.0L, 0.0L, 0.0L, 0.0L} {}

void gpt2_grd::Set(const long double* values) {
  for (int i = 0; i < N; i++) V[i] = values[i] * gpt2ns::scale;
}

long double gpt2_grd::operator()(int i) const {
  if (i < 0 || i >= N) ClassError("gpt2_grd", "GRD::OPERATOR() INPUT INDEX NOT IN RAGNE!");
  return V[i];
}

long double gpt2_grd::Seasonal(long double t) const {
  const long double w = 2.0L * tropns::pi * t / 365.25L;
  return V[0] + V[1] * std::cos(w) + V[2] * std::sin(w) + V[3] * std::cos(2.0L * w) +
         V[4] * std::sin(2.0L * w);
}
