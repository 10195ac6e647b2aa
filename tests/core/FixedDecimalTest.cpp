#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>

#include "core/FiniteNumPut.h"
#include "core/FixedDecimal.h"

namespace {

std::string Library(long double v, int precision) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "%.*Lf", precision, v);
  return buf;
}

std::string Fast(long double v, int precision) {
  char buf[fixeddecimal::kMaxText];
  return std::string(buf, fixeddecimal::Format(v, precision, buf));
}

// Values of every scale, random mantissas, and the halfway cases of each precision
// (odd multiples of half a unit of the last digit that are exact in binary).
std::vector<long double> Values() {
  std::vector<long double> v = {0.0L,        -0.0L,
                                0.5L,        -0.5L,
                                1.5L,        2.5L,
                                0.125L,      0.375L,
                                -0.0625L,    9.9999999999999999999L,
                                0x1p63L - 1, -(0x1p63L - 1),
                                1e-4950L,    0.0049999999999999999L,
                                1e-30L,      -1e-30L};
  std::mt19937_64 gen(12345);
  std::uniform_int_distribution<int> exponent(-80, 62);
  for (int i = 0; i < 20000; ++i) {
    const long double m = static_cast<long double>(gen() | (1ULL << 63)) * 0x1p-64L;
    const long double x = std::ldexp(m, exponent(gen));
    v.push_back(i % 2 ? -x : x);
  }
  for (int k = 1; k <= 20; ++k)
    for (long n = 1; n < 200; n += 2) v.push_back(std::ldexp(static_cast<long double>(n), -k));
  return v;
}

}  // namespace

TEST(FixedDecimal, DigitsAreThoseOfTheLibrary) {
  for (long double v : Values())
    for (int p = 0; p <= fixeddecimal::kMaxPrecision; ++p)
      ASSERT_EQ(Fast(v, p), Library(v, p)) << std::hexfloat << v << " precision " << p;
}

TEST(FixedDecimal, LeavesWhatItCannotWriteToTheCaller) {
  char buf[fixeddecimal::kMaxText];
  EXPECT_EQ(fixeddecimal::Format(0x1p63L, 3, buf), 0u);
  EXPECT_EQ(fixeddecimal::Format(-1e30L, 3, buf), 0u);
  EXPECT_EQ(fixeddecimal::Format(std::nanl(""), 3, buf), 0u);
  EXPECT_EQ(fixeddecimal::Format(1.0L, 19, buf), 0u);
  EXPECT_EQ(fixeddecimal::Format(1.0L, -1, buf), 0u);
}

// A guarded stream writes every value, width, fill and adjustment as a plain one.
TEST(FixedDecimal, GuardedStreamsWriteAsPlainOnes) {
  std::ostringstream plain, guarded;
  FiniteNumPut::Guard(guarded, "X");
  const std::ios_base::fmtflags adjust[] = {std::ios_base::left, std::ios_base::right,
                                            std::ios_base::internal, std::ios_base::fmtflags()};
  for (std::ostringstream* os : {&plain, &guarded}) {
    for (long double v : {-12.3456L, 0.0L, -0.0L, 7.5L, 1e25L, -3e-9L})
      for (std::ios_base::fmtflags a : adjust)
        for (int p : {0, 3, 12, 20}) {
          os->flags(std::ios_base::fixed | a);
          *os << std::setfill(p % 2 ? '*' : ' ') << std::setprecision(p) << std::setw(14) << v
              << '|' << v << '|' << std::showpos << std::setw(9) << v << std::noshowpos << '|'
              << std::scientific << v << '\n';
        }
  }
  EXPECT_EQ(guarded.str(), plain.str());
}
