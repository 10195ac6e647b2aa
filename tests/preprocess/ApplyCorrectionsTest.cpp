// Satellite geometry and model terms. Truth: a noise-free simulated dataset against
// the simulator's own geometry (elevations, azimuths, relativistic path range and the
// troposphere at the simulator's elevation) with precise and with broadcast orbits.
// Edge cases on small contexts built on the same simulated orbits.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "../driver/DriverTestUtil.h"
#include "driver/Tervan_ReadFiles.h"
#include "gnss/g_lg.h"
#include "gnss/mGNSSc.h"
#include "gnss/xyz_flh.h"
#include "preprocess/Tervan_ApplyCorrections.h"
#include "preprocess/Tervan_GetInitPos.h"
#include "sim/Dataset.h"
#include "sim/Simulator.h"
#include "sim/Time.h"
#include "support/TestSupport.h"

namespace {

constexpr long double kTwoPi = 2.0L * 3.141592653589793L;

// One noise-free hour of GPS, GLONASS and Galileo without ionosphere, the ROVER epochs
// tagged 0.8 ms late, written once.
class SimulatedHour : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testsupport::TempDir();
    sim::Scenario sc;
    std::string msg;
    sim::ParseScenario({"--noise-free", "--no-ionosphere", "--duration", "3600",
                        "--rover-tag-offset", "0.8", "--out", dir_->Path()},
                       sc, msg);
    sim_ = new sim::Simulator(sc);
    sim_->Run();
    ASSERT_TRUE(sim::WriteDataset(*sim_, msg)) << msg;
  }
  static void TearDownTestSuite() {
    delete sim_;
    delete dir_;
  }
  static std::string File(const std::string& name) { return dir_->File(name); }

  // The run context after the receiver and geometry stages, with the orbit options.
  static std::unique_ptr<TervanC> Run(const std::vector<std::string>& orbits) {
    const sim::DatasetFiles f;
    std::vector<std::string> args = {"-r" + File(f.SingleDifferences(sim_->Sc())),
                                     "-gf" + File(f.channels),
                                     "-csGRE",
                                     "-lPc3,L3",
                                     "-tmSAAST,NIELL",
                                     "-xSTA",
                                     "-pcosz"};
    args.insert(args.end(), orbits.begin(), orbits.end());
    auto tc = std::make_unique<TervanC>();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    drivertest::Parse(*tc, args);
    CheckArgumetns(*tc);
    SetFiles(*tc);
    ReadFiles(*tc);
    GetReceiverProperties(*tc);
    ApplyCorrections(*tc);
    report_ = testing::internal::GetCapturedStdout();
    warnings_ = testing::internal::GetCapturedStderr();
    return tc;
  }

  // Model terms of the simulated observation of satellite number sat at nominal epoch t
  // (seconds from the start) at a station; nullptr when it has none.
  static const sim::ObsTerms* Observation(sim::Station st, long double t, short sat) {
    for (const sim::StationEpoch& ep : sim_->Epochs(st)) {
      if (std::fabs(ep.tag - sim_->Sc().StartSeconds() - t) > 0.5L) continue;
      for (const sim::RawObs& o : ep.obs)
        if (sim_->Sats().Sat(o.sat).number == sat) return &ep.Terms(o);
    }
    return nullptr;
  }

  static void CompareWithTruth(TervanC& tc, long double angle, long double angleGlonass);

  static testsupport::TempDir* dir_;
  static sim::Simulator* sim_;
  static std::string report_, warnings_;
};
testsupport::TempDir* SimulatedHour::dir_ = nullptr;
sim::Simulator* SimulatedHour::sim_ = nullptr;
std::string SimulatedHour::report_, SimulatedHour::warnings_;

// Troposphere of the run's model at the simulator's elevation (m).
long double ModelTroposphere(TervanC& tc, int station, const mjd& t, long double elevation) {
  gTropModel m;
  m.SetTropModel(tc.TrpModel);
  m.SetMappFunction(tc.TrpMappFun);
  gTropDelay d;
  const flh pos = station == 0 ? tc.RecPosFCG_BASE : tc.RecPosFCG_ROVER;
  m.SetPoint(tc.sdh.GetMarkerName(station));
  m.SetAtmParams(pos);
  m.GetZenithDelay(d, pos, t);
  m.GetMappFunction(d, pos, t, elevation);
  return d.Delay();
}

