#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../orbits/OrbitFixtures.h"
#include "driver/Tervan_ReadFiles.h"
#include "support/TestSupport.h"

namespace {

// A single-difference file with the given type list; per epoch, nGps GPS
// records (satellites 1, 2, ...) and nGlo GLONASS records (101, 102, ...).
std::string SdFile(const std::string& types, int nGps, int nGlo, int epochs = 3) {
  std::string s = "SINGLE_DIFFERENCES\n# & TYPES OF OBS:" + types + "\nEND OF HEADER 1\n";
  for (int e = 0; e < epochs; ++e) {
    s += std::to_string(nGps + nGlo) + " 59000 " + std::to_string(30 * e) + " 0 0 0\n";
    for (int i = 0; i < nGps + nGlo; ++i) {
      int sat = i < nGps ? i + 1 : 101 + i - nGps;
      s += (sat < 10    ? "  "
            : sat < 100 ? " "
                        : "") +
           std::to_string(sat) +
           "    20000000.0000    20000001.0000      100000.0000       80000.0000\n";
    }
  }
  return s;
}

struct Loaded {
  testsupport::TempDir dir;
  std::unique_ptr<TervanC> tc = std::make_unique<TervanC>();
  Loaded(const std::string& text, bool gps, bool glo, bool gal) {
    std::string path = dir.File("a.sdf");
    testsupport::WriteFile(path, text);
    std::snprintf(tc->sdfile, sizeof(tc->sdfile), "%s", path.c_str());
    tc->isSDfile = true;
    tc->isGPS = tc->isGPSxdcb = gps;
    tc->isGLN = tc->isGLNxdcb = glo;
    tc->isGAL = tc->isGALxdcb = gal;
    SetFiles(*tc);
    ReadFiles(*tc);
  }
};

// The files above give no station positions: the runs load everything and end at
// the receiver properties.
void ExpectEndWithoutPositions(const testsupport::RunResult& r) {
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("**** Tervan: Error -> BASE HAS NO A-PRIORI POSITION"), std::string::npos)
      << r.err;
}

}  // namespace

TEST(ReadFiles, SystemWithTooFewRecordsIsSwitchedOff) {
  // 1 GLONASS record in 12 per epoch: about 8 %.
  testing::internal::CaptureStderr();
  Loaded l(SdFile("  4  C1 C2 L1 L2", 11, 1), true, true, false);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(l.tc->isGPS);
  EXPECT_FALSE(l.tc->isGLN);
  EXPECT_FALSE(l.tc->isGLNxdcb);
  EXPECT_NE(err.find("#### Tervan: Warning -> NO OR NOT ENOUGH GLONASS DATA IN SINGLE DIFFERENCES "
                     "FILE - NOT USING GLONASS OBSERVATIONS IN PROCESSING! ####"),
            std::string::npos);
}

TEST(ReadFiles, C2IsCopiedToP2WhenTheFileHasNoP2) {
  testing::internal::CaptureStderr();
  Loaded l(SdFile("  4  C1 C2 L1 L2", 4, 0), true, false, false);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(l.tc->sdh.HasP2());
  EXPECT_EQ(l.tc->sdd.P2(3).GetObs(), 20000001.0L);
  EXPECT_NE(err.find("SINGLE DIFFERENCES FILE HAS ONLY C2 CODE OBSERVATIONS ON L2 - COPYING "
                     "VALUES TO P2!"),
            std::string::npos);
  l.tc->sdd.SetLC_PC3();
  EXPECT_TRUE(l.tc->sdh.HasPC3());
}

TEST(ReadFilesDeathTest, NoSystemLeftIsFatal) {
  EXPECT_EXIT(Loaded(SdFile("  4  C1 C2 L1 L2", 0, 4), true, false, true),
              ::testing::ExitedWithCode(1),
              testsupport::Literal("**** Tervan: Error -> NO OR NOT ENOUGH GNSS (G|R|E) DATA IN "
                                   "RINEX FILE - PROBLEMATIC RINEX FILE! ****"));
}

TEST(TervanRun, ReadsDataAndReportsProblemSatellites) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("a.sdf"), SdFile("  4  C1 C2 L1 L2", 5, 0));
  testsupport::WriteFile(dir.File("orbit.sp3"), orbitfixture::Sp3());
  std::string entry(72, ' ');
  entry.replace(1, 3, "  3");
  entry.replace(13, 2, " 1");
  entry.replace(32, 17, "2020 05 31 00 00");
  entry.replace(49, 2, " 0");
  testsupport::WriteFile(dir.File("sat.crx"), "H\n\n\n\n\n\n" + entry + "\n");
  testsupport::RunResult r =
      testsupport::RunTervan(dir.Path(), {"-ra.sdf", "-eporbit.sp3", "-sxsat.crx", "-v"});
  ExpectEndWithoutPositions(r);
  EXPECT_NE(r.out.find("PREPROCESSING OF PHASE/CODE GNSS DATA:"), std::string::npos);
  EXPECT_NE(r.out.find("EXCLUDING PROBLEMATIC SATELLITES:\n=================================\n\n"
                       "  SAT:    3    #OBS:      6    #PHS:      6    #COD:      0\n\n"
                       "  Number of problematic satellites    :      1\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("Tervan::ReadFiles():        reading SINGLE DIFFERENCES file - 3 epochs, "
                       "15 C1 observations, 4 obs types\n"),
            std::string::npos)
      << r.err;
}

