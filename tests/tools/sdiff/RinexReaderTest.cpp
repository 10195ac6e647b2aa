#include <gtest/gtest.h>

#include <cstdio>

#include "sdiff/RinexReader.h"
#include "sdiff/TextLines.h"
#include "tools/sdiff/TestHelpers.h"

using sdtest::MemorySource;

namespace {

std::string H(const std::string& content, const std::string& label) {
  return content + std::string(60 - content.size(), ' ') + label + "\n";
}

std::string Field(double v, const char* flags = "  ") {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%14.3f%s", v, flags);
  return buf;
}

std::unique_ptr<RinexReader> Reader(const std::string& text) {
  return std::make_unique<RinexReader>(
      std::make_unique<TextLines>(std::make_unique<MemorySource>(text)));
}

// RINEX 2.11 with 6 types (two lines per satellite).
std::string Rinex2Header() {
  return H("     2.11           OBSERVATION DATA    M (MIXED)", "RINEX VERSION / TYPE") +
         H("BASE", "MARKER NAME") + H("12345M001", "MARKER NUMBER") +
         H("4711                TRIMBLE NETR9       5.01", "REC # / TYPE / VERS") +
         H("99                  TRM59800.00     SCIS", "ANT # / TYPE") +
         H("  4595212.4530  1148421.1070  4270496.5390", "APPROX POSITION XYZ") +
         H("        1.2000        0.1000        0.2000", "ANTENNA: DELTA H/E/N") +
         H("     6    C1    P1    L1    L2    P2    S1", "# / TYPES OF OBSERV") +
         H("", "END OF HEADER");
}

std::string Sat2(double base) {
  return Field(base) + Field(base + 1) + Field(base * 5.25, " 7") + Field(base * 4.1) +
         Field(base + 2) + "\n" + Field(45.0) + "\n";
}

}  // namespace

TEST(RinexReader, Rinex2HeaderFields) {
  auto r = Reader(Rinex2Header());
  const RinexHeader& h = r->Header();
  EXPECT_TRUE(h.IsRinex2());
  EXPECT_EQ(h.markerName, "BASE");
  EXPECT_EQ(h.markerNumber, "12345M001");
  EXPECT_EQ(h.receiverType, "TRIMBLE NETR9");
  EXPECT_EQ(h.antennaType, "TRM59800.00     SCIS");
  EXPECT_EQ(h.antennaSerial, "99");
  EXPECT_TRUE(h.hasPosition);
  EXPECT_DOUBLE_EQ(static_cast<double>(h.position[2]), 4270496.539);
  EXPECT_DOUBLE_EQ(static_cast<double>(h.deltaHEN[0]), 1.2);
  EXPECT_EQ(h.TypesOf('R'), (std::vector<std::string>{"C1", "P1", "L1", "L2", "P2", "S1"}));
}

TEST(RinexReader, Rinex2EpochsWithContinuationLinesEventsAndSkippedSystems) {
  std::string text = Rinex2Header();
  // 13 satellites: the 13th is on a continuation line; " 5" is GPS 5, S20 is skipped.
  text += " 21  1  1  0  0  0.0000000  0 13  5G07G08G09G10G11G12G13G14G15G16S20\n";
  text += "                                R04\n";
  for (int i = 0; i < 13; ++i) text += Sat2(20000000.0 + i);
  // Header change: a new type list applies from the next epoch on.
  text += "                            4  1\n";
  text += H("     2    C1    L1", "# / TYPES OF OBSERV");
  // Cycle-slip records are skipped.
  text += " 21  1  1  0  0 30.0000000  6  1G07\n" + Field(1.0) + Field(2.0) + "\n";
  std::string clockEpoch = " 21  1  1  0  1  0.0000000  0  1E11";
  text += clockEpoch + std::string(68 - clockEpoch.size(), ' ') + "-0.000123456\n";
  text += Field(21000000.5) + "              \n";
  auto r = Reader(text);
  RinexEpoch e;
  ASSERT_TRUE(r->NextEpoch(e));
  EXPECT_EQ(e.time.GetMJDay(), 59215u);
  ASSERT_EQ(e.sats.size(), 12u);
  EXPECT_EQ(e.sats[0].sat, 5);
  EXPECT_EQ(e.sats[11].sat, 104);
  EXPECT_DOUBLE_EQ(static_cast<double>(e.sats[11].values[0]), 20000012.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(e.sats[0].values[2]), 20000000.0 * 5.25);
  EXPECT_DOUBLE_EQ(static_cast<double>(e.sats[0].values[5]), 45.0);
  EXPECT_FALSE(e.hasClock);
  ASSERT_TRUE(r->NextEpoch(e));
  EXPECT_NEAR(static_cast<double>(e.time.GetSecond()), 60.0, 1e-9);
  ASSERT_EQ(e.sats.size(), 1u);
  EXPECT_EQ(e.sats[0].sat, 211);
  EXPECT_EQ(e.sats[0].values.size(), 2u);
  EXPECT_EQ(e.sats[0].values[1], 0.0L);  // blank: missing
  EXPECT_TRUE(e.hasClock);
  EXPECT_NEAR(static_cast<double>(e.clock), -0.000123456, 1e-15);
  EXPECT_FALSE(r->NextEpoch(e));
}