// Reception epoch of a station in epoch i (GPS time).
mjd StationEpoch(const TervanC& tc, int station, long i) {
  mjd t = tc.sdd.epoch(i);
  t += station == 0 ? -tc.sdd.clkErB(i) : tc.sdd.dtR_B(i) - tc.sdd.clkErR(i);
  return t;
}

// Elevation and azimuth agree to angle (rad) except for GLONASS satellites, which
// agree to angleGlonass: the simulator's GLONASS broadcast records reproduce its
// orbits to a few centimetres only.
void SimulatedHour::CompareWithTruth(TervanC& tc, long double angle, long double angleGlonass) {
  const mjd start = tc.sdd.epoch(0);
  long compared = 0, off = 0;
  long double worstAngle[2] = {0, 0}, worstRel = 0, worstTrop = 0;
  for (long i = 0; i < tc.sdd.neph; off += tc.sdd.nsat(i), ++i) {
    const long double t = tc.sdd.epoch(i) - start;
    for (long r = off; r < off + tc.sdd.nsat(i); ++r) {
      ASSERT_TRUE(tc.OKSAT(r)) << r;
      for (int st = 0; st < 2; ++st) {
        const sim::ObsTerms* o = Observation(st == 0 ? sim::kBase : sim::kRover, t, tc.sdd.sat(r));
        ASSERT_NE(o, nullptr);
        const long double de = tc.ELV(r, st) - o->elevation;
        const long double da = std::remainder(tc.AZM(r, st) - o->azimuth, kTwoPi);
        const long double dr = tc.REL2(r, st) - o->shapiro;
        const long double dt =
            tc.TROP(r, st) - ModelTroposphere(tc, st, StationEpoch(tc, st, i), o->elevation);
        long double& w = worstAngle[tc.sdd.sat(r) > 100 && tc.sdd.sat(r) < 200];
        w = std::max({w, std::fabs(de), std::fabs(da) * std::cos(o->elevation)});
        worstRel = std::max(worstRel, std::fabs(dr));
        worstTrop = std::max(worstTrop, std::fabs(dt));
        ++compared;
      }
    }
  }
  EXPECT_GT(compared, 5000);
  EXPECT_LT(worstAngle[0], angle);
  EXPECT_LT(worstAngle[1], angleGlonass);
  EXPECT_LT(worstRel, 1e-4L);
  EXPECT_LT(worstTrop, 1e-4L);
  std::printf("  %ld values: worst angle %.2Le rad (GLONASS %.2Le), REL2 %.2Le m, TROP %.2Le m\n",
              compared, worstAngle[0], worstAngle[1], worstRel, worstTrop);
}

TEST_F(SimulatedHour, GeometryOfPreciseOrbitsIsTheSimulatorsGeometry) {
  const sim::DatasetFiles f;
  auto tc = Run({"-ep" + File(f.sp3), "-ec" + File(f.clock)});
  CompareWithTruth(*tc, 1e-9L, 1e-9L);
}

TEST_F(SimulatedHour, GeometryOfBroadcastOrbitsIsTheSimulatorsGeometry) {
  const sim::DatasetFiles f;
  auto tc = Run({"-eg" + File(f.gpsNav), "-er" + File(f.glonassNav), "-ee" + File(f.galileoNav)});
  CompareWithTruth(*tc, 1e-9L, 5e-9L);
}

// --- Edge cases on contexts of their own -------------------------------------

mjd SimEpoch(long double seconds) {
  return mjd(sim::Mjd(seconds), sim::SecondsOfDay(seconds));
}

// Epochs (seconds from the simulated start), each with the same satellites, and the
// receiver clocks zero.
void SetData(TervanC& tc, long double start, const std::vector<long double>& seconds,
             const std::vector<short>& sats) {
  PhsDiffData& d = tc.sdd;
  d.neph = static_cast<long>(seconds.size());
  d.nobs = d.neph * static_cast<long>(sats.size());
  d.epoch.Resize(d.neph, 1, mjd());
  d.nsat.Resize(d.neph, 1, static_cast<short>(sats.size()));
  for (matrix<long double>* m : {&d.dtR_B, &d.clkErB, &d.clkErR}) m->Resize(d.neph, 1, 0.0L);
  d.sat.Resize(d.nobs, 1, 0);
  for (long i = 0; i < d.neph; ++i) {
    d.epoch(i) = SimEpoch(start + seconds[i]);
    for (size_t k = 0; k < sats.size(); ++k) d.sat(i * sats.size() + k) = sats[k];
  }
  d.satList.Resize(static_cast<long>(sats.size()), 1, 0);
  for (size_t k = 0; k < sats.size(); ++k) d.satList(k) = sats[k];
}

