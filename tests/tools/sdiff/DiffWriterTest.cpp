#include <gtest/gtest.h>

#include <filesystem>

#include "gnss/mjd.h"
#include "sdiff/DiffWriter.h"
#include "sdiff/ObsMapping.h"
#include "support/TestSupport.h"

namespace {

// Writes two epochs after the provisional header and finishes with `final`.
void WriteTwoEpochs(const std::string& path, const DiffHeader& provisional,
                    const DiffHeader& final) {
  DiffWriter w(path, provisional);
  std::vector<DiffRecord> records(2);
  records[0] = {5, {21000000.1234L, -3.5L}};
  records[1] = {112, {-2.25L, 1234567.0L}};
  mjd t(61206, 30.0L);
  w.WriteEpoch(t, 0.0L, 4.6e-8L, 2.65e-7L, records);
  t += 30.0L;
  w.WriteEpoch(t, 0.0L, -1.0e-9L, 2.0e-7L, records);
  w.Finish(final);
}

}  // namespace

// The final header goes over a provisional one of its length in place, and through a
// second file when its length differs: both give the final header and the epochs,
// and no temporary file is left.
TEST(DiffWriter, FinalHeaderReplacesTheProvisionalOneOfAnyLength) {
  DiffHeader final;
  for (int i = 0; i < 2; ++i) {
    final.markerName[i] = i == 0 ? "BASE" : "ROVR";
    final.antennaType[i] = "NONE";
    for (int k = 0; k < 3; ++k) final.xyz[i][k] = 4.2e6L + 1000.0L * k + i;
  }
  final.types = {sdmap::kC1, sdmap::kL1};
  DiffHeader longer = final;
  longer.markerName[0] = "A MUCH LONGER NAME";
  testsupport::TempDir dir;
  WriteTwoEpochs(dir.File("same.sd"), final, final);
  WriteTwoEpochs(dir.File("longer.sd"), longer, final);
  const std::string same = testsupport::ReadFile(dir.File("same.sd"));
  const std::string head = DiffWriter::HeaderText(final, true);
  EXPECT_EQ(same.compare(0, head.size(), head), 0);
  EXPECT_GT(same.size(), head.size() + 100);
  EXPECT_EQ(testsupport::ReadFile(dir.File("longer.sd")), same);
  long files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) files += e.exists();
  EXPECT_EQ(files, 2);
}
