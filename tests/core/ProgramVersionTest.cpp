// Version of the programs: one release number from the build, the commit of the
// sources, and the answer of tervan's --version before any other check.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <regex>
#include <string>

#include "core/ProgramVersion.h"
#include "support/TestSupport.h"

using testsupport::ReadFile;
using testsupport::TempDir;

TEST(ProgramVersion, ReleaseOfTheBuildAndCommitOfTheSources) {
  EXPECT_EQ(ReleaseNumber(), TERVAN_PROJECT_VERSION);
  EXPECT_TRUE(std::regex_match(VersionLine("tervan"),
                               std::regex("tervan [0-9]+\\.[0-9]+\\.[0-9]+ \\(commit "
                                          "[A-Za-z0-9._+-]+\\)")))
      << VersionLine("tervan");
}

TEST(ProgramVersion, OutsideAGitCheckoutTheCommitIsUnknown) {
  TempDir dir;
  const std::string cmd = std::string("'") + TERVAN_CMAKE + "' -DSOURCE_DIR='" + dir.Path() +
                          "' -DOUTPUT='" + dir.File("v.h") +
                          "' -DTERVAN_VERSION=7.8.9 -P '" TERVAN_SCRIPTS
                          "/../cmake/WriteVersion.cmake' >/dev/null 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  const std::string header = ReadFile(dir.File("v.h"));
  EXPECT_NE(header.find("#define TERVAN_VERSION \"7.8.9\""), std::string::npos) << header;
  EXPECT_NE(header.find("#define TERVAN_COMMIT \"unknown\""), std::string::npos) << header;
}

TEST(ProgramVersion, TervanAnswersAloneBeforeItNeedsASingleDifferenceFile) {
  TempDir dir;
  // A missing single-difference file, verbose mode and a redirection: none of them
  // acts, the version line is all.
  const auto r = testsupport::RunTervan(
      dir.Path(), {"-rMISSING.sd", "-v", "--version", "-woREPORT.txt", "-xSTA"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, VersionLine("tervan") + "\n");
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(ReadFile(dir.File("REPORT.txt")).empty());
  EXPECT_EQ(testsupport::RunTervan(dir.Path(), {"--VERSION"}).out, VersionLine("tervan") + "\n");
}

TEST(ProgramVersion, TervanStillTakesVersionLikeArgumentsAsVerboseOrUnknown) {
  TempDir dir;
  // "-version" keeps its old meaning: any argument with "v" second is verbose mode,
  // and alone it asks for the help text.
  const auto r = testsupport::RunTervan(dir.Path(), {"-version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("PROGRAM: Tervan.exe"), std::string::npos);
}
