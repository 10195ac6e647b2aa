#include <fcntl.h>
#include <unistd.h>

#include <string>

#include "core/MError.h"
#include "core/ProgramError.h"
#include "core/StandardStreams.h"
#include "support/TestSupport.h"

using ::testing::ExitedWithCode;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

// Points descriptors 1 and 2 of the death-test child at the files (one file when the
// names are equal).
void Point(const std::string& out, const std::string& err) {
  int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  int e = out == err ? o : open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  dup2(o, 1);
  dup2(e, 2);
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

const char* const Frame = "**** GPSbEph: Error -> BAD RECORD ****\n     Exiting GPSbEph ... \n";

}  // namespace

TEST(StandardStreamsDeathTest, ClassErrorReachesBothStreamsWhenTheyDiffer) {
  TempDir dir;
  const std::string out = dir.File("out"), err = dir.File("err");
  EXPECT_EXIT(
      {
        Point(out, err);
        FileError("GPSbEph", "BAD RECORD");
      },
      ExitedWithCode(1), "");
  EXPECT_EQ(Count(ReadFile(out), Frame), 1u);
  EXPECT_EQ(Count(ReadFile(err), Frame), 1u);
}

TEST(StandardStreamsDeathTest, ClassErrorOnceWhenBothStreamsShareAFile) {
  TempDir dir;
  const std::string both = dir.File("both");
  EXPECT_EXIT(
      {
        Point(both, both);
        FileError("GPSbEph", "BAD RECORD");
      },
      ExitedWithCode(1), "");
  EXPECT_EQ(Count(ReadFile(both), Frame), 1u);
}

// Standard output sent into a file by the program itself (the -wo option) while
// standard error stays on its descriptor, also when that is the same file.
TEST(StandardStreamsDeathTest, RedirectedReportCountsAsItsFile) {
  TempDir dir;
  const std::string report = dir.File("report"), err = dir.File("err");
  EXPECT_EXIT(
      {
        Point(dir.File("terminal"), err);
        std::freopen(report.c_str(), "w", stdout);
        StandardStreams::SetCoutFile(report);
        ClassError("mjd", "MJDAY not valid");
      },
      ExitedWithCode(1), "");
  EXPECT_EQ(Count(ReadFile(report), "**** mjd: Error -> MJDAY not valid ****"), 1u);
  EXPECT_EQ(Count(ReadFile(err), "**** mjd: Error -> MJDAY not valid ****"), 1u);
  EXPECT_EXIT(
      {
        Point(dir.File("terminal"), report);
        std::freopen(report.c_str(), "a", stdout);
        StandardStreams::SetCoutFile(report);
        ClassError("mjd", "ONCE");
      },
      ExitedWithCode(1), "");
  EXPECT_EQ(Count(ReadFile(report), "**** mjd: Error -> ONCE ****"), 1u);
}

TEST(StandardStreamsDeathTest, MatrixErrorBlockReachesBothStreams) {
  TempDir dir;
  const std::string out = dir.File("out"), err = dir.File("err");
  EXPECT_EXIT(
      {
        Point(out, err);
        MError::IndexError("Row index not in range: ", 7, 3);
      },
      ExitedWithCode(1), "");
  const std::string block = "MATRIX::ERROR:\n\tRow index not in range:     7 -> [    0,    3]\n";
  EXPECT_EQ(Count(ReadFile(out), block), 1u);
  EXPECT_EQ(Count(ReadFile(err), block), 1u);
  EXPECT_EQ(Count(ReadFile(err), "Exiting program..."), 1u);
}
