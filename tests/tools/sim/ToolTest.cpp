#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/ProgramVersion.h"
#include "sim/Tool.h"
#include "support/TestSupport.h"

namespace sim {
namespace {

TEST(SimTool, HelpEndsWithStatusZeroAndWritesNothing) {
  std::ostringstream out, err;
  EXPECT_EQ(RunSimTool({"--help"}, out, err), 0);
  EXPECT_NE(out.str().find("Usage: tervan-sim [options]"), std::string::npos);
  EXPECT_TRUE(err.str().empty());
}

TEST(SimTool, VersionNamesReleaseAndCommit) {
  std::ostringstream out, err;
  EXPECT_EQ(RunSimTool({"--seed", "3", "--version"}, out, err), 0);
  EXPECT_EQ(out.str(), VersionLine("tervan-sim") + "\n");
  EXPECT_TRUE(err.str().empty());
}

TEST(SimTool, BadOptionsEndWithStatusOneAndAMessage) {
  testsupport::TempDir dir;
  std::ostringstream out, err;
  EXPECT_EQ(RunSimTool({"--out", dir.File("x"), "--duration", "forever"}, out, err), 1);
  EXPECT_EQ(err.str(), "tervan-sim: invalid value 'forever' of option '--duration' (see --help)\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("x")));
}

TEST(SimTool, WritesTheDatasetAndSaysWhere) {
  testsupport::TempDir dir;
  std::ostringstream out, err;
  EXPECT_EQ(RunSimTool({"--out", dir.File("d"), "--duration", "120", "--systems", "G"}, out, err),
            0);
  EXPECT_EQ(out.str(), "tervan-sim: dataset written to " + dir.File("d") + "\n");
  EXPECT_TRUE(std::filesystem::exists(dir.File("d/SIMB_SIMR.sd")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("d/glonass.nav")));
}

}  // namespace
}  // namespace sim
