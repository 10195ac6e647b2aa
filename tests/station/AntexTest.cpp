// ANTEX reading, antenna selection and phase-centre lookups.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "station/antex.h"
#include "support/TestSupport.h"

using testsupport::Literal;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

// One ANTEX record: content padded to 60 columns and the label.
std::string L(const std::string& content, const std::string& label) {
  std::string s = content;
  s.resize(60, ' ');
  return s + label + "\n";
}

// A variation row: prefix of 8 columns, then values in fields of 8.
std::string Row(const std::string& prefix, std::initializer_list<double> v) {
  char buf[16];
  std::string s = prefix;
  s.resize(8, ' ');
  for (double x : v) {
    std::snprintf(buf, sizeof buf, "%8.2f", x);
    s += buf;
  }
  return s + "\n";
}

std::string Header() {
  return L("     1.4            M", "ANTEX VERSION / SYST") + L("A", "PCV TYPE / REFANT") +
         L("", "END OF HEADER");
}

// Receiver antenna with G01 and G02 only, zenith 0-90 by 30, azimuth by 120.
std::string Receiver() {
  std::string s =
      L("", "START OF ANTENNA") + L("TRM29659.00     NONE", "TYPE / SERIAL NO") +
      L("   120.0", "DAZI") + L("     0.0  90.0  30.0", "ZEN1 / ZEN2 / DZEN") +
      L("     2", "# OF FREQUENCIES") + L("   G01", "START OF FREQUENCY") +
      L("      1.00      2.00     90.00", "NORTH / EAST / UP") + Row("   NOAZI", {0, 1, 2, 3}) +
      Row("     0.0", {0, 10, 20, 30}) + Row("   120.0", {0, 12, 22, 32}) +
      Row("   240.0", {0, 14, 24, 34}) + Row("   360.0", {0, 10, 20, 30}) +
      L("   G01", "END OF FREQUENCY") + L("   G05", "START OF FREQUENCY") +
      L("     99.00     99.00     99.00", "NORTH / EAST / UP") + Row("   NOAZI", {9, 9, 9, 9}) +
      Row("     0.0", {9, 9, 9, 9}) + Row("   120.0", {9, 9, 9, 9}) +
      Row("   240.0", {9, 9, 9, 9}) + Row("   360.0", {9, 9, 9, 9}) +
      L("   G05", "END OF FREQUENCY") + L("   G02", "START OF FREQUENCY") +
      L("     -1.00     -2.00    120.00", "NORTH / EAST / UP") + Row("   NOAZI", {0, -1, -2, -3}) +
      Row("     0.0", {0, -10, -20, -30}) + Row("   120.0", {0, -10, -20, -30}) +
      Row("   240.0", {0, -10, -20, -30}) + Row("   360.0", {0, -10, -20, -30}) +
      L("   G02", "END OF FREQUENCY") + L("", "END OF ANTENNA");
  return s;
}

// Satellite antenna without azimuth dependence, nadir 0-14 by 1.
std::string Satellite(const std::string& type, const std::string& prn, const std::string& from,
                      const std::string& until, double up) {
  char offset[64];
  std::snprintf(offset, sizeof offset, "%10.2f%10.2f%10.2f", 279.0, 0.0, up);
  std::string s = L("", "START OF ANTENNA") + L(type + prn, "TYPE / SERIAL NO") +
                  L("     0.0", "DAZI") + L("     0.0  14.0   1.0", "ZEN1 / ZEN2 / DZEN") +
                  L("     2", "# OF FREQUENCIES") + L(from, "VALID FROM");
  if (!until.empty()) s += L(until, "VALID UNTIL");
  const char sys = prn[0];
  for (const char* f : {"1", "2"}) {
    const std::string code = std::string("   ") + sys + "0" + f;
    s += L(code, "START OF FREQUENCY") + L(offset, "NORTH / EAST / UP") +
         Row("   NOAZI", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}) +
         L(code, "END OF FREQUENCY");
  }
  return s + L("", "END OF ANTENNA");
}

const std::string kGPSType = "BLOCK IIR-M         ";
const std::string kFrom2005 = "  2005     9    26     0     0    0.0000000";
const std::string kUntil2009 = "  2009    12    31    23    59   59.9999999";
const std::string kFrom2010 = "  2010     1     1     0     0    0.0000000";

class AntexTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    WriteFile(dir.File("test.atx"), text);
    atx.SetFile(dir.File("test.atx").c_str());
    atx.ReadFile();
  }
  void LoadStandard() {
    Load(Header() + Satellite(kGPSType, "G05                 ", kFrom2005, kUntil2009, 1000) +
         Receiver() + Satellite(kGPSType, "G05                 ", kFrom2010, "", 2000) +
         Satellite("GLONASS-M           ", "R07                 ", kFrom2005, "", 3000) +
         Satellite("GALILEO-1           ", "E11                 ", kFrom2005, "", 4000) +
         Satellite("BEIDOU-2M           ", "C11                 ", kFrom2005, "", 5000));
  }
  TempDir dir;
  antex atx;
};

const char* kReceiver = "TRM29659.00     NONE";

}  // namespace

TEST_F(AntexTest, CountsAntennasBySystem) {
  LoadStandard();
  EXPECT_EQ(atx.GetNAntenna(), 6);
  EXPECT_EQ(atx.GetNGPSSat(), 2);
  EXPECT_EQ(atx.GetNGLNSat(), 1);
  EXPECT_EQ(atx.GetNGALSat(), 1);
  EXPECT_EQ(atx.GetNRec(), 2);
  EXPECT_FLOAT_EQ(atx.GetVersion(), 1.4f);
  EXPECT_EQ(atx.GetSatSystem(), 'M');
  EXPECT_EQ(atx.GetPCVType(), 'A');
  EXPECT_EQ(atx.GetAntenna(0).SatID, 5);
  EXPECT_EQ(atx.GetAntenna(0).PCVType, 7);
  EXPECT_EQ(atx.GetAntenna(3).SatID, 107);
  EXPECT_EQ(atx.GetAntenna(3).PCVType, 11);
  EXPECT_EQ(atx.GetAntenna(4).SatID, 211);
  EXPECT_EQ(atx.GetAntenna(4).PCVType, 14);
  EXPECT_EQ(atx.GetAntenna(5).SatID, 0);  // BeiDou: not selectable by number
  EXPECT_EQ(atx.GetAntenna(5).PCVType, 0);
}

TEST_F(AntexTest, ReceiverFrequenciesInheritFromGps) {
  LoadStandard();
  atx.SetAntenna(kReceiver);
  ASSERT_EQ(atx.GetAtxIndex(), 1);
  neu g1, r1, e7, r2;
  atx.GetAntennaOffset(g1, 0);
  atx.GetAntennaOffset(r1, 2);
  atx.GetAntennaOffset(r2, 3);
  atx.GetAntennaOffset(e7, 5);
  EXPECT_NEAR(static_cast<double>(g1.GetU()), 0.090, 1e-12);
  EXPECT_NEAR(static_cast<double>(g1.GetN()), 0.001, 1e-12);
  EXPECT_NEAR(static_cast<double>(r1.GetU()), 0.090, 1e-12);
  EXPECT_NEAR(static_cast<double>(r2.GetU()), 0.120, 1e-12);
  EXPECT_NEAR(static_cast<double>(e7.GetE()), -0.002, 1e-12);
  double v[6];
  atx.GetAntennaPCV(45, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], 0.015, 1e-12);
  EXPECT_NEAR(v[1], -0.015, 1e-12);
  EXPECT_NEAR(v[2], 0.015, 1e-12);
  EXPECT_NEAR(v[3], -0.015, 1e-12);
  EXPECT_NEAR(v[4], 0.015, 1e-12);
  EXPECT_NEAR(v[5], -0.015, 1e-12);
}

