// Truth checks of the antenna corrections, a-priori clocks, wind-up and
// eclipsing stages on noise-free simulated data: what the simulator put into
// the observations must come back out of them.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/DriverTestUtil.h"
#include "driver/Tervan_ReadFiles.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"
#include "preprocess/Tervan_AntennaPhaseCenter.h"
#include "preprocess/Tervan_ApplyCorrections.h"
#include "preprocess/Tervan_Eclipsing.h"
#include "preprocess/Tervan_GetInitPos.h"
#include "preprocess/Tervan_PhaseWindUp.h"
#include "preprocess/Tervan_ProcClock.h"
#include "preprocess/Tervan_SetLinCombinations.h"
#include "sdiff/ExcludeProblemSat.h"
#include "sim/Dataset.h"
#include "sim/Simulator.h"
#include "support/TestSupport.h"

namespace {

constexpr long double kC = 299792458.0L;

class PreprocessTruth : public ::testing::Test {
 protected:
  // Simulates one noise-free hour without troposphere and ionosphere, with the
  // extra simulator options, and runs the loading and the satellite geometry.
  // False when this build cannot do it yet (option or stage missing).
  bool Prepare(const std::vector<std::string>& extraSim, const std::vector<std::string>& extraRun) {
    std::vector<std::string> args = {
        "--duration",      "1h",      "--noise-free",       "--no-troposphere",
        "--no-ionosphere", "--start", "2026-06-15 08:00:00"};
    args.insert(args.end(), extraSim.begin(), extraSim.end());
    sim::Scenario sc;
    std::string msg;
    if (sim::ParseScenario(args, sc, msg) != sim::ParseResult::kRun) {
      why = "simulator: " + msg;
      return false;
    }
    sc.outDir = dir.Path();
    sim::Simulator s(sc);
    s.Run();
    if (!sim::WriteDataset(s, msg)) {
      why = msg;
      return false;
    }
    const std::string d = dir.Path() + "/";
    std::vector<std::string> run = {"-r" + d + "SIMB_SIMR.sd",
                                    "-ep" + d + "orbit.sp3",
                                    "-ec" + d + "clock.clk",
                                    "-gf" + d + "glonass_channels.txt",
                                    "-csGRE",
                                    "-lC1,L1,L2,L3",
                                    "-me10"};
    run.insert(run.end(), extraRun.begin(), extraRun.end());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    drivertest::Parse(tc, run);
    CheckArgumetns(tc);
    PrintArgumetns(tc);
    SetFiles(tc);
    ReadFiles(tc);
    ExcludeProblemSat(tc.sdh, tc.sdd, *tc.GetSatCRX(), tc.GetIsSCRX(), tc.GetVerbose());
    GetReceiverProperties(tc);
    ApplyCorrections(tc);
    testing::internal::GetCapturedStderr();
    report = testing::internal::GetCapturedStdout();
    if (tc.ELV.NRow() != tc.sdd.nobs || tc.SAT_POS.NRow() != tc.sdd.nobs) {
      why = "the satellite geometry stage is not built";
      return false;
    }
    return true;
  }
  // Runs stages with their report appended to `report`.
  template <class F>
  void Stage(F f) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    f(tc);
    testing::internal::GetCapturedStderr();
    report += testing::internal::GetCapturedStdout();
  }

  // Modelled single difference of record r at epoch i [m]: ranges, satellite
  // and receiver clocks and relativistic path delays.
  long double Model(long r, long i) const {
    const xyzt &b = tc.SAT_POS(r, 0), &v = tc.SAT_POS(r, 1);
    const long double rho =
        (v.GetXYZ() - tc.RecPosFC_ROVER).GetLength() - (b.GetXYZ() - tc.RecPosFC_BASE).GetLength();
    return rho - (v.GetT() - b.GetT()) * kC + (tc.sdd.clkErR(i) - tc.sdd.clkErB(i)) * kC +
           tc.dtAll(i) + tc.REL2(r, 1) - tc.REL2(r, 0);
  }
  // L1 phase minus the model [cycles]; an arc's ambiguity stays in it.
  long double PhaseResidual(long r, long i) const {
    const short s = tc.sdd.sat(r);
    const long double l1 = satnum::IsGLONASS(s) ? GLONASSc::SatLambda(s, 0) : GPSc::lamb1;
    return tc.sdd.L1(r).GetObs() - Model(r, i) / l1;
  }
  // Largest spread of the L1 phase residual along a satellite's observations
  // (arcs cut at gaps of more than 300 s), in cycles.
  long double MaxPhaseSpread() const {
    long double worst = 0;
    for (long j = 0; j < tc.sdd.satList.Length(); ++j) {
      const short s = tc.sdd.satList(j);
      long double lo = 0, hi = 0;
      bool open = false;
      mjd last;
      for (long i = 0, r = 0; i < tc.sdd.neph; ++i)
        for (long k = 0; k < tc.sdd.nsat(i); ++k, ++r) {
          if (tc.sdd.sat(r) != s || !Usable(r) || tc.sdd.L1(r).IsNull()) continue;
          const long double v = PhaseResidual(r, i);
          if (!open || tc.sdd.epoch(i) - last > 300.0L) lo = hi = v;
          lo = std::fmin(lo, v);
          hi = std::fmax(hi, v);
          open = true;
          last = tc.sdd.epoch(i);
          worst = std::fmax(worst, hi - lo);
        }
    }
    return worst;
  }
  // Largest |code residual| over the usable records of the given column.
  long double MaxCodeResidual(const matrix<gnssobs>& code) const {
    long double worst = 0;
    for (long i = 0, r = 0; i < tc.sdd.neph; ++i)
      for (long k = 0; k < tc.sdd.nsat(i); ++k, ++r)
        if (Usable(r) && !code(r).IsNull())
          worst = std::fmax(worst, std::fabs(code(r).GetObs() - Model(r, i)));
    return worst;
  }
  bool Usable(long r) const {
    return tc.OKSAT(r) && tc.ELV(r, 0) > 0.2L && tc.ELV(r, 1) > 0.2L && tc.sdd.sat(r) < 300;
  }

