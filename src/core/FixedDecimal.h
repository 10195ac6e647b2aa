// Fixed-point decimal text of extended-precision values as the C library's "%.*Lf"
// writes it: the exact binary value rounded to the digits asked for, halfway cases
// to an even last digit, and "-" before every value with the sign bit set (also
// before one that rounds to zero). Integer arithmetic on the binary value gives the
// same digits at a fraction of the cost, for the bulk of the numbers of the reports
// and result files.
#ifndef TERVAN_CORE_FIXEDDECIMAL_H
#define TERVAN_CORE_FIXEDDECIMAL_H

#include <cstddef>

namespace fixeddecimal {

constexpr int kMaxPrecision = 18;  // digits after the point
constexpr size_t kMaxText = 48;    // room for a sign, 19 digits, the point and 18 digits

// The text of v with `precision` digits after the point (no point for 0) into out
// (kMaxText characters of room, not terminated); its length, or 0 when v is not a
// finite number below 2^63 in magnitude or the precision is not 0 to kMaxPrecision
// (the caller then formats it otherwise).
size_t Format(long double v, int precision, char* out);

}  // namespace fixeddecimal

#endif