// Both stations' markers and reference points.
void SetStations(TervanC& tc, const xyz& base, const xyz& rover) {
  tc.RecPos0_BASE = tc.RecPosFC_BASE = base;
  tc.RecPos0_ROVER = tc.RecPosFC_ROVER = rover;
  tc.RecPosFCG_BASE = xyz2flh(base, tc.eGPS);
  tc.RecPosFCG_ROVER = xyz2flh(rover, tc.eGPS);
  tc.RecMag_BASE = base.GetLength();
  tc.RecMag_ROVER = rover.GetLength();
  tc.RecPosUnit_BASE = base.GetUnitVector();
  tc.RecPosUnit_ROVER = rover.GetUnitVector();
}

class SmallContexts : public SimulatedHour {
 protected:
  xyz Base() const {
    const sim::Vec3& p = sim_->Position(sim::kBase);
    return xyz(p.x, p.y, p.z);
  }
  long double Start() const { return sim_->Sc().StartSeconds(); }
  // Satellites of a system seen by the BASE ten minutes after the start.
  std::vector<short> Visible(char system) const {
    std::vector<short> out;
    for (const sim::RawObs& o : sim_->Epochs(sim::kBase)[20].obs)
      if (sim_->Sats().Sat(o.sat).system == system) out.push_back(sim_->Sats().Sat(o.sat).number);
    return out;
  }
  void UsePreciseOrbits(TervanC& tc) {
    tc.pephM.SetFile(File(sim::DatasetFiles().sp3).c_str());
    tc.pephM.ReadFile();
    tc.isPEph = tc.isGPS = true;
  }
  // CalculateAE with its report and warnings captured.
  void Calculate(TervanC& tc) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    CalculateAE(tc);
    report_ = testing::internal::GetCapturedStdout();
    warnings_ = testing::internal::GetCapturedStderr();
  }
};

TEST_F(SmallContexts, IdenticalElevationsWeighBySinSquaredAndMissingPositionsStayZero) {
  TervanC tc;
  const short seen = Visible('G').at(0), absent = 31;  // G31 is not in the orbit file
  SetData(tc, Start(), {600}, {seen, absent});
  SetStations(tc, Base(), Base());
  UsePreciseOrbits(tc);
  tc.obsP = 1;
  tc.isSolidTide = tc.isTrpModel = true;
  tc.trpmodel.SetTropModel(0);
  tc.trpmodel.SetMappFunction(0);
  Calculate(tc);
  ASSERT_TRUE(tc.OKSAT(0));
  EXPECT_EQ(tc.ELV(0, 0), tc.ELV(0, 1));
  const long double s = std::sin(tc.ELV(0, 0));
  EXPECT_NEAR(tc.WGHT(0), s * s, 1e-15L);
  EXPECT_GT(tc.TROP(0, 0), 2.0L);
  EXPECT_FALSE(tc.OKSAT(1));
  EXPECT_EQ(tc.WGHT(1), 1.0L);
  for (int c = 0; c < 2; ++c) {
    for (matrix<long double>* m : {&tc.ELV, &tc.AZM, &tc.REL2, &tc.SETIDE, &tc.TROP})
      EXPECT_EQ((*m)(1, c), 0.0L);
    EXPECT_EQ(tc.SAT_POS(1, c).GetLength(), 0.0L);
  }
  EXPECT_NE(report_.find("  Solid Earth tide\n  Relativistic path range effect\n  Troposphere "
                         "modelling/estimation\n  Elevation dependent observation weighting\n"),
            std::string::npos)
      << report_;
}

