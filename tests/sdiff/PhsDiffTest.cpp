#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "sdiff/PhsDiff.h"
#include "support/TestSupport.h"

namespace {

const char* const kHeader =
    "SINGLE_DIFFERENCES\n"
    "MARKER NAME     :  4 BASE  5 ROVER\n"
    "MARKER NUMBER   :  5 11001  5 11002\n"
    "RECEIVER TYPE   :  4 R-01  4 R-02\n"
    "ANTENNA TYPE    :  4 A-01  4 A-02\n"
    "ANTENNA SERIAL  :  1 7  1 8\n"
    "XYZ POSITION    :  4194423.1234  1162702.5678  4647245.4321    4194420.0000  1162700.0000"
    "  4647240.0000\n"
    "DELTA N/E/U     :      0.0000      0.0000      1.5000      0.0100      0.0200      0.1234\n"
    "# & TYPES OF OBS:  5  C1 L1 L2 P2 S1\n"
    "DIFFERENCE LEVEL:  1\n"
    "END OF HEADER 1\n";

const char* const kData =
    "  3  59000      0.0000000  0.5 -1.25 2.0\n"
    "  5    21000000.1230      110355.4560       85990.7890    21000003.4560          45.0000\n"
    "105    19500000.5000       -2000.2500       -1558.5000    19500002.7500          40.0000\n"
    "211    23000000.0000           0.0000        3000.1250    23000001.0000          38.0000\n"
    "  2  59000     30.0000000  0.0 0.0 0.0\n"
    "  5    21000030.1230      110365.4560       86000.7890\n"
    "211    23000030.0000              abc        3010.1250    23000031.0000          38.0000\n";

struct Loaded {
  PhsDiffHeader head;
  PhsDiffData data{head};
  PhsDiff sd{head, data};
};

void Load(Loaded& l, const testsupport::TempDir& dir, const std::string& text) {
  std::string path = dir.File("test.sdf");
  testsupport::WriteFile(path, text);
  l.sd.SetFile(path.c_str());
  l.sd.ReadFile();
}

std::string Epochs(const char* const* lines, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += lines[i];
  return s;
}

// A small data set of nEpochs epochs at the given spacings, one record each.
std::string OneSatFile(const std::string& types, const std::string& epochs) {
  return "SINGLE_DIFFERENCES\n# & TYPES OF OBS:" + types + "\nEND OF HEADER 1\n" + epochs;
}

}  // namespace

TEST(PhsDiff, ReadsHandWrittenFileWithThreeSystems) {
  testsupport::TempDir dir;
  Loaded l;
  Load(l, dir, std::string(kHeader) + kData);
  const PhsDiffHeader& h = l.head;
  EXPECT_STREQ(h.GetMarkerName(0), "BASE");
  EXPECT_STREQ(h.GetMarkerName(1), "ROVER");
  EXPECT_STREQ(h.GetMarkerNumber(1), "11002");
  EXPECT_STREQ(h.GetAntennaSerial(1), "8");
  EXPECT_EQ(h.GetX0(0).GetX(), 4194423.1234L);
  EXPECT_EQ(h.GetX0(1).GetZ(), 4647240.0L);
  EXPECT_EQ(h.GetDp(1).GetU(), 0.1234L);
  EXPECT_EQ(h.GetNObs(), 5);
  EXPECT_TRUE(h.HasC1() && h.HasL1() && h.HasL2() && h.HasP2() && h.HasS1());
  EXPECT_FALSE(h.HasP1());
  EXPECT_TRUE(h.GetHasObservations());
  EXPECT_FLOAT_EQ(h.GetInterval(), 30.0f);

  const PhsDiffData& d = l.data;
  ASSERT_EQ(d.GetNEpoch(), 2);
  ASSERT_EQ(d.GetNObs(), 5);
  EXPECT_EQ(d.GetNSatEpoch(0), 3);
  EXPECT_EQ(d.GetNSatEpoch(1), 2);
  EXPECT_EQ(d.GetMJD(1).GetMJDay(), 59000u);
  EXPECT_EQ(d.GetMJD(1).GetSecond(), 30.0L);
  EXPECT_EQ(d.dtR_B(0), 0.5L * 1e-6L);  // microseconds to seconds
  EXPECT_EQ(d.clkErB(0), -1.25L * 1e-6L);
  EXPECT_EQ(d.clkErR(0), 2.0L * 1e-6L);
  ASSERT_EQ(d.GetNSat(), 3);
  EXPECT_EQ(d.GetSat(0), 5);
  EXPECT_EQ(d.GetSat(1), 105);
  EXPECT_EQ(d.GetSat(2), 211);
  EXPECT_EQ(d.GetRecSat(4), 211);
  EXPECT_EQ(d.C1(1).GetObs(), 19500000.5L);
  EXPECT_EQ(d.L1(1).GetObs(), -2000.25L);
  EXPECT_EQ(d.L2(0).GetObs(), 85990.789L);
  EXPECT_EQ(d.P2(2).GetObs(), 23000001.0L);
  EXPECT_TRUE(d.L1(2).IsNull());  // written as zero: missing
  EXPECT_TRUE(d.P2(3).IsNull());  // short line: absent fields are missing
  EXPECT_TRUE(d.L1(4).IsNull());  // not a number: missing
  EXPECT_EQ(d.L2(4).GetObs(), 3010.125L);
  EXPECT_EQ(d.P1.Length(), 0);  // types absent from the header are not sized
}

