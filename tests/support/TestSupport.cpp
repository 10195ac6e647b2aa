#include "support/TestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace testsupport {

std::string Literal(const std::string& text) {
  // gtest's POSIX extended regular expressions: escape every special character.
  std::string re;
  for (char ch : text) {
    if (std::string("\\^$.|?*+()[]{}").find(ch) != std::string::npos) re += '\\';
    re += ch;
  }
  return re;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "tervan-test-XXXXXX").string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = buf.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

static std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char ch : s) {
    if (ch == '\'')
      q += "'\\''";
    else
      q += ch;
  }
  return q + "'";
}

RunResult RunTervan(const std::string& workdir, const std::vector<std::string>& args) {
  return RunProgram(TERVAN_EXE, workdir, args);
}

RunResult RunProgram(const std::string& program, const std::string& workdir,
                     const std::vector<std::string>& args) {
  RunResult r;
  std::string outFile = workdir + "/.stdout", errFile = workdir + "/.stderr";
  std::string cmd = "cd " + Quote(workdir) + " && " + Quote(program);
  for (const auto& a : args) cmd += " " + Quote(a);
  cmd += " >" + Quote(outFile) + " 2>" + Quote(errFile) + " </dev/null";
  int rc = std::system(cmd.c_str());
  r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
  r.out = ReadFile(outFile);
  r.err = ReadFile(errFile);
  std::remove(outFile.c_str());
  std::remove(errFile.c_str());
  return r;
}

std::string NormaliseDate(const std::string& report) {
  static const std::regex date("DATE: [0-9]{4}-[0-9]{2}-[0-9]{2}  [0-9]{2}:[0-9]{2}:[0-9]{2}");
  return std::regex_replace(report, date, "DATE: YYYY-MM-DD  HH:MM:SS");
}

std::string SharedData(const std::string& relative) {
  std::filesystem::path p = std::filesystem::path(TERVAN_SHARED_DATA) / relative;
  return std::filesystem::exists(p) ? p.string() : std::string();
}

}  // namespace testsupport
