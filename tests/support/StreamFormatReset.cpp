// Every test starts with the standard streams in their default number format:
// the report stages that tests run in process leave fixed notation and their
// precision behind, which would change what a later test prints.
#include <gtest/gtest.h>

#include <iostream>

namespace {

class StreamFormatReset : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    for (std::ostream* os : {&std::cout, &std::cerr}) {
      os->flags(std::ios::fmtflags(std::ios::dec | std::ios::skipws));
      os->precision(6);
      os->fill(' ');
    }
  }
};

const bool kRegistered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new StreamFormatReset);
  return true;
}();

}  // namespace
