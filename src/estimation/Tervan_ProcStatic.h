#ifndef TERVAN_ESTIMATION_TERVAN_PROCSTATIC_H
#define TERVAN_ESTIMATION_TERVAN_PROCSTATIC_H

#include "driver/TervanC.h"

// Static least-squares solution with the receiver clocks eliminated epoch by epoch.
void ProcStatic(TervanC& tc);

#endif
