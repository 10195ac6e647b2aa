#ifndef TERVAN_PREPROCESS_TERVAN_SETLINCOMBINATIONS_H
#define TERVAN_PREPROCESS_TERVAN_SETLINCOMBINATIONS_H

#include "driver/TervanC.h"

// Linear combinations of the single differences.
void SetLinearCombinations(TervanC& tc);

#endif
