// Result files of the static solution: the GNUPlot static line, the code biases,
// the troposphere delays at their grid epochs and at every data epoch, the
// receiver clock differences; and the sky plot of the satellites seen by both
// stations. Each file is written completely or not at all.
#ifndef TERVAN_ESTIMATION_TERVAN_STATICRESULTFILES_H
#define TERVAN_ESTIMATION_TERVAN_STATICRESULTFILES_H

#include "driver/TervanC.h"
#include "estimation/Tervan_ResultTables.h"

// The files of the static solution whose switches are set.
void WriteStaticFiles(TervanC& tc, const StaticDerived& d);

// Sky plot file (-sp): one line per observation record with geometry.
//   MJD[d]  DATE  TIME  SAT  AZ_BASE[deg]  EL_BASE[deg]  AZ_ROVER[deg]  EL_ROVER[deg]
void WriteSkyPlotFile(TervanC& tc);

// Epoch troposphere file (-oT): one line per data epoch and station whose two
// surrounding zenith-delay unknowns are determined.
//   MJD[d]  DATE  TIME  STATION  DRY[MOD,m]  WET[EST,m]  TOTAL[m]  SIGMA[m]
void WriteEpochTropoFile(TervanC& tc);

#endif
