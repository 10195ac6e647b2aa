#include <gtest/gtest.h>

#include "sdiff/OpenInput.h"
#include "tools/sdiff/TestHelpers.h"

namespace {

const std::string kRinexFirstLine =
    "     3.04           OBSERVATION DATA    M                   RINEX VERSION / TYPE\n";

std::string OpenAndRead(const std::string& path) {
  auto lines = SdOpenObservationFile(path);
  return sdtest::ReadAllLines(*lines);
}

}  // namespace

TEST(OpenInput, PackingIsRecognisedFromTheContentInAnyStack) {
  testsupport::TempDir dir;
  std::string text = kRinexFirstLine + "line two\r\nlast line without end";
  std::string expected = kRinexFirstLine + "line two\nlast line without end\n";
  // Misleading names on purpose: the content decides.
  testsupport::WriteFile(dir.File("a.gz"), text);
  testsupport::WriteFile(dir.File("b.rnx"), sdtest::Gzip(text));
  testsupport::WriteFile(dir.File("c.rnx"), sdtest::Compress(text));
  testsupport::WriteFile(dir.File("d.rnx"), sdtest::Gzip(sdtest::Compress(sdtest::Gzip(text))));
  for (const char* name : {"a.gz", "b.rnx", "c.rnx", "d.rnx"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(OpenAndRead(dir.File(name)), expected);
  }
}

TEST(OpenInput, GzippedCompactRinexOfTheSharedDataDecodes) {
  std::string crx = testsupport::SharedData("crinex/DUTH0630.22D");
  std::string rnx = testsupport::SharedData("crinex/DUTH0630.22O");
  if (crx.empty() || rnx.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("x.crx.gz"), sdtest::Gzip(testsupport::ReadFile(crx)));
  testsupport::WriteFile(dir.File("x.crx.Z"), sdtest::Compress(testsupport::ReadFile(crx)));
  EXPECT_TRUE(OpenAndRead(dir.File("x.crx.gz")) == testsupport::ReadFile(rnx));
  EXPECT_TRUE(OpenAndRead(dir.File("x.crx.Z")) == testsupport::ReadFile(rnx));
}

TEST(OpenInputDeathTest, UnreadableAndForeignFilesAreErrors) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("empty"), "");
  testsupport::WriteFile(dir.File("text"), "hello\n");
  testsupport::WriteFile(dir.File("bz"), "BZh91AY&SY");
  testsupport::WriteFile(dir.File("deep"),
                         sdtest::Gzip(sdtest::Gzip(sdtest::Gzip(sdtest::Gzip(kRinexFirstLine)))));
  EXPECT_EXIT(OpenAndRead(dir.File("none")), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE " + dir.File("none") + " CAN NOT BE OPENED!"));
  EXPECT_EXIT(OpenAndRead(dir.Path()), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE " + dir.Path() + " CAN NOT BE OPENED!"));
  EXPECT_EXIT(
      OpenAndRead(dir.File("empty")), ::testing::ExitedWithCode(1),
      sdtest::ToolError("FILE " + dir.File("empty") + " IS NOT A RINEX FILE (IT IS EMPTY)!"));
  EXPECT_EXIT(OpenAndRead(dir.File("text")), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE " + dir.File("text") + " IS NOT A RINEX FILE!"));
  EXPECT_EXIT(
      OpenAndRead(dir.File("bz")), ::testing::ExitedWithCode(1),
      sdtest::ToolError("FILE " + dir.File("bz") + " IS BZIP2 COMPRESSED (NOT SUPPORTED)!"));
  EXPECT_EXIT(OpenAndRead(dir.File("deep")), ::testing::ExitedWithCode(1),
              sdtest::ToolError("FILE " + dir.File("deep") + " HAS TOO MANY COMPRESSION LAYERS!"));
}
