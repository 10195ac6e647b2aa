// The satellite geometry and model terms of a noise-free simulated dataset against
// the simulator's own geometry: elevations, azimuths, the relativistic path range
// and the troposphere at the simulator's elevation, with precise and with
// broadcast orbits.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../driver/DriverTestUtil.h"
#include "driver/Tervan_ReadFiles.h"
#include "preprocess/Tervan_ApplyCorrections.h"
#include "preprocess/Tervan_GetInitPos.h"
#include "sdiff/ExcludeProblemSat.h"
#include "sim/Dataset.h"
#include "sim/Simulator.h"
#include "support/TestSupport.h"

namespace {

constexpr long double kTwoPi = 2.0L * 3.141592653589793L;

// One noise-free hour of GPS, GLONASS and Galileo without ionosphere, written once.
class SimulatedHour : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testsupport::TempDir();
    sim::Scenario sc;
    std::string msg;
    sim::ParseScenario(
        {"--noise-free", "--no-ionosphere", "--duration", "3600", "--out", dir_->Path()}, sc, msg);
    sim_ = new sim::Simulator(sc);
    sim_->Run();
    ASSERT_TRUE(sim::WriteDataset(*sim_, msg)) << msg;
  }
  static void TearDownTestSuite() {
    delete sim_;
    delete dir_;
  }
  static std::string File(const std::string& name) { return dir_->File(name); }

  // The run context after the receiver and geometry stages, with the orbit options.
  static std::unique_ptr<TervanC> Run(const std::vector<std::string>& orbits) {
    const sim::DatasetFiles f;
    std::vector<std::string> args = {"-r" + File(f.SingleDifferences(sim_->Sc())),
                                     "-gf" + File(f.channels),
                                     "-csGRE",
                                     "-lPc3,L3",
                                     "-tmSAAST,NIELL",
                                     "-xSTA",
                                     "-pcosz"};
    args.insert(args.end(), orbits.begin(), orbits.end());
    auto tc = std::make_unique<TervanC>();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    drivertest::Parse(*tc, args);
    CheckArgumetns(*tc);
    SetFiles(*tc);
    ReadFiles(*tc);
    GetReceiverProperties(*tc);
    ApplyCorrections(*tc);
    report_ = testing::internal::GetCapturedStdout();
    warnings_ = testing::internal::GetCapturedStderr();
    return tc;
  }

  // Simulated observation of satellite number sat at nominal epoch t (seconds from
  // the start) at a station; nullptr when it has none.
  static const sim::RawObs* Observation(sim::Station st, long double t, short sat) {
    for (const sim::StationEpoch& ep : sim_->Epochs(st)) {
      if (std::fabs(ep.tag - sim_->Sc().StartSeconds() - t) > 0.5L) continue;
      for (const sim::RawObs& o : ep.obs)
        if (sim_->Sats().Sat(o.sat).number == sat) return &o;
    }
    return nullptr;
  }

  static void CompareWithTruth(TervanC& tc, long double angle, long double angleGlonass);

  static testsupport::TempDir* dir_;
  static sim::Simulator* sim_;
  static std::string report_, warnings_;
};
testsupport::TempDir* SimulatedHour::dir_ = nullptr;
sim::Simulator* SimulatedHour::sim_ = nullptr;
std::string SimulatedHour::report_, SimulatedHour::warnings_;

// Troposphere of the run's model at the simulator's elevation (m).
long double ModelTroposphere(TervanC& tc, int station, const mjd& t, long double elevation) {
  gTropModel m;
  m.SetTropModel(tc.TrpModel);
  m.SetMappFunction(tc.TrpMappFun);
  gTropDelay d;
  const flh pos = station == 0 ? tc.RecPosFCG_BASE : tc.RecPosFCG_ROVER;
  m.SetPoint(tc.sdh.GetMarkerName(station));
  m.SetAtmParams(pos);
  m.GetZenithDelay(d, pos, t);
  m.GetMappFunction(d, pos, t, elevation);
  return d.Delay();
}

// Reception epoch of a station in epoch i (GPS time).
mjd StationEpoch(const TervanC& tc, int station, long i) {
  mjd t = tc.sdd.epoch(i);
  t += station == 0 ? -tc.sdd.clkErB(i) : tc.sdd.dtR_B(i) - tc.sdd.clkErR(i);
  return t;
}

// Elevation and azimuth agree to angle (rad) except for GLONASS satellites, which
// agree to angleGlonass: the simulator's GLONASS broadcast records reproduce its
// orbits to a few centimetres only.
void SimulatedHour::CompareWithTruth(TervanC& tc, long double angle, long double angleGlonass) {
  const mjd start = tc.sdd.epoch(0);
  long compared = 0, off = 0;
  long double worstAngle[2] = {0, 0}, worstRel = 0, worstTrop = 0;
  for (long i = 0; i < tc.sdd.neph; off += tc.sdd.nsat(i), ++i) {
    const long double t = tc.sdd.epoch(i) - start;
    for (long r = off; r < off + tc.sdd.nsat(i); ++r) {
      ASSERT_TRUE(tc.OKSAT(r)) << r;
      for (int st = 0; st < 2; ++st) {
        const sim::RawObs* o = Observation(st == 0 ? sim::kBase : sim::kRover, t, tc.sdd.sat(r));
        ASSERT_NE(o, nullptr);
        const long double de = tc.ELV(r, st) - o->terms.elevation;
        const long double da = std::remainder(tc.AZM(r, st) - o->terms.azimuth, kTwoPi);
        const long double dr = tc.REL2(r, st) - o->terms.shapiro;
        const long double dt =
            tc.TROP(r, st) - ModelTroposphere(tc, st, StationEpoch(tc, st, i), o->terms.elevation);
        long double& w = worstAngle[tc.sdd.sat(r) > 100 && tc.sdd.sat(r) < 200];
        w = std::max({w, std::fabs(de), std::fabs(da) * std::cos(o->terms.elevation)});
        worstRel = std::max(worstRel, std::fabs(dr));
        worstTrop = std::max(worstTrop, std::fabs(dt));
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 5000);
  EXPECT_LT(worstAngle[0], angle);
  EXPECT_LT(worstAngle[1], angleGlonass);
  EXPECT_LT(worstRel, 1e-4L);
  EXPECT_LT(worstTrop, 1e-4L);
  std::printf("  %ld values: worst angle %.2Le rad (GLONASS %.2Le), REL2 %.2Le m, TROP %.2Le m\n",
              compared, worstAngle[0], worstAngle[1], worstRel, worstTrop);
}

TEST_F(SimulatedHour, GeometryOfPreciseOrbitsIsTheSimulatorsGeometry) {
  const sim::DatasetFiles f;
  auto tc = Run({"-ep" + File(f.sp3), "-ec" + File(f.clock)});
  CompareWithTruth(*tc, 1e-9L, 1e-9L);
}

TEST_F(SimulatedHour, GeometryOfBroadcastOrbitsIsTheSimulatorsGeometry) {
  const sim::DatasetFiles f;
  auto tc = Run({"-eg" + File(f.gpsNav), "-er" + File(f.glonassNav), "-ee" + File(f.galileoNav)});
  CompareWithTruth(*tc, 1e-9L, 5e-9L);
}

}  // namespace
