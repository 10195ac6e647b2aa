#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "core/ProgramVersion.h"
#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"
#include "orbits/GLNSat.h"
#include "sdiff/ObsMapping.h"
#include "sdiff/PhsDiff.h"
#include "sdiff/PhsDiffData.h"
#include "sdiff/PhsDiffHeader.h"
#include "sdiff/Tool.h"
#include "tools/sdiff/TestHelpers.h"

namespace {

std::string H(const std::string& content, const std::string& label) {
  return content + std::string(60 - content.size(), ' ') + label + "\n";
}

// A RINEX 3 satellite line; 0 leaves the field blank.
std::string Sat(const char* id, std::vector<double> values) {
  std::string s = id;
  char buf[32];
  for (double v : values) {
    if (v == 0)
      s += std::string(16, ' ');
    else {
      std::snprintf(buf, sizeof buf, "%14.3f  ", v);
      s += buf;
    }
  }
  return s + "\n";
}

std::string Header3(const std::string& name, const std::string& gTypes, const std::string& eTypes) {
  return H("     3.04           OBSERVATION DATA    M", "RINEX VERSION / TYPE") +
         H(name, "MARKER NAME") + H("SN1                 SEPT POLARX5", "REC # / TYPE / VERS") +
         H("A1                  TRM59800.00     NONE", "ANT # / TYPE") +
         H("  4595212.4530  1148421.1070  4270496.5390", "APPROX POSITION XYZ") +
         H("        0.1000        0.2000        0.3000", "ANTENNA: DELTA H/E/N") +
         H(gTypes, "SYS / # / OBS TYPES") + H(eTypes, "SYS / # / OBS TYPES") +
         H("  1 R01  1", "GLONASS SLOT / FRQ #") + H("", "END OF HEADER");
}

std::string Epoch(const char* hms, int n) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "> 2024 03 01 %s  0 %2d\n", hms, n);
  return buf;
}

std::string Record(int sat, std::vector<double> v) {
  std::string s;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%3d", sat);
  s = buf;
  for (double x : v) {
    std::snprintf(buf, sizeof buf, "%17.4f", x);
    s += buf;
  }
  return s + "\n";
}

struct Pair {
  testsupport::TempDir dir;
  std::string base = dir.File("base.rnx"), rover = dir.File("rover.crx"), out = dir.File("sd.txt");
  Pair() {
    const std::string g = "G    5 C1C L1C C2W L2W L2L", e = "E    4 C1C L1C C7Q L7Q";
    std::string b = Header3("BASE", g, e), r = Header3("ROVR", g, "E    4 C1X L1X C7Q L7Q");
    b += Epoch("00 00  0.0000000", 3) +
         Sat("G05", {20000000, 105000000, 20000001, 81000000, 81000000.25}) +
         Sat("E11", {23000000, 120000000, 23000002, 90000000}) + Sat("E12", {1, 2, 3, 4});
    r += Epoch("00 00  0.0004000", 3) + Sat("G07", {1, 2, 3, 4, 5}) +
         Sat("G05", {20000100.5, 105000500.25, 20000101, 0, 81000400.5}) +
         Sat("E11", {23000001, 120000300, 23000052, 90000200});
    b += Epoch("00 00 30.0000000", 1) + Sat("G05", {1, 2, 3, 4, 5});
    r += Epoch("00 00 30.0020000", 1) + Sat("G05", {1, 2, 3, 4, 5});  // beyond 1 ms
    b += Epoch("00 01  0.0000000", 1) +
         Sat("G05", {20000010, 105000050, 20000011, 81000040, 81000040.25});
    r += Epoch("00 00 59.9990000", 1) +
         Sat("G05", {20000110, 105000550, 20000111, 81000440, 81000440.75});
    b += Epoch("00 01 30.0000000", 1) + Sat("G05", {1, 2, 3, 4, 5});
    r += Epoch("00 02  0.0000000", 1) + Sat("G05", {1, 2, 3, 4, 5});
    testsupport::WriteFile(base, b);
    testsupport::WriteFile(rover, sdtest::Gzip(r));
  }
  std::vector<std::string> Args() const {
    return {"--base", base, "--rover", rover, "--out", out, "--quiet"};
  }
};

}  // namespace

