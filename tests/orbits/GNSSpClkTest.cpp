#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "orbits/GNSSpClk.h"
#include "support/TestSupport.h"

namespace {
using testsupport::TempDir;

const mjd kStart(59025, 0.0L);

mjd At(long double seconds) {
  mjd t = kStart;
  t += seconds;
  return t;
}

// Clock (s) of a test satellite: a cubic in time, exactly reproduced by four nodes.
long double Cubic(int k, long double t) {
  const long double m = t / 60;
  return 1e-4L * (k + 1) + 2e-9L * m - 3e-12L * m * m + 1e-15L * m * m * m;
}

struct ClkFile {
  std::vector<std::string> sats = {"G01", "R02", "E03"};
  std::vector<long double> epochs;
  std::string version = "3.00";
  std::vector<std::string> extra;            // records of unlisted satellites, receiver lines
  std::vector<std::pair<int, int>> missing;  // (epoch, satellite) without a record

  std::string Text() const {
    char b[200];
    std::string s = "     " + version + "           C                   RINEX VERSION / TYPE\n";
    s += "TEST                TEST                20200702 084150 UTC PGM / RUN BY / DATE \n";
    s += "     1    AS                                              # / TYPES OF DATA   \n";
    std::snprintf(b, sizeof b, "%6d%54s# OF SOLN SATS      \n", static_cast<int>(sats.size()), "");
    s += b;
    for (size_t i = 0; i < sats.size(); i += 15) {
      std::string line;
      for (size_t k = i; k < i + 15 && k < sats.size(); k++) line += sats[k] + " ";
      line.resize(60, ' ');
      s += line + "PRN LIST            \n";
    }
    s += std::string(60, ' ') + "END OF HEADER       \n";
    const bool wide = version == "3.04";
    for (size_t e = 0; e < epochs.size(); e++) {
      const long double t = epochs[e];
      const int h = static_cast<int>(t / 3600), mi = static_cast<int>((t - h * 3600) / 60);
      const double sec = static_cast<double>(t - h * 3600 - mi * 60);
      for (size_t k = 0; k < sats.size(); k++) {
        bool skip = false;
        for (auto& m : missing)
          skip |= m.first == static_cast<int>(e) && m.second == static_cast<int>(k);
        if (skip) continue;
        std::snprintf(b, sizeof b,
                      wide ? "AS %-9s %4d %2d %2d %2d %2d %9.6f %2d   %19.12E\n"
                           : "AS %-3s  %4d %2d %2d %2d %2d %9.6f %2d   %19.12E\n",
                      sats[k].c_str(), 2020, 6, 25, h, mi, sec, 1,
                      static_cast<double>(Cubic(static_cast<int>(k), t)));
        s += b;
      }
      if (e == 1)
        for (const std::string& x : extra) s += x + "\n";
    }
    return s;
  }
};

std::vector<long double> Epochs(int n, long double step, long double start = 0) {
  std::vector<long double> e;
  for (int i = 0; i < n; i++) e.push_back(start + i * step);
  return e;
}

class GNSSpClkTest : public ::testing::Test {
 protected:
  void Read(const ClkFile& f) {
    const std::string name = dir.File("sat.clk");
    testsupport::WriteFile(name, f.Text());
    clk.SetFile(name.c_str());
    clk.ReadFile();
  }
  long double Clock(short sat, long double t) {
    clk.SetEpochIndex(At(t));
    long double dt = -1;
    clk.GetSatelliteClock(sat, At(t), dt);
    return dt;
  }
  TempDir dir;
  GNSSpClk clk;
};

TEST_F(GNSSpClkTest, ValueOnAClockEpochAndBetween) {
  ClkFile f;
  f.epochs = Epochs(20, 30);
  Read(f);
  EXPECT_EQ(clk.GetNEpoch(), 20);
  EXPECT_EQ(clk.GetNSatList(), 3);
  EXPECT_EQ(clk.GetInterval(), 30.0L);
  EXPECT_NEAR(static_cast<double>(Clock(1, 150)), static_cast<double>(Cubic(0, 150)), 1e-16);
  EXPECT_TRUE(clk.GetDTisOK());
  EXPECT_NEAR(static_cast<double>(Clock(102, 161.5L)), static_cast<double>(Cubic(1, 161.5L)),
              1e-16);
  EXPECT_NEAR(static_cast<double>(Clock(203, 5)), static_cast<double>(Cubic(2, 5)), 1e-16);
  EXPECT_NEAR(static_cast<double>(Clock(203, 565)), static_cast<double>(Cubic(2, 565)), 1e-16);
}

TEST_F(GNSSpClkTest, ExtrapolationWarnsOnlyBeyond300Seconds) {
  ClkFile f;
  f.epochs = Epochs(20, 30);
  Read(f);
  testing::internal::CaptureStderr();
  EXPECT_NEAR(static_cast<double>(Clock(1, 570 + 200)), static_cast<double>(Cubic(0, 770)), 1e-14);
  EXPECT_EQ(clk.GetEpochIx(), 18);
  EXPECT_EQ(testing::internal::GetCapturedStderr().find("OUT OF DATA INTERVAL"), std::string::npos);
  testing::internal::CaptureStderr();
  Clock(1, 570 + 400);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "RINEX CLOCK - GETTING INDEX - INPUT EPOCH OUT OF DATA INTERVAL (>300s)"),
            std::string::npos);
  EXPECT_TRUE(clk.GetDTisOK());
  testing::internal::CaptureStderr();
  Clock(1, -400);
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "RINEX CLOCK - GETTING INDEX - INPUT EPOCH OUT OF DATA INTERVAL (<-300s)"),
            std::string::npos);
  EXPECT_EQ(clk.GetEpochIx(), 0);
}

