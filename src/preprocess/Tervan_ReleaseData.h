#ifndef TERVAN_PREPROCESS_TERVAN_RELEASEDATA_H
#define TERVAN_PREPROCESS_TERVAN_RELEASEDATA_H

#include "driver/TervanC.h"

// End of the preprocessing: the per-record values that no later stage of the run
// reads are given back (a day at 1 s holds about 2 million records, 28 MB per
// observation column, 64 MB per two-column model matrix). Freed: the observation
// columns of types the solution does not use (the header keeps its flags: they
// tell what the file held), L4, the Melbourne-Wuebbena column unless the
// ambiguities are fixed, the satellite distances of the antenna stage, and the
// azimuths unless a residual or sky-plot file is written.
void ReleasePreprocessingData(TervanC& tc);

#endif
