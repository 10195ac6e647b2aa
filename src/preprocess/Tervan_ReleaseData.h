#ifndef TERVAN_PREPROCESS_TERVAN_RELEASEDATA_H
#define TERVAN_PREPROCESS_TERVAN_RELEASEDATA_H

#include "driver/TervanC.h"

// Per-record values that no later stage of the run reads are given back as soon
// as their last reader is done (a day at 1 s holds about 2 million records, 28 MB
// per observation column, 64 MB per two-column model matrix).

// After the antenna corrections: the satellite distances, and the azimuths unless
// a residual or sky-plot file is written.
void ReleaseAntennaGeometry(TervanC& tc);

// After the a-priori clocks: the second codes (P2, and C7 of Galileo) unless the
// solution uses P2, and the columns of types no stage reads.
void ReleaseClockCodes(TervanC& tc);

// End of the preprocessing: the observation columns of types the solution does
// not use (the header keeps its flags: they tell what the file held), L4, and the
// Melbourne-Wuebbena column unless the ambiguities are fixed.
void ReleasePreprocessingData(TervanC& tc);

// After the static solution: the satellite states kept at the emission epochs of
// its light-time solutions (up to 288 MB on a day of a million records).
void ReleaseEmissionStates(TervanC& tc);

#endif
