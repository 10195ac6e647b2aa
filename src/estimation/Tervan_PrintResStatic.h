#ifndef TERVAN_ESTIMATION_TERVAN_PRINTRESSTATIC_H
#define TERVAN_ESTIMATION_TERVAN_PRINTRESSTATIC_H

#include "driver/TervanC.h"

// Binary file of the residuals of the static solution.
void PrintResStatic(TervanC& tc);

#endif
