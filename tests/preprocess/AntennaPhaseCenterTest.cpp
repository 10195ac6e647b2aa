// Receiver and satellite antenna corrections of the single differences.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "PrepContext.h"
#include "gnss/mGNSSc.h"
#include "preprocess/Tervan_AntennaPhaseCenter.h"
#include "sdiff/PhsDiffHeader.h"
#include "support/TestSupport.h"

using preptest::PrepContext;

namespace {

const std::string kBaseAnt = "BASEANT         NONE";
const std::string kRoverAnt = "ROVERANT        NONE";

class AntennaPhaseCenterTest : public ::testing::Test {
 protected:
  AntennaPhaseCenterTest()
      : pc({5, 107}, 2, 30.0L,
           {sdobs::C1, sdobs::P1, sdobs::P2, sdobs::L1, sdobs::L2, sdobs::C7, sdobs::L7}) {
    pc.SetGeometry([](short s, long i) { return PrepContext::Orbit(s, 30.0L * i); },
                   xyz(1.4e11L, 2e10L, 3e10L));
    std::snprintf(pc.tc.sdh.anttype[0], 21, "%s", kBaseAnt.c_str());
    std::snprintf(pc.tc.sdh.anttype[1], 21, "%s", kRoverAnt.c_str());
  }
  void LoadAntex(const std::string& body) {
    testsupport::WriteFile(dir.File("a.atx"), preptest::AntexHeader() + body);
    pc.tc.atx.SetFile(dir.File("a.atx").c_str());
    pc.tc.atx.ReadFile();
    pc.tc.isAtx = true;
  }
  // Runs the stage with its report captured.
  std::string Run() {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    ApplyATXVal(pc.tc);
    testing::internal::GetCapturedStderr();
    return testing::internal::GetCapturedStdout();
  }
  long double Value(const matrix<gnssobs>& m, long r) const { return m(r).GetObs(); }

  testsupport::TempDir dir;
  PrepContext pc;
};

}  // namespace

TEST_F(AntennaPhaseCenterTest, WithoutAntexNothingChangesAndNothingIsReported) {
  const PhsDiffData before = pc.tc.sdd;
  EXPECT_EQ(Run(), "");
  for (long r = 0; r < pc.tc.sdd.nobs; ++r) EXPECT_EQ(Value(pc.tc.sdd.L1, r), Value(before.L1, r));
}

// At the zenith the receiver correction is PCV(0) - Up for the BASE and
// Up - PCV(0) for the ROVER, per carrier; a wrong sign at either station shows.
TEST_F(AntennaPhaseCenterTest, ZenithReceiverCorrectionsHaveOppositeSignsAtBaseAndRover) {
  LoadAntex(preptest::AntexReceiver(kBaseAnt, {1, 2, 100}, {3, 5, 7}, {0, 0, 120}, {4, 6, 8}) +
            preptest::AntexReceiver(kRoverAnt, {0, 0, 60}, {1, 2, 3}, {0, 0, 70}, {2, 3, 4}));
  pc.tc.isGLN = false;
  for (long r = 0; r < pc.tc.sdd.nobs; ++r) {
    pc.tc.ELV(r, 0) = pc.tc.ELV(r, 1) = 3.141592653589793L / 2.0L;
    pc.tc.SAT_DIST(r, 0) = pc.tc.SAT_DIST(r, 1) = 0.0L;  // no satellite corrections
  }
  const PhsDiffData before = pc.tc.sdd;
  const std::string out = Run();
  const long r = pc.Record(5, 1);
  const long double c1 = (0.003L - 0.100L) + (0.060L - 0.001L);
  const long double c2 = (0.004L - 0.120L) + (0.070L - 0.002L);
  EXPECT_NEAR(Value(pc.tc.sdd.C1, r) - Value(before.C1, r), c1, 1e-9);
  EXPECT_NEAR(Value(pc.tc.sdd.P1, r) - Value(before.P1, r), c1, 1e-9);
  EXPECT_NEAR(Value(pc.tc.sdd.P2, r) - Value(before.P2, r), c2, 1e-9);
  EXPECT_NEAR(Value(pc.tc.sdd.L1, r) - Value(before.L1, r), c1 / GPSc::lamb1, 1e-7);
  EXPECT_NEAR(Value(pc.tc.sdd.L2, r) - Value(before.L2, r), c2 / GPSc::lamb2, 1e-7);
  // GLONASS is switched off: untouched by both kinds of pass
  const long g = pc.Record(107, 1);
  EXPECT_EQ(Value(pc.tc.sdd.C1, g), Value(before.C1, g));
  EXPECT_EQ(Value(pc.tc.sdd.L1, g), Value(before.L1, g));
  EXPECT_NE(out.find("GNSS ANTENNA ON ROVER STATION: SIMR"), std::string::npos);
  EXPECT_NE(out.find("     GPS carriers [L1/L2]    [NEU][mm]:    1.00    2.00  100.00 /     0.00"
                     "    0.00  120.00"),
            std::string::npos)
      << out;
}