TEST_F(GNSSpClkTest, MissingValueAtANodeLeavesNoClock) {
  ClkFile f;
  f.epochs = Epochs(20, 30);
  f.missing = {{8, 1}};
  Read(f);
  Clock(102, 7 * 30 + 10);  // nodes 6-9
  EXPECT_FALSE(clk.GetDTisOK());
  Clock(102, 11 * 30 + 10);  // nodes 10-13
  EXPECT_TRUE(clk.GetDTisOK());
  Clock(1, 7 * 30 + 10);
  EXPECT_TRUE(clk.GetDTisOK());
  Clock(7, 7 * 30 + 10);  // not in the list
  EXPECT_FALSE(clk.GetDTisOK());
}

TEST_F(GNSSpClkTest, ThirtySatellitesFromTwoListLines) {
  ClkFile f;
  f.sats.clear();
  for (int i = 1; i <= 30; i++) {
    char id[8];
    std::snprintf(id, sizeof id, "%c%02d", i <= 15 ? 'G' : 'E', i);
    f.sats.push_back(id);
  }
  f.epochs = Epochs(6, 30);
  Read(f);
  EXPECT_EQ(clk.GetNSatList(), 30);
  EXPECT_EQ(clk.GetSatList(14), 15);
  EXPECT_EQ(clk.GetSatList(29), 230);
  EXPECT_NEAR(static_cast<double>(Clock(230, 40)), static_cast<double>(Cubic(29, 40)), 1e-16);
}

TEST_F(GNSSpClkTest, SearchFromAStartIndexMatchesTheFullSearch) {
  ClkFile f;
  f.epochs = Epochs(40, 30);
  Read(f);
  for (long double t : {0.0L, 15.0L, 30.0L, 400.0L, 1169.0L, 1170.0L}) {
    clk.SetEpochIndex(At(t));
    const int32_t full = clk.GetEpochIx();
    for (long start : {0L, 5L, 13L, 38L, 39L}) {
      clk.SetEpochIndex(At(t), start);
      EXPECT_EQ(clk.GetEpochIx(), full) << t << " " << start;
    }
  }
}

TEST_F(GNSSpClkTest, UnlistedSatelliteRecordsAreSkipped) {
  ClkFile f;
  f.epochs = Epochs(10, 30);
  f.extra = {"AS G31  2020  6 25  0  0 30.000000  1   -1.000000000000E-04",
             "AR BRUX 2020  6 25  0  0 30.000000  1   -2.000000000000E-09"};
  Read(f);
  EXPECT_EQ(clk.GetNEpoch(), 10);
  EXPECT_NEAR(static_cast<double>(Clock(1, 45)), static_cast<double>(Cubic(0, 45)), 1e-16);
  Clock(31, 45);
  EXPECT_FALSE(clk.GetDTisOK());
}

