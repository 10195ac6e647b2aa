// Numbers as text for the single-difference file: the characters printf writes with
// "%*.*Lf" and "%*d", without printf's exact multi-precision conversion where plain
// integer arithmetic gives the same digits. Values close to a rounding half-way point,
// not finite or too large for 64-bit integers go through snprintf itself.
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
  // Digits of v into buf (at least 48 characters) without padding; 0 when v needs
  // snprintf.
  static size_t Digits(char* buf, long double v, int decimals);
  static size_t Pad(std::string& out, const char* text, size_t n, int width);
};

#endif
