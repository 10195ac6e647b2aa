#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "core/TextFields.h"

using namespace textfield;

namespace {

long double Dec(const char* s, bool expectOk = true) {
  long double v = -1;
  EXPECT_EQ(ParseDecimal(s, s + std::strlen(s), v), expectOk) << s;
  return v;
}

}  // namespace

TEST(TextFields, DecimalsAreCorrectlyRounded) {
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

TEST(TextFields, FortranExponentsReadLikeE) {
  EXPECT_EQ(Dec(" -.123456789012D-04"), std::strtold("-.123456789012E-04", nullptr));
  EXPECT_EQ(Dec("0.5d+01"), 5.0L);
  EXPECT_EQ(*Real("  1.25D2xyz"), 125.0L);
}

TEST(TextFields, NonNumbersAreAbsent) {
  EXPECT_EQ(Dec("     ", false), 0.0L);
  EXPECT_EQ(Dec("nan", false), 0.0L);
  EXPECT_EQ(Dec("inf", false), 0.0L);
  EXPECT_EQ(Dec("-", false), 0.0L);
  EXPECT_EQ(Dec("1e99999", false), 0.0L);
  EXPECT_EQ(Dec("1D99999", false), 0.0L);
  EXPECT_FALSE(Real("").has_value());
  EXPECT_FALSE(Real("abc", 0, 3).has_value());
  EXPECT_FALSE(Int("99999999999").has_value());
  EXPECT_FALSE(Int(" x1").has_value());
}

TEST(TextFields, StopsAtTheEndOfTheRange) {
  const char* s = "  12.5  99.0";
  long double v;
  const char* stop;
  ASSERT_TRUE(ParseDecimal(s, s + 5, v, &stop));
  EXPECT_EQ(v, 12.0L);
  long n;
  EXPECT_TRUE(ParseInteger(" 42x", " 42x" + 4, n));
  EXPECT_EQ(n, 42);
  EXPECT_FALSE(ParseInteger("x", "x" + 1, n));
  const char *b, *e;
  FieldRange("abc", 3, 10, 5, b, e);
  EXPECT_EQ(b, e);
}

TEST(TextFields, FieldsAreCutSafelyAtAnyLineLength) {
  const std::string line = "  G01  12.500";
  EXPECT_EQ(Cut(line, 2, 3), "G01");
  EXPECT_EQ(Cut(line, 10, 10), "500");
  EXPECT_EQ(Cut(line, 40, 3), "");
  EXPECT_EQ(Padded(line, 10, 5), "500  ");
  EXPECT_EQ(Padded(line, 40, 2), "  ");
  EXPECT_EQ(Trim(" \t ab c\r\n"), "ab c");
  EXPECT_EQ(Trimmed(line, 0, 6), "G01");
  EXPECT_TRUE(IsBlank(Cut(line, 0, 2)));
  EXPECT_EQ(*Real(line, 5, 8), 12.5L);
  EXPECT_EQ(*Int(line, 3, 2), 1);
  EXPECT_FALSE(Real(line, 60, 8).has_value());
}

TEST(TextFields, LabelsAnywhereOrAtAColumn) {
  std::string line(60, ' ');
  line += "END OF HEADER";
  EXPECT_TRUE(HasLabel(line, "OF HEAD"));
  EXPECT_TRUE(LabelAt(line, 60, "END OF"));
  EXPECT_FALSE(LabelAt(line, 59, "END OF"));
  EXPECT_FALSE(LabelAt("short", 60, "END"));
}

TEST(TextFields, FixedFieldsAcceptOnlyPlainDecimals) {
  EXPECT_EQ(*Fixed("  -12.250 ", 0, 10), -12.25L);
  EXPECT_EQ(*Fixed("x 20000000.123", 1, 13), std::strtold("20000000.123", nullptr));
  EXPECT_FALSE(Fixed("   1.5E3", 0, 8).has_value());
  EXPECT_FALSE(Fixed("  1.2.3 ", 0, 8).has_value());
  EXPECT_FALSE(Fixed("  12 34 ", 0, 8).has_value());
  EXPECT_FALSE(Fixed("        ", 0, 8).has_value());
  EXPECT_EQ(*FixedInt("   17", 0, 5), 17);
  EXPECT_FALSE(FixedInt("  17.0", 0, 6).has_value());
}

TEST(TextFields, CopyTextTruncatesAndLinesLoseTheirCarriageReturn) {
  char buf[4];
  CopyText(buf, sizeof(buf), "abcdef");
  EXPECT_STREQ(buf, "abc");
  std::istringstream in("one\r\ntwo");
  std::string l;
  ASSERT_TRUE(GetLine(in, l));
  EXPECT_EQ(l, "one");
  ASSERT_TRUE(GetLine(in, l));
  EXPECT_EQ(l, "two");
  EXPECT_FALSE(GetLine(in, l));
  EXPECT_EQ(LineNumber(in), 2);
  std::istringstream other("x\n");
  EXPECT_EQ(LineNumber(other), 0);  // each stream counts its own lines
  EXPECT_EQ(MalformedField("f.sp3", " P  x  ", 4, 2, 7),
            "MALFORMED NUMBER IN COLUMNS 5-6 OF LINE 7 OF f.sp3: P  x");
}

TEST(TextFields, ExponentsReadLikeTheCLibrary) {
  // Clock files and orbits write exponents: the fast reading must give the C library's
  // value to the last bit, and stop where it stops.
  std::srand(7);
  char s[64], c[64];
  for (int k = 0; k < 20000; ++k) {
    // Up to 24 digits, some led by zeros: mantissas beyond 19 significant digits
    // take the library's way.
    const int digits = 1 + std::rand() % 24, point = std::rand() % (digits + 1);
    const int zeros = std::rand() % 3 == 0 ? std::rand() % 6 : 0;
    int n = 0;
    if (std::rand() % 2) s[n++] = '-';
    for (int d = 0; d < digits; ++d) {
      if (d == point) s[n++] = '.';
      s[n++] = static_cast<char>(d < zeros ? '0' : '0' + std::rand() % 10);
    }
    s[n++] = "eEdD"[std::rand() % 4];
    if (std::rand() % 3) s[n++] = std::rand() % 2 ? '-' : '+';
    n += std::snprintf(s + n, sizeof s - n, "%0*d", 1 + std::rand() % 3, std::rand() % 40);
    std::strcpy(s + n, std::rand() % 2 ? "" : "x1");
    std::strcpy(c, s);
    for (char* p = c; *p; ++p)
      if (*p == 'd' || *p == 'D') *p = 'E';
    char* cend = nullptr;
    const long double want = std::strtold(c, &cend);
    long double v;
    const char* stop = nullptr;
    ASSERT_TRUE(ParseDecimal(s, s + std::strlen(s), v, &stop)) << s;
    EXPECT_EQ(v, want) << s;
    EXPECT_EQ(stop - s, cend - c) << s;
  }
  EXPECT_EQ(Dec("2.5E"), 2.5L);
  EXPECT_EQ(Dec("2.5E+"), 2.5L);
  EXPECT_EQ(Dec("-1.000000000000E-03"), std::strtold("-1.000000000000E-03", nullptr));
}
