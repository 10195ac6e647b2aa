#include "core/ResultFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/FiniteNumPut.h"
#include "core/ProgramError.h"

namespace {

// Temporary files being written. An error ends the run without unwinding, so the
// files still open are removed at exit.
std::vector<std::string>& OpenTemporaries() {
  static std::vector<std::string> names;
  return names;
}

void RemoveTemporaries() {
  for (const std::string& t : OpenTemporaries()) std::remove(t.c_str());
  OpenTemporaries().clear();
}

void Forget(const std::string& temp) {
  std::vector<std::string>& v = OpenTemporaries();
  v.erase(std::remove(v.begin(), v.end(), temp), v.end());
}

}  // namespace

ResultFile::ResultFile(const std::string& name) : name_(name), temp_(name + ".part") {
  out_.open(temp_, std::ios::out | std::ios::trunc);
  open_ = out_.is_open();
  if (!open_) {
    ProgramWarning("Tervan", "RESULT FILE CANNOT BE WRITTEN: " + name_ + "!");
    return;
  }
  FiniteNumPut::Guard(out_, "RESULT FILE " + name_);
  OpenTemporaries();
  static const bool registered = std::atexit(RemoveTemporaries) == 0;
  (void)registered;
  OpenTemporaries().push_back(temp_);
}

ResultFile::~ResultFile() {
  if (committed_ || !open_) return;
  out_.close();
  std::remove(temp_.c_str());
  Forget(temp_);
}

bool ResultFile::Commit() {
  if (!open_ || committed_) return committed_;
  out_.flush();
  const bool written = static_cast<bool>(out_);
  out_.close();
  Forget(temp_);
  if (written && !out_.fail() && std::rename(temp_.c_str(), name_.c_str()) == 0) {
    committed_ = true;
    return true;
  }
  std::remove(temp_.c_str());
  open_ = false;
  ProgramWarning("Tervan", "RESULT FILE CANNOT BE WRITTEN: " + name_ + "!");
  return false;
}
