// The bundled example must be what its recorded command line writes.
#include <gtest/gtest.h>

#include <filesystem>

#include "sim/Dataset.h"
#include "sim/Simulator.h"
#include "support/TestSupport.h"

namespace sim {
namespace {

TEST(BundledExample, IsWhatItsCommandLineWrites) {
  const std::string example = std::string(TERVAN_TEST_DATA) + "/../../examples/sim-10km";
  ASSERT_TRUE(std::filesystem::is_directory(example));
  testsupport::TempDir dir;
  Scenario sc;
  std::string msg;
  ASSERT_EQ(
      ParseScenario({"--out", "examples/sim-10km", "--seed", "7", "--start", "2026-06-15 08:00:00",
                     "--duration", "2h", "--random-slips", "3", "--random-outliers", "1"},
                    sc, msg),
      ParseResult::kRun);
  sc.outDir = dir.Path();
  Simulator s(sc);
  s.Run();
  ASSERT_TRUE(WriteDataset(s, msg)) << msg;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    const std::string name = entry.path().filename().string();
    const std::string committed = testsupport::ReadFile(example + "/" + name);
    EXPECT_TRUE(committed == testsupport::ReadFile(dir.File(name)))
        << name << " differs: remake the example with the command in README.md";
    ++files;
  }
  EXPECT_EQ(files, 11);
  EXPECT_NE(testsupport::ReadFile(example + "/README.md").find(TervanCommand(sc)),
            std::string::npos);
  std::uintmax_t bytes = 0;
  for (const auto& entry : std::filesystem::directory_iterator(example)) bytes += entry.file_size();
  EXPECT_LT(bytes, 5u * 1024 * 1024);
}

}  // namespace
}  // namespace sim