// The range effect of a station displacement is its projection on the unit vector
// from the satellite to the station, for the pole tide and ocean loading as for the
// solid tide: a station lifted toward a satellite overhead shortens the range.
TEST_F(SmallContexts, PoleTideAndOceanLoadingAreRangeEffectsLikeTheSolidTide) {
  testsupport::TempDir dir;
  const std::string data = std::string(TERVAN_TEST_DATA) + "/station/";
  std::string blq = testsupport::ReadFile(data + "ocean.blq");
  blq.replace(blq.find("  ONSALA"), 8, "  SIMB  ");
  testsupport::WriteFile(dir.File("sim.blq"), blq);
  testsupport::WriteFile(dir.File("sim.erp"),
                         "version 2\nEOP  SOLUTION\n  MJD         X        Y     UT1-UTC    LOD\n"
                         "               10**-6\"        .1us    .1us/d\n"
                         "61205.50   250000   450000   3469742  10253\n"
                         "61206.50   251000   449000   3460025   9177\n");
  TervanC tc;
  SetData(tc, Start(), {600}, Visible('G'));
  SetStations(tc, Base(), Base());
  tc.sdh.SetMarkerName(0, "SIMB");
  tc.sdh.SetMarkerName(1, "SIMB");
  UsePreciseOrbits(tc);
  tc.ptide.SetFile(dir.File("sim.erp").c_str());
  tc.ptide.ReadFile();
  tc.otide.SetFile(dir.File("sim.blq").c_str());
  tc.otide.ReadFile();
  tc.isPTide = tc.isOTide = true;
  Calculate(tc);
  const mjd t = SimEpoch(Start() + 600);
  neu pole, ocean;
  tc.ptide.SetCalcEpoch(t);
  tc.ptide.SetMeanPole();
  tc.ptide.GetPoleTide(t, tc.RecPosFCG_BASE, pole);
  tc.otide.SetStation("SIMB");
  tc.otide.GetDisplacement(t, ocean);
  ASSERT_GT(pole.GetLength(), 1e-4L);
  ASSERT_GT(ocean.GetLength(), 1e-4L);
  for (long r = 0; r < tc.sdd.nobs; ++r) {
    ASSERT_TRUE(tc.OKSAT(r));
    const xyz sat = tc.SAT_POS(r, 0);
    const xyz toStation = (tc.RecPosFC_BASE - sat).GetUnitVector();
    EXPECT_NEAR(tc.PTIDE(r, 0), lg2g(pole, tc.RecPosFCG_BASE) * toStation, 1e-9L) << r;
    EXPECT_NEAR(tc.OTIDE(r, 0), lg2g(ocean, tc.RecPosFCG_BASE) * toStation, 1e-9L) << r;
  }
}

TEST_F(SmallContexts, GlonassSatelliteMissingFromTheChannelFileGetsChannelZero) {
  testsupport::TempDir dir;
  std::string channels = testsupport::ReadFile(File(sim::DatasetFiles().channels));
  const size_t line = channels.find("R05 ");
  channels.erase(line, channels.find('\n', line) + 1 - line);
  testsupport::WriteFile(dir.File("channels.txt"), channels);
  TervanC tc;
  SetData(tc, Start(), {600}, {105, 107});
  tc.glnfc.SetFile(dir.File("channels.txt").c_str());
  tc.glnfc.ReadFile();
  std::strcpy(tc.glnfreqch, "channels.txt");
  tc.isGLN = tc.isGLNfrch = tc.ifL3 = true;
  GLONASSc::SetFrequency(6, 4);  // R05 as a previous run left it
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  SetGlonassFrequency(tc);
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(GLONASSc::freq(4, 0), GLONASSc::freq10);
  EXPECT_EQ(GLONASSc::lamb(4, 1), GLONASSc::c / GLONASSc::freq20);
  int r07 = 0;
  for (size_t i = 0; i < sim_->Sats().Size(); ++i)
    if (sim_->Sats().Sat(i).number == 107) r07 = sim_->Sats().Sat(i).channel;
  EXPECT_EQ(GLONASSc::freq(6, 0), GLONASSc::freq10 + r07 * GLONASSc::dfreq10);
  EXPECT_NE(err.find(drivertest::Warning("GLONASS SATELLITE 105 NOT LISTED IN GLONASS FREQUENCY "
                                         "CHANNEL FILE - USING FREQ. CHANNEL k = 0!")),
            std::string::npos)
      << err;
  EXPECT_NE(out.find("  GLONASS frequency channel source    : GLONASS frequency channel file "
                     "[channels.txt]\n    Satellite:  105    f. channel:  NOT FOUND -> SETTING "
                     "TO 0.0\n    Satellite:  107    f. channel: "),
            std::string::npos)
      << out;
}

