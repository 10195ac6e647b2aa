#include "core/TextNumbers.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// Powers of ten that are exact in extended precision (10^27 < 2^64 * 2^27).
constexpr int kMaxExactPow = 27;
const long double kPow10[kMaxExactPow + 1] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,  1e6L,
                                              1e7L,  1e8L,  1e9L,  1e10L, 1e11L, 1e12L, 1e13L,
                                              1e14L, 1e15L, 1e16L, 1e17L, 1e18L, 1e19L, 1e20L,
                                              1e21L, 1e22L, 1e23L, 1e24L, 1e25L, 1e26L, 1e27L};

const char* SkipBlanks(const char* p, const char* end) {
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  return p;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The C library's conversion of a bounded copy, for the rare forms that the
// fast path leaves (exponents, very long mantissas).
bool SlowDecimal(const char* p, const char* end, long double& value, const char** stop) {
  char buf[128];
  size_t n = static_cast<size_t>(end - p);
  if (n > sizeof(buf) - 1) n = sizeof(buf) - 1;
  std::memcpy(buf, p, n);
  buf[n] = '\0';
  char* e = nullptr;
  value = std::strtold(buf, &e);
  if (e == buf || !std::isfinite(value)) {
    value = 0;
    return false;
  }
  if (stop) *stop = p + (e - buf);
  return true;
}

}  // namespace

bool ParseDecimal(const char* p, const char* end, long double& value, const char** stop) {
  value = 0;
  const char* s = SkipBlanks(p, end);
  const char* q = s;
  bool neg = false;
  if (q < end && (*q == '-' || *q == '+')) neg = (*q++ == '-');
  uint64_t mant = 0;
  int sig = 0;     // significant digits in mant
  int frac = 0;    // digits after the point
  int digits = 0;  // all digits read
  bool point = false;
  for (; q < end; ++q) {
    char c = *q;
    if (IsDigit(c)) {
      ++digits;
      if (point) ++frac;
      if (mant != 0 || c != '0') ++sig;
      mant = mant * 10 + static_cast<uint64_t>(c - '0');
      if (sig > 19) return SlowDecimal(s, end, value, stop);
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (q < end && (*q == 'e' || *q == 'E')) return SlowDecimal(s, end, value, stop);
  if (frac > kMaxExactPow) return SlowDecimal(s, end, value, stop);
  long double v = static_cast<long double>(mant) / kPow10[frac];
  value = neg ? -v : v;
  if (stop) *stop = q;
  return true;
}

bool ParseInteger(const char* p, const char* end, long& value, const char** stop) {
  value = 0;
  const char* q = SkipBlanks(p, end);
  bool neg = false;
  if (q < end && (*q == '-' || *q == '+')) neg = (*q++ == '-');
  const char* first = q;
  long long v = 0;
  for (; q < end && IsDigit(*q); ++q) {
    v = v * 10 + (*q - '0');
    if (v > 2147483647LL) return false;
  }
  if (q == first) return false;
  value = static_cast<long>(neg ? -v : v);
  if (stop) *stop = q;
  return true;
}
