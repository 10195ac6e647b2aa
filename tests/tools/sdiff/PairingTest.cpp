// Stations whose receivers track the signals in different modes: which codes of the
// two stations the converter pairs, what it writes and what it tells the user.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/ChainRun.h"
#include "sdiff/Tool.h"
#include "support/TestSupport.h"

namespace {

std::string H(const std::string& content, const std::string& label) {
  return content + std::string(60 - content.size(), ' ') + label + "\n";
}

// A RINEX 3.04 header with one "SYS / # / OBS TYPES" record per entry ("G C1C L1C").
std::string Header(const std::string& name, const std::vector<std::string>& systems) {
  std::string h = H("     3.04           OBSERVATION DATA    M", "RINEX VERSION / TYPE") +
                  H(name, "MARKER NAME") +
                  H("  4595212.4530  1148421.1070  4270496.5390", "APPROX POSITION XYZ");
  for (const std::string& s : systems) {
    char count[32];
    std::snprintf(count, sizeof count, "%c  %3zu", s[0], (s.size() - 1) / 4);
    h += H(count + s.substr(1), "SYS / # / OBS TYPES");
  }
  return h + H("", "END OF HEADER");
}

// A converted pair of hand-made files: the summary, the warnings and the values.
struct Converted {
  testsupport::TempDir dir;
  std::string summary, warnings;
  std::vector<std::string> types;  // of the single-difference header
  // satellite number -> type -> value of the first epoch
  std::map<int, std::map<std::string, double>> values;

  Converted(const std::string& base, const std::string& rover) {
    testsupport::WriteFile(dir.File("b.rnx"), base);
    testsupport::WriteFile(dir.File("r.rnx"), rover);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_EQ(SdRun({"--base", dir.File("b.rnx"), "--rover", dir.File("r.rnx"), "--out",
                     dir.File("sd.txt"), "--quiet"}),
              0);
    summary = testing::internal::GetCapturedStdout();
    warnings = testing::internal::GetCapturedStderr();
    Parse(testsupport::ReadFile(dir.File("sd.txt")));
  }

  void Parse(const std::string& sd) {
    std::istringstream in(sd);
    std::string line;
    while (std::getline(in, line) && line.rfind("END OF HEADER", 0) != 0)
      if (line.rfind("# & TYPES OF OBS:", 0) == 0) {
        std::istringstream t(line.substr(17));
        int n = 0;
        t >> n;
        types.resize(n);
        for (std::string& s : types) t >> s;
      }
    int n = 0;
    if (!(in >> n)) return;
    std::getline(in, line);
    for (int k = 0; k < n && std::getline(in, line); ++k) {
      std::istringstream r(line);
      int sat = 0;
      r >> sat;
      for (const std::string& t : types) r >> values[sat][t];
    }
  }
};

// Two epochs, 00:00:00 and 00:00:30, of satellites given as "G05" -> values (0: blank),
// each value raised by `plus` and by the second.
std::string Body(const std::map<std::string, std::vector<double>>& sats, double plus) {
  std::string s;
  char buf[64];
  for (int second : {0, 30}) {
    std::snprintf(buf, sizeof buf, "> 2024 03 01 00 00 %2d.0000000  0 %2zu\n", second, sats.size());
    s += buf;
    for (const auto& [id, values] : sats) {
      s += id;
      for (double v : values) {
        std::snprintf(buf, sizeof buf, "%14.3f  ", v + plus + second);
        s += v == 0 ? std::string(16, ' ') : std::string(buf);
      }
      s += "\n";
    }
  }
  return s;
}

}  // namespace

// Galileo E1 and E5b of one receiver as C/Q, of the other as B+C / I+Q: codes of one
// class and phases of one band pair across the attributes.
TEST(SdPairing, GalileoCodesAndPhasesPairAcrossTrackingAttributes) {
  const std::map<std::string, std::vector<double>> sats = {
      {"E11", {23000000, 120000000, 23000002, 90000000}}};
  Converted c(Header("BASE", {"E C1C L1C C7Q L7Q"}) + Body(sats, 0),
              Header("ROVR", {"E C1X L1X C7X L7X"}) + Body(sats, 2.5));
  ASSERT_EQ(c.types, (std::vector<std::string>{"C1", "L1", "C7", "L7"}));
  for (const std::string& t : c.types) EXPECT_DOUBLE_EQ(c.values[211][t], 2.5) << t;
  EXPECT_NE(c.summary.find("; Galileo 2 records (C1C/C1X, L1C/L1X, C7Q/C7X, L7Q/L7X)\n"),
            std::string::npos)
      << c.summary;
  EXPECT_EQ(c.warnings.find("GIVES NO RECORD"), std::string::npos) << c.warnings;
}