TEST_F(SmallContexts, GlonassPhasesWithoutChannelsLeaveGlonassOut) {
  TervanC tc;
  SetData(tc, Start(), {600}, {5, 105});
  tc.isGPS = tc.isGLN = tc.ifL3 = true;
  testing::internal::CaptureStderr();
  SetGlonassFrequency(tc);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(tc.isGLN);
  EXPECT_TRUE(tc.isGPS);
  EXPECT_NE(err.find("NOT PROCESSING GLONASS SYSTEM!"), std::string::npos) << err;
  EXPECT_NE(err.find("tervan-sdiff --glonass-channels"), std::string::npos) << err;
  // Codes alone need no channels.
  TervanC codes;
  SetData(codes, Start(), {600}, {105});
  codes.isGLN = codes.ifPc3 = true;
  SetGlonassFrequency(codes);
  EXPECT_TRUE(codes.isGLN);
  // GLONASS phases alone leave nothing to process.
  TervanC only;
  SetData(only, Start(), {600}, {105});
  only.isGLN = only.ifL1 = true;
  EXPECT_EXIT(SetGlonassFrequency(only), ::testing::ExitedWithCode(1),
              "NO SATELLITE SYSTEM LEFT TO PROCESS");
}

// Records more than 8 h from every broadcast record of a GLONASS slot are beyond the
// integration: no position, one warning per satellite.
TEST_F(SmallContexts, GlonassBroadcastBeyondTheIntegrationIsUnavailable) {
  const std::vector<short> sats = Visible('R');
  ASSERT_GE(sats.size(), 2u);
  TervanC tc;
  SetData(tc, Start(), {600, 43200, 43230}, sats);
  SetStations(tc, Base(), Base());
  tc.glnnav.SetFile(File(sim::DatasetFiles().glonassNav).c_str());
  tc.glnnav.ReadFile();
  tc.isGLN = tc.isGLNnav = true;
  Calculate(tc);
  const long n = static_cast<long>(sats.size());
  for (long r = 0; r < 3 * n; ++r) {
    EXPECT_EQ(tc.OKSAT(r), r < n) << r;
    if (r >= n) {
      EXPECT_EQ(tc.SAT_POS(r, 0).GetLength(), 0.0L);
    }
  }
  for (short s : sats) {
    char text[96];
    std::snprintf(text, sizeof(text), "SATELLITE R%02d: NO GLONASS BROADCAST RECORD WITHIN 8 H",
                  s - 100);
    const size_t first = warnings_.find(text);
    EXPECT_NE(first, std::string::npos) << warnings_;
    EXPECT_EQ(warnings_.find(text, first + 1), std::string::npos) << warnings_;
  }
}

// A satellite missing from its navigation file and epochs far outside the precise
// orbit file give no position (instead of ending the run or extrapolating), with
// one warning each.
TEST_F(SmallContexts, OrbitsWithoutAPositionLeaveTheRecordsUnused) {
  const short seen = Visible('G').at(0);
  TervanC nav;
  SetData(nav, Start(), {600, 630}, {seen, 31});
  SetStations(nav, Base(), Base());
  nav.gpsnav.SetFile(File(sim::DatasetFiles().gpsNav).c_str());
  nav.gpsnav.ReadFile();
  nav.isGPS = nav.isGPSnav = true;
  Calculate(nav);
  EXPECT_TRUE(nav.OKSAT(0) && nav.OKSAT(2));
  EXPECT_FALSE(nav.OKSAT(1) || nav.OKSAT(3));
  const std::string missing = drivertest::Warning(
      "SATELLITE G31 NOT LISTED IN GPS NAVIGATION FILE - NO POSITION, OBSERVATIONS NOT USED!");
  EXPECT_NE(warnings_.find(missing), std::string::npos) << warnings_;
  EXPECT_EQ(warnings_.find(missing, warnings_.find(missing) + 1), std::string::npos);

  TervanC late;
  SetData(late, Start(), {600, 43200}, {seen});
  SetStations(late, Base(), Base());
  UsePreciseOrbits(late);
  Calculate(late);
  EXPECT_TRUE(late.OKSAT(0));
  EXPECT_FALSE(late.OKSAT(1));
  EXPECT_EQ(late.ELV(1, 0), 0.0L);
  EXPECT_NE(warnings_.find("OBSERVATION EPOCHS OUTSIDE THE EPOCH INTERVAL OF THE PRECISE ORBIT "
                           "FILE"),
            std::string::npos)
      << warnings_;
}

