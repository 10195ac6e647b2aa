// The operations that transform single-difference data in place.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "gnss/GNSSLinCombs.h"
#include "gnss/mGNSSc.h"
#include "sdiff/PhsDiffData.h"

namespace {

const long double kM = 299792.458L;

// Header with the given types and data with the given satellites in every
// epoch, 30 s apart, all values missing.
struct DataSet {
  PhsDiffHeader h;
  PhsDiffData d{h};
  DataSet(std::vector<short> types, std::vector<short> sats, long neph) {
    matrix<short> codes(static_cast<long>(types.size()), 1);
    for (size_t k = 0; k < types.size(); ++k) codes(static_cast<long>(k)) = types[k];
    h.SetObsTypes(codes);
    h.SetHasObservations(true);
    long ns = static_cast<long>(sats.size());
    d.SetNRecords(neph, neph * ns);
    d.SetData();
    for (long e = 0; e < neph; ++e) {
      d.epoch(e) = mjd(59000, 30.0L * e);
      d.nsat(e) = static_cast<short>(ns);
      for (long i = 0; i < ns; ++i) d.sat(e * ns + i) = sats[static_cast<size_t>(i)];
    }
    d.satList.Resize(ns);
    std::vector<short> sorted = sats;
    std::sort(sorted.begin(), sorted.end());
    for (long i = 0; i < ns; ++i) d.satList(i) = sorted[static_cast<size_t>(i)];
  }
};

using namespace sdobs;

}  // namespace

namespace {

// Four epochs of GPS, GLONASS and Galileo records whose codes carry a clock
// jump of `jumps` ms from epoch 2 on while the phases do not.
struct JumpSet : DataSet {
  JumpSet(std::vector<short> types, std::vector<short> sats, long double jumps)
      : DataSet(types, sats, 4) {
    GLONASSc::SetFrequency(1, 0);  // slot 1
    const long ns = static_cast<long>(sats.size());
    for (long e = 0; e < 4; ++e)
      for (long i = 0; i < ns; ++i) {
        long r = e * ns + i;
        short sat = d.sat(r);
        long double l1 = GPSc::lamb1, l2 = sat > 200 ? GALILEOc::lamb2 : GPSc::lamb2;
        if (sat == 101) l1 = GLONASSc::lamb(0, 0), l2 = GLONASSc::lamb(0, 1);
        long double rho = 20000000.0L + 1000.0L * i + 120.0L * e;  // geometry [m]
        long double jump = e >= 2 ? jumps * kM : 0.0L;
        if (h.iC1) d.C1(r) = rho + jump;
        if (h.iP1) d.P1(r) = rho + 0.3L + jump;
        d.L1(r) = rho / l1;
        if (sat > 200) {
          if (h.iC7) d.C7(r) = rho + 0.7L + jump;
          if (h.iL7) d.L7(r) = rho / l2;
        } else {
          d.P2(r) = rho + 0.5L + jump;
          d.L2(r) = rho / l2;
        }
      }
  }
};

}  // namespace

// Every system's phases follow the codes from the jump epoch on, the jump epoch
// itself included.
TEST(PhsDiffData, MillisecondJumpIsRemovedFromThePhasesOfEverySystem) {
  JumpSet s({C1, L1, L2, P2, C7, L7}, {3, 5, 101, 201}, 1);
  PhsDiffData& d = s.d;
  std::vector<long double> L1b(16), L2b(16), L7b(16);
  for (long r = 0; r < 16; ++r) {
    L1b[r] = d.L1(r).GetObs();
    L2b[r] = d.L2(r).GetObs();
    L7b[r] = d.L7(r).GetObs();
  }
  long n = -1;
  EXPECT_EQ(d.CorrMSJumps(n), 1);
  EXPECT_EQ(n, 1);
  for (long r = 0; r < 16; ++r) {
    const long e = r / 4;
    const short sat = d.sat(r);
    long double l1 = sat == 101 ? GLONASSc::lamb(0, 0) : GPSc::lamb1;
    long double l2 = sat == 101 ? GLONASSc::lamb(0, 1) : sat > 200 ? GALILEOc::lamb2 : GPSc::lamb2;
    const long double S = e >= 2 ? kM : 0.0L;
    EXPECT_NEAR(static_cast<double>(d.L1(r).GetObs() - L1b[r]), static_cast<double>(S / l1), 1e-6)
        << "record " << r;
    const long double second = sat > 200 ? d.L7(r).GetObs() - L7b[r] : d.L2(r).GetObs() - L2b[r];
    EXPECT_NEAR(static_cast<double>(second), static_cast<double>(S / l2), 1e-6) << "record " << r;
  }
  EXPECT_EQ(d.CorrMSJumps(n), 0);  // now consistent
}

