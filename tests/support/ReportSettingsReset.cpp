// Every test starts with the standard streams in their default number format
// and the print settings of the value classes at their defaults: the report
// stages that tests run in process leave fixed notation, their precision and
// their print settings behind, which would change what a later test prints.
#include <gtest/gtest.h>

#include <iostream>
#include <vector>

#include "gnss/GPSws.h"
#include "gnss/flh.h"
#include "gnss/gnssobs.h"
#include "gnss/gnssobsshort.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"
#include "gnss/ymdhms.h"

namespace {

// A global setting and the value it had before any test ran.
template <class T>
struct Saved {
  T* where;
  T value;
};

class ReportSettingsReset : public ::testing::EmptyTestEventListener {
 public:
  ReportSettingsReset()
      : shorts_{Save(flhns::NDecFL),        Save(flhns::NDecH),
                Save(flhns::WidthFL),       Save(flhns::WidthH),
                Save(flhns::Unit),          Save(xyzns::NDec),
                Save(xyzns::Width),         Save(xyzns::NDecT),
                Save(xyzns::WidthT),        Save(xyztns::NDec),
                Save(xyztns::NDecT),        Save(xyztns::Width),
                Save(xyztns::WidthT),       Save(neuns::NDecNE),
                Save(neuns::NDecU),         Save(neuns::WidthNE),
                Save(neuns::WidthU),        Save(neuns::PrintType),
                Save(mjdns::PrintFormat),   Save(mjdns::NDecSecond),
                Save(ymdhmsns::PrintType),  Save(ymdhmsns::PrintFormat),
                Save(ymdhmsns::NDecSecond), Save(gpswsns::PrintFormat),
                Save(gpswsns::NDecSecond),  Save(gnssobsns::PrintType),
                Save(gnssobsns::Width),     Save(gnssobsshortns::PrintType),
                Save(gnssobsshortns::Width)},
        longs_{Save(xyzns::Unit), Save(xyzns::UnitT), Save(xyztns::Unit), Save(xyztns::UnitT),
               Save(neuns::Unit)},
        printTime_(xyztns::PrintTime) {}

 private:
  template <class T>
  static Saved<T> Save(T& v) {
    return Saved<T>{&v, v};
  }
  void OnTestStart(const ::testing::TestInfo&) override {
    for (std::ostream* os : {&std::cout, &std::cerr}) {
      os->flags(std::ios::fmtflags(std::ios::dec | std::ios::skipws));
      os->precision(6);
      os->fill(' ');
    }
    for (const Saved<short>& s : shorts_) *s.where = s.value;
    for (const Saved<long>& s : longs_) *s.where = s.value;
    xyztns::PrintTime = printTime_;
  }
  std::vector<Saved<short>> shorts_;
  std::vector<Saved<long>> longs_;
  bool printTime_;
};

const bool kRegistered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new ReportSettingsReset);
  return true;
}();

}  // namespace