// --- Station effects: phases minus the modelled geometry -------------------------

// Noise-free two-hour runs without atmosphere, with the solid earth tide, the pole
// tide and ocean loading of the stations, run through the geometry stage with the
// Earth rotation and loading files the simulator wrote: the 2000 km baseline of
// the default BASE, and a 2000 km baseline westward from 45 N 30 W, where the pole
// tide of this pole changes fastest along the baseline (a few millimetres over it).
class StationEffects : public SimulatedHour {
 protected:
  static void SetUpTestSuite() {
    run_ = Prepare({}, dir_[0]);
    wide_ = Prepare({"--base", "45,-30,100", "--azimuth", "270"}, dir_[1]);
  }
  static void TearDownTestSuite() {
    delete run_;
    delete wide_;
    run_ = wide_ = nullptr;
    for (testsupport::TempDir*& d : dir_) {
      delete d;
      d = nullptr;
    }
  }
  void SetUp() override {
    if (!why_.empty()) GTEST_SKIP() << why_;
  }

  // The run context after the geometry stage of a simulated run with the given
  // scenario options added.
  static TervanC* Prepare(std::vector<std::string> options, testsupport::TempDir*& dir) {
    dir = new testsupport::TempDir();
    sim::Scenario sc;
    std::string msg;
    options.insert(options.end(),
                   {"--noise-free", "--no-ionosphere", "--no-troposphere", "--duration", "7200",
                    "--baseline", "2000", "--tides", "--out", dir->Path()});
    if (sim::ParseScenario(options, sc, msg) != sim::ParseResult::kRun) {
      why_ = "the simulator has no station effects yet: " + msg;
      return nullptr;
    }
    sim::Simulator s(sc);
    s.Run();
    if (!sim::WriteDataset(s, msg)) why_ = msg;
    const sim::DatasetFiles f;
    const std::string d = dir->Path() + "/";
    auto* tc = new TervanC();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    drivertest::Parse(*tc, {"-r" + d + f.SingleDifferences(sc), "-ep" + d + f.sp3,
                            "-ec" + d + f.clock, "-gf" + d + f.channels, "-csGRE", "-lC1,L1",
                            "-xSTA", "-st", "-eo" + d + f.erp, "-bq" + d + f.blq});
    CheckArgumetns(*tc);
    SetFiles(*tc);
    ReadFiles(*tc);
    GetReceiverProperties(*tc);
    ApplyCorrections(*tc);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    return tc;
  }

  // L1 phase single difference [m] minus the model of record r in epoch i, or NaN
  // below 10 degrees. The model: ranges from the stored satellite positions,
  // satellite clocks, and the stored range terms of both stations (solid tide, pole
  // tide, ocean loading, path range) with the given factors; the receiver clocks are
  // left to the differences between satellites.
  static long double Residual(const TervanC& tc, long r, const long double f[4]) {
    const short s = tc.sdd.sat(r);
    if (!tc.OKSAT(r) || tc.ELV(r, 0) < 0.175L || tc.ELV(r, 1) < 0.175L || tc.sdd.L1(r).IsNull())
      return NAN;
    const xyzt &b = tc.SAT_POS(r, 0), &v = tc.SAT_POS(r, 1);
    // A model that is off leaves its matrix empty.
    auto diff = [&](const matrix<long double>& m) {
      return m.NRow() > 0 ? m(r, 1) - m(r, 0) : 0.0L;
    };
    const long double model = (xyz(v) - tc.RecPosFC_ROVER).GetLength() -
                              (xyz(b) - tc.RecPosFC_BASE).GetLength() -
                              299792458.0L * (v.GetT() - b.GetT()) + f[0] * diff(tc.SETIDE) +
                              f[1] * diff(tc.PTIDE) + f[2] * diff(tc.OTIDE) + f[3] * diff(tc.REL2);
    const long double lambda = s > 100 && s < 200 ? GLONASSc::SatLambda(s, 0) : GPSc::lamb1;
    return tc.sdd.L1(r).GetObs() * lambda - model;
  }

