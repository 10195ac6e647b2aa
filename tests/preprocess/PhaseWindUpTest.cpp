// Phase wind-up of the single differences.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "PrepContext.h"
#include "gnss/mGNSSc.h"
#include "preprocess/Tervan_PhaseWindUp.h"
#include "sdiff/PhsDiffHeader.h"
#include "support/TestSupport.h"

using preptest::PrepContext;

// A satellite dipole parallel to the receiver's: the normalised product can
// round past 1, which must give zero wind-up rather than NaN.
TEST(PhaseWindUp, ParallelDipolesGiveZeroNotNaN) {
  for (int i : {2, 11, 12}) {
    const long double a = 0.37L * i, b = 0.11L * i + 0.2L;
    const xyz k(std::cos(a) * std::cos(b), std::sin(a) * std::cos(b), std::sin(b));
    const xyz x = xyz(-std::sin(a), std::cos(a), 0.3L * i / 2000).GetUnitVector();
    const xyz y = CrossP(k, x).GetUnitVector();
    long double w = 1.0L;
    ASSERT_TRUE(WindUpCycles(k, x, -1.0L * y, x, y, w));
    EXPECT_EQ(w, 0.0L) << i;
  }
}

namespace {

// A context with one GPS satellite at the given epochs [s from the start].
class WindUpRun {
 public:
  explicit WindUpRun(const std::vector<long double>& t)
      : pc({5}, static_cast<long>(t.size()), 1.0L, {sdobs::L1, sdobs::L2}) {
    for (size_t i = 0; i < t.size(); ++i) {
      pc.tc.sdd.epoch(i) = mjd(61206, 28800.0L);
      pc.tc.sdd.epoch(i) += t[i];
    }
    pc.SetGeometry([t](short s, long i) { return PrepContext::Orbit(s, t[i]); },
                   xyz(1.4e11L, 2e10L, 3e10L));
    pc.tc.ifL1 = pc.tc.ifL2 = pc.tc.isPhaseWindUp = true;
  }
  std::string Run() {
    before = pc.tc.sdd.L1;
    testing::internal::CaptureStdout();
    PhaseWindUp(pc.tc);
    return testing::internal::GetCapturedStdout();
  }
  long double Correction(long epoch) const {
    return pc.tc.sdd.L1(epoch).GetObs() - before(epoch).GetObs();
  }
  PrepContext pc;
  matrix<gnssobs> before;
};

// Numbers of the first table row of the BASE station: MIN and MAX [cycles].
void FirstRowRange(const std::string& out, long double& wmin, long double& wmax) {
  std::istringstream in(out.substr(out.find("       1   G 5")));
  std::string line;
  std::getline(in, line);
  std::istringstream row(line);
  std::string tok[9];  // number, system, PRN, two epochs of day and seconds, MIN, MAX
  for (std::string& s : tok) row >> s;
  wmin = std::stold(tok[7]);
  wmax = std::stold(tok[8]);
}

}  // namespace

TEST(PhaseWindUp, ArcsRestartAfterMoreThan1800Seconds) {
  WindUpRun kept({0, 60, 1860});
  const std::string one = kept.Run();
  EXPECT_EQ(one.find("\n              "), std::string::npos) << one;
  WindUpRun split({0, 60, 1861});
  const std::string two = split.Run();
  EXPECT_NE(two.find("\n                   61206 30661.0"), std::string::npos) << two;
  // the new arc starts from the raw value, as a run of that epoch alone has it
  WindUpRun alone({1861});
  alone.Run();
  EXPECT_NEAR(split.Correction(2), alone.Correction(0), 1e-15);
  EXPECT_NE(split.Correction(2), 0.0L);
}

// Block IIR satellites have their x and y axes reversed: half a cycle apart.
TEST(PhaseWindUp, BlockIIRIsHalfACycleShifted) {
  testsupport::TempDir dir;
  const double z[3] = {0, 0, 0};
  long double range[2][2];
  const char* types[2] = {"BLOCK IIF           ", "BLOCK IIR-M         "};
  for (int k = 0; k < 2; ++k) {
    testsupport::WriteFile(dir.File("a.atx"), preptest::AntexHeader() +
                                                  preptest::AntexSatellite(types[k], "G05", z, z));
    WindUpRun run({0, 30, 60});
    run.pc.tc.atx.SetFile(dir.File("a.atx").c_str());
    run.pc.tc.atx.ReadFile();
    run.pc.tc.isAtx = true;
    FirstRowRange(run.Run(), range[k][0], range[k][1]);
  }
  const long double shift = range[1][0] - range[0][0];
  EXPECT_NEAR(std::fabs(shift), 0.5L, 2e-4L);
  EXPECT_NEAR(range[1][1] - range[0][1], shift, 2e-4L);
}

TEST(PhaseWindUp, NothingWithoutPhasesOrWithTheSwitchOff) {
  WindUpRun run({0, 30});
  run.pc.tc.ifL1 = run.pc.tc.ifL2 = false;
  EXPECT_EQ(run.Run(), "");
  run.pc.tc.ifL1 = true;
  run.pc.tc.isPhaseWindUp = false;
  EXPECT_EQ(run.Run(), "");
  EXPECT_EQ(run.Correction(1), 0.0L);
}
