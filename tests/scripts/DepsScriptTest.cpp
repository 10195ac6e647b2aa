// The dependency check on a machine that has everything: it must pass for any user and
// never reach for apt.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TestSupport.h"

namespace fs = std::filesystem;
using testsupport::TempDir;

namespace {

// A folder of fake apt commands that leave a mark when called, and a copy of deps.sh,
// all readable (and the mark folder writable) by any user.
class DepsScript : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to run the check as another user";
    if (!fs::exists("/usr/bin/setpriv")) GTEST_SKIP() << "setpriv not installed";
    fs::permissions(dir.Path(),
                    fs::perms::all & ~fs::perms::others_write & ~fs::perms::group_write);
    fs::create_directory(dir.File("bin"));
    fs::create_directory(dir.File("marks"));
    fs::permissions(dir.File("marks"), fs::perms::all);
    for (const char* apt : {"apt-get", "apt"}) {
      const std::string fake = dir.File("bin/") + apt;
      testsupport::WriteFile(fake, "#!/bin/sh\ntouch " + dir.File("marks/") + apt + "\nexit 0\n");
      chmod(fake.c_str(), 0755);
    }
    fs::copy_file(TERVAN_SCRIPTS "/deps.sh", dir.File("deps.sh"));
    chmod(dir.File("deps.sh").c_str(), 0755);
  }

  // Exit status of deps.sh run with the given prefix (user switch) and the fake apt first
  // on the PATH.
  int Run(const std::string& as) {
    const std::string cmd = "cd " + dir.Path() + " && " + as + " env PATH=" + dir.File("bin") +
                            ":/usr/sbin:/usr/bin:/sbin:/bin bash " + dir.File("deps.sh") +
                            " test >" + dir.File("marks/out") + " 2>&1";
    const int rc = std::system(cmd.c_str());
    return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  }

  bool AptCalled() const {
    return fs::exists(dir.File("marks/apt-get")) || fs::exists(dir.File("marks/apt"));
  }

  TempDir dir;
};

TEST_F(DepsScript, PassesForAnUnprivilegedUserWithoutApt) {
  EXPECT_EQ(Run("setpriv --reuid=65534 --regid=65534 --clear-groups"), 0)
      << testsupport::ReadFile(dir.File("marks/out"));
  EXPECT_FALSE(AptCalled());
}

TEST_F(DepsScript, RootDoesNotInstallWhatIsThere) {
  EXPECT_EQ(Run(""), 0) << testsupport::ReadFile(dir.File("marks/out"));
  EXPECT_FALSE(AptCalled());
}

}  // namespace
