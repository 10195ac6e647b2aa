// Kinematic solution on contexts filled by hand: design rows of known geometry and
// misclosures made from a known ROVER offset and receiver clocks, so that the epoch
// solutions are known exactly.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "estimation/ResultContext.h"
#include "estimation/Tervan_ProcKinematic.h"
#include "support/TestSupport.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;
using testsupport::ReadFile;
using testsupport::TempDir;

namespace {

// Azimuth and elevation [deg] of the k-th satellite of an epoch.
const long double kAz[8] = {10, 80, 150, 220, 290, 330, 45, 120};
const long double kEl[8] = {70, 40, 25, 55, 15, 35, 60, 20};

class ProcKinematicTest : public ::testing::Test {
 protected:
  // neph epochs of the given satellites, C1 and L1 used; each epoch's observations are
  // made from the ROVER offset (e+1) * step and clock 100 m (GLONASS 130 m, Galileo
  // 160 m); the static solution's last correction xtemp moved the ROVER by lastDx
  // after the misclosures were formed.
  void Build(long neph, const std::vector<short>& sats, xyz lastDx = xyz()) {
    using namespace resulttest;
    FillData(tc, neph, sats);
    FillPositions(tc);
    tc.ifEstKin = tc.ifC1 = tc.ifL1 = true;
    tc.isGPS = true;
    for (short s : sats) {
      tc.isGLN = tc.isGLN || (s > 100 && s < 200);
      tc.isGAL = tc.isGAL || s > 200;
    }
    tc.p0C = 0.0001L;
    tc.p0L1 = 1.0L;
    const long n = tc.sdd.GetNObs();
    FillCofactors(tc, std::vector<long double>(3, 1.0L));
    tc.xtemp(0) = lastDx.GetX();
    tc.xtemp(1) = lastDx.GetY();
    tc.xtemp(2) = lastDx.GetZ();
    tc.mB.Resize(n, 3, 0.0L);
    tc.ixX = 0, tc.ixY = 1, tc.ixZ = 2;
    for (long& ix : tc.ixDTsys) ix = -1;
    tc.WGHT.Resize(n, 1, 1.0L);
    for (matrix<long double>* f : {&tc.fc1, &tc.fl1}) f->Resize(n, 1, 0.0L);
    for (matrix<bool>* b : {&tc.ifOc1, &tc.ifOl1}) b->Resize(n, 1, true);
    for (matrix<bool>* b : {&tc.ifXc1, &tc.ifXl1}) b->Resize(n, 1, false);
    long i = 0;
    for (long e = 0; e < neph; ++e) {
      const xyz d = static_cast<long double>(e + 1) * step;
      for (size_t k = 0; k < sats.size(); ++k, ++i) {
        const xyz u = LineOfSight(tc, kAz[k % 8], kEl[k % 8]);
        // coefficients: the negated derivative of the ROVER range
        const long double b[3] = {u.GetX(), u.GetY(), u.GetZ()};
        for (int c = 0; c < 3; ++c) tc.mB(i, c) = b[c];
        const short s = sats[k];
        const long double clk = s > 200 ? 160.0L : s > 100 ? 130.0L : 100.0L;
        // f = computed - observed; x = N^-1 B'Pf gives d, the clock comes out with
        // coefficient -1
        const xyz all = d + lastDx;
        const long double f = b[0] * all.GetX() + b[1] * all.GetY() + b[2] * all.GetZ() - clk;
        tc.fc1(i) = tc.fl1(i) = f;
      }
    }
  }

  std::vector<std::string> Rows() {
    CaptureStdout();
    ProcKinematic(tc);
    std::istringstream in(GetCapturedStdout());
    std::vector<std::string> rows;
    std::string line;
    bool table = false;
    while (std::getline(in, line)) {
      if (table) rows.push_back(line);
      table = table || line.find("     EPOCH[MJD]    NOBS") == 0;
    }
    return rows;
  }

  // Numbers of a report row: day, second, counts, coordinates, clocks, s0, sigmas.
  static std::vector<long double> Values(const std::string& row) {
    std::istringstream in(row);
    std::vector<long double> v;
    long double x;
    while (in >> x) v.push_back(x);
    return v;
  }

