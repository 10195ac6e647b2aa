#include <gtest/gtest.h>

#include "sdiff/GzipSource.h"
#include "tools/sdiff/TestHelpers.h"

using sdtest::MemorySource;

namespace {

std::string Inflate(const std::string& gz, size_t chunk = 1 << 20) {
  GzipSource src(std::make_unique<MemorySource>(gz, chunk));
  return sdtest::ReadAll(src);
}

}  // namespace

TEST(GzipSource, ConcatenatedMembersAndTrailingZerosDecodeToTheWholeText) {
  std::string a(100000, 'a'), b = "second member\n";
  std::string gz = sdtest::Gzip(a) + sdtest::Gzip(b) + std::string(512, '\0');
  EXPECT_EQ(Inflate(gz), a + b);
  EXPECT_EQ(Inflate(gz, 1), a + b);  // member boundaries split across reads
}

TEST(GzipSourceDeathTest, TruncatedOrCorruptDataIsAnError) {
  std::string gz = sdtest::Gzip(std::string(50000, 'x') + "tail\n");
  EXPECT_EXIT(Inflate(gz.substr(0, gz.size() - 6)), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory IS TRUNCATED (GZIP DATA ENDS INSIDE A MEMBER)!"));
  std::string bad = gz;
  bad[bad.size() - 7] ^= 0x55;  // the CRC no longer matches
  EXPECT_EXIT(Inflate(bad), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE memory HAS CORRUPT GZIP DATA!"));
}