// C1C against C1W is the P1-C1 bias, never a single difference; the phases of the band
// still pair. P1 pairs with P1 (C1W with C1P).
TEST(SdPairing, CodesPairOnlyWithinTheirClass) {
  const std::map<std::string, std::vector<double>> sats = {{"G05", {20000000, 105000000}},
                                                           {"R01", {21000000, 112000000}}};
  Converted c(Header("BASE", {"G C1C L1C", "R C1C L1C"}) + Body(sats, 0),
              Header("ROVR", {"G C1W L1W", "R C1P L1P"}) + Body(sats, 1));
  EXPECT_EQ(c.types, (std::vector<std::string>{"L1"}));
  EXPECT_DOUBLE_EQ(c.values[5]["L1"], 1);
  EXPECT_DOUBLE_EQ(c.values[101]["L1"], 1);
  EXPECT_NE(c.summary.find("; GPS 2 records (L1C/L1W), GLONASS 2 records (L1C/L1P)\n"),
            std::string::npos)
      << c.summary;

  Converted p(Header("BASE", {"G C1W L1C"}) + Body({{"G05", {20000000, 105000000}}}, 0),
              Header("ROVR", {"G C1P L1C"}) + Body({{"G05", {20000000, 105000000}}}, 3));
  EXPECT_EQ(p.types, (std::vector<std::string>{"P1", "L1"}));
  EXPECT_DOUBLE_EQ(p.values[5]["P1"], 3);
  EXPECT_NE(p.summary.find("; GPS 2 records (C1W/C1P, L1C)\n"), std::string::npos) << p.summary;
}

// One pairing per system and type for the whole file: each station's first code of the
// type; a satellite without it at one station has no value rather than another pair.
// A code that both stations share keeps its place before any pair across attributes.
TEST(SdPairing, OnePairPerSystemAndTypeAndSharedCodesFirst) {
  const std::string base =
      Header("BASE", {"G L1C L2W"}) +
      Body({{"G05", {105000000, 81000000}}, {"G07", {106000000, 82000000}}}, 0);
  const std::string rover =
      Header("ROVR", {"G L1C L2L L2X"}) +
      Body({{"G05", {105000000, 81000000, 81000000}}, {"G07", {106000000, 0, 82000000}}}, 4);
  Converted c(base, rover);
  ASSERT_EQ(c.types, (std::vector<std::string>{"L1", "L2"}));
  EXPECT_DOUBLE_EQ(c.values[5]["L2"], 4);
  EXPECT_DOUBLE_EQ(c.values[7]["L2"], 0);  // L2X is not paired: L2W/L2L is the file's pair
  EXPECT_DOUBLE_EQ(c.values[7]["L1"], 4);
  EXPECT_NE(c.summary.find("; GPS 4 records (L1C, L2W/L2L)\n"), std::string::npos) << c.summary;

  Converted shared(
      Header("BASE", {"G L1C L2W L2X"}) + Body({{"G05", {105000000, 7, 81000000}}}, 0),
      Header("ROVR", {"G L1C L2L L2X"}) + Body({{"G05", {105000000, 2, 81000000}}}, 5));
  EXPECT_DOUBLE_EQ(shared.values[5]["L2"], 5);
  EXPECT_NE(shared.summary.find("; GPS 2 records (L1C, L2X)\n"), std::string::npos)
      << shared.summary;
}

// A system that both stations observe but that gives nothing is named with the codes of
// each station; the file holds the other systems.
TEST(SdPairing, ASystemWithoutRecordsIsWarnedAboutWithTheCodesOfEachStation) {
  const std::map<std::string, std::vector<double>> sats = {{"G05", {20000000, 105000000}},
                                                           {"R01", {21000000, 0}}};
  Converted c(Header("BASE", {"G C1C L1C", "R C1C L2C"}) + Body(sats, 0),
              Header("ROVR", {"G C1C L1C", "R C1P L1P"}) + Body(sats, 1));
  EXPECT_EQ(c.types, (std::vector<std::string>{"C1", "L1"}));
  EXPECT_NE(c.summary.find("; GPS 2 records (C1C, L1C), GLONASS 0 records\n"), std::string::npos)
      << c.summary;
  EXPECT_NE(c.warnings.find("GLONASS IS OBSERVED AT BOTH STATIONS BUT GIVES NO RECORD: BASE "
                            "CODES C1C L2C, ROVER CODES C1P L1P"),
            std::string::npos)
      << c.warnings;
}

// A noise-free hour in which the ROVER tracks GPS L2 and Galileo in other modes than the
// BASE, as a user runs it through the programs tervan-sdiff and tervan, with the code
// biases of every system estimated.
TEST(SdPairingChain, MixedTrackingGivesTheSimulatedBaseline) {
  e2e::ChainRun run;
  ASSERT_TRUE(run.Run({"--duration", "1h", "--noise-free", "--no-ionosphere", "--no-troposphere",
                       "--start", "2026-06-15 08:00:00", "--mixed-tracking"},
                      e2e::Orbits::kPrecise,
                      {"-csGRE", "-lC1,L1,L2", "-cxGPS,GLN,GAL", "-me10", "-xSTA"}))
      << run.Why();
  for (int k = 0; k < 3; ++k) EXPECT_LT(std::fabs(run.Error(k)), 1e-4L) << k << run.Report();
  // Galileo, tracked in other modes at the two stations, takes part in every epoch.
  EXPECT_EQ(run.Value("# of GALILEO EPOCHS"), 121) << run.Report();
}
