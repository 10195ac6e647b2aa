#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "gnss/TimeConverse.h"
#include "sdiff/ExcludeProblemSat.h"
#include "sdiff/SatCRX.h"
#include "support/TestSupport.h"

namespace {

void Put(std::string& line, size_t col, const std::string& text) {
  if (line.size() < col + text.size()) line.resize(col + text.size(), ' ');
  line.replace(col, text.size(), text);
}

std::string Num(const char* fmt, double v) {
  char b[32];
  std::snprintf(b, sizeof(b), fmt, v);
  return b;
}

// One entry line; end[0] == 0 leaves the window open.
std::string Entry(int sat, int type, int act, const int (&s)[6], const int (&e)[6]) {
  std::string l;
  Put(l, 1, Num("%3.0f", sat));
  Put(l, 13, Num("%2.0f", type));
  Put(l, 21, Num("%3.0f", act));
  const size_t sc[6] = {32, 37, 40, 43, 46, 49}, ec[6] = {53, 58, 61, 64, 67, 70};
  for (int k = 0; k < 5; ++k) Put(l, sc[k], Num(k == 0 ? "%4.0f" : "%02.0f", s[k]));
  Put(l, sc[5], Num("%2.0f", s[5]));
  if (e[0] != 0) {
    for (int k = 0; k < 5; ++k) Put(l, ec[k], Num(k == 0 ? "%4.0f" : "%02.0f", e[k]));
    Put(l, ec[5], Num("%4.1f", e[5]));
  }
  return l + "\n";
}

const char* const kHead =
    "PROBLEM SATELLITES\n\n SAT         TYPE   ACT        START                END\n"
    "---\n\n---\n";

struct CrxFile {
  testsupport::TempDir dir;
  SatCRX x;
  explicit CrxFile(const std::string& body) {
    std::string path = dir.File("sat.crx");
    testsupport::WriteFile(path, kHead + body);
    x.SetFile(path.c_str());
    x.ReadFile();
  }
};

mjd At(int y, int mo, int d, int h, int mi, long double s) {
  return ymdhms2mjd(ymdhms(y, mo, d, h, mi, s));
}

}  // namespace

TEST(SatCRX, ReadsEntriesUpToTheFirstShortLine) {
  CrxFile f(Entry(5, 1, 0, {2020, 6, 25, 0, 10, 0}, {2020, 6, 25, 1, 0, 30}) +
            "  this line has no problem type\n" +
            Entry(105, 3, 7, {2020, 6, 25, 12, 0, 0}, {0, 0, 0, 0, 0, 0}) + "   \n" +
            Entry(9, 2, 0, {2020, 6, 25, 0, 0, 0}, {0, 0, 0, 0, 0, 0}));
  const SatCRX& x = f.x;
  ASSERT_EQ(x.GetNSat(), 2);
  EXPECT_EQ(x.GetSat(0), 5);
  EXPECT_EQ(x.GetType(0), 1);
  EXPECT_EQ(x.GetSat(1), 105);
  EXPECT_EQ(x.GetType(1), 3);
  EXPECT_EQ(x.GetAction(1), 7);
  EXPECT_TRUE(x.GetStart(0) == At(2020, 6, 25, 0, 10, 0));
  EXPECT_TRUE(x.GetEnd(0) == At(2020, 6, 25, 1, 0, 30));
  EXPECT_TRUE(x.GetEnd(1) == mjd(88068, 86399.0L));  // open end
}

TEST(SatCRXDeathTest, MissingFile) {
  testsupport::TempDir dir;
  EXPECT_EXIT(
      {
        SatCRX x;
        x.SetFile(dir.File("none.crx").c_str());
      },
      ::testing::ExitedWithCode(1),
      testsupport::Literal("**** Tervan: Error -> SATELLITE PROBLEM FILE DOES NOT EXIST! ****\n"
                           "     Exiting Tervan ... "));
}

TEST(SatCRXDeathTest, OverlongNameIsNotReportedAsMissing) {
  testsupport::TempDir dir;
  std::string name = dir.Path() + "/" + std::string(250, 'x') + "/" + std::string(250, 'y') + "/z";
  EXPECT_EXIT(
      {
        SatCRX x;
        x.SetFile(name.c_str());
      },
      ::testing::ExitedWithCode(1),
      testsupport::Literal("**** Tervan: Error -> SATELLITE PROBLEM FILE NAME IS TOO LONG! ****\n"
                           "     Exiting Tervan ... "));
}

