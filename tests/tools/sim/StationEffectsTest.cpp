// Station and satellite effects of the simulator against hand computations,
// published check values and the program's readers of the files it writes.
#include <gtest/gtest.h>

#include <cmath>

#include "gnss/flh.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "sim/Attitude.h"
#include "sim/Constants.h"
#include "sim/Dataset.h"
#include "sim/Simulator.h"
#include "sim/SunMoon.h"
#include "sim/Time.h"
#include "station/OceanTideLoading.h"
#include "station/PoleTide.h"
#include "station/antex.h"
#include "support/TestSupport.h"

namespace sim {
namespace {

Scenario Parsed(std::vector<std::string> args) {
  Scenario sc;
  std::string msg;
  EXPECT_EQ(ParseScenario(args, sc, msg), ParseResult::kRun) << msg;
  return sc;
}

mjd MjdOf(long double t) {
  return mjd(Mjd(t), SecondsOfDay(t));
}

TEST(SimPoleTide, GivesThePublishedCheckValue) {
  // IERS 2010 eq. 7.26 with the linear mean pole: station 36.1 N 140.1 E at MJD
  // 56230.5, pole 0.144028", 0.311300": north -0.0216, east +0.2384, up -0.2466 mm.
  Geodetic g;
  g.lat = 36.1L * kDeg;
  g.lon = 140.1L * kDeg;
  const Neu d = PoleTideDisplacement(g, 0.144028L, 0.311300L, 56230.5L);
  EXPECT_NEAR(static_cast<double>(d.n * 1e3L), -0.0216, 5e-4);
  EXPECT_NEAR(static_cast<double>(d.e * 1e3L), 0.2384, 5e-4);
  EXPECT_NEAR(static_cast<double>(d.u * 1e3L), -0.2466, 5e-4);
}

TEST(SimSunMoon, SunAtTheSolsticeAndMoonDistance) {
  Calendar c;
  c.year = 2026;
  c.month = 6;
  c.day = 21;
  c.hour = 12;
  const long double t = ToSeconds(c);
  const Vec3 sun = SunPosition(t);
  // Declination near +23.44 deg; at 12:00 GPS time (11:59:42 UTC) the Sun is still
  // east of Greenwich by the equation of time (-1.85 min) and the 18 s: +0.54 deg.
  EXPECT_NEAR(static_cast<double>(std::asin(sun.z / Norm(sun)) / kDeg), 23.43, 0.05);
  EXPECT_NEAR(static_cast<double>(std::atan2(sun.y, sun.x) / kDeg), 0.54, 0.02);
  EXPECT_NEAR(static_cast<double>(Norm(sun) / 1.496e11L), 1.016, 0.002);
  const long double moon = Norm(MoonPosition(t));
  EXPECT_GT(moon, 356e6L);
  EXPECT_LT(moon, 407e6L);
}

TEST(SimWindUp, SatelliteOverheadAtTheEquatorWithTheSunAside) {
  // Station at latitude 0, longitude 0; satellite straight above; Sun along +y.
  // Body axes ez = -x, ey = -z, ex = +y; k = -x. Effective dipoles: satellite
  // 2y, receiver (north z, west -y) 2z; the turn from 2y to 2z about k = -x is
  // -90 degrees: -0.25 cycles, +0.25 with the IIR axes.
  Geodetic g;
  const Vec3 station = GeodeticToEcef(g), sat = {26600e3L, 0, 0}, sun = {0, 1.5e11L, 0};
  EXPECT_NEAR(static_cast<double>(WindUp(sat, sun, false, station, g)), -0.25, 1e-12);
  EXPECT_NEAR(static_cast<double>(WindUp(sat, sun, true, station, g)), 0.25, 1e-12);
  // The Sun on the other side turns the satellite by half a turn.
  EXPECT_NEAR(static_cast<double>(WindUp(sat, -1.0L * sun, false, station, g)), 0.25, 1e-12);
}

TEST(SimEclipse, SunEarthAngleAtTheSatellite) {
  const Vec3 sat = {26600e3L, 0, 0};
  // Sun behind the Earth (satellite in the shadow) and behind the satellite: aligned.
  EXPECT_NEAR(static_cast<double>(SunEarthAngle(sat, {-1.5e11L, 0, 0})), 0.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(SunEarthAngle(sat, {1.5e11L, 0, 0})), 0.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(SunEarthAngle(sat, {0, 1.5e11L, 0}) / kDeg), 90.0, 0.02);
}

// A two-hour noise-free run with every station effect and its twin without.
class EffectsRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testsupport::TempDir;
    const std::vector<std::string> common = {"--noise-free", "--duration", "2h", "--out",
                                             dir_->Path()};
    std::vector<std::string> all = common;
    for (const char* o : {"--tides", "--antennas", "--wind-up"}) all.push_back(o);
    all.push_back("--rover-motion");
    all.push_back("0.05,600");
    with_ = new Simulator(Parsed(all));
    with_->Run();
    without_ = new Simulator(Parsed(common));
    without_->Run();
    std::string msg;
    ASSERT_TRUE(WriteDataset(*with_, msg)) << msg;
  }
  static void TearDownTestSuite() {
    delete with_;
    delete without_;
    delete dir_;
  }
  // The same satellite's observation and terms in the run without effects.
  static const RawObs* Twin(const RawObs& o, Station st, size_t k, const ObsTerms** terms) {
    const StationEpoch& ep = without_->Epochs(st)[k];
    for (const RawObs& x : ep.obs)
      if (x.sat == o.sat) {
        *terms = &ep.Terms(x);
        return &x;
      }
    return nullptr;
  }
  static testsupport::TempDir* dir_;
  static Simulator *with_, *without_;
};
testsupport::TempDir* EffectsRun::dir_ = nullptr;
Simulator* EffectsRun::with_ = nullptr;
Simulator* EffectsRun::without_ = nullptr;

