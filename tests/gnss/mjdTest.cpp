#include <sstream>

#include "gnss/mjd.h"
#include "support/TestSupport.h"

namespace {

std::string Fatal(const std::string& cls, const std::string& text) {
  return "\n**** " + cls + ": Error -> " + text + " ****\n     Exiting class " + cls + " ... \n";
}

std::string Print(const mjd& t, short format, short ndec) {
  const short oldFormat = mjdns::PrintFormat, oldDec = mjdns::NDecSecond;
  mjdns::PrintFormat = format;
  mjdns::NDecSecond = ndec;
  std::ostringstream os;
  os << t;
  mjdns::PrintFormat = oldFormat;
  mjdns::NDecSecond = oldDec;
  return os.str();
}

}  // namespace

TEST(mjd, AddingSecondsCarriesTheDay) {
  mjd t(59000, 86399.5L);
  t += 0.5L;
  EXPECT_EQ(t.GetMJDay(), 59001u);
  EXPECT_EQ(t.GetSecond(), 0.0L);

  mjd u(59000, 86399.5L);
  u += 86400.5L;
  EXPECT_EQ(u.GetMJDay(), 59002u);
  EXPECT_EQ(u.GetSecond(), 0.0L);

  mjd w(59000, 86399.5L);
  w += -86400.5L;
  EXPECT_EQ(w.GetMJDay(), 58999u);
  EXPECT_EQ(w.GetSecond(), 86399.0L);

  mjd x(59000, 10.0L);
  x -= 20.0;  // a double argument also means seconds
  EXPECT_EQ(x.GetMJDay(), 58999u);
  EXPECT_EQ(x.GetSecond(), 86390.0L);
  x += 30;  // and so does an int
  EXPECT_EQ(x, mjd(59000, 20.0L));
}

TEST(mjd, SecondsJustShortOfADayBecomeTheNextDay) {
  mjd t(59000, 86399.0L);
  t += 1.0L - 1e-13L;
  EXPECT_EQ(t.GetMJDay(), 59001u);
  EXPECT_EQ(t.GetSecond(), 0.0L);
}

TEST(mjd, WholeDaysChangeOnlyTheDay) {
  mjd t(59000, 123.25L);
  t += 3L;
  EXPECT_EQ(t.GetMJDay(), 59003u);
  t -= 5L;
  EXPECT_EQ(t.GetMJDay(), 58998u);
  EXPECT_EQ(t.GetSecond(), 123.25L);
}

TEST(mjd, DifferenceInSecondsWithoutWrapAround) {
  EXPECT_EQ(mjd(59000, 10) - mjd(59001, 20), -86410.0L);
  EXPECT_EQ(mjd(59001, 20) - mjd(59000, 10), 86410.0L);
  EXPECT_EQ(mjd(0, 0) - mjd(100000, 0), -8640000000.0L);
}

TEST(mjd, ComparisonsAndTolerances) {
  const mjd a(59000, 100.0L);
  const mjd b(59000, 100.0L + 5e-14L);
  EXPECT_TRUE(a == b);
  EXPECT_TRUE(a <= b);
  EXPECT_TRUE(b <= a);
  EXPECT_TRUE(a >= b);
  EXPECT_TRUE(b >= a);
  EXPECT_FALSE(mjd(59000, 100.0L + 2e-13L) <= a);
  EXPECT_TRUE(a < b);  // strict comparisons have no tolerance
  EXPECT_FALSE(a > b);

  EXPECT_TRUE(a == a);
  EXPECT_TRUE(a <= a);
  EXPECT_TRUE(a >= a);
  EXPECT_FALSE(a < a);
  EXPECT_FALSE(a > a);

  const mjd nextDay(59001, 0.0L);
  EXPECT_TRUE(a < nextDay);
  EXPECT_TRUE(nextDay > a);
  EXPECT_TRUE(a <= nextDay);
  EXPECT_FALSE(a >= nextDay);
  EXPECT_TRUE(a != nextDay);
  EXPECT_FALSE(mjd(59000, 1e-12L) == mjd(59000, 0.0L));
}

TEST(mjd, DecimalDayAssignment) {
  mjd t;
  t = 59000.25L;
  EXPECT_EQ(t.GetMJDay(), 59000u);
  EXPECT_NEAR(static_cast<double>(t.GetSecond()), 21600.0, 1e-6);
  EXPECT_NEAR(static_cast<double>(t.GetMJDDec()), 59000.25, 1e-12);
}

TEST(mjd, StreamInputAndOutput) {
  std::istringstream is("59000 3723.5");
  mjd t;
  is >> t;
  ASSERT_TRUE(static_cast<bool>(is));
  EXPECT_EQ(t, mjd(59000, 3723.5L));

  EXPECT_EQ(Print(t, mjdns::MJDSEC, 1), " 59000  3723.5");
  EXPECT_EQ(Print(t, mjdns::MJDDEC, 3), " 59000.043");
  EXPECT_EQ(Print(t, mjdns::MJDHMS, 2), " 59000  01:02:03.50");
  EXPECT_EQ(Print(t, mjdns::MJD, 1), " 59000");
  EXPECT_EQ(Print(mjd(59000, 43200), mjdns::SP3, 1), " 59000 0.5000000000000");
}

TEST(mjd, OutputLeavesTheStreamSettingsAlone) {
  std::ostringstream os;
  os << mjd(59000, 1.0L) << '|' << 1.5 << '|' << std::setw(3) << 7;
  EXPECT_EQ(os.str(), " 59000     1.0|1.5|  7");
}

TEST(mjd, FailedStreamInputLeavesTheEpoch) {
  std::istringstream is("59000 abc");
  mjd t(51544, 5.0L);
  is >> t;
  EXPECT_TRUE(is.fail());
  EXPECT_EQ(t, mjd(51544, 5.0L));
}

TEST(mjdDeathTest, InvalidValuesAreFatal) {
  EXPECT_EXIT_COUT(mjd(200000, 0), Fatal("mjd", "MJDAY not valid"));
  EXPECT_EXIT_COUT(mjd(-1, 0), Fatal("mjd", "MJDAY not valid"));
  EXPECT_EXIT_COUT(mjd(59000, 86400), Fatal("mjd", "SECOND not valid"));
  EXPECT_EXIT_COUT(mjd(59000, -0.001L), Fatal("mjd", "SECOND not valid"));
  EXPECT_EXIT_COUT(
      {
        mjd t;
        t = -0.5L;
      },
      Fatal("mjd", "MJDAY not valid"));
  EXPECT_EXIT_COUT(
      {
        std::istringstream is("59000 90000");
        mjd t;
        is >> t;
      },
      Fatal("mjd", "SECOND not valid"));
  EXPECT_EXIT_COUT(
      {
        mjd t(59000, 0);
        t += 1.0L / 0.0L;
      },
      Fatal("mjd", "SECOND not valid"));
}
