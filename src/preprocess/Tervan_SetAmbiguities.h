#ifndef TERVAN_PREPROCESS_TERVAN_SETAMBIGUITIES_H
#define TERVAN_PREPROCESS_TERVAN_SETAMBIGUITIES_H

#include "driver/TervanC.h"

// Ambiguity arcs with their a-priori values: the arcs found by the L4 and
// Melbourne-Wuebbena screening of the single differences, the table of a-priori
// values, and the removal of every phase that belongs to no arc.
void SetAmbiguities(TervanC& tc);

// Index of the ambiguity of satellite prn at epoch ieph: the smallest k < namb with AP(k) == prn
// and AI(k,0) <= ieph <= AI(k,2); -1 when there is none. A linear search over the list.
void GetAmbIndex(short& prn, long& ieph, matrix<long>& AI, matrix<short>& AP, long& namb,
                 long& iamb);

// The same answer for the context's current ambiguity list (AmbIndex, AmbSat) in
// O(log n) through tc.AmbFind, which SetAmbiguities and ConAmbiguities keep up to
// date. The estimation calls this one for every observation:
//   long iamb = GetAmbIndex(tc, prn, ieph);
long GetAmbIndex(const TervanC& tc, short prn, long ieph);

// Arc limits from the sampling interval dt [s]: the largest gap inside one arc
// [s] and the smallest number of observations of an arc.
void ArcLimits(long double dt, long double& maxGap, long& minObs);

// Sampling interval for the arc limits [s]: the header's interval, or the most
// frequent spacing of the epochs when the header's is less than half of it (for
// example 0 after two equal epochs). changed tells that the header's was replaced.
long double ArcInterval(const PhsDiffData& d, bool& changed);

#endif
