#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "orbits/GLNSat.h"
#include "orbits/GLNbEph.h"
#include "orbits/GNSSpClk.h"
#include "orbits/GNSSpEph.h"
#include "orbits/GPSbEph.h"
#include "sdiff/PhsDiff.h"
#include "sdiff/PhsDiffData.h"
#include "sdiff/PhsDiffHeader.h"
#include "sdiff/SatCRX.h"
#include "sdiff/Tool.h"
#include "sim/Constants.h"
#include "sim/Dataset.h"
#include "sim/Simulator.h"
#include "support/TestSupport.h"

namespace sim {
namespace {

mjd ToMjd(long double t) {
  return mjd(Mjd(t), SecondsOfDay(t));
}

// Observations of a RINEX 3 file: per epoch, per satellite, the values by type.
using EpochObs = std::map<std::string, std::map<std::string, long double>>;

std::vector<EpochObs> ReadRinex3(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::map<char, std::vector<std::string>> types;
  while (std::getline(in, line) && line.find("END OF HEADER") == std::string::npos) {
    if (line.find("SYS / # / OBS TYPES") == std::string::npos) continue;
    const int n = std::atoi(line.substr(3, 3).c_str());
    for (int k = 0; k < n; ++k) types[line[0]].push_back(line.substr(7 + 4 * k, 3));
  }
  // RINEX 3 codes in the names of the single-difference columns.
  const std::map<std::string, std::string> name = {
      {"C1C", "C1"}, {"C1W", "P1"}, {"C1P", "P1"}, {"C2W", "P2"}, {"C2P", "P2"},
      {"L1C", "L1"}, {"L2W", "L2"}, {"L2P", "L2"}, {"C7Q", "C7"}, {"L7Q", "L7"}};
  std::vector<EpochObs> out;
  while (std::getline(in, line)) {
    if (line[0] == '>') {
      out.emplace_back();
      continue;
    }
    const std::vector<std::string>& t = types[line[0]];
    for (size_t k = 0; k < t.size(); ++k) {
      const size_t col = 3 + 16 * k;
      if (col >= line.size()) break;
      const std::string field = line.substr(col, 14);
      if (field.find_first_not_of(' ') == std::string::npos) continue;
      out.back()[line.substr(0, 3)][name.at(t[k])] = std::strtold(field.c_str(), nullptr);
    }
  }
  return out;
}

std::string SatId(short number) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%c%02d",
                number < 100   ? 'G'
                : number < 200 ? 'R'
                               : 'E',
                number % 100);
  return buf;
}

class NoiseFreeDataset : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testsupport::TempDir();
    Scenario sc;
    std::string msg;
    ParseScenario({"--noise-free", "--duration", "5400", "--rover-tag-offset", "0.8", "--out",
                   dir_->Path(), "--rinex2", "--problem-sat", "G03,600,900"},
                  sc, msg);
    sim_ = new Simulator(sc);
    sim_->Run();
    ASSERT_TRUE(WriteDataset(*sim_, msg)) << msg;
  }
  static void TearDownTestSuite() {
    delete sim_;
    delete dir_;
  }
  static std::string File(const std::string& name) { return dir_->File(name); }
  static testsupport::TempDir* dir_;
  static Simulator* sim_;
};
testsupport::TempDir* NoiseFreeDataset::dir_ = nullptr;
Simulator* NoiseFreeDataset::sim_ = nullptr;

TEST_F(NoiseFreeDataset, WritesEveryFileOfTheDataset) {
  const DatasetFiles f;
  const Scenario& sc = sim_->Sc();
  for (const std::string& name :
       {f.sp3, f.clock, f.gpsNav, f.glonassNav, f.galileoNav, f.channels, f.problems, f.truth,
        f.readme, f.Rinex3(sc, kBase), f.Rinex3(sc, kRover), f.Rinex2(sc, kBase),
        f.Rinex2(sc, kRover), f.SingleDifferences(sc)})
    EXPECT_TRUE(std::filesystem::exists(File(name))) << name;
  const std::string readme = testsupport::ReadFile(File(f.readme));
  EXPECT_NE(readme.find(TervanCommand(sc)), std::string::npos);
  EXPECT_NE(TervanCommand(sc).find("-sx" + f.problems), std::string::npos);
}