TEST(PhsDiff, WriteThenReadIsExactToThePrintedPrecision) {
  testsupport::TempDir dir;
  Loaded a;
  Load(a, dir, std::string(kHeader) + kData);
  std::ostringstream first;
  first << a.head << a.data;
  Loaded b;
  Load(b, dir, first.str());
  std::ostringstream second;
  second << b.head << b.data;
  EXPECT_EQ(first.str(), second.str());
  EXPECT_STREQ(b.head.GetMarkerName(1), "ROVER");
  EXPECT_EQ(b.head.GetX0(0).GetY(), 1162702.5678L);
  EXPECT_EQ(b.data.GetNObs(), 5);
  for (long r = 0; r < 5; ++r) {
    EXPECT_EQ(b.data.sat(r), a.data.sat(r));
    EXPECT_EQ(b.data.C1(r).GetObs(), a.data.C1(r).GetObs()) << r;
    EXPECT_EQ(b.data.L1(r).GetObs(), a.data.L1(r).GetObs()) << r;
    EXPECT_EQ(b.data.L2(r).GetObs(), a.data.L2(r).GetObs()) << r;
    EXPECT_EQ(b.data.P2(r).GetObs(), a.data.P2(r).GetObs()) << r;
  }
  EXPECT_EQ(b.data.clkErB(0), a.data.clkErB(0));
  EXPECT_EQ(b.data.GetMJD(1).GetSecond(), 30.0L);
}

TEST(PhsDiff, WriterCarriesSecondsThatRoundToAFullDay) {
  PhsDiffHeader h;
  matrix<short> types(1, 1, sdobs::C1);
  h.SetObsTypes(types);
  PhsDiffData d(h);
  d.SetNRecords(1, 1);
  d.SetData();
  d.epoch(0) = mjd(59000, 86399.99999999L);
  d.nsat(0) = 1;
  d.sat(0) = 12;
  d.C1(0) = 1234567890123.25L;  // too wide for 4 decimals
  d.dtR_B(0) = d.clkErB(0) = d.clkErR(0) = 0;
  std::ostringstream os;
  os << d;
  EXPECT_EQ(os.str().substr(0, 27), "  1  59001       0.0000000 ");
  std::string rec = os.str().substr(os.str().find('\n') + 1);
  EXPECT_EQ(rec.size(), 3u + 17u + 1u);
  long double v = std::strtold(rec.c_str() + 3, nullptr);
  EXPECT_EQ(v, 1234567890123.25L);
}

