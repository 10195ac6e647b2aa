#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "atmosphere/myIono.h"
#include "support/TestSupport.h"

namespace {

// One record: MJD day, seconds, value, RMS and (linear files) rate and its RMS, each at its
// fixed column.
std::string Record(long day, double sec, double val, double rate = 0.0, bool linear = true) {
  char line[120];
  if (linear)
    std::snprintf(line, sizeof(line), "%-8ld%-8.1f%-14.4f%-9.4f%-16.4f%.4f\n", day, sec, val, 0.01,
                  rate, 0.001);
  else
    std::snprintf(line, sizeof(line), "%-8ld%-8.1f%-14.4f%.4f\n", day, sec, val, 0.01);
  return line;
}

class IonoFile {
 public:
  explicit IonoFile(const std::string& text) {
    testsupport::WriteFile(dir.File("iono.txt"), text);
    iono.SetFile(dir.File("iono.txt").c_str());
  }
  testsupport::TempDir dir;
  myIono iono;
};

// Hourly records with values 1, 2, 3 m and a rate of 0.5 m/h.
std::string LinearFile() {
  return "Lustra ionosphere - LINEAR\n# day  sec  value\n" + Record(58000, 0.0, 1.0, 0.5) + "\n" +
         Record(58000, 3600.0, 2.0, 0.5) + Record(58000, 7200.0, 3.0, 0.5);
}

// Records every 30 s with values 10, 11, 12, 13 m.
std::string EpochFile() {
  std::string s = "Lustra ionosphere - EPOCH BY EPOCH\n";
  for (int i = 0; i < 4; i++) s += Record(58000, 30.0 * i, 10.0 + i, 0.0, false);
  return s;
}

const std::string kPrior900 =
    "#### myIono: Warning -> IONO INDEX SET TO ZERO (0) - INPUT EPOCH PRIOR TO FIRST IONO EPOCH "
    "(<900s) ####\n     Continuing myIono ... \n";
const std::string kLater900 =
    "#### myIono: Warning -> IONO INDEX SET TO LAST (neph-1) - INPUT EPOCH LATER THAN LAST IONO "
    "EPOCH (>INTERVAL+900s) ####\n     Continuing myIono ... \n";

}  // namespace

TEST(myIono, LinearFileGivesValuePlusRate) {
  IonoFile f(LinearFile());
  f.iono.ReadFile();
  EXPECT_EQ(f.iono.GetType(), 0);
  EXPECT_EQ(f.iono.GetNEph(), 3);  // the blank line is no record
  EXPECT_EQ(f.iono.GetInterval(), 3600.0L);
  const mjd t(58000, 5400.0L);
  f.iono.SetIonoIndex(t);
  EXPECT_EQ(f.iono.GetIonoIndex(), 1);
  long double d = 0.0L;
  f.iono.GetIonoDelay(t, d);
  EXPECT_NEAR(d, 2.0L + 0.5L * 0.5L, 1e-15L);
}

TEST(myIono, LinearIndexWarnsFarOutsideTheRecords) {
  IonoFile f(LinearFile());
  f.iono.ReadFile();
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(57999, 86400.0L - 600.0L));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(f.iono.GetIonoIndex(), 0);
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(57999, 86400.0L - 901.0L));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), kPrior900);
  EXPECT_EQ(f.iono.GetIonoIndex(), 0);

  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(58000, 7200.0L + 4500.0L));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(f.iono.GetIonoIndex(), 2);
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(58000, 7200.0L + 4501.0L));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), kLater900);
  EXPECT_EQ(f.iono.GetIonoIndex(), 2);
}

TEST(myIono, LinearIndexMovesFromThePreviousOne) {
  IonoFile f(LinearFile());
  f.iono.ReadFile();
  f.iono.SetIonoIndex(mjd(58000, 0.0L));
  long ix = f.iono.GetIonoIndex();
  EXPECT_EQ(ix, 0);
  f.iono.SetIonoIndex(mjd(58000, 7300.0L), ix);
  EXPECT_EQ(f.iono.GetIonoIndex(), 2);
  f.iono.SetIonoIndex(mjd(58000, 3700.0L), f.iono.GetIonoIndex());
  EXPECT_EQ(f.iono.GetIonoIndex(), 1);
  // From the last record an epoch beyond the end keeps it, with the warning when far.
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(58000, 20000.0L), 2);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), kLater900);
  EXPECT_EQ(f.iono.GetIonoIndex(), 2);
  // From the first record an epoch before it keeps it.
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(57999, 80000.0L), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), kPrior900);
  EXPECT_EQ(f.iono.GetIonoIndex(), 0);
  // From the middle the index moves backwards but not below 0.
  f.iono.SetIonoIndex(mjd(57999, 80000.0L), 1);
  EXPECT_EQ(f.iono.GetIonoIndex(), 0);
}

