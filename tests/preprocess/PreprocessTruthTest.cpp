// Truth checks of the antenna corrections, a-priori clocks, wind-up and
// eclipsing stages on noise-free simulated data: what the simulator put into
// the observations must come back out of them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/StreamFormatGuard.h"
#include "driver/DriverTestUtil.h"
#include "driver/Tervan_ReadFiles.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/TimeConverse.h"
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
#include "support/PipelineStart.h"
#include "support/SimulatedRun.h"
#include "support/TestSupport.h"

namespace {

constexpr long double kC = 299792458.0L;

// Largest magnitude and root mean square of a set of values.
struct Stats {
  explicit Stats(const std::vector<long double>& v) {
    for (long double x : v) {
      max = std::fmax(max, std::fabs(x));
      rms += x * x;
    }
    if (!v.empty()) rms = std::sqrt(rms / v.size());
  }
  long double max = 0, rms = 0;
};

// Appends the values of an arc minus their mean to dev and empties the arc.
void Center(std::vector<long double>& arc, std::vector<long double>& dev) {
  long double mean = 0;
  for (long double x : arc) mean += x / arc.size();
  for (long double x : arc) dev.push_back(x - mean);
  arc.clear();
}

// The files hold codes in millimetres and phases in thousandths of a cycle, and
// a single difference of two rounded values is off by up to one unit.
constexpr long double kCodeMax = 0.0012L, kCodeRms = 0.0005L;
constexpr long double kPhaseMax = 0.0025L, kPhaseRms = 0.0007L;

// One simulated scenario loaded by Tervan up to the satellite geometry.
class TruthRun {
 public:
  // Simulates one noise-free hour without troposphere and ionosphere, with the
  // extra simulator options, and runs the loading and the satellite geometry.
  // False when this build cannot do it yet (option or stage missing).
  bool Prepare(const std::vector<std::string>& extraSim, const std::vector<std::string>& extraRun) {
    std::vector<std::string> args = {
        "--duration",      "1h",      "--noise-free",       "--no-troposphere",
        "--no-ionosphere", "--start", "2026-06-15 08:00:00"};
    args.insert(args.end(), extraSim.begin(), extraSim.end());
    if (!testsupport::SimulateDataset(args, dir.Path(), why)) return false;
    const std::string d = dir.Path() + "/";
    std::vector<std::string> run = {"-r" + d + "SIMB_SIMR.sd", "-gf" + d + "glonass_channels.txt",
                                    "-csGRE", "-lC1,L1,L2,L3", "-me10"};
    const std::vector<std::string> precise = {"-ep" + d + "orbit.sp3", "-ec" + d + "clock.clk"};
    const std::vector<std::string> nav = {"-eg" + d + "gps.nav", "-er" + d + "glonass.nav",
                                          "-ee" + d + "galileo.nav"};
    run.insert(run.end(), broadcast ? nav.begin() : precise.begin(),
               broadcast ? nav.end() : precise.end());
    run.insert(run.end(), extraRun.begin(), extraRun.end());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    testsupport::RunToGeometry(tc, run);
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
  // Deviations of the L1 phase residuals from the mean of their arc (arcs cut
  // at gaps of more than 300 s) [cycles].
  Stats PhaseDeviations() const {
    std::vector<long double> dev;
    for (long j = 0; j < tc.sdd.satList.Length(); ++j) {
      std::vector<long double> arc;
      mjd last;
      for (long i = 0, r = 0; i < tc.sdd.neph; ++i)
        for (long k = 0; k < tc.sdd.nsat(i); ++k, ++r) {
          if (tc.sdd.sat(r) != tc.sdd.satList(j) || !Usable(r) || tc.sdd.L1(r).IsNull()) continue;
          if (!arc.empty() && tc.sdd.epoch(i) - last > 300.0L) Center(arc, dev);
          arc.push_back(PhaseResidual(r, i));
          last = tc.sdd.epoch(i);
        }
      Center(arc, dev);
    }
    return Stats(dev);
  }
  // Code minus model [m] over the usable records of a code column.
  Stats CodeResiduals(const matrix<gnssobs>& code) const {
    std::vector<long double> res;
    for (long i = 0, r = 0; i < tc.sdd.neph; ++i)
      for (long k = 0; k < tc.sdd.nsat(i); ++k, ++r)
        if (Usable(r) && !code(r).IsNull()) res.push_back(code(r).GetObs() - Model(r, i));
    return Stats(res);
  }
  bool Usable(long r) const {
    return tc.OKSAT(r) && tc.ELV(r, 0) > 0.2L && tc.ELV(r, 1) > 0.2L && tc.sdd.sat(r) < 300;
  }

  // The report stages leave their number formats on the streams.
  StreamFormatGuard coutFormat{std::cout}, cerrFormat{std::cerr};
  testsupport::TempDir dir;
  TervanC tc;
  std::string report, why;
  bool broadcast = false;  // navigation files in place of the precise products
};

class PreprocessTruth : public ::testing::Test, public TruthRun {};

}  // namespace

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

// Without troposphere, and with receiver clocks that jump by milliseconds, the
// epoch clocks plus the a-priori clock differences give the simulated receiver
// clock difference, and every code and phase then follows the modelled geometry.
TEST_F(PreprocessTruth, AprioriClocksAreTheSimulatedClocks) {
  if (!Prepare({"--ms-jumps"}, {})) GTEST_SKIP() << why;
  Stage(SetLinearCombinations);
  Stage(ProcClock);
  const std::vector<long double> truth = TruthClockDifferences(dir.File("truth.txt"));
  ASSERT_EQ(static_cast<long>(truth.size()), tc.sdd.neph);
  for (long i = 0; i < tc.sdd.neph; ++i)
    ASSERT_NEAR(tc.dtAll(i) + (tc.sdd.clkErR(i) - tc.sdd.clkErB(i)) * kC, truth[i], 0.001L) << i;
  for (const matrix<gnssobs>* code : {&tc.sdd.C1, &tc.sdd.P1, &tc.sdd.P2, &tc.sdd.C7}) {
    EXPECT_LT(CodeResiduals(*code).max, kCodeMax);
    EXPECT_LT(CodeResiduals(*code).rms, kCodeRms);
  }
  EXPECT_LT(PhaseDeviations().max, kPhaseMax);
  EXPECT_LT(PhaseDeviations().rms, kPhaseRms);
}

// Receiver antennas (one with azimuth dependence) and satellite antennas: the
// codes differ from the geometry by centimetres before the corrections and by
// less than a millimetre after them.
TEST_F(PreprocessTruth, AntennaCorrectionsBringCodesToTheGeometry) {
  if (!Prepare({"--antennas"}, {"-pv" + dir.File("antenna.atx")})) GTEST_SKIP() << why;
  Stage(ProcClock);
  EXPECT_GT(CodeResiduals(tc.sdd.C1).max, 0.01L);
  Stage(ApplyATXVal);
  Stage(ProcClock);
  for (const matrix<gnssobs>* code : {&tc.sdd.C1, &tc.sdd.P1, &tc.sdd.P2, &tc.sdd.C7}) {
    EXPECT_LT(CodeResiduals(*code).max, kCodeMax);
    EXPECT_LT(CodeResiduals(*code).rms, kCodeRms);
  }
  EXPECT_LT(PhaseDeviations().max, kPhaseMax);
  EXPECT_LT(PhaseDeviations().rms, kPhaseRms);
}

// Navigation files refer to the antenna phase centres: the satellite offsets
// stay out, the variations and the receiver corrections are applied.
TEST_F(PreprocessTruth, AntennaCorrectionsWithBroadcastOrbits) {
  broadcast = true;
  // (50 minutes: at the full hour the navigation records change over)
  if (!Prepare({"--antennas", "--duration", "50m"}, {"-pv" + dir.File("antenna.atx")}))
    GTEST_SKIP() << why;
  Stage(ApplyATXVal);
  Stage(ProcClock);
  for (const matrix<gnssobs>* code : {&tc.sdd.C1, &tc.sdd.P1, &tc.sdd.P2, &tc.sdd.C7}) {
    EXPECT_LT(CodeResiduals(*code).max, kCodeMax);
    EXPECT_LT(CodeResiduals(*code).rms, kCodeRms);
  }
}

// On a long baseline the stations' wind-ups differ by more than the rounding of
// the files; corrected, the phases are those of the same scenario without wind-up
// (same seed, same ambiguities) up to a constant per arc and the rounding of
// the files.
TEST_F(PreprocessTruth, WindUpCorrectedPhasesAreThoseWithoutWindUp) {
  const std::vector<std::string> sim = {"--antennas", "--baseline", "1000"};
  std::vector<std::string> withWindUp = sim;
  withWindUp.push_back("--wind-up");
  if (!Prepare(withWindUp, {"-pv" + dir.File("antenna.atx"), "-wu"})) GTEST_SKIP() << why;
  TruthRun twin;
  ASSERT_TRUE(twin.Prepare(sim, {"-pv" + twin.dir.File("antenna.atx")})) << twin.why;
  ASSERT_EQ(tc.sdd.nobs, twin.tc.sdd.nobs);
  Stage(ApplyATXVal);
  twin.Stage(ApplyATXVal);
  const auto spread = [&] {
    std::vector<long double> dev;
    for (long j = 0; j < tc.sdd.satList.Length(); ++j) {
      std::vector<long double> arc;
      for (long r = 0; r < tc.sdd.nobs; ++r)
        if (tc.sdd.sat(r) == tc.sdd.satList(j) && Usable(r) && !tc.sdd.L1(r).IsNull())
          arc.push_back(tc.sdd.L1(r).GetObs() - twin.tc.sdd.L1(r).GetObs());
      Center(arc, dev);
    }
    return Stats(dev);
  };
  // Each file value is the difference of two station values rounded to 0.001
  // cycles: two such values differ by at most 0.002 cycles, 0.00058 rms.
  EXPECT_GT(spread().rms, 0.001L);
  Stage(PhaseWindUp);
  EXPECT_LT(spread().max, 0.0021L);
  EXPECT_LT(spread().rms, 0.00065L);
}

namespace {

// An eclipsing window of the truth file.
struct Window {
  short sat;
  mjd from, to;
};

mjd ParseEpoch(const std::string& date, const std::string& time) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0;
  double s = 0;
  std::sscanf(date.c_str(), "%d-%d-%d", &y, &mo, &d);
  std::sscanf(time.c_str(), "%d:%d:%lf", &h, &mi, &s);
  return ymdhms2mjd(ymdhms(y, mo, d, h, mi, s));
}

short SatNumber(const std::string& name) {
  const short prn = static_cast<short>(std::stoi(name.substr(1)));
  return name[0] == 'R' ? prn + 100 : (name[0] == 'E' ? prn + 200 : prn);
}

std::vector<Window> TruthEclipses(const std::string& truthFile) {
  std::ifstream in(truthFile);
  std::string line;
  while (std::getline(in, line) && line.rfind("ECLIPSING SATELLITES", 0) != 0) {
  }
  std::vector<Window> out;
  while (std::getline(in, line) && !line.empty()) {
    std::istringstream row(line);
    std::string sat, d0, t0, to, d1, t1;
    if (!(row >> sat >> d0 >> t0 >> to >> d1 >> t1) || to != "to") continue;
    out.push_back(Window{SatNumber(sat), ParseEpoch(d0, t0), ParseEpoch(d1, t1)});
  }
  return out;
}

}  // namespace