TEST_F(GNSSpClkTest, SecondSatelliteListTakesThePlaceOfTheFirst) {
  ClkFile f;
  f.epochs = Epochs(10, 30);
  std::string text = f.Text();
  // A shorter list after the first: R02 and E03 lose their columns.
  const std::string second = std::string("     1") + std::string(54, ' ') +
                             "# OF SOLN SATS      \n" + "G01" + std::string(57, ' ') +
                             "PRN LIST            \n";
  text.insert(text.find(std::string(60, ' ') + "END OF HEADER"), second);
  const std::string name = dir.File("two.clk");
  testsupport::WriteFile(name, text);
  clk.SetFile(name.c_str());
  clk.ReadFile();
  EXPECT_EQ(clk.GetNSatList(), 1);
  EXPECT_NEAR(static_cast<double>(Clock(1, 45)), static_cast<double>(Cubic(0, 45)), 1e-16);
  Clock(203, 45);
  EXPECT_FALSE(clk.GetDTisOK());
}

TEST_F(GNSSpClkTest, Version304RecordNamesNineCharactersWide) {
  ClkFile f;
  f.version = "3.04";
  f.epochs = Epochs(10, 30);
  Read(f);
  EXPECT_EQ(clk.GetNEpoch(), 10);
  EXPECT_NEAR(static_cast<double>(Clock(203, 100)), static_cast<double>(Cubic(2, 100)), 1e-16);
}

TEST_F(GNSSpClkTest, GapInTheRecordsUsesTheNodeEpochs) {
  ClkFile f;
  for (long double t : Epochs(12, 30))
    if (t != 150) f.epochs.push_back(t);
  Read(f);
  EXPECT_EQ(clk.GetInterval(), 30.0L);
  EXPECT_NEAR(static_cast<double>(Clock(1, 140)), static_cast<double>(Cubic(0, 140)), 1e-16);
}

TEST(GNSSpClkDeath, HeaderFaultsEndTheRun) {
  TempDir dir;
  GNSSpClk clk;
  const std::string obs = dir.File("obs.clk");
  testsupport::WriteFile(obs, "     3.00           O                   RINEX VERSION / TYPE\n");
  clk.SetFile(obs.c_str());
  EXPECT_EXIT(clk.ReadFile(), ::testing::ExitedWithCode(1),
              testsupport::Literal("**** Tervan: Error -> RINEX CLOCK FILE IS NOT IN RINEX CLOCK "
                                   "FORMAT - RINEX TYPE IS NOT 'C' ****"));
  const std::string cut = dir.File("cut.clk");
  testsupport::WriteFile(
      cut,
      "     3.00           C                   RINEX VERSION / TYPE\n"
      "    75                                                      # OF SOLN SATS\n");
  clk.SetFile(cut.c_str());
  EXPECT_EXIT(clk.ReadFile(), ::testing::ExitedWithCode(1),
              testsupport::Literal("RINEX CLOCK FILE - UNSUCCESFUL READING (HEADER)"));
}

// A clock file listing 495 satellites with records of G01 alone at the first
// `epochs` seconds of the day.
std::string OneOf495Satellites(int epochs) {
  ClkFile f;
  f.sats.clear();
  for (char sys : std::string("GREJC"))
    for (int n = 1; n < 100; n++) {
      char id[8];
      std::snprintf(id, sizeof id, "%c%02d", sys, n);
      f.sats.push_back(id);
    }
  std::string text = f.Text();
  for (int e = 0; e < epochs; e++) {
    char b[100];
    std::snprintf(b, sizeof b, "AS G01  2020  6 25 %2d %2d %9.6f  1    0.123456789012E-03\n",
                  e / 3600, e / 60 % 60, static_cast<double>(e % 60));
    text += b;
  }
  return text;
}

// Reading the file text ends the run with the framed error message.
void ExpectReadEnds(const std::string& text, const std::string& message) {
  TempDir dir;
  const std::string name = dir.File("refused.clk");
  testsupport::WriteFile(name, text);
  GNSSpClk clk;
  clk.SetFile(name.c_str());
  EXPECT_EXIT(clk.ReadFile(), ::testing::ExitedWithCode(1),
              testsupport::Literal("**** Tervan: Error -> " + message + " ****"));
}

TEST(GNSSpClkDeath, FarFewerRecordsThanTheTableWouldHoldEndsTheRun) {
  ExpectReadEnds(OneOf495Satellites(300),
                 "RINEX CLOCK FILE - FAR FEWER SATELLITE CLOCKS THAN EPOCHS AND SATELLITES!");
}

TEST(GNSSpClkDeath, ATableTooLargeToHoldEndsTheRunAfterTheRead) {
  // 495 satellites times 40,500 epochs: 20.0 million values.
  ExpectReadEnds(OneOf495Satellites(40500),
                 "RINEX CLOCK FILE - TOO MANY EPOCHS AND SATELLITES TO HOLD!");
}

}  // namespace

