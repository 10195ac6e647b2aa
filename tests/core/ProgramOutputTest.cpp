#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/ProgramOutput.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

TEST(ProgramOutput, PrintCharWithBlanksAndRule) {
  CaptureStdout();
  PrintChar('=', 5, 2);
  PrintChar('=', 0, 3);  // blanks only
  PrintCharNoEndl('-', 4);
  PrintCharNoEndl('-', -1);
  EXPECT_EQ(GetCapturedStdout(), "  =====\n   ----");
}

TEST(ProgramOutput, PrintCharToFileStream) {
  std::ostringstream file;
  PrintChar('*', 3, file);
  PrintChar('*', 0, file);
  EXPECT_EQ(file.str(), "***\n\n");
}

TEST(ProgramOutput, SubTitleKeepsLongTextWhole) {
  std::string text(130, 'x');
  std::string rule(110, '=');
  CaptureStdout();
  ProgramSubTitle(text, 0);
  EXPECT_EQ(GetCapturedStdout(), rule + "\n" + text + "\n" + rule + "\n\n");
}

TEST(ProgramOutput, SubTitleIndented) {
  CaptureStdout();
  ProgramSubTitle("RESULTS:", 2);
  std::string rule = "  " + std::string(110, '=') + "\n";
  EXPECT_EQ(GetCapturedStdout(), rule + "  RESULTS:\n" + rule + "\n");
}

TEST(ProgramOutput, UnderlinedTitles) {
  CaptureStdout();
  ProgramSubSubTitle("ITERATION:", 1);
  ProgramSubSubSubTitle("GPS:", 0);
  EXPECT_EQ(GetCapturedStdout(), " ITERATION:\n ==========\n\nGPS:\n----\n\n");
}

TEST(ProgramOutput, TitleBlockLayout) {
  POut::SetText(POut::ProgramName, "Tervan");
  POut::SetText(POut::ProgramDescription, "DESCRIPTION");
  POut::SetText(POut::Author, "AUTHOR");
  POut::SetText(POut::ValidationDate, "2013-2021");
  POut::SetText(POut::Release, "27 APR 2021");
  CaptureStdout();
  ProgramTitle();
  std::string out = GetCapturedStdout();
  std::cout.unsetf(std::ios::floatfield);
  std::istringstream in(out);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, std::string(110, '_'));
  std::getline(in, line);
  EXPECT_EQ(line, std::string(110, '*'));
  std::getline(in, line);
  EXPECT_EQ(line, "          PROGRAM:            Tervan" + std::string(29, ' ') +
                      std::string(34, ' ') + "DESCRIPTION");
  std::getline(in, line);
  EXPECT_EQ(line.size(), 110u);
  EXPECT_EQ(line.substr(line.size() - 9), "2013-2021");
  std::getline(in, line);
  EXPECT_EQ(line.size(), 110u);
  EXPECT_EQ(line.substr(0, 41), "          RELEASE:            27 APR 2021");
  EXPECT_EQ(line.substr(110 - 26, 6), "DATE: ");
  EXPECT_EQ(out.substr(out.size() - 2 * 111 - 2),
            std::string(110, '_') + "\n" + std::string(110, '*') + "\n\n\n");
}

TEST(ProgramOutput, TextBuffersAreCutToFit) {
  POut::SetText(POut::Author, std::string(500, 'a').c_str());
  EXPECT_EQ(std::string(POut::Author).size(), POut::TextSize - 1);
}
