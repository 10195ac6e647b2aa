#include "FuzzHarness.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <locale>
#include <streambuf>

#include "core/ProgramError.h"

namespace {

// A stream buffer that takes everything and keeps nothing.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

[[noreturn]] void ThrowFramedExit() {
  throw FuzzHarness::FramedExit();
}

// Restores the standard streams however the body ends.
class Silence {
 public:
  Silence()
      : out_(std::cout.rdbuf(&null_)),
        err_(std::cerr.rdbuf(&null_)),
        outLocale_(std::cout.getloc()),
        outFlags_(std::cout.flags()),
        outPrecision_(std::cout.precision()) {
    SetErrorExitHandler(ThrowFramedExit);
  }
  ~Silence() {
    SetErrorExitHandler(nullptr);
    std::cout.rdbuf(out_);
    std::cerr.rdbuf(err_);
    std::cout.imbue(outLocale_);
    std::cout.flags(outFlags_);
    std::cout.precision(outPrecision_);
    std::cout.clear();
    std::cerr.clear();
  }

 private:
  NullBuffer null_;
  std::streambuf* out_;
  std::streambuf* err_;
  std::locale outLocale_;
  std::ios_base::fmtflags outFlags_;
  std::streamsize outPrecision_;
};

}  // namespace

std::string FuzzHarness::WriteInput(const uint8_t* data, size_t size, const std::string& ending) {
  const std::string name =
      "/tmp/tervan-fuzz-" + std::to_string(static_cast<long>(getpid())) + ending;
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (f == nullptr) return name;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);
  return name;
}

bool FuzzHarness::Run(const std::function<void()>& body) {
  Silence silence;
  try {
    body();
  } catch (const FramedExit&) {
    return true;
  }
  return false;
}