// The file reaches seven epochs beyond the observations so that the 14-node
// interpolation is centred there; positions are written to 1 mm (km with six
// decimals), which bounds the agreement.
TEST_F(NoiseFreeDataset, PreciseOrbitReaderReproducesTheSimulatedPositions) {
  GNSSpEph eph;
  const std::string name = File(DatasetFiles().sp3);
  eph.SetFile(name.c_str());
  eph.ReadFile();
  const Constellation& sats = sim_->Sats();
  ASSERT_EQ(eph.GetNSatList(), static_cast<long>(sats.Size()));
  const long double step = sim_->Sc().sp3Interval;
  const long double first = sim_->ProductStart() + 6 * step, last = sim_->ProductEnd() - 6 * step;
  ASSERT_LE(first, sim_->Sc().StartSeconds() - 60);
  ASSERT_GE(last, sim_->Sc().EndSeconds() + 60);
  long double worst = 0, sum = 0, worstClock = 0;
  long n = 0;
  for (size_t i = 0; i < sats.Size(); ++i) {
    for (long double t = first; t <= last; t += 37.0L) {
      xyzt pos, vel;
      eph.CalcSatPosition(sats.Sat(i).number, ToMjd(t), pos, vel);
      ASSERT_TRUE(eph.GetPSisOK());
      const xyz q = pos.GetXYZ();
      const Vec3 p = sats.Position(i, t);
      const long double err = Norm(Vec3{q.GetX() - p.x, q.GetY() - p.y, q.GetZ() - p.z});
      worst = std::max(worst, err);
      sum += err * err;
      ++n;
    }
    for (long double t = sim_->ProductStart(); t <= sim_->ProductEnd(); t += step) {
      xyzt pos, vel;
      eph.CalcSatPosition(sats.Sat(i).number, ToMjd(t), pos, vel);
      ASSERT_TRUE(eph.GetDTisOK());
      worstClock = std::max(worstClock, std::fabs(pos.GetT() - sats.Clock(i, t)));
    }
  }
  EXPECT_LT(worst, 0.001L);
  EXPECT_LT(std::sqrt(sum / n), 0.0006L);
  EXPECT_LT(worstClock, 1e-12L);  // microseconds with six decimals at the nodes
}

long double Distance(const xyzt& pos, const Vec3& p) {
  const xyz q = pos.GetXYZ();
  return Norm(Vec3{q.GetX() - p.x, q.GetY() - p.y, q.GetZ() - p.z});
}

// Kepler records of GPS and Galileo describe the simulated orbits exactly; their
// clock polynomial follows the clock to within its random walk.
void CheckKeplerFile(const Simulator& sim, const std::string& path, char system) {
  GPSbEph nav;
  nav.SetSystem(system);
  nav.SetFile(path.c_str());
  nav.ReadFile();
  const Constellation& sats = sim.Sats();
  long double worst = 0, worstClock = 0;
  int satellites = 0;
  for (size_t i = 0; i < sats.Size(); ++i) {
    if (sats.Sat(i).system != system) continue;
    ++satellites;
    for (long double t = sim.Sc().StartSeconds() - 600; t <= sim.Sc().EndSeconds() + 600;
         t += 97.0L) {
      xyzt pos;
      long double tgd = 0;
      nav.CalcSatPosition(static_cast<short>(sats.Sat(i).prn), ToMjd(t), ToMjd(t), pos, &tgd, 0, 0);
      worst = std::max(worst, Distance(pos, sats.Position(i, t)));
      worstClock = std::max(worstClock, std::fabs(pos.GetT() - sats.Clock(i, t)));
    }
  }
  EXPECT_GE(satellites, 24);
  EXPECT_EQ(nav.GetNSat(), satellites);
  EXPECT_LT(worst, 0.001L) << system;
  // The receiver's clock: the product clock with the periodic relativistic term
  // (tens of nanoseconds), and the drift of the random walk (below one).
  EXPECT_LT(worstClock, 60e-9L) << system;
}

TEST_F(NoiseFreeDataset, BroadcastGpsAndGalileoRecordsReproduceTheOrbits) {
  CheckKeplerFile(*sim_, File(DatasetFiles().gpsNav), 'G');
  CheckKeplerFile(*sim_, File(DatasetFiles().galileoNav), 'E');
}

