// Whole runs from the single differences to the results report and the kinematic
// track, on datasets of the simulator with a known truth: the report against golden
// files, and the kinematic track of a static ROVER against its formal precision.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "sdiff/Tool.h"
#include "sim/Tool.h"
#include "support/TestSupport.h"

using testsupport::NormaliseDate;
using testsupport::ReadFile;
using testsupport::RunTervan;
using testsupport::SharedData;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

void ExpectGolden(const std::string& text, const std::string& name) {
  const std::string path = std::string(TERVAN_GOLDEN) + "/driver/" + name;
  if (std::getenv("TERVAN_UPDATE_GOLDEN")) WriteFile(path, text);
  const std::string golden = ReadFile(path);
  ASSERT_FALSE(golden.empty()) << name;
  EXPECT_EQ(text, golden) << name;
}

// Writes a simulated dataset into dir with the given extra options.
void Simulate(const TempDir& dir, std::vector<std::string> opts) {
  std::ostringstream out, err;
  opts.insert(opts.begin(), {"--out", dir.Path(), "--start", "2026-06-15 08:00:00"});
  ASSERT_EQ(0, sim::RunSimTool(opts, out, err)) << err.str();
}

// The truth baseline ROVER - BASE of the dataset [m].
std::vector<long double> TruthBaseline(const TempDir& dir) {
  std::istringstream in(ReadFile(dir.File("truth.txt")));
  std::string line, word;
  std::vector<long double> b;
  while (std::getline(in, line) && line.find("BASELINE ROVER - BASE") == std::string::npos) {
  }
  std::getline(in, line);
  std::istringstream l(line);
  long double v;
  while (b.size() < 3 && l >> word >> v) b.push_back(v);
  return b;
}

// Numbers of a line up to its first word.
std::vector<long double> Numbers(const std::string& line) {
  std::istringstream in(line);
  std::vector<long double> v;
  long double x;
  while (in >> x) v.push_back(x);
  return v;
}

// The run went through the static solution (the whole chain is built).
bool HasStaticSolution(const testsupport::RunResult& r) {
  return r.out.find("STATIC SOLUTION:") != std::string::npos;
}

TEST(TervanRunResults, GpsOnlyScenarioReportMatchesGolden) {
  TempDir dir;
  Simulate(dir, {"--seed", "11", "--systems", "G", "--duration", "1h"});
  const testsupport::RunResult r =
      RunTervan(dir.Path(), {"-rSIMB_SIMR.sd", "-eporbit.sp3", "-ecclock.clk", "-csG", "-lPc3,L3",
                             "-tmSAAST,NIELL", "-ti00:30:00ROVER", "-me10", "-pcosz", "-xSTA,KIN",
                             "-gpsSTAT.txt", "-cfCLK.txt"});
  ASSERT_EQ(0, r.status) << r.err;
  if (!HasStaticSolution(r)) GTEST_SKIP() << "no static solution in this build";
  ExpectGolden(NormaliseDate(r.out), "results_gps.out.txt");
  // the baseline of the GNUPlot line against the truth (an hour of GPS, float
  // ambiguities: a centimetre)
  std::istringstream in(ReadFile(dir.File("STAT.txt")));
  std::string head, line;
  std::getline(in, head);
  std::getline(in, line);
  const std::vector<long double> v = Numbers(line);
  const std::vector<long double> t = TruthBaseline(dir);
  ASSERT_GE(v.size(), 15u);
  ASSERT_EQ(3u, t.size());
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(t[k], v[13 + k], 0.02L) << k;
}

TEST(TervanRunResults, ThreeSystemsWithTroposphereAndCodeBiasesMatchGolden) {
  TempDir dir;
  Simulate(dir, {"--seed", "5", "--duration", "2h"});
  const testsupport::RunResult r = RunTervan(
      dir.Path(),
      {"-rSIMB_SIMR.sd", "-eporbit.sp3", "-ecclock.clk", "-gfglonass_channels.txt", "-csGRE",
       "-lC1,P2,L1,L2", "-cxGPS,GLN,GAL", "-tmSAAST,NIELL", "-ti01:00:00BASE,ROVER", "-ts0.05",
       "-tgi0ROVER", "-me10", "-pcosz", "-xSTA", "-odDCB.txt", "-otTROP.txt", "-oTTROPEPOCH.txt"});
  ASSERT_EQ(0, r.status) << r.err;
  if (!HasStaticSolution(r)) GTEST_SKIP() << "no static solution in this build";
  ExpectGolden(NormaliseDate(r.out), "results_gre.out.txt");
  for (const char* f : {"DCB.txt", "TROP.txt", "TROPEPOCH.txt"})
    EXPECT_FALSE(ReadFile(dir.File(f)).empty()) << f;
}

