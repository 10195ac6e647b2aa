// First preprocessing stage: deletes the observations of problem satellites
// inside their time windows and reports what was deleted.
#ifndef TERVAN_SDIFF_EXCLUDEPROBLEMSAT_H
#define TERVAN_SDIFF_EXCLUDEPROBLEMSAT_H

#include "sdiff/PhsDiffData.h"
#include "sdiff/PhsDiffHeader.h"
#include "sdiff/SatCRX.h"

// Does nothing when isSCrx is false. Deleted values are set to 0 (missing):
// type 1 the phases L1, L2; type 2 the codes C1, P1, P2; type 3 both.
void ExcludeProblemSat(PhsDiffHeader& sdh, PhsDiffData& sdd, SatCRX& scrx, bool isSCrx,
                       bool verbose);

#endif