TEST(RinexReader, Rinex3ScaleFactorsChannelsAndShortLines) {
  std::string text = H("     3.04           OBSERVATION DATA    M", "RINEX VERSION / TYPE") +
                     H("ANT1                LEIAR25.R3 LEIT", "ANT # / TYPE") +
                     H("G    4 C1C L1C C2W L2W", "SYS / # / OBS TYPES") +
                     H("R    2 C1C L1C", "SYS / # / OBS TYPES") +
                     H("G   10   1 C2W", "SYS / SCALE FACTOR") +
                     H("  2 R01  1 R02 -4", "GLONASS SLOT / FRQ #") + H("    30.000", "INTERVAL") +
                     H("", "END OF HEADER");
  text += "> 2024 03 01 12 00 30.0000000  0  4\n";
  text += "C05" + Field(1.0) + "\n";
  text += "R02" + Field(19100000.25) + Field(-12.5) + "\n";
  text += "G12" + Field(22000000.125) + Field(0.0) + Field(220000005.0) + "\n";
  text += "J01\n";
  auto r = Reader(text);
  EXPECT_EQ(r->Header().antennaType, "LEIAR25.R3      LEIT");
  EXPECT_EQ(r->Header().glonassChannels.at(2), -4);
  EXPECT_EQ(r->Header().interval, 30.0);
  RinexEpoch e;
  ASSERT_TRUE(r->NextEpoch(e));
  ASSERT_EQ(e.sats.size(), 2u);
  EXPECT_EQ(e.sats[0].sat, 102);
  EXPECT_EQ(e.sats[0].values[1], -12.5L);
  EXPECT_EQ(e.sats[1].sat, 12);
  EXPECT_EQ(e.sats[1].values[1], 0.0L);  // an exact zero is missing
  EXPECT_NEAR(static_cast<double>(e.sats[1].values[2]), 22000000.5, 1e-9);  // divided by 10
  EXPECT_EQ(e.sats[1].values[3], 0.0L);
  EXPECT_NEAR(static_cast<double>(e.time.GetSecond()), 43230.0, 1e-9);
}

TEST(RinexReader, ASatelliteListedTwiceInAnEpochKeepsItsFirstRecord) {
  std::string text = H("     3.05           OBSERVATION DATA    G", "RINEX VERSION / TYPE") +
                     H("G    1 C1C", "SYS / # / OBS TYPES") + H("", "END OF HEADER");
  text += "> 2024 03 01 00 00 00.0000000  0  3\nG01" + Field(2.0e7) + "\nG02" + Field(2.1e7) +
          "\nG01" + Field(2.2e7) + "\n";
  auto r = Reader(text);
  RinexEpoch e;
  testing::internal::CaptureStderr();
  ASSERT_TRUE(r->NextEpoch(e));
  const std::string err = testing::internal::GetCapturedStderr();
  ASSERT_EQ(e.sats.size(), 2u);
  EXPECT_EQ(e.sats[0].values[0], 2.0e7L);
  EXPECT_EQ(e.sats[1].sat, 2);
  EXPECT_EQ(r->SkippedRepeated(), 1);
  EXPECT_NE(err.find("FILE memory LISTS SATELLITE G01 TWICE IN ONE EPOCH (LINE 7); ONLY THE FIRST "
                     "RECORD OF A SATELLITE IN AN EPOCH IS USED"),
            std::string::npos)
      << err;
}

