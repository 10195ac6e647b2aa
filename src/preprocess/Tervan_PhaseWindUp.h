#ifndef TERVAN_PREPROCESS_TERVAN_PHASEWINDUP_H
#define TERVAN_PREPROCESS_TERVAN_PHASEWINDUP_H

#include "driver/TervanC.h"

// Phase wind-up correction of the carrier phases.
void PhaseWindUp(TervanC& tc);

#endif
