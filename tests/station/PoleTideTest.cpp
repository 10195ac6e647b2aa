// Pole tide: ERP file reading, pole interpolation, mean pole and displacement.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gnss/flh.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "station/PoleTide.h"
#include "support/TestSupport.h"

using testsupport::Literal;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

const char* kVersion2 =
    "version 2\n"
    "EOP  SOLUTION\n"
    "  MJD         X        Y     UT1-UTC    LOD   Xsig   Ysig   UTsig LODsig  Nr Nf Nt\n"
    "               10**-6\"        .1us    .1us/d    10**-6\"     .1us  .1us/d\n"
    "56228.50   145507   311622   3469742  10253      4      5       0      8   0  0  0\n"
    "56229.50   144461   311497   3460025   9177      4      5       0      8   0  0  0\n"
    "56230.50   144028   311300   3451192   8620      4      5       0      8   0  0  0\n";

const char* kVersion1 =
    "EOP SOLUTION\n"
    "  MJD         X        Y     UT1-UTC\n"
    "               10**-5\"        10**-6s\n"
    "56228.50    14551    31162    346974\n"
    "56229.50    14446    31150    346002\n";

const long double kPi = 3.141592653589793L;

class PoleTideTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    WriteFile(dir.File("pole.erp"), text);
    pt.SetFile(dir.File("pole.erp").c_str());
    pt.ReadFile();
  }
  TempDir dir;
  PoleTide pt;
};

}  // namespace

TEST_F(PoleTideTest, VersionTwoReadsMicroArcseconds) {
  Load(kVersion2);
  EXPECT_EQ(pt.GetVersion(), 2);
  ASSERT_EQ(pt.GetNEpoch(), 3);
  EXPECT_NEAR(static_cast<double>(pt.GetX(0)), 0.145507, 1e-15);
  EXPECT_NEAR(static_cast<double>(pt.GetY(2)), 0.311300, 1e-15);
  EXPECT_NEAR(static_cast<double>(pt.GetUT1UTC(1)), 0.3460025, 1e-15);
  EXPECT_EQ(pt.GetEpoch(1), mjd(56229, 43200.0L));
}

TEST_F(PoleTideTest, VersionOneReadsTenMicroArcseconds) {
  Load(kVersion1);
  EXPECT_EQ(pt.GetVersion(), 1);
  ASSERT_EQ(pt.GetNEpoch(), 2);
  EXPECT_NEAR(static_cast<double>(pt.GetX(0)), 0.14551, 1e-15);
  EXPECT_NEAR(static_cast<double>(pt.GetUT1UTC(1)), 0.346002, 1e-15);
}

TEST_F(PoleTideTest, EpochOnAnErpEpochGivesItsPole) {
  Load(kVersion2);
  neu d;
  pt.GetPoleTide(mjd(56229, 43200.0L), flh(0.8L, 0.2L, 100), d);
  EXPECT_NEAR(static_cast<double>(pt.GetXp()), 0.144461, 1e-15);
  EXPECT_NEAR(static_cast<double>(pt.GetYp()), 0.311497, 1e-15);
  pt.GetPoleTide(mjd(56230, 0.0L), flh(0.8L, 0.2L, 100), d);
  EXPECT_NEAR(static_cast<double>(pt.GetXp()), (0.144461 + 0.144028) / 2, 1e-15);
}

TEST_F(PoleTideTest, SingleEpochGivesAConstantPole) {
  Load(std::string(kVersion2).substr(0, std::string(kVersion2).find("56229.50")));
  ASSERT_EQ(pt.GetNEpoch(), 1);
  pt.SetCalcEpoch(mjd(56300, 0.0L));
  pt.SetMeanPole();
  neu d;
  pt.GetPoleTide(mjd(56300, 0.0L), flh(0.8L, 0.2L, 100), d);
  EXPECT_NEAR(static_cast<double>(pt.GetXp()), 0.145507, 1e-15);
  EXPECT_GT(std::fabs(static_cast<double>(d.GetU())), 0.0);
}

