// Monthly code-bias files, the sibling tool's code biases and receiver code tracking.
#include <gtest/gtest.h>

#include <string>

#include "gnss/mjd.h"
#include "station/DCB.h"
#include "station/RecCodeTrack.h"
#include "station/myDCB.h"
#include "support/TestSupport.h"

using testsupport::Literal;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

const char* kMonthly =
    "CODE'S MONTHLY GPS P1-C1 DCB SOLUTION, YEAR 2015, MONTH 01       04-FEB-15 06:46\n"
    "-------------------------------------------------------------------------------\n"
    "\n"
    "DIFFERENTIAL (P1-C1) CODE BIASES FOR SATELLITES AND RECEIVERS:\n"
    "\n"
    "PRN / STATION NAME        VALUE (NS)  RMS (NS)\n"
    "***   ****************    *****.***   *****.***\n"
    "G01                           1.496       0.005\n"
    "G12                          -1.662       0.002\n"
    "E11                           9.999       0.001\n"
    "R03                          -0.500       0.010\n"
    "ALGO 40104M002               12.000       0.200\n";

std::string DCBFile(TempDir& dir, const std::string& name, const std::string& text) {
  WriteFile(dir.File(name), text);
  return dir.File(name);
}

}  // namespace

TEST(DCB, ValidityComesFromTheFileName) {
  TempDir dir;
  DCB d;
  d.SetFile(DCBFile(dir, "P1C11501.DCB", kMonthly).c_str());
  d.ReadFile();
  EXPECT_EQ(d.GetStartEpoch(), mjd(57023, 0.0L));  // 2015-01-01
  EXPECT_EQ(d.GetEndEpoch(), mjd(57053, 86399.999L));
  DCB all;
  all.SetFile(DCBFile(dir, "P1P29912_ALL.DCB", kMonthly).c_str());
  all.ReadFile();
  EXPECT_EQ(all.GetStartEpoch(), mjd(51513, 0.0L));  // 1999-12-01
  EXPECT_EQ(all.GetEndEpoch(), mjd(51543, 86399.999L));
  DCB none;
  none.SetFile(DCBFile(dir, "biases.txt", kMonthly).c_str());
  none.ReadFile();
  EXPECT_EQ(none.GetStartEpoch(), mjd(44250, 0.0L));
  EXPECT_EQ(none.GetEndEpoch(), mjd(85000, 0.0L));
}

TEST(DCB, SatelliteLinesAreReadInSeconds) {
  TempDir dir;
  DCB d;
  d.SetFile(DCBFile(dir, "P1C11501.DCB", kMonthly).c_str());
  d.ReadFile();
  ASSERT_EQ(d.GetNSat(), 3);  // Galileo and station lines are not satellite lines
  EXPECT_EQ(d.GetSat(2), 103);
  long double v, r;
  d.GetDCB(12, v, r);
  EXPECT_NEAR(static_cast<double>(v), -1.662e-9, 1e-21);
  EXPECT_NEAR(static_cast<double>(r), 0.002e-9, 1e-21);
  EXPECT_NEAR(static_cast<double>(d.GetDCBVAL(103)), -0.5e-9, 1e-21);
  EXPECT_NEAR(static_cast<double>(d.GetDCBRMS(1)), 0.005e-9, 1e-21);
}

TEST(DCB, UnlistedSatellitesWarnAndGiveZero) {
  TempDir dir;
  DCB d;
  d.SetFile(DCBFile(dir, "P1C11501.DCB", kMonthly).c_str());
  d.ReadFile();
  long double v = 1, r = 1;
  testing::internal::CaptureStdout();
  d.GetDCB(7, v, r);
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "SATELLITE: 07 NOT LISTED IN DCB VALUES - SETTING 0.0s VALUES!"),
            std::string::npos);
  EXPECT_EQ(v, 0.0L);
  EXPECT_EQ(r, 0.0L);
  testing::internal::CaptureStdout();
  EXPECT_EQ(d.GetDCBVAL(211), 0.0L);
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "SATELLITE: 211 NOT LISTED IN DCB VALUES - SETTING 0.0s VALUES FOR VAL!"),
            std::string::npos);
  testing::internal::CaptureStdout();
  EXPECT_EQ(d.GetDCBRMS(8), 0.0L);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("SETTING 0.0s VALUES FOR RMS!"),
            std::string::npos);
}

