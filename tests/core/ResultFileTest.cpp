// Result files are written completely or not at all.
#include <gtest/gtest.h>

#include "core/ResultFile.h"
#include "support/TestSupport.h"

using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

TEST(ResultFile, CommitReplacesAnOlderResultAndLeavesNoTemporaryFile) {
  TempDir dir;
  WriteFile(dir.File("r.txt"), "old\n");
  ResultFile f(dir.File("r.txt"));
  ASSERT_TRUE(f.IsOpen());
  f.Stream() << "new\n";
  EXPECT_EQ("old\n", ReadFile(dir.File("r.txt")));
  EXPECT_TRUE(f.Commit());
  EXPECT_EQ("new\n", ReadFile(dir.File("r.txt")));
  EXPECT_EQ("", ReadFile(dir.File("r.txt.part")));
}

TEST(ResultFile, AnUnfinishedFileLeavesTheOlderResultAlone) {
  TempDir dir;
  WriteFile(dir.File("r.txt"), "old\n");
  {
    ResultFile f(dir.File("r.txt"));
    f.Stream() << "half";
  }
  EXPECT_EQ("old\n", ReadFile(dir.File("r.txt")));
  EXPECT_EQ("", ReadFile(dir.File("r.txt.part")));
}