TEST_F(PoleTideTest, EpochsFarOutsideTheDataWarnAndExtrapolate) {
  Load(kVersion2);
  neu d;
  testing::internal::CaptureStdout();
  pt.GetPoleTide(mjd(56226, 0.0L), flh(0.8L, 0.2L, 0), d);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("ERP FILE - GETTING INDEX - INPUT EPOCH OUT OF DATA INTERVAL (<1day)"),
            std::string::npos);
  EXPECT_NEAR(static_cast<double>(pt.GetXp()), 0.145507 + 2.5 * (0.145507 - 0.144461), 1e-12);
  testing::internal::CaptureStdout();
  pt.GetPoleTide(mjd(56232, 0.0L), flh(0.8L, 0.2L, 0), d);
  out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("ERP FILE - GETTING INDEX - INPUT EPOCH OUT OF DATA INTERVAL (>1day)"),
            std::string::npos);
  testing::internal::CaptureStdout();
  pt.GetPoleTide(mjd(56231, 0.0L), flh(0.8L, 0.2L, 0), d);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(PoleTideTest, OnTheEquatorOnlyNorthRemains) {
  Load(kVersion2);
  pt.SetCalcEpoch(mjd(56229, 43200.0L));
  pt.SetMeanPole();
  const long double l = 0.3L;
  neu d;
  pt.GetPoleTide(mjd(56229, 43200.0L), flh(0, l, 0), d);
  const long double m1 = pt.GetXp() - pt.GetXi(), m2 = -(pt.GetYp() - pt.GetYi());
  EXPECT_NEAR(static_cast<double>(d.GetN()),
              static_cast<double>(-0.009L * (m1 * std::cos(l) + m2 * std::sin(l))), 1e-15);
  EXPECT_NEAR(static_cast<double>(d.GetE()), 0.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(d.GetU()), 0.0, 1e-15);
}

TEST_F(PoleTideTest, DisplacementAtMidLatitude) {
  Load(kVersion2);
  pt.SetCalcEpoch(mjd(56229, 43200.0L));
  pt.SetMeanPole();
  const long double f = 46.0L * kPi / 180, l = 14.5L * kPi / 180;
  neu d;
  pt.GetPoleTide(mjd(56229, 43200.0L), flh(f, l, 300), d);
  // Eq. 7.26 in colatitude theta: S_r = -33 sin 2theta (m1 cos l + m2 sin l),
  // S_theta = -9 cos 2theta (...) (south), S_l = 9 cos theta (m1 sin l - m2 cos l) [mm].
  const long double m1 = pt.GetXp() - pt.GetXi(), m2 = pt.GetYi() - pt.GetYp();
  const long double th = kPi / 2 - f, c = m1 * std::cos(l) + m2 * std::sin(l);
  EXPECT_NEAR(static_cast<double>(d.GetU()), static_cast<double>(-33e-3L * std::sin(2 * th) * c),
              1e-15);
  EXPECT_NEAR(static_cast<double>(d.GetN()), static_cast<double>(9e-3L * std::cos(2 * th) * c),
              1e-15);
  EXPECT_NEAR(static_cast<double>(d.GetE()),
              static_cast<double>(9e-3L * std::cos(th) * (m1 * std::sin(l) - m2 * std::cos(l))),
              1e-15);
  EXPECT_LT(std::fabs(static_cast<double>(d.GetU())), 0.03);
}

TEST_F(PoleTideTest, MeanPoleSwitchesToTheLinearModelAfter2010) {
  pt.SetCalcEpoch(mjd(57023, 0.0L));  // 2015-01-01
  pt.SetMeanPole();
  long double t = (57023.0L - 51544.0L) / 365.25L;
  EXPECT_NEAR(static_cast<double>(pt.GetXi()), static_cast<double>(0.023513L + 0.0076141L * t),
              1e-15);
  EXPECT_NEAR(static_cast<double>(pt.GetYi()), static_cast<double>(0.358891L - 0.0006287L * t),
              1e-15);
  pt.SetCalcEpoch(mjd(53371, 0.0L));  // 2005-01-01
  pt.SetMeanPole();
  t = (53371.0L - 51544.0L) / 365.25L;
  const long double x = 0.055974L + 0.0018243L * t + 0.00018413L * t * t + 0.000007024L * t * t * t;
  const long double y = 0.346346L + 0.0017896L * t - 0.00010729L * t * t - 0.000000908L * t * t * t;
  EXPECT_NEAR(static_cast<double>(pt.GetXi()), static_cast<double>(x), 1e-15);
  EXPECT_NEAR(static_cast<double>(pt.GetYi()), static_cast<double>(y), 1e-15);
}

