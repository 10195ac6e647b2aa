#include "sdiff/FixedText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr long double kPow10[FixedText::kMaxDecimals + 1] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L,
                                                             1e5L, 1e6L, 1e7L, 1e8L, 1e9L};
constexpr uint64_t kPowers[FixedText::kMaxDecimals + 1] = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};
// Integer parts below this convert exactly to 64-bit integers, and the decimals
// scaled by at most 1e9 keep an error below 1e-9 of their last digit.
constexpr long double kLargest = 1e15L;
// Scaled decimals closer than this to a half-way point are rounded by snprintf: the
// one rounding of the scaling is far smaller.
constexpr long double kHalfWayMargin = 1e-6L;

// The nearest integer of 0 <= a < 2^63. A conversion of a long double to an integer
// switches the x87 rounding mode twice, which costs more than all the digits; added
// to 2^63, a becomes a number of unit spacing whose significand is that integer.
uint64_t Nearest(long double a) {
  if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
    const long double big = a + 0x1p63L;
    uint64_t bits;
    std::memcpy(&bits, &big, sizeof(bits));
    return bits - (uint64_t{1} << 63);
  } else {
    return static_cast<uint64_t>(std::nearbyint(a));
  }
}

// std::signbit(v), read from the sign byte of the 80-bit format in memory rather
// than by the x87 examine instruction that signbit compiles to (a tenth of the time
// of a value's text).
bool SignBit(const long double& v) {
  if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
    unsigned char top;
    std::memcpy(&top, reinterpret_cast<const unsigned char*>(&v) + 9, 1);
    return (top & 0x80) != 0;
  } else {
    return std::signbit(v);
  }
}

// Decimal digits of n written backwards from end; returns the first character.
char* Backwards(char* end, uint64_t n) {
  do {
    *--end = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  return end;
}

}  // namespace

size_t FixedText::Digits(char* buf, long double v, int decimals) {
  if (decimals < 0 || decimals > kMaxDecimals || !std::isfinite(v) || !(std::fabs(v) < kLargest))
    return 0;
  const long double a = std::fabs(v);
  uint64_t whole = Nearest(a);
  if (static_cast<long double>(whole) > a) --whole;
  const long double scaled = (a - static_cast<long double>(whole)) * kPow10[decimals];
  uint64_t part = Nearest(scaled);
  if (std::fabs(scaled - static_cast<long double>(part)) > 0.5L - kHalfWayMargin) return 0;
  if (part == kPowers[decimals]) {
    part = 0;
    ++whole;
  }
  char tmp[48];
  char* const end = tmp + sizeof(tmp);
  char* p = end;
  if (decimals > 0) {
    char* const point = end - decimals;
    p = Backwards(end, part);
    while (p > point) *--p = '0';
    *--p = '.';
  }
  p = Backwards(p, whole);
  if (SignBit(v)) *--p = '-';
  const size_t n = static_cast<size_t>(end - p);
  for (size_t k = 0; k < n; ++k) buf[k] = p[k];
  return n;
}

size_t FixedText::Pad(std::string& out, const char* text, size_t n, int width) {
  const size_t w = static_cast<size_t>(width);
  if (n < w) out.append(w - n, ' ');
  out.append(text, n);
  return n < w ? w : n;
}

size_t FixedText::Append(std::string& out, long double v, int width, int decimals) {
  char buf[48];
  const size_t n = Digits(buf, v, decimals);
  if (n > 0) return Pad(out, buf, n, width);
  // Values that printf alone writes: infinities, NaN and numbers of many digits.
  const int need = std::snprintf(nullptr, 0, "%*.*Lf", width, decimals, v);
  if (need <= 0) return 0;
  std::string text(static_cast<size_t>(need) + 1, '\0');
  std::snprintf(&text[0], text.size(), "%*.*Lf", width, decimals, v);
  text.pop_back();
  out += text;
  return static_cast<size_t>(need);
}

size_t FixedText::Append(std::string& out, long n, int width) {
  char tmp[24];
  char* const end = tmp + sizeof(tmp);
  const uint64_t m = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
  char* p = Backwards(end, m);
  if (n < 0) *--p = '-';
  return Pad(out, p, static_cast<size_t>(end - p), width);
}
