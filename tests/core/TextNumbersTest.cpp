#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "core/TextNumbers.h"

namespace {

long double Dec(const char* s, bool expectOk = true) {
  long double v = -1;
  EXPECT_EQ(ParseDecimal(s, s + std::strlen(s), v), expectOk) << s;
  return v;
}

}  // namespace

TEST(TextNumbers, DecimalsAreCorrectlyRounded) {
  const char* cases[] = {"  20000000.123",
                         "-1234.5678",
                         "0.0001",
                         "+7",
                         "123456789012.3456",
                         "0.1",
                         "-0.000000000000000000000001234"};
  for (const char* c : cases) EXPECT_EQ(Dec(c), std::strtold(c, nullptr)) << c;
  EXPECT_EQ(Dec("1.5e3"), 1500.0L);
  EXPECT_EQ(Dec("12345678901234567890123.5"), std::strtold("12345678901234567890123.5", nullptr));
}

TEST(TextNumbers, NonNumbersAreRejected) {
  EXPECT_EQ(Dec("     ", false), 0.0L);
  EXPECT_EQ(Dec("nan", false), 0.0L);
  EXPECT_EQ(Dec("-", false), 0.0L);
  EXPECT_EQ(Dec("1e99999", false), 0.0L);
}

TEST(TextNumbers, StopsAtTheEndOfTheRange) {
  const char* s = "  12.5  99.0";
  long double v;
  const char* stop;
  ASSERT_TRUE(ParseDecimal(s, s + 5, v, &stop));
  EXPECT_EQ(v, 12.0L);
  long n;
  EXPECT_TRUE(ParseInteger(" 42x", " 42x" + 4, n));
  EXPECT_EQ(n, 42);
  EXPECT_FALSE(ParseInteger("x", "x" + 1, n));
  EXPECT_FALSE(ParseInteger("99999999999", "99999999999" + 11, n));
  const char *b, *e;
  FieldRange("abc", 3, 10, 5, b, e);
  EXPECT_EQ(b, e);
}
