#include <gtest/gtest.h>

#include <cmath>

#include "sim/Constants.h"
#include "sim/Simulator.h"

namespace sim {
namespace {

Scenario NoiseFree(long double hours) {
  Scenario sc;
  std::string msg;
  ParseScenario({"--noise-free", "--duration", std::to_string(static_cast<int>(hours * 3600))}, sc,
                msg);
  return sc;
}

const RawObs* Find(const Simulator& s, Station st, size_t epoch, const std::string& id) {
  for (const RawObs& o : s.Epochs(st)[epoch].obs)
    if (s.Sats().Sat(o.sat).Id() == id) return &o;
  return nullptr;
}

// A satellite both stations see over the whole first hour.
std::string SteadySatellite(const Simulator& s, char system) {
  const size_t last = s.Epochs(kRover).size() - 1;
  for (const RawObs& o : s.Epochs(kRover)[0].obs) {
    const std::string id = s.Sats().Sat(o.sat).Id();
    if (id[0] == system && Find(s, kRover, last, id) && Find(s, kBase, last, id) &&
        s.Epochs(kRover)[0].Terms(o).elevation > 20 * kDeg)
      return id;
  }
  return "";
}

class NoiseFreeRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    sim_ = new Simulator(NoiseFree(1));
    sim_->Run();
  }
  static void TearDownTestSuite() { delete sim_; }
  static Simulator* sim_;
};
Simulator* NoiseFreeRun::sim_ = nullptr;

