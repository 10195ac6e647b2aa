#include <gtest/gtest.h>

#include "sdiff/LzwSource.h"
#include "tools/sdiff/TestHelpers.h"

using sdtest::MemorySource;

namespace {

std::string Decode(const std::string& z, size_t chunk = 1 << 20) {
  LzwSource lzw(std::make_unique<MemorySource>(z, chunk));
  return sdtest::ReadAll(lzw);
}

std::string SampleText(size_t lines) {
  std::string t;
  for (size_t i = 0; i < lines; ++i)
    t += "G" + std::to_string(i % 32) + "  2024" + std::to_string(i * 7919 % 100003) +
         ".123   10510001" + std::to_string(i % 977) + ".964 5\n";
  return t;
}

}  // namespace

TEST(LzwSource, DecodesTheWorkedExampleWithTheCodeBeingDefined) {
  EXPECT_EQ(Decode(std::string("\x1f\x9d\x90\x41\x84\x04\x1c\x08", 8)), "ABABABA");
}

TEST(LzwSource, HeaderOnlyIsEmpty) {
  EXPECT_EQ(Decode("\x1f\x9d\x90"), "");
}

TEST(LzwSource, RoundTripThroughAllCodeWidths) {
  std::string text = SampleText(20000);  // over a megabyte: the widths grow to 16 bits
  EXPECT_EQ(Decode(sdtest::Compress(text), 777), text);
}

TEST(LzwSource, ClearCodesInsideAGroupSkipItsUnusedSlots) {
  std::string text = SampleText(3000);
  for (long every : {1, 3, 100, 5001}) {
    SCOPED_TRACE(every);
    EXPECT_EQ(Decode(sdtest::Compress(text, every)), text);
  }
}

TEST(LzwSource, NonBlockModeSkipsTheRestOfTheGroupWhenTheWidthGrows) {
  // Without CLEAR the first free code is 256: the width grows after the first code of
  // the 33rd group, in the middle of it.
  std::string text = SampleText(4000);
  EXPECT_EQ(Decode(sdtest::Compress(text, 0, false)), text);
}

TEST(LzwSourceDeathTest, RejectsBadHeadersAndCodes) {
  EXPECT_EXIT(Decode(std::string("\x1f\x9d\x08", 3)), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory USES AN UNSUPPORTED UNIX COMPRESS VARIANT!"));
  EXPECT_EXIT(Decode(std::string("\x1f\x9d\xb0", 3)), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory USES AN UNSUPPORTED UNIX COMPRESS VARIANT!"));
  // First code 300 (>= 256), then a code far beyond the table.
  EXPECT_EXIT(Decode(std::string("\x1f\x9d\x90\x2c\x03\x00", 6)), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory HAS CORRUPT UNIX COMPRESS DATA!"));
  EXPECT_EXIT(Decode(std::string("\x1f\x9d\x90\x41\xfe\x03", 6)), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory HAS CORRUPT UNIX COMPRESS DATA!"));
}
