#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "FuzzTargets.h"
#include "core/ProgramError.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// Every kept input of a target (the regression inputs of fixed findings and the own
// seeds) goes through the target again: each must end in a report or a framed error.
void Replay(const std::string& target) {
  for (const char* kind : {"regressions", "seeds"}) {
    const fs::path dir = fs::path(TERVAN_FUZZ_DIR) / kind / target;
    if (!fs::is_directory(dir)) continue;
    for (const fs::directory_entry& f : fs::directory_iterator(dir)) {
      const std::string bytes = testsupport::ReadFile(f.path().string());
      SCOPED_TRACE(f.path().string());
      FuzzTargets::Run(target, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
  }
}

}  // namespace

TEST(FuzzRegression, KeptInputsOfEveryTargetEndCleanly) {
  for (const std::string& t : FuzzTargets::Names()) Replay(t);
}

TEST(FuzzRegression, FramedErrorsAreNormalOutcomes) {
  const std::string junk = "NOT A FILE OF ANY KIND\n";
  const auto* data = reinterpret_cast<const uint8_t*>(junk.data());
  EXPECT_TRUE(FuzzTargets::Run("sp3", data, junk.size()));
  EXPECT_TRUE(FuzzTargets::Run("rinex-obs", data, junk.size()));
  EXPECT_TRUE(FuzzTargets::Run("whole-run", data, junk.size()));
  // The harness leaves the process as it found it: errors end it again.
  EXPECT_EXIT(ProgramError("Tervan", "X"), ::testing::ExitedWithCode(1), "");
}

TEST(FuzzRegression, WholeRunOfTheSeedCompletes) {
  const fs::path sd = fs::path(TERVAN_FUZZ_DIR) / "../examples/sim-10km/SIMB_SIMR.sd";
  const std::string bytes = testsupport::ReadFile(sd.string());
  ASSERT_FALSE(bytes.empty());
  // The header and the first 12 epochs (an epoch line counts the satellite lines that
  // follow it), as the seed of the fuzz script.
  std::istringstream in(bytes);
  std::string cut, line;
  bool header = true;
  for (int epochs = 0, left = 0; std::getline(in, line);) {
    if (!header && left == 0) {
      if (++epochs > 12) break;
      left = std::stoi(line);
    } else if (!header) {
      --left;
    }
    cut += line + "\n";
    if (line.rfind("END OF HEADER", 0) == 0) header = false;
  }
  EXPECT_FALSE(
      FuzzTargets::Run("whole-run", reinterpret_cast<const uint8_t*>(cut.data()), cut.size()));
}
