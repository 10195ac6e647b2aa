#ifndef TERVAN_PREPROCESS_TERVAN_CONAMBIGUITIES_H
#define TERVAN_PREPROCESS_TERVAN_CONAMBIGUITIES_H

#include "driver/TervanC.h"

// Cycle slips between consecutive arcs of a satellite closer than 300 s: the
// integer jumps of the wide lane (Melbourne-Wuebbena) and of L2 (L4 with the
// wide lane) across the break; when both are resolved, the later arc is
// repaired and joined to the earlier one. Then the a-priori values of every arc
// are computed again and the final ambiguity list is printed.
void ConAmbiguities(TervanC& tc);

// Melbourne-Wuebbena jump from arc iamb-1 to arc iamb and its sigma, in
// wide-lane cycles (lWL: wide-lane wavelength, m).
void GetMWCSlip(TervanC& tc, long iamb, long double lWL, long double& dMW, long double& sdMW);

// L4 jump from arc iamb-1 to arc iamb and its sigma [m], from one quadratic in
// time through the last maxObs epochs before and the first maxObs observations
// after the break with a step between them.
void GetL4CSlip(TervanC& tc, long iamb, long double& dL4, long double& sdL4, long maxObs = 10);

// Removes jumps of dL1 first-frequency and dL2 second-frequency cycles from the
// phases and phase combinations of arc iamb, which takes over the a-priori
// values of arc iamb-1.
void RepairAmb(TervanC& tc, long iamb, long double dL1, long double dL2);

// Joins every ambiguity flagged in isFixAmb to its predecessor.
void ConAmbIntervals(TervanC& tc, matrix<bool>& isFixAmb);

#endif
