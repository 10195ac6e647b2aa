#include <gtest/gtest.h>

#include <sstream>

#include "sdiff/CrinexDecoder.h"
#include "sdiff/OpenInput.h"
#include "sdiff/TextLines.h"
#include "tools/sdiff/TestHelpers.h"

using sdtest::MemorySource;

namespace {

std::string Pad60(const std::string& s) {
  return s + std::string(60 - s.size(), ' ');
}

std::string Crinex1Header() {
  return Pad60("1.0                 COMPACT RINEX FORMAT") + "CRINEX VERS   / TYPE\n" +
         Pad60("RNX2CRX ver.4.0.7                       01-Jan-24 00:01") + "CRINEX PROG / DATE\n" +
         Pad60("     2.11           OBSERVATION DATA    G (GPS)") + "RINEX VERSION / TYPE\n" +
         Pad60("     2    C1    L1") + "# / TYPES OF OBSERV\n" + Pad60("") + "END OF HEADER\n";
}

std::string Crinex3Header() {
  return Pad60("3.0                 COMPACT RINEX FORMAT") + "CRINEX VERS   / TYPE\n" +
         Pad60("RNX2CRX ver.4.1.0                       01-Jan-24 00:01") + "CRINEX PROG / DATE\n" +
         Pad60("     3.04           OBSERVATION DATA    M") + "RINEX VERSION / TYPE\n" +
         Pad60("G    2 C1C L1C") + "SYS / # / OBS TYPES\n" + Pad60("") + "END OF HEADER\n";
}

std::string Decode(const std::string& crx) {
  CrinexDecoder dec(std::make_unique<TextLines>(std::make_unique<MemorySource>(crx)));
  return sdtest::ReadAllLines(dec);
}

std::string Body(const std::string& decoded) {
  size_t p = decoded.find("END OF HEADER\n");
  return decoded.substr(p + 14);
}

// Compares two texts line by line, trailing blanks ignored.
std::string TrimLines(const std::string& text) {
  std::istringstream in(text);
  std::string out, line;
  while (std::getline(in, line)) {
    size_t e = line.find_last_not_of(' ');
    out += line.substr(0, e == std::string::npos ? 0 : e + 1) + '\n';
  }
  return out;
}

}  // namespace

TEST(CrinexDecoder, TextDifferencesKeepReplaceBlankAndExtend) {
  EXPECT_EQ(CrinexDecoder::ApplyDiff(" 21  1  1  0  0 30.0000000", "              1 &"),
            " 21  1  1  0  1  0.0000000");
  EXPECT_EQ(CrinexDecoder::ApplyDiff("ab", "  c&d"), "abc d");
  EXPECT_EQ(CrinexDecoder::ApplyDiff("abc", ""), "abc");
}

TEST(CrinexDecoder, FixedPointTextHasNoZeroBeforeThePoint) {
  EXPECT_EQ(CrinexDecoder::FormatFixed(20243517560, 3, 14), "  20243517.560");
  EXPECT_EQ(CrinexDecoder::FormatFixed(-1242766, 3, 14), "     -1242.766");
  EXPECT_EQ(CrinexDecoder::FormatFixed(-920, 3, 14), "         -.920");
  EXPECT_EQ(CrinexDecoder::FormatFixed(0, 3, 14), "          .000");
  EXPECT_EQ(CrinexDecoder::FormatFixed(12345678, 12, 15), "  .000012345678");
}

TEST(CrinexDecoder, Crinex1ClockLinesEventsAndFlagMemory) {
  std::string crx = Crinex1Header() +
                    "&24  1  1  0  0  0.0000000  0  2G05G12\n"
                    "3&-123456789\n"
                    "3&20000000123 3&105100000456    5\n"
                    "3&21000000000 3&110354000001    7\n"
                    "                3\n"
                    "150\n"
                    "1000 10508\n"
                    "-1000 -5254   1\n"
                    "&24  1  1  0  1  0.0000000  4  1\n"
                    "RECEIVER RESTARTED                                          COMMENT\n"
                    "                            0  2G05G12\n"
                    "3&-123456000\n"
                    "3&20000002000 3&105100010000    5\n"
                    "3&20999998500 3&110353992000    7\n";
  EXPECT_EQ(Body(Decode(crx)),
            " 24  1  1  0  0  0.0000000  0  2G05G12                               -.123456789\n"
            "  20000000.123   105100000.456 5\n"
            "  21000000.000   110354000.001 7\n"
            " 24  1  1  0  0 30.0000000  0  2G05G12                               -.123456639\n"
            "  20000001.123   105100010.964 5\n"
            "  20999999.000   110353994.74717\n"
            " 24  1  1  0  1  0.0000000  4  1\n"
            "RECEIVER RESTARTED                                          COMMENT\n"
            " 24  1  1  0  1  0.0000000  0  2G05G12                               -.123456000\n"
            "  20000002.000   105100010.000 5\n"
            "  20999998.500   110353992.000 7\n");
}

