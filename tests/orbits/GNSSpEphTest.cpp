#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iostream>

#include "Sp3Fixture.h"
#include "orbits/GNSSpEph.h"
#include "orbits/LightTime.h"
#include "support/TestSupport.h"

namespace {
using sp3fixture::Sp3;
using testsupport::TempDir;

const long double c = 299792458.0L;
const mjd kStart(59025, 0.0L);

mjd At(long double seconds) {
  mjd t = kStart;
  t += seconds;
  return t;
}

class GNSSpEphTest : public ::testing::Test {
 protected:
  void Read(const Sp3& f) {
    const std::string name = dir.File("orbit.sp3");
    testsupport::WriteFile(name, f.Text());
    eph.SetFile(name.c_str());
    eph.ReadFile();
  }
  // Interpolation error (m) of satellite index k at t seconds.
  long double PositionError(short sat, int k, long double t) {
    xyzt pos, vel;
    eph.CalcSatPosition(sat, At(t), pos, vel);
    long double p[3];
    sp3fixture::Orbit(k, t, p);
    return std::sqrt(std::pow(pos.GetX() - p[0], 2) + std::pow(pos.GetY() - p[1], 2) +
                     std::pow(pos.GetZ() - p[2], 2));
  }
  TempDir dir;
  GNSSpEph eph;
};

TEST_F(GNSSpEphTest, ReadsHeaderAndRecords) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(30, 900);
  Read(f);
  EXPECT_EQ(eph.GetNEpoch(), 30);
  EXPECT_EQ(eph.GetNSatList(), 3);
  EXPECT_EQ(eph.GetVersion(), 'c');
  EXPECT_EQ(eph.GetInterval(), 900.0L);
  EXPECT_EQ(eph.GetPositionBase(), 1.25L);
  EXPECT_EQ(eph.GetClockBase(), 1.025L);
  EXPECT_EQ(eph.GetSatList(1), 105);
  EXPECT_EQ(eph.GetMJD(4), At(3600));
  // Record index = epoch index * nsat + satellite index.
  EXPECT_EQ(eph.GetSat(3 * 3 + 2), 211);
  long double p[3];
  sp3fixture::Orbit(2, 2700, p);
  EXPECT_NEAR(static_cast<double>(eph.GetSatPos(3 * 3 + 2).GetX()), static_cast<double>(p[0]),
              6e-4);
  EXPECT_NEAR(static_cast<double>(eph.GetSatPos(3 * 3 + 2).GetT()),
              static_cast<double>(sp3fixture::Clock(2, 2700) * 1e-6L), 1e-12);
  EXPECT_NEAR(static_cast<double>(eph.GetSatPosSig(0).GetX()), std::pow(1.25, 5) * 0.001, 1e-15);
  EXPECT_NEAR(static_cast<double>(eph.GetSatPosSig(0).GetT()), std::pow(1.025, 117) * 1e-12, 1e-20);
}

TEST_F(GNSSpEphTest, SatelliteIdentifiersOfEverySystem) {
  Sp3 f;
  f.ids = {"R05", "  1", "J02", "E11", "C23", "S20", "G20"};
  f.epochs = sp3fixture::Epochs(16, 900);
  Read(f);
  EXPECT_EQ(eph.GetSatList(0), 105);
  EXPECT_EQ(eph.GetSatList(1), 1);
  EXPECT_EQ(eph.GetSatList(2), 502);
  EXPECT_EQ(eph.GetSatList(3), 211);
  EXPECT_EQ(eph.GetSatList(4), 323);
  // An SBAS satellite does not take the place of the GPS satellite of its number.
  EXPECT_NE(eph.GetSatList(5), 20);
  xyzt pos, vel;
  eph.CalcSatPosition(20, At(5000), pos, vel);
  long double p[3];
  sp3fixture::Orbit(6, 5000, p);
  EXPECT_NEAR(static_cast<double>(pos.GetX()), static_cast<double>(p[0]), 2e-3);
}

TEST_F(GNSSpEphTest, InterpolatesBetweenAndOnNodes) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(40, 900);
  Read(f);
  for (long double t : {4000.0L, 17777.7L, 20000.0L, 30000.0L})
    EXPECT_LT(PositionError(1, 0, t), 2e-3L) << t;
  xyzt pos, vel;
  eph.CalcSatPosition(211, At(9000), pos, vel);  // on a node
  EXPECT_TRUE(eph.GetPSisOK());
  EXPECT_TRUE(eph.GetDTisOK());
  long double p[3], v[3];
  sp3fixture::Orbit(2, 9000, p, v);
  EXPECT_NEAR(static_cast<double>(pos.GetX()), static_cast<double>(p[0]), 6e-4);
  // The velocity on a node is the derivative of the interpolating polynomial.
  for (int k = 0; k < 3; k++) {
    const long double got = k == 0 ? vel.GetX() : (k == 1 ? vel.GetY() : vel.GetZ());
    EXPECT_TRUE(std::isfinite(got));
    EXPECT_NEAR(static_cast<double>(got), static_cast<double>(v[k]), 1e-5);
  }
  EXPECT_EQ(vel.GetT(), 0.0L);
  eph.CalcSatPosition(211, At(9100), pos, vel);
  sp3fixture::Orbit(2, 9100, p, v);
  EXPECT_NEAR(static_cast<double>(vel.GetY()), static_cast<double>(v[1]), 1e-5);
  EXPECT_NEAR(static_cast<double>(pos.GetT()),
              static_cast<double>(sp3fixture::Clock(2, 9100) * 1e-6L), 1e-15);
}

