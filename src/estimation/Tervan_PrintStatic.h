#ifndef TERVAN_ESTIMATION_TERVAN_PRINTSTATIC_H
#define TERVAN_ESTIMATION_TERVAN_PRINTSTATIC_H

#include "driver/TervanC.h"

// Report and result files of the static solution.
void PrintStatic(TervanC& tc);

#endif
