// The fuzz targets: one per input reader of tervan and of tervan-sdiff, and one that
// runs a whole tervan run on a small scenario whose single-difference file is the input.
// A target takes any bytes; a framed error is a normal outcome, anything else that
// stops it (a sanitizer report, an uncaught exception, a hang) is a finding.
#ifndef TERVAN_FUZZ_FUZZTARGETS_H
#define TERVAN_FUZZ_FUZZTARGETS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FuzzTargets {
 public:
  static std::vector<std::string> Names();
  static bool Has(const std::string& name);
  // Runs the input through the named target; true when it ended with a framed error.
  static bool Run(const std::string& name, const uint8_t* data, size_t size);
};

#endif