TEST_F(GNSSpEphTest, CoverageWarningOnlyBeyond900Seconds) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(20, 900);
  Read(f);
  testing::internal::CaptureStderr();
  EXPECT_LT(PositionError(1, 0, -600), 10.0L);  // extrapolated from the first 14 nodes
  EXPECT_EQ(testing::internal::GetCapturedStderr().find("CALCULATION EPOCH NOT IN"),
            std::string::npos);
  testing::internal::CaptureStderr();
  xyzt pos, vel;
  eph.CalcSatPosition(1, At(-1200), pos, vel);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "#### Tervan: Warning -> CALCULATION EPOCH NOT IN EPOCH INTERVAL OF INPUT PRECISE "
                "ORBIT FILE! ####"),
            std::string::npos);
  EXPECT_TRUE(eph.GetPSisOK());
  EXPECT_GT(pos.GetLength(), 2e7L);
}

TEST_F(GNSSpEphTest, ZeroPositionAtANodeLeavesNoPosition) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(40, 900);
  f.zero.insert({20, 0});
  Read(f);
  xyzt pos, vel;
  eph.CalcSatPosition(1, At(19 * 900 + 100), pos, vel);
  EXPECT_FALSE(eph.GetPSisOK());
  EXPECT_FALSE(eph.GetDTisOK());
  xyz r(4000e3L, 1000e3L, 4800e3L);
  EXPECT_EQ(eph.CalcSatPosition(1, At(19 * 900 + 100), r, pos, vel), -1.0L);
  eph.CalcSatPosition(1, At(35 * 900), pos, vel);  // the window no longer holds node 20
  EXPECT_TRUE(eph.GetPSisOK());
  eph.CalcSatPosition(105, At(19 * 900 + 100), pos, vel);
  EXPECT_TRUE(eph.GetPSisOK());
}

TEST_F(GNSSpEphTest, MissingClockAtAClockNodeKeepsThePosition) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(40, 900);
  f.noClock.insert({21, 0});
  Read(f);
  xyzt pos, vel;
  eph.CalcSatPosition(1, At(20 * 900 + 450), pos, vel);
  EXPECT_TRUE(eph.GetPSisOK());
  EXPECT_FALSE(eph.GetDTisOK());
  eph.CalcSatPosition(1, At(25 * 900 + 450), pos, vel);  // clock nodes 24-27
  EXPECT_TRUE(eph.GetDTisOK());
}

TEST_F(GNSSpEphTest, BlankClockFieldIsAMissingClock) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(40, 900);
  f.noClock.insert({21, 0});
  std::string text = f.Text();
  text.replace(text.find(" 999999.999999"), 14, std::string(14, ' '));
  const std::string name = dir.File("blank.sp3");
  testsupport::WriteFile(name, text);
  eph.SetFile(name.c_str());
  eph.ReadFile();
  xyzt pos, vel;
  eph.CalcSatPosition(1, At(20 * 900 + 450), pos, vel);
  EXPECT_TRUE(eph.GetPSisOK());
  EXPECT_FALSE(eph.GetDTisOK());
}

TEST(GNSSpEphDeath, MalformedPositionNamesFileColumnsAndLine) {
  TempDir dir;
  GNSSpEph eph;
  Sp3 f;
  f.epochs = sp3fixture::Epochs(3, 900);
  std::string text = f.Text();
  const size_t p = text.find("\nPG01") + 1;
  text.replace(p + 4, 14, "       x12.500");
  const std::string bad = dir.File("bad.sp3");
  testsupport::WriteFile(bad, text);
  eph.SetFile(bad.c_str());
  const long lineNo = std::count(text.begin(), text.begin() + p, '\n') + 1;
  EXPECT_EXIT_COUT(eph.ReadFile(),
                   "**** GNSSpEph: Error -> MALFORMED NUMBER IN COLUMNS 5-18 OF LINE " +
                       std::to_string(lineNo) + " OF " + bad + ": PG01       x12.500");
}

