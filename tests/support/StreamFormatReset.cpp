// Every test starts with the standard streams in their default number format and the
// value classes with their default print settings: the report stages that tests run in
// process leave fixed notation, their precision and their print settings behind, which
// would change what a later test prints.
#include <gtest/gtest.h>

#include <iostream>
#include <tuple>

#include "gnss/GPSws.h"
#include "gnss/flh.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"
#include "gnss/ymdhms.h"

namespace {

// Every global print setting of the value classes, by reference.
auto PrintSettings() {
  return std::tie(xyzns::NDec, xyzns::Width, xyzns::Unit, xyzns::NDecT, xyzns::WidthT, xyzns::UnitT,
                  xyztns::NDec, xyztns::NDecT, xyztns::Width, xyztns::WidthT, xyztns::PrintTime,
                  xyztns::Unit, xyztns::UnitT, flhns::NDecFL, flhns::NDecH, flhns::WidthFL,
                  flhns::WidthH, flhns::Unit, neuns::NDecNE, neuns::NDecU, neuns::WidthNE,
                  neuns::WidthU, neuns::Unit, neuns::PrintType, mjdns::PrintFormat,
                  mjdns::NDecSecond, ymdhmsns::PrintType, ymdhmsns::PrintFormat,
                  ymdhmsns::NDecSecond, gpswsns::PrintFormat, gpswsns::NDecSecond);
}

class StreamFormatReset : public ::testing::EmptyTestEventListener {
 public:
  StreamFormatReset() : defaults_(Values(PrintSettings())) {}

 private:
  void OnTestStart(const ::testing::TestInfo&) override {
    for (std::ostream* os : {&std::cout, &std::cerr}) {
      os->flags(std::ios::fmtflags(std::ios::dec | std::ios::skipws));
      os->precision(6);
      os->fill(' ');
    }
    PrintSettings() = defaults_;
  }

  // The values as they stood before the first test.
  template <class... T>
  static std::tuple<T...> Values(const std::tuple<T&...>& refs) {
    return refs;
  }
  decltype(Values(PrintSettings())) defaults_;
};

const bool kRegistered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new StreamFormatReset);
  return true;
}();

}  // namespace
