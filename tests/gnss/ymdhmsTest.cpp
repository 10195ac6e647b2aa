#include <sstream>

#include "gnss/ymdhms.h"
#include "support/TestSupport.h"

namespace {

std::string Fatal(const std::string& text) {
  return "\n**** ymdhms: Error -> " + text + " ****\n     Exiting class ymdhms ... \n";
}

std::string Print(const ymdhms& t, short type, short format, short ndec) {
  const short oldType = ymdhmsns::PrintType, oldFormat = ymdhmsns::PrintFormat;
  const short oldDec = ymdhmsns::NDecSecond;
  ymdhmsns::PrintType = type;
  ymdhmsns::PrintFormat = format;
  ymdhmsns::NDecSecond = ndec;
  std::ostringstream os;
  os << t;
  ymdhmsns::PrintType = oldType;
  ymdhmsns::PrintFormat = oldFormat;
  ymdhmsns::NDecSecond = oldDec;
  return os.str();
}

ymdhms Read(const std::string& text) {
  std::istringstream is(text);
  ymdhms t;
  is >> t;
  return t;
}

}  // namespace

TEST(ymdhms, TwoDigitYearsOfStreamInput) {
  const ymdhms a = Read("99 12 31 0 0 0");
  EXPECT_EQ(a.GetYear(), 1999);
  EXPECT_EQ(a.GetMonth(), 12);
  EXPECT_EQ(a.GetDay(), 31);
  const ymdhms b = Read("05 1 1 0 0 0");
  EXPECT_EQ(b.GetYear(), 2005);
  EXPECT_EQ(b.GetMonth(), 1);
  EXPECT_EQ(Read("80 1 1 0 0 0").GetYear(), 1980);
  EXPECT_EQ(Read("79 1 1 0 0 0").GetYear(), 2079);
  EXPECT_EQ(Read("2020 6 25 12 30 15.5").GetSecond(), 15.5L);
}

TEST(ymdhms, LeapDays) {
  EXPECT_EQ(ymdhms(2000, 2, 29, 0, 0, 0).GetDay(), 29);
  EXPECT_EQ(ymdhms(2020, 2, 29, 0, 0, 0).GetDayOfYear(), 60);
  EXPECT_EQ(ymdhms(2020, 12, 31, 0, 0, 0).GetDayOfYear(), 366);
  EXPECT_EQ(ymdhms(2019, 12, 31, 0, 0, 0).GetDayOfYear(), 365);
}

TEST(ymdhms, DayOfYearAndDecimalYear) {
  ymdhms t(2020, 6, 25, 5, 6, 7);
  t.SetDayOfYear(2020, 60);
  EXPECT_EQ(t.GetMonth(), 2);
  EXPECT_EQ(t.GetDay(), 29);
  EXPECT_EQ(t.GetHour(), 0);
  t.SetDayOfYear(2019, 60);
  EXPECT_EQ(t.GetMonth(), 3);
  EXPECT_EQ(t.GetDay(), 1);

  t.SetYDec(2019.5);  // 182.5 days into a common year: July 2, 12:00
  EXPECT_EQ(t.GetMonth(), 7);
  EXPECT_EQ(t.GetDay(), 2);
  EXPECT_EQ(t.GetHour(), 12);
  EXPECT_EQ(t.GetMinute(), 0);
  EXPECT_NEAR(static_cast<double>(t.GetYearDec()), 2019.5, 1e-9);

  t.SetDaySecond(3723.25L);
  EXPECT_EQ(t.GetHour(), 1);
  EXPECT_EQ(t.GetMinute(), 2);
  EXPECT_NEAR(static_cast<double>(t.GetSecond()), 3.25, 1e-9);
  EXPECT_NEAR(static_cast<double>(t.GetDaySecond()), 3723.25, 1e-9);
}