  // Largest spread over the run of a satellite's residual minus that of the
  // reference satellite (the one with the most records) [m]: the ambiguities stay
  // constant and the receiver clocks drop out. Means of ten epochs are compared, so
  // that the rounding of the phases in the files (0.001 cycles) averages out.
  static long double WorstSpread(const TervanC& tc, long double solid, long double pole,
                                 long double ocean, long double rel) {
    const long double f[4] = {solid, pole, ocean, rel};
    std::map<short, long> count;
    for (long r = 0; r < tc.sdd.nobs; ++r) count[tc.sdd.sat(r)] += !std::isnan(Residual(tc, r, f));
    short ref = 0;
    for (const auto& e : count)
      if (e.second > count[ref]) ref = e.first;
    std::map<short, std::vector<long double>> series;
    for (long i = 0, off = 0; i < tc.sdd.neph; off += tc.sdd.nsat(i), ++i) {
      long double base = NAN;
      for (long r = off; r < off + tc.sdd.nsat(i); ++r)
        if (tc.sdd.sat(r) == ref) base = Residual(tc, r, f);
      for (long r = off; r < off + tc.sdd.nsat(i) && !std::isnan(base); ++r) {
        const long double d = Residual(tc, r, f) - base;
        if (!std::isnan(d)) series[tc.sdd.sat(r)].push_back(d);
      }
    }
    long double worst = 0;
    for (const auto& e : series) {
      std::vector<long double> means;
      for (size_t k = 0; k + 10 <= e.second.size(); k += 10)
        means.push_back(std::accumulate(e.second.begin() + k, e.second.begin() + k + 10, 0.0L) /
                        10);
      if (means.size() < 2) continue;
      const auto mm = std::minmax_element(means.begin(), means.end());
      worst = std::max(worst, *mm.second - *mm.first);
    }
    return worst;
  }

  static testsupport::TempDir* dir_[2];
  static TervanC *run_, *wide_;
  static std::string why_;
};
testsupport::TempDir* StationEffects::dir_[2] = {nullptr, nullptr};
TervanC* StationEffects::run_ = nullptr;
TervanC* StationEffects::wide_ = nullptr;
std::string StationEffects::why_;

TEST_F(StationEffects, PhasesMinusModelledGeometryAndCorrectionsStayConstant) {
  const TervanC& tc = *run_;
  const long double all = WorstSpread(tc, 1, 1, 1, 1);
  std::printf(
      "  worst spread %.3Lf mm; without solid tide %.3Lf, ocean loading %.3Lf, path "
      "range %.3Lf; ocean loading reversed %.3Lf mm\n",
      all * 1e3L, WorstSpread(tc, 0, 1, 1, 1) * 1e3L, WorstSpread(tc, 1, 1, 0, 1) * 1e3L,
      WorstSpread(tc, 1, 1, 1, 0) * 1e3L, WorstSpread(tc, 1, 1, -1, 1) * 1e3L);
  EXPECT_LT(all, 1e-3L);
  EXPECT_GT(WorstSpread(tc, 0, 1, 1, 1), 1e-3L);
  EXPECT_GT(WorstSpread(tc, 1, 1, 0, 1), 1e-3L);
  EXPECT_GT(WorstSpread(tc, 1, 1, 1, 0), 1e-3L);
  EXPECT_GT(WorstSpread(tc, 1, 1, -1, 1), 1e-3L);
}

// The program's pole tide from the Earth rotation file is the simulator's: on the
// westward baseline leaving it out or reversing its sign shows above the rounding.
TEST_F(StationEffects, PoleTideOfTheEarthRotationFileIsTheStationsPoleTide) {
  ASSERT_TRUE(run_->isPTide && wide_->isPTide);
  const TervanC& tc = *wide_;
  const long double all = WorstSpread(tc, 1, 1, 1, 1), without = WorstSpread(tc, 1, 0, 1, 1),
                    reversed = WorstSpread(tc, 1, -1, 1, 1);
  std::printf(
      "  westward baseline: worst spread %.3Lf mm; without pole tide %.3Lf, pole tide "
      "reversed %.3Lf mm (default baseline %.3Lf, %.3Lf mm)\n",
      all * 1e3L, without * 1e3L, reversed * 1e3L, WorstSpread(*run_, 1, 0, 1, 1) * 1e3L,
      WorstSpread(*run_, 1, -1, 1, 1) * 1e3L);
  EXPECT_LT(all, 1e-3L);
  EXPECT_GT(without, 1e-3L);
  EXPECT_GT(reversed, 2e-3L);
}

}  // namespace