TEST_F(AntennaPhaseCenterTest, ZeroOffsetsAndVariationsLeaveTheObservations) {
  const double z[3] = {0, 0, 0};
  LoadAntex(preptest::AntexReceiver(kBaseAnt, z, z, z, z) +
            preptest::AntexReceiver(kRoverAnt, z, z, z, z) +
            preptest::AntexSatellite("BLOCK IIF           ", "G05", z, z) +
            preptest::AntexSatellite("GLONASS-M           ", "R07", z, z));
  const PhsDiffData before = pc.tc.sdd;
  const std::string out = Run();
  for (long r = 0; r < pc.tc.sdd.nobs; ++r) {
    EXPECT_NEAR(Value(pc.tc.sdd.L1, r), Value(before.L1, r), 1e-9);
    EXPECT_NEAR(Value(pc.tc.sdd.P2, r), Value(before.P2, r), 1e-12);
  }
  const std::string end = "  GNSS satellite phase center offset  : All satellites OK\n\n\n";
  EXPECT_EQ(out.substr(out.size() - end.size()), end);
}

// Broadcast orbits refer to the antenna phase centre: no satellite offset, but
// the nadir variations still apply. Here only the BASE sees the satellites, one
// straight above it with its offset 1 m toward the Earth.
TEST_F(AntennaPhaseCenterTest, BroadcastOrbitsSkipSatelliteOffsetsButKeepVariations) {
  LoadAntex(preptest::AntexSatellite("BLOCK IIF           ", "G05", {0, 0, 1000}, {5, 5, 5}) +
            preptest::AntexSatellite("GALILEO-2           ", "E11", {0, 0, 1000}, {5, 5, 5}));
  PrepContext g({5, 211}, 1, 30.0L,
                {sdobs::C1, sdobs::L1, sdobs::L2, sdobs::P2, sdobs::C7, sdobs::L7});
  const xyz above = preptest::BasePosition().GetUnitVector(26600000.0L);
  g.SetGeometry([&](short, long) { return above; }, xyz(1.4e11L, 2e10L, 3e10L));
  for (long r = 0; r < g.tc.sdd.nobs; ++r) g.tc.SAT_DIST(r, 1) = 0.0L;
  std::snprintf(g.tc.sdh.anttype[0], 21, "%s", kBaseAnt.c_str());
  std::snprintf(g.tc.sdh.anttype[1], 21, "%s", kRoverAnt.c_str());
  g.tc.atx.SetFile(dir.File("a.atx").c_str());
  g.tc.atx.ReadFile();
  g.tc.isAtx = g.tc.isGPSnav = true;  // GPS broadcast, Galileo precise
  const PhsDiffData before = g.tc.sdd;
  testing::internal::CaptureStdout();
  ApplyATXVal(g.tc);
  testing::internal::GetCapturedStdout();
  const long gps = g.Record(5, 0), gal = g.Record(211, 0);
  EXPECT_NEAR(Value(g.tc.sdd.C1, gps) - Value(before.C1, gps), 0.005L, 1e-9);
  EXPECT_NEAR(Value(g.tc.sdd.P2, gps) - Value(before.P2, gps), 0.005L, 1e-9);
  EXPECT_NEAR(Value(g.tc.sdd.C1, gal) - Value(before.C1, gal), 0.005L - 1.0L, 1e-9);
  EXPECT_NEAR(Value(g.tc.sdd.C7, gal) - Value(before.C7, gal), 0.005L - 1.0L, 1e-9);
  EXPECT_NEAR(Value(g.tc.sdd.L7, gal) - Value(before.L7, gal), (0.005L - 1.0L) / GALILEOc::lamb2,
              1e-7);
  // the combination factors stay loaded with the last satellite's system
  EXPECT_EQ(GLC::LCion1, GALILEOc::LCion1);
}
