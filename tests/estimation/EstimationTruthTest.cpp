// Truth through the whole chain: a noise-free simulated hour goes through the
// loading, every preprocessing stage and the static solution, and the simulator's
// ROVER position, receiver clocks and troposphere come back out.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "sim/Simulator.h"
#include "support/SimulatedRun.h"

namespace {

class EstimationTruth : public ::testing::Test, public testsupport::SimulatedRun {
 protected:
  // Simulates one noise-free hour and runs the chain up to the static solution.
  bool Run(const std::vector<std::string>& extraSim, const std::vector<std::string>& extraRun) {
    return SimulatedRun::Run({"--duration", "1h", "--noise-free", "--no-ionosphere"}, extraSim,
                             extraRun);
  }
  long double RoverError() const {
    const xyz d = SimulatedRun::RoverError();
    return std::sqrt(d * d);
  }

  // Largest difference of the estimated and simulated values at the nodes of a grid; the
  // simulated value of a station at a GPS second comes from `truth`.
  template <class Truth>
  static long double NodeError(const matrix<mjd>& grid, const matrix<long double>& x, long n,
                               Truth truth) {
    long double worst = 0.0L;
    for (long k = 0; k < n; ++k)
      worst = std::fmax(worst, std::fabs(x(k) - truth(GpsSeconds(grid(k)))));
    return worst;
  }
  long double WetError(sim::Station st, const matrix<long double>& x, long n) const {
    const sim::SimTroposphere& tr = sim->Tropo(st);
    return NodeError(tc.TropoEpoch, x, n, [&tr](long double t) { return tr.Wet(t); });
  }
  // Every zenith delay of a station within its formal precision of the static solution.
  void ExpectWithinFormalSigma(sim::Station st, const matrix<long double>& x,
                               const matrix<long>& ix, long n) const {
    for (long k = 0; k < n; ++k) {
      const long double truth = sim->Tropo(st).Wet(GpsSeconds(tc.TropoEpoch(k)));
      const long double sigma = std::sqrt(tc.QxxAll(ix(k), ix(k)) * tc.s0apost);
      EXPECT_LT(std::fabs(x(k) - truth), sigma) << "station " << st << " node " << k;
    }
  }
  // Largest error of the difference ROVER minus BASE of the wet delays at the nodes.
  long double WetDifferenceError() const {
    long double worst = 0.0L;
    for (long k = 0; k < tc.nTropoUnkB && k < tc.nTropoUnkR; ++k) {
      const long double t = GpsSeconds(tc.TropoEpoch(k));
      const long double truth = sim->Tropo(sim::kRover).Wet(t) - sim->Tropo(sim::kBase).Wet(t);
      worst = std::fmax(worst, std::fabs(tc.xTropoR(k) - tc.xTropoB(k) - truth));
    }
    return worst;
  }
  long double GradientError(sim::Station st, const matrix<long double>& x, long n,
                            bool north) const {
    const sim::SimTroposphere& tr = sim->Tropo(st);
    return NodeError(tc.TropoGradEpoch, x, n, [&tr, north](long double t) {
      long double gn, ge;
      tr.Gradients(t, gn, ge);
      return north ? gn : ge;
    });
  }
};

TEST_F(EstimationTruth, CodeAndPhaseGiveTheSimulatedRoverAndClocks) {
  if (!Run({"--no-troposphere"}, {"-lC1,L1,L2"})) GTEST_SKIP() << why;
  EXPECT_LE(tc.IterDone, 3) << report;
  EXPECT_LT(RoverError(), 1e-4L) << report;
  EXPECT_LT(ClockError(), 1e-3L);
}

TEST_F(EstimationTruth, IonosphereFreePhaseGivesTheSimulatedRover) {
  if (!Run({"--no-troposphere"}, {"-lC1,L3"})) GTEST_SKIP() << why;
  EXPECT_LT(RoverError(), 1e-4L) << report;
  EXPECT_LT(ClockError(), 1e-3L);
}

// Zenith delays and gradients at both stations 300 km apart, on the grid the simulator's
// troposphere is linear on (hourly nodes; the data end before the third node, so every node
// has observations): every estimate returns the simulated value. The part common to both
// stations' zenith delays rests only on the few degrees by which the elevations of a
// satellite differ at the two stations, so the rounding of the files (orbits to 1 mm,
// phases to 0.001 cycle, codes to 1 mm; s0 0.044 mm without noise) reaches it amplified
// about 38 times: a formal precision of 1.6-1.8 mm per node, errors of 0.76 mm common to
// both stations (0.3 mm with orbits to 0.1 mm; the slant delays agree with the
// simulator's to 1e-7 m). Each node lies within its formal precision, as it does on
// 150 km (3.7 mm), 600 km (0.4 mm) and 1000 km (0.15 mm). The difference of the two
// stations, the gradients and the coordinates come back to 0.1 mm.
TEST_F(EstimationTruth, TroposphereOfBothStationsComesBackOnALongBaseline) {
  if (!Run({"--baseline", "300", "--tropo-nodes", "3600", "--duration", "7170"},
           {"-lC1,L1,L2", "-tmSAAST,NIELL", "-ti01:00:00BASE,ROVER", "-tgi0BASE,ROVER"}))
    GTEST_SKIP() << why;
  EXPECT_LE(tc.IterDone, 3) << report;
  EXPECT_LT(RoverError(), 1e-4L) << report;
  EXPECT_LT(ClockError(), 1e-3L);
  ASSERT_GT(tc.nTropoUnkB, 0);
  ASSERT_GT(tc.nTropoUnkR, 0);
  EXPECT_LT(WetDifferenceError(), 1e-4L) << report;
  EXPECT_LT(WetError(sim::kBase, tc.xTropoB, tc.nTropoUnkB), 1e-3L) << report;
  EXPECT_LT(WetError(sim::kRover, tc.xTropoR, tc.nTropoUnkR), 1e-3L) << report;
  ExpectWithinFormalSigma(sim::kBase, tc.xTropoB, tc.ixTropoB, tc.nTropoUnkB);
  ExpectWithinFormalSigma(sim::kRover, tc.xTropoR, tc.ixTropoR, tc.nTropoUnkR);
  EXPECT_LT(GradientError(sim::kBase, tc.xTropoGradNB, tc.nTropoUnkGradNB, true), 1e-4L);
  EXPECT_LT(GradientError(sim::kBase, tc.xTropoGradEB, tc.nTropoUnkGradEB, false), 1e-4L);
  EXPECT_LT(GradientError(sim::kRover, tc.xTropoGradNR, tc.nTropoUnkGradNR, true), 1e-4L);
  EXPECT_LT(GradientError(sim::kRover, tc.xTropoGradER, tc.nTropoUnkGradER, false), 1e-4L);
}

// The ROVER's receiver of another make: an offset of GLONASS and of Galileo time and a
// bias per satellite and code signal. The code biases come back less each system's
// mean over its estimated biases (the zero-sum datum, C1 and P2/C7 together), the
// clocks with the GPS mean in them, and each system offset as the simulated one plus
// the system's mean less the GPS mean.
TEST_F(EstimationTruth, ReceiverCodeBiasesAndSystemOffsetsComeBack) {
  if (!Run({"--no-troposphere", "--receiver-biases"}, {"-lC1,P2,L1,L2", "-cxGPS,GLN,GAL"}))
    GTEST_SKIP() << why;
  ASSERT_TRUE(tc.isdcbC1 && tc.isdcbP2);
  struct Bias {
    int sys;
    long double est, truth;
  };
  std::vector<Bias> all;
  long double sum[3] = {0, 0, 0};
  long n[3] = {0, 0, 0};
  const sim::Constellation& sats = sim->Sats();
  for (long s = 0; s < tc.sdd.GetNSat(); ++s) {
    const short prn = tc.sdd.GetSat(s);
    const int sys = prn > 200 ? 2 : prn > 100 ? 1 : 0;
    int k = 0;
    while (k < static_cast<int>(sats.Size()) && sats.Sat(k).number != prn) ++k;
    ASSERT_LT(k, static_cast<int>(sats.Size())) << prn;
    const int second = sys == 2 ? sim::kC7 : sim::kP2;
    const Bias b[2] = {{sys, tc.dcbC1(s), sim->RoverCodeBias(k, sim::kC1)},
                       {sys, tc.dcbP2(s), sim->RoverCodeBias(k, second)}};
    const long ix[2] = {tc.ixdcbC1(s), tc.ixdcbP2(s)};
    for (int t = 0; t < 2; ++t) {
      if (ix[t] < 0) continue;
      all.push_back(b[t]);
      sum[sys] += b[t].truth;
      ++n[sys];
    }
  }
  ASSERT_GT(n[0] * n[1] * n[2], 0);
  const long double mean[3] = {sum[0] / n[0], sum[1] / n[1], sum[2] / n[2]};
  long double worst = 0;
  for (const Bias& b : all) worst = std::fmax(worst, std::fabs(b.est - (b.truth - mean[b.sys])));
  EXPECT_LT(worst, 1e-3L) << report;
  EXPECT_NEAR(tc.dtGNSS[1], sim->RoverSystemOffset('R') + mean[1] - mean[0], 1e-3L);
  EXPECT_NEAR(tc.dtGNSS[2], sim->RoverSystemOffset('E') + mean[2] - mean[0], 1e-3L);
  EXPECT_LT(RoverError(), 1e-4L);
  EXPECT_LT(ClockError(mean[0]), 1e-3L);
}

}  // namespace
