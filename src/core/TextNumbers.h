// Conversion of numbers in fixed-column text, without allocation.
//
// Both functions skip leading blanks and tabs, read an optional sign and the
// number, and stop at the end of the given range. A decimal value is the
// correctly rounded extended-precision value of the decimal text.
#ifndef TERVAN_CORE_TEXTNUMBERS_H
#define TERVAN_CORE_TEXTNUMBERS_H

#include <cstddef>

// A decimal number (digits with an optional point and exponent) from [p, end).
// False, with value 0, when no finite number begins there. stop (when given)
// receives the position after the number.
bool ParseDecimal(const char* p, const char* end, long double& value, const char** stop = nullptr);

// An integer from [p, end); false, with value 0, when none begins there or it
// does not fit in a long.
bool ParseInteger(const char* p, const char* end, long& value, const char** stop = nullptr);

// The text of columns [from, from + width) of a line of length len, clipped to the
// line: the begin and end pointers of that part (equal when the line is shorter).
inline void FieldRange(const char* line, size_t len, size_t from, size_t width, const char*& b,
                       const char*& e) {
  size_t s = from < len ? from : len;
  size_t t = (width < len - s) ? s + width : len;
  b = line + s;
  e = line + t;
}

#endif
