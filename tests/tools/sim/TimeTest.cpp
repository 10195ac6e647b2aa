#include <gtest/gtest.h>

#include "sim/Time.h"

namespace sim {
namespace {

TEST(SimTime, CalendarRoundTripAndGpsWeek) {
  Calendar c;
  c.year = 2026;
  c.month = 6;
  c.day = 15;
  c.hour = 13;
  c.minute = 7;
  c.second = 29.5L;
  const long double t = ToSeconds(c);
  const Calendar back = ToCalendar(t);
  EXPECT_EQ(back.year, 2026);
  EXPECT_EQ(back.month, 6);
  EXPECT_EQ(back.day, 15);
  EXPECT_EQ(back.hour, 13);
  EXPECT_EQ(back.minute, 7);
  EXPECT_NEAR(static_cast<double>(back.second), 29.5, 1e-9);
  EXPECT_EQ(Mjd(t), 61206);  // 2026-06-15
  EXPECT_EQ(DayOfYear(c), 166);
  // 2026-06-14 was the Sunday starting GPS week 2423.
  EXPECT_EQ(GpsWeek(t), 2423);
  EXPECT_NEAR(static_cast<double>(SecondsOfWeek(t)), 86400.0 + 13 * 3600 + 7 * 60 + 29.5, 1e-9);
}

TEST(SimTime, EpochJustBelowAMinuteIsNotPrintedAsSixtySeconds) {
  Calendar c;
  c.year = 2026;
  const long double t = ToSeconds(c) + 59.99999999L;
  const Calendar back = ToCalendar(t);
  EXPECT_EQ(back.minute, 1);
  EXPECT_NEAR(static_cast<double>(back.second), 0.0, 1e-9);
}

TEST(SimTime, LeapSecondsChangeAtTheirEpochs) {
  Calendar c;
  c.year = 2016;
  c.month = 12;
  c.day = 31;
  c.hour = 23;
  c.minute = 59;
  c.second = 59;
  EXPECT_EQ(LeapSeconds(ToSeconds(c)), 17);
  c.year = 2017;
  c.month = 1;
  c.day = 1;
  c.hour = 0;
  c.minute = 0;
  c.second = 18;  // UTC midnight in GPS time
  EXPECT_EQ(LeapSeconds(ToSeconds(c)), 18);
  c.year = 2010;
  EXPECT_EQ(LeapSeconds(ToSeconds(c)), 15);
  c.year = 2005;
  EXPECT_EQ(LeapSeconds(ToSeconds(c)), 13);
  c.year = 1980;
  c.month = 6;
  EXPECT_EQ(LeapSeconds(ToSeconds(c)), 0);
}

TEST(SimTime, ParseCalendarAcceptsDatesAndRejectsNonsense) {
  Calendar c;
  EXPECT_TRUE(ParseCalendar("2026-06-15", c));
  EXPECT_TRUE(ParseCalendar("2026-06-15 12:30:00", c));
  EXPECT_EQ(c.hour, 12);
  EXPECT_TRUE(ParseCalendar("2026-06-15T01:02:03", c));
  EXPECT_FALSE(ParseCalendar("2026-02-30", c));
  EXPECT_FALSE(ParseCalendar("2026-13-01", c));
  EXPECT_FALSE(ParseCalendar("2026-06-15 25:00:00", c));
  EXPECT_FALSE(ParseCalendar("yesterday", c));
  EXPECT_FALSE(ParseCalendar("2026-06-15 12:30:00x", c));
}

}  // namespace
}  // namespace sim
