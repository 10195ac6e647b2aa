#ifndef TERVAN_ESTIMATION_TERVAN_PROCKINEMATIC_H
#define TERVAN_ESTIMATION_TERVAN_PROCKINEMATIC_H

#include "driver/TervanC.h"

// Epoch-by-epoch (kinematic) ROVER solution: per epoch three coordinate corrections
// to the static ROVER position (ECEF, metres) and one receiver clock per satellite
// system (metres), from the observations of the static solution with every other
// parameter fixed at its final static value. Report table on standard output and,
// with -gpk, the GNUPlot kinematic file.
void ProcKinematic(TervanC& tc);

// Adds one observation with coordinate coefficients bx, by, bz, misclosure f [m] and
// weight p to the normal equations N (upper triangle), t of the epoch; the clock
// unknown ixT has the coefficient -1. ff accumulates p f^2.
void SetNormalSystem(matrix<long double>& N, matrix<long double>& t, long double& bx,
                     long double& by, long double& bz, long double& f, long double& p,
                     long double& ff, int& ixT);

#endif
