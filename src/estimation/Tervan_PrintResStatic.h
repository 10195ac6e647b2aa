#ifndef TERVAN_ESTIMATION_TERVAN_PRINTRESSTATIC_H
#define TERVAN_ESTIMATION_TERVAN_PRINTRESSTATIC_H

#include <iosfwd>

#include "driver/TervanC.h"

// Binary file of the residuals of the static solution.
void PrintResStatic(TervanC& tc);

// One 80-bit extended number in 12 bytes: the 10 bytes of the number, then two zero
// bytes, so that equal runs give equal files.
void WriteExt12(std::ostream& out, long double value);

// Mean direction (radians, 0 to 2 pi) of two azimuths in radians: 359.9 and 0.1
// degrees average to 0, not 180.
long double MeanAzimuth(long double a, long double b);

#endif