TEST(TervanRun, ReadsOrbitsAndClocksWithTheirRecordCounts) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("a.sdf"), SdFile("  4  C1 C2 L1 L2", 5, 0));
  testsupport::WriteFile(dir.File("orbit.sp3"), orbitfixture::Sp3());
  testsupport::WriteFile(dir.File("sat.clk"), orbitfixture::Clock());
  testsupport::RunResult r =
      testsupport::RunTervan(dir.Path(), {"-ra.sdf", "-eporbit.sp3", "-ecsat.clk", "-v"});
  ExpectEndWithoutPositions(r);
  EXPECT_NE(r.err.find("Tervan::SetFiles():         setting MULTI-GNSS PRECISE EPHEMERIS file!\n"
                       "Tervan::SetFiles():         setting MULTI-GNSS PRECISE SATELLITE CLOCK "
                       "file!\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("Tervan::ReadFiles():        reading MULTI-GNSS PRECISE EPHEMERIS file - 24 "
                       "epochs 3 satellites\n"
                       "Tervan::ReadFiles():        reading MULTI-GNSS PRECISE SATELLITE CLOCK "
                       "file - 10 epochs 3 satellites\n"),
            std::string::npos)
      << r.err;
}

// Orbit and clock files of the neighbouring days are joined with the day's own
// files into one series, and the settings report names them.
TEST(TervanRun, NeighbouringDaysJoinTheOrbitsAndClocks) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("a.sdf"), SdFile("  4  C1 C2 L1 L2", 5, 0));
  testsupport::WriteFile(dir.File("day.sp3"), orbitfixture::Sp3(8, 8));
  testsupport::WriteFile(dir.File("prev.sp3"), orbitfixture::Sp3(8, 0));
  testsupport::WriteFile(dir.File("next.sp3"), orbitfixture::Sp3(9, 15));  // shares epoch 15
  testsupport::WriteFile(dir.File("day.clk"), orbitfixture::Clock(4, 4));
  testsupport::WriteFile(dir.File("next.clk"), orbitfixture::Clock(6, 8));
  testsupport::RunResult r = testsupport::RunTervan(
      dir.Path(),
      {"-ra.sdf", "-epday.sp3", "-bpprev.sp3", "-npnext.sp3", "-ecday.clk", "-ncnext.clk", "-v"});
  ExpectEndWithoutPositions(r);
  EXPECT_NE(r.err.find("Tervan::ReadFiles():        reading MULTI-GNSS PRECISE EPHEMERIS file - 24 "
                       "epochs 3 satellites\n"
                       "Tervan::ReadFiles():        reading MULTI-GNSS PRECISE SATELLITE CLOCK "
                       "file - 10 epochs 3 satellites\n"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.out.find("  MULTI-GNSS precise ephemeris file   : day.sp3\n"
                       "  Previous day precise ephemeris file : prev.sp3\n"
                       "  Next day precise ephemeris file     : next.sp3\n"
                       "  MULTI-GNSS precise clock file       : day.clk\n"
                       "  Next day precise clock file         : next.clk\n"
                       "  GLONASS frequency channel file      : "),
            std::string::npos)
      << r.out;
}

TEST(TervanRun, OneMixedNavigationFileServesEverySystem) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("a.sdf"), SdFile("  4  C1 C2 L1 L2", 5, 0));
  std::string mixed = navfixture::HeaderMixed3() +
                      navfixture::Record3(orbitfixture::Kepler('G', 5)) +
                      navfixture::Record3(orbitfixture::Kepler('E', 11)) +
                      navfixture::Record3(orbitfixture::Kepler('E', 12));
  navfixture::Rec glo;
  glo.sys = 'R';
  glo.prn = 5;
  glo.v = std::vector<double>(15, 0.0);
  glo.v[3] = glo.v[7] = glo.v[11] = 15000;
  mixed += navfixture::Record3(glo);
  testsupport::WriteFile(dir.File("mixed.rnx"), mixed);
  testsupport::RunResult r = testsupport::RunTervan(
      dir.Path(), {"-ra.sdf", "-egmixed.rnx", "-ermixed.rnx", "-eemixed.rnx", "-v"});
  ExpectEndWithoutPositions(r);
  EXPECT_NE(r.err.find("reading GPS NAVIGATION file - 1 records\n"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("reading GLONASS NAVIGATION file - 1 records\n"), std::string::npos);
  EXPECT_NE(r.err.find("reading GALILEO NAVIGATION file - 2 records\n"), std::string::npos);
}
