// Reproducible random numbers: the same seed gives the same sequence on every
// platform (the normal deviates are made here, not by the standard library,
// whose distributions may differ between implementations).
#ifndef TERVAN_SIM_RANDOM_H
#define TERVAN_SIM_RANDOM_H

#include <cstdint>
#include <random>

namespace sim {

class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  long double Uniform();  // [0, 1)
  long double Uniform(long double a, long double b);
  long Integer(long lo, long hi);                // lo..hi inclusive
  long double Normal(long double sigma = 1.0L);  // zero mean

  // A value fixed by its key alone (SplitMix64), for draws that must not depend
  // on how many numbers were taken before them.
  static std::uint64_t Hash(std::uint64_t key);

 private:
  std::mt19937_64 engine_;
  bool hasSpare_ = false;
  long double spare_ = 0;
};

}  // namespace sim

#endif
