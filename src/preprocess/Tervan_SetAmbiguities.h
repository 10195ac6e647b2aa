#ifndef TERVAN_PREPROCESS_TERVAN_SETAMBIGUITIES_H
#define TERVAN_PREPROCESS_TERVAN_SETAMBIGUITIES_H

#include "driver/TervanC.h"

// Ambiguity arcs with their a-priori values.
void SetAmbiguities(TervanC& tc);

// Index of the ambiguity of satellite prn at epoch ieph: the smallest k < namb with AP(k) == prn
// and AI(k,0) <= ieph <= AI(k,2); -1 when there is none.
void GetAmbIndex(short& prn, long& ieph, matrix<long>& AI, matrix<short>& AP, long& namb,
                 long& iamb);

#endif
