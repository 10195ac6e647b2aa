// Troposphere of one station: an a-priori hydrostatic and wet zenith delay, a wet
// delay that wanders in time, and north/east gradients that vary slowly.
// Mapping: continued fractions with mid-latitude coefficients; gradients with
// 1 / (sin e tan e + 0.0032).
#ifndef TERVAN_SIM_SIMTROPOSPHERE_H
#define TERVAN_SIM_SIMTROPOSPHERE_H

#include <vector>

#include "sim/Geometry.h"
#include "sim/SampledSeries.h"

namespace sim {

class Random;

class SimTroposphere {
 public:
  SimTroposphere() = default;
  // Delays for [start, end] (GPS seconds); `enabled` false gives no delay at all.
  SimTroposphere(const Geodetic& station, long double start, long double end, bool enabled,
                 Random& rnd);

  long double Hydrostatic() const { return zhd_; }                             // zenith, m
  long double Wet(long double t) const;                                        // zenith, m
  void Gradients(long double t, long double& north, long double& east) const;  // m
  // Slant delay (m) at elevation and azimuth (rad).
  long double Slant(long double t, long double elevation, long double azimuth) const;

  static long double MapHydrostatic(long double elevation);
  static long double MapWet(long double elevation);
  static long double MapGradient(long double elevation);

 private:
  bool enabled_ = false;
  long double zhd_ = 0;
  static constexpr long double kStep = 300.0L;  // seconds between samples
  SampledSeries wet_, north_, east_;
};

}  // namespace sim

#endif
