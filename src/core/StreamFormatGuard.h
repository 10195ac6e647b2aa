// Restores a stream's flags, precision and fill character when it goes out of
// scope, so that value classes can print in their own format without changing
// the caller's settings.
#ifndef TERVAN_CORE_STREAMFORMATGUARD_H
#define TERVAN_CORE_STREAMFORMATGUARD_H

#include <ios>

class StreamFormatGuard {
 public:
  explicit StreamFormatGuard(std::ios& s)
      : s_(s), flags_(s.flags()), precision_(s.precision()), fill_(s.fill()) {}
  ~StreamFormatGuard() {
    s_.flags(flags_);
    s_.precision(precision_);
    s_.fill(fill_);
  }
  StreamFormatGuard(const StreamFormatGuard&) = delete;
  StreamFormatGuard& operator=(const StreamFormatGuard&) = delete;

 private:
  std::ios& s_;
  std::ios::fmtflags flags_;
  std::streamsize precision_;
  char fill_;
};

#endif