TEST_F(GNSSpEphTest, VelocityAndCorrelationLinesAreNotSatellites) {
  Sp3 plain, full;
  plain.epochs = full.epochs = sp3fixture::Epochs(30, 900);
  full.velocities = full.correlations = true;
  Read(full);
  xyzt a, va, b, vb;
  eph.CalcSatPosition(105, At(12345), a, va);
  GNSSpEph other;
  const std::string name = dir.File("plain.sp3");
  testsupport::WriteFile(name, plain.Text());
  other.SetFile(name.c_str());
  other.ReadFile();
  other.CalcSatPosition(105, At(12345), b, vb);
  EXPECT_EQ(a.GetX(), b.GetX());
  EXPECT_EQ(a.GetT(), b.GetT());
  EXPECT_EQ(eph.GetNEpoch(), 30);
}

TEST_F(GNSSpEphTest, EpochsAreTakenFromTheEpochLines) {
  // Every 900 s, but the block of 5400 s is missing: the interpolation uses the
  // node epochs as they are.
  Sp3 f;
  for (long double t : sp3fixture::Epochs(40, 900))
    if (t != 5400) f.epochs.push_back(t);
  testing::internal::CaptureStdout();
  Read(f);
  EXPECT_NE(testing::internal::GetCapturedStdout().find("NOT EQUALLY SPACED"), std::string::npos);
  EXPECT_EQ(eph.GetMJD(6), At(6300));
  EXPECT_LT(PositionError(105 - 104, 0, 5400), 5e-3L);
  EXPECT_LT(PositionError(1, 0, 5000), 5e-3L);
}

TEST_F(GNSSpEphTest, FileCutShortHoldsTheEpochsPresent) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(20, 900);
  f.headerEpochs = 96;
  f.eofLine = false;
  Read(f);
  EXPECT_EQ(eph.GetNEpoch(), 20);
  EXPECT_LT(PositionError(1, 0, 15000), 2e-3L);
  Sp3 g;  // a header that counts fewer epochs than the file has
  g.epochs = sp3fixture::Epochs(30, 900);
  g.headerEpochs = 25;
  Read(g);
  EXPECT_EQ(eph.GetNEpoch(), 25);
}

TEST_F(GNSSpEphTest, FewerEpochsThanNodes) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(5, 900);
  Read(f);
  xyzt pos, vel;
  eph.CalcSatPosition(1, At(1000), pos, vel);
  EXPECT_TRUE(eph.GetPSisOK());
  EXPECT_LT(PositionError(1, 0, 1800), 1e-3L);
}

// Plain Lagrange interpolation of satellite index k over the window of 2n nodes
// around t (clipped at the ends of the series): position (m), velocity (m/s) from
// the derivative of every basis polynomial, and clock (s) over 4 nodes.
void PlainLagrange(GNSSpEph& eph, int k, const mjd& t, int n, long double p[3], long double v[3],
                   long double& clk) {
  const long ne = eph.GetNEpoch(), ns = eph.GetNSatList();
  auto window = [&](int m, long& first, long& last) {
    long end = -1;
    while (end + 1 < ne && eph.GetMJD(end + 1) - eph.GetMJD(0) <= t - eph.GetMJD(0)) ++end;
    first = std::max(0L, std::min(end - m + 1, ne - 2 * m));
    last = std::min(ne - 1, first + 2 * m - 1);
  };
  long first, last;
  window(n, first, last);
  p[0] = p[1] = p[2] = v[0] = v[1] = v[2] = 0;
  for (long i = first; i <= last; i++) {
    long double num = 1, den = 1, rate = 0;
    for (long j = first; j <= last; j++) {
      if (j == i) continue;
      num *= t - eph.GetMJD(j);
      den *= eph.GetMJD(i) - eph.GetMJD(j);
      long double term = 1;
      for (long m = first; m <= last; m++)
        if (m != i && m != j) term *= t - eph.GetMJD(m);
      rate += term;
    }
    const xyzt node = eph.GetSatPos(i * ns + k);
    const long double val[3] = {node.GetX(), node.GetY(), node.GetZ()};
    for (int c = 0; c < 3; c++) p[c] += val[c] * num / den, v[c] += val[c] * rate / den;
  }
  window(2, first, last);
  clk = 0;
  for (long i = first; i <= last; i++) {
    long double w = 1;
    for (long j = first; j <= last; j++)
      if (j != i) w *= (t - eph.GetMJD(j)) / (eph.GetMJD(i) - eph.GetMJD(j));
    clk += eph.GetSatPos(i * ns + k).GetT() * w;
  }
}