TEST(RinexReader, EpochsOutOfOrderAndACutOffLastLineAreDropped) {
  std::string text = H("     3.05           OBSERVATION DATA    G", "RINEX VERSION / TYPE") +
                     H("G    1 C1C", "SYS / # / OBS TYPES") + H("", "END OF HEADER");
  for (const char* t : {"00 00 30", "00 00 30", "00 00 00", "00 01 00", "00 01 30"})
    text += std::string("> 2024 03 01 ") + t + ".0000000  0  1\nG01" + Field(2.0e7) + "\n";
  text.resize(text.size() - 5);  // the last line loses its end
  auto r = Reader(text);
  RinexEpoch e;
  int n = 0;
  while (r->NextEpoch(e)) ++n;
  EXPECT_EQ(n, 2);
  EXPECT_EQ(r->SkippedOutOfOrder(), 2);
  EXPECT_EQ(r->SkippedTruncated(), 1);
}

TEST(RinexReaderDeathTest, BadFilesAreErrors) {
  const std::string head = H("     3.05           OBSERVATION DATA    G", "RINEX VERSION / TYPE") +
                           H("G    2 C1C L1C", "SYS / # / OBS TYPES") + H("", "END OF HEADER");
  auto read = [](const std::string& text) {
    auto r = Reader(text);
    RinexEpoch e;
    while (r->NextEpoch(e)) {
    }
  };
  const std::string prefix = "FILE memory IS NOT A VALID RINEX OBSERVATION FILE (LINE ";
  EXPECT_EXIT(read(H("     3.05           NAVIGATION DATA     G", "RINEX VERSION / TYPE")),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS NOT A RINEX OBSERVATION FILE!"));
  EXPECT_EXIT(read(head.substr(0, head.size() - 81)), ::testing::ExitedWithCode(1),
              sdtest::ToolError(prefix + "2: NO END OF HEADER)!"));
  const std::string badInterval =
      H("     3.05           OBSERVATION DATA    G", "RINEX VERSION / TYPE") +
      H("    thirty", "INTERVAL") + H("", "END OF HEADER");
  EXPECT_EXIT(read(badInterval), ::testing::ExitedWithCode(1),
              sdtest::ToolError(prefix + "2: BAD OBSERVATION INTERVAL)!"));
  EXPECT_EXIT(read(head + "> 2024 03 01 00 00 00.0000000  0  2\nG01" + Field(1.0) + "\n"),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError(prefix + "5: FILE ENDS INSIDE AN EPOCH RECORD)!"));
  EXPECT_EXIT(read(head + "G01" + Field(1.0) + "\n"), ::testing::ExitedWithCode(1),
              sdtest::ToolError(prefix + "4: EPOCH LINE EXPECTED)!"));
  EXPECT_EXIT(read(head + "> 2024 13 01 00 00 00.0000000  0  1\nG01\n"),
              ::testing::ExitedWithCode(1), sdtest::ToolError(prefix + "4: BAD EPOCH TIME)!"));
  EXPECT_EXIT(read(head + "> 2024 03 01 00 00 00.0000000  0  1\nG01  2x000000.000\n"),
              ::testing::ExitedWithCode(1),
              sdtest::ToolError(prefix + "5: BAD OBSERVATION VALUE)!"));
  EXPECT_EXIT(
      read(head + "> 2024 03 01 00 00 00.0000000  0  2\nG01\n> 2024\n"),
      ::testing::ExitedWithCode(1),
      sdtest::ToolError(prefix + "6: FEWER SATELLITE LINES THAN THE EPOCH LINE ANNOUNCES)!"));
}

TEST(RinexReader, GlonassTimeEpochsGoToGpsTime) {
  std::string text =
      H("     2.11           OBSERVATION DATA    R (GLONASS)", "RINEX VERSION / TYPE") +
      H("     1    C1", "# / TYPES OF OBSERV") + H("", "END OF HEADER") +
      " 21  1  1  3  0  0.0000000  0  1R01\n" + Field(2.0e7) + "\n";
  auto r = Reader(text);
  RinexEpoch e;
  ASSERT_TRUE(r->NextEpoch(e));
  // 03:00 GLONASS time is 00:00 UTC, 00:00:18 GPS time in 2021.
  EXPECT_EQ(e.time.GetMJDay(), 59215u);
  EXPECT_NEAR(static_cast<double>(e.time.GetSecond()), 18.0, 1e-9);
}
