#ifndef TERVAN_ESTIMATION_TERVAN_SETUNKNOWNS_H
#define TERVAN_ESTIMATION_TERVAN_SETUNKNOWNS_H

#include "driver/TervanC.h"

// Largest troposphere or gradient grid (nodes per station): a day at one minute
// has 1441 nodes; finer grids would only blow up the normal matrix.
constexpr long MaxTropoNodes = 2000;

// Shortest baseline (metres) on which both stations' zenith delays can be separated
// without a constraint on the BASE.
constexpr long double MinBaselineFreeTropo = 100000.0L;

// The vector of unknowns, its index tables and constraints.
void SetUnknowns(TervanC& tc);

// Code-bias unknowns of every satellite and type, indices given after ix (ix advances).
void SetUnknowns_SatDCB(TervanC& tc, long& ix);

// Grid of troposphere epochs every tI seconds, shifted by tS seconds from the start of
// the day of eS, from at or before eS to strictly after eE.
void SetTropoIntervals(mjd& eS, mjd& eE, long double tI, long double tS, matrix<mjd>& tropoEpochs,
                       long& nTEpochs);

// Zero-sum constraint rows of the code biases of each system, bordering NFin.
void SetDCBConstraints(TervanC& tc);

#endif
