#include <gtest/gtest.h>

#include <string>

#include "core/ParseArgument.h"
#include "support/TestSupport.h"

using testsupport::Literal;

TEST(ParseArgument, FloatIsRoundedToSinglePrecision) {
  EXPECT_EQ(ParseFloat("-me10.7", 3), 10.7f);
  double stored = ParseFloat("-me10.7", 3);
  EXPECT_DOUBLE_EQ(stored, 10.699999809265137);
  long double blunder = ParseFloat("-bt3.3", 3);
  EXPECT_NEAR(static_cast<double>(blunder), 3.2999999523162842, 1e-15);
}

TEST(ParseArgument, DoubleKeepsDoublePrecision) {
  EXPECT_EQ(ParseDouble("-mt0.0001", 3), 0.0001);
}

TEST(ParseArgument, NumbersReportWhetherAnythingWasRead) {
  bool ok = true;
  EXPECT_EQ(ParseDouble("-me", 3, &ok), 0.0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ParseFloat("-meten", 3, &ok), 0.0f);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ParseDouble("-menan", 3, &ok), 0.0);
  EXPECT_FALSE(ok);
  EXPECT_EQ(ParseInteger("-mi12", 3, &ok), 12);
  EXPECT_TRUE(ok);
  // A position beyond the end reads an empty value.
  EXPECT_EQ(ParseInteger("-m", 7, &ok), 0);
  EXPECT_FALSE(ok);
}

TEST(ParseArgument, NumbersTellWhetherTheyFitTheirType) {
  bool ok = false, fits = true;
  EXPECT_EQ(ParseInteger("-mi99999999999999999999", 3, &ok, &fits), 2147483647);
  EXPECT_TRUE(ok);
  EXPECT_FALSE(fits);
  EXPECT_EQ(ParseInteger("-mi-2147483648", 3, &ok, &fits), -2147483647 - 1);
  EXPECT_TRUE(fits);
  EXPECT_EQ(ParseInteger("-mi2147483648", 3, &ok, &fits), 2147483647);
  EXPECT_FALSE(fits);
  EXPECT_EQ(ParseFloat("-me3e38", 3, &ok, &fits), 3e38f);
  EXPECT_TRUE(fits);
  EXPECT_EQ(ParseFloat("-me4e38", 3, &ok, &fits), 0.0f);
  EXPECT_FALSE(fits);
  EXPECT_EQ(ParseDouble("-mt-1e400", 3, &ok, &fits), 0.0);
  EXPECT_TRUE(ok);
  EXPECT_FALSE(fits);
  // Underflow is a number close to zero, not an error.
  EXPECT_EQ(ParseDouble("-mt1e-400", 3, &ok, &fits), 0.0);
  EXPECT_TRUE(fits);
  // Words that strtod reads are no numbers.
  ParseDouble("-mtinf", 3, &ok, &fits);
  EXPECT_FALSE(ok);
}

TEST(ParseArgument, BoundsShareOneWording) {
  EXPECT_EQ(OptionBoundText("TOO MANY X", "AT MOST 9", "-x"), "TOO MANY X - AT MOST 9 [ -x ]!");
  EXPECT_EQ(OutOfRangeText<int>("5e9", "-mi"),
            "VALUE 5e9 OUT OF RANGE - FROM -2147483648 TO 2147483647 [ -mi ]!");
}

TEST(ParseArgument, TimeInHoursMinutesSeconds) {
  EXPECT_EQ(ParseHMS("-ti01:00:00", 3), 3600.0L);
  EXPECT_EQ(ParseHMS("-ti00:30:15.5", 3), 1815.5L);
  EXPECT_EQ(ParseHMS("-ti02", 3), 7200.0L);  // minutes and seconds missing
  EXPECT_EQ(ParseHMS("-ti01:00:00d00:30:00ROVER", 3), 3600.0L);
  bool ok = true;
  EXPECT_EQ(ParseHMS("-tiROVER", 3, &ok), 0.0L);
  EXPECT_FALSE(ok);
  // Hours beyond the range of int do not overflow, and say so.
  bool fits = true;
  EXPECT_GT(ParseHMS("-ti99999999999999999999", 3, &ok, &fits), 0.0L);
  EXPECT_FALSE(fits);
  ParseHMS("-ti01:99999999999:00", 3, &ok, &fits);
  EXPECT_FALSE(fits);
  ParseHMS("-ti01:00:30", 3, &ok, &fits);
  EXPECT_TRUE(fits);
}

TEST(ParseArgument, ObservationListSwitchesTypesOn) {
  ObservationList list;
  ParseObservationList("-lPc3,l1", 2, list);
  EXPECT_TRUE(list.Pc3);
  EXPECT_TRUE(list.L1);
  EXPECT_FALSE(list.C1 || list.P1 || list.P2 || list.Pp3 || list.L3 || list.L2);
  ParseObservationList("-lC1,P1,P2,Pp3,L3,L2", 2, list);
  EXPECT_TRUE(list.C1 && list.P1 && list.P2 && list.Pc3 && list.Pp3 && list.L3 && list.L1 &&
              list.L2);
}

TEST(ParseArgument, EstimationType) {
  bool sta = false, kin = false;
  ParseEstimationType("-xsta", 2, sta, kin);
  EXPECT_TRUE(sta);
  EXPECT_FALSE(kin);
  ParseEstimationType("-xKIN", 2, sta, kin);
  EXPECT_TRUE(sta && kin);
}

TEST(ParseArgument, FileNameCopiedFromPosition) {
  char name[FileNameSize] = "old";
  ParseFileName("Tervan", "-rBASE.sdf", 2, name);
  EXPECT_STREQ(name, "BASE.sdf");
  bool flag = false;
  GetFileName("Tervan", "-gpkKIN.txt", 4, name, flag, false, "", "");
  EXPECT_STREQ(name, "KIN.txt");
  EXPECT_TRUE(flag);
}

TEST(ParseArgument, LongestFileNameFits) {
  char name[FileNameSize];
  std::string arg = "-r" + std::string(FileNameSize - 1, 'a');
  ParseFileName("Tervan", arg.c_str(), 2, name);
  EXPECT_EQ(std::string(name).size(), FileNameSize - 1);
}

TEST(ParseArgumentDeathTest, OverlongFileNameIsRefused) {
  char name[FileNameSize];
  std::string arg = "-ep" + std::string(FileNameSize, 'a');
  EXPECT_EXIT(ParseFileName("Tervan", arg.c_str(), 3, name), ::testing::ExitedWithCode(1),
              Literal("\n**** Tervan: Error -> VALUE OF OPTION -ep IS LONGER THAN 511 CHARACTERS! "
                      "****\n     Exiting Tervan ... \n"));
}
