// Single differences of the simulator's RINEX files against the simulator's own.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "sdiff/OpenInput.h"
#include "sdiff/PhsDiff.h"
#include "sdiff/PhsDiffData.h"
#include "sdiff/PhsDiffHeader.h"
#include "sdiff/RinexReader.h"
#include "sdiff/Tool.h"
#include "sim/Dataset.h"
#include "sim/Scenario.h"
#include "sim/Simulator.h"
#include "tools/sdiff/TestHelpers.h"

namespace {

struct SdFile {
  PhsDiffHeader head;
  PhsDiffData data{head};
  explicit SdFile(const std::string& path) {
    PhsDiff reader(head, data);
    reader.SetFile(path.c_str());
    reader.ReadFile();
  }
};

// Every record, type and clock of the converted file against the simulator's.
void Compare(const std::string& expectedPath, const std::string& actualPath) {
  SdFile e(expectedPath), a(actualPath);
  ASSERT_EQ(a.data.GetNEpoch(), e.data.GetNEpoch());
  ASSERT_EQ(a.data.GetNObs(), e.data.GetNObs());
  ASSERT_EQ(a.head.GetNObs(), e.head.GetNObs());
  for (long k = 0; k < e.head.GetNObs(); ++k) EXPECT_EQ(a.head.GetObsType(k), e.head.GetObsType(k));
  long double worstCode = 0, worstPhase = 0, worstClock = 0, sumClock2 = 0;
  for (long ep = 0; ep < e.data.GetNEpoch(); ++ep) {
    EXPECT_TRUE(a.data.GetMJD(ep) == e.data.GetMJD(ep));
    EXPECT_EQ(a.data.GetNSatEpoch(ep), e.data.GetNSatEpoch(ep));
    const long double db = a.data.clkErB(ep) - e.data.clkErB(ep);
    const long double dr = a.data.clkErR(ep) - e.data.clkErR(ep);
    worstClock = std::max({worstClock, std::fabs(db), std::fabs(dr)});
    sumClock2 += db * db + dr * dr;
  }
  const matrix<gnssobs>* codes[] = {&e.data.C1, &e.data.P1, &e.data.P2, &e.data.C7};
  const matrix<gnssobs>* codesA[] = {&a.data.C1, &a.data.P1, &a.data.P2, &a.data.C7};
  const matrix<gnssobs>* phases[] = {&e.data.L1, &e.data.L2, &e.data.L7};
  const matrix<gnssobs>* phasesA[] = {&a.data.L1, &a.data.L2, &a.data.L7};
  for (long r = 0; r < e.data.GetNObs(); ++r) {
    ASSERT_EQ(a.data.GetRecSat(r), e.data.GetRecSat(r));
    for (int k = 0; k < 4; ++k)
      if (codes[k]->Length() == e.data.GetNObs())
        worstCode =
            std::max(worstCode, std::fabs((*codesA[k])(r).GetObs() - (*codes[k])(r).GetObs()));
    for (int k = 0; k < 3; ++k)
      if (phases[k]->Length() == e.data.GetNObs())
        worstPhase =
            std::max(worstPhase, std::fabs((*phasesA[k])(r).GetObs() - (*phases[k])(r).GetObs()));
  }
  // Both stations' values are rounded to 0.001 in the RINEX files.
  EXPECT_LE(worstCode, 0.00105L);
  EXPECT_LE(worstPhase, 0.00105L);
  // Point positioning of ionosphere-free codes with 0.3 m noise at the zenith (and the
  // satellite code biases of the scenario): a few nanoseconds.
  EXPECT_LT(std::sqrt(sumClock2 / (2 * e.data.GetNEpoch())), 1e-8L);
  EXPECT_LT(worstClock, 3e-8L);
}

}  // namespace

TEST(SdSimRoundTrip, HatanakaTextOfTheTestsDecodesToTheRinexFiles) {
  testsupport::TempDir dir;
  sim::Scenario sc;
  std::string message;
  ASSERT_EQ(
      sim::ParseScenario({"--out", dir.File("sim"), "--duration", "5m", "--rinex2"}, sc, message),
      sim::ParseResult::kRun);
  sim::Simulator simulator(sc);
  simulator.Run();
  ASSERT_TRUE(sim::WriteDataset(simulator, message)) << message;
  const sim::DatasetFiles f;
  for (const std::string& name : {f.Rinex3(sc, sim::kBase), f.Rinex2(sc, sim::kRover)}) {
    SCOPED_TRACE(name);
    const std::string path = dir.File("sim") + "/" + name;
    testsupport::WriteFile(path + ".crx", sdtest::Hatanaka(testsupport::ReadFile(path)));
    // The same epochs and values (the decoder writes clock offsets below 1 s without
    // the zero before the point, so the texts may differ there).
    RinexReader plain(SdOpenObservationFile(path)), packed(SdOpenObservationFile(path + ".crx"));
    RinexEpoch a, b;
    long n = 0;
    while (plain.NextEpoch(a)) {
      ASSERT_TRUE(packed.NextEpoch(b));
      EXPECT_TRUE(a.time == b.time);
      EXPECT_EQ(a.clock, b.clock);
      ASSERT_EQ(a.sats.size(), b.sats.size());
      for (size_t k = 0; k < a.sats.size(); ++k) {
        EXPECT_EQ(a.sats[k].sat, b.sats[k].sat);
        EXPECT_TRUE(a.sats[k].values == b.sats[k].values);
      }
      ++n;
    }
    EXPECT_FALSE(packed.NextEpoch(b));
    EXPECT_EQ(n, 11);
  }
}

