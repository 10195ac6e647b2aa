#include "gnss/TimeConverse.h"
#include "support/TestSupport.h"

TEST(TimeConverse, KnownCalendarDates) {
  EXPECT_EQ(ymdhms2mjd(ymdhms(1901, 1, 1, 0, 0, 0)).GetMJDay(), 15385u);
  EXPECT_EQ(ymdhms2mjd(ymdhms(2000, 1, 1, 0, 0, 0)).GetMJDay(), 51544u);
  EXPECT_EQ(ymdhms2mjd(ymdhms(1980, 1, 6, 0, 0, 0)).GetMJDay(), 44244u);
  EXPECT_EQ(ymdhms2mjd(ymdhms(2020, 6, 25, 0, 0, 0)).GetMJDay(), 59025u);
  EXPECT_EQ(ymdhms2mjd(ymdhms(2099, 12, 31, 0, 0, 0)).GetMJDay(), 88068u);
  // 2100 is no leap year: March 1 follows February 28.
  EXPECT_EQ(ymdhms2mjd(ymdhms(2100, 3, 1, 0, 0, 0)) - ymdhms2mjd(ymdhms(2100, 2, 28, 0, 0, 0)),
            86400.0L);
}

TEST(TimeConverse, CalendarRoundTripOverEveryDay) {
  for (long day = 15385; day < 124000; day += 1) {
    const ymdhms t = mjd2ymdhms(mjd(day, 0));
    ASSERT_EQ(ymdhms2mjd(t).GetMJDay(), static_cast<unsigned long>(day)) << day;
  }
  const ymdhms t = mjd2ymdhms(mjd(59025, 45296.25L));
  EXPECT_EQ(t.GetYear(), 2020);
  EXPECT_EQ(t.GetMonth(), 6);
  EXPECT_EQ(t.GetDay(), 25);
  EXPECT_EQ(t.GetHour(), 12);
  EXPECT_EQ(t.GetMinute(), 34);
  EXPECT_NEAR(static_cast<double>(t.GetSecond()), 56.25, 1e-9);
}

TEST(TimeConverse, SecondsJustShortOfMidnightPrintAs24Hours) {
  const ymdhms t = mjd2ymdhms(mjd(59025, 86399.99999999999L));
  EXPECT_EQ(t.GetDay(), 25);
  EXPECT_EQ(t.GetHour(), 24);
  EXPECT_EQ(t.GetMinute(), 0);
  EXPECT_EQ(t.GetSecond(), 0.0L);
  const ymdhms copy(t);  // still valid
  EXPECT_EQ(copy.GetHour(), 24);
}

TEST(TimeConverse, FullDayOfSecondsStartsTheNextDay) {
  const mjd t = ymdhms2mjd(ymdhms(2020, 6, 25, 23, 59, 59.99999999999L + 1e-12L));
  EXPECT_EQ(t.GetMJDay(), 59026u);
  EXPECT_EQ(t.GetSecond(), 0.0L);
  const mjd u = ymdhms2mjd(ymdhms(2020, 6, 25, 24, 0, 0));
  EXPECT_EQ(u.GetMJDay(), 59026u);
  EXPECT_EQ(u.GetSecond(), 0.0L);
  // Hours past midnight carry into the following days.
  const mjd w = ymdhms2mjd(ymdhms(2020, 6, 25, 49, 0, 30));
  EXPECT_EQ(w.GetMJDay(), 59027u);
  EXPECT_EQ(w.GetSecond(), 3630.0L);
}

TEST(TimeConverse, GpsWeekConversions) {
  const GPSws w = mjd2GPSws(mjd(59025, 3600));
  EXPECT_EQ(w.GetWeek(), 2111);
  EXPECT_EQ(w.GetSecond(), 4 * 86400.0L + 3600.0L);
  EXPECT_EQ(GPSws2mjd(w), mjd(59025, 3600));
  const GPSws start = ymdhms2GPSws(ymdhms(1980, 1, 6, 0, 0, 0));
  EXPECT_EQ(start.GetWeek(), 0);
  EXPECT_EQ(start.GetSecond(), 0.0L);
  const ymdhms back = GPSws2ymdhms(GPSws(2111, 6 * 86400.0L + 86399.5L));
  EXPECT_EQ(back.GetDay(), 27);
  EXPECT_EQ(back.GetHour(), 23);
  EXPECT_EQ(back.GetMinute(), 59);
  mjd out;
  GPSws2mjd(GPSws(2111, 0), out);
  EXPECT_EQ(out.GetMJDay(), 59021u);
}

TEST(TimeConverse, Sec2HMSCarries) {
  unsigned short h, m;
  long double s;
  Sec2HMS(3599.99999999999L, h, m, s);
  EXPECT_EQ(h, 1);
  EXPECT_EQ(m, 0);
  EXPECT_EQ(s, 0.0L);
  Sec2HMS(45296.5L, h, m, s);
  EXPECT_EQ(h, 12);
  EXPECT_EQ(m, 34);
  EXPECT_NEAR(static_cast<double>(s), 56.5, 1e-9);
}

TEST(TimeConverse, LeapYearRule) {
  EXPECT_TRUE(LeapYear(2000));
  EXPECT_TRUE(LeapYear(2020));
  EXPECT_FALSE(LeapYear(1900));
  EXPECT_FALSE(LeapYear(2100));
  EXPECT_FALSE(LeapYear(2019));
  EXPECT_FALSE(LeapYear(0));
}

TEST(TimeConverse, LeapSeconds) {
  EXPECT_EQ(LeapSecond(mjd(57754, 0)), 18);
  EXPECT_EQ(LeapSecond(mjd(60000, 0)), 18);
  EXPECT_EQ(LeapSecond(mjd(57753, 86399)), 17);
  EXPECT_EQ(LeapSecond(mjd(44239, 0)), 0);
  EXPECT_EQ(LeapSecond(mjd(44238, 0)), -1);
  EXPECT_EQ(LeapSecond(mjd(41317, 0)), -9);
  EXPECT_EQ(LeapSecond(mjd(40000, 0)), -9);
}

TEST(TimeConverseDeathTest, EpochsOutsideTheScalesAreFatal) {
  EXPECT_EXIT_COUT(mjd2GPSws(mjd(44243, 0)),
                   "\n**** GPSws: Error -> WEEK not valid ****\n     Exiting class GPSws ... \n");
  EXPECT_EXIT_COUT(mjd2ymdhms(mjd(15000, 0)),
                   "\n**** ymdhms: Error -> YEAR not valid ****\n     Exiting class ymdhms ... \n");
}
