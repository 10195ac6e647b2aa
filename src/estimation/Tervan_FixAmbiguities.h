// Integer ambiguity resolution beside the float static solution (option -af).
//
// The single-difference ambiguities of one system and frequency share the receiver
// phase bias of that system, which is no integer; their differences are. Each arc is
// differenced with the arc of the same system (GLONASS: of the same frequency channel)
// that it overlaps longest among those already taken, starting from the longest arc:
// every arc gets a reference satellite of its own period, and the differences form an
// integer basis of all of them. GLONASS arcs of different channels stay float.
//
// L1 and L2: the double differences of both frequencies (cycles) with their covariance
// from the float cofactors go together to the integer search (Lambda), accepted when the
// second-best candidate is at least AmbRatioThres times farther than the best. When the
// full set fails, the trailing decorrelated entries with a bootstrapped success rate of
// at least 0.999 are searched alone (partial fixing). The success rates use the
// covariance scaled up by the misfit of the full set's best candidate: a float solution
// biased by unmodelled errors is not certain of integers it merely sits near.
// L3 alone (long baselines): wide-lane double differences from the Melbourne-Wuebbena
// means of the arcs, rounded when their fraction and sigma allow, then the narrow-lane
// double differences of the L3 ambiguities through the search and the ratio test.
//
// The fixed integers enter a conditional adjustment of all other unknowns:
//   x_fix = x - Q G' (G Q G')^-1 (G x - n)     G: the fixed integer functions
//   vtPv_fix = vtPv + (G x - n)' (G Q G')^-1 (G x - n), redundancy + number fixed.
#ifndef TERVAN_ESTIMATION_TERVAN_FIXAMBIGUITIES_H
#define TERVAN_ESTIMATION_TERVAN_FIXAMBIGUITIES_H

#include <vector>

#include "driver/TervanC.h"

// The stage: nothing unless -af was given and a static solution exists.
void FixAmbiguities(TervanC& tc);

// Report section of the fixed solution, after the float results.
void PrintFixedSolution(TervanC& tc);

// One double difference of ambiguities as a function of the unknowns:
//   value = (x(ix) - x(ixRef)) * scale - offset   [cycles]
struct AmbDoubleDifference {
  long arc = -1, refArc = -1;  // rows of the ambiguity list
  long ix = -1, ixRef = -1;    // unknowns
  long double scale = 1.0L;    // 1 / wavelength [1/m]
  long double offset = 0.0L;   // known part (wide-lane term of the narrow lane) [cycles]
  long double value = 0.0L;    // float value [cycles]
  int band = 1;                // 1 L1, 2 L2, 3 narrow lane of L3
};

// Double differences of the arcs of one phase (1 = L1, 2 = L2, 3 = L3 in metres with
// scale 1) among the arcs whose unknowns had observations.
std::vector<AmbDoubleDifference> FormDoubleDifferences(const TervanC& tc, int band);

#endif