// Half a day of data: the phases of every satellite inside a window the simulator
// marks as eclipsing are removed, and well outside them the phases stay.
TEST_F(PreprocessTruth, EclipsingSatellitesOfTheTruthLoseTheirPhases) {
  if (!Prepare({"--eclipses", "--duration", "12h", "--interval", "300"}, {"-cc"}))
    GTEST_SKIP() << why;
  const std::vector<Window> windows = TruthEclipses(dir.File("truth.txt"));
  ASSERT_FALSE(windows.empty());
  Stage(GetEclipsing);
  long inside = 0;
  for (long i = 0, r = 0; i < tc.sdd.neph; ++i)
    for (long k = 0; k < tc.sdd.nsat(i); ++k, ++r) {
      const mjd& t = tc.sdd.epoch(i);
      bool in = false, near = false;
      for (const Window& w : windows) {
        if (w.sat != tc.sdd.sat(r)) continue;
        in = in || (w.from <= t && t <= w.to);
        near = near || (t - w.from > -600.0L && w.to - t > -600.0L);
      }
      if (in) {
        EXPECT_TRUE(tc.sdd.L1(r).IsNull()) << tc.sdd.sat(r) << " " << i;
        ++inside;
      } else if (!near && tc.OKSAT(r)) {
        EXPECT_FALSE(tc.sdd.L1(r).IsNull()) << tc.sdd.sat(r) << " " << i;
      }
    }
  EXPECT_GT(inside, 0);
  EXPECT_EQ(tc.NEclipsSat, static_cast<long>(tc.EclipsSat.Length()));
}
