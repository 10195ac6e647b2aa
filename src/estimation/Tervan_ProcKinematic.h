#ifndef TERVAN_ESTIMATION_TERVAN_PROCKINEMATIC_H
#define TERVAN_ESTIMATION_TERVAN_PROCKINEMATIC_H

#include "driver/TervanC.h"

// Epoch-by-epoch (kinematic) ROVER solution.
void ProcKinematic(TervanC& tc);

#endif
