#include <gtest/gtest.h>

#include "orbits/GLNSat.h"
#include "support/TestSupport.h"

namespace {
using testsupport::TempDir;

// Columns: slot from 2, start date from 11 and time from 22, end from 32, channel
// from 52; a blank column 32 leaves the row open.
const char* kTable =
    "# GLONASS frequency channels\n"
    "\n"
    " comment line\n"
    "R01       2019 01 01 00:00:00  2020 06 01 00 00 00 1\n"
    "R01       2020 06 01 00:00:00  2020 12 31 23 59 59 -4\n"
    "R01       2021 01 01 00:00:00                      2\n"
    "G05       2019 01 01 00:00:00                      6\n"
    "R05       2019 01 01 00:00:00                      6\n";

class GLNSatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = dir.File("channels.txt");
    testsupport::WriteFile(name, kTable);
    fc.SetFile(name.c_str());
    fc.ReadFile();
  }
  TempDir dir;
  GLNSat fc;
};

TEST_F(GLNSatTest, ChannelOfTheRowThatHoldsTheEpoch) {
  EXPECT_EQ(fc.GetNSat(), 4);  // the GPS row carries no GLONASS channel
  EXPECT_EQ(fc.GetFreqNum(101, mjd(58900, 0.0L)), 1.0L);
  EXPECT_TRUE(fc.GetIsGLNSat());
  // 2020-06-01 00:00:00 lies on the boundary of two rows: the first one holds.
  EXPECT_EQ(fc.GetFreqNum(101, mjd(59001, 0.0L)), 1.0L);
  EXPECT_EQ(fc.GetFreqNum(101, mjd(59001, 1.0L)), -4.0L);
  // Between the end of the second row and the start of the third.
  EXPECT_EQ(fc.GetFreqNum(101, mjd(59214, 86399.5L)), 0.0L);
  EXPECT_FALSE(fc.GetIsGLNSat());
  // A row without an end holds for every later epoch.
  EXPECT_EQ(fc.GetFreqNum(101, mjd(80000, 0.0L)), 2.0L);
  EXPECT_EQ(fc.GetFreqNum(105, mjd(60000, 0.0L)), 6.0L);
  EXPECT_EQ(fc.GetFreqNum(105, mjd(58000, 0.0L)), 0.0L);
  EXPECT_FALSE(fc.GetIsGLNSat());
  EXPECT_EQ(fc.GetFreqNum(107, mjd(59000, 0.0L)), 0.0L);
  EXPECT_FALSE(fc.GetIsGLNSat());
}

TEST(GLNSatDeath, MissingFileAndInvalidDate) {
  TempDir dir;
  GLNSat fc;
  const std::string none = dir.File("none.txt");
  EXPECT_EXIT(fc.SetFile(none.c_str()), ::testing::ExitedWithCode(1),
              testsupport::Literal(
                  "**** Tervan: Error -> GLONASS FREQUENCY CHANNEL FILE DOES NOT EXIST! ****"));
  const std::string bad = dir.File("bad.txt");
  testsupport::WriteFile(bad, "R01       2019 02 30 00:00:00                      1\n");
  fc.SetFile(bad.c_str());
  EXPECT_EXIT_COUT(fc.ReadFile(), "**** ymdhms: Error -> DAY not valid ****");
  testsupport::WriteFile(bad,
                         "# channels\nR01       2019 02 20 00:00:00                      one\n");
  EXPECT_EXIT(
      fc.ReadFile(), ::testing::ExitedWithCode(1),
      testsupport::Literal("**** Tervan: Error -> MALFORMED NUMBER IN COLUMNS 52-54 OF LINE 2 OF " +
                           bad + ": R01       2019 02 20 00:00:00                      one"));
}

}  // namespace