// A Galileo-only file detects its jumps from C1, C7, L1 and L7; a file without
// C1 from P1.
TEST(PhsDiffData, MillisecondJumpsOfGalileoOnlyAndOfP1Files) {
  JumpSet gal({C1, L1, C7, L7}, {201, 205, 211}, -2);
  long n = -1;
  long double before = gal.d.L7(10).GetObs();
  EXPECT_EQ(gal.d.CorrMSJumps(n), 1);
  EXPECT_NEAR(static_cast<double>(gal.d.L7(10).GetObs() - before),
              static_cast<double>(-2 * kM / GALILEOc::lamb2), 1e-6);
  JumpSet p1({P1, L1, L2, P2}, {3, 5, 7}, 1);
  EXPECT_EQ(p1.d.CorrMSJumps(n), 1);
  EXPECT_EQ(p1.d.CorrMSJumps(n), 0);
}

TEST(PhsDiffData, MillisecondJumpsNeedManyCommonSatellitesHandled) {
  // 150 common satellites: all enter the estimate.
  std::vector<short> sats;
  for (short i = 1; i <= 99; ++i) sats.push_back(i);
  for (short i = 101; i <= 151; ++i) sats.push_back(i);
  for (short slot = 0; slot < 32; ++slot) GLONASSc::SetFrequency(0, slot);
  DataSet s({C1, L1, L2, P2}, sats, 2);
  PhsDiffData& d = s.d;
  for (long r = 0; r < d.GetNObs(); ++r) {
    long double jump = r >= 150 ? -2 * kM : 0.0L;
    d.C1(r) = d.P2(r) = 2.0e7L + jump;
    d.L1(r) = d.L2(r) = 1000.0L;
  }
  long n;
  EXPECT_EQ(d.CorrMSJumps(n), 1);
  EXPECT_EQ(d.L1(150).GetObs(), 1000.0L - 2 * kM / GPSc::lamb1);
}

TEST(PhsDiffData, GeometryFreeZeroIsStoredAs0005) {
  DataSet s({L1, L2}, {7}, 2);
  s.d.L2(0) = 1000.0L;
  s.d.L1(0) = 1000.0L * GPSc::lamb2 / GPSc::lamb1;
  s.d.L1(1) = 5.0L;  // L2 missing in epoch 1
  s.d.SetLC_L4();
  EXPECT_TRUE(s.h.HasL4());
  EXPECT_EQ(s.d.L4(0).GetObs(), 0.0005L);
  EXPECT_TRUE(s.d.L4(1).IsNull());
  s.d.SetLC_L3();
  GLC::SetGPS();
  EXPECT_EQ(s.d.L3(0).GetObs(), GNSS_L3(s.d.L1(0).GetObs(), 1000.0L));
}

TEST(PhsDiffData, PhaseCombinationsUseTheSystemOfTheRecord) {
  GLONASSc::SetFrequency(-3, 4);
  DataSet s({L1, L2, L7}, {12, 105, 211}, 1);
  PhsDiffData& d = s.d;
  for (long r = 0; r < 3; ++r) {
    d.L1(r) = 1000.0L + r;
    d.L2(r) = 700.0L + r;
    d.L7(r) = 600.0L + r;
  }
  d.SetLC_L3();
  long double glo = GLONASSc::LCion1 * GLONASSc::lamb(4, 0) * 1001.0L -
                    GLONASSc::LCion2 * GLONASSc::lamb(4, 1) * 701.0L;
  EXPECT_NEAR(static_cast<double>(d.L3(1).GetObs()), static_cast<double>(glo), 1e-9);
  long double gal =
      GALILEOc::LCion1 * GALILEOc::lamb1 * 1002.0L - GALILEOc::LCion2 * GALILEOc::lamb2 * 602.0L;
  EXPECT_NEAR(static_cast<double>(d.L3(2).GetObs()), static_cast<double>(gal), 1e-9);
}