TEST(myIono, EpochFileTakesTheNearestRecord) {
  IonoFile f(EpochFile());
  f.iono.ReadFile();
  EXPECT_EQ(f.iono.GetType(), 1);
  EXPECT_EQ(f.iono.GetInterval(), 30.0L);
  long double d = 0.0L;
  f.iono.SetIonoIndex(mjd(58000, 44.0L));
  EXPECT_EQ(f.iono.GetIonoIndex(), 1);
  f.iono.GetIonoDelay(mjd(58000, 44.0L), d);
  EXPECT_EQ(d, 11.0L);
  f.iono.SetIonoIndex(mjd(58000, 45.0L));  // a tie goes to the later record
  EXPECT_EQ(f.iono.GetIonoIndex(), 2);
  f.iono.SetIonoIndex(mjd(58000, 60.05L));
  EXPECT_EQ(f.iono.GetIonoIndex(), 2);
  f.iono.SetIonoIndex(mjd(58000, 16.0L), 3);  // backwards from a later index
  EXPECT_EQ(f.iono.GetIonoIndex(), 1);
  f.iono.SetIonoIndex(mjd(58000, 80.0L), 0);
  EXPECT_EQ(f.iono.GetIonoIndex(), 3);
}

TEST(myIono, EpochFileWarnsBeyondThreeIntervals) {
  IonoFile f(EpochFile());
  f.iono.ReadFile();
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(58000, 90.0L + 90.0L));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(58000, 90.0L + 91.0L));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "#### myIono: Warning -> IONO INDEX SET TO LAST (neph-1) - INPUT EPOCH LATER THAN LAST "
            "IONO EPOCH (>3*INTERVALs) ####\n     Continuing myIono ... \n");
  EXPECT_EQ(f.iono.GetIonoIndex(), 3);
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(57999, 86400.0L - 91.0L), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "#### myIono: Warning -> IONO INDEX SET TO ZERO (0) - INPUT EPOCH PRIOR TO FIRST IONO "
            "EPOCH (<3*INTERVALs) ####\n     Continuing myIono ... \n");
  EXPECT_EQ(f.iono.GetIonoIndex(), 0);
}

TEST(myIono, SingleRecordWarnsOnlyAwayFromItsEpoch) {
  IonoFile f("Lustra ionosphere - EPOCH BY EPOCH\n" + Record(58000, 30.0, 10.0, 0.0, false));
  f.iono.ReadFile();
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(58000, 30.0L));
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(f.iono.GetIonoIndex(), 0);
  testing::internal::CaptureStdout();
  f.iono.SetIonoIndex(mjd(58000, 31.0L), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("(>3*INTERVALs)"), std::string::npos);
}

TEST(myIonoDeathTest, UnusableFilesStopTheProgram) {
  {
    IonoFile f("");
    EXPECT_EXIT_COUT(
        f.iono.ReadFile(),
        "**** myIono: Error -> myIONO FILE CAN NOT BE READ! ****\n     Exiting myIono");
  }
  {
    IonoFile f("some other header\n" + Record(58000, 0.0, 1.0));
    EXPECT_EXIT_COUT(f.iono.ReadFile(), "myIONO FILE TYPE NOT SET (LINEAR OR EPOCH BY EPOCH)!");
  }
  {
    IonoFile f("LINEAR\n" + Record(58000, 60.0, 1.0) + Record(58000, 0.0, 1.0));
    EXPECT_EXIT_COUT(f.iono.ReadFile(),
                     "myIONO FILE RECORDS NOT IN ASCENDING TIME ORDER (RECORD 2)!");
  }
  {
    IonoFile f("LINEAR\n" + Record(58000, 0.0, 1.0) + "58000   30.0    bad\n");
    EXPECT_EXIT_COUT(f.iono.ReadFile(), "myIONO FILE RECORD IN LINE 3 CAN NOT BE READ!");
  }
  {
    IonoFile f("EPOCH BY EPOCH\n# nothing\n");
    EXPECT_EXIT_COUT(f.iono.ReadFile(), "myIONO FILE HOLDS NO RECORDS!");
  }
}