TEST(PhsDiff, IntervalIsTheSmallestSpacing) {
  const char* eps[] = {"1 59000 0 0 0 0\n 7 1\n", "1 59000 30 0 0 0\n 7 1\n",
                       "1 59000 60 0 0 0\n 7 1\n", "1 59000 75 0 0 0\n 7 1\n",
                       "1 59000 105 0 0 0\n 7 1\n"};
  testsupport::TempDir dir;
  Loaded l;
  Load(l, dir, OneSatFile("  1  C1", Epochs(eps, 5)));
  EXPECT_FLOAT_EQ(l.head.GetInterval(), 15.0f);
  EXPECT_EQ(l.data.GetNEpoch(), 5);
}

TEST(PhsDiff, EqualEpochsGiveIntervalZero) {
  const char* eps[] = {"1 59000 30 0 0 0\n 7 1\n", "1 59000 30 0 0 0\n 7 1\n"};
  testsupport::TempDir dir;
  Loaded l;
  Load(l, dir, OneSatFile("  1  C1", Epochs(eps, 2)));
  EXPECT_FLOAT_EQ(l.head.GetInterval(), 0.0f);
}

TEST(PhsDiff, HeaderWithoutObservationsGivesNoData) {
  testsupport::TempDir dir;
  Loaded l;
  Load(l, dir, "SINGLE_DIFFERENCES\n# & TYPES OF OBS:  1  C1\nEND OF HEADER 0\n");
  EXPECT_FALSE(l.head.GetHasObservations());
  EXPECT_EQ(l.data.GetNEpoch(), 0);
  EXPECT_FALSE(l.data.HasGPSObs());
}

TEST(PhsDiff, SystemsNeedMoreThanATenthOfTheRecords) {
  // 10 epochs with GPS 5 in each, GLONASS 105 in one: 1 of 11 records.
  std::string eps;
  for (int i = 0; i < 10; ++i)
    eps += std::string(i == 0 ? "2" : "1") + " 59000 " + std::to_string(30 * i) + " 0 0 0\n" +
           "  5 1\n" + (i == 0 ? "105 1\n" : "");
  testsupport::TempDir dir;
  Loaded l;
  Load(l, dir, OneSatFile("  1  C1", eps));
  ASSERT_EQ(l.data.GetNSat(), 2);
  EXPECT_EQ(l.data.GetSat(0), 5);
  EXPECT_EQ(l.data.GetSat(1), 105);
  EXPECT_TRUE(l.data.HasGPSObs());
  EXPECT_FALSE(l.data.HasGLONASSObs());
  EXPECT_FALSE(l.data.HasGALILEOObs());
}

TEST(PhsDiff, CopiesC2IntoP2WhenP2IsAbsent) {
  const char* eps[] = {"1 59000 0 0 0 0\n  7   20000000.000  20000001.500\n",
                       "1 59000 30 0 0 0\n  7   20000030.000  20000031.500\n"};
  testsupport::TempDir dir;
  Loaded l;
  Load(l, dir, OneSatFile("  2  C1 C2", Epochs(eps, 2)));
  EXPECT_FALSE(l.head.HasP2());
  l.sd.copyC2toP2();
  EXPECT_TRUE(l.head.HasP2());
  EXPECT_EQ(l.data.P2(1).GetObs(), 20000031.5L);
}

