// Numbers as text for the single-difference file: the characters printf writes with
// "%*.*Lf" and "%*d", the digits from the exact binary value in integer arithmetic
// (core/FixedDecimal). Values not finite or of 2^63 and more go through snprintf
// itself.
#ifndef TERVAN_TOOLS_SDIFF_FIXEDTEXT_H
#define TERVAN_TOOLS_SDIFF_FIXEDTEXT_H

#include <string>

class FixedText {
 public:
  // Largest number of decimals of Append.
  static constexpr int kMaxDecimals = 9;

  // Appends v with `decimals` decimals (0 ... kMaxDecimals) right-aligned in `width`
  // characters, as "%*.*Lf" does; returns the number of characters appended (more
  // than width when the value needs more).
  static size_t Append(std::string& out, long double v, int width, int decimals);
  // Appends n right-aligned in `width` characters, as "%*ld" does.
  static size_t Append(std::string& out, long n, int width);

 private:
  static size_t Pad(std::string& out, const char* text, size_t n, int width);
};

#endif
