#ifndef TERVAN_PREPROCESS_TERVAN_CONAMBIGUITIES_H
#define TERVAN_PREPROCESS_TERVAN_CONAMBIGUITIES_H

#include "driver/TervanC.h"

// Cycle slips between consecutive arcs: detection, repair and joining of arcs.
void ConAmbiguities(TervanC& tc);

#endif
