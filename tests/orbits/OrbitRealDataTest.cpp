// Checks of the orbit and clock readers against real products of one day
// (2020-06-25): broadcast orbits against the precise orbit, the precise clock at
// its own epochs, and the precise orbit interpolated over omitted nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "ProductSplit.h"
#include "orbits/GLNbEph.h"
#include "orbits/GNSSpClk.h"
#include "orbits/GNSSpEph.h"
#include "orbits/GPSbEph.h"
#include "support/TestSupport.h"

namespace {
using testsupport::SharedData;

const char* kDay = "esbc-wtzr-2020177/";

std::string Data(const std::string& name) {
  return SharedData(std::string(kDay) + name);
}

long double Distance(const xyzt& a, const xyzt& b) {
  return std::sqrt(std::pow(a.GetX() - b.GetX(), 2) + std::pow(a.GetY() - b.GetY(), 2) +
                   std::pow(a.GetZ() - b.GetZ(), 2));
}

// Seconds between t and the epoch of the record used for it.
template <class Nav>
long double Age(Nav& nav, short sat, const mjd& t) {
  return std::fabs(t - nav.GetData().GetEpoch(nav.GetDataIndex(sat, t)));
}

class OrbitRealData : public ::testing::Test {
 protected:
  void SetUp() override {
    sp3 = Data("GRG0MGXFIN_20201770000_01D_15M_ORB.SP3");
    if (sp3.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
    testing::internal::CaptureStdout();
    peph.SetFile(sp3.c_str());
    peph.ReadFile();
    testing::internal::GetCapturedStdout();
  }
  // RMS (m) of broadcast minus precise positions of one system at the SP3 epochs.
  template <class Position>
  long double Rms(int offset, Position broadcast, int* count, long double* worst = nullptr) {
    long double sum = 0;
    *count = 0;
    if (worst) *worst = 0;
    for (long e = 0; e < peph.GetNEpoch(); e++) {
      for (long k = 0; k < peph.GetNSatList(); k++) {
        const short sat = peph.GetSatList(k);
        if (sat <= offset || sat >= offset + 100) continue;
        const xyzt precise = peph.GetSatPos(e * peph.GetNSatList() + k);
        if (precise.GetLength() < 1) continue;
        xyzt pos;
        if (!broadcast(static_cast<short>(sat - offset), peph.GetMJD(e), pos)) continue;
        sum += std::pow(Distance(pos, precise), 2);
        if (worst) *worst = std::max(*worst, Distance(pos, precise));
        ++*count;
      }
    }
    return std::sqrt(sum / *count);
  }
  std::string sp3;
  GNSSpEph peph;
};

TEST_F(OrbitRealData, BroadcastGpsAgreesWithThePreciseOrbit) {
  for (const char* file : {"esbc1770.20n", "ESBC00DNK_R_20201770000_01D_MN.rnx"}) {
    GPSbEph nav;
    nav.SetFile(Data(file).c_str());
    testing::internal::CaptureStdout();
    nav.ReadFile();
    testing::internal::GetCapturedStdout();
    int n = 0;
    testing::internal::CaptureStderr();
    const long double rms = Rms(
        0,
        [&nav](short sat, const mjd& t, xyzt& pos) {
          // Epochs within the two hours of validity of a record.
          if (!nav.HasSat(sat) || Age(nav, sat, t) > 7200) return false;
          nav.CalcSatPosition(sat, t, t, pos, nullptr, 0, 0);
          return true;
        },
        &n);
    testing::internal::GetCapturedStderr();
    EXPECT_GT(n, 1800) << file;
    EXPECT_LT(rms, 3.0L) << file;
  }
}

TEST_F(OrbitRealData, BroadcastGalileoAgreesWithThePreciseOrbit) {
  GPSbEph nav;
  nav.SetSystem('E');
  nav.SetFile(Data("ESBC00DNK_R_20201770000_01D_MN.rnx").c_str());
  testing::internal::CaptureStdout();
  nav.ReadFile();
  testing::internal::GetCapturedStdout();
  int n = 0;
  testing::internal::CaptureStderr();
  const long double rms = Rms(
      200,
      [&nav](short sat, const mjd& t, xyzt& pos) {
        // Records are sent every ten minutes; E14 and E18 fly the eccentric orbit
        // of the 2014 launch, whose broadcast fit degrades within the hour.
        if (!nav.HasSat(sat) || sat == 14 || sat == 18 || Age(nav, sat, t) > 3600) return false;
        nav.CalcSatPosition(sat, t, t, pos, nullptr, 0, 0);
        return true;
      },
      &n);
  testing::internal::GetCapturedStderr();
  EXPECT_GT(n, 900);
  EXPECT_LT(rms, 3.0L);
}

// Galileo records are fitted for the hours after their reference epoch. All
// satellites, E14 and E18 (eccentric orbits) too, at the epochs within an hour of
// the record used: the record chosen forward against the nearest one.
TEST_F(OrbitRealData, BroadcastGalileoRecordsAreUsedForward) {
  GPSbEph nav;
  nav.SetSystem('E');
  nav.SetFile(Data("ESBC00DNK_R_20201770000_01D_MN.rnx").c_str());
  testing::internal::CaptureStdout();
  nav.ReadFile();
  testing::internal::GetCapturedStdout();
  // Epoch of the record nearest to t (the choice made for GPS).
  auto nearest = [&nav](short sat, const mjd& t) {
    mjd best = nav.GetData().GetEpoch(nav.GetDataIndex(sat, t));
    for (long i = 0; i < nav.GetNRecords(); i++)
      if (nav.GetData().GetSat(i) == sat &&
          std::fabs(nav.GetData().GetEpoch(i) - t) < std::fabs(best - t))
        best = nav.GetData().GetEpoch(i);
    return best;
  };
  long double rms[2], worst[2];
  int n[2];
  testing::internal::CaptureStderr();
  for (int rule = 0; rule < 2; rule++) {
    rms[rule] = Rms(
        200,
        [&](short sat, const mjd& t, xyzt& pos) {
          if (!nav.HasSat(sat) || Age(nav, sat, t) > 3600) return false;
          nav.CalcSatPosition(sat, t, rule == 0 ? t : nearest(sat, t), pos, nullptr, 0, 0);
          return true;
        },
        &n[rule], &worst[rule]);
  }
  testing::internal::GetCapturedStderr();
  std::printf(
      "Galileo broadcast - precise: forward record RMS %.2f m, worst %.2f m; nearest "
      "record RMS %.2f m, worst %.2f m\n",
      static_cast<double>(rms[0]), static_cast<double>(worst[0]), static_cast<double>(rms[1]),
      static_cast<double>(worst[1]));
  EXPECT_GT(n[0], 1000);
  EXPECT_LT(rms[0], 1.0L);
  EXPECT_LT(worst[0], 3.0L);
  // Across a gap in the records the nearest one lies hours ahead (18.6 m for E18).
  EXPECT_GT(worst[1], 10.0L);
}

// The broadcast GLONASS clock contains the periodic relativistic effect: against
// the precise clocks (satellites within the quarter of an hour of their record)
// it scatters less as broadcast than with 2 (r.v)/c^2 taken off once more.
TEST_F(OrbitRealData, BroadcastGlonassClockAgreesWithThePreciseClock) {
  GNSSpClk clk;
  clk.SetFile(Data("GRG0MGXFIN_20201770000_01D_30S_CLK.CLK").c_str());
  clk.ReadFile();
  GLNbEph nav;
  nav.SetFile(Data("ESBC00DNK_R_20201770000_01D_MN.rnx").c_str());
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  nav.ReadFile();
  const long double c = 299792458.0L;
  long double sum[2] = {0, 0}, sum2[2] = {0, 0};
  long n = 0;
  for (long e = 0; e < clk.GetNEpoch(); e += 10) {
    const mjd t = clk.GetEpoch(e);
    clk.SetEpochIndex(t);
    for (short sat = 101; sat < 128; sat++) {
      long double precise = 0;
      clk.GetSatelliteClock(sat, t, precise);
      if (!clk.GetDTisOK() || !nav.HasSat(sat - 100) || Age(nav, sat - 100, t) > 900) continue;
      xyzt pos, vel;
      nav.CalcSatPosition(sat - 100, t, t, pos, vel, 0);
      const long double rel = 2 * (pos * vel) / (c * c);
      const long double d[2] = {(pos.GetT() - precise) * c, (pos.GetT() - rel - precise) * c};
      for (int k = 0; k < 2; k++) sum[k] += d[k], sum2[k] += d[k] * d[k];
      ++n;
    }
  }
  testing::internal::GetCapturedStderr();
  testing::internal::GetCapturedStdout();
  ASSERT_GT(n, 1000);
  long double spread[2];
  for (int k = 0; k < 2; k++) spread[k] = std::sqrt(sum2[k] / n - std::pow(sum[k] / n, 2));
  std::printf("GLONASS broadcast - precise clock spread: as broadcast %.2f m, term off %.2f m\n",
              static_cast<double>(spread[0]), static_cast<double>(spread[1]));
  EXPECT_LT(spread[0], 2.9L);
  EXPECT_LT(spread[0], spread[1] - 0.2L);
}

TEST_F(OrbitRealData, BroadcastGlonassAgreesWithThePreciseOrbit) {
  for (const char* file : {"esbc1770.20g", "ESBC00DNK_R_20201770000_01D_MN.rnx"}) {
    GLNbEph nav;
    nav.SetFile(Data(file).c_str());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    nav.ReadFile();
    int n = 0;
    const long double rms = Rms(
        100,
        [&nav](short sat, const mjd& t, xyzt& pos) {
          // Records every 30 minutes, each for the quarter of an hour around it.
          if (!nav.HasSat(sat) || Age(nav, sat, t) > 900) return false;
          xyzt vel;
          nav.CalcSatPosition(sat, t, t, pos, vel, 0);
          return true;
        },
        &n);
    testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_GT(n, 800) << file;
    EXPECT_LT(rms, 10.0L) << file;
  }
}

TEST_F(OrbitRealData, PreciseClockAtItsOwnEpochs) {
  const std::string name = Data("GRG0MGXFIN_20201770000_01D_30S_CLK.CLK");
  GNSSpClk clk;
  clk.SetFile(name.c_str());
  clk.ReadFile();
  EXPECT_EQ(clk.GetNEpoch(), 2880);
  EXPECT_EQ(clk.GetNSatList(), 75);
  // Records of G05 and R07 as written in the file.
  std::ifstream in(name);
  std::string line;
  int checked = 0;
  while (std::getline(in, line)) {
    if (line.compare(0, 7, "AS G05 ") != 0 && line.compare(0, 7, "AS R07 ") != 0) continue;
    std::istringstream is(line.substr(7));
    int y, mo, d, h, mi, n;
    long double s, value;
    is >> y >> mo >> d >> h >> mi >> s >> n >> value;
    const short sat = line[3] == 'G' ? 5 : 107;
    const mjd t(59025, h * 3600.0L + mi * 60 + s);
    clk.SetEpochIndex(t);
    long double dt = 0;
    clk.GetSatelliteClock(sat, t, dt);
    ASSERT_TRUE(clk.GetDTisOK()) << line;
    EXPECT_NEAR(static_cast<double>(dt), static_cast<double>(value), 1e-17) << line;
    ++checked;
  }
  EXPECT_GT(checked, 5000);
}

TEST_F(OrbitRealData, InterpolationOverOmittedNodes) {
  // Every second epoch block of the orbit file is dropped; the interpolation at
  // the dropped epochs must reproduce them.
  std::ifstream in(sp3);
  std::ostringstream thin;
  std::string line;
  int block = -1;
  while (std::getline(in, line)) {
    if (line[0] == '*') ++block;
    if (block < 0 || block % 2 == 0 || line.compare(0, 3, "EOF") == 0) thin << line << '\n';
  }
  testsupport::TempDir dir;
  const std::string name = dir.File("thin.sp3");
  testsupport::WriteFile(name, thin.str());
  GNSSpEph half;
  half.SetFile(name.c_str());
  testing::internal::CaptureStdout();
  half.ReadFile();
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(half.GetNEpoch(), 48);
  long double worst = 0, sum = 0;
  int n = 0;
  for (long e = 15; e < peph.GetNEpoch() - 15; e += 2) {
    for (long k = 0; k < peph.GetNSatList(); k++) {
      const xyzt node = peph.GetSatPos(e * peph.GetNSatList() + k);
      // E14 and E18 (eccentric orbits) pass their perigee too fast for 30 min nodes.
      if (node.GetLength() < 1 || peph.GetSatList(k) == 214 || peph.GetSatList(k) == 218) continue;
      xyzt pos, vel;
      half.CalcSatPosition(peph.GetSatList(k), peph.GetMJD(e), pos, vel);
      if (!half.GetPSisOK()) continue;
      worst = std::max(worst, Distance(pos, node));
      sum += std::pow(Distance(pos, node), 2);
      ++n;
    }
  }
  EXPECT_GT(n, 1000);
  EXPECT_LT(std::sqrt(sum / n), 0.003L);
  EXPECT_LT(worst, 0.01L);
}

// The day's orbit and clock files cut at noon into two files (with and without a
// shared epoch) and joined give the positions and clocks of the whole day.
TEST_F(OrbitRealData, DayInTwoFilesJoinedGivesTheWholeDay) {
  testsupport::TempDir dir;
  const std::string clkName = Data("GRG0MGXFIN_20201770000_01D_30S_CLK.CLK");
  GNSSpClk wholeClk;
  wholeClk.SetFile(clkName.c_str());
  wholeClk.ReadFile();
  const std::vector<std::string> clk =
      productsplit::Clock(testsupport::ReadFile(clkName), "2020  6 25 12  0  0.000000");
  testsupport::WriteFile(dir.File("am.clk"), clk[0]);
  testsupport::WriteFile(dir.File("pm.clk"), clk[1]);
  for (bool shared : {false, true}) {
    const std::vector<std::string> orbit =
        productsplit::Sp3(testsupport::ReadFile(sp3), 48, shared);
    testsupport::WriteFile(dir.File("am.sp3"), orbit[0]);
    testsupport::WriteFile(dir.File("pm.sp3"), orbit[1]);
    GNSSpEph joined;
    joined.SetFile(dir.File("pm.sp3").c_str());
    joined.AddFile(dir.File("am.sp3").c_str());
    GNSSpClk joinedClk;
    joinedClk.SetFile(dir.File("am.clk").c_str());
    joinedClk.AddFile(dir.File("pm.clk").c_str());
    testing::internal::CaptureStdout();
    joined.ReadFile();
    joinedClk.ReadFile();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(joined.GetNEpoch(), 96);
    ASSERT_EQ(joinedClk.GetNEpoch(), 2880);
    long double worst = 0;
    int n = 0;
    // Every 70 s from 09:00 to 15:00, all satellites.
    for (long double s = 9 * 3600; s < 15 * 3600; s += 70) {
      const mjd t(59025, s);
      wholeClk.SetEpochIndex(t);
      joinedClk.SetEpochIndex(t);
      for (long k = 0; k < peph.GetNSatList(); k++) {
        const short sat = peph.GetSatList(k);
        xyzt a, b, va, vb;
        peph.CalcSatPosition(sat, t, a, va);
        joined.CalcSatPosition(sat, t, b, vb);
        ASSERT_EQ(peph.GetPSisOK(), joined.GetPSisOK());
        if (peph.GetPSisOK())
          worst = std::max(worst, Distance(a, b) + std::fabs(a.GetT() - b.GetT()));
        long double ca = 0, cb = 0;
        wholeClk.GetSatelliteClock(sat, t, ca);
        joinedClk.GetSatelliteClock(sat, t, cb);
        ASSERT_EQ(wholeClk.GetDTisOK(), joinedClk.GetDTisOK());
        if (wholeClk.GetDTisOK()) worst = std::max(worst, std::fabs(ca - cb));
        ++n;
      }
    }
    EXPECT_GT(n, 20000);
    EXPECT_EQ(worst, 0.0L) << shared;
  }
}

// The CODE 5 min orbit thinned to 15 min and cut at noon: interpolated back at the
// omitted epochs of the last and first hour around the cut, each half alone is
// centimetres to decimetres off (the window cannot be centred there), the two
// halves joined are as good as inside the day.
TEST_F(OrbitRealData, JoinedFilesKeepTheInterpolationCentredAtTheCut) {
  const std::string cod = Data("COD0MGXFIN_20201770000_01D_05M_ORB.SP3");
  testsupport::TempDir dir;
  const std::vector<std::string> thin = productsplit::Sp3(testsupport::ReadFile(cod), 144, false,
                                                          [](int block) { return block % 3 == 0; });
  testsupport::WriteFile(dir.File("am.sp3"), thin[0]);
  testsupport::WriteFile(dir.File("pm.sp3"), thin[1]);
  GNSSpEph truth, am, pm, joined;
  truth.SetFile(cod.c_str());
  am.SetFile(dir.File("am.sp3").c_str());
  pm.SetFile(dir.File("pm.sp3").c_str());
  joined.SetFile(dir.File("am.sp3").c_str());
  joined.AddFile(dir.File("pm.sp3").c_str());
  testing::internal::CaptureStdout();
  for (GNSSpEph* e : {&truth, &am, &pm, &joined}) e->ReadFile();
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(joined.GetNEpoch(), 97);  // 00:00 to 24:00
  // Largest error per system (G, R, E): the halves alone between their nodes, the
  // first half alone after its last node (11:45, the last quarter of an hour of a
  // day's file), and the joined files.
  long double inside[3] = {0, 0, 0}, beyond[3] = {0, 0, 0}, both[3] = {0, 0, 0};
  testing::internal::CaptureStderr();
  for (long e = 132; e < 156; e++) {
    if (e % 3 == 0) continue;  // a node of the thinned files
    for (long k = 0; k < truth.GetNSatList(); k++) {
      const short sat = truth.GetSatList(k);
      const xyzt node = truth.GetSatPos(e * truth.GetNSatList() + k);
      if (sat >= 300 || node.GetLength() < 1) continue;
      xyzt a, b, v;
      (e < 144 ? am : pm).CalcSatPosition(sat, truth.GetMJD(e), a, v);
      joined.CalcSatPosition(sat, truth.GetMJD(e), b, v);
      if (!joined.GetPSisOK()) continue;
      long double* alone = e > 141 && e < 144 ? beyond : inside;
      alone[sat / 100] = std::max(alone[sat / 100], Distance(a, node));
      both[sat / 100] = std::max(both[sat / 100], Distance(b, node));
    }
  }
  testing::internal::GetCapturedStderr();
  std::printf(
      "Around the cut, worst G/R/E: each file alone %.3f/%.3f/%.3f m, after the last "
      "node %.3f/%.3f/%.3f m, joined %.3f/%.3f/%.3f m\n",
      static_cast<double>(inside[0]), static_cast<double>(inside[1]),
      static_cast<double>(inside[2]), static_cast<double>(beyond[0]),
      static_cast<double>(beyond[1]), static_cast<double>(beyond[2]), static_cast<double>(both[0]),
      static_cast<double>(both[1]), static_cast<double>(both[2]));
  for (int s = 0; s < 3; s++) {
    EXPECT_GT(inside[s], 0.02L) << s;
    EXPECT_GT(beyond[s], 0.5L) << s;
    EXPECT_LT(both[s], 0.01L) << s;
  }
}

// The CODE orbit (SP3-d, 5 min, also BeiDou and QZSS) interpolated at the epochs
// of the CNES/CLS orbit: two analysis centres agree to a few centimetres.
TEST_F(OrbitRealData, TwoAnalysisCentresAgree) {
  const std::string cod = Data("COD0MGXFIN_20201770000_01D_05M_ORB.SP3");
  if (cod.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  GNSSpEph other;
  other.SetFile(cod.c_str());
  testing::internal::CaptureStdout();
  other.ReadFile();
  testing::internal::GetCapturedStdout();
  ASSERT_EQ(other.GetNEpoch(), 289);
  ASSERT_EQ(other.GetNSatList(), 90);
  EXPECT_EQ(other.GetSatList(77), 306);  // C06
  EXPECT_EQ(other.GetSatList(89), 503);  // J03
  for (int offset : {0, 100, 200}) {
    int n = 0;
    const long double rms = Rms(
        offset,
        [&other, offset](short sat, const mjd& t, xyzt& pos) {
          xyzt vel;
          other.CalcSatPosition(static_cast<short>(sat + offset), t, pos, vel);
          return other.GetPSisOK();
        },
        &n);
    EXPECT_GT(n, 1500) << offset;
    EXPECT_LT(rms, 0.1L) << offset;
  }
}

TEST(OrbitRealDataGeonet, BroadcastFilesOfTwoStationsAgree) {
  const std::string a = SharedData("geonet-0759-3040-2005092/07590920.05n");
  const std::string b = SharedData("geonet-0759-3040-2005092/30400920.05n");
  if (a.empty() || b.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  GPSbEph na, nb;
  na.SetFile(a.c_str());
  nb.SetFile(b.c_str());
  na.ReadFile();
  nb.ReadFile();
  EXPECT_GT(na.GetNRecords(), 100);
  EXPECT_NEAR(static_cast<double>(na.GetHeader().GetAlfa(0)), 1.118e-08, 1e-20);
  EXPECT_EQ(na.GetHeader().GetLeapSeconds(), 13);
  const mjd t(53462, 1800.0L);  // 2005-04-02 00:30
  const xyz r(-3961905.0L, 3348994.0L, 3698212.0L);
  int n = 0;
  for (long k = 0; k < na.GetNSat(); k++) {
    const short sat = na.GetData().GetSatList(k);
    if (!nb.HasSat(sat)) continue;
    xyzt pa, pb;
    testing::internal::CaptureStderr();
    const long double ra = na.CalcSatPosition(sat, t, t, r, pa, nullptr, 0, 0);
    const long double rb = nb.CalcSatPosition(sat, t, t, r, pb, nullptr, 0, 0);
    testing::internal::GetCapturedStderr();
    EXPECT_NEAR(static_cast<double>(pa.GetLength()), 26.56e6, 0.6e6) << sat;
    EXPECT_NEAR(static_cast<double>(ra), static_cast<double>(rb), 1e-6) << sat;
    ++n;
  }
  EXPECT_GT(n, 20);
}

}  // namespace