TEST(PhsDiffDeathTest, FatalErrors) {
  testsupport::TempDir dir;
  auto run = [&](const std::string& text) {
    Loaded l;
    Load(l, dir, text);
  };
  auto framed = [](const std::string& msg) {
    return testsupport::Literal("**** Tervan: Error -> " + msg + " ****\n     Exiting Tervan ... ");
  };
  const auto one = ::testing::ExitedWithCode(1);
  EXPECT_EXIT(run("RINEX\nEND OF HEADER 1\n"), one,
              framed("OBSERVATION DIFFERENCE FILE IS NOT IN VALID FORMAT [1. LINE: "
                     "[SINGLE|DOUBLE|TRIPLE]_DIFFERENCES]!"));
  EXPECT_EXIT(run(""), one, testsupport::Literal("OBSERVATION DIFFERENCE FILE IS NOT IN VALID"));
  EXPECT_EXIT(run(OneSatFile("  1  C1", "1 59000 30 0 0 0\n  5 1\n1 59000 0 0 0 0\n  5 1\n")), one,
              framed("PROBLEMS WITH CONSECUTIVE EPOCHS IN SINGLE DIFFERENCES FILE (eph(i) < "
                     "eph(i-1))"));
  EXPECT_EXIT(run(OneSatFile("  1  C1", "1 59000 0 0 0 0\n700 1\n1 59000 30 0 0 0\n  5 1\n")), one,
              framed("SATELLITE NUMBER NOT IN RANGE [1-699] IN SINGLE DIFFERENCES FILE (LINE 5)!"));
  EXPECT_EXIT(run(OneSatFile("  1  C1", "1 59000 0 0 0 0\n  0 1\n1 59000 30 0 0 0\n  5 1\n")), one,
              testsupport::Literal("SATELLITE NUMBER NOT IN RANGE [1-699]"));
  EXPECT_EXIT(run(OneSatFile("  1  C1", "x 59000 0 0 0 0\n  5 1\n")), one,
              framed("INVALID NUMBER OF SATELLITES IN EPOCH LINE OF SINGLE DIFFERENCES FILE "
                     "(LINE 4)!"));
  EXPECT_EXIT(run(OneSatFile("  1  C1", "-2 59000 0 0 0 0\n")), one,
              testsupport::Literal("INVALID NUMBER OF SATELLITES IN EPOCH LINE"));
  EXPECT_EXIT(run(OneSatFile("  1  C1", "1 59000 0 0 0 0\n  5 1\n3 59000 30 0 0 0\n  5 1\n")), one,
              framed("SINGLE DIFFERENCES FILE ENDS INSIDE THE EPOCH OF LINE 6!"));
  EXPECT_EXIT(run(OneSatFile("  1  C1", "1 59000 0 0 0 0\n  5 1\n")), one,
              framed("SINGLE DIFFERENCES FILE HAS FEWER THAN TWO EPOCHS!"));
  EXPECT_EXIT(run(OneSatFile("  1  C1", "1 59000 x 0 0 0\n  5 1\n1 59000 30 0 0 0\n  5 1\n")), one,
              framed("INVALID EPOCH IN SINGLE DIFFERENCES FILE (LINE 4)!"));
  EXPECT_EXIT(run("SINGLE_DIFFERENCES\n# & TYPES OF OBS:  x  C1\nEND OF HEADER 1\n"), one,
              framed("INVALID NUMBER OF OBSERVATION TYPES IN SINGLE DIFFERENCES FILE HEADER!"));
  EXPECT_EXIT(run("SINGLE_DIFFERENCES\n# & TYPES OF OBS:  1  C1\n"), one,
              framed("SINGLE DIFFERENCES FILE HAS NO END OF HEADER LINE!"));
  EXPECT_EXIT(
      {
        Loaded l;
        l.sd.SetFile(dir.File("absent.sdf").c_str());
      },
      one, framed("PhsDiff FILE CAN NOT BE OPENED!"));
}

TEST(PhsDiffDeathTest, EpochOutsideTheDayEndsInTheEpochClass) {
  testsupport::TempDir dir;
  EXPECT_EXIT_COUT(
      {
        Loaded l;
        Load(l, dir,
             OneSatFile("  1  C1", "1 59000 86400 0 0 0\n  5 1\n1 59001 30 0 0 0\n  5 1\n"));
      },
      "**** mjd: Error -> SECOND not valid ****");
}

TEST(PhsDiff, StreamOperatorsReadHeaderThenData) {
  std::istringstream is(std::string(kHeader) + kData);
  PhsDiffHeader h;
  PhsDiffData d(h);
  is >> h;
  EXPECT_EQ(h.GetNObs(), 5);
  d.SetNRecords(2, 5);
  is >> d;
  EXPECT_EQ(d.GetNSat(), 3);
  EXPECT_EQ(d.C1(3).GetObs(), 21000030.123L);
}