// The interpolation (one pass over the nodes) gives what the plain Lagrange
// formulas give: between and on nodes, near and beyond the ends, on unequally
// spaced series and for several numbers of nodes.
TEST_F(GNSSpEphTest, InterpolationAgreesWithPlainLagrange) {
  std::vector<long double> uneven;
  for (int i = 0; i < 60; i++) uneven.push_back(i * 900.0L + (i % 3) * 37.0L + (i > 30 ? 900 : 0));
  for (const std::vector<long double>& epochs : {sp3fixture::Epochs(60, 900), uneven}) {
    Sp3 f;
    f.epochs = epochs;
    testing::internal::CaptureStderr();
    Read(f);
    for (int n : {7, 1, 4, 10}) {
      eph.SetNInterpPoints(n);
      std::vector<long double> at = {-600, 0, 1, 450, 900, 12345.678L, 27900, 27900.0001L};
      for (long double s = 3.3L; s < epochs.back() + 600; s += 1234.567L) at.push_back(s);
      for (long double s : {epochs.back() - 450, epochs.back(), epochs.back() + 300})
        at.push_back(s);
      for (long double s : at) {
        // Twenty nodes extrapolated beyond the series amplify the rounding of
        // either evaluation to some 1e-9 m/s.
        if (n > 7 && (s < 0 || s > epochs.back())) continue;
        for (int k = 0; k < 3; k++) {
          xyzt pos, vel;
          eph.CalcSatPosition(eph.GetSatList(k), At(s), pos, vel);
          long double p[3], v[3], clk;
          PlainLagrange(eph, k, At(s), n, p, v, clk);
          ASSERT_TRUE(eph.GetPSisOK() && eph.GetDTisOK()) << s;
          const long double got[3] = {pos.GetX(), pos.GetY(), pos.GetZ()};
          const long double rate[3] = {vel.GetX(), vel.GetY(), vel.GetZ()};
          for (int c = 0; c < 3; c++) {
            EXPECT_NEAR(static_cast<double>(got[c] - p[c]), 0.0, 1e-6) << n << " " << s;
            EXPECT_NEAR(static_cast<double>(rate[c] - v[c]), 0.0, 1e-9) << n << " " << s;
          }
          EXPECT_NEAR(static_cast<double>(pos.GetT() - clk), 0.0, 1e-15) << n << " " << s;
        }
      }
    }
    testing::internal::GetCapturedStderr();
  }
}

TEST_F(GNSSpEphTest, LightTimeSolution) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(40, 900);
  Read(f);
  const xyz r(4075580.0L, 931854.0L, 4801568.0L);
  const mjd t = At(15000);
  xyzt pos, vel;
  const long double rho = eph.CalcSatPosition(1, t, r, pos, vel);
  ASSERT_GT(rho, 1.9e7L);
  // The satellite at the emission epoch, seen from the receiver turned by the
  // Earth's rotation during the travel time.
  const long double tau = rho / c;
  long double p[3];
  sp3fixture::Orbit(0, 15000 - tau, p);
  const long double a = 7.2921151467e-5L * tau;
  const long double rx = r.GetX() * std::cos(a) - r.GetY() * std::sin(a);
  const long double ry = r.GetX() * std::sin(a) + r.GetY() * std::cos(a);
  const long double d =
      std::sqrt(std::pow(rx - p[0], 2) + std::pow(ry - p[1], 2) + std::pow(r.GetZ() - p[2], 2));
  EXPECT_NEAR(static_cast<double>(rho), static_cast<double>(d), 3e-3);
  const long double rel =
      2 * (pos.GetX() * vel.GetX() + pos.GetY() * vel.GetY() + pos.GetZ() * vel.GetZ()) / (c * c);
  EXPECT_NEAR(static_cast<double>(eph.GetRelativity()), static_cast<double>(rel), 1e-18);
  EXPECT_NEAR(static_cast<double>(pos.GetT()),
              static_cast<double>(sp3fixture::Clock(0, 15000 - tau) * 1e-6L - rel), 1e-14);
  // The pseudorange form with the exact range gives the same distance.
  gnssobs P;
  P = rho;
  xyzt pos2, vel2;
  EXPECT_NEAR(static_cast<double>(eph.CalcSatPosition(1, t, r, pos2, vel2, P)),
              static_cast<double>(rho), 1e-4);
}

// A solution started from the travel time of an earlier one: the same receiver gives
// the same result to the bit, a receiver moved by 100 m the result of a fresh start.
TEST_F(GNSSpEphTest, LightTimeFromAnEarlierTravelTime) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(40, 900);
  Read(f);
  const xyz r(4075580.0L, 931854.0L, 4801568.0L), moved(4075680.0L, 931854.0L, 4801568.0L);
  const mjd t = At(15000);
  xyzt pos, vel, pos2, vel2;
  long double travel = 0.0L;
  const long double rho = eph.CalcSatPosition(1, t, r, pos, vel, travel);
  EXPECT_NEAR(static_cast<double>(travel), static_cast<double>(-rho / c), 1e-12);
  long double again = travel;
  EXPECT_EQ(eph.CalcSatPosition(1, t, r, pos2, vel2, again), rho);
  EXPECT_EQ(again, travel);
  EXPECT_EQ(pos2.GetX(), pos.GetX());
  EXPECT_EQ(pos2.GetT(), pos.GetT());
  const long double fresh = eph.CalcSatPosition(1, t, moved, pos, vel);
  EXPECT_NEAR(static_cast<double>(eph.CalcSatPosition(1, t, moved, pos2, vel2, again)),
              static_cast<double>(fresh), 1e-9);
  EXPECT_NEAR(static_cast<double>(pos2.GetX()), static_cast<double>(pos.GetX()), 1e-9);
}