TEST_F(NoiseFreeRun, EachCodeEqualsTheModelTermsItWasBuiltFrom) {
  long checked = 0;
  for (Station st : {kBase, kRover}) {
    for (const StationEpoch& ep : sim_->Epochs(st)) {
      for (const RawObs& o : ep.obs) {
        const SimSat& s = sim_->Sats().Sat(o.sat);
        const ObsTerms& t = ep.Terms(o);
        const long double common =
            t.range + t.shapiro + kC * (t.recClock - t.satClock - t.relativity) + t.tropo;
        const long double i1 = 40.3e16L * t.tec / (s.f1 * s.f1);
        const long double i2 = 40.3e16L * t.tec / (s.f2 * s.f2);
        EXPECT_NEAR(static_cast<double>(o.value[kC1]), static_cast<double>(common + i1 + s.biasC1),
                    6e-4);
        if (s.system == 'E') {
          EXPECT_NEAR(static_cast<double>(o.value[kC7]),
                      static_cast<double>(common + i2 + s.biasC7), 6e-4);
          EXPECT_EQ(o.value[kP1], 0);
        } else {
          EXPECT_NEAR(static_cast<double>(o.value[kP1]),
                      static_cast<double>(common + i1 + s.biasP1), 6e-4);
          EXPECT_NEAR(static_cast<double>(o.value[kP2]),
                      static_cast<double>(common + i2 + s.biasP2), 6e-4);
          EXPECT_NEAR(static_cast<double>(o.value[kL2] * (kC / s.f2)),
                      static_cast<double>(common - i2 + o.n2 * (kC / s.f2)), 2e-3);
        }
        EXPECT_NEAR(static_cast<double>(o.value[kL1] * (kC / s.f1)),
                    static_cast<double>(common - i1 + o.n1 * (kC / s.f1)), 2e-3);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 2 * 120 * 15);
}

TEST_F(NoiseFreeRun, TermsFollowTheGeometryTheyDescribe) {
  for (Station st : {kBase, kRover}) {
    const StationEpoch& ep = sim_->Epochs(st)[10];
    for (const RawObs& o : ep.obs) {
      const ObsTerms& t = ep.Terms(o);
      // Emission epoch: reception on the true time scale less the light time.
      EXPECT_NEAR(static_cast<double>(t.emission - (ep.tag - ep.clock - t.range / kC)), 0, 1e-12);
      // Range to the satellite at emission, in the frame of the reception epoch.
      const Vec3 xs = RotateZ(sim_->Sats().Position(o.sat, t.emission),
                              kOmegaKepler * (ep.tag - ep.clock - t.emission));
      EXPECT_NEAR(static_cast<double>(Norm(xs - sim_->Position(st)) - t.range), 0, 1e-6);
      EXPECT_GE(t.elevation, 7 * kDeg);
      EXPECT_LT(std::fabs(t.relativity), 60e-9L);  // periodic clock term below 20 m
      EXPECT_GT(t.shapiro, 0.005L);
      EXPECT_LT(t.shapiro, 0.03L);
      EXPECT_GT(t.tropo, 2.3L);  // zenith delay of about 2.3 m mapped down
      EXPECT_GT(t.tec, 0.0L);
    }
  }
}

TEST_F(NoiseFreeRun, StationsAreTheBaselineApart) {
  const Vec3 d = sim_->Position(kRover) - sim_->Position(kBase);
  EXPECT_NEAR(static_cast<double>(Norm(d)), 10000.0, 5.0);
  EXPECT_NEAR(static_cast<double>(sim_->Geo(kRover).h - sim_->Geo(kBase).h), 40.0, 1e-3);
  // All three systems are observed.
  int seen[3] = {0, 0, 0};
  for (const RawObs& o : sim_->Epochs(kBase)[0].obs) {
    const char s = sim_->Sats().Sat(o.sat).system;
    ++seen[s == 'G' ? 0 : s == 'R' ? 1 : 2];
  }
  for (int k : seen) EXPECT_GE(k, 4);
}

TEST(SimulatorEffects, SlipGapAndOutlierChangeOnlyWhatTheySay) {
  Simulator clean(NoiseFree(1));
  clean.Run();
  const std::string g = SteadySatellite(clean, 'G'), e = SteadySatellite(clean, 'E');
  ASSERT_FALSE(g.empty());
  ASSERT_FALSE(e.empty());
  Scenario sc = NoiseFree(1);
  std::string msg;
  ASSERT_EQ(
      ParseScenario({"--noise-free", "--duration", "3600", "--slip", g + ",900,5,-3", "--slip",
                     e + ",1200,-7,2", "--outlier", g + ",300,P2,25", "--gap", e + ",600,900,base"},
                    sc, msg),
      ParseResult::kRun);
  Simulator s(sc);
  s.Run();
  for (size_t k = 0; k < clean.Epochs(kRover).size(); ++k) {
    const RawObs *a = Find(clean, kRover, k, g), *b = Find(s, kRover, k, g);
    ASSERT_TRUE(a && b);
    const bool after = k >= 30;
    EXPECT_NEAR(static_cast<double>(b->value[kL1] - a->value[kL1]), after ? 5 : 0, 1e-6);
    EXPECT_NEAR(static_cast<double>(b->value[kL2] - a->value[kL2]), after ? -3 : 0, 1e-6);
    EXPECT_NEAR(static_cast<double>(b->value[kP2] - a->value[kP2]), k == 10 ? 25 : 0, 1e-6);
    const RawObs *ea = Find(clean, kRover, k, e), *eb = Find(s, kRover, k, e);
    ASSERT_TRUE(ea && eb);
    EXPECT_NEAR(static_cast<double>(eb->value[kL7] - ea->value[kL7]), k >= 40 ? 2 : 0, 1e-6);
    // The BASE loses the Galileo satellite from 600 s to 900 s.
    const bool gap = k >= 20 && k <= 30;
    EXPECT_EQ(Find(s, kBase, k, e) == nullptr, gap) << k;
  }
  // After the gap the BASE phase starts a new arc: its ambiguity differs.
  EXPECT_NE(Find(s, kBase, 31, e)->n1, Find(s, kBase, 19, e)->n1);
  int slips = 0, outliers = 0, gaps = 0;
  for (const AppliedEvent& ev : s.Events()) {
    slips += ev.kind == "slip";
    outliers += ev.kind == "outlier";
    gaps += ev.kind == "gap";
  }
  EXPECT_EQ(slips, 2);
  EXPECT_EQ(outliers, 1);
  EXPECT_EQ(gaps, 1);
}

TEST(SimulatorEffects, TruthSaysWhenASlipFindsNoObservation) {
  Simulator clean(NoiseFree(0.25));
  clean.Run();
  const std::string g = SteadySatellite(clean, 'G');
  ASSERT_FALSE(g.empty());
  Scenario sc;
  std::string msg;
  ASSERT_EQ(ParseScenario({"--noise-free", "--duration", "900", "--slip", g + ",300,1,1", "--slip",
                           "G99,300,1,1", "--slip", g + ",5000,1,1"},
                          sc, msg),
            ParseResult::kRun);
  Simulator s(sc);
  s.Run();
  std::vector<std::string> details;
  for (const AppliedEvent& ev : s.Events())
    if (ev.kind == "slip") details.push_back(ev.sat + " " + ev.detail);
  EXPECT_EQ(details, (std::vector<std::string>{
                         g + " +1 +1 cycles", "G99 +1 +1 cycles (not applied: no such observation)",
                         g + " +1 +1 cycles (not applied: no such observation)"}));
}

TEST(SimulatorEffects, MillisecondJumpsMoveTheCodesButNotThePhases) {
  Scenario sc;
  std::string msg;
  ASSERT_EQ(ParseScenario({"--noise-free", "--ms-jumps", "--duration", "3h"}, sc, msg),
            ParseResult::kRun);
  Simulator s(sc);
  s.Run();
  int jumps = 0;
  for (const AppliedEvent& ev : s.Events()) jumps += ev.kind == "clock jump";
  ASSERT_GE(jumps, 1);
  for (Station st : {kBase, kRover}) {
    const auto& eps = s.Epochs(st);
    for (size_t k = 1; k < eps.size(); ++k) {
      const long double step = eps[k].clock - eps[k - 1].clock;
      EXPECT_LT(std::fabs(eps[k].clock), 5.1e-4L);
      if (std::fabs(step) < 5e-4L) continue;
      EXPECT_NEAR(static_cast<double>(std::fabs(step)), 1e-3, 2e-5);
      const RawObs& now = eps[k].obs[0];
      const RawObs* before = nullptr;
      for (const RawObs& o : eps[k - 1].obs)
        if (o.sat == now.sat) before = &o;
      ASSERT_TRUE(before);
      const long double dc = now.value[kC1] - before->value[kC1];
      const long double dl =
          (now.value[kL1] - before->value[kL1]) * (kC / s.Sats().Sat(now.sat).f1);
      const long double geometry = eps[k].Terms(now).range - eps[k - 1].Terms(*before).range;
      EXPECT_NEAR(static_cast<double>(dc - geometry), static_cast<double>(kC * step), 5.0);
      const long double jump = step > 0 ? 1e-3L : -1e-3L;
      EXPECT_NEAR(static_cast<double>(dc - dl), static_cast<double>(kC * jump), 0.1);
    }
  }
}

TEST(SimulatorEffects, RoverTagOffsetShiftsTheRoverEpochs) {
  Scenario sc;
  std::string msg;
  ASSERT_EQ(ParseScenario({"--rover-tag-offset", "-1.5", "--duration", "600"}, sc, msg),
            ParseResult::kRun);
  Simulator s(sc);
  s.Run();
  ASSERT_EQ(s.Epochs(kBase).size(), 21u);
  for (size_t k = 0; k < s.Epochs(kBase).size(); ++k)
    EXPECT_NEAR(static_cast<double>(s.Epochs(kRover)[k].tag - s.Epochs(kBase)[k].tag), -0.0015,
                1e-9);
}

}  // namespace
}  // namespace sim
