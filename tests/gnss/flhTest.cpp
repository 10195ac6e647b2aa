#include <sstream>

#include "core/KotnePretvorbe.h"
#include "gnss/flh.h"
#include "gnss/flht.h"
#include "support/TestSupport.h"

namespace {

std::string Print(const flh& p, short unit) {
  const short old = flhns::Unit;
  flhns::Unit = unit;
  std::ostringstream os;
  os << p;
  flhns::Unit = old;
  return os.str();
}

flh Read(const std::string& text, short unit) {
  const short old = flhns::Unit;
  flhns::Unit = unit;
  std::istringstream is(text);
  flh p;
  is >> p;
  flhns::Unit = old;
  return p;
}

std::string Fatal(const std::string& cls, const std::string& text) {
  return "\n**** " + cls + ": Error -> " + text + " ****\n     Exiting class " + cls + " ... \n";
}

}  // namespace

TEST(flh, OutputUnits) {
  const flh p(deg2rad(46.0L + 3.0L / 60.0L + 12.345L / 3600.0L), deg2rad(14.5L), 300.12345L);
  EXPECT_EQ(Print(p, flhns::RAD), "  0.80378397  0.25307274  300.1235");
  EXPECT_EQ(Print(p, flhns::DEG), " 46.05342917 14.50000000  300.1235");
  EXPECT_EQ(Print(p, flhns::DMS), " 46.03123450 14.30000000  300.1235");
  EXPECT_EQ(Print(p, flhns::SINEX), " 14 30  0.0  46  3 12.3   300.1");
  EXPECT_EQ(Print(flh(deg2rad(-33.5L), deg2rad(-70.25L), 12), flhns::SINEX),
            "289 45  0.0 -33 30  0.0    12.0");
  const short old = flhns::NDecFL;
  flhns::NDecFL = 3;
  EXPECT_EQ(Print(p, flhns::DMSV), " 46  3 12.345 14 30  0.000  300.1235");
  flhns::NDecFL = old;
}

TEST(flh, InputUnits) {
  const flh deg = Read("46.5 -14.25 300", flhns::DEG);
  EXPECT_NEAR(static_cast<double>(deg.GetF()), static_cast<double>(deg2rad(46.5L)), 1e-17);
  EXPECT_NEAR(static_cast<double>(deg.GetL()), static_cast<double>(deg2rad(-14.25L)), 1e-17);
  EXPECT_EQ(deg.GetH(), 300.0L);
  const flh packed = Read("46.3 -14.15 1", flhns::DMS);
  EXPECT_NEAR(static_cast<double>(packed.GetF()), static_cast<double>(deg2rad(46.5L)), 1e-15);
  EXPECT_NEAR(static_cast<double>(packed.GetL()), static_cast<double>(deg2rad(-14.25L)), 1e-15);
  const flh dmsv = Read("46 30 0 -14 15 0 1", flhns::DMSV);
  EXPECT_NEAR(static_cast<double>(dmsv.GetF()), static_cast<double>(deg2rad(46.5L)), 1e-17);
  EXPECT_NEAR(static_cast<double>(dmsv.GetL()), static_cast<double>(deg2rad(-14.25L)), 1e-17);
  // A negative angle of less than a degree keeps its sign.
  const flh small = Read("-0 30 0 0 15 0 1", flhns::DMSV);
  EXPECT_NEAR(static_cast<double>(small.GetF()), static_cast<double>(deg2rad(-0.5L)), 1e-17);
  EXPECT_NEAR(static_cast<double>(small.GetL()), static_cast<double>(deg2rad(0.25L)), 1e-17);
}

TEST(flh, FailedInputLeavesTheValue) {
  std::istringstream is("0.1 x 3");
  flh p(0.5L, 0.25L, 1);
  is >> p;
  EXPECT_TRUE(is.fail());
  EXPECT_EQ(p, flh(0.5L, 0.25L, 1));
}

TEST(flhDeathTest, AbsurdAnglesAreFatal) {
  EXPECT_EXIT_COUT(flh(91, 0, 0), Fatal("flh", "LATITUDE not valid"));
  EXPECT_EXIT_COUT(flh(0, -181, 0), Fatal("flh", "LONGITUDE not valid"));
  EXPECT_EXIT_COUT(flh(0.0L / 0.0L, 0, 0), Fatal("flh", "LATITUDE not valid"));
  EXPECT_EXIT_COUT(flht(0, 200, 0, 0), Fatal("flht", "LONGITUDE not valid"));
  EXPECT_EXIT_COUT(flht(-100, 0, 0, 0), Fatal("flht", "LATITUDE not valid"));
  EXPECT_EXIT_COUT(Read("95 0 0", flhns::RAD), Fatal("flh", "LATITUDE not valid"));
}