  testsupport::TempDir dir;
  TervanC tc;
  std::string report, why;
};

}  // namespace

// Without troposphere the epoch clocks plus the a-priori clock differences give
// the simulated receiver clock difference, and every code then agrees with the
// modelled geometry.
TEST_F(PreprocessTruth, AprioriClocksGiveTheSimulatedClockDifference) {
  if (!Prepare({}, {})) GTEST_SKIP() << why;
  Stage(SetLinearCombinations);
  Stage(ProcClock);
  EXPECT_LT(MaxCodeResidual(tc.sdd.C1), 0.001L);
  EXPECT_LT(MaxCodeResidual(tc.sdd.P2), 0.001L);
}

// Clock differences of the truth file [m], one per epoch.
std::vector<long double> TruthClockDifferences(const std::string& truthFile) {
  std::ifstream in(truthFile);
  std::string line;
  while (std::getline(in, line) && line.rfind("RECEIVER CLOCKS", 0) != 0) {
  }
  while (std::getline(in, line) && line.find("epoch (GPS)") == std::string::npos) {
  }
  std::vector<long double> out;
  while (std::getline(in, line) && !line.empty()) {
    std::istringstream row(line);
    std::string date, time;
    long double b, r;
    if (!(row >> date >> time >> b >> r)) break;
    out.push_back((r - b) * kC);
  }
  return out;
}

TEST_F(PreprocessTruth, EpochClocksPlusAprioriClocksAreTheSimulatedClocks) {
  if (!Prepare({"--ms-jumps"}, {})) GTEST_SKIP() << why;
  Stage(SetLinearCombinations);
  Stage(ProcClock);
  const std::vector<long double> truth = TruthClockDifferences(dir.File("truth.txt"));
  ASSERT_EQ(static_cast<long>(truth.size()), tc.sdd.neph);
  for (long i = 0; i < tc.sdd.neph; ++i)
    ASSERT_NEAR(tc.dtAll(i) + (tc.sdd.clkErR(i) - tc.sdd.clkErB(i)) * kC, truth[i], 0.001L) << i;
}

// Receiver antennas (one with azimuth dependence) and satellite antennas: the
// codes differ from the geometry by centimetres before the corrections and by
// less than a millimetre after them.
TEST_F(PreprocessTruth, AntennaCorrectionsBringCodesToTheGeometry) {
  if (!Prepare({"--antennas"}, {"-pv" + dir.File("antenna.atx")})) GTEST_SKIP() << why;
  Stage(ProcClock);
  EXPECT_GT(MaxCodeResidual(tc.sdd.C1), 0.01L);
  Stage(ApplyATXVal);
  Stage(ProcClock);
  EXPECT_LT(MaxCodeResidual(tc.sdd.C1), 0.001L);
  EXPECT_LT(MaxCodeResidual(tc.sdd.P2), 0.001L);
  EXPECT_LT(MaxCodeResidual(tc.sdd.C7), 0.001L);
  EXPECT_LT(MaxPhaseSpread(), 0.001L / 0.19L);
}

// On a long baseline the stations' wind-ups differ by a good part of a cycle;
// corrected, the phases follow the geometry to a thousandth of a cycle.
TEST_F(PreprocessTruth, WindUpCorrectedPhasesFollowTheGeometry) {
  if (!Prepare({"--wind-up", "--antennas", "--baseline", "1000"},
               {"-pv" + dir.File("antenna.atx"), "-wu"}))
    GTEST_SKIP() << why;
  Stage(ApplyATXVal);
  Stage(ProcClock);
  EXPECT_GT(MaxPhaseSpread(), 0.01L);
  Stage(PhaseWindUp);
  EXPECT_LT(MaxPhaseSpread(), 0.001L);
}
