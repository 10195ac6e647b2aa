// Helpers shared by the test suites.
#ifndef TERVAN_TESTS_TESTSUPPORT_H
#define TERVAN_TESTS_TESTSUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testsupport {

// A regular expression that matches the given text literally (for EXPECT_EXIT).
std::string Literal(const std::string& text);

// Reads a whole file as bytes; empty when it cannot be opened.
std::string ReadFile(const std::string& path);

// Writes bytes to a file (creating or truncating it).
void WriteFile(const std::string& path, const std::string& bytes);

// A fresh empty folder below the system's temporary folder, removed by the destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Result of running the tervan program.
struct RunResult {
  int status = -1;  // exit status
  std::string out;  // standard output
  std::string err;  // standard error
};

// Runs the tervan executable with the given arguments in the given working folder.
RunResult RunTervan(const std::string& workdir, const std::vector<std::string>& args);

// Runs any program with the given arguments in the given working folder.
RunResult RunProgram(const std::string& program, const std::string& workdir,
                     const std::vector<std::string>& args);

// Replaces the date and time of the title block ("DATE: YYYY-MM-DD  HH:MM:SS")
// by a fixed text so that reports can be compared with golden files.
std::string NormaliseDate(const std::string& report);

// Reason given by the tests that skip without the real public data.
constexpr const char* kNoSharedData =
    "needs ../shared/data (real public data of the development tree, absent in a plain clone)";

// Path of the real public data folder, or empty when it is absent.
std::string SharedData(const std::string& relative);

}  // namespace testsupport

// Death test of a statement whose fatal report goes to standard output: the
// child sends its standard output to standard error so that the regular
// expression sees it.
#define EXPECT_EXIT_COUT(statement, text)   \
  EXPECT_EXIT(                              \
      {                                     \
        std::cout.rdbuf(std::cerr.rdbuf()); \
        statement;                          \
      },                                    \
      ::testing::ExitedWithCode(1), ::testsupport::Literal(text))

#endif
