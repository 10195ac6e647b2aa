#include <sstream>

#include "gnss/GPSws.h"
#include "support/TestSupport.h"

namespace {

std::string Fatal(const std::string& text) {
  return "\n**** GPSws: Error -> " + text + " ****\n     Exiting class GPSws ... \n";
}

std::string Print(const GPSws& t, short format, short ndec) {
  const short oldFormat = gpswsns::PrintFormat, oldDec = gpswsns::NDecSecond;
  gpswsns::PrintFormat = format;
  gpswsns::NDecSecond = ndec;
  std::ostringstream os;
  os << t;
  gpswsns::PrintFormat = oldFormat;
  gpswsns::NDecSecond = oldDec;
  return os.str();
}

}  // namespace

TEST(GPSws, WeekDayAndSecondsOfDay) {
  GPSws t(2111, 4 * 86400.0L + 3723.5L);
  EXPECT_EQ(t.GetWeekDay(), 4);
  EXPECT_EQ(t.GetDaySecond(), 3723.5L);
  unsigned short h, m;
  long double s;
  t.Sec2HMS(h, m, s);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(m, 2);
  EXPECT_NEAR(static_cast<double>(s), 3.5, 1e-9);
  t += static_cast<unsigned short>(3);
  EXPECT_EQ(t.GetWeek(), 2114);
}

TEST(GPSws, StreamInputAndOutput) {
  std::istringstream is("2111 349323.5");
  GPSws t;
  is >> t;
  ASSERT_TRUE(static_cast<bool>(is));
  EXPECT_EQ(t.GetWeek(), 2111);
  EXPECT_EQ(Print(t, gpswsns::GPSWS, 1), " 2111 349323.5");
  EXPECT_EQ(Print(t, gpswsns::GPSWDS, 1), " 2111 4  3723.5");
  EXPECT_EQ(Print(t, gpswsns::GPSWDHMS, 1), " 2111 4  01:02:03.5");
  EXPECT_EQ(Print(GPSws(812, 86400), gpswsns::GPSWD, 1), " 0812 1");
  EXPECT_EQ(Print(t, gpswsns::SP3, 1), " 2111 349323.50000000");
}

TEST(GPSwsDeathTest, InvalidValuesAreFatal) {
  EXPECT_EXIT_COUT(GPSws(12000, 0), Fatal("WEEK not valid"));
  EXPECT_EXIT_COUT(GPSws(-1, 0), Fatal("WEEK not valid"));
  EXPECT_EXIT_COUT(GPSws(2000, 604800), Fatal("SECOND not valid"));
  EXPECT_EXIT_COUT(GPSws(2000, -1), Fatal("SECOND not valid"));
  EXPECT_EXIT_COUT(
      {
        std::istringstream is("2000 700000");
        GPSws t;
        is >> t;
      },
      Fatal("SECOND not valid"));
}