TEST_F(PoleTideTest, UnreadableFilesAreFatal) {
  const std::string msg = "EARTH ROTATION PARAMETER FILE CAN NOT BE READ!";
  pt.SetFile(dir.File("none.erp").c_str());
  EXPECT_EXIT(pt.ReadFile(), ::testing::ExitedWithCode(1), Literal(msg));
  EXPECT_EXIT(Load("version 2\nno column header\n56228.5 1 2 3\n"), ::testing::ExitedWithCode(1),
              Literal(msg));
  EXPECT_EXIT(Load("  MJD  X  Y  UT1\n units\n"), ::testing::ExitedWithCode(1), Literal(msg));
  EXPECT_EXIT(Load("  MJD  X  Y  UT1\n units\n56228.50  garbage here\n"),
              ::testing::ExitedWithCode(1), Literal(msg));
  EXPECT_EXIT(Load("  MJD  X  Y  UT1\n units\n56229.50 1 2 3\n56228.50 1 2 3\n"),
              ::testing::ExitedWithCode(1), Literal(msg));
}

TEST_F(PoleTideTest, PolesThatAreNoNumbersOrAbsurdAreFatal) {
  const std::string msg = "EARTH ROTATION PARAMETER FILE CAN NOT BE READ!";
  const char* head = "version 2\n  MJD  X  Y  UT1\n units\n56228.50 145507 311622 3469742\n";
  for (const char* bad : {"56229.50 nan 311497 3460025\n", "56229.50 144461 inf 3460025\n",
                          "56229.50 144461 311497 -nan\n", "56229.50 1e30 311497 3460025\n",
                          "56229.50 144461 -10000001 3460025\n"})
    EXPECT_EXIT(Load(std::string(head) + bad), ::testing::ExitedWithCode(1), Literal(msg)) << bad;
  // Ten arcseconds is still read.
  Load(std::string(head) + "56229.50 10000000 -10000000 3460025\n");
  EXPECT_NEAR(static_cast<double>(pt.GetY(1)), -10.0, 1e-15);
}

TEST_F(PoleTideTest, EmptyLinesBetweenEpochsAreSkipped) {
  Load("  MJD  X  Y  UT1\n units\n56228.50 100 200 300\n\n56229.50 110 210 310\n");
  ASSERT_EQ(pt.GetNEpoch(), 2);
  EXPECT_NEAR(static_cast<double>(pt.GetX(1)), 110e-5, 1e-15);
}

TEST(PoleTideRealData, IgsErpFileReads) {
  const std::string path = testsupport::SharedData("models/igs17127.erp");
  if (path.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  PoleTide pt;
  pt.SetFile(path.c_str());
  pt.ReadFile();
  EXPECT_EQ(pt.GetVersion(), 2);
  ASSERT_EQ(pt.GetNEpoch(), 7);
  EXPECT_NEAR(static_cast<double>(pt.GetX(0)), 0.145507, 1e-15);
  pt.SetCalcEpoch(mjd(56230, 0.0L));
  pt.SetMeanPole();
  neu d;
  pt.GetPoleTide(mjd(56230, 0.0L), flh(0.8L, 0.2L, 0), d);
  EXPECT_LT(std::fabs(static_cast<double>(d.GetU())), 0.025);
}

// Computed by hand from eq. 7.24-7.26 of the IERS Conventions (2010) with the file's pole at
// MJD 56230.5 (x 0.144028", y 0.311300") and the linear mean pole (0.121209", 0.350824"),
// station at 36.1 N, 140.1 E: north -0.0216 mm, east +0.2384 mm, up -0.2466 mm (the sign of
// m2 taken as yp - ypbar instead gives +0.118, -0.083, +1.347 mm).
TEST(PoleTideRealData, ConventionsDisplacementOfOneStation) {
  const std::string path = testsupport::SharedData("models/igs17127.erp");
  if (path.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  PoleTide pt;
  pt.SetFile(path.c_str());
  pt.ReadFile();
  const mjd t(56230, 43200.0L);
  pt.SetCalcEpoch(t);
  pt.SetMeanPole();
  neu d;
  pt.GetPoleTide(t, flh(36.1L * kPi / 180, 140.1L * kPi / 180, 0), d);
  EXPECT_NEAR(static_cast<double>(d.GetN()) * 1e3, -0.0216, 5e-5);
  EXPECT_NEAR(static_cast<double>(d.GetE()) * 1e3, 0.2384, 5e-5);
  EXPECT_NEAR(static_cast<double>(d.GetU()) * 1e3, -0.2466, 5e-5);
}