TEST_F(AntexTest, ZenithAtAndBeyondTheGridGivesTheEndNodes) {
  LoadStandard();
  atx.SetAntenna(kReceiver);
  double v[6];
  atx.GetAntennaPCV(90, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], 0.030, 1e-12);
  atx.GetAntennaPCV(95, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], 0.030, 1e-12);
  atx.GetAntennaPCV(0, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], 0.0, 1e-12);
  // On the last node's edge, azimuth still interpolates linearly.
  atx.GetAntennaPCV(90, 60, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], 0.031, 1e-12);
  // Angles that are no numbers give no number instead of an index off the grid.
  const double nan = std::nan("");
  atx.GetAntennaPCV(nan, 60, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_TRUE(std::isnan(v[0]));
  atx.GetAntennaPCV(45, nan, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_TRUE(std::isnan(v[0]));
}

TEST_F(AntexTest, AzimuthInterpolationIsBilinear) {
  LoadStandard();
  atx.SetAntenna(kReceiver);
  double v[6];
  atx.GetAntennaPCV(45, 60, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], (0.010 + 0.020 + 0.012 + 0.022) / 4, 1e-12);
  atx.GetAntennaPCV(30, 359.9995, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], 0.010, 1e-12);  // the 360 degree row
  atx.GetAntennaPCV(30, 359.9, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], 0.014 + (359.9 - 240) / 120 * (0.010 - 0.014), 1e-12);
}

TEST_F(AntexTest, SatelliteSelectionFollowsValidity) {
  LoadStandard();
  atx.SetSatellite(5, mjd(55000, 0.0L));  // 2009
  EXPECT_EQ(atx.GetAtxIndex(), 0);
  EXPECT_TRUE(atx.IsBlockIIR());
  neu o;
  atx.GetAntennaOffset(o, 0);
  EXPECT_NEAR(static_cast<double>(o.GetU()), 1.0, 1e-12);
  atx.SetSatellite(5, mjd(56000, 0.0L));  // 2012: the first block has expired
  EXPECT_EQ(atx.GetAtxIndex(), 2);
  atx.GetAntennaOffset(o, 1);
  EXPECT_NEAR(static_cast<double>(o.GetU()), 2.0, 1e-12);
  double v[6];
  atx.GetAntennaPCV(7.5, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_NEAR(v[0], 0.0075, 1e-12);
  EXPECT_NEAR(v[1], 0.0075, 1e-12);
  EXPECT_EQ(v[2], 0.0);  // GPS satellites answer L1 and L2 only
  EXPECT_EQ(v[5], 0.0);
  atx.SetSatellite(107, mjd(56000, 0.0L));
  EXPECT_FALSE(atx.IsBlockIIR());
  atx.GetAntennaPCV(3, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_EQ(v[0], 0.0);
  EXPECT_NEAR(v[2], 0.003, 1e-12);
}

TEST_F(AntexTest, SatelliteBeforeItsValidityIsNotFound) {
  LoadStandard();
  testing::internal::CaptureStdout();
  atx.SetSatellite(5, mjd(53000, 0.0L));  // 2003
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(atx.GetAtxIndex(), -1);
  EXPECT_NE(out.find("#### antex: Warning -> SATELLITE: 5 NOT FOUND IN ANTEX FILE - SETING ALL "
                     "CALIBRATION PARAMETERS TO ZERO! ####"),
            std::string::npos);
  neu o(1, 1, 1);
  atx.GetAntennaOffset(o, 0);
  EXPECT_EQ(o.GetU(), 0.0L);
  double v[6] = {1, 1, 1, 1, 1, 1};
  atx.GetAntennaPCV(5, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_EQ(v[0], 0.0);
}

TEST_F(AntexTest, AntennaNamesMustHaveTwentyCharacters) {
  LoadStandard();
  EXPECT_EXIT_COUT(atx.SetAntenna("TRM29659.00"), "ANTENNA NAME MUST HAVE 20 CHARACTERS!");
  EXPECT_EXIT_COUT(atx.SetAntenna("TRM29659.00     NONE ", "x"),
                   "ANTENNA NAME MUST HAVE 20 CHARACTERS!");
}

TEST_F(AntexTest, UnknownAntennaWarnsAndSerialFormsDoNot) {
  LoadStandard();
  testing::internal::CaptureStdout();
  atx.SetAntenna("TRM29659.00     SCIS");
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "ANTENNA: TRM29659.00     SCIS NOT FOUND IN ANTEX FILE - SETING ALL CALIBRATION "
                "PARAMETERS TO ZERO!"),
            std::string::npos);
  EXPECT_EQ(atx.GetAtxIndex(), -1);
  testing::internal::CaptureStdout();
  atx.SetAntenna(kReceiver, "12345678901234567890");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(atx.GetAtxIndex(), -1);
  atx.SetAntenna(kReceiver, "                    ");
  EXPECT_EQ(atx.GetAtxIndex(), 1);
  atx.SetAntenna(kReceiver, "                    ", mjd(59000, 0.0L));
  EXPECT_EQ(atx.GetAtxIndex(), 1);
}

TEST_F(AntexTest, ImproperFrequencyWarnsAndGivesZero) {
  LoadStandard();
  atx.SetAntenna(kReceiver);
  neu o(1, 1, 1);
  testing::internal::CaptureStdout();
  atx.GetAntennaOffset(o, 6);
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "FREQUENCY TYPE NOT PROPER (GETTING ANTENNA OFFSET)!"),
            std::string::npos);
  EXPECT_EQ(o.GetU(), 0.0L);
}

