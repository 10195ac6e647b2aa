#include <gtest/gtest.h>

#include <cstdio>

#include "sim/Constants.h"
#include "sim/Scenario.h"

namespace sim {
namespace {

ParseResult Parse(const std::vector<std::string>& args, Scenario& sc, std::string& msg) {
  return ParseScenario(args, sc, msg);
}

TEST(Scenario, DefaultsDescribeATwoHourTenKilometreThreeSystemRun) {
  Scenario sc;
  std::string msg;
  ASSERT_EQ(Parse({}, sc, msg), ParseResult::kRun);
  EXPECT_EQ(sc.systems, "GRE");
  EXPECT_EQ(sc.duration, 7200);
  EXPECT_EQ(sc.interval, 30);
  EXPECT_EQ(sc.baselineKm, 10);
  EXPECT_EQ(sc.outDir, "sim-out");
}

TEST(Scenario, ReadsValuesInBothSpellingsAndEffects) {
  Scenario sc;
  std::string msg;
  ASSERT_EQ(Parse({"--out=x",
                   "--seed",
                   "42",
                   "--duration",
                   "1d",
                   "--systems=GE",
                   "--slip",
                   "G05,600,1,-2",
                   "--slip=E11,30,3,0,base",
                   "--gap",
                   "R03,0,120",
                   "--outlier",
                   "G07,90,P2,25.5",
                   "--problem-sat",
                   "G10,0,600",
                   "--ms-jumps",
                   "--rover-tag-offset",
                   "2.5",
                   "--noise-free",
                   "--base",
                   "46,15,300",
                   "--start",
                   "2025-01-02 03:00:00",
                   "--sp3-interval",
                   "15"},
                  sc, msg),
            ParseResult::kRun)
      << msg;
  EXPECT_EQ(sc.outDir, "x");
  EXPECT_EQ(sc.seed, 42u);
  EXPECT_EQ(sc.duration, 86400);
  EXPECT_EQ(sc.systems, "GE");
  ASSERT_EQ(sc.slips.size(), 2u);
  EXPECT_EQ(sc.slips[0].n2, -2);
  EXPECT_EQ(sc.slips[0].station, kRover);
  EXPECT_EQ(sc.slips[1].station, kBase);
  ASSERT_EQ(sc.gaps.size(), 1u);
  EXPECT_EQ(sc.gaps[0].to, 120);
  ASSERT_EQ(sc.outliers.size(), 1u);
  EXPECT_EQ(sc.outliers[0].type, "P2");
  EXPECT_TRUE(sc.msJumps);
  EXPECT_NEAR(static_cast<double>(sc.roverTagOffset), 0.0025, 1e-12);
  EXPECT_EQ(sc.codeSigma, 0);
  EXPECT_EQ(sc.phaseSigma, 0);
  EXPECT_NEAR(static_cast<double>(sc.base.lat), static_cast<double>(46 * kDeg), 1e-15);
  EXPECT_EQ(sc.start.year, 2025);
  EXPECT_EQ(sc.sp3Interval, 900);
  EXPECT_NE(sc.commandLine.find("--seed 42"), std::string::npos);
}

// The recorded command line, given to a shell, hands the tool the same arguments.
TEST(Scenario, RecordedCommandLineSurvivesTheShell) {
  const std::vector<std::string> args = {"--out",       "my data", "--start", "2026-06-15 08:00:00",
                                         "--base-name", "it's",    "--seed",  "7"};
  Scenario sc;
  std::string msg;
  Parse(args, sc, msg);
  ASSERT_EQ(sc.commandLine.compare(0, 11, "tervan-sim "), 0);
  const std::string script =
      "set -- " + sc.commandLine.substr(11) + "; for a in \"$@\"; do printf '%s|' \"$a\"; done";
  std::string quoted = "'";
  for (char c : script) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  quoted += "'";
  FILE* p = popen(("/bin/sh -c " + quoted).c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string got;
  char buf[256];
  while (std::fgets(buf, sizeof buf, p)) got += buf;
  pclose(p);
  std::string want;
  for (const std::string& a : args) want += a + "|";
  EXPECT_EQ(got, want);
  EXPECT_NE(sc.commandLine.find("--seed 7"), std::string::npos);
}

TEST(Scenario, RejectsWhatItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {"--frobnicate"},         {"--seed"},
      {"--seed", "-1"},         {"--duration", "0"},
      {"--duration", "9d"},     {"--systems", "GC"},
      {"--slip", "G05,600,1"},  {"--slip", "X05,600,1,1"},
      {"--gap", "G01,100,50"},  {"--outlier", "G01,0,L1,3"},
      {"--sp3-interval", "10"}, {"--interval", "2.5"},
      {"--base", "95,0,0"},     {"--start", "2026-02-30"},
      {"--mask", "nan"},        {"stray"},
      {"--base-name", "A B"},   {"--slip", "G05,600,1,1,moon"},
      {"--rover-name", "SIMB"},
  };
  for (const auto& args : bad) {
    Scenario sc;
    std::string msg;
    EXPECT_EQ(Parse(args, sc, msg), ParseResult::kError) << args[0];
    EXPECT_FALSE(msg.empty());
  }
}

TEST(Scenario, HelpIsAskedForAndDescribesTheOptions) {
  Scenario sc;
  std::string msg;
  EXPECT_EQ(Parse({"--seed", "3", "--help"}, sc, msg), ParseResult::kHelp);
  const std::string help = HelpText();
  for (const char* opt : {"--out", "--seed", "--slip", "--gap", "--outlier", "--ms-jumps",
                          "--rover-tag-offset", "--problem-sat", "--rinex2"})
    EXPECT_NE(help.find(opt), std::string::npos) << opt;
}

}  // namespace
}  // namespace sim
