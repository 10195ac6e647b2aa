#ifndef TERVAN_PREPROCESS_TERVAN_APPLYCORRECTIONS_H
#define TERVAN_PREPROCESS_TERVAN_APPLYCORRECTIONS_H

#include "driver/TervanC.h"

// Satellite geometry and model corrections of every observation record at both stations.
void ApplyCorrections(TervanC& tc);

#endif
