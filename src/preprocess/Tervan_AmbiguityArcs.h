// Pieces shared by the ambiguity setup and the connection of ambiguities: the
// carrier wavelengths of a satellite, the walk over the observations of one arc,
// the a-priori (code minus phase) ambiguity values and the ambiguity table.
#ifndef TERVAN_PREPROCESS_TERVAN_AMBIGUITYARCS_H
#define TERVAN_PREPROCESS_TERVAN_AMBIGUITYARCS_H

#include "driver/TervanC.h"

// Wide-lane, first and second carrier wavelengths of a satellite [m] (GPS L1/L2,
// GLONASS G1/G2 of its channel, Galileo E1/E5b). False for numbers above 299 and
// for a GLONASS satellite whose channel is unknown.
bool SatWavelengths(short sat, long double& lWL, long double& l1, long double& l2);

// Calls f(epoch index, record index) for every record of satellite sat in the
// epochs e0 .. e1, the records of epoch e0 starting at off0.
template <class F>
void ForEachArcRecord(const PhsDiffData& d, short sat, long e0, long off0, long e1, F f) {
  long off = off0;
  for (long e = e0; e <= e1 && e < d.neph; ++e) {
    for (long r = off; r < off + d.nsat(e) && r < d.nobs; ++r)
      if (d.sat(r) == sat) {
        f(e, r);
        break;
      }
    off += d.nsat(e);
  }
}

// Code of the a-priori ambiguities and of the Melbourne-Wuebbena combination at
// record r: C1, or P1 where C1 is absent. False when neither is present; usedP1
// tells which one was taken.
bool FirstCode(const PhsDiffData& d, long r, long double& code, bool& usedP1);

// Sums of code minus carrier range over one arc (L1, L2/L7, L3) [m] and counts.
struct AprioriSums {
  long double sum[3] = {0, 0, 0};
  long n[3] = {0, 0, 0};
  long nP1 = 0;  // observations whose code was P1 (no C1)
};
AprioriSums ArcAprioriSums(TervanC& tc, short sat, long e0, long off0, long e1);

// Rebuilds the fast ambiguity search of the context from AmbIndex/AmbSat.
void RebuildAmbFind(TervanC& tc);

// The ambiguity table under a sub-sub-sub-title: one row per ambiguity (of the
// systems in use only, when onlyUsed), an empty line where the satellite changes.
void PrintAmbiguityTable(TervanC& tc, const char* title, bool onlyUsed);

#endif