TEST(SdTool, WritesTheCommonEpochsAndSatellitesRoverMinusBase) {
  Pair p;
  testing::internal::CaptureStdout();
  EXPECT_EQ(SdRun(p.Args()), 0);
  std::string summary = testing::internal::GetCapturedStdout();
  EXPECT_EQ(summary, "tervan-sdiff: 2 epochs, 2 satellites, 3 records written to " + p.out +
                         "; dropped epochs: 1 only at the BASE, 1 only at the ROVER, 1 with a "
                         "tag offset beyond 0.001 s, 0 without common satellites, 0 out of time "
                         "order, 0 cut off; GPS 2 records (C1C, C2W, L1C, L2L), Galileo 1 record "
                         "(C1C/C1X, L1C/L1X, C7Q, L7Q)\n");
  const std::string expected =
      "SINGLE_DIFFERENCES\n"
      "MARKER NAME     :  4 BASE  4 ROVR\n"
      "MARKER NUMBER   :  0   0 \n"
      "RECEIVER TYPE   : 12 SEPT POLARX5 12 SEPT POLARX5\n"
      "ANTENNA TYPE    : 20 TRM59800.00     NONE 20 TRM59800.00     NONE\n"
      "ANTENNA SERIAL  :  2 A1  2 A1\n"
      "XYZ POSITION    :  4595212.4530  1148421.1070  4270496.5390    4595212.4530  "
      "1148421.1070  4270496.5390\n"
      "DELTA N/E/U     :      0.3000      0.2000      0.1000      0.3000      0.2000      0.1000\n"
      "# & TYPES OF OBS:  6  C1 P2 L1 L2 C7 L7\n"
      "DIFFERENCE LEVEL:  1\n"
      "END OF HEADER 1\n"
      "  2  60370       0.0000000      400.000000        0.000000        0.000000\n" +
      // The L2 of G05 comes from L2L at both stations (L2W is missing at the ROVER), and
      // stays on L2L in the next epoch; E11 pairs its E1 code and phase across the
      // tracking attributes (C1C with C1X, L1C with L1X).
      Record(5, {100.5, 100, 500.25, 400.25, 0, 0}) + Record(211, {1, 0, 300, 0, 50, 200}) +
      "  1  60370      60.0000000    -1000.000000        0.000000        0.000000\n" +
      Record(5, {100, 100, 500, 400.5, 0, 0});
  EXPECT_EQ(testsupport::ReadFile(p.out), expected);

  // The program reads the file back.
  PhsDiffHeader head;
  PhsDiffData data(head);
  PhsDiff sd(head, data);
  sd.SetFile(p.out.c_str());
  sd.ReadFile();
  ASSERT_EQ(data.GetNEpoch(), 2);
  ASSERT_EQ(data.GetNObs(), 3);
  EXPECT_EQ(data.GetRecSat(1), 211);
  EXPECT_NEAR(static_cast<double>(data.C1(0).GetObs()), 100.5, 1e-9);
  EXPECT_NEAR(static_cast<double>(data.L2(2).GetObs()), 400.5, 1e-9);
  EXPECT_NEAR(static_cast<double>(data.L7(1).GetObs()), 200.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(data.dtR_B(0)), 400e-6, 1e-15);
  EXPECT_NEAR(static_cast<double>(head.GetDp(0).GetN()), 0.3, 1e-12);
}

TEST(SdTool, AMissingHeaderPositionWithoutOrbitsIsWarnedAbout) {
  Pair p;
  std::string b = testsupport::ReadFile(p.base);
  b.replace(b.find("  4595212.4530  1148421.1070  4270496.5390"), 42,
            "        0.0000        0.0000        0.0000");
  testsupport::WriteFile(p.base, b);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(SdRun(p.Args()), 0);
  testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("BASE BASE: THE RINEX HEADER HAS NO POSITION AND NO ORBITS ARE GIVEN (--nav "
                     "OR --sp3); THE POSITION IS WRITTEN AS 0"),
            std::string::npos)
      << err;
  EXPECT_EQ(err.find("ROVER ROVR"), std::string::npos);
}

TEST(SdTool, ASingleCommonEpochIsWarnedAbout) {
  Pair p;
  auto args = p.Args();
  // Only the first epoch pair lies within the tolerance.
  args.insert(args.end(), {"--tag-tolerance", "0.0005"});
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(SdRun(args), 0);
  testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("THE FILES HAVE ONLY ONE COMMON EPOCH; TERVAN NEEDS AT LEAST TWO"),
            std::string::npos)
      << err;
}

