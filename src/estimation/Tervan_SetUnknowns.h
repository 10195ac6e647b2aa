#ifndef TERVAN_ESTIMATION_TERVAN_SETUNKNOWNS_H
#define TERVAN_ESTIMATION_TERVAN_SETUNKNOWNS_H

#include "driver/TervanC.h"

// The vector of unknowns, its index tables and constraints.
void SetUnknowns(TervanC& tc);

#endif