// Newer blocks than the known ones (GLONASS-K2 satellites are in today's
// calibration files, BLOCK IIIF will come) are satellites of their system, not of
// block IIR, with one warning per type; their calibrations are used.
TEST_F(AntexTest, UnknownSatelliteTypesAreSatellitesOfTheirSystem) {
  testing::internal::CaptureStdout();
  Load(Header() + Satellite("BLOCK IIIF          ", "G05                 ", kFrom2005, "", 1000) +
       Satellite("GLONASS-K2          ", "R05                 ", kFrom2005, "", 2000) +
       Satellite("GLONASS-K2          ", "R06                 ", kFrom2005, "", 3000));
  const std::string out = testing::internal::GetCapturedStdout();
  const std::string gps = "GPS SATELLITE TYPE >BLOCK IIIF          < UNKNOWN - TAKEN AS GPS";
  const std::string gln = "GLONASS SATELLITE TYPE >GLONASS-K2          < UNKNOWN - TAKEN AS";
  ASSERT_NE(out.find(gps), std::string::npos) << out;
  ASSERT_NE(out.find(gln), std::string::npos) << out;
  EXPECT_EQ(out.find(gln, out.find(gln) + 1), std::string::npos) << "one warning per type";
  EXPECT_EQ(atx.GetNGPSSat(), 1);
  EXPECT_EQ(atx.GetNGLNSat(), 2);
  EXPECT_TRUE(atx.GetAntenna(0).IsGPS());
  EXPECT_TRUE(atx.GetAntenna(1).IsGLONASS());
  atx.SetSatellite(5, mjd(56000, 0.0L));
  EXPECT_FALSE(atx.IsBlockIIR());
  neu o;
  atx.GetAntennaOffset(o, 0);
  EXPECT_NEAR(static_cast<double>(o.GetU()), 1.0, 1e-12);
  atx.SetSatellite(106, mjd(56000, 0.0L));
  EXPECT_FALSE(atx.IsBlockIIR());
  double v[6];
  atx.GetAntennaPCV(3, 0, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_EQ(v[0], 0.0);  // GLONASS satellites answer G1 and G2 only
  EXPECT_NEAR(v[2], 0.003, 1e-12);
}

TEST_F(AntexTest, MissingFileIsFatal) {
  EXPECT_EXIT(atx.SetFile(dir.File("none.atx").c_str()), ::testing::ExitedWithCode(1),
              Literal("ANTEX FILE DOES NOT EXISTS!"));
}

TEST_F(AntexTest, AntennaWithoutTypeLineWarns) {
  std::string rec = Receiver();
  rec.erase(rec.find("TRM29659.00"), 81);
  testing::internal::CaptureStdout();
  // The count follows the type lines, so the block without one is read in place of the satellite.
  Load(Header() + rec + Satellite(kGPSType, "G05                 ", kFrom2005, "", 1));
  EXPECT_NE(testing::internal::GetCapturedStdout().find(
                "TYPE OF ANTENNA SENSOR NOT DEFINED [RECEIVER|GPS|GLONASS|GALILEO]!"),
            std::string::npos);
}

TEST_F(AntexTest, TruncatedOrMalformedBlocksAreFatal) {
  const std::string rec = Receiver();
  EXPECT_EXIT_COUT(Load(L("     1.4            M", "ANTEX VERSION / SYST") + rec),
                   "ANTEX FILE HEADER NOT COMPLETE (END OF HEADER MISSING)!");
  EXPECT_EXIT_COUT(Load(Header() + rec.substr(0, rec.size() / 2)), "ANTEX FILE CORRUPTED");
  std::string bad = rec;
  bad.replace(bad.find("     0.0  90.0  30.0"), 20, "     0.0  90.0   0.0");
  EXPECT_EXIT_COUT(Load(Header() + bad), "ANTEX FILE CORRUPTED");
  bad = rec;
  bad.replace(bad.find("   120.0"), 8, "    0.01");  // an azimuth grid no calibration has
  EXPECT_EXIT_COUT(Load(Header() + bad), "ANTEX FILE CORRUPTED");
  bad = rec;
  bad.replace(bad.find("   NOAZI"), 16, "   NOAZI    abcd");
  EXPECT_EXIT_COUT(Load(Header() + bad), "ANTEX FILE CORRUPTED");
  bad = rec;
  bad.replace(bad.find("# OF FREQUENCIES") - 60, 6, "   two");
  EXPECT_EXIT_COUT(Load(Header() + bad), "ANTEX FILE CORRUPTED");
  std::string head = Header();
  head.replace(0, 8, "     one");
  EXPECT_EXIT_COUT(Load(head + rec), "**** antex: Error -> MALFORMED NUMBER IN COLUMNS 1-9 OF " +
                                         dir.File("test.atx"));
  // Offsets beyond 10 m and variations beyond 1 m are no calibration.
  bad = rec;
  bad.replace(bad.find("   NOAZI"), 16, "   NOAZI  1000.1");
  EXPECT_EXIT_COUT(Load(Header() + bad), "ANTEX FILE CORRUPTED");
  EXPECT_EXIT_COUT(
      Load(Header() + Satellite(kGPSType, "G05                 ", kFrom2005, "", 1e99)),
      "ANTEX FILE CORRUPTED");
  EXPECT_EXIT_COUT(
      Load(Header() + Satellite(kGPSType, "G05                 ", kFrom2005, "", -10000.01)),
      "ANTEX FILE CORRUPTED");
  Load(Header() + Satellite(kGPSType, "G05                 ", kFrom2005, "", 10000));
  // A validity date that is no calendar date is a damaged block too.
  for (const char* from : {"  2005     2    29     0     0    0.0000000",
                           "  2004     4    31     0     0    0.0000000"})
    EXPECT_EXIT_COUT(Load(Header() + Satellite(kGPSType, "G05                 ", from, "", 1000)),
                     "ANTEX FILE CORRUPTED");
  Load(Header() + Satellite(kGPSType, "G05                 ",
                            "  2004     2    29     0     0    0.0000000", "", 1000));
  EXPECT_EQ(atx.GetAntenna(0).ValidFrom, mjd(53064, 0.0L));
}

TEST(AntexRealData, WholeIgsFilesRead) {
  const std::string p20 = testsupport::SharedData("esbc-wtzr-2020177/igs20_gps_LEIAR25R3_LEIT.atx");
  const std::string p05 =
      testsupport::SharedData("geonet-0759-3040-2005092/igs05_gps_trm29659.atx");
  if (p20.empty() || p05.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  antex a20;
  a20.SetFile(p20.c_str());
  a20.ReadFile();
  EXPECT_EQ(a20.GetNGPSSat(), 116);
  EXPECT_EQ(a20.GetNGLNSat(), 0);
  EXPECT_EQ(a20.GetNGALSat(), 0);
  EXPECT_EQ(a20.GetNRec(), 1);
  a20.SetAntenna("LEIAR25.R3      LEIT");
  ASSERT_GE(a20.GetAtxIndex(), 0);
  neu o;
  a20.GetAntennaOffset(o, 4);  // E01 of the receiver file
  EXPECT_NE(o.GetU(), 0.0L);
  antex a05;
  a05.SetFile(p05.c_str());
  a05.ReadFile();
  EXPECT_EQ(a05.GetNGPSSat(), 55);
  EXPECT_EQ(a05.GetNRec(), 1);
  a05.SetAntenna("TRM29659.00     NONE");
  ASSERT_GE(a05.GetAtxIndex(), 0);
  double v[6];
  a05.GetAntennaPCV(30, 100, v[0], v[1], v[2], v[3], v[4], v[5]);
  EXPECT_LT(v[0] * v[0], 0.02 * 0.02);
  EXPECT_EQ(v[2], v[0]);                  // R01 from G01
  a05.SetSatellite(5, mjd(53462, 0.0L));  // 2005-04-02
  EXPECT_GE(a05.GetAtxIndex(), 0);
}