TEST(PhsDiffData, GalileoIonosphereFreeCodeWithAndWithoutC7) {
  DataSet noC7({C1, P2}, {9, 214}, 1);
  noC7.d.C1(0) = noC7.d.C1(1) = 2.3e7L;
  noC7.d.P2(0) = noC7.d.P2(1) = 2.3e7L + 4.0L;
  noC7.d.SetLC_PC3();
  EXPECT_TRUE(noC7.h.HasPC3());
  long double gps = GPSc::LCion1 * 2.3e7L - GPSc::LCion2 * (2.3e7L + 4.0L);
  EXPECT_NEAR(static_cast<double>(noC7.d.PC3(1).GetObs()), static_cast<double>(gps), 1e-7);

  DataSet withC7({C1, P2, C7}, {9, 214, 215, 105}, 1);
  PhsDiffData& d = withC7.d;
  for (long r = 0; r < 4; ++r) {
    d.C1(r) = 2.3e7L;
    d.P2(r) = 2.3e7L + 4.0L;
  }
  d.C7(2) = 2.3e7L + 5.0L;  // satellite 215 only
  d.SetLC_PC3();
  EXPECT_NEAR(static_cast<double>(d.PC3(0).GetObs()), static_cast<double>(gps), 1e-7);
  EXPECT_TRUE(d.PC3(1).IsNull());  // Galileo without C7
  long double gal = GALILEOc::LCion1 * 2.3e7L - GALILEOc::LCion2 * (2.3e7L + 5.0L);
  EXPECT_NEAR(static_cast<double>(d.PC3(2).GetObs()), static_cast<double>(gal), 1e-7);
  EXPECT_EQ(d.PC3(3).GetObs(), 2.53125L * 2.3e7L - 1.53125L * (2.3e7L + 4.0L));
  d.SetLC_PP3();  // no P1 in the file
  EXPECT_FALSE(withC7.h.HasPP3());
}

TEST(PhsDiffData, MelbourneWuebbenaNeedsItsFirstCode) {
  DataSet s({C1, L1, L2, P2}, {4, 230}, 1);
  s.d.C1(0) = 2.0e7L;
  s.d.P2(0) = 2.0e7L + 3.0L;
  s.d.L1(0) = 1.0e8L;
  s.d.L2(0) = 7.8e7L;
  s.d.C1(1) = s.d.P2(1) = s.d.L1(1) = s.d.L2(1) = 1.0e7L;
  s.d.SetLC_MW(false);  // P1 wanted but absent: no fallback to C1
  EXPECT_FALSE(s.h.HasMW());
  s.d.SetLC_MW(true);
  ASSERT_TRUE(s.h.HasMW());
  GLC::SetGPS();
  EXPECT_EQ(s.d.MW(0).GetObs(), GNSS_MW(1.0e8L, 7.8e7L, 2.0e7L, 2.0e7L + 3.0L));
  EXPECT_TRUE(s.d.MW(1).IsNull());  // Galileo without L7 and C7
}

// Without C1 (in the file or in a record) the first code is P1.
TEST(PhsDiffData, MelbourneWuebbenaTakesP1WhereC1IsMissing) {
  DataSet s({C1, P1, L1, L2, P2}, {4, 6}, 1);
  s.d.C1(0) = 2.0e7L;
  for (long r = 0; r < 2; ++r) {
    s.d.P1(r) = 2.0e7L + 1.0L;
    s.d.P2(r) = 2.0e7L + 3.0L;
    s.d.L1(r) = 1.0e8L;
    s.d.L2(r) = 7.8e7L;
  }
  s.d.SetLC_MW(true);
  GLC::SetGPS();
  EXPECT_EQ(s.d.MW(0).GetObs(), GNSS_MW(1.0e8L, 7.8e7L, 2.0e7L, 2.0e7L + 3.0L));
  EXPECT_EQ(s.d.MW(1).GetObs(), GNSS_MW(1.0e8L, 7.8e7L, 2.0e7L + 1.0L, 2.0e7L + 3.0L));
  DataSet noC1({P1, L1, L2, P2}, {4}, 1);
  noC1.d.P1(0) = 2.0e7L + 1.0L;
  noC1.d.P2(0) = 2.0e7L + 3.0L;
  noC1.d.L1(0) = 1.0e8L;
  noC1.d.L2(0) = 7.8e7L;
  noC1.d.SetLC_MW(true);
  ASSERT_TRUE(noC1.h.HasMW());
  EXPECT_EQ(noC1.d.MW(0).GetObs(), s.d.MW(1).GetObs());
}

