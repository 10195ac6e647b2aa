#ifndef TERVAN_PREPROCESS_TERVAN_GETINITPOS_H
#define TERVAN_PREPROCESS_TERVAN_GETINITPOS_H

#include "driver/TervanC.h"

// Receiver properties: stations, span of the data, a-priori positions of the reference points,
// baseline and station unit vectors.
void GetReceiverProperties(TervanC& tc);

#endif