// A run with the ambiguities fixed (5 km, an hour of GPS and Galileo): the report with
// its fixed-solution section, and the GNUPlot file's second line for the fixed solution.
TEST(TervanRunResults, FixedAmbiguityReportMatchesGolden) {
  TempDir dir;
  Simulate(dir, {"--seed", "1", "--duration", "1h", "--baseline", "5", "--systems", "GE",
                 "--no-ionosphere"});
  const testsupport::RunResult r =
      RunTervan(dir.Path(), {"-rSIMB_SIMR.sd", "-eporbit.sp3", "-ecclock.clk", "-csGE",
                             "-lC1,P2,L1,L2", "-tmSAAST,NIELL", "-ti01:00:00ROVER", "-tgROVER",
                             "-me10", "-pcosz", "-xSTA", "-af", "-gpsSTAT.txt"});
  ASSERT_EQ(0, r.status) << r.err;
  ExpectGolden(NormaliseDate(r.out), "results_fixed.out.txt");
  std::istringstream in(ReadFile(dir.File("STAT.txt")));
  std::string head, flt, fix;
  std::getline(in, head);
  std::getline(in, flt);
  std::getline(in, fix);
  EXPECT_EQ(fix.substr(fix.size() - 8), "   FIXED");
  const std::vector<long double> f = Numbers(flt), x = Numbers(fix);
  ASSERT_EQ(f.size(), x.size());
  const std::vector<long double> t = TruthBaseline(dir);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(t[k], x[13 + k], 0.005L) << k;
}

// Share of the kinematic epochs with redundancy whose baseline lies within 3 formal
// sigmas of the truth in each component [%], and the scatter over the formal sigma
// per component. truth(second of day) gives the true baseline of an epoch.
template <class Truth>
void CheckTrack(const TempDir& dir, Truth truth, long double& inside, long double (&ratio)[3]) {
  std::istringstream in(ReadFile(dir.File("KIN.txt")));
  std::string line;
  long n = 0, ok = 0;
  long double dev2[3] = {0, 0, 0}, sig2[3] = {0, 0, 0};
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<long double> v = Numbers(line);
    ASSERT_EQ(25u, v.size()) << line;
    const int systems = (v[3] > 0) + (v[4] > 0) + (v[5] > 0);
    if (v[2] <= 3 + systems) continue;  // no redundancy
    const std::vector<long double> t = truth(v[1]);
    ASSERT_EQ(3u, t.size()) << line;
    ++n;
    bool within = true;
    for (int k = 0; k < 3; ++k) {
      const long double d = v[6 + k] - t[k];
      within = within && std::fabs(d) <= 3 * v[13 + k];
      dev2[k] += d * d;
      sig2[k] += v[13 + k] * v[13 + k];
    }
    ok += within;
  }
  ASSERT_GT(n, 200);
  inside = 100.0L * ok / n;
  for (int k = 0; k < 3; ++k) ratio[k] = std::sqrt(dev2[k] / sig2[k]);
}

// Ionosphere-free track of a 10 km baseline: the ROVER zenith delay every 30 minutes
// follows the simulated troposphere (one delay for two hours leaves centimetre errors
// in the static height).
const std::vector<std::string> kTrackRun = {
    "-rSIMB_SIMR.sd", "-eporbit.sp3", "-ecclock.clk",   "-gfglonass_channels.txt",
    "-csGRE",         "-lPc3,L3",     "-tmSAAST,NIELL", "-ti00:30:00ROVER",
    "-me10",          "-pcosz",       "-xSTA,KIN",      "-gpkKIN.txt"};

