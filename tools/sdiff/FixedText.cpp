#include "sdiff/FixedText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr long double kPow10[FixedText::kMaxDecimals + 1] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L,
                                                             1e5L, 1e6L, 1e7L, 1e8L, 1e9L};
// Integer parts below this convert exactly to 64-bit integers, and the decimals
// scaled by at most 1e9 keep an error below 1e-9 of their last digit.
constexpr long double kLargest = 1e15L;
// Scaled decimals closer than this to a half-way point are rounded by snprintf: the
// one rounding of the scaling is far smaller.
constexpr long double kHalfWayMargin = 1e-6L;

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
  uint64_t whole = static_cast<uint64_t>(a);
  const long double scaled = (a - static_cast<long double>(whole)) * kPow10[decimals];
  uint64_t part = static_cast<uint64_t>(scaled);
  const long double rest = scaled - static_cast<long double>(part);
  if (std::fabs(rest - 0.5L) < kHalfWayMargin) return 0;
  if (rest > 0.5L) ++part;
  if (part == static_cast<uint64_t>(kPow10[decimals])) {
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
  if (std::signbit(v)) *--p = '-';
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
  const int need = std::snprintf(nullptr, 0, "%*.*Lf", width, decimals, v);
  std::vector<char> text(static_cast<size_t>(need) + 1);
  std::snprintf(text.data(), text.size(), "%*.*Lf", width, decimals, v);
  out.append(text.data(), static_cast<size_t>(need));
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