namespace {

// Two satellites per epoch, 30 s apart; satellite 5 has the given L4 values
// (metres) and satellite 3 a flat L4; both seen at 30 degrees.
struct L4Set : DataSet {
  matrix<long double> E;
  explicit L4Set(const std::vector<long double>& l4)
      : DataSet({L1, L2}, {3, 5}, static_cast<long>(l4.size())) {
    h.iL4 = true;
    d.L4.Resize(d.GetNObs(), 1, gnssobs());
    E.Resize(d.GetNObs(), 2, 0.5236L);
    for (size_t e = 0; e < l4.size(); ++e) {
      d.L4(2 * static_cast<long>(e)) = 0.1L;
      d.L4(2 * static_cast<long>(e) + 1) = l4[e];
    }
  }
  std::vector<AmbArc> ArcsOf(short s) const {
    std::vector<AmbArc> v;
    for (const AmbArc& a : d.GetAmbArcs())
      if (a.sat == s) v.push_back(a);
    return v;
  }
};

std::vector<long double> Ramp(int n, long double step) {
  std::vector<long double> v;
  for (int i = 0; i < n; ++i) v.push_back(0.2L + step * i);
  return v;
}

}  // namespace

TEST(PhsDiffData, L4ScreeningSplitsAnArcAtASlip) {
  std::vector<long double> l4 = Ramp(20, 0.001L);
  for (int i = 10; i < 20; ++i) l4[i] += 0.5L;
  L4Set s(l4);
  long n = 0;
  s.d.ScreenL4Linear(s.E, 0.1745L, 5, 0.03L, 0.01L, 30.5L, n);
  EXPECT_EQ(n, 3);  // satellite 3 whole, satellite 5 in two
  std::vector<AmbArc> arcs = s.ArcsOf(5);
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(arcs[0], (AmbArc{5, 0, 0, 9, 10}));
  EXPECT_EQ(arcs[1], (AmbArc{5, 10, 20, 19, 10}));
}

TEST(PhsDiffData, L4ScreeningRefusesARoughStart) {
  std::vector<long double> l4 = Ramp(20, 0.001L);
  l4[0] += 0.3L;  // a rough first value: no smooth start there
  L4Set s(l4);
  long n = 0;
  s.d.ScreenL4Linear(s.E, 0.1745L, 5, 0.03L, 0.01L, 30.5L, n);
  std::vector<AmbArc> arcs = s.ArcsOf(5);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ(arcs[0], (AmbArc{5, 1, 2, 19, 19}));
}

// A low satellite at 1 s: L4 noise of 1 cm gives second differences of 2.4 cm
// sigma, about half the fixed limit (4.9 cm). The noise alone cuts nothing; a
// step well above the noise still cuts the arc.
TEST(PhsDiffData, L4ScreeningLimitGrowsWithTheNoise) {
  std::mt19937 gen(11);
  std::normal_distribution<double> noise(0.0, 0.01);
  std::vector<long double> l4 = Ramp(2000, 0.0001L);
  for (long double& v : l4) v += noise(gen);
  const long double dt = (0.0494L - 0.01L) / std::sqrt(30.5L);  // limit 4.94 cm
  for (long double step : {0.0L, 0.3L}) {
    std::vector<long double> v = l4;
    for (size_t i = 1000; i < v.size(); ++i) v[i] += step;
    L4Set s(v);
    long n = 0;
    s.d.ScreenL4Linear(s.E, 0.1745L, 100, 0.03L, dt, 30.5L, n);
    std::vector<AmbArc> arcs = s.ArcsOf(5);
    ASSERT_EQ(arcs.size(), step > 0 ? 2u : 1u) << "step " << static_cast<double>(step);
    if (step > 0) {
      EXPECT_EQ(arcs[0].lastEpoch, 999);
      EXPECT_LE(arcs[1].firstEpoch, 1003);
    }
  }
}

