#include "core/FixedDecimal.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace fixeddecimal {

namespace {

using u128 = unsigned __int128;

constexpr uint64_t kPow10[kMaxPrecision + 1] = {1ULL,
                                                10ULL,
                                                100ULL,
                                                1000ULL,
                                                10000ULL,
                                                100000ULL,
                                                1000000ULL,
                                                10000000ULL,
                                                100000000ULL,
                                                1000000000ULL,
                                                10000000000ULL,
                                                100000000000ULL,
                                                1000000000000ULL,
                                                10000000000000ULL,
                                                100000000000000ULL,
                                                1000000000000000ULL,
                                                10000000000000000ULL,
                                                100000000000000000ULL,
                                                1000000000000000000ULL};

constexpr int kDigits = std::numeric_limits<long double>::digits;  // bits of the mantissa

// |v| * 10^precision rounded to an integer, halfway cases to even, for a finite
// |v| below 2^63: |v| = m / 2^s with the integer mantissa m and s >= 1 (e <= 63),
// and m times the power of ten is exact in 128 bits (below 2^124).
u128 Scaled(long double v, int precision) {
  int e = 0;
  const long double f = std::frexp(std::fabs(v), &e);  // |v| = f * 2^e, f in [0.5, 1)
  const uint64_t m = static_cast<uint64_t>(std::ldexp(f, kDigits));
  const int s = kDigits - e;
  const u128 p = static_cast<u128>(m) * kPow10[precision];
  if (s >= 128) return 0;  // p / 2^s < 2^-4
  const u128 n = p >> s, rest = p - (n << s), half = static_cast<u128>(1) << (s - 1);
  return rest > half || (rest == half && (n & 1) != 0) ? n + 1 : n;
}

// Decimal digits of x (at least `width`, zeros in front) ending before end; returns
// the first.
char* Digits(uint64_t x, int width, char* end) {
  char* p = end;
  do {
    *--p = static_cast<char>('0' + x % 10);
    x /= 10;
    --width;
  } while (x != 0 || width > 0);
  return p;
}

}  // namespace

size_t Format(long double v, int precision, char* out) {
  if (kDigits > 64 || precision < 0 || precision > kMaxPrecision || !(std::fabs(v) < 0x1p63L))
    return 0;
  const u128 n = Scaled(v, precision);
  const uint64_t pow = kPow10[precision];
  uint64_t whole, part;
  if ((n >> 64) == 0) {  // the common case, in 64-bit arithmetic
    whole = static_cast<uint64_t>(n) / pow;
    part = static_cast<uint64_t>(n) % pow;
  } else {
    whole = static_cast<uint64_t>(n / pow);
    part = static_cast<uint64_t>(n % pow);
  }
  char buf[kMaxText];
  char* const end = buf + kMaxText;
  char* p = end;
  if (precision > 0) {
    p = Digits(part, precision, p);
    *--p = '.';
  }
  p = Digits(whole, 1, p);
  if (std::signbit(v)) *--p = '-';
  size_t len = 0;
  while (p < end) out[len++] = *p++;
  return len;
}

}  // namespace fixeddecimal