// A series cut into two files and joined gives the clocks of the whole series
// (whichever file is the main one); at a shared epoch the main file's value is
// kept and a difference above 1 ns is warned of.
TEST_F(GNSSpClkTest, SeriesInTwoFilesGivesTheWholeSeries) {
  ClkFile whole, a, b;
  whole.epochs = Epochs(40, 30);
  a.epochs = Epochs(20, 30);
  b.epochs = Epochs(20, 30, 600);
  a.missing = {{19, 1}};  // R02 at 570 s only in the neighbour
  Read(whole);
  GNSSpClk all = clk;
  std::string next = b.Text();
  // The neighbour's G01 at 570 s, shared with the main file, lies 2 ns off.
  b.epochs = Epochs(21, 30, 570);
  next = b.Text();
  const size_t line = next.find("AS G01  2020  6 25  0  9 30");
  char value[32];
  std::snprintf(value, sizeof value, "%19.12E", static_cast<double>(Cubic(0, 570) + 2e-9L));
  next.replace(next.find('\n', line) - 19, 19, value);
  testsupport::WriteFile(dir.File("a.clk"), a.Text());
  testsupport::WriteFile(dir.File("b.clk"), next);
  for (int order = 0; order < 2; order++) {
    clk = GNSSpClk();
    clk.SetFile(dir.File(order == 0 ? "a.clk" : "b.clk").c_str());
    clk.AddFile(dir.File(order == 0 ? "b.clk" : "a.clk").c_str());
    testing::internal::CaptureStderr();
    clk.ReadFile();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("RINEX CLOCK FILES DIFFER AT THEIR COMMON EPOCH: 1 SATELLITES BY UP TO "
                       "2.000 ns - VALUES OF THE FILE GIVEN FIRST ARE KEPT: "),
              std::string::npos)
        << err;
    EXPECT_EQ(clk.GetNEpoch(), 40);
    testing::internal::CaptureStderr();
    for (long double t = 0; t < 1170; t += 7.5L)
      for (short sat : {1, 102, 203}) {
        all.SetEpochIndex(At(t));
        long double expected = 0;
        all.GetSatelliteClock(sat, At(t), expected);
        if (order == 1 && sat == 1 && t > 510 && t < 630) continue;  // the off value
        EXPECT_NEAR(static_cast<double>(Clock(sat, t)), static_cast<double>(expected), 1e-17)
            << order << " " << sat << " " << t;
        EXPECT_TRUE(clk.GetDTisOK());
      }
    testing::internal::GetCapturedStderr();
  }
}

// The four nodes are centred on t wherever the series allows it (one before the
// epoch index, two after), also in the last but two interval; at the ends one
// warning tells that they cannot be.
TEST_F(GNSSpClkTest, NodesCentredWhereTheSeriesAllows) {
  ClkFile f;
  f.epochs = Epochs(20, 30);
  f.missing = {{19, 0}};  // G01 has no value at the last epoch
  Read(f);
  testing::internal::CaptureStderr();
  Clock(1, 16 * 30 + 10);  // nodes 15-18
  EXPECT_TRUE(clk.GetDTisOK());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  Clock(1, 10);
  Clock(102, 18 * 30 + 10);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\n#### Tervan: Warning -> EPOCH NEAR THE END OF THE PRECISE CLOCKS: INTERPOLATION NOT "
            "CENTRED - GIVE THE CLOCK FILE OF THE NEIGHBOURING DAY! ####\n     Continuing Tervan "
            "... \n\n");
}

TEST(GNSSpClkDeath, MalformedClockValueNamesFileColumnsAndLine) {
  TempDir dir;
  ClkFile f;
  f.epochs = Epochs(4, 300);
  f.extra = {"AS G01  2020  6 25  0 15  0.000000  1   x.5"};
  const std::string name = dir.File("bad.clk");
  testsupport::WriteFile(name, f.Text());
  GNSSpClk clk;
  clk.SetFile(name.c_str());
  const std::string text = f.Text();
  const long lineNo = std::count(text.begin(), text.begin() + text.find("   x.5"), '\n') + 1;
  EXPECT_EXIT(
      clk.ReadFile(), ::testing::ExitedWithCode(1),
      testsupport::Literal("**** Tervan: Error -> MALFORMED NUMBER IN COLUMNS 41-59 OF LINE " +
                           std::to_string(lineNo) + " OF " + name +
                           ": AS G01  2020  6 25  0 15  0.000000  1   x.5 ****"));
}
