#include "core/StandardStreams.h"

#include <sys/stat.h>

#include <iostream>

namespace {

std::string coutFile;  // empty: descriptor 1
std::string cerrFile;  // empty: descriptor 2

struct Target {
  bool known = false;
  dev_t dev = 0;
  ino_t ino = 0;
};

Target Examine(const std::string& file, int fd) {
  struct stat st;
  Target t;
  t.known = file.empty() ? fstat(fd, &st) == 0 : stat(file.c_str(), &st) == 0;
  if (t.known) {
    t.dev = st.st_dev;
    t.ino = st.st_ino;
  }
  return t;
}

}  // namespace

void StandardStreams::SetCoutFile(const std::string& name) {
  coutFile = name;
}

void StandardStreams::SetCerrFile(const std::string& name) {
  cerrFile = name;
}

void StandardStreams::Reset() {
  coutFile.clear();
  cerrFile.clear();
}

bool StandardStreams::ShareTarget() {
  const Target err = Examine(cerrFile, 2);
  if (!err.known) return true;
  const Target out = Examine(coutFile, 1);
  return out.known && out.dev == err.dev && out.ino == err.ino;
}

void StandardStreams::EchoToCerr(const std::string& text) {
  if (ShareTarget()) return;
  std::cerr << text;
  std::cerr.flush();
}
