#ifndef TERVAN_PREPROCESS_TERVAN_PROCCLOCK_H
#define TERVAN_PREPROCESS_TERVAN_PROCCLOCK_H

#include "driver/TervanC.h"

// A-priori receiver clock differences from the codes, with outlier screening.
void ProcClock(TervanC& tc);

#endif