TEST_F(NoiseFreeDataset, BroadcastGlonassRecordsReproduceTheOrbits) {
  GLNbEph nav;
  const std::string name = File(DatasetFiles().glonassNav);
  nav.SetFile(name.c_str());
  nav.ReadFile();
  const Constellation& sats = sim_->Sats();
  long double worst = 0;
  for (size_t i = 0; i < sats.Size(); ++i) {
    if (sats.Sat(i).system != 'R') continue;
    for (long double t = sim_->Sc().StartSeconds(); t <= sim_->Sc().EndSeconds(); t += 97.0L) {
      xyzt pos, vel;
      nav.CalcSatPosition(static_cast<short>(sats.Sat(i).prn), ToMjd(t), ToMjd(t), pos, vel, 0);
      worst = std::max(worst, Distance(pos, sats.Position(i, t)));
    }
  }
  EXPECT_LT(worst, 0.5L);
}

TEST_F(NoiseFreeDataset, ChannelFileGivesEveryGlonassSatelliteItsChannel) {
  GLNSat channels;
  const std::string name = File(DatasetFiles().channels);
  channels.SetFile(name.c_str());
  channels.ReadFile();
  const Constellation& sats = sim_->Sats();
  for (size_t i = 0; i < sats.Size(); ++i) {
    if (sats.Sat(i).system != 'R') continue;
    const long double k = channels.GetFreqNum(sats.Sat(i).number, ToMjd(sim_->Sc().StartSeconds()));
    EXPECT_TRUE(channels.GetIsGLNSat()) << sats.Sat(i).Id();
    EXPECT_EQ(k, sats.Sat(i).channel) << sats.Sat(i).Id();
  }
}

TEST_F(NoiseFreeDataset, LightTimeOfThePreciseOrbitReaderMatchesTheSimulatedRange) {
  GNSSpEph eph;
  const std::string name = File(DatasetFiles().sp3);
  eph.SetFile(name.c_str());
  eph.ReadFile();
  const Vec3& r = sim_->Position(kRover);
  const StationEpoch& ep = sim_->Epochs(kRover)[50];
  for (const RawObs& o : ep.obs) {
    xyzt pos, vel;
    const long double rho = eph.CalcSatPosition(
        sim_->Sats().Sat(o.sat).number, ToMjd(ep.tag - ep.clock), xyz(r.x, r.y, r.z), pos, vel);
    EXPECT_NEAR(static_cast<double>(rho - ep.Terms(o).range), 0, 0.001)
        << sim_->Sats().Sat(o.sat).Id();
  }
}

TEST_F(NoiseFreeDataset, ClockReaderReproducesTheSimulatedClocks) {
  GNSSpClk clk;
  const std::string name = File(DatasetFiles().clock);
  clk.SetFile(name.c_str());
  clk.ReadFile();
  const Constellation& sats = sim_->Sats();
  ASSERT_EQ(clk.GetNSatList(), static_cast<long>(sats.Size()));
  long double worst = 0;
  for (long double t = sim_->ProductStart(); t <= sim_->ProductEnd(); t += 30) {
    clk.SetEpochIndex(ToMjd(t));
    for (size_t i = 0; i < sats.Size(); ++i) {
      long double dt = 0;
      clk.GetSatelliteClock(sats.Sat(i).number, ToMjd(t), dt);
      ASSERT_TRUE(clk.GetDTisOK());
      worst = std::max(worst, std::fabs(dt - sats.Clock(i, t)));
    }
  }
  EXPECT_LT(worst, 1e-12L);
}

