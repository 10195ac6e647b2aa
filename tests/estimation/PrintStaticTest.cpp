// Results report and result files of the static solution, on contexts filled by
// hand: report layout against golden files, and the edge cases of the sections.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "estimation/ResultContext.h"
#include "estimation/Tervan_PrintStatic.h"
#include "gnss/mGNSSc.h"
#include "support/TestSupport.h"

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::string GoldenPath(const std::string& name) {
  return std::string(TERVAN_GOLDEN) + "/estimation/" + name;
}

// Compares text with a golden file; TERVAN_UPDATE_GOLDEN=1 rewrites the file instead.
void ExpectGolden(const std::string& text, const std::string& name) {
  if (std::getenv("TERVAN_UPDATE_GOLDEN")) WriteFile(GoldenPath(name), text);
  const std::string golden = ReadFile(GoldenPath(name));
  ASSERT_FALSE(golden.empty()) << name;
  EXPECT_EQ(text, golden) << name;
}

void SetFile(char (&buf)[FileNameSize], const std::string& path) {
  std::snprintf(buf, FileNameSize, "%s", path.c_str());
}

// Three systems, C1 and L1, code biases of two types, BASE troposphere with gradients
// (the second zenith-delay node without observations), one ambiguity per satellite
// (the third undetermined). Unknowns: 0-2 coordinates, 3 GPS-GLN, 4 GPS-GAL, 5-6 C1
// biases of G01 and G05, 7-8 P1 biases of G05 and G12, 9-10 zenith delays, 11-12 east
// and 13-14 north gradients, 15-22 L1 ambiguities.
class PrintStaticTest : public ::testing::Test {
 protected:
  void SetUp() override {
    using namespace resulttest;
    GLONASSc::SetFrequency(1, 2);    // slot 3, channel 1
    GLONASSc::SetFrequency(-2, 10);  // slot 11, channel -2
    FillData(tc, 3, Sats(false));
    FillPositions(tc);
    tc.ifEstSta = tc.isGPS = tc.isGLN = tc.isGAL = true;
    tc.ifC1 = tc.ifL1 = true;
    tc.sig0 = 0.002L;
    tc.s0apost = 0.0025L * 0.0025L;
    tc.s0apost_C1 = 0.31L * 0.31L;
    tc.s0apost_L1 = 0.0021L * 0.0021L;
    tc.IterDone = 3;
    tc.IterThresFin = 2.5e-5;
    tc.NObs = 48;
    tc.NObsG = 24;
    tc.NObsR = 12;
    tc.NObsE = 12;
    tc.NObsOutl = tc.NObsOutlG = 2;
    tc.NXcrd = 3;
    tc.nDTsys = 2;
    tc.ixDTsys[0] = -1;
    tc.ixDTsys[1] = 3;
    tc.ixDTsys[2] = 4;
    tc.dtGNSS[1] = 12.3456L;
    tc.dtGNSS[2] = -3.21L;
    std::vector<long double> diag(23, 0.0L);
    for (int k = 0; k < 23; ++k) diag[k] = 0.5L + 0.1L * k;
    FillCofactors(tc, diag);
    FillCodeBiases();
    FillTroposphere();
    FillAmbiguities();
    tc.NClk = 3;
    tc.dtAll.Resize(3, 1, 0.0L);
    for (int e = 0; e < 3; ++e) tc.dtAll(e) = 29.9792458L * (e + 1);
  }

  void FillCodeBiases() {
    tc.isGPSxdcb = true;
    tc.isdcbC1 = tc.isdcbP1 = true;
    tc.ndcbC1 = tc.ndcbP1 = 2;
    tc.NUnkDCB = 4;
    tc.ndcbConstr = 1;
    const long n = tc.sdd.GetNSat();  // list: 1 5 12 20 103 111 211 224
    tc.ixdcbC1.Resize(n, 1, -1);
    tc.ixdcbP1.Resize(n, 1, -1);
    tc.dcbC1.Resize(n, 1, 0.0L);
    tc.dcbP1.Resize(n, 1, 0.0L);
    tc.ixdcbC1(0) = 5;
    tc.ixdcbC1(1) = 6;
    tc.ixdcbP1(1) = 7;
    tc.ixdcbP1(2) = 8;
    tc.dcbC1(0) = 0.1234L;
    tc.dcbC1(1) = -0.1234L;
    tc.dcbP1(1) = 0.05L;
    tc.dcbP1(2) = -0.05L;
  }

  void FillTroposphere() {
    tc.ifEstTropo = tc.ifEstTropoB = tc.ifEstTropoGrad = tc.ifEstTropoGradB = true;
    tc.TrpModel = 0;
    tc.trpmodel.SetTropModel(0);
    tc.TropoEpoch.Resize(2);
    tc.TropoEpoch(0) = mjd(59000, 0.0L);
    tc.TropoEpoch(1) = mjd(59000, 3600.0L);
    tc.TropoGradEpoch = tc.TropoEpoch;
    tc.nTropoUnkB = 2;
    tc.nTropoUnkGradEB = tc.nTropoUnkGradNB = 2;
    tc.nTropoUnkGradB = 4;
    tc.xTropoB.Resize(2, 1, 0.0L);
    tc.xTropoB(0) = 0.1234L;
    tc.ixTropoB.Resize(2, 1, 0);
    tc.ixTropoB(0) = 9;
    tc.ixTropoB(1) = 10;
    tc.IsUnkOK(10) = false;
    tc.NUnkUndef = 2;
    tc.xTropoGradEB.Resize(2, 1, 0.0005L);
    tc.xTropoGradNB.Resize(2, 1, -0.0007L);
    tc.ixTropoGradEB.Resize(2, 1, 0);
    tc.ixTropoGradNB.Resize(2, 1, 0);
    for (int p = 0; p < 2; ++p) {
      tc.ixTropoGradEB(p) = 11 + p;
      tc.ixTropoGradNB(p) = 13 + p;
    }
  }

