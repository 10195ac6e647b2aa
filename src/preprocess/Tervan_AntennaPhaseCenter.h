#ifndef TERVAN_PREPROCESS_TERVAN_ANTENNAPHASECENTER_H
#define TERVAN_PREPROCESS_TERVAN_ANTENNAPHASECENTER_H

#include "driver/TervanC.h"

// Receiver and satellite antenna phase-centre corrections of the observations.
void ApplyATXVal(TervanC& tc);

#endif