// The light-time solution forms the velocity and the clock after its last
// evaluation from what that evaluation's position pass kept: they must be the bits
// of the plain evaluation at the emission epoch, between nodes, on a node and in
// the off-centre windows at both ends (an odd number of nodes when the series is
// shorter than the window, uneven nodes with their own denominators).
TEST_F(GNSSpEphTest, LightTimeStateIsThePlainEvaluationAtTheEmissionEpoch) {
  std::vector<long double> uneven;
  for (int i = 0; i < 40; i++) uneven.push_back(i * 900.0L + (i % 3) * 37.0L);
  const xyz r(4075580.0L, 931854.0L, 4801568.0L);
  for (const std::vector<long double>& epochs :
       {sp3fixture::Epochs(40, 900), sp3fixture::Epochs(13, 900), uneven}) {
    Sp3 f;
    f.epochs = epochs;
    testing::internal::CaptureStderr();
    Read(f);
    std::vector<mjd> at;
    for (long double s = 0.3L; s < epochs.back() + 300; s += 977.31L) at.push_back(At(s));
    for (int k = 0; k < 3; k++) {
      // Received so that the signal left on node 9 (within some 1e-8 s).
      mjd t = At(epochs[9] + 0.075L);
      for (int step = 0; step < 2; step++) {
        long double travel = 0;
        xyzt pos, vel;
        eph.CalcSatPosition(eph.GetSatList(k), t, r, pos, vel, travel);
        t = At(epochs[9]);
        t += -travel;
      }
      at.push_back(t);
    }
    bool onNode = false;
    for (const mjd& t : at) {
      for (int k = 0; k < 3; k++) {
        const short sat = eph.GetSatList(k);
        long double travel = 0;
        xyzt pos, vel, plain, rate;
        ASSERT_GT(eph.CalcSatPosition(sat, t, r, pos, vel, travel), 0.0L);
        const long double rel = eph.GetRelativity();
        mjd te = t;
        te += travel;
        onNode = onNode || std::fabs(te - At(epochs[9])) < 1e-7L;
        eph.CalcSatPosition(sat, te, plain, rate);
        EXPECT_EQ(pos.GetX(), plain.GetX());
        EXPECT_EQ(pos.GetY(), plain.GetY());
        EXPECT_EQ(pos.GetZ(), plain.GetZ());
        EXPECT_EQ(pos.GetT(), plain.GetT() - rel);
        EXPECT_EQ(vel.GetX(), rate.GetX());
        EXPECT_EQ(vel.GetY(), rate.GetY());
        EXPECT_EQ(vel.GetZ(), rate.GetZ());
      }
    }
    EXPECT_TRUE(onNode);
    testing::internal::GetCapturedStderr();
  }
}

// A solution that evaluates the orbit at the kept emission epoch takes the kept
// state: the same bits as a fresh solution, the missing clock included, for the
// same receiver (taken outright) and a moved one (taken first, then evaluated);
// an epoch that differs by the last bit is evaluated.
TEST_F(GNSSpEphTest, KeptEmissionStateRepeatsAFreshSolution) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(40, 900);
  f.noClock.insert({17, 0});  // a clock node of G01 around 15000 s
  Read(f);
  const xyz r(4075580.0L, 931854.0L, 4801568.0L), moved(4075680.0L, 931854.0L, 4801568.0L);
  const mjd t = At(15000);
  for (short sat : {1, 105}) {
    EmissionState kept;
    long double first = 0;
    xyzt pos, vel;
    ASSERT_GT(eph.CalcSatPosition(sat, t, r, pos, vel, first, &kept), 0.0L);
    ASSERT_TRUE(kept.held);
    EXPECT_EQ(kept.clockOK, sat != 1);
    long double travel = 0;  // of the last solution
    for (const xyz& at : {r, moved}) {
      long double a = first, b = first;
      xyzt posA, velA, posB, velB;
      const long double rhoA = eph.CalcSatPosition(sat, t, at, posA, velA, a, &kept);
      const long double relA = eph.GetRelativity();
      const bool clockA = eph.GetDTisOK();
      const long double rhoB = eph.CalcSatPosition(sat, t, at, posB, velB, b);
      EXPECT_EQ(rhoA, rhoB);
      EXPECT_EQ(a, b);
      EXPECT_EQ(relA, eph.GetRelativity());
      EXPECT_EQ(clockA, eph.GetDTisOK());
      EXPECT_EQ(clockA, sat != 1);
      EXPECT_EQ(posA.GetX(), posB.GetX());
      EXPECT_EQ(posA.GetY(), posB.GetY());
      EXPECT_EQ(posA.GetZ(), posB.GetZ());
      EXPECT_EQ(posA.GetT(), posB.GetT());
      EXPECT_EQ(velA.GetX(), velB.GetX());
      EXPECT_EQ(velA.GetY(), velB.GetY());
      EXPECT_EQ(velA.GetZ(), velB.GetZ());
      travel = a;
    }
    // The kept state is the moved receiver's now; marked by a micrometre, it shows
    // whether it is taken.
    EmissionState marked = kept;
    marked.x += 1e-6L;
    EmissionState later = marked;
    later.second = std::nextafter(later.second, 86400.0L);
    xyzt fresh, taken, evaluated;
    long double t1 = travel, t2 = travel, t3 = travel;
    eph.CalcSatPosition(sat, t, moved, fresh, vel, t1);
    eph.CalcSatPosition(sat, t, moved, taken, vel, t2, &marked);
    eph.CalcSatPosition(sat, t, moved, evaluated, vel, t3, &later);
    EXPECT_EQ(taken.GetX(), fresh.GetX() + 1e-6L);
    EXPECT_EQ(evaluated.GetX(), fresh.GetX());
  }
}