TEST(DCB, FileWithoutTableHeaderHasNoSatellites) {
  TempDir dir;
  DCB d;
  d.SetFile(DCBFile(dir, "P1C11501.DCB", "G01     1.0   0.1\n").c_str());
  d.ReadFile();
  EXPECT_EQ(d.GetNSat(), 0);
}

TEST(DCB, MalformedValueIsFatal) {
  TempDir dir;
  DCB d;
  d.SetFile(DCBFile(dir, "P1C11501.DCB", "PRN / STATION NAME\nG01   short\n").c_str());
  EXPECT_EXIT_COUT(d.ReadFile(), "DCB FILE CORRUPTED!");
  EXPECT_EXIT(d.SetFile(dir.File("none.DCB").c_str()), ::testing::ExitedWithCode(1),
              Literal("DCB FILE DOES NOT EXIST!"));
}

TEST(DCBRealData, MonthlyFilesReadEverySatellite) {
  const std::string c1 = testsupport::SharedData("models/P1C12011.DCB");
  const std::string p2 = testsupport::SharedData("models/P1P22011.DCB");
  if (c1.empty() || p2.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  DCB d;
  d.SetFile(c1.c_str());
  d.ReadFile();
  EXPECT_EQ(d.GetNSat(), 32);
  EXPECT_EQ(d.GetStartEpoch(), mjd(59154, 0.0L));  // 2020-11-01
  EXPECT_NEAR(static_cast<double>(d.GetDCBVAL(1)), 1.496e-9, 1e-21);
  DCB e;
  e.SetFile(p2.c_str());
  e.ReadFile();
  EXPECT_EQ(e.GetNSat(), 53);
  EXPECT_NEAR(static_cast<double>(e.GetDCBVAL(124)), 0.794e-9, 1e-21);
}

namespace {

const char* kLustra =
    "#REFERECNE EPOCH: 59000 43200.000\n"
    "R         1.2500     0.0100    -2.5000     0.0200\n"
    "S     G 5 0.5000     0.0010     0.7000     0.0020\n"
    "S     R12 -0.300     0.0030     0.4000     0.0040\n"
    "S     E24 0.1000     0.0050     0.2000     0.0060\n";

}  // namespace

TEST(myDCB, ReadsReceiverAndSatelliteBiases) {
  TempDir dir;
  myDCB d;
  d.SetFile(DCBFile(dir, "lustra.dcb", kLustra).c_str());
  d.ReadFile();
  EXPECT_EQ(d.GetRefEpoch(), mjd(59000, 43200.0L));
  ASSERT_EQ(d.GetNSat(), 3);
  EXPECT_EQ(d.GetSat(0), 5);
  EXPECT_EQ(d.GetSat(1), 112);
  EXPECT_EQ(d.GetSat(2), 224);
  EXPECT_NEAR(static_cast<double>(d.GetRecP1C1()), 1.25, 1e-15);
  EXPECT_NEAR(static_cast<double>(d.GetRecP2C1RMS()), 0.02, 1e-15);
  long double a, ar, b, br;
  d.GetDCB(112, a, ar, b, br);
  EXPECT_NEAR(static_cast<double>(a), -0.3, 1e-15);
  EXPECT_NEAR(static_cast<double>(ar), 0.003, 1e-15);
  EXPECT_NEAR(static_cast<double>(b), 0.4, 1e-15);
  EXPECT_NEAR(static_cast<double>(br), 0.004, 1e-15);
  d.GetDCBVAL(224, a, b);
  EXPECT_NEAR(static_cast<double>(b), 0.2, 1e-15);
  d.GetDCBRMS(5, a, b);
  EXPECT_NEAR(static_cast<double>(a), 0.001, 1e-15);
  testing::internal::CaptureStdout();
  d.GetDCB(9, a, ar, b, br);
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "SATELLITE: 09 NOT LISTED IN DCB VALUES - SETTING 0.0s VALUES!"),
            std::string::npos);
  EXPECT_EQ(a + ar + b + br, 0.0L);
}