namespace {

// Ten epochs, 30 s apart from 2020-06-25 00:00:00, with satellites 5 and 7 and
// all five code and phase types present.
struct Data {
  PhsDiffHeader h;
  PhsDiffData d{h};
  Data() {
    matrix<short> codes(5, 1);
    const short t[5] = {sdobs::C1, sdobs::P1, sdobs::P2, sdobs::L1, sdobs::L2};
    for (long k = 0; k < 5; ++k) codes(k) = t[k];
    h.SetObsTypes(codes);
    d.SetNRecords(10, 20);
    d.SetData();
    for (long e = 0; e < 10; ++e) {
      d.epoch(e) = At(2020, 6, 25, 0, 0, 0);
      d.epoch(e) += 30.0L * e;
      d.nsat(e) = 2;
      for (long i = 0; i < 2; ++i) {
        long r = 2 * e + i;
        d.sat(r) = i == 0 ? 5 : 7;
        d.C1(r) = d.P1(r) = d.P2(r) = 2.0e7L;
        d.L1(r) = d.L2(r) = 1.0e8L;
      }
    }
  }
};

}  // namespace

TEST(ExcludeProblemSat, DeletesWindowsAndReports) {
  CrxFile f(Entry(5, 1, 0, {2020, 6, 25, 0, 1, 0}, {2020, 6, 25, 0, 2, 0}) +   // epochs 2-4
            Entry(5, 3, 0, {2020, 6, 25, 0, 1, 30}, {2020, 6, 25, 0, 3, 0}) +  // overlap: 3-6
            Entry(7, 2, 0, {2020, 6, 25, 0, 4, 0}, {0, 0, 0, 0, 0, 0}) +       // open: 8-9
            Entry(9, 3, 0, {2020, 6, 25, 0, 0, 0}, {0, 0, 0, 0, 0, 0}) +       // not in data
            Entry(7, 3, 0, {2020, 6, 26, 0, 0, 0}, {2020, 6, 27, 0, 0, 0}));   // after data
  Data s;
  testing::internal::CaptureStdout();
  ExcludeProblemSat(s.h, s.d, f.x, true, false);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "EXCLUDING PROBLEMATIC SATELLITES:\n"
            "=================================\n\n"
            "  SAT:    5    #OBS:      6    #PHS:      6    #COD:      0\n"
            "  SAT:    5    #OBS:     16    #PHS:      4    #COD:     12\n"
            "  SAT:    7    #OBS:      6    #PHS:      0    #COD:      6\n"
            "\n"
            "  Number of problematic satellites    :      3\n"
            "  Number of problematic observations  :     28\n"
            "                 PHASE observations   :     10\n"
            "                 CODE observations    :     18\n\n\n");
  EXPECT_TRUE(s.d.L1(2 * 2).IsNull());
  EXPECT_FALSE(s.d.L1(2 * 1).IsNull());
  EXPECT_TRUE(s.d.C1(2 * 6).IsNull());
  EXPECT_FALSE(s.d.C1(2 * 7).IsNull());
  EXPECT_TRUE(s.d.P2(2 * 9 + 1).IsNull());
  EXPECT_FALSE(s.d.L1(2 * 9 + 1).IsNull());
}

TEST(ExcludeProblemSat, SwitchedOffDoesNothing) {
  CrxFile f(Entry(5, 3, 0, {2020, 6, 25, 0, 0, 0}, {0, 0, 0, 0, 0, 0}));
  Data s;
  testing::internal::CaptureStdout();
  ExcludeProblemSat(s.h, s.d, f.x, false, true);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_FALSE(s.d.L1(0).IsNull());
}

TEST(ExcludeProblemSat, VerboseTotalsOnStandardError) {
  CrxFile f(Entry(7, 1, 0, {2020, 6, 25, 0, 0, 0}, {2020, 6, 25, 0, 0, 30}));
  Data s;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  ExcludeProblemSat(s.h, s.d, f.x, true, true);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Tervan::ExcludeProblemSat(): EXCLUDING PROBLEMATIC SATELLITES!\n"
            "Tervan::ExcludeProblemSat():         Excluding: 1 sats  4 obs  ->  4 phase  0 code\n");
}

TEST(ExcludeProblemSat, UnknownProblemTypeWarnsAndKeepsTheValues) {
  CrxFile f(Entry(7, 12, 0, {2020, 6, 25, 0, 0, 0}, {2020, 6, 25, 0, 0, 0}));
  ASSERT_EQ(f.x.GetNSat(), 1);
  Data s;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  ExcludeProblemSat(s.h, s.d, f.x, true, false);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(
      testing::internal::GetCapturedStderr(),
      "\n#### Tervan: Warning -> UNKNOWN PROBLEM FROM SATELLITE PROBLEM FILE - EXPECTED 1|2|3 "
      "####\n     Continuing Tervan ... \n\n");
  EXPECT_FALSE(s.d.L1(1).IsNull());
}