// The travel time to a receiver 500 km away predicted from the first receiver's
// emission state agrees with its own light-time solution.
TEST_F(GNSSpEphTest, TravelTimePredictedForASecondReceiver) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(40, 900);
  Read(f);
  const xyz a(4075580.0L, 931854.0L, 4801568.0L), b(4375580.0L, 631854.0L, 4501568.0L);
  mjd t = At(15000);
  xyzt pos, vel;
  long double ta = 0.0L, tb = 0.0L;
  ASSERT_GT(eph.CalcSatPosition(1, t, a, pos, vel, ta), 0.0L);
  mjd emitted = t;
  emitted += ta;
  const mjd tB = At(15000.0002L);
  ASSERT_GT(eph.CalcSatPosition(1, tB, b, pos, vel, tb), 0.0L);
  xyzt pa, va;
  eph.CalcSatPosition(1, emitted, pa, va);
  const long double predicted =
      lighttime::PredictTravel(tB, b, 7.2921151467e-5L, pa.GetXYZ(), va.GetXYZ(), emitted, ta);
  EXPECT_GT(std::fabs(tb - ta), 1e-4L);
  EXPECT_NEAR(static_cast<double>(predicted), static_cast<double>(tb), 1e-14);
}

TEST_F(GNSSpEphTest, UnlistedSatelliteHasNoPosition) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(20, 900);
  Read(f);
  xyzt pos, vel;
  eph.CalcSatPosition(7, At(3000), pos, vel);
  EXPECT_FALSE(eph.GetPSisOK());
  EXPECT_EQ(eph.CalcSatPosition(7, At(3000), xyz(1, 2, 3), pos, vel), -1.0L);
  eph.CalcSatPosition(-5, At(3000), pos, vel);
  EXPECT_FALSE(eph.GetPSisOK());
}

TEST(GNSSpEphDeath, MalformedFilesEndWithAFramedError) {
  TempDir dir;
  GNSSpEph eph;
  const std::string missing = dir.File("none.sp3");
  eph.SetFile(missing.c_str());
  EXPECT_EXIT_COUT(eph.ReadFile(),
                   "**** GNSSpEph: Error -> PRECISE EPHEMERIS FILE CAN NOT BE OPENED! ****\n"
                   "     Exiting GNSSpEph ... ");
  Sp3 f;
  f.epochs = sp3fixture::Epochs(3, 900);
  std::string text = f.Text();
  text.replace(text.find("*  2020  6 25  0 15"), 19, "*  2020 13 25  0 15");
  const std::string bad = dir.File("bad.sp3");
  testsupport::WriteFile(bad, text);
  eph.SetFile(bad.c_str());
  EXPECT_EXIT_COUT(eph.ReadFile(), "PRECISE EPHEMERIS FILE - IMPROPER EPOCH LINE: *  2020 13 25");
  const std::string garbage = dir.File("garbage.sp3");
  testsupport::WriteFile(garbage, "#cP\n\nPG01 x\n");
  eph.SetFile(garbage.c_str());
  EXPECT_EXIT_COUT(
      eph.ReadFile(),
      "**** GNSSpEph: Error -> PRECISE EPHEMERIS FILE - IMPROPER START EPOCH IN HEADER! ****");
}

}  // namespace

namespace {
TEST_F(GNSSpEphTest, ReadAgainKnowsOnlyTheNewSatellites) {
  Sp3 f;
  f.epochs = sp3fixture::Epochs(3, 900);
  Read(f);
  Sp3 other;
  other.ids = {"G02"};
  other.epochs = sp3fixture::Epochs(3, 900);
  Read(other);
  xyzt pos, vel;
  eph.CalcSatPosition(1, At(0), pos, vel);
  EXPECT_FALSE(eph.GetPSisOK());
  eph.CalcSatPosition(2, At(0), pos, vel);
  EXPECT_TRUE(eph.GetPSisOK());
}
}  // namespace

