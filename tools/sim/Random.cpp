#include "sim/Random.h"

#include <cmath>

#include "sim/Constants.h"

namespace sim {

std::uint64_t Random::Hash(std::uint64_t key) {
  std::uint64_t z = key + 0x9e3779b97f4a7c15ULL;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

long double Random::Uniform() {
  return static_cast<long double>(engine_() >> 11) * (1.0L / 9007199254740992.0L);
}

long double Random::Uniform(long double a, long double b) {
  return a + (b - a) * Uniform();
}

long Random::Integer(long lo, long hi) {
  const unsigned long span = static_cast<unsigned long>(hi - lo) + 1UL;
  return lo + static_cast<long>(engine_() % span);
}

long double Random::Normal(long double sigma) {
  if (hasSpare_) {
    hasSpare_ = false;
    return sigma * spare_;
  }
  // Box-Muller on two uniform deviates; u1 is kept away from zero.
  const long double u1 = (static_cast<long double>(engine_() >> 11) + 0.5L) / 9007199254740992.0L;
  const long double u2 = Uniform();
  const long double r = std::sqrt(-2.0L * std::log(u1));
  spare_ = r * std::sin(2.0L * kPi * u2);
  hasSpare_ = true;
  return sigma * r * std::cos(2.0L * kPi * u2);
}

}  // namespace sim
