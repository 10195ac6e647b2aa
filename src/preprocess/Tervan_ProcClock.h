#ifndef TERVAN_PREPROCESS_TERVAN_PROCCLOCK_H
#define TERVAN_PREPROCESS_TERVAN_PROCCLOCK_H

#include "driver/TervanC.h"

// A-priori receiver clock differences from the codes, with outlier screening:
// dtAll(epoch) = ROVER minus BASE clock [m], 0 for an epoch without usable codes.
void ProcClock(TervanC& tc);

// Robust mean of the n values f by iterative reweighting (weight 1/(v^2 + 1) of
// the deviation v from the current mean, until the mean moves by less than
// 0.1 mm); fo[i] tells whether f[i] lies farther than ThresBlunder from it.
long double FindOutliers(long double* f, bool* fo, long& n, long double ThresBlunder);

#endif