TEST(myDCB, MalformedLinesAreFatal) {
  TempDir dir;
  myDCB d;
  d.SetFile(DCBFile(dir, "lustra.dcb", "S     G 5 abc\n").c_str());
  EXPECT_EXIT_COUT(d.ReadFile(), "DCB FILE CORRUPTED!");
}

namespace {

const char* kReceivers =
    "RECEIVER TYPE          #FREQ  CODE\n"
    "TRIMBLE 4000SSI        2     C1\n"
    "                             P2\n"
    "ASHTECH Z-XII3         2     P1\n"
    "                             P2\n"
    "SOME SEMICODELESS      2     C1\n"
    "                             X2\n"
    "SINGLE FREQUENCY       1     P1\n"
    "DAMAGED COUNT          x     C1\n"
    "                             P2\n";

}  // namespace

TEST(RecCodeTrack, ClassesFromTheList) {
  TempDir dir;
  RecCodeTrack r;
  r.SetFile(DCBFile(dir, "rec.txt", kReceivers).c_str());
  EXPECT_EQ(r.GetRecCodeTrack("TRIMBLE 4000SSI"), 1);
  EXPECT_EQ(r.GetRecCodeTrack("ASHTECH Z-XII3"), 0);
  EXPECT_EQ(r.GetRecCodeTrack("SOME SEMICODELESS"), 2);
  EXPECT_EQ(r.CheckRecName("ASHTECH"), 1);
  EXPECT_EQ(r.GetRecType("LEICA"), 0);
}

TEST(RecCodeTrack, UndeterminedAndUnlistedReceiversWarn) {
  TempDir dir;
  RecCodeTrack r;
  r.SetFile(DCBFile(dir, "rec.txt", kReceivers).c_str());
  testing::internal::CaptureStdout();
  EXPECT_EQ(r.GetRecCodeTrack("SINGLE FREQUENCY"), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "RECEIVER: SINGLE FREQUENCY DETERMINATION OF CODE TRACKING NOT SUCCESFUL - "
                "SETTING TO P1P2 VALUE!"),
            std::string::npos);
  testing::internal::CaptureStdout();
  EXPECT_EQ(r.GetRecCodeTrack("DAMAGED COUNT"), 0);  // not read as a class of one code
  EXPECT_NE(testing::internal::GetCapturedStdout().find("DAMAGED COUNT DETERMINATION OF CODE"),
            std::string::npos);
  testing::internal::CaptureStdout();
  EXPECT_EQ(r.GetRecCodeTrack("LEICA GR50"), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "RECEIVER: LEICA GR50 NOT LISTED IN RECEIVER TYPES LIST - SETTING CODE TRACKING "
                "TO P1P2 VALUE!"),
            std::string::npos);
  testing::internal::CaptureStdout();
  EXPECT_EQ(r.GetRecCodeTrack(""), 0);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("NOT LISTED IN RECEIVER TYPES LIST"),
            std::string::npos);
}

TEST(RecCodeTrack, MissingListIsFatal) {
  TempDir dir;
  RecCodeTrack r;
  EXPECT_EXIT(r.SetFile(dir.File("none.txt").c_str()), ::testing::ExitedWithCode(1),
              Literal("RECEIVER LIST FILE CAN NOT BE OPENED (CODE TRACKING TECHNIQUE)!"));
}
