// Loading of the inputs: the checked file names go to the reader objects of the
// run context, then every input is read completely before preprocessing.
#ifndef TERVAN_DRIVER_TERVAN_READFILES_H
#define TERVAN_DRIVER_TERVAN_READFILES_H

#include "driver/TervanC.h"

// Hands every given file name to its reader (a missing file ends the run).
void SetFiles(TervanC& tc);
// Reads every given input and checks the loaded single differences.
void ReadFiles(TervanC& tc);

#endif
