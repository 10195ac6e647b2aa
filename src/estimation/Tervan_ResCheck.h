#ifndef TERVAN_ESTIMATION_TERVAN_RESCHECK_H
#define TERVAN_ESTIMATION_TERVAN_RESCHECK_H

#include "driver/TervanC.h"

// Screening of the standardised residuals of the static solution.
void ResCheck(TervanC& tc);

#endif
