#include "core/ResultFile.h"

#include <cstdio>

#include "core/ProgramError.h"

ResultFile::ResultFile(const std::string& name) : name_(name), temp_(name + ".part") {
  out_.open(temp_, std::ios::out | std::ios::trunc);
  open_ = out_.is_open();
  if (!open_) ProgramWarning("Tervan", "RESULT FILE CANNOT BE WRITTEN: " + name_ + "!");
}

ResultFile::~ResultFile() {
  if (committed_ || !open_) return;
  out_.close();
  std::remove(temp_.c_str());
}

bool ResultFile::Commit() {
  if (!open_ || committed_) return committed_;
  out_.flush();
  const bool written = static_cast<bool>(out_);
  out_.close();
  if (written && !out_.fail() && std::rename(temp_.c_str(), name_.c_str()) == 0) {
    committed_ = true;
    return true;
  }
  std::remove(temp_.c_str());
  open_ = false;
  ProgramWarning("Tervan", "RESULT FILE CANNOT BE WRITTEN: " + name_ + "!");
  return false;
}
