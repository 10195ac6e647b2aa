// Number formatting shared by the file writers: fixed-width text of the kind the
// RINEX and SP3 files use, and the rounding a value suffers when written so.
#ifndef TERVAN_SIM_TEXTFORMAT_H
#define TERVAN_SIM_TEXTFORMAT_H

#include <string>

namespace sim {

// printf into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// A value in exponent notation with `decimals` mantissa decimals, the exponent
// letter `letter` ('D' or 'E') and a two-digit exponent, right-aligned in `width`.
std::string FormatExp(long double value, int width, int decimals, char letter);

// The value as it reads back after FormatExp with the given decimals.
long double RoundExp(long double value, int decimals);

}  // namespace sim

#endif