TEST_F(EffectsRun, RangesChangeByTheDisplacementAlongTheLineOfSight) {
  long checked = 0;
  for (Station st : {kBase, kRover}) {
    for (size_t k = 0; k < with_->Epochs(st).size(); k += 17) {
      const StationEpoch& ep = with_->Epochs(st)[k];
      for (const RawObs& o : ep.obs) {
        const ObsTerms* tx = nullptr;
        if (!Twin(o, st, k, &tx)) continue;
        const ObsTerms& t = ep.Terms(o);
        const long double el = t.elevation, az = t.azimuth;
        Vec3 n, e, u;
        LocalAxes(with_->Geo(st), n, e, u);
        const Vec3 los = (Cos(el) * Cos(az)) * n + (Cos(el) * Sin(az)) * e + Sin(el) * u;
        const Vec3 d = with_->Effects().Displacement(st, ep.tag - ep.clock);
        EXPECT_NEAR(static_cast<double>(t.range - tx->range), static_cast<double>(-Dot(d, los)),
                    2e-6);
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 500);
}

TEST_F(EffectsRun, AntennaAndWindUpEnterTheObservations) {
  const StationEpoch& ep = with_->Epochs(kRover)[100];
  const RawObs& o = ep.obs[0];
  const ObsTerms& t = ep.Terms(o);
  const ObsTerms* tx = nullptr;
  const RawObs* x = Twin(o, kRover, 100, &tx);
  ASSERT_NE(x, nullptr);
  const SimSat& s = with_->Sats().Sat(o.sat);
  const long double geometry = t.range - tx->range;
  EXPECT_NEAR(static_cast<double>(o.value[kC1] - x->value[kC1]),
              static_cast<double>(geometry + t.antenna[0]), 1.1e-3);
  const long double l1 = (geometry + t.antenna[0]) * s.f1 / kC + t.windUp;
  EXPECT_NEAR(static_cast<double>(o.value[kL1] - x->value[kL1]), static_cast<double>(l1), 1.1e-3);
  // At the zenith the receiver effect is the variation there (0) minus the up offset.
  EXPECT_NEAR(static_cast<double>(with_->Antenna().ReceiverEffect(kBase, 0, kPi / 2, 0)), -0.0895,
              1e-12);
  EXPECT_NEAR(static_cast<double>(with_->Antenna().ReceiverEffect(kRover, 1, kPi / 2, 0)), -0.0578,
              1e-12);
}

TEST_F(EffectsRun, WindUpIsContinuousAlongAPass) {
  for (Station st : {kBase, kRover}) {
    const auto& eps = with_->Epochs(st);
    long double worst = 0;
    for (size_t k = 1; k < eps.size(); ++k)
      for (const RawObs& o : eps[k].obs)
        for (const RawObs& p : eps[k - 1].obs)
          if (p.sat == o.sat)
            worst = std::max(worst, std::fabs(eps[k].Terms(o).windUp - eps[k - 1].Terms(p).windUp));
    EXPECT_LT(worst, 0.05L);
  }
}

TEST_F(EffectsRun, TheProgramReadsTheSamePoleFromTheErpFile) {
  PoleTide erp;
  const std::string path = dir_->File(DatasetFiles().erp);
  erp.SetFile(path.c_str());
  erp.ReadFile();
  const long double t = with_->Sc().StartSeconds() + 4321;
  neu d;
  erp.SetCalcEpoch(MjdOf(t));
  erp.SetMeanPole();
  erp.GetPoleTide(MjdOf(t), flh(0.8L, 0.25L, 300), d);
  long double xp, yp;
  PoleCoordinates(with_->Sc().StartSeconds(), t, xp, yp);
  EXPECT_NEAR(static_cast<double>(erp.GetXp()), static_cast<double>(xp), 1e-9);
  EXPECT_NEAR(static_cast<double>(erp.GetYp()), static_cast<double>(yp), 1e-9);
}

TEST_F(EffectsRun, TheProgramReadsTheSameLoadingFromTheBlqFile) {
  OceanTideLoading otl;
  const std::string path = dir_->File(DatasetFiles().blq);
  otl.SetFile(path.c_str());
  otl.ReadFile();
  ASSERT_EQ(otl.GetNStation(), 2);
  otl.SetStation(with_->Sc().roverName.c_str());
  const long double t = with_->Sc().StartSeconds() + 1800;  // a sample of the series
  neu d;
  otl.GetDisplacement(MjdOf(t), d);
  const Neu s = with_->Effects().Part(kRover, StationEffects::kOcean, t);
  EXPECT_NEAR(static_cast<double>(d.GetU()), static_cast<double>(s.u), 1e-9);
  EXPECT_NEAR(static_cast<double>(d.GetN()), static_cast<double>(s.n), 1e-9);
  EXPECT_GT(std::fabs(s.u), 1e-4L);
}

TEST_F(EffectsRun, TheProgramReadsTheSameAntennasFromTheAntexFile) {
  antex atx;
  const std::string path = dir_->File(DatasetFiles().antex);
  atx.SetFile(path.c_str());
  atx.ReadFile();
  const Antennas& a = with_->Antenna();
  const mjd t = MjdOf(with_->Sc().StartSeconds());
  atx.SetAntenna(a.Receiver(kRover).type.c_str());
  double v[6];
  atx.GetAntennaPCV(31.3, 107.7, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], static_cast<double>(a.Receiver(kRover).band[0].At(31.3L, 107.7L)), 1e-9);
  EXPECT_NEAR(v[5], static_cast<double>(a.Receiver(kRover).band[1].At(31.3L, 107.7L)), 1e-9);
  neu off;
  atx.GetAntennaOffset(off, 3);
  EXPECT_NEAR(static_cast<double>(off.GetU()),
              static_cast<double>(a.Receiver(kRover).band[1].offset.z), 1e-12);
  for (const char* id : {"G05", "G15", "R07", "E11"}) {
    const int i = with_->Sats().Find(id);
    ASSERT_GE(i, 0);
    atx.SetSatellite(with_->Sats().Sat(i).number, t);
    ASSERT_GE(atx.GetAtxIndex(), 0) << id;
    EXPECT_EQ(atx.IsBlockIIR(), a.Satellite(i).iir) << id;
    atx.GetAntennaPCV(9.5, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
    const double pcv = id[0] == 'G' ? v[0] : id[0] == 'R' ? v[2] : v[4];
    EXPECT_NEAR(pcv, static_cast<double>(a.SatelliteVariation(i, 0, 9.5L * kDeg)), 1e-9) << id;
  }
  EXPECT_TRUE(a.Satellite(with_->Sats().Find("G05")).iir);
}

TEST_F(EffectsRun, TheSatelliteOffsetPointsTowardTheEarth) {
  const int i = with_->Sats().Find("R07");
  const long double t = with_->Sc().StartSeconds();
  const Vec3 p = with_->Sats().Position(i, t);
  const Vec3 o = with_->Antenna().SatelliteOffset(i, p, SunPosition(t));
  const Vec3& body = with_->Antenna().Satellite(i).band[0].offset;
  EXPECT_NEAR(static_cast<double>(Norm(o)), static_cast<double>(Norm(body)), 1e-9);
  EXPECT_NEAR(static_cast<double>(Dot(o, -1.0L * Unit(p))), static_cast<double>(body.z), 1e-9);
}

TEST_F(EffectsRun, SameSeedSameBytes) {
  testsupport::TempDir again;
  Scenario sc = with_->Sc();
  sc.outDir = again.Path();
  Simulator s(sc);
  s.Run();
  std::string msg;
  ASSERT_TRUE(WriteDataset(s, msg)) << msg;
  for (const char* f : {"SIMB.rnx", "SIMR.rnx", "SIMB_SIMR.sd", "orbit.sp3", "truth.txt",
                        "antenna.atx", "ocean_loading.blq", "earth_rotation.erp"})
    EXPECT_TRUE(testsupport::ReadFile(dir_->File(f)) == testsupport::ReadFile(again.File(f))) << f;
}

TEST(SimEclipses, MarkedWindowsAreWithinTheAngle) {
  Simulator s(Parsed({"--noise-free", "--duration", "12h", "--eclipses"}));
  s.Run();
  ASSERT_FALSE(s.Eclipses().empty());
  for (const AppliedEvent& e : s.Eclipses()) {
    const int i = s.Sats().Find(e.sat);
    for (long double t : {e.from, e.to})
      EXPECT_LT(SunEarthAngle(s.Sats().Position(i, t), SunPosition(t)), 14 * kDeg) << e.sat;
    EXPECT_LE(std::stol(e.detail.substr(8)), std::lround((e.to - e.from) / 30) + 1);
  }
}

TEST(SimNoiseModel, SineModelScalesWithOneOverSinE) {
  Scenario noisy = Parsed({"--noise-model", "sin", "--duration", "4h", "--code-noise", "0.5"});
  Scenario clean = Parsed({"--noise-free", "--duration", "4h"});
  Simulator a(noisy), b(clean);
  a.Run();
  b.Run();
  long double sum = 0;
  long n = 0;
  for (size_t k = 0; k < a.Epochs(kBase).size(); ++k)
    for (const RawObs& o : a.Epochs(kBase)[k].obs)
      for (const RawObs& x : b.Epochs(kBase)[k].obs)
        if (x.sat == o.sat) {
          const long double r = (o.value[kC1] - x.value[kC1]) *
                                std::sin(a.Epochs(kBase)[k].Terms(o).elevation) / 0.5L;
          sum += r * r;
          ++n;
        }
  ASSERT_GT(n, 5000);
  EXPECT_NEAR(static_cast<double>(std::sqrt(sum / n)), 1.0, 0.04);
}

TEST(SimLongRuns, ADayAtOneSecondIsAcceptedAndKeepsNoTerms) {
  Scenario sc;
  std::string msg;
  EXPECT_EQ(ParseScenario({"--duration", "1d", "--interval", "1"}, sc, msg), ParseResult::kRun);
  EXPECT_EQ(ParseScenario({"--duration", "2d", "--interval", "1"}, sc, msg), ParseResult::kError);
  // Beyond kTermsEpochs the model terms are not kept (a short GPS-only run shows it).
  Simulator s(Parsed({"--duration", "30001", "--interval", "1", "--systems", "G", "--mask", "60"}));
  s.Run();
  size_t obs = 0, terms = 0;
  for (const StationEpoch& ep : s.Epochs(kBase)) {
    obs += ep.obs.size();
    terms += ep.terms.size();
  }
  EXPECT_GT(obs, 0u);
  EXPECT_EQ(terms, 0u);
}

TEST(SimTracking, MixedTrackingChangesOnlyTheRoversCodes) {
  testsupport::TempDir dir;
  Scenario sc =
      Parsed({"--noise-free", "--duration", "10m", "--mixed-tracking", "--out", dir.Path()});
  Simulator s(sc);
  s.Run();
  std::string msg;
  ASSERT_TRUE(WriteDataset(s, msg)) << msg;
  const std::string base = testsupport::ReadFile(dir.File("SIMB.rnx"));
  const std::string rover = testsupport::ReadFile(dir.File("SIMR.rnx"));
  EXPECT_NE(base.find("G    5 C1C C1W C2W L1C L2W"), std::string::npos);
  EXPECT_NE(base.find("E    4 C1C L1C C7Q L7Q"), std::string::npos);
  EXPECT_NE(rover.find("G    5 C1C C1W C2X L1C L2X"), std::string::npos);
  EXPECT_NE(rover.find("E    4 C1X L1X C7X L7X"), std::string::npos);
}

}  // namespace
}  // namespace sim