TEST(SdTool, IntervalDecimatesAndChannelFileIsWritten) {
  Pair p;
  auto args = p.Args();
  args.insert(args.end(), {"--interval", "60", "--glonass-channels", p.dir.File("glo.txt"),
                           "--tag-tolerance", "0.003"});
  testing::internal::CaptureStdout();
  EXPECT_EQ(SdRun(args), 0);
  std::string summary = testing::internal::GetCapturedStdout();
  EXPECT_NE(summary.find("; 1 left out by the interval"), std::string::npos);
  std::string sd = testsupport::ReadFile(p.out);
  EXPECT_NE(sd.find("  1  60370      60.0000000"), std::string::npos);
  EXPECT_EQ(sd.find("  1  60370      30.0000000"), std::string::npos);
  GLNSat channels;
  channels.SetFile(p.dir.File("glo.txt").c_str());
  channels.ReadFile();
  mjd t = ymdhms2mjd(ymdhms(2024, 3, 1, 12, 0, 0.0L));
  EXPECT_EQ(channels.GetFreqNum(101, t), 1.0L);
  EXPECT_EQ(testsupport::ReadFile(p.dir.File("glo.txt")),
            "# GLONASS frequency channels from the RINEX headers\n"
            "R01       2024 03 01 00 00 00.0" +
                std::string(20, ' ') + "1\n");
}

TEST(SdTool, VersionNamesReleaseAndCommitWithoutInputFiles) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(SdRun({"--version"}), 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), VersionLine("tervan-sdiff") + "\n");
}

TEST(SdToolDeathTest, FailedRunsLeaveNoOutputBehind) {
  Pair p;
  // A ROVER file cut inside its last epoch record.
  std::string r = testsupport::ReadFile(p.base);
  testsupport::WriteFile(p.rover, r.substr(0, r.rfind("G05")));
  EXPECT_EXIT(SdRun(p.Args()), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE " + p.rover +
                                " IS NOT A VALID RINEX OBSERVATION FILE (LINE 19: FILE ENDS "
                                "INSIDE AN EPOCH RECORD)!"));
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(p.dir.Path()))
    left.push_back(e.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"base.rnx", "rover.crx"}));
}

TEST(SdToolDeathTest, AChannelFileThatCannotBeWrittenLeavesNoOutputBehind) {
  Pair p;
  auto args = p.Args();
  const std::string channels = p.dir.File("no/such/folder/glo.txt");
  args.insert(args.end(), {"--glonass-channels", channels});
  testing::internal::CaptureStdout();
  EXPECT_EXIT(SdRun(args), ::testing::ExitedWithCode(1),
              sdtest::ToolError("OUTPUT FILE " + channels + " CAN NOT BE WRITTEN!"));
  testing::internal::GetCapturedStdout();
  EXPECT_FALSE(std::filesystem::exists(p.out));
}

TEST(SdToolDeathTest, ADifferenceTooWideForItsFieldIsAnError) {
  Pair p;
  std::string b = testsupport::ReadFile(p.base);
  b.replace(b.find("  20000000.000"), 14, "99999999999999");
  testsupport::WriteFile(p.base, b);
  EXPECT_EXIT(SdRun(p.Args()), ::testing::ExitedWithCode(1),
              sdtest::ToolError("SINGLE DIFFERENCE OF SATELLITE 5 AT MJD 60370 0 s IS TOO LARGE "
                                "FOR ITS FIELD!"));
  EXPECT_FALSE(std::filesystem::exists(p.out));
}