// A static ROVER: each epoch's position lies within 3 formal sigmas of the truth in
// at least 99 % of the epochs with redundancy, and the scatter agrees with the sigmas.
TEST(TervanRunResults, KinematicTrackOfStaticRoverAgreesWithItsPrecision) {
  TempDir dir;
  Simulate(dir, {"--seed", "21", "--duration", "2h"});
  const testsupport::RunResult r = RunTervan(dir.Path(), kTrackRun);
  ASSERT_EQ(0, r.status) << r.err;
  if (!HasStaticSolution(r)) GTEST_SKIP() << "no static solution in this build";
  const std::vector<long double> t = TruthBaseline(dir);
  long double inside = 0, ratio[3] = {0, 0, 0};
  CheckTrack(
      dir, [&](long double) { return t; }, inside, ratio);
  EXPECT_GE(inside, 99.0L);
  for (int k = 0; k < 3; ++k) {
    EXPECT_GT(ratio[k], 0.5L) << k;
    EXPECT_LT(ratio[k], 2.0L) << k;
  }
}

// The ROVER position of every epoch from the motion table of the truth file, minus
// the BASE: second of day -> baseline [m].
std::map<long, std::vector<long double>> MovingBaseline(const TempDir& dir) {
  std::istringstream in(ReadFile(dir.File("truth.txt")));
  std::string line, w;
  std::vector<long double> base;
  std::map<long, std::vector<long double>> m;
  bool motion = false;
  while (std::getline(in, line)) {
    std::istringstream l(line);
    if (line.compare(0, 7, "  BASE ") == 0) {
      long double x, y, z;
      l >> w >> w >> w >> x >> w >> y >> w >> z;
      base = {x, y, z};
    }
    if (!line.empty() && std::isupper(static_cast<unsigned char>(line[0])))
      motion = line.compare(0, 12, "ROVER MOTION") == 0;  // a section of the file begins
    if (!motion || line.compare(0, 7, "  2026-") != 0) continue;
    std::string date, time;
    long double n, e, u, x, y, z;
    if (!(l >> date >> time >> n >> e >> u >> x >> y >> z) || base.size() != 3) continue;
    const long sec = std::stol(time.substr(0, 2)) * 3600 + std::stol(time.substr(3, 2)) * 60 +
                     std::lround(std::stold(time.substr(6)));
    m[sec] = {x - base[0], y - base[1], z - base[2]};
  }
  return m;
}

// A ROVER oscillating by 5 cm with a 10-minute period on a 1 km baseline, L1+L2 with
// the ionosphere of the scenario left unmodelled: with the float parameters adjusted
// again together with the epoch positions (-kf) the track follows the motion within
// 3 formal sigmas in at least 99 % of the epochs with redundancy. With them kept at
// their static values about 5 % of the motion stays in the ambiguities, a bias of
// 2-3 mm that the epoch precisions do not show (80 % of the epochs within 3 sigma). The troposphere
// is the one the program estimates (ROVER delays every 30 minutes with gradients); the default
// scenario draws each station's delays and gradients on its own, 3 cm apart in the zenith, which
// two stations 1 km apart never see and which the track would take up in its heights.
TEST(TervanRunResults, KinematicTrackFollowsAMovingRover) {
  TempDir dir;
  Simulate(dir, {"--seed", "21", "--duration", "2h", "--baseline", "1", "--tropo-nodes", "1800",
                 "--rover-motion", "0.05,600"});
  const std::map<long, std::vector<long double>> m = MovingBaseline(dir);
  ASSERT_GT(m.size(), 200u);
  // float, then with the ambiguities fixed (GLONASS stays float)
  for (const char* fix : {"-xSTA,KIN", "-af"}) {
    const testsupport::RunResult r = RunTervan(
        dir.Path(), {"-rSIMB_SIMR.sd", "-eporbit.sp3", "-ecclock.clk", "-gfglonass_channels.txt",
                     "-csGRE", "-lL1,L2", "-tmSAAST,NIELL", "-ti00:30:00ROVER", "-tgi0ROVER",
                     "-me10", "-pcosz", "-xSTA,KIN", "-kf", fix, "-gpkKIN.txt"});
    ASSERT_EQ(0, r.status) << r.err;
    if (!HasStaticSolution(r)) GTEST_SKIP() << "no static solution in this build";
    long double inside = 0, ratio[3] = {0, 0, 0};
    CheckTrack(
        dir,
        [&](long double sec) {
          const auto it = m.find(std::lround(sec));
          return it == m.end() ? std::vector<long double>() : it->second;
        },
        inside, ratio);
    EXPECT_GE(inside, 99.0L) << fix;
    for (int k = 0; k < 3; ++k) EXPECT_LT(ratio[k], 2.0L) << fix << k;
  }
}