TEST(CrinexDecoder, Crinex3ClockLineAndMissingFieldsMidArc) {
  std::string crx = Crinex3Header() +
                    "> 2024 01 01 00 00  0.0000000  0  1      G05\n"
                    "3&12345678\n"
                    "3&20000000123 3&105100000456    5\n"
                    "                   3\n"
                    "-2000\n"
                    "1000 10508\n"
                    "                   4\n"
                    "\n"
                    "7     &\n";
  EXPECT_EQ(Body(Decode(crx)),
            "> 2024 01 01 00 00  0.0000000  0  1        .000012345678\n"
            "G05  20000000.123   105100000.456 5\n"
            "> 2024 01 01 00 00 30.0000000  0  1        .000012343678\n"
            "G05  20000001.123   105100010.964 5\n"
            "> 2024 01 01 00 00 40.0000000  0  1\n"
            "G05  20000002.130\n");
}

TEST(CrinexDecoder, ReproducesThePublishedRinexFiles) {
  const char* pairs[][2] = {
      {"delf0010.21d", "delf0010.21o"},
      {"ACOR00ESP_R_20213550000_01D_30S_MO.crx", "ACOR00ESP_R_20213550000_01D_30S_MO.rnx"},
      {"DUTH0630.22D", "DUTH0630.22O"},
      {"flrs0010.12d", "flrs0010.12o"},
      {"pdel0010.21d", "pdel0010.21o"},
      {"npaz3550.21d", "npaz3550.21o"}};
  for (auto& p : pairs) {
    std::string crx = testsupport::SharedData(std::string("crinex/") + p[0]);
    std::string rnx = testsupport::SharedData(std::string("crinex/") + p[1]);
    if (crx.empty() || rnx.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
    SCOPED_TRACE(p[0]);
    auto lines = SdOpenObservationFile(crx);
    std::string decoded = sdtest::ReadAllLines(*lines);
    std::string expected = testsupport::ReadFile(rnx);
    if (std::string(p[0]) == "npaz3550.21d")
      EXPECT_EQ(TrimLines(decoded), TrimLines(expected));  // the published file keeps blanks
    else
      EXPECT_TRUE(decoded == expected);
  }
}

TEST(CrinexDecoderDeathTest, CorruptFilesAreErrors) {
  const std::string h = Crinex3Header();
  EXPECT_EXIT(Decode(h + "                   3\n"), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A VALID COMPACT RINEX FILE (LINE 6: FIRST "
                                "EPOCH LINE IS NOT COMPLETE)!"));
  EXPECT_EXIT(Decode(h + "> 2024 01 01 00 00  0.0000000  0  1      G05\n\n20 3&5\n"),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A VALID COMPACT RINEX FILE (LINE 8: "
                                "DIFFERENCE WITHOUT AN OPEN ARC)!"));
  EXPECT_EXIT(Decode(h + "> 2024 01 01 00 00  0.0000000  0  2      G05G07\n\n3&1 3&2\n"),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A VALID COMPACT RINEX FILE (LINE 8: FILE "
                                "ENDS INSIDE AN EPOCH (DATA LINES))!"));
  EXPECT_EXIT(Decode(h + "> 2024 01 01 00 00  0.0000000  0  1      E05\n\n3&1 3&2\n"),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A VALID COMPACT RINEX FILE (LINE 8: "
                                "SATELLITE E05 OF A SYSTEM WITHOUT OBSERVATION TYPES)!"));
  EXPECT_EXIT(Decode(h + "> 2024 01 01 00 00  0.0000000  0  1      G05\n\n3&1x 3&2\n"),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A VALID COMPACT RINEX FILE (LINE 8: BAD "
                                "NUMERIC FIELD '3&1x')!"));
  EXPECT_EXIT(Decode(h + "> 2024 01 01 00 00  0.0000000  0  1      G05\n\n3&99999999999999 3&2\n"),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A VALID COMPACT RINEX FILE (LINE 8: VALUE "
                                "OF SATELLITE G05 TOO LARGE FOR ITS FIELD)!"));
  EXPECT_EXIT(Decode(h + "> 2024 01 01 00 00  0.0000000  0  1      G#5\n\n3&1 3&2\n"),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A VALID COMPACT RINEX FILE (LINE 6: BAD "
                                "SATELLITE 'G#5')!"));
  EXPECT_EXIT(Decode(h.substr(0, h.rfind("  ") - 60)), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A VALID COMPACT RINEX FILE (LINE 4: NO END "
                                "OF HEADER)!"));
}