TEST(SdToolDeathTest, CommandLineErrors) {
  Pair p;
  EXPECT_EXIT(SdRun({"--base", p.base, "--rover", p.rover, "--out", p.base}),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError("OUTPUT FILE " + p.base + " IS ALSO AN INPUT FILE!"));
  EXPECT_EXIT(
      SdRun({"--base", p.base, "--rover", p.rover, "--out", p.out, "--glonass-channels", p.out}),
      ::testing::ExitedWithCode(1),
      sdtest::ToolError("OUTPUT FILE " + p.out + " IS ALSO THE GLONASS CHANNEL FILE!"));
  EXPECT_EXIT(SdRun({"--base", p.base, "--rover", p.rover}), ::testing::ExitedWithCode(1),
              sdtest::ToolError(
                  "OPTIONS --base, --rover AND --out ARE REQUIRED (see tervan-sdiff --help)"));
  EXPECT_EXIT(SdRun({"--bogus", "1"}), ::testing::ExitedWithCode(1),
              sdtest::ToolError("UNKNOWN OPTION --bogus (see tervan-sdiff --help)"));
  EXPECT_EXIT(SdRun({"--base", p.base, "--verbose"}), ::testing::ExitedWithCode(1),
              sdtest::ToolError("UNKNOWN OPTION --verbose (see tervan-sdiff --help)"));
  EXPECT_EXIT(
      SdRun({"--interval=0.5"}), ::testing::ExitedWithCode(1),
      sdtest::ToolError("INVALID VALUE '0.5' OF OPTION --interval (see tervan-sdiff --help)"));
  auto args = p.Args();
  args.insert(args.end(), {"--tag-tolerance", "0.0001"});
  std::string r = testsupport::ReadFile(p.base);
  EXPECT_EXIT(SdRun(args), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILES " + p.base + " AND " + p.rover +
                                " HAVE NO COMMON EPOCH (EPOCH TAGS BEYOND THE TAG TOLERANCE: SEE "
                                "--tag-tolerance)!"));
}

TEST(ObsMapping, SameCodeAtBothStationsAndRinex2TypesPairWithAnyCode) {
  using V = std::vector<std::string>;
  using P = std::vector<std::pair<int, int>>;
  EXPECT_EQ(sdmap::Pairs('G', sdmap::kL2, V{"L2L", "L2W"}, V{"L2W", "L2S", "L2L"}),
            (P{{1, 0}, {0, 2}}));
  // Without a shared code the stations' first codes of the class pair across attributes.
  EXPECT_EQ(sdmap::Pairs('G', sdmap::kC2, V{"C2L"}, V{"C2S"}), (P{{0, 0}}));
  EXPECT_EQ(sdmap::Pairs('G', sdmap::kC1, V{"C1C"}, V{"C1W"}), P{});
  EXPECT_EQ(sdmap::Pairs('E', sdmap::kC1, V{"C1", "L1"}, V{"C1X", "C1C"}), (P{{0, 1}, {0, 0}}));
  EXPECT_EQ(sdmap::Pairs('R', sdmap::kP2, V{"P2"}, V{"P2"}), (P{{0, 0}}));
  EXPECT_EQ(sdmap::FileCode(sdmap::kL7), 19);
}

TEST(SdTool, TypeListsChangedByEventRecordsApplyFromTheNextEpoch) {
  testsupport::TempDir dir;
  auto header = [](const std::string& name) {
    return H("     3.04           OBSERVATION DATA    G", "RINEX VERSION / TYPE") +
           H(name, "MARKER NAME") + H("G    2 C1C L1C", "SYS / # / OBS TYPES") +
           H("", "END OF HEADER");
  };
  // The BASE swaps its columns after the first epoch.
  std::string b = header("BASE") + Epoch("00 00  0.0000000", 1) +
                  Sat("G05", {20000000, 105000000}) + ">" + std::string(30, ' ') + "4  1\n" +
                  H("G    2 L1C C1C", "SYS / # / OBS TYPES") + Epoch("00 00 30.0000000", 1) +
                  Sat("G05", {105000010, 20000002});
  std::string r = header("ROVR") + Epoch("00 00  0.0000000", 1) +
                  Sat("G05", {20000001, 105000100}) + Epoch("00 00 30.0000000", 1) +
                  Sat("G05", {20000004, 105000120});
  testsupport::WriteFile(dir.File("b.rnx"), b);
  testsupport::WriteFile(dir.File("r.rnx"), r);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(SdRun({"--base", dir.File("b.rnx"), "--rover", dir.File("r.rnx"), "--out",
                   dir.File("sd.txt"), "--quiet"}),
            0);
  testing::internal::GetCapturedStdout();
  testing::internal::GetCapturedStderr();
  std::string sd = testsupport::ReadFile(dir.File("sd.txt"));
  EXPECT_NE(sd.find(Record(5, {1, 100})), std::string::npos) << sd;
  EXPECT_NE(sd.find(Record(5, {2, 110})), std::string::npos) << sd;
}

TEST(SdTool, HelpTextNeedsNoFiles) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(SdRun({"--help"}), 0);
  std::string help = testing::internal::GetCapturedStdout();
  EXPECT_NE(help.find("Usage: tervan-sdiff --base FILE --rover FILE --out FILE [options]"),
            std::string::npos);
  EXPECT_NE(help.find("--tag-tolerance S"), std::string::npos);
}
