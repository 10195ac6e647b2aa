#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/TestSupport.h"

using testsupport::ReadFile;
using testsupport::RunTervan;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

// A run whose orbit file is broken: its reader prints the error into the report.
void MakeBrokenOrbitRun(const TempDir& dir) {
  const std::filesystem::path example =
      std::filesystem::path(TERVAN_TEST_DATA) / "../../examples/sim-10km";
  std::filesystem::copy_file(example / "SIMB_SIMR.sd", dir.File("SIMB_SIMR.sd"));
  WriteFile(dir.File("orbit.sp3"), "#dP2026  6 15  8  0  0.00000000\nnot an orbit file\n");
}

const std::vector<std::string> Args = {"-rSIMB_SIMR.sd", "-eporbit.sp3", "-csG", "-lC1"};

// The framed error block of a text: from its "**** " line through the "Exiting" line.
std::string FramedError(const std::string& text) {
  const size_t b = text.find("**** GNSSpEph: Error -> ");
  if (b == std::string::npos) return "";
  const size_t e = text.find(" ... \n", b);
  return e == std::string::npos ? "" : text.substr(b, e + 6 - b);
}

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); !what.empty() && p != std::string::npos;
       p = text.find(what, p + 1))
    ++n;
  return n;
}

}  // namespace

TEST(TervanErrorStreams, ReaderErrorInTheReportAndOnStandardError) {
  TempDir dir;
  MakeBrokenOrbitRun(dir);
  auto r = RunTervan(dir.Path(), Args);
  EXPECT_EQ(r.status, 1);
  const std::string frame = FramedError(r.out);
  ASSERT_FALSE(frame.empty()) << r.out;
  EXPECT_EQ(Count(r.err, frame), 1u) << r.err;
}

TEST(TervanErrorStreams, ReportIntoAFileStillShowsTheError) {
  TempDir dir;
  MakeBrokenOrbitRun(dir);
  std::vector<std::string> args = Args;
  args.push_back("-woREPORT.txt");
  auto r = RunTervan(dir.Path(), args);
  EXPECT_EQ(r.status, 1);
  const std::string frame = FramedError(ReadFile(dir.File("REPORT.txt")));
  ASSERT_FALSE(frame.empty());
  EXPECT_EQ(Count(r.err, frame), 1u);
  // Errors into a file of their own: the report and the error file both hold it.
  args.push_back("-weERRORS.txt");
  r = RunTervan(dir.Path(), args);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Count(ReadFile(dir.File("REPORT.txt")), frame), 1u);
  EXPECT_EQ(Count(ReadFile(dir.File("ERRORS.txt")), frame), 1u);
  EXPECT_EQ(r.out + r.err, "");
}

TEST(TervanErrorStreams, OneTerminalOrFileShowsTheErrorOnce) {
  TempDir dir;
  MakeBrokenOrbitRun(dir);
  std::string cmd = "cd '" + dir.Path() + "' && '" + TERVAN_EXE + "'";
  for (const std::string& a : Args) cmd += " '" + a + "'";
  cmd += " >BOTH.txt 2>&1";
  EXPECT_NE(std::system(cmd.c_str()), 0);
  const std::string both = ReadFile(dir.File("BOTH.txt"));
  const std::string frame = FramedError(both);
  ASSERT_FALSE(frame.empty()) << both;
  EXPECT_EQ(Count(both, frame), 1u);
}