TEST(PhsDiffData, L4ScreeningEndsArcsAtGapsAndLowElevations) {
  L4Set s(Ramp(20, 0.001L));
  s.d.epoch(12) = mjd(59000, 30.0L * 12 + 60);  // 90 s gap before epoch 12
  for (long e = 12; e < 20; ++e) s.d.epoch(e) = mjd(59000, 30.0L * e + 60);
  s.E(2 * 4 + 1, 1) = 0.1L;  // satellite 5 low at the ROVER in epoch 4
  long n = 0;
  s.d.ScreenL4Linear(s.E, 0.1745L, 5, 0.03L, 0.01L, 30.5L, n);
  std::vector<AmbArc> arcs = s.ArcsOf(5);
  ASSERT_EQ(arcs.size(), 2u);
  EXPECT_EQ(arcs[0], (AmbArc{5, 5, 10, 11, 7}));  // epochs 0-3 are too few
  EXPECT_EQ(arcs[1], (AmbArc{5, 12, 24, 19, 8}));
}

TEST(PhsDiffData, MwScreeningSplitsAnArcAtALevelChange) {
  DataSet s({L1, L2}, {3, 5}, 20);
  s.h.iMW = true;
  s.d.MW.Resize(40, 1, gnssobs());
  for (long e = 0; e < 20; ++e) {
    s.d.MW(2 * e) = 1.0L;
    s.d.MW(2 * e + 1) = e < 10 ? 2.0L + 0.01L * (e % 2) : 7.0L;
  }
  s.d.ambArcs = {{3, 0, 0, 19, 20}, {5, 0, 0, 19, 20}};
  long n = 2;
  s.d.ScreenMW(0.86L, 5, n);
  ASSERT_EQ(n, 3);
  const std::vector<AmbArc>& a = s.d.GetAmbArcs();
  EXPECT_EQ(a[0], (AmbArc{3, 0, 0, 19, 20}));  // flat: unchanged
  EXPECT_EQ(a[1], (AmbArc{5, 0, 0, 9, 9}));
  EXPECT_EQ(a[2], (AmbArc{5, 10, 20, 18, 8}));
}

TEST(PhsDiffData, MwScreeningKeepsIsolatedOutliersAndSingleValues) {
  DataSet s({L1, L2}, {5}, 20);
  s.h.iMW = true;
  s.d.MW.Resize(20, 1, gnssobs());
  for (long e = 0; e < 20; ++e) s.d.MW(e) = 2.0L;
  s.d.MW(7) = 9.0L;  // outlier
  s.d.ambArcs = {{5, 0, 0, 19, 20}, {5, 3, 3, 3, 1}};
  long n = 2;
  s.d.ScreenMW(0.86L, 5, n);
  ASSERT_EQ(n, 2);
  EXPECT_EQ(s.d.GetAmbArcs()[0], (AmbArc{5, 0, 0, 18, 17}));
  EXPECT_EQ(s.d.GetAmbArcs()[1], (AmbArc{5, 3, 3, 3, 1}));  // one value: no spread
}

// Splits from a test outside the class: only the satellite's arcs that hold the
// epoch are cut, short pieces are dropped; a boundary moves with the counts.
TEST(PhsDiffData, ArcsSplitAndBoundariesMoveAtGivenEpochs) {
  DataSet s({L1, L2}, {3, 5}, 40);
  s.d.ambArcs = {{3, 0, 0, 39, 40}, {5, 0, 0, 19, 20}, {5, 20, 40, 39, 20}};
  long n = 0;
  s.d.SplitArcsBefore(5, {10, 23, 20}, 5, n);  // 20 starts an arc: no split
  EXPECT_EQ(n, 2);
  const std::vector<AmbArc>& a = s.d.GetAmbArcs();
  ASSERT_EQ(a.size(), 4u);  // epochs 20-22 are too few and dropped
  EXPECT_EQ(a[0], (AmbArc{3, 0, 0, 39, 40}));
  EXPECT_EQ(a[1], (AmbArc{5, 0, 0, 9, 10}));
  EXPECT_EQ(a[2], (AmbArc{5, 10, 20, 19, 10}));
  EXPECT_EQ(a[3], (AmbArc{5, 23, 46, 39, 17}));
  EXPECT_TRUE(s.d.MoveArcStart(2, 12));
  EXPECT_EQ(a[1], (AmbArc{5, 0, 0, 11, 12}));
  EXPECT_EQ(a[2], (AmbArc{5, 12, 24, 19, 8}));
  EXPECT_FALSE(s.d.MoveArcStart(2, 0));   // the earlier arc would be empty
  EXPECT_FALSE(s.d.MoveArcStart(1, 5));   // another satellite before
  EXPECT_FALSE(s.d.MoveArcStart(3, 30));  // epochs 20-22 lie between: no touch
}