  TervanC tc;
  xyz step{0.003L, -0.002L, 0.001L};
  TempDir dir;
};

TEST_F(ProcKinematicTest, EpochOffsetsAndSystemClocksComeBack) {
  Build(3, resulttest::Sats(false));
  const std::vector<std::string> rows = Rows();
  ASSERT_EQ(3u, rows.size());
  for (long e = 0; e < 3; ++e) {
    const std::vector<long double> v = Values(rows[e]);
    ASSERT_EQ(19u, v.size()) << rows[e];
    EXPECT_EQ(16, v[2]);
    EXPECT_EQ(8, v[3]);
    EXPECT_EQ(4, v[4]);
    EXPECT_EQ(4, v[5]);
    const xyz want = tc.Delta_RecPosEst + static_cast<long double>(e + 1) * step;
    EXPECT_NEAR(want.GetX(), v[6], 1e-4L);
    EXPECT_NEAR(want.GetY(), v[7], 1e-4L);
    EXPECT_NEAR(want.GetZ(), v[8], 1e-4L);
    EXPECT_NEAR(100.0L / 299.792458L, v[9], 1e-6L);
    EXPECT_NEAR(130.0L / 299.792458L, v[10], 1e-6L);
    EXPECT_NEAR(160.0L / 299.792458L, v[11], 1e-6L);
    EXPECT_NEAR(0.0L, v[12], 1e-4L);
  }
}

TEST_F(ProcKinematicTest, LastStaticCorrectionIsNotCountedTwice) {
  Build(2, resulttest::Sats(true), xyz(0.5L, -0.3L, 0.2L));
  const std::vector<std::string> rows = Rows();
  ASSERT_EQ(2u, rows.size());
  const std::vector<long double> v = Values(rows[0]);
  const xyz want = tc.Delta_RecPosEst + step;
  EXPECT_NEAR(want.GetX(), v[6], 1e-4L);
  EXPECT_NEAR(want.GetY(), v[7], 1e-4L);
  EXPECT_NEAR(want.GetZ(), v[8], 1e-4L);
}

TEST_F(ProcKinematicTest, FinalAmbiguityAndCodeBiasEnterTheMisclosures) {
  Build(1, resulttest::Sats(true));
  // the last correction moved the L1 ambiguity of G05 by 0.25 m and its C1 bias by
  // 0.2 m; the stored misclosures hold the values from before
  tc.nAmbL1 = 5;
  tc.AmbSat.Resize(5);
  tc.AmbIndex.Resize(5, 4, 0);
  tc.ixAmbL1.Resize(5, 1, -1);
  for (long k = 0; k < 5; ++k) tc.AmbSat(k) = resulttest::Sats(true)[k];
  tc.xtemp.Resize(5, 1, 0.0L);
  tc.ixAmbL1(1) = 3;
  tc.xtemp(3) = 0.25L;
  tc.fl1(1) -= 0.25L;
  tc.isdcbC1 = true;
  tc.ixdcbC1.Resize(5, 1, -1);
  tc.dcbC1.Resize(5, 1, 0.0L);
  tc.ixdcbC1(1) = 4;
  tc.dcbC1(1) = 0.7L;
  tc.xtemp(4) = 0.2L;
  tc.fc1(1) -= 0.2L;
  const std::vector<long double> v = Values(Rows().at(0));
  EXPECT_NEAR(tc.Delta_RecPosEst.GetX() + step.GetX(), v[6], 1e-4L);
  EXPECT_NEAR(0.0L, v[12], 1e-4L);
}

TEST_F(ProcKinematicTest, GpsOnlyPrintsZeroClocksOfTheOtherSystems) {
  Build(1, resulttest::Sats(true));
  const std::string row = Rows().at(0);
  const std::vector<long double> v = Values(row);
  EXPECT_EQ(0.0L, v[10]);
  EXPECT_EQ(0.0L, v[11]);
  EXPECT_EQ(0.0L, v[17]);
  EXPECT_EQ(0.0L, v[18]);
  EXPECT_NE(std::string::npos, row.find("       0.000000       0.000000"));
}

TEST_F(ProcKinematicTest, FourObservationsGiveZeroRedundancyFewerOrSingularAreSkipped) {
  Build(3, {1, 5, 12, 20});
  tc.ifL1 = false;
  // epoch 1: one observation excluded (3 left); epoch 2: G20 replaced by a GLONASS
  // satellite, so 4 observations meet 5 unknowns (coordinates and two clocks)
  tc.ifXc1(5) = true;
  tc.isGLN = true;
  tc.sdd.sat(11) = 103;
  const std::vector<std::string> rows = Rows();
  ASSERT_EQ(3u, rows.size());
  const std::vector<long double> v = Values(rows[0]);
  ASSERT_EQ(19u, v.size());
  EXPECT_EQ(4, v[2]);
  EXPECT_NE(std::string::npos, rows[0].find("         0.0000"));
  EXPECT_EQ("", rows[1]);
  EXPECT_EQ("", rows[2]);
}

TEST_F(ProcKinematicTest, GnuplotFileHoldsOneLinePerSolvedEpoch) {
  Build(2, resulttest::Sats(false));
  tc.isGNUPlotKin = true;
  std::snprintf(tc.gnuplotKin, FileNameSize, "%s", dir.File("kin.gp").c_str());
  Rows();
  std::istringstream in(ReadFile(dir.File("kin.gp")));
  std::string head, line;
  std::getline(in, head);
  EXPECT_EQ(0u, head.find("#   EPOCH[MJD]   NOBS"));
  int n = 0;
  while (std::getline(in, line)) {
    ++n;
    EXPECT_NE(std::string::npos, line.find("   BASE   ROVR"));
    const std::vector<long double> v = Values(line);
    const neu dn = g2lg(static_cast<long double>(n) * step, tc.RecPosFCG_ROVER);
    ASSERT_EQ(25u, v.size());
    EXPECT_NEAR(dn.GetN(), v[19], 1e-4L);
    EXPECT_NEAR(dn.GetE(), v[20], 1e-4L);
    EXPECT_NEAR(dn.GetU(), v[21], 1e-4L);
  }
  EXPECT_EQ(2, n);
  EXPECT_EQ("", ReadFile(dir.File("kin.gp.part")));
}

// The static L1 ambiguities took part of the ROVER's motion (a bias per satellite);
// adjusted once more with the epoch positions (-kf) they give it back, and the track is
// the motion. The geometry turns by 25 degrees of azimuth from epoch to epoch, so that the
// ambiguities and the epoch positions separate.
TEST_F(ProcKinematicTest, BiasedStaticAmbiguitiesAreAdjustedWithTheEpochPositions) {
  const std::vector<short> sats = resulttest::Sats(true);
  const long neph = 5, ns = static_cast<long>(sats.size());
  Build(neph, sats);
  tc.NUnk = 3 + ns;
  tc.IsUnkOK.Resize(tc.NUnk, 1, true);
  tc.NFin.Resize(tc.NUnk, tc.NUnk, 0.0L);
  tc.xtemp.Resize(tc.NUnk, 1, 0.0L);
  tc.nAmbL1 = ns;
  tc.AmbSat.Resize(ns);
  tc.AmbIndex.Resize(ns, 4, 0);
  tc.ixAmbL1.Resize(ns, 1, -1);
  for (long k = 0; k < ns; ++k) {
    tc.AmbSat(k) = sats[k];
    tc.AmbIndex(k, 2) = neph - 1;
    tc.ixAmbL1(k) = 3 + k;
  }
  long i = 0;
  for (long e = 0; e < neph; ++e) {
    const xyz d = static_cast<long double>(e + 1) * step;
    for (long k = 0; k < ns; ++k, ++i) {
      const xyz u = resulttest::LineOfSight(tc, kAz[k % 8] + 25.0L * e, kEl[k % 8]);
      const long double b[3] = {u.GetX(), u.GetY(), u.GetZ()};
      for (int c = 0; c < 3; ++c) tc.mB(i, c) = b[c];
      const long double f = b[0] * d.GetX() + b[1] * d.GetY() + b[2] * d.GetZ() - 100.0L;
      tc.fc1(i) = f;
      tc.fl1(i) = f - 0.01L * (k + 1);  // the ambiguity's bias
    }
  }
  // without -kf the ambiguities keep their static values and the track their bias
  long double worst = 0;
  for (const std::string& row : Rows()) {
    const std::vector<long double> v = Values(row);
    if (v.size() == 19u) worst = std::max(worst, std::fabs(v[12]));
  }
  EXPECT_GT(worst, 1e-3L);
  tc.isKinFloat = true;
  const std::vector<std::string> rows = Rows();
  ASSERT_EQ(static_cast<size_t>(neph), rows.size());
  for (long e = 0; e < neph; ++e) {
    const std::vector<long double> v = Values(rows[e]);
    ASSERT_EQ(19u, v.size()) << rows[e];
    const xyz want = tc.Delta_RecPosEst + static_cast<long double>(e + 1) * step;
    EXPECT_NEAR(want.GetX(), v[6], 1e-4L) << e;
    EXPECT_NEAR(want.GetY(), v[7], 1e-4L) << e;
    EXPECT_NEAR(want.GetZ(), v[8], 1e-4L) << e;
    EXPECT_NEAR(0.0L, v[12], 1e-4L) << e;
  }
}

TEST(SetNormalSystem, AddsOneObservationWithClockCoefficientMinusOne) {
  matrix<long double> N(6, 6, 0.0L), t(6, 1, 0.0L);
  long double bx = 1, by = 2, bz = 3, f = 0.5L, p = 2, ff = 0;
  int ixT = 4;
  SetNormalSystem(N, t, bx, by, bz, f, p, ff, ixT);
  EXPECT_EQ(12.0L, N(1, 2));
  EXPECT_EQ(0.0L, N(2, 1));
  EXPECT_EQ(-6.0L, N(2, 4));
  EXPECT_EQ(2.0L, N(4, 4));
  EXPECT_EQ(3.0L, t(2));
  EXPECT_EQ(-1.0L, t(4));
  EXPECT_EQ(0.5L, ff);
}

}  // namespace
