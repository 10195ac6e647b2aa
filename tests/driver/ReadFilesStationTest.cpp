// Loading of the station model inputs through SetFiles and ReadFiles.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "driver/TervanC.h"
#include "driver/Tervan_ReadFiles.h"
#include "support/TestSupport.h"

using testsupport::Literal;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

const char* kErp =
    "version 2\n"
    "  MJD         X        Y     UT1-UTC\n"
    "               10**-6\"        .1us\n"
    "56228.50   145507   311622   3469742\n"
    "56229.50   144461   311497   3460025\n";

std::string AtxLine(const std::string& content, const std::string& label) {
  std::string s = content;
  s.resize(60, ' ');
  return s + label + "\n";
}

std::string Atx() {
  return AtxLine("     1.4            G", "ANTEX VERSION / SYST") +
         AtxLine("A", "PCV TYPE / REFANT") + AtxLine("", "END OF HEADER") +
         AtxLine("", "START OF ANTENNA") + AtxLine("BLOCK IIA           G01", "TYPE / SERIAL NO") +
         AtxLine("     0.0", "DAZI") + AtxLine("     0.0  14.0   7.0", "ZEN1 / ZEN2 / DZEN") +
         AtxLine("   G01", "START OF FREQUENCY") +
         AtxLine("    279.00      0.00   2253.47", "NORTH / EAST / UP") +
         "   NOAZI   -0.80   -0.90   -0.90\n" + AtxLine("", "END OF ANTENNA") +
         AtxLine("", "START OF ANTENNA") + AtxLine("TRM29659.00     NONE", "TYPE / SERIAL NO") +
         AtxLine("     0.0", "DAZI") + AtxLine("     0.0  90.0  45.0", "ZEN1 / ZEN2 / DZEN") +
         AtxLine("   G01", "START OF FREQUENCY") +
         AtxLine("      1.00      2.00     90.00", "NORTH / EAST / UP") +
         "   NOAZI    0.00    1.00    2.00\n" + AtxLine("", "END OF ANTENNA");
}

const char* kDcb =
    "PRN / STATION NAME        VALUE (NS)  RMS (NS)\n"
    "G01                           1.496       0.005\n";

// A run context with every station input given, in a temporary folder.
class ReadFilesStation : public ::testing::Test {
 protected:
  void SetUp() override {
    Give(tc.isPTide, tc.ptidefile, "igs.erp", kErp);
    Give(tc.isOTide, tc.otidefile, "ocean.blq",
         testsupport::ReadFile(std::string(TERVAN_TEST_DATA) + "/station/ocean.blq"));
    Give(tc.isAtx, tc.atxfile, "test.atx", Atx());
    Give(tc.isP1P2, tc.dcbp1p2file, "P1P21501.DCB", kDcb);
    Give(tc.isP1C1, tc.dcbp1c1file, "P1C11501.DCB", kDcb);
    Give(tc.isP2C2, tc.dcbp2c2file, "P2C21501.DCB", kDcb);
    Give(tc.isMyDCB, tc.mydbcfile, "lustra.dcb",
         "S     G 1 0.5000     0.0010     0.7000     0.0020\n");
    Give(tc.isRCodTrc, tc.rctrackfile, "rec.txt", "TRIMBLE 4000SSI        2     C1\n");
    Give(tc.isAprCrd, tc.aprcrdfile, "crd.txt", "# none\n");
    // Loading ends with checks of the single differences, which need data.
    std::string sd = "SINGLE_DIFFERENCES\n# & TYPES OF OBS:  4  C1 P2 L1 L2\nEND OF HEADER 1\n";
    for (int e = 0; e < 2; ++e)
      sd += "1 59000 " + std::to_string(30 * e) +
            " 0 0 0\n  1    20000000.0000    20000001.0000      100000.0000       80000.0000\n";
    Give(tc.isSDfile, tc.sdfile, "a.sdf", sd);
    tc.isGPS = true;
    tc.verbose = true;
  }
  // Lines of the stream that begin with the prefix, in order.
  static std::string Lines(const std::string& text, const std::string& prefix) {
    std::string out;
    size_t b = 0;
    while (b < text.size()) {
      size_t e = text.find('\n', b);
      if (e == std::string::npos) e = text.size();
      const std::string line = text.substr(b, e - b);
      if (line.compare(0, prefix.size(), prefix) == 0 &&
          line.find("SINGLE DIFFERENCES") == std::string::npos)
        out += line + "\n";
      b = e + 1;
    }
    return out;
  }
  void Give(bool& flag, char* name, const std::string& file, const std::string& text) {
    WriteFile(dir.File(file), text);
    std::snprintf(name, 512, "%s", dir.File(file).c_str());
    flag = true;
  }
  TempDir dir;
  TervanC tc;
};

}  // namespace

