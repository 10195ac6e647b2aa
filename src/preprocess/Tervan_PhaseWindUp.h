#ifndef TERVAN_PREPROCESS_TERVAN_PHASEWINDUP_H
#define TERVAN_PREPROCESS_TERVAN_PHASEWINDUP_H

#include "driver/TervanC.h"
#include "gnss/xyz.h"

// Phase wind-up correction of the carrier phases (L1, L2, L7 in cycles, L3 in
// metres) of both stations, when phases are processed and wind-up is switched on.
void PhaseWindUp(TervanC& tc);

// 1, -1 or 0 for a positive, negative or zero value.
long double sign(long double x);

// Wind-up angle [cycles, -0.5 to 0.5] of one line of sight k (unit vector from
// the satellite to the station) for the satellite body axes ex, ey and the
// receiver dipole axes x (north) and y (west), all unit vectors in ECEF. Returns
// false when a dipole has no direction across the line of sight.
bool WindUpCycles(const xyz& k, const xyz& ex, const xyz& ey, const xyz& x, const xyz& y,
                  long double& w);

#endif