TEST(ymdhms, OutputForms) {
  const ymdhms t(2020, 6, 5, 3, 4, 5.25L);
  EXPECT_EQ(Print(t, ymdhmsns::NORINEX, ymdhmsns::YMDHMS, 1), " 2020-06-05 03:04:05.2");
  EXPECT_EQ(Print(t, ymdhmsns::NORINEX, ymdhmsns::YMDHMS, 0), " 2020-06-05 03:04:05");
  EXPECT_EQ(Print(t, ymdhmsns::NORINEX, ymdhmsns::YDHMS, 2), " 2020-157 03:04:05.25");
  EXPECT_EQ(Print(t, ymdhmsns::NORINEX, ymdhmsns::YDSEC, 1), " 2020-157  11045.2");
  EXPECT_EQ(Print(t, ymdhmsns::NORINEX, ymdhmsns::YMD, 1), " 2020-06-05");
  EXPECT_EQ(Print(t, ymdhmsns::NORINEX, ymdhmsns::YD, 1), " 2020-157");
  EXPECT_EQ(Print(ymdhms(2019, 7, 2, 12, 0, 0), ymdhmsns::NORINEX, ymdhmsns::YDEC, 1),
            " 2019.5000000");
  EXPECT_EQ(Print(t, ymdhmsns::RINEXHEADER, 0, 1), "  2020     6     5     3     4    5.2500000");
  EXPECT_EQ(Print(t, ymdhmsns::RINEXDATA, 0, 1), " 20  6  5  3  4  5.2500000");
  EXPECT_EQ(Print(t, ymdhmsns::SP3, 0, 1), "2020  6  5  3  4  5.25000000");
  EXPECT_EQ(Print(t, ymdhmsns::SINEX, 0, 1), "20:157:11045");
}

TEST(ymdhms, OutputRestoresTheBlankFill) {
  std::ostringstream os;
  os << ymdhms(2020, 6, 5, 3, 4, 5) << std::setw(3) << 1;
  EXPECT_EQ(os.str(), " 2020-06-05 03:04:05.0  1");
}

TEST(ymdhmsDeathTest, InvalidFieldsAreFatalInOrder) {
  EXPECT_EXIT_COUT(ymdhms(1900, 1, 1, 0, 0, 0), Fatal("YEAR not valid"));
  EXPECT_EXIT_COUT(ymdhms(2200, 1, 1, 0, 0, 0), Fatal("YEAR not valid"));
  EXPECT_EXIT_COUT(ymdhms(2020, 13, 1, 0, 0, 0), Fatal("MONTH not valid"));
  EXPECT_EXIT_COUT(ymdhms(2020, 0, 1, 0, 0, 0), Fatal("MONTH not valid"));
  EXPECT_EXIT_COUT(ymdhms(2100, 2, 29, 0, 0, 0), Fatal("DAY not valid"));
  EXPECT_EXIT_COUT(ymdhms(2021, 4, 31, 0, 0, 0), Fatal("DAY not valid"));
  EXPECT_EXIT_COUT(ymdhms(2021, 4, 0, 0, 0, 0), Fatal("DAY not valid"));
  EXPECT_EXIT_COUT(ymdhms(2021, 4, 1, 60, 0, 0), Fatal("HOUR not valid"));
  EXPECT_EXIT_COUT(ymdhms(2021, 4, 1, 0, 60, 0), Fatal("MINUTE not valid"));
  EXPECT_EXIT_COUT(ymdhms(2021, 4, 1, 0, 0, 60), Fatal("SECOND not valid"));
  EXPECT_EXIT_COUT(ymdhms(2021, 4, 1, -1, 0, 0), Fatal("HOUR not valid"));
  EXPECT_EXIT_COUT(ymdhms(2021, 13, 32, 0, 0, 0), Fatal("MONTH not valid"));
  EXPECT_EXIT_COUT(Read("20 2 30 0 0 0"), Fatal("DAY not valid"));
  EXPECT_EXIT_COUT(
      {
        ymdhms t;
        t.SetDayOfYear(2021, 366);
      },
      Fatal("DAY not valid"));
}
