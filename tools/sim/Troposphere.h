// Troposphere of one station: an a-priori hydrostatic and wet zenith delay, a wet
// delay that wanders in time, and north/east gradients that vary slowly.
// Mapping: continued fractions with mid-latitude coefficients; gradients with
// 1 / (sin e tan e + 0.0032).
// With nodes (a spacing in seconds), the troposphere is one Tervan represents exactly:
// the wet zenith delay and the gradients are linear between nodes at 00:00 GPS time of
// the start day and every spacing on, the hydrostatic zenith delay is the Saastamoinen
// delay of the standard atmosphere and both mapping functions are Niell's, computed
// with the program's own model classes (Tervan `-tmSAAST,NIELL`).
#ifndef TERVAN_SIM_TROPOSPHERE_H
#define TERVAN_SIM_TROPOSPHERE_H

#include <vector>

#include "atmosphere/gMF_Niell.h"
#include "sim/Geometry.h"
#include "sim/SampledSeries.h"

namespace sim {

class Random;

class Troposphere {
 public:
  Troposphere() = default;
  // Delays for [start, end] (GPS seconds); `enabled` false gives no delay at all.
  Troposphere(const Geodetic& station, long double start, long double end, bool enabled,
              Random& rnd);
  // Linear between nodes `spacing` seconds apart counted from `origin` (GPS seconds);
  // Saastamoinen hydrostatic delay, Niell mapping.
  Troposphere(const Geodetic& station, long double start, long double end, long double origin,
              long double spacing, Random& rnd);

  long double Hydrostatic() const { return zhd_; }                             // zenith, m
  long double Wet(long double t) const;                                        // zenith, m
  void Gradients(long double t, long double& north, long double& east) const;  // m
  // Slant delay (m) at elevation and azimuth (rad).
  long double Slant(long double t, long double elevation, long double azimuth) const;

  static long double MapHydrostatic(long double elevation);
  static long double MapWet(long double elevation);
  static long double MapGradient(long double elevation);

 private:
  // Mapping functions (hydrostatic, wet) at GPS seconds t and elevation e.
  void Map(long double t, long double e, long double& dry, long double& wet) const;

  bool enabled_ = false;
  bool niell_ = false;  // Niell mapping of the program (nodes), else the continued fractions
  gMF_Niell niellModel_;
  long double height_ = 0;  // m, for the Niell hydrostatic height correction
  long double zhd_ = 0;
  static constexpr long double kStep = 300.0L;  // seconds between samples
  SampledSeries wet_, north_, east_;
};

}  // namespace sim

#endif
