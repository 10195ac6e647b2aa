// Unit factors of printed lengths and time terms.
#ifndef TERVAN_CORE_PRINTUNITS_H
#define TERVAN_CORE_PRINTUNITS_H

// A length in metres expressed in the unit of a print setting: 100 (cm) and
// 1000 (mm) multiply, a negative factor divides by its magnitude (-1000 is km),
// any other factor divides.
long double ScaleLength(long double metres, long unit);

// A time term in seconds expressed in the unit of a print setting: the factor is
// the number of units per second (1000 ms, 1000000 us, 1000000000 ns).
long double ScaleTime(long double seconds, long unit);

#endif
