// The surveyor's command tervan-baseline: the whole chain from two RINEX files to one line,
// on a simulated pair with a known truth and on the GEONET pair.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TestSupport.h"

#if defined(TERVAN_SDIFF_EXE) && defined(TERVAN_SIM_EXE)

using testsupport::TempDir;

namespace {

struct Line {
  double dX = 0, dY = 0, dZ = 0, sX = 0, sY = 0, sZ = 0, length = 0;
};

// Runs a command in a shell; returns its exit status, standard output and error.
testsupport::RunResult Shell(const TempDir& dir, const std::string& cmd) {
  const std::string full =
      "cd '" + dir.Path() + "' && TERVAN='" TERVAN_EXE "' TERVAN_SDIFF='" TERVAN_SDIFF_EXE "' " +
      cmd + " >" + dir.File("out.txt") + " 2>" + dir.File("err.txt") + " </dev/null";
  const int rc = std::system(full.c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, testsupport::ReadFile(dir.File("out.txt")),
          testsupport::ReadFile(dir.File("err.txt"))};
}

std::string Baseline() {
  return "bash '" TERVAN_SCRIPTS "/tervan-baseline' ";
}

// The result line: "NAMES  dX x dY y dZ z m +- sx sy sz mm  length l m ...".
Line Parse(const std::string& out) {
  std::istringstream in(out);
  std::string names, w, unit, pm;
  Line l;
  in >> names >> w >> l.dX >> w >> l.dY >> w >> l.dZ >> unit >> pm >> l.sX >> l.sY >> l.sZ >>
      unit >> w >> l.length;
  return l;
}

// The truth's baseline line "dX ... dY ... dZ ... length ...".
Line Truth(const std::string& truthFile) {
  std::istringstream in(testsupport::ReadFile(truthFile));
  std::string line, w;
  Line l;
  while (std::getline(in, line))
    if (line.rfind("BASELINE ROVER - BASE", 0) == 0 && std::getline(in, line)) {
      std::istringstream b(line);
      b >> w >> l.dX >> w >> l.dY >> w >> l.dZ >> w >> l.length;
    }
  return l;
}

class BaselineScript : public ::testing::Test {
 protected:
  // A 3 km pair, one hour, three systems, with noise, ionosphere and troposphere.
  void Simulate() {
    ASSERT_EQ(
        Shell(dir, "'" TERVAN_SIM_EXE "' --out sim --duration 1h --baseline 3 --seed 5").status, 0);
  }
  TempDir dir;
};

TEST_F(BaselineScript, SimulatedPairAgreesWithTruth) {
  Simulate();
  const auto r = Shell(dir, Baseline() + "--long sim/SIMB.rnx sim/SIMR.rnx");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("SIMB-SIMR  dX ", 0), 0u) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1);
  const Line got = Parse(r.out), truth = Truth(dir.File("sim/truth.txt"));
  EXPECT_NEAR(got.dX, truth.dX, std::max(0.005, 3e-3 * got.sX));
  EXPECT_NEAR(got.dY, truth.dY, std::max(0.005, 3e-3 * got.sY));
  EXPECT_NEAR(got.dZ, truth.dZ, std::max(0.005, 3e-3 * got.sZ));
  EXPECT_NEAR(got.length, truth.length, 0.005);
}

TEST_F(BaselineScript, ChoosesSettingsByLengthAndKeepsInputs) {
  Simulate();
  const std::string before = testsupport::ReadFile(dir.File("sim/SIMB.rnx"));
  const auto r = Shell(dir, Baseline() + "--out-dir work sim/SIMB.rnx sim/SIMR.rnx");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string command = testsupport::ReadFile(dir.File("work/command.txt"));
  EXPECT_NE(command.find(" -csGRE -lC1,P2,L1,L2 -tmSAAST,NIELL -me10 "), std::string::npos)
      << command;
  EXPECT_EQ(command.find("-ti"), std::string::npos);
  EXPECT_NE(command.find("-gf"), std::string::npos);
  EXPECT_EQ(testsupport::ReadFile(dir.File("sim/SIMB.rnx")), before);
}

// Galileo E1 codes of the two receivers in different tracking modes (C1C, C1X): their
// satellite biases are estimated; GPS shares its C1 and P1 codes.
TEST_F(BaselineScript, CodesPairedAcrossTrackingModesGetCodeBiases) {
  ASSERT_EQ(
      Shell(dir, "'" TERVAN_SIM_EXE "' --out sim --duration 30m --baseline 3 --mixed-tracking")
          .status,
      0);
  const auto r = Shell(dir, Baseline() + "--out-dir work sim/SIMB.rnx sim/SIMR.rnx");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string command = testsupport::ReadFile(dir.File("work/command.txt"));
  EXPECT_NE(command.find(" -cxGAL"), std::string::npos) << command;
  EXPECT_EQ(command.find(" -cxGPS"), std::string::npos) << command;
}

TEST_F(BaselineScript, FailingStepShowsItsErrorAndExits1) {
  testsupport::WriteFile(dir.File("a.rnx"), "not a RINEX file\n");
  testsupport::WriteFile(dir.File("a.nav"), "not a navigation file\n");
  const auto r = Shell(dir, Baseline() + "a.rnx a.rnx");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("tervan-baseline: tervan-sdiff failed:\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("Error ->"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Shell(dir, Baseline() + "a.rnx").status, 1);
}

TEST_F(BaselineScript, GeonetPairWithin2cmOfReference) {
  const std::string d = testsupport::SharedData("geonet-0759-3040-2005092");
  if (d.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  const auto r = Shell(dir, Baseline() + "--atx " + d + "/igs05_gps_trm29659.atx " + d +
                                "/30400920.05o " + d + "/07590920.05o");
  ASSERT_EQ(r.status, 0) << r.err;
  const Line got = Parse(r.out);
  EXPECT_NEAR(got.dX, 2022.7706, 0.02);
  EXPECT_NEAR(got.dY, -468.6295, 0.02);
  EXPECT_NEAR(got.dZ, 2610.2890, 0.02);
  EXPECT_NEAR(got.length, 3335.3895, 0.02);
}

}  // namespace

#endif