  void FillAmbiguities() {
    const long n = 8;
    tc.nAmbL1 = n;
    tc.nAmbCorrL1 = 1;
    tc.AmbSat.Resize(n);
    tc.AmbIndex.Resize(n, 4, 0);
    tc.xAmbL1.Resize(n, 1, 0.0L);
    tc.ixAmbL1.Resize(n, 1, -1);
    const std::vector<short> sats = resulttest::Sats(false);
    for (long k = 0; k < n; ++k) {
      tc.AmbSat(k) = sats[k];
      tc.AmbIndex(k, 0) = 0;
      tc.AmbIndex(k, 1) = k;
      tc.AmbIndex(k, 2) = 2;
      tc.AmbIndex(k, 3) = 3;
      tc.xAmbL1(k) = 0.19029367279836487L * (1000.25L + k);
      tc.ixAmbL1(k) = 15 + k;
    }
    tc.IsUnkOK(17) = false;
  }

  std::string Report() {
    CaptureStdout();
    PrintStatic(tc);
    return GetCapturedStdout();
  }

  TervanC tc;
  TempDir dir;
};

TEST_F(PrintStaticTest, ReportOfThreeSystemsMatchesGolden) {
  ExpectGolden(Report(), "static_report.txt");
}

TEST_F(PrintStaticTest, ResultFilesMatchGolden) {
  tc.isGNUPlotStat = tc.isOutDCBFile = tc.isOutTropFile = tc.isOutTropEphFile = true;
  tc.isClkFile = tc.isSkyPlot = true;
  SetFile(tc.gnuplotStat, dir.File("stat.gp"));
  SetFile(tc.estdcbfile, dir.File("dcb.txt"));
  SetFile(tc.esttropfile, dir.File("trop.txt"));
  SetFile(tc.esttropephfile, dir.File("tropeph.txt"));
  SetFile(tc.clkfile, dir.File("clk.txt"));
  SetFile(tc.skyplotfile, dir.File("sky.txt"));
  tc.ELV.Resize(tc.sdd.GetNObs(), 2, 0.5L);
  tc.AZM.Resize(tc.sdd.GetNObs(), 2, -0.5L);
  tc.ELV(3, 1) = 0.25L;
  tc.IsUnkOK(10) = true;  // both zenith-delay nodes determined: every epoch interpolated
  tc.QxxAll(9, 10) = tc.QxxAll(10, 9) = -0.3L;
  Report();
  for (const char* f : {"stat.gp", "dcb.txt", "trop.txt", "tropeph.txt", "clk.txt", "sky.txt"}) {
    ExpectGolden(ReadFile(dir.File(f)), std::string("files_") + f);
    EXPECT_TRUE(ReadFile(dir.File(f) + ".part").empty()) << f;
  }
}

TEST_F(PrintStaticTest, TinyVarianceCommentsOutTheGnuplotLine) {
  tc.isGNUPlotStat = true;
  SetFile(tc.gnuplotStat, dir.File("stat.gp"));
  tc.s0apost = 5e-11L;
  Report();
  const std::string text = ReadFile(dir.File("stat.gp"));
  const size_t line2 = text.find('\n') + 1;
  ASSERT_LT(line2, text.size());
  EXPECT_EQ('#', text[line2]);
  tc.s0apost = 2e-10L;
  Report();
  EXPECT_NE('#', ReadFile(dir.File("stat.gp"))[line2]);
}

TEST_F(PrintStaticTest, GalileoOffsetWithoutGpsIsLabelledFromGlonass) {
  tc.isGPS = false;
  tc.nDTsys = 1;
  tc.ixDTsys[1] = -1;
  tc.ixDTsys[2] = 3;
  const std::string r = Report();
  EXPECT_NE(std::string::npos, r.find("    GLN-GAL: "));
  EXPECT_EQ(std::string::npos, r.find("GPS-G"));
}

TEST_F(PrintStaticTest, UndeterminedNodesAreMarkedAndLeftOutOfTheFiles) {
  tc.isOutTropFile = true;
  SetFile(tc.esttropfile, dir.File("trop.txt"));
  const std::string r = Report();
  const size_t row = r.find(" 2020-05-31 01:00:00");
  ASSERT_NE(std::string::npos, row);
  EXPECT_EQ(r.find(" **** UNDETERMINED ****", row), r.find_first_not_of(' ', row + 20) - 1);
  const std::string f = ReadFile(dir.File("trop.txt"));
  EXPECT_EQ(std::string::npos, f.find("01:00:00"));
  EXPECT_NE(std::string::npos, f.find("00:00:00"));
}

TEST_F(PrintStaticTest, NothingWithoutStaticEstimation) {
  tc.ifEstSta = false;
  tc.isGNUPlotStat = true;
  SetFile(tc.gnuplotStat, dir.File("stat.gp"));
  EXPECT_EQ("", Report());
  EXPECT_EQ("", ReadFile(dir.File("stat.gp")));
}

TEST_F(PrintStaticTest, UnwritableResultFileIsReportedAndLeavesNothing) {
  tc.isClkFile = true;
  SetFile(tc.clkfile, dir.File("no/such/folder/clk.txt"));
  ::testing::internal::CaptureStderr();
  Report();
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, err.find("RESULT FILE CANNOT BE WRITTEN: "));
}

}  // namespace