// Real data: the GEONET pair 3040 (BASE) - 0759 (ROVER), an hour of GPS L1+L2 with
// broadcast orbits. The baseline agrees within 2 cm with an independent peer's
// ambiguity-fixed solution of the same hour.
TEST(TervanRunResults, GeonetBaselineAgreesWithThePeerSolution) {
  const std::string d = SharedData("geonet-0759-3040-2005092");
  if (d.empty()) GTEST_SKIP() << "no shared data";
  TempDir dir;
  ASSERT_EQ(
      0, SdRun({"--base", d + "/30400920.05o", "--rover", d + "/07590920.05o", "--out",
                dir.File("G.sd"), "--nav", d + "/30400920.05n", "--tag-tolerance", "0.01", "-q"}));
  const testsupport::RunResult r = RunTervan(
      dir.Path(), {"-rG.sd", "-eg" + d + "/30400920.05n", "-pv" + d + "/igs05_gps_trm29659.atx",
                   "-csG", "-lC1,P2,L1,L2", "-me10", "-pcosz", "-xSTA", "-gpsSTAT.txt"});
  ASSERT_EQ(0, r.status) << r.err;
  if (!HasStaticSolution(r)) GTEST_SKIP() << "no static solution in this build";
  std::istringstream in(ReadFile(dir.File("STAT.txt")));
  std::string head, line;
  std::getline(in, head);
  std::getline(in, line);
  const std::vector<long double> v = Numbers(line);
  ASSERT_GE(v.size(), 16u);
  const long double peer[3] = {2022.7706L, -468.6295L, 2610.2890L};
  long double d2 = 0;
  for (int k = 0; k < 3; ++k) d2 += (v[13 + k] - peer[k]) * (v[13 + k] - peer[k]);
  EXPECT_LT(std::sqrt(d2), 0.02L);
}

// The same hour with the ambiguities fixed (-af): the GNUPlot file's second line, the
// fixed solution, agrees with the peer's fixed baseline within 5 mm.
TEST(TervanRunResults, GeonetFixedBaselineAgreesWithThePeerWithin5mm) {
  const std::string d = SharedData("geonet-0759-3040-2005092");
  if (d.empty()) GTEST_SKIP() << "no shared data";
  TempDir dir;
  ASSERT_EQ(
      0, SdRun({"--base", d + "/30400920.05o", "--rover", d + "/07590920.05o", "--out",
                dir.File("G.sd"), "--nav", d + "/30400920.05n", "--tag-tolerance", "0.01", "-q"}));
  const testsupport::RunResult r =
      RunTervan(dir.Path(), {"-rG.sd", "-eg" + d + "/30400920.05n",
                             "-pv" + d + "/igs05_gps_trm29659.atx", "-csG", "-lC1,P2,L1,L2",
                             "-tmSAAST,NIELL", "-me10", "-pcosz", "-xSTA", "-af", "-gpsSTAT.txt"});
  ASSERT_EQ(0, r.status) << r.err;
  EXPECT_NE(r.out.find("Solution                         : FIXED"), std::string::npos) << r.out;
  std::istringstream in(ReadFile(dir.File("STAT.txt")));
  std::string head, flt, fix;
  std::getline(in, head);
  std::getline(in, flt);
  std::getline(in, fix);
  ASSERT_NE(fix.find("FIXED"), std::string::npos) << fix;
  const std::vector<long double> v = Numbers(fix);
  ASSERT_GE(v.size(), 16u);
  const long double peer[3] = {2022.7706L, -468.6295L, 2610.2890L};
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(v[13 + k], peer[k], 0.005L) << k;
}

}  // namespace
