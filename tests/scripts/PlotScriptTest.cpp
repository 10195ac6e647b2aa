// The plotting command tervan-plot on a run of the bundled example: every picture is a
// whole PNG image of the size asked for.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "core/ProgramVersion.h"
#include "support/TestSupport.h"

#ifdef TERVAN_RES2TXT_EXE

using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

const std::string kExample = TERVAN_SCRIPTS "/../examples/sim-10km/";

testsupport::RunResult Shell(const TempDir& dir, const std::string& cmd) {
  const std::string full = "cd '" + dir.Path() + "' && TERVAN_RES2TXT='" TERVAN_RES2TXT_EXE "' " +
                           cmd + " >" + dir.File("out.txt") + " 2>" + dir.File("err.txt") +
                           " </dev/null";
  const int rc = std::system(full.c_str());
  return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ReadFile(dir.File("out.txt")),
          ReadFile(dir.File("err.txt"))};
}

uint32_t BigEndian(const std::string& b, std::size_t at) {
  uint32_t v = 0;
  for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<unsigned char>(b[at + k]);
  return v;
}

// A whole PNG file (signature, header chunk first, end chunk last) of w x h pixels.
void ExpectPng(const std::string& path, uint32_t w, uint32_t h) {
  const std::string b = ReadFile(path);
  ASSERT_GT(b.size(), 45u) << path;
  EXPECT_EQ(b.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << path;
  EXPECT_EQ(b.substr(12, 4), "IHDR") << path;
  EXPECT_EQ(BigEndian(b, 16), w) << path;
  EXPECT_EQ(BigEndian(b, 20), h) << path;
  EXPECT_EQ(b.substr(b.size() - 8, 4), "IEND") << path;
}

// The result options of a run of the example (static and kinematic, ROVER zenith delays
// every half hour), results in the test's folder.
std::string ResultOptions() {
  return "-gpkKIN.txt -fpRES.bin -spSKY.txt -otTROP.txt -oTTROPEP.txt -cfCLK.txt";
}

class PlotScript : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v gnuplot >/dev/null 2>&1") != 0)
      GTEST_SKIP() << "needs gnuplot (scripts/deps.sh plot installs it)";
  }
  void RunExample() {
    const std::string run = "'" TERVAN_EXE "' -r" + kExample + "SIMB_SIMR.sd -ep" + kExample +
                            "orbit.sp3 -ec" + kExample + "clock.clk -gf" + kExample +
                            "glonass_channels.txt -csGRE -lPc3,L3 -tmSAAST,NIELL "
                            "-ti00:30:00ROVER -me10 -pcosz -xSTA,KIN -woREPORT.txt " +
                            ResultOptions();
    ASSERT_EQ(Shell(dir, run).status, 0) << ReadFile(dir.File("err.txt"));
  }
  std::string Plot() { return "bash '" TERVAN_SCRIPTS "/tervan-plot' "; }
  TempDir dir;
};

}  // namespace

TEST_F(PlotScript, DrawsEveryPictureOfARun) {
  RunExample();
  const auto r = Shell(dir, Plot() + "--out-dir plots " + ResultOptions());
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* png : {"kinematic.png", "clocks.png", "residuals_G.png", "residuals_R.png",
                          "residuals_E.png", "troposphere.png", "clock_static.png"}) {
    ExpectPng(dir.File(std::string("plots/") + png), 1200, 900);
    EXPECT_NE(r.out.find(png), std::string::npos) << r.out;
  }
  ExpectPng(dir.File("plots/skyplot.png"), 900, 900);
  // Other options of the Tervan command line are passed over; --size sets the size.
  ASSERT_EQ(Shell(dir, Plot() + "--size 800,600 -xSTA -me10 -spSKY.txt").status, 0);
  ExpectPng(dir.File("skyplot.png"), 600, 600);
}

TEST_F(PlotScript, SaysItsVersionAndRefusesMissingOrDamagedInputs) {
  EXPECT_EQ(Shell(dir, Plot() + "--version").out, VersionLine("tervan-plot") + "\n");
  auto r = Shell(dir, Plot() + "-gpkNONE.txt");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "tervan-plot: result file NONE.txt can not be read\n");
  r = Shell(dir, Plot() + "-xSTA");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no result file named"), std::string::npos) << r.err;
  testsupport::WriteFile(dir.File("RES.bin"), std::string("\x02\x00\x05\x00", 4));
  r = Shell(dir, Plot() + "-fpRES.bin");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("RESIDUAL FILE ENDS INSIDE THE satellite list"), std::string::npos) << r.err;
  EXPECT_FALSE(std::ifstream(dir.File("residuals_G.png")).good());
}

#endif