namespace {
TEST(GNSSpEphDeath, FileTooLargeToHoldEndsTheRun) {
  // 85 satellites and 60000 epoch lines would need 5.1 million records.
  Sp3 f;
  f.ids.clear();
  for (int i = 1; i <= 85; i++) {
    char id[8];
    std::snprintf(id, sizeof id, "%c%02d", i <= 32 ? 'G' : (i <= 56 ? 'R' : 'E'),
                  i <= 32 ? i : (i <= 56 ? i - 32 : i - 56));
    f.ids.push_back(id);
  }
  f.epochs = sp3fixture::Epochs(1, 900);
  f.headerEpochs = 60001;
  f.eofLine = false;
  std::string text = f.Text();
  for (int e = 0; e < 60000; e++) text += "*  2020  6 25  0  0  0.00000000\n";
  TempDir dir;
  const std::string name = dir.File("big.sp3");
  testsupport::WriteFile(name, text);
  GNSSpEph eph;
  eph.SetFile(name.c_str());
  EXPECT_EXIT_COUT(eph.ReadFile(),
                   "**** GNSSpEph: Error -> PRECISE EPHEMERIS FILE - TOO MANY EPOCHS AND "
                   "SATELLITES TO HOLD! ****");
}
TEST(GNSSpEphDeath, EpochLinesWithoutPositionsEndTheRun) {
  // One epoch of positions, then 2000 epoch lines that promise 170000 records.
  Sp3 f;
  f.ids.clear();
  for (int i = 1; i <= 85; i++) {
    char id[8];
    std::snprintf(id, sizeof id, "%c%02d", i <= 32 ? 'G' : 'E', i <= 32 ? i : i - 32);
    f.ids.push_back(id);
  }
  f.epochs = sp3fixture::Epochs(1, 900);
  f.headerEpochs = 2001;
  f.eofLine = false;
  std::string text = f.Text();
  for (int e = 1; e <= 2000; e++) {
    char b[64];
    std::snprintf(b, sizeof b, "*  2020  6 %2d %2d %2d  0.00000000\n", 25 + e / 1440, e / 60 % 24,
                  e % 60);
    text += b;
  }
  TempDir dir;
  const std::string name = dir.File("sparse.sp3");
  testsupport::WriteFile(name, text);
  GNSSpEph eph;
  eph.SetFile(name.c_str());
  EXPECT_EXIT_COUT(eph.ReadFile(),
                   "**** GNSSpEph: Error -> PRECISE EPHEMERIS FILE - FAR FEWER POSITIONS THAN "
                   "EPOCHS AND SATELLITES! ****");
}

}  // namespace

namespace {

// Orbit files of one series cut into parts: epochs [from, to) of a 15 min series.
class GNSSpEphJoinTest : public GNSSpEphTest {
 protected:
  std::string Part(const std::string& file, int from, int to) {
    Sp3 f;
    f.epochs = sp3fixture::Epochs(to - from, 900, from * 900.0L);
    const std::string name = dir.File(file);
    testsupport::WriteFile(name, f.Text());
    return name;
  }
  // Largest difference (m, clock in m) between eph and whole over the epochs
  // [from, to) seconds, every 100 s, for every satellite.
  long double Largest(GNSSpEph& whole, long double from, long double to) {
    long double worst = 0;
    for (long double t = from; t < to; t += 100)
      for (short sat : {1, 105, 211}) {
        xyzt a, b, va, vb;
        eph.CalcSatPosition(sat, At(t), a, va);
        whole.CalcSatPosition(sat, At(t), b, vb);
        worst = std::max(
            {worst, (a.GetXYZ() - b.GetXYZ()).GetLength(), std::fabs(a.GetT() - b.GetT()) * c});
      }
    return worst;
  }
  void ReadJoined(const std::string& main, const std::vector<std::string>& others) {
    eph.SetFile(main.c_str());
    for (const std::string& o : others) eph.AddFile(o.c_str());
    eph.ReadFile();
  }
};

}  // namespace

// A day cut into two files and joined gives the positions and clocks of the whole
// day, whichever of the two is the main file; the first file alone is off by
// metres near its end.
TEST_F(GNSSpEphJoinTest, DayInTwoFilesGivesTheWholeDay) {
  GNSSpEph whole;
  const std::string all = Part("all.sp3", 0, 96);
  whole.SetFile(all.c_str());
  whole.ReadFile();
  const std::string a = Part("a.sp3", 0, 48), b = Part("b.sp3", 48, 96);
  testing::internal::CaptureStderr();
  ReadJoined(a, {b});
  EXPECT_EQ(eph.GetNEpoch(), 96);
  EXPECT_EQ(Largest(whole, 0, 96 * 900), 0.0L);
  eph = GNSSpEph();
  ReadJoined(b, {a});
  EXPECT_EQ(eph.GetMJD(0), At(0));
  EXPECT_EQ(Largest(whole, 0, 96 * 900), 0.0L);
  eph = GNSSpEph();
  ReadJoined(a, {});
  EXPECT_GT(Largest(whole, 47 * 900, 48 * 900), 0.01L);
  testing::internal::GetCapturedStderr();
}