TEST(SdSimRoundTrip, Rinex3AndRinex2FilesGiveTheSimulatorsSingleDifferences) {
  testsupport::TempDir dir;
  sim::Scenario sc;
  std::string message;
  ASSERT_EQ(
      sim::ParseScenario({"--out", dir.File("sim"), "--duration", "20m", "--rinex2"}, sc, message),
      sim::ParseResult::kRun);
  sim::Simulator simulator(sc);
  simulator.Run();
  ASSERT_TRUE(sim::WriteDataset(simulator, message)) << message;
  const sim::DatasetFiles f;
  const std::string folder = dir.File("sim") + "/";
  const std::string expected = folder + f.SingleDifferences(sc);
  // Files also Hatanaka-compressed and gzipped.
  auto pack = [&](const std::string& name) {
    std::string text = testsupport::ReadFile(folder + name);
    testsupport::WriteFile(folder + name + ".crx.gz", sdtest::Gzip(sdtest::Hatanaka(text)));
    return folder + name + ".crx.gz";
  };
  const std::string base3 = folder + f.Rinex3(sc, sim::kBase);
  const std::string rover3 = pack(f.Rinex3(sc, sim::kRover));
  const std::string base2 = pack(f.Rinex2(sc, sim::kBase));
  const std::string rover2 = folder + f.Rinex2(sc, sim::kRover);
  const std::vector<std::string> nav = {
      "--nav", folder + f.gpsNav, "--nav", folder + f.glonassNav, "--nav", folder + f.galileoNav};
  const std::vector<std::string> precise = {"--sp3", folder + f.sp3, "--clk", folder + f.clock};
  auto run = [&](const std::string& b, const std::string& r, const std::string& out,
                 const std::vector<std::string>& orbits) {
    std::vector<std::string> args = {"--base", b, "--rover", r, "--out", dir.File(out), "--quiet"};
    args.insert(args.end(), orbits.begin(), orbits.end());
    EXPECT_EQ(SdRun(args), 0);
  };
  testing::internal::CaptureStdout();
  run(base3, rover3, "sd3.txt", precise);
  run(base2, rover2, "sd2.txt", nav);
  run(base2, rover3, "sd23.txt", nav);
  testing::internal::GetCapturedStdout();
  {
    SCOPED_TRACE("RINEX 3.04, precise orbits");
    Compare(expected, dir.File("sd3.txt"));
  }
  {
    SCOPED_TRACE("RINEX 2.11, broadcast orbits");
    Compare(expected, dir.File("sd2.txt"));
  }
  {
    SCOPED_TRACE("RINEX 2.11 BASE, RINEX 3.04 ROVER");
    Compare(expected, dir.File("sd23.txt"));
  }
}

TEST(SdSimRoundTrip, MissingOrWrongHeaderPositionsAreReplacedByTheMeanSolution) {
  testsupport::TempDir dir;
  sim::Scenario sc;
  std::string message;
  ASSERT_EQ(sim::ParseScenario({"--out", dir.File("sim"), "--duration", "10m"}, sc, message),
            sim::ParseResult::kRun);
  sim::Simulator simulator(sc);
  simulator.Run();
  ASSERT_TRUE(sim::WriteDataset(simulator, message)) << message;
  const sim::DatasetFiles f;
  const std::string folder = dir.File("sim") + "/";
  // BASE header position 150 m off in X, ROVER header position zero.
  auto edit = [&](sim::Station st, const std::string& to) {
    std::string text = testsupport::ReadFile(folder + f.Rinex3(sc, st));
    size_t p = text.find("APPROX POSITION XYZ");
    text.replace(p - 60, 42, to);
    testsupport::WriteFile(folder + f.Rinex3(sc, st), text);
  };
  auto truth = [&](sim::Station st) {
    const sim::Vec3& v = simulator.Position(st);
    return xyz(v.x, v.y, v.z);
  };
  const xyz base = truth(sim::kBase);
  char line[64];
  std::snprintf(line, sizeof line, "%14.4Lf%14.4Lf%14.4Lf", base.GetX() + 150.0L, base.GetY(),
                base.GetZ());
  edit(sim::kBase, line);
  edit(sim::kRover, "        0.0000        0.0000        0.0000");
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(SdRun({"--base", folder + f.Rinex3(sc, sim::kBase), "--rover",
                   folder + f.Rinex3(sc, sim::kRover), "--out", dir.File("sd.txt"), "--sp3",
                   folder + f.sp3, "--clk", folder + f.clock, "--quiet"}),
            0);
  testing::internal::GetCapturedStdout();
  std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_NE(warnings.find("BASE SIMB: THE RINEX HEADER POSITION IS 1"), std::string::npos)
      << warnings;
  EXPECT_NE(warnings.find(" m FROM THE POINT POSITIONING; THE MEAN POINT POSITIONING SOLUTION IS "
                          "WRITTEN"),
            std::string::npos);
  EXPECT_NE(warnings.find("ROVER SIMR: THE RINEX HEADER HAS NO POSITION; THE MEAN POINT "
                          "POSITIONING SOLUTION IS WRITTEN"),
            std::string::npos);
  SdFile sd(dir.File("sd.txt"));
  // Code point positioning of ten minutes: a few metres.
  EXPECT_LT(static_cast<double>((sd.head.GetX0(0) - base).GetLength()), 10.0);
  EXPECT_LT(static_cast<double>((sd.head.GetX0(1) - truth(sim::kRover)).GetLength()), 10.0);
}
