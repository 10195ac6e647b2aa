// Loading of the inputs: the file names of the command line handed to the
// reader objects of the run context, then every input read completely into
// memory, with plausibility checks of the single differences.
#ifndef TERVAN_DRIVER_TERVAN_READFILES_H
#define TERVAN_DRIVER_TERVAN_READFILES_H

#include "driver/TervanC.h"

// Hands each given file name to its reader (fatal when a file does not exist).
void SetFiles(TervanC& tc);
// Reads every given input; switches off the systems with too little data.
void ReadFiles(TervanC& tc);

#endif
