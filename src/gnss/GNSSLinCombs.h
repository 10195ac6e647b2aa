// Linear combinations of two-frequency observations.
//
// Phases L1, L2 in cycles, codes P1, P2 (and C1) in metres, results in metres.
// Wavelengths and coefficients are the current GLC values. The gnssobs versions
// are built from gnssobs arithmetic: a missing input gives a missing (0) result
// and the result carries no flags.
#ifndef TERVAN_GNSS_GNSSLINCOMBS_H
#define TERVAN_GNSS_GNSSLINCOMBS_H

#include "gnss/gnssobs.h"

// Ionosphere-free phase: LCion1*lamb1*L1 - LCion2*lamb2*L2.
long double GNSS_L3(const long double& L1, const long double& L2);
gnssobs GNSS_L3(const gnssobs& L1, const gnssobs& L2);
// Ionosphere-free code: LCion1*P1 - LCion2*P2.
long double GNSS_P3(const long double& P1, const long double& P2);
gnssobs GNSS_P3(const gnssobs& P1, const gnssobs& P2);
// Ionosphere-free code with the fixed GLONASS coefficients 2.53125, 1.53125.
long double GNSS_P3R(const long double& P1, const long double& P2);
gnssobs GNSS_P3R(const gnssobs& P1, const gnssobs& P2);
// Geometry-free phase: lamb1*L1 - lamb2*L2.
long double GNSS_L4(const long double& L1, const long double& L2);
gnssobs GNSS_L4(const gnssobs& L1, const gnssobs& L2);
// Geometry-free code: P2 - P1.
long double GNSS_P4(const long double& P1, const long double& P2);
gnssobs GNSS_P4(const gnssobs& P1, const gnssobs& P2);
// Wide-lane phase: LCwl1*lamb1*L1 - LCwl2*lamb2*L2.
long double GNSS_L5(const long double& L1, const long double& L2);
gnssobs GNSS_L5(const gnssobs& L1, const gnssobs& L2);
// Wide-lane code: LCwl1*P1 - LCwl2*P2.
long double GNSS_P5(const long double& P1, const long double& P2);
gnssobs GNSS_P5(const gnssobs& P1, const gnssobs& P2);
// Narrow-lane phase: LCnl1*lamb1*L1 + LCnl2*lamb2*L2.
long double GNSS_NLL(const long double& L1, const long double& L2);
gnssobs GNSS_NLL(const gnssobs& L1, const gnssobs& L2);
// Narrow-lane code: LCnl1*P1 + LCnl2*P2.
long double GNSS_NLP(const long double& P1, const long double& P2);
gnssobs GNSS_NLP(const gnssobs& P1, const gnssobs& P2);
// Melbourne-Wuebbena: wide-lane phase minus narrow-lane code.
long double GNSS_MW(const long double& L1, const long double& L2, const long double& P1,
                    const long double& P2);
gnssobs GNSS_MW(const gnssobs& L1, const gnssobs& L2, const gnssobs& P1, const gnssobs& P2);
// Code minus phase: C1 - lamb1*L1.
long double GNSS_CL1(const long double& C1, const long double& L1);
gnssobs GNSS_CL1(const gnssobs& C1, const gnssobs& L1);
// Code-phase mean: C1/2 + lamb1*L1/2.
long double GNSS_CLI(const long double& C1, const long double& L1);
gnssobs GNSS_CLI(const gnssobs& C1, const gnssobs& L1);

#endif