// Previous, current and next day sharing their midnight epochs: the current
// day's values are kept there, a missing satellite is taken from the neighbour,
// and a difference above 0.1 m is warned of.
TEST_F(GNSSpEphJoinTest, SharedMidnightKeepsTheMainFile) {
  GNSSpEph whole;
  const std::string all = Part("all.sp3", 0, 60);
  whole.SetFile(all.c_str());
  whole.ReadFile();
  Sp3 main;
  main.epochs = sp3fixture::Epochs(21, 900, 20 * 900.0L);  // shares epochs 20 and 40
  main.zero = {{20, 1}};                                   // R05 missing at epoch 20
  testsupport::WriteFile(dir.File("main.sp3"), main.Text());
  // The next file's G01 at epoch 40 lies 0.5 m off.
  std::string next = dir.File("next.sp3");
  Sp3 nf;
  nf.epochs = sp3fixture::Epochs(20, 900, 40 * 900.0L);
  std::string text = nf.Text();
  const size_t at = text.find("PG01", text.find("*  2020"));
  long double p[3];
  sp3fixture::Orbit(0, 40 * 900.0L, p);
  char x[32];
  std::snprintf(x, sizeof x, "%14.6f", static_cast<double>(p[0] / 1000 + 0.0005));
  text.replace(at + 4, 14, x);
  testsupport::WriteFile(next, text);
  testing::internal::CaptureStdout();
  ReadJoined(dir.File("main.sp3"), {Part("prev.sp3", 0, 21), next});
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(eph.GetNEpoch(), 60);
  EXPECT_NE(out.find("PRECISE EPHEMERIS FILES DIFFER AT THEIR COMMON EPOCH: 1 SATELLITES BY UP TO "
                     "0.500 m - VALUES OF THE FILE GIVEN FIRST ARE KEPT: " +
                     next),
            std::string::npos)
      << out;
  testing::internal::CaptureStderr();
  EXPECT_LT(Largest(whole, 0, 59 * 900), 1e-9L);
  testing::internal::GetCapturedStderr();
}

TEST_F(GNSSpEphJoinTest, FileThatLeavesAGapIsNotJoined) {
  testing::internal::CaptureStdout();
  const std::string far = Part("far.sp3", 60, 96);
  ReadJoined(Part("a.sp3", 0, 48), {far});
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "PRECISE EPHEMERIS FILE DOES NOT JOIN THE SERIES (GAP) - NOT USED: " + far),
            std::string::npos);
  EXPECT_EQ(eph.GetNEpoch(), 48);
}

// Near the ends of the series the window cannot be centred: one warning for all
// such epochs; none in the middle.
TEST_F(GNSSpEphJoinTest, OffCentreWindowWarnsOnce) {
  ReadJoined(Part("a.sp3", 0, 48), {});
  xyzt pos, vel;
  testing::internal::CaptureStderr();
  eph.CalcSatPosition(1, At(20 * 900), pos, vel);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  eph.CalcSatPosition(1, At(100), pos, vel);
  eph.CalcSatPosition(1, At(47 * 900), pos, vel);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err,
            "\n#### Tervan: Warning -> EPOCH NEAR THE END OF THE PRECISE ORBITS: INTERPOLATION NOT "
            "CENTRED - GIVE THE ORBIT FILE OF THE NEIGHBOURING DAY! ####\n     Continuing Tervan "
            "... \n\n");
}

// Files that join without a shared epoch but jump between them (the next file's
// G01 lies 0.5 m off at its first epoch): a warning; a smooth join gives none.
TEST_F(GNSSpEphJoinTest, JumpAtAJoinWithoutSharedEpochWarns) {
  Sp3 nf;
  nf.epochs = sp3fixture::Epochs(20, 900, 20 * 900.0L);
  std::string text = nf.Text();
  const size_t at = text.find("PG01", text.find("*  2020"));
  long double p[3];
  sp3fixture::Orbit(0, 20 * 900.0L, p);
  char x[32];
  std::snprintf(x, sizeof x, "%14.6f", static_cast<double>(p[0] / 1000 + 0.0005));
  text.replace(at + 4, 14, x);
  const std::string next = dir.File("next.sp3");
  testsupport::WriteFile(next, text);
  testing::internal::CaptureStdout();
  ReadJoined(Part("a.sp3", 0, 20), {next});
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("PRECISE EPHEMERIS FILES DO NOT JOIN SMOOTHLY: 1 SATELLITES OFF THE "
                     "NEIGHBOURING NODES BY UP TO 0.5"),
            std::string::npos)
      << out;
  EXPECT_EQ(eph.GetNEpoch(), 40);
  eph = GNSSpEph();
  testing::internal::CaptureStdout();
  ReadJoined(Part("a.sp3", 0, 20), {Part("b.sp3", 20, 40)});
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}
