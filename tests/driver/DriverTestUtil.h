// Helpers of the driver tests: argument vectors and captured warnings.
#ifndef TERVAN_TESTS_DRIVER_DRIVERTESTUTIL_H
#define TERVAN_TESTS_DRIVER_DRIVERTESTUTIL_H

#include <string>
#include <vector>

#include "driver/TervanC.h"
#include "driver/Tervan_GetFiles.h"

namespace drivertest {

// An argument vector as main receives it, the program name first.
class Argv {
 public:
  explicit Argv(std::vector<std::string> args) : args_(std::move(args)) {
    args_.insert(args_.begin(), "tervan");
    for (auto& a : args_) ptrs_.push_back(&a[0]);
    ptrs_.push_back(nullptr);
  }
  int argc() const { return static_cast<int>(args_.size()); }
  char** argv() { return ptrs_.data(); }

 private:
  std::vector<std::string> args_;
  std::vector<char*> ptrs_;
};

// Parses the arguments into tc.
inline void Parse(TervanC& tc, std::vector<std::string> args) {
  Argv a(std::move(args));
  ParseArgumetns(tc, a.argc(), a.argv());
}

// The framed warning as it appears on standard error.
inline std::string Warning(const std::string& text) {
  return "#### Tervan: Warning -> " + text + " ####\n     Continuing Tervan ... \n";
}

// The framed error as it appears on standard error.
inline std::string Error(const std::string& text) {
  return "**** Tervan: Error -> " + text + " ****\n     Exiting Tervan ... ";
}

}  // namespace drivertest

#endif