TEST_F(NoiseFreeDataset, SingleDifferencesAreRoverMinusBaseOfTheRinexFiles) {
  const DatasetFiles f;
  const Scenario& sc = sim_->Sc();
  const std::vector<EpochObs> base = ReadRinex3(File(f.Rinex3(sc, kBase)));
  const std::vector<EpochObs> rover = ReadRinex3(File(f.Rinex3(sc, kRover)));
  ASSERT_EQ(base.size(), sim_->Epochs(kBase).size());
  ASSERT_EQ(rover.size(), base.size());
  PhsDiffHeader head;
  PhsDiffData data(head);
  PhsDiff reader(head, data);
  const std::string name = File(f.SingleDifferences(sc));
  reader.SetFile(name.c_str());
  reader.ReadFile();
  ASSERT_EQ(data.GetNEpoch(), static_cast<long>(base.size()));
  const std::map<std::string, matrix<gnssobs>*> columns = {
      {"C1", &data.C1}, {"P1", &data.P1}, {"P2", &data.P2}, {"L1", &data.L1},
      {"L2", &data.L2}, {"C7", &data.C7}, {"L7", &data.L7}};
  long rec = 0, compared = 0;
  for (long e = 0; e < data.GetNEpoch(); ++e) {
    size_t common = 0;
    for (const auto& s : base[e]) common += rover[e].count(s.first);
    EXPECT_EQ(data.GetNSatEpoch(e), static_cast<short>(common));
    for (short k = 0; k < data.GetNSatEpoch(e); ++k, ++rec) {
      const std::string id = SatId(data.GetRecSat(rec));
      for (const auto& col : columns) {
        const auto b = base[e].at(id).find(col.first), r = rover[e].at(id).find(col.first);
        const long double expected =
            b == base[e].at(id).end() || r == rover[e].at(id).end() ? 0 : r->second - b->second;
        EXPECT_NEAR(static_cast<double>((*col.second)(rec).GetObs()), static_cast<double>(expected),
                    1e-6)
            << id << " " << col.first << " epoch " << e;
        ++compared;
      }
    }
  }
  EXPECT_EQ(rec, data.GetNObs());
  EXPECT_GT(compared, 1000);
}

// The companion converter forms the same single differences from the RINEX files
// of either version.
void CompareWithConverter(const std::string& mine, const std::string& base,
                          const std::string& rover, const std::string& theirs) {
  ASSERT_EQ(SdRun({"--base", base, "--rover", rover, "--out", theirs, "--quiet"}), 0);
  PhsDiffHeader ha, hb;
  PhsDiffData a(ha), b(hb);
  PhsDiff ra(ha, a), rb(hb, b);
  ra.SetFile(mine.c_str());
  ra.ReadFile();
  rb.SetFile(theirs.c_str());
  rb.ReadFile();
  ASSERT_EQ(a.GetNEpoch(), b.GetNEpoch());
  ASSERT_EQ(a.GetNObs(), b.GetNObs());
  for (long r = 0; r < a.GetNObs(); ++r) {
    ASSERT_EQ(a.GetRecSat(r), b.GetRecSat(r));
    for (auto col : {&PhsDiffData::C1, &PhsDiffData::P1, &PhsDiffData::P2, &PhsDiffData::L1,
                     &PhsDiffData::L2, &PhsDiffData::C7, &PhsDiffData::L7})
      ASSERT_NEAR(static_cast<double>((a.*col)(r).GetObs()),
                  static_cast<double>((b.*col)(r).GetObs()), 1e-6)
          << "record " << r;
  }
  for (long e = 0; e < a.GetNEpoch(); ++e)
    EXPECT_NEAR(static_cast<double>(a.dtR_B(e) - b.dtR_B(e)), 0, 1e-9);
}

TEST_F(NoiseFreeDataset, ConverterOfTheRinexFilesAgreesWithTheSingleDifferences) {
  const DatasetFiles f;
  const Scenario& sc = sim_->Sc();
  const std::string mine = File(f.SingleDifferences(sc));
  CompareWithConverter(mine, File(f.Rinex3(sc, kBase)), File(f.Rinex3(sc, kRover)),
                       File("converted3.sd"));
  CompareWithConverter(mine, File(f.Rinex2(sc, kBase)), File(f.Rinex2(sc, kRover)),
                       File("converted2.sd"));
}

TEST_F(NoiseFreeDataset, EpochLinesCarryTheReceiverClocksAndTheTagOffset) {
  PhsDiffHeader head;
  PhsDiffData data(head);
  PhsDiff reader(head, data);
  const std::string name = File(DatasetFiles().SingleDifferences(sim_->Sc()));
  reader.SetFile(name.c_str());
  reader.ReadFile();
  for (long e = 0; e < data.GetNEpoch(); ++e) {
    const StationEpoch &b = sim_->Epochs(kBase)[e], &r = sim_->Epochs(kRover)[e];
    EXPECT_NEAR(static_cast<double>(data.clkErB(e) - b.clock), 0, 1e-12);
    EXPECT_NEAR(static_cast<double>(data.clkErR(e) - r.clock), 0, 1e-12);
    EXPECT_NEAR(static_cast<double>(data.dtR_B(e)), 0.0008, 1e-12);
    EXPECT_NEAR(static_cast<double>(data.epoch(e) - ToMjd(b.tag)), 0, 1e-6);
  }
  const Vec3& p = sim_->Position(kRover);
  EXPECT_NEAR(static_cast<double>(head.GetX0(1).GetX() - p.x), 0, 1e-4);
  EXPECT_STREQ(head.GetMarkerName(0), "SIMB");
}

