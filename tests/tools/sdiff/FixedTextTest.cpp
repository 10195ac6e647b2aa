#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sdiff/FixedText.h"

namespace {

std::string Printf(long double v, int width, int decimals) {
  const int n = std::snprintf(nullptr, 0, "%*.*Lf", width, decimals, v);
  std::vector<char> buf(static_cast<size_t>(n) + 1);
  std::snprintf(buf.data(), buf.size(), "%*.*Lf", width, decimals, v);
  return buf.data();
}

std::string Fast(long double v, int width, int decimals) {
  std::string s;
  const size_t n = FixedText::Append(s, v, width, decimals);
  EXPECT_EQ(n, s.size());
  return s;
}

}  // namespace

// The file's numbers must be the bytes printf writes: differences of RINEX values with
// three decimals, values on and next to rounding half-way points, tiny, large, negative
// zero, values that round up into the integer part, and values printf alone can write.
TEST(FixedText, WritesTheBytesOfPrintf) {
  std::mt19937_64 g(7);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (int i = 0; i < 50000; ++i) {
    const long a = static_cast<long>(g() % 4000000000000ULL) - 2000000000000L;
    const long b = i % 2 ? a + static_cast<long>(g() % 2000000) - 1000000
                         : static_cast<long>(g() % 4000000000000ULL) - 2000000000000L;
    const long double d = a / 1000.0L - b / 1000.0L;
    ASSERT_EQ(Fast(d, 17, 4), Printf(d, 17, 4)) << static_cast<double>(d);
    const long double x =
        std::ldexp(static_cast<long double>(u(g)), static_cast<int>(g() % 100) - 50);
    for (int dec : {0, 4, 6, 7, 9}) ASSERT_EQ(Fast(x, 15, dec), Printf(x, 15, dec));
    const long double half = (static_cast<long>(g() % 100000000) + 0.5L) / 10000.0L;
    for (long double h : {half, -half, std::nextafter(half, 0.0L), std::nextafter(half, 1e9L)})
      ASSERT_EQ(Fast(h, 17, 4), Printf(h, 17, 4));
  }
  const long double inf = std::numeric_limits<long double>::infinity();
  for (long double v : {0.0L, -0.0L, 0.00005L, -0.00004L, 0.99995L, 9999999999999.99995L, 1e15L,
                        -1e15L, 1e300L, inf, -inf, std::numeric_limits<long double>::quiet_NaN()})
    for (int dec = 0; dec <= FixedText::kMaxDecimals; ++dec)
      for (int width : {0, 17}) ASSERT_EQ(Fast(v, width, dec), Printf(v, width, dec));
  for (long n : {0L, 7L, -7L, 999L, 1000L, 59025L, std::numeric_limits<long>::min()}) {
    std::string s;
    FixedText::Append(s, n, 3);
    char ref[32];
    std::snprintf(ref, sizeof(ref), "%3ld", n);
    EXPECT_EQ(s, ref);
  }
}
