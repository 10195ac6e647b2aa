#ifndef TERVAN_PREPROCESS_TERVAN_ECLIPSING_H
#define TERVAN_PREPROCESS_TERVAN_ECLIPSING_H

#include "driver/TervanC.h"

// Removal of the phases of eclipsing satellites.
void GetEclipsing(TervanC& tc);

#endif
