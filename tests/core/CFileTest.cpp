#include <gtest/gtest.h>

#include "core/cfilef.h"
#include "support/TestSupport.h"

TEST(CFile, FileExistsOnlyForReadableFiles) {
  testsupport::TempDir dir;
  EXPECT_EQ(FileExists(dir.File("none.txt")), 0);
  EXPECT_EQ(FileExists(dir.Path()), 0);  // a folder is not an input file
  EXPECT_EQ(FileExists(""), 0);
  testsupport::WriteFile(dir.File("a.txt"), "x");
  EXPECT_EQ(FileExists(dir.File("a.txt")), 1);
  EXPECT_EQ(RemFile(dir.File("a.txt").c_str()), 1);
  EXPECT_EQ(FileExists(dir.File("a.txt")), 0);
  EXPECT_EQ(RemFile(dir.File("a.txt").c_str()), 1);  // already gone
}

TEST(CFile, BasenameAndDirname) {
  char out[64];
  GetBasename("C:\\data\\brdc1200.12n", out);
  EXPECT_STREQ(out, "brdc1200.12n");
  GetBasename("/home/u/igs.sp3", out);
  EXPECT_STREQ(out, "igs.sp3");
  GetBasename("plain.txt", out);
  EXPECT_STREQ(out, "plain.txt");
  GetDirname("/home/u/igs.sp3", out);
  EXPECT_STREQ(out, "/home/u");
  GetDirname("plain.txt", out);
  EXPECT_STREQ(out, "");
}
