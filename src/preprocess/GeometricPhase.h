// Carrier phases of the single differences against the computed geometry, for
// the cycle-slip search and the connection of ambiguities.
//
// Per satellite and carrier: lambda L minus the computed single-difference
// range [m], less the change from epoch to epoch that all satellites share
// (receiver clocks and whatever moves every satellite alike), taken robustly
// across the satellites of both epochs. What is left drifts slowly (a-priori
// coordinate errors, troposphere, ionosphere) except where the phase slips:
// there it steps by whole wavelengths of L1 and of the second carrier, a
// decimetre or more, even where the Melbourne-Wuebbena means and the L4 fit
// of a low satellite hide the slip in their noise.
#ifndef TERVAN_PREPROCESS_GEOMETRICPHASE_H
#define TERVAN_PREPROCESS_GEOMETRICPHASE_H

#include <vector>

#include "driver/TervanC.h"
#include "preprocess/StageRecords.h"

class GeometricPhase {
 public:
  // Shared changes from the records above the elevation limit of the run; the
  // phases of every step are read from tc later, so that repairs are seen.
  // Nothing is available without the per-record geometry.
  explicit GeometricPhase(const TervanC& tc);
  bool Available() const { return available_; }

  // A jump of both carriers at a break, in cycles, with its sigmas.
  struct Jump {
    long double n1 = 0, n2 = 0;
    long double s1 = 0, s2 = 0;
    // Both jumps lie within a quarter cycle of their integers and four sigmas
    // from the half-way points to the neighbours.
    bool Resolved() const;
  };

  // The jump of satellite sat from epochs e0 .. ea to epochs eb .. e1: one
  // quadratic in time with a step at the break (the drift that an a-priori
  // ROVER position metres off gives a low satellite is curved over minutes),
  // fitted per carrier to up to `side` values on each side next to it. False when either side has fewer than 3
  // values or the shared changes do not connect the two sides.
  bool JumpAt(short sat, long e0, long ea, long eb, long e1, Jump& j) const;

  // Epochs inside e0 .. e1 at which the phases of satellite sat step by at
  // least half a cycle beyond four sigmas (the first epoch after each step).
  std::vector<long> Slips(short sat, long e0, long e1) const;

  long side = 10;  // values on each side of a fit

 private:
  struct Value {
    long epoch;
    long double t;       // s from the first epoch
    long double y1, y2;  // reduced phases [m]
  };
  bool Usable(long r, long double& m1, long double& m2) const;
  std::vector<Value> Series(short sat, long e0, long e1) const;
  // Fits values [a, q) before and [q, b) after the break; false when too few.
  bool Fit(const std::vector<Value>& v, long a, long q, long b, short sat, Jump& j) const;

  const TervanC& tc_;
  bool available_ = false;
  long double limit_ = 0;                       // elevation limit [rad]
  std::vector<long double> shared1_, shared2_;  // summed shared changes per epoch [m]
  std::vector<long> segment_;                   // epochs joined by shared changes
  std::vector<std::vector<stagerec::SatRecord>> bySat_;
  std::vector<long> index_;  // satellite number -> row of bySat_
};

#endif
