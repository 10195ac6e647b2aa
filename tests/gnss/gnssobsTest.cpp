#include <gtest/gtest.h>

#include <sstream>

#include "gnss/gnssobs.h"
#include "gnss/gnssobsshort.h"

namespace {

template <class T>
std::string Printed(const T& o) {
  std::ostringstream os;
  os << o;
  return os.str();
}

}  // namespace

TEST(gnssobs, NullLimitsDifferBetweenTheTwoTypes) {
  EXPECT_TRUE(gnssobs(0.00005L).IsNull());
  EXPECT_TRUE(gnssobs(-0.00009L).IsNull());
  EXPECT_FALSE(gnssobs(0.0001L).IsNull());
  EXPECT_FALSE(gnssobsshort(0.00005L).IsNull());
  EXPECT_TRUE(gnssobsshort(0.000009L).IsNull());
}

// A day at 1 s holds tens of millions of values: they are stored without the padding
// of a long double, and every bit of the extended value comes back.
TEST(gnssobs, KeepsEveryBitOfTheValueInLessRoom) {
  EXPECT_LT(sizeof(gnssobs), sizeof(long double) + 2 * sizeof(unsigned short));
  const long double values[] = {23456789.123456789012L, -1.0L / 3.0L, 1e-4L, 0.0L,
                                0x1.fffffffffffffffep+60L};
  for (long double v : values) {
    gnssobs o(v, 3, 7);
    EXPECT_EQ(o.GetObs(), v);
    o += 1.0L / 7.0L;
    EXPECT_EQ(o.GetObs(), v + 1.0L / 7.0L);
    EXPECT_EQ(o.GetLLI(), 3);
    EXPECT_EQ(o.GetSS(), 7);
  }
}

TEST(gnssobs, ParsesRinexFieldWithFlags) {
  gnssobs o;
  o >> "  20000000.12317";
  EXPECT_NEAR(static_cast<double>(o.GetObs()), 20000000.123, 1e-9);
  EXPECT_EQ(o.GetLLI(), 1);
  EXPECT_EQ(o.GetSS(), 7);
  o >> "                ";
  EXPECT_EQ(o.GetObs(), 0.0L);
  EXPECT_EQ(o.GetLLI(), 0);
  EXPECT_EQ(o.GetSS(), 0);
  o >> "   123.5";  // a field cut short reads as far as it goes
  EXPECT_EQ(o.GetObs(), 123.5L);
  EXPECT_EQ(o.GetLLI(), 0);
  gnssobsshort d;
  EXPECT_TRUE(d >> "     -1234.56712");
  EXPECT_NEAR(static_cast<double>(d.GetObs()), -1234.567, 1e-9);
}

TEST(gnssobs, MalformedValueIsMissingAndSaidSo) {
  gnssobs o(5.0L, 1, 1);
  EXPECT_FALSE(o >> "   12x45.678 1");
  EXPECT_TRUE(o.IsNull());
  EXPECT_FALSE(o >> "       nan    ");
  EXPECT_TRUE(o.IsNull());
  EXPECT_TRUE(o >> "              ");
  gnssobsshort d(3.0L);
  EXPECT_FALSE(d >> "   1.2.3      ");
  EXPECT_TRUE(d.IsNull());
}

TEST(gnssobs, ArithmeticPropagatesMissingValues) {
  gnssobs a(10.0L, 1, 5), b(3.0L, 2, 6), null;
  gnssobs s = a + b;
  EXPECT_EQ(s.GetObs(), 13.0L);
  EXPECT_EQ(s.GetLLI(), 0);
  EXPECT_EQ((a - b).GetObs(), 7.0L);
  EXPECT_TRUE((a - null).IsNull());
  EXPECT_TRUE((null + b).IsNull());
  gnssobs k = 2.0L * a;
  EXPECT_EQ(k.GetObs(), 20.0L);
  EXPECT_EQ(k.GetLLI(), 1);
  EXPECT_EQ(k.GetSS(), 5);
  a = 4.0L;
  EXPECT_EQ(a.GetLLI(), 0);
  EXPECT_EQ(a.GetSS(), 0);
  a += 1.0L;
  EXPECT_EQ(a.GetObs(), 5.0L);
}

TEST(gnssobs, PrintsInTheThreeLayouts) {
  gnssobs v(1234.5678L, 1, 7), z;
  EXPECT_EQ(Printed(v), "      1234.568 1 7");
  EXPECT_EQ(Printed(z), "         *.*** * *");
  gnssobsns::PrintType = gnssobsns::RINEX;
  EXPECT_EQ(Printed(v), "      1234.56817");
  EXPECT_EQ(Printed(z), "         0.000  ");
  gnssobsns::PrintType = gnssobsns::NOLLISSI;
  gnssobsns::Width = 10;
  EXPECT_EQ(Printed(v), "  1234.568");
  EXPECT_EQ(Printed(z), "     *.***");
  gnssobsns::PrintType = gnssobsns::NORINEX;
  gnssobsns::Width = 14;
}

TEST(gnssobsshort, PrintsInTheThreeLayouts) {
  gnssobsshort v(-12.25L), z;
  EXPECT_EQ(Printed(v), "   -12.250 0 0");
  EXPECT_EQ(Printed(z), "     *.*** * *");
  gnssobsshortns::PrintType = gnssobsshortns::RINEX;
  EXPECT_EQ(Printed(v), "       -12.250  ");
  EXPECT_EQ(Printed(z), "         0.000  ");
  gnssobsshortns::PrintType = gnssobsshortns::NORINEX;
}