namespace sim {
namespace {

// The ROVER's receiver biases: every ROVER code moves by its system offset and its own
// bias, every ROVER phase by the system offset; the BASE is untouched (to the rounding
// of the files: a millimetre of code, a thousandth of a cycle).
TEST(SimReceiverBiases, EnterTheRoverObservationsOnly) {
  const std::vector<std::string> common = {"--duration", "10m", "--noise-free"};
  std::vector<std::string> all = common;
  all.push_back("--receiver-biases");
  Simulator with(Parsed(all)), without(Parsed(common));
  with.Run();
  without.Run();
  long checked = 0;
  for (Station st : {kBase, kRover}) {
    const StationEpoch &a = with.Epochs(st)[5], &b = without.Epochs(st)[5];
    ASSERT_EQ(a.obs.size(), b.obs.size());
    for (size_t j = 0; j < a.obs.size(); ++j) {
      const int sat = a.obs[j].sat;
      const char sys = with.Sats().Sat(sat).system;
      const long double off = st == kRover ? with.RoverSystemOffset(sys) : 0.0L;
      for (int k : {kC1, kP2, kC7}) {
        if (a.obs[j].value[k] == 0) continue;
        const long double bias = st == kRover ? with.RoverCodeBias(sat, k) : 0.0L;
        EXPECT_NEAR(a.obs[j].value[k] - b.obs[j].value[k], off + bias, 1.001e-3L);
        ++checked;
      }
      EXPECT_NEAR(a.obs[j].value[kL1] - b.obs[j].value[kL1], off / with.Lambda1(sat), 1.001e-3L);
    }
  }
  EXPECT_GT(checked, 40);
  EXPECT_EQ(0.0L, with.RoverSystemOffset('G'));
  EXPECT_NE(0.0L, with.RoverSystemOffset('R'));
  EXPECT_EQ(0.0L, without.RoverCodeBias(3, kC1));
}

}  // namespace
}  // namespace sim