TEST_F(ReadFilesStation, SetFilesNamesEveryInputInOrder) {
  testing::internal::CaptureStderr();
  SetFiles(tc);
  const std::string err = Lines(testing::internal::GetCapturedStderr(), "Tervan::SetFiles()");
  const char* expected =
      "Tervan::SetFiles(): SETTING INPUT FILE NAMES AND PROCESSING SETTINGS!\n"
      "Tervan::SetFiles():         setting EARTH ROTATION PARAMETERS file!\n"
      "Tervan::SetFiles():         setting OCEAN LOADING TIDE file!\n"
      "Tervan::SetFiles():         setting ANTEX file!\n"
      "Tervan::SetFiles():         setting P1P2 DCB file!\n"
      "Tervan::SetFiles():         setting P1C1 DCB file!\n"
      "Tervan::SetFiles():         setting P2C2 DCB file!\n"
      "Tervan::SetFiles():         setting Lustra - DCB file!\n"
      "Tervan::SetFiles():         setting RECEIVER CODE TRACKING file!\n"
      "Tervan::SetFiles():         setting APRIORI COORDINATE file!\n";
  EXPECT_EQ(err, expected);
}

TEST_F(ReadFilesStation, ReadFilesLoadsEveryInputWithItsCounts) {
  SetFiles(tc);
  testing::internal::CaptureStderr();
  ReadFiles(tc);
  const std::string err = Lines(testing::internal::GetCapturedStderr(), "Tervan::ReadFiles()");
  const char* expected =
      "Tervan::ReadFiles(): READING INPUT DATA FILES!\n"
      "Tervan::ReadFiles():        reading EARTH ROTATION PARAMETERS file - 2 epochs \n"
      "Tervan::ReadFiles():        reading OCEAN LOADING TIDE file - 1 stations \n"
      "Tervan::ReadFiles():        reading ANTEX file - 1 GPS SWs  0 GLONASS SWs  1 RECs\n"
      "Tervan::ReadFiles():        reading P1P2 DCB file!\n"
      "Tervan::ReadFiles():        reading P1C1 DCB file!\n"
      "Tervan::ReadFiles():        reading P2C2 DCB file!\n"
      "Tervan::ReadFiles():        reading Lustra - DCB file!\n";
  EXPECT_EQ(err, expected);
  EXPECT_EQ(tc.ptide.GetNEpoch(), 2);
  EXPECT_EQ(tc.otide.GetNStation(), 1);
  EXPECT_EQ(tc.atx.GetNRec(), 1);
  EXPECT_EQ(tc.p1c1.GetNSat(), 1);
  EXPECT_EQ(tc.mydcb.GetNSat(), 1);
  EXPECT_EQ(tc.rctrack.GetRecCodeTrack("TRIMBLE 4000SSI"), 0);
}

TEST_F(ReadFilesStation, QuietWithoutVerbose) {
  tc.verbose = false;
  testing::internal::CaptureStderr();
  SetFiles(tc);
  ReadFiles(tc);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(ReadFilesStation, UnreadableInputsEndTheRun) {
  WriteFile(dir.File("igs.erp"), "no header at all\n");
  SetFiles(tc);
  EXPECT_EXIT(ReadFiles(tc), ::testing::ExitedWithCode(1),
              Literal("EARTH ROTATION PARAMETER FILE CAN NOT BE READ!"));
  tc.isPTide = false;
  WriteFile(dir.File("ocean.blq"), "$$ no end of header\n");
  EXPECT_EXIT(ReadFiles(tc), ::testing::ExitedWithCode(1),
              Literal("OCEAN TIDE LOADING FILE CAN NOT BE READ!"));
}

TEST_F(ReadFilesStation, MissingFilesEndTheRunAtSetFiles) {
  std::snprintf(tc.atxfile, 512, "%s", dir.File("none.atx").c_str());
  EXPECT_EXIT(SetFiles(tc), ::testing::ExitedWithCode(1), Literal("ANTEX FILE DOES NOT EXISTS!"));
  tc.isAtx = false;
  std::snprintf(tc.aprcrdfile, 512, "%s", dir.File("none.crd").c_str());
  EXPECT_EXIT(SetFiles(tc), ::testing::ExitedWithCode(1),
              Literal("COORDINATE FILE DOES NOT EXIST!"));
  tc.isAprCrd = false;
  std::snprintf(tc.rctrackfile, 512, "%s", dir.File("none.txt").c_str());
  EXPECT_EXIT(SetFiles(tc), ::testing::ExitedWithCode(1),
              Literal("RECEIVER LIST FILE CAN NOT BE OPENED (CODE TRACKING TECHNIQUE)!"));
}
