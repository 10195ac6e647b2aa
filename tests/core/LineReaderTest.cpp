#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/LineReader.h"

namespace {

std::vector<std::string> AllLines(const std::string& text, size_t maxLine) {
  std::istringstream is(text);
  LineReader lr(is, maxLine);
  std::vector<std::string> out;
  const char* p;
  size_t n;
  while (lr.Next(p, n)) out.emplace_back(p, n);
  return out;
}

}  // namespace

TEST(LineReader, SplitsLinesAndDropsLineEnds) {
  auto v = AllLines("a\r\nbb\n\nlast", 100);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0], "a");
  EXPECT_EQ(v[1], "bb");
  EXPECT_EQ(v[2], "");
  EXPECT_EQ(v[3], "last");
}

TEST(LineReader, CutsOverlongLinesAndKeepsTheNext) {
  std::string longLine(5000, 'x');
  auto v = AllLines(longLine + "\nnext\n" + std::string(3000, 'y'), 10);
  ASSERT_EQ(v.size(), 3u);
  EXPECT_EQ(v[0], std::string(10, 'x'));
  EXPECT_EQ(v[1], "next");
  EXPECT_EQ(v[2], std::string(10, 'y'));
}

TEST(LineReader, WholeLinesLongerThanTheBufferStayWhole) {
  const std::string longLine(3 * (1 << 20) + 17, 'x');
  auto v = AllLines("a\n" + longLine + "\r\nnext\n" + longLine, LineReader::kWholeLines);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0], "a");
  EXPECT_EQ(v[1], longLine);
  EXPECT_EQ(v[2], "next");
  EXPECT_EQ(v[3], longLine);
}

TEST(LineReader, CountsLinesAndConsumedBytesAcrossBlocks) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "line " + std::to_string(i) + "\n";
  std::istringstream is(text);
  LineReader lr(is, 64);
  const char* p;
  size_t n;
  std::string last;
  while (lr.Next(p, n)) last.assign(p, n);
  EXPECT_EQ(last, "line 199999");
  EXPECT_EQ(lr.LineNumber(), 200000);
  EXPECT_EQ(lr.Consumed(), static_cast<std::streamoff>(text.size()));
}