TEST_F(NoiseFreeDataset, RinexTwoFilesHoldTheSameObservations) {
  const DatasetFiles f;
  std::ifstream in(File(f.Rinex2(sim_->Sc(), kRover)));
  std::string line;
  while (std::getline(in, line) && line.find("END OF HEADER") == std::string::npos) {
  }
  ASSERT_TRUE(std::getline(in, line));
  const StationEpoch& ep = sim_->Epochs(kRover)[0];
  EXPECT_EQ(std::atoi(line.substr(29, 3).c_str()), static_cast<int>(ep.obs.size()));
  EXPECT_EQ(line.substr(32, 3), sim_->Sats().Sat(ep.obs[0].sat).Id());
  EXPECT_EQ(line.substr(15, 11), "  0.0008000");
  // Continuation lines of the satellite list, then two lines per satellite.
  for (size_t k = 12; k < ep.obs.size(); k += 12) std::getline(in, line);
  ASSERT_TRUE(std::getline(in, line));
  EXPECT_NEAR(std::strtod(line.substr(0, 14).c_str(), nullptr),
              static_cast<double>(ep.obs[0].value[kC1]), 1e-9);
  EXPECT_NEAR(std::strtod(line.substr(48, 14).c_str(), nullptr),
              static_cast<double>(ep.obs[0].value[kL1]), 1e-9);
}

TEST_F(NoiseFreeDataset, ProblemSatelliteListMarksTheWindow) {
  SatCRX list;
  const std::string name = File(DatasetFiles().problems);
  list.SetFile(name.c_str());
  list.ReadFile();
  ASSERT_EQ(list.GetNSat(), 1);
  EXPECT_EQ(list.GetSat(0), 3);
  EXPECT_EQ(list.GetType(0), 3);
  const long double t0 = sim_->Sc().StartSeconds();
  EXPECT_NEAR(static_cast<double>(list.GetStart(0) - ToMjd(t0 + 600)), 0, 1e-6);
  EXPECT_NEAR(static_cast<double>(list.GetEnd(0) - ToMjd(t0 + 900)), 0, 1e-6);
}

TEST(Dataset, SameSeedGivesTheSameBytesAndAnotherSeedOtherData) {
  testsupport::TempDir a, b, c;
  auto make = [](const std::string& dir, const char* seed) {
    Scenario sc;
    std::string msg;
    ParseScenario({"--duration", "1200", "--random-slips", "2", "--random-outliers", "1",
                   "--random-gaps", "1", "--seed", seed, "--out", dir},
                  sc, msg);
    Simulator s(sc);
    s.Run();
    EXPECT_TRUE(WriteDataset(s, msg)) << msg;
  };
  make(a.Path(), "5");
  make(b.Path(), "5");
  make(c.Path(), "6");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(a.Path())) {
    const std::string name = entry.path().filename().string();
    std::string x = testsupport::ReadFile(a.File(name)), y = testsupport::ReadFile(b.File(name));
    if (name == "README.md" || name == "truth.txt") {  // they quote the output folder
      const std::string::size_type pa = x.find(a.Path()), pb = y.find(b.Path());
      ASSERT_NE(pa, std::string::npos);
      x.erase(pa, a.Path().size());
      y.erase(pb, b.Path().size());
    }
    EXPECT_EQ(x, y) << name;
    ++files;
  }
  EXPECT_GE(files, 10);
  EXPECT_NE(testsupport::ReadFile(a.File("SIMB_SIMR.sd")),
            testsupport::ReadFile(c.File("SIMB_SIMR.sd")));
}

TEST(Dataset, UnwritableFolderIsReportedNotIgnored) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("plain"), "x");
  Scenario sc;
  std::string msg;
  ParseScenario({"--duration", "300", "--out", dir.File("plain")}, sc, msg);
  Simulator s(sc);
  s.Run();
  EXPECT_FALSE(WriteDataset(s, msg));
  EXPECT_NE(msg.find("cannot create the output folder"), std::string::npos);
}

}  // namespace
}  // namespace sim
