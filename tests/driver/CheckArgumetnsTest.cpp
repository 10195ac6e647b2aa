#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "driver/DriverTestUtil.h"
#include "support/TestSupport.h"

using drivertest::Error;
using drivertest::Parse;
using drivertest::Warning;
using ::testing::ExitedWithCode;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;
using testsupport::Literal;

namespace {

class CheckArgumetnsTest : public ::testing::Test {
 protected:
  CheckArgumetnsTest() {
    for (const char* name : {"sd.sdf", "orb.sp3", "gps.nav", "gln.nav", "gal.nav", "file"})
      testsupport::WriteFile(dir.File(name), "x\n");
  }

  // Option with a file of the test folder: key + path.
  std::string Opt(const std::string& key, const std::string& name) const {
    return key + dir.File(name);
  }

  // Parses and checks; the single-difference and orbit files are added unless given.
  std::unique_ptr<TervanC> Checked(std::vector<std::string> args, bool addInputs = true) {
    if (addInputs) {
      args.insert(args.begin(), Opt("-r", "sd.sdf"));
      args.insert(args.begin(), Opt("-ep", "orb.sp3"));
    }
    auto tc = std::make_unique<TervanC>();
    Parse(*tc, args);
    CheckArgumetns(*tc);
    return tc;
  }

  // Checks and returns standard error.
  std::string Warnings(std::vector<std::string> args, std::unique_ptr<TervanC>* out = nullptr,
                       bool addInputs = true) {
    CaptureStderr();
    auto tc = Checked(std::move(args), addInputs);
    if (out) *out = std::move(tc);
    return GetCapturedStderr();
  }

  void ExpectFatal(std::vector<std::string> args, const std::string& text, bool addInputs = true) {
    EXPECT_EXIT(Checked(args, addInputs), ExitedWithCode(1), Literal(Error(text)));
  }

  testsupport::TempDir dir;
};

bool Has(const std::string& err, const std::string& warning) {
  return err.find(Warning(warning)) != std::string::npos;
}

}  // namespace

TEST_F(CheckArgumetnsTest, MissingMandatoryInputs) {
  ExpectFatal({Opt("-ep", "orb.sp3")}, "NO SINGLE DIFFERENCES (OBSERVATION) FILE SET!", false);
  ExpectFatal({"-r", Opt("-ep", "orb.sp3")}, "NO SINGLE DIFFERENCES (OBSERVATION) FILE SET!",
              false);
  ExpectFatal({Opt("-r", "none.sdf"), Opt("-ep", "orb.sp3")},
              "SINGLE DIFFERENCES (OBSERVATION) FILE CAN NOT BE OPENED!", false);
  ExpectFatal({Opt("-r", "sd.sdf")}, "NO EPHEMERIS FILE SET!", false);
}

TEST_F(CheckArgumetnsTest, UnreadableMandatoryInputs) {
  std::vector<std::string> base = {Opt("-r", "sd.sdf")};
  auto with = [&](const std::string& opt) {
    auto args = base;
    args.push_back(opt);
    return args;
  };
  ExpectFatal(with(Opt("-eg", "none")), "GPS NAVIGATION FILE CAN NOT BE OPENED!", false);
  ExpectFatal(with(Opt("-er", "none")), "GLONAS NAVIGATION FILE CAN NOT BE OPENED!", false);
  ExpectFatal(with(Opt("-ee", "none")), "GALILEO NAVIGATION FILE CAN NOT BE OPENED!", false);
  ExpectFatal(with(Opt("-ep", "none")), "MULTI-GNSS PRECISE EPHEMERIS FILE CAN NOT BE OPENED!",
              false);
  // A folder is not a readable file.
  ExpectFatal(with("-ep" + dir.Path()), "MULTI-GNSS PRECISE EPHEMERIS FILE CAN NOT BE OPENED!",
              false);
  ExpectFatal({Opt("-ii", "none")}, "IONEX IONOSPHERE FILE CAN NOT BE OPENED!");
  ExpectFatal({Opt("-pv", "none")}, "ANTEX FILE CAN NOT BE OPENED!");
  ExpectFatal({Opt("-cb1", "none")}, "DCB FILE - P1P2 CAN NOT BE OPENED!");
  ExpectFatal({Opt("-cb2", "none")}, "DCB FILE - P1C1 CAN NOT BE OPENED!");
  ExpectFatal({Opt("-cb3", "none")}, "DCB FILE - P2C2 CAN NOT BE OPENED!");
  ExpectFatal({Opt("-cbm", "none")}, "DCB FILE - Lustra RESULT CAN NOT BE OPENED!");
  ExpectFatal({Opt("-gf", "none")}, "GLONASS FREQUENCY CHANNEL FILE CAN NOT BE OPENED!");
}

TEST_F(CheckArgumetnsTest, OneIonosphereModelOnly) {
  ExpectFatal({Opt("-ii", "file"), Opt("-ik", "file")},
              "MULTIPLE IONOSPHERE MODELS SET IN PROCESSING!");
  // An unreadable Klobuchar file is dropped first, leaving one model.
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({Opt("-ii", "file"), Opt("-ik", "none")}, &tc);
  EXPECT_TRUE(Has(err, "KLOBUCHAR IONOSPHERE FILE CAN NOT BE OPENED!"));
  EXPECT_TRUE(tc->isIonx);
  EXPECT_FALSE(tc->isKlob);
}

TEST_F(CheckArgumetnsTest, DefaultsRepairedWithWarnings) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({}, &tc);
  EXPECT_TRUE(Has(err, "NO SATELLITE SYSTEM SET [-cs[G|R|E]] - SETTING ALL!"));
  EXPECT_TRUE(Has(err,
                  "TYPE OF ESTIMATION IS NOT SET [-x option]: USING DEFAULT SETTING - KINEMATIC "
                  "ESTIMATION!"));
  EXPECT_TRUE(Has(err,
                  "CODE OBSERVATIONS MUST USED IN PROCESSING [SINGULARITY!] - BUT NOT SET [-l "
                  "option]: USING C1 OBSERVATIONS!"));
  EXPECT_TRUE(tc->isGPS && tc->isGLN && tc->isGAL && tc->ifEstKin && tc->ifC1);
}

TEST_F(CheckArgumetnsTest, PhaseOnlyListGetsC1) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({"-lL3", "-xSTA", "-csG"}, &tc);
  EXPECT_TRUE(tc->ifC1 && tc->ifL3);
  EXPECT_TRUE(Has(err,
                  "CODE OBSERVATIONS MUST USED IN PROCESSING [SINGULARITY!] - BUT NOT SET [-l "
                  "option]: USING C1 OBSERVATIONS!"));
}

TEST_F(CheckArgumetnsTest, PreciseEphemerisReplacesNavigation) {
  std::unique_ptr<TervanC> tc;
  std::string err =
      Warnings({Opt("-eg", "gps.nav"), Opt("-er", "gln.nav"), "-csGRE", "-xsta", "-lC1"}, &tc);
  EXPECT_TRUE(Has(err,
                  "BOTH PRECISE EPHEMERIS AND (SOME) NAVIGATION FILES FOR SET -> USING ONLY "
                  "PRECISE EPHEMERIS FILE!"));
  EXPECT_FALSE(tc->isGPSnav || tc->isGLNnav || tc->isGALnav);
  EXPECT_TRUE(tc->isPEph);
  // Precise orbits cover every system: none is dropped.
  EXPECT_TRUE(tc->isGPS && tc->isGLN && tc->isGAL);
  EXPECT_EQ(err.find("NOT PROCESSING"), std::string::npos);
}

TEST_F(CheckArgumetnsTest, SystemsWithoutOrbitsAreDropped) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings(
      {Opt("-r", "sd.sdf"), Opt("-eg", "gps.nav"), "-csGRE", "-cxGPS,GLN,GAL", "-xsta", "-lC1"},
      &tc, false);
  EXPECT_TRUE(tc->isGPS && tc->isGPSxdcb);
  EXPECT_FALSE(tc->isGLN || tc->isGAL || tc->isGLNxdcb || tc->isGALxdcb);
  EXPECT_TRUE(Has(err,
                  "GLONASS SYSTEM SET BUT NO EPHEMERIS FOR GLONASS SET (PRECISE AND NAVIGATION) - "
                  "NOT PROCESSING GLONASS SYSTEM!"));
  EXPECT_TRUE(Has(err,
                  "GALILEO SYSTEM SET BUT NO EPHEMERIS FOR GALILEO SET (PRECISE AND NAVIGATION) - "
                  "NOT PROCESSING GALILEO SYSTEM!"));
  EXPECT_TRUE(Has(err,
                  "GLONASS OBSERVATIONS WILL NOT BE PROCESSED -> GLONASS DCB VALUES UNKONWNS "
                  "UNSET!"));
  EXPECT_TRUE(Has(err,
                  "GALILEO OBSERVATIONS WILL NOT BE PROCESSED -> GALILEO DCB VALUES UNKONWNS "
                  "UNSET!"));
  std::string gps =
      Warnings({Opt("-r", "sd.sdf"), Opt("-er", "gln.nav"), "-csG", "-cxGPS"}, nullptr, false);
  EXPECT_TRUE(Has(gps,
                  "GPS SYSTEM SET BUT NO EPHEMERIS FOR GPS SET (PRECISE AND NAVIGATION) - NOT "
                  "PROCESSING GPS SYSTEM!"));
  EXPECT_TRUE(Has(gps, "GPS OBSERVATIONS WILL NOT BE PROCESSED -> GPS DCB VALUES UNKONWNS UNSET!"));
}

TEST_F(CheckArgumetnsTest, UnreadableOptionalInputsAreLeftOut) {
  std::unique_ptr<TervanC> tc;
  std::string err =
      Warnings({Opt("-ec", "none"), Opt("-sx", "none"), Opt("-im", "none"), Opt("-eo", "none"),
                Opt("-bq", "none"), Opt("-ac", "none"), Opt("-g2", "none")},
               &tc);
  for (const char* w : {"PRECISE MULTI-GNSS SATELLITE CLOCK FILE CAN NOT BE OPENED!",
                        "GPS AND GLONASS SATELLITE PROBLEM FILE CAN NOT BE OPENED!",
                        "MYIONO IONOSPHERE FILE CAN NOT BE OPENED!",
                        "EARTH ROTATION PARAMETERS FILE CAN NOT BE OPENED!",
                        "OCEAN LOADING TIDE FILE (BLQ) CAN NOT BE OPENED!",
                        "GPT2 TROPOSPHERE MODEL FILE CAN NOT BE OPENED!",
                        "APRIORI COORDINATE FILE CAN NOT BE OPENED - USING VALUES FROM SINGLE "
                        "DIFFERENCES FILE!"})
    EXPECT_TRUE(Has(err, w)) << w;
  EXPECT_FALSE(tc->isPclk || tc->isSCrx || tc->isMyion || tc->isPTide || tc->isOTide ||
               tc->isAprCrd || tc->isGPT2file);
}

// Files of the neighbouring days go with the day's own files: without them they
// are left out; an unreadable orbit file ends the run, an unreadable clock file
// is left out.
TEST_F(CheckArgumetnsTest, NeighbouringDaysFiles) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({Opt("-bc", "file"), Opt("-np", "file"), Opt("-nc", "none")}, &tc);
  EXPECT_TRUE(Has(err, "PRECISE CLOCK FILE OF A NEIGHBOURING DAY SET WITHOUT -ec FILE - NOT USED!"))
      << err;
  EXPECT_TRUE(tc->isPEphNext);
  EXPECT_FALSE(tc->isPclkPrev || tc->isPclkNext);
  err = Warnings({Opt("-r", "sd.sdf"), Opt("-eg", "gps.nav"), Opt("-bp", "file")}, &tc, false);
  EXPECT_TRUE(Has(err,
                  "PRECISE EPHEMERIS FILE OF A NEIGHBOURING DAY SET WITHOUT -ep FILE - NOT "
                  "USED!"))
      << err;
  EXPECT_FALSE(tc->isPEphPrev);
  err = Warnings({Opt("-ec", "file"), Opt("-nc", "none")}, &tc);
  EXPECT_TRUE(Has(err, "NEXT DAY PRECISE SATELLITE CLOCK FILE CAN NOT BE OPENED!")) << err;
  EXPECT_TRUE(tc->isPclk);
  EXPECT_FALSE(tc->isPclkNext);
  ExpectFatal({Opt("-bp", "none")}, "PREVIOUS DAY PRECISE EPHEMERIS FILE CAN NOT BE OPENED!");
  ExpectFatal({Opt("-np", "none")}, "NEXT DAY PRECISE EPHEMERIS FILE CAN NOT BE OPENED!");
}

TEST_F(CheckArgumetnsTest, GPT2WithoutGridFallsBack) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({"-tmGPT2,GLPT2", Opt("-g2", "none")}, &tc);
  EXPECT_TRUE(Has(err, "TROPOSPHERE MODEL SET TO DEFAULT - SAASTAMOINEN!"));
  EXPECT_TRUE(Has(err, "TROPOSPHERE MAPPING FUNCTION SET TO DEFAULT - NIELL!"));
  EXPECT_EQ(tc->TrpModel, 0);
  EXPECT_EQ(tc->TrpMappFun, 0);
  // The same when no grid file is named at all.
  Warnings({"-tmGPT2,NIELL"}, &tc);
  EXPECT_EQ(tc->TrpModel, 0);
  // A readable grid keeps the choice.
  err = Warnings({"-tmGPT2,GLPT2", Opt("-g2", "file")}, &tc);
  EXPECT_EQ(tc->TrpModel, 3);
  EXPECT_EQ(tc->TrpMappFun, 6);
  EXPECT_FALSE(Has(err, "TROPOSPHERE MODEL SET TO DEFAULT - SAASTAMOINEN!"));
}

TEST_F(CheckArgumetnsTest, GPT2MappingNeedsTheGPT2Model) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({"-tmSAAST,GLPT2", Opt("-g2", "file")}, &tc);
  EXPECT_TRUE(Has(err,
                  "GPT2 MAPPING FUNCTION WITHOUT GPT2 TROPOSPHERE MODEL - TROPOSPHERE MAPPING "
                  "FUNCTION SET TO DEFAULT - NIELL!"))
      << err;
  EXPECT_EQ(tc->TrpMappFun, 0);
  EXPECT_EQ(Warnings({"-tmGPT2,GLPT2", Opt("-g2", "file")}, &tc).find("GPT2 MAPPING"),
            std::string::npos);
  EXPECT_EQ(tc->TrpMappFun, 6);
}

TEST_F(CheckArgumetnsTest, ViennaWithoutSiteFileFallsBack) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({"-tmVIENNA,VMF1"}, &tc);
  EXPECT_TRUE(Has(err, "TROPOSPHERE MODEL SET TO DEFAULT - SAASTAMOINEN!"));
  EXPECT_TRUE(Has(err, "TROPOSPHERE MAPPING FUNCTION SET TO DEFAULT - NIELL!"));
  EXPECT_EQ(tc->TrpModel, 0);
  EXPECT_EQ(tc->TrpMappFun, 0);
  err = Warnings({"-tmVIENNA,VMF1", Opt("-g2", "file")}, &tc);
  EXPECT_EQ(tc->TrpModel, 4);
  EXPECT_EQ(tc->TrpMappFun, 5);
  Warnings({"-tmHOPF,VMF1"}, &tc);
  EXPECT_EQ(tc->TrpModel, 1);
  EXPECT_EQ(tc->TrpMappFun, 0);
}

TEST_F(CheckArgumetnsTest, TroposphereEstimationRepairs) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({"-ti01:00:00", "-tg"}, &tc);
  EXPECT_TRUE(Has(err,
                  "TROPOSPHERE ESTIMATION SET WITHOUT TROPOSPHERE MODEL - WILL NOT ESTIMATE "
                  "TROPOSPHERE PARAMETERS!"));
  EXPECT_TRUE(Has(err, "ONLY TROPOSPHERE GRADIENTS SET FOR ESTIMATION - ABORTING!"));
  EXPECT_FALSE(tc->ifEstTropo || tc->ifEstTropoGrad);

  err = Warnings({"-tmSAAST,NIELL", "-ti01:00:00", "-tgi-2"}, &tc);
  EXPECT_TRUE(Has(err, "TROPOSPHERE PARAMETERS SET FOR ESTIMATION ON ROVER STATION ONLY!"));
  EXPECT_TRUE(Has(err,
                  "TROPOSPHERE GRADIENT PARAMETERS SET FOR ESTIMATION ON ROVER STATION "
                  "ONLY!"));
  EXPECT_TRUE(Has(err,
                  "NUMBER OF TROPOSPHERE GRADIENT INTERVALS MUST BE POZITIVE NUMBER - "
                  "SETTING TO 1!"));
  EXPECT_TRUE(tc->ifEstTropoR && tc->ifEstTropoGradR);
  EXPECT_EQ(tc->nTropoGradInt, 1);

  err = Warnings({"-tmSAAST,NIELL", "-ti01:00:00ROVER", "-tgBASE"}, &tc);
  EXPECT_TRUE(Has(err, "ONLY TROPOSPHERE GRADIENTS SET FOR ESTIMATION [BASE STATION] - ABORTING!"));
  EXPECT_FALSE(tc->ifEstTropoGradB);
  err = Warnings({"-tmSAAST,NIELL", "-ti01:00:00BASE", "-tgROVER"}, &tc);
  EXPECT_TRUE(Has(err,
                  "ONLY TROPOSPHERE GRADIENTS SET FOR ESTIMATION [ROVER STATION} - "
                  "ABORTING!"));
  EXPECT_FALSE(tc->ifEstTropoGradR);
}

TEST_F(CheckArgumetnsTest, TroposphereIntervalMustAdvance) {
  ExpectFatal({"-tmSAAST,NIELL", "-tiROVER"},
              "TROPOSPHERE ESTIMATION INTERVAL MUST BE POSITIVE [ use -tiHH:MM:SS ]!");
  ExpectFatal({"-tmSAAST,NIELL", "-ti-01:00:00"},
              "TROPOSPHERE ESTIMATION INTERVAL MUST BE POSITIVE [ use -tiHH:MM:SS ]!");
}

TEST_F(CheckArgumetnsTest, OutputFilesWithoutTheirEstimation) {
  std::unique_ptr<TervanC> tc;
  std::string err = Warnings({"-odDCB.OUT", "-otTROP.OUT"}, &tc);
  EXPECT_TRUE(Has(err, "DCB ESTIMATION IS NOT SET: NO DCB OUTPUT FILE WILL BE WRITTEN!"));
  EXPECT_TRUE(Has(err,
                  "ESTIMATION OF TROPOSPHERE DELAYS IS NOT SET: NO TROPOSPHERE OUTPUT FILE WILL "
                  "BE WRITTEN!"));
  EXPECT_FALSE(tc->isOutDCBFile || tc->isOutTropFile);
}

TEST_F(CheckArgumetnsTest, IonosphereFreeSigmas) {
  auto tc = Checked({"-lC1,L1", "-xsta", "-csG"});
  // GPS: a^2 + b^2 = 8.8700043..., GLONASS 8.751953125, Galileo 7.8879921...
  EXPECT_NEAR(static_cast<double>(tc->sigPp3G), 0.2 * std::sqrt(8.8700043010625826412), 1e-15);
  EXPECT_NEAR(static_cast<double>(tc->sigPp3R), 0.2 * std::sqrt(8.751953125), 1e-15);
  EXPECT_NEAR(static_cast<double>(tc->sigPp3E), 0.2 * std::sqrt(7.8879921317655581348), 1e-15);
  EXPECT_NEAR(static_cast<double>(tc->sigL3G), 0.002 * std::sqrt(8.8700043010625826412), 1e-17);
  EXPECT_NEAR(static_cast<double>(tc->sigL3R), 0.002 * std::sqrt(8.751953125), 1e-17);
  EXPECT_NEAR(static_cast<double>(tc->sigPc3R),
              std::sqrt(0.04 * 6.4072265625 + 0.04 * 2.3447265625), 1e-15);
  EXPECT_NEAR(static_cast<double>(tc->sigPc3E),
              std::sqrt(0.04 * 5.8659731900657847703 + 0.04 * 2.0220189416997738086), 1e-15);
  // Phase L1 in use: the reference sigma is the L1 sigma.
  EXPECT_EQ(tc->sig0, tc->sigL1);
  EXPECT_EQ(tc->p0L1, 1.0L);
  EXPECT_NEAR(static_cast<double>(tc->p0C), 1e-4, 1e-18);
  EXPECT_NEAR(static_cast<double>(tc->p0L3G), 1.0 / 8.8700043010625826412, 1e-15);
}

TEST_F(CheckArgumetnsTest, ReferenceSigmaFollowsTheObservationTypes) {
  EXPECT_EQ(Checked({"-lP1", "-xsta"})->sig0, 0.2L);
  auto pc3 = Checked({"-lC1,Pc3", "-xsta"});
  EXPECT_EQ(pc3->sig0, pc3->sigPc3G);
  EXPECT_EQ(pc3->p0Pc3G, 1.0L);
  auto l3 = Checked({"-lC1,L1,L3", "-xsta"});
  EXPECT_EQ(l3->sig0, l3->sigL3G);
  EXPECT_EQ(l3->p0L3G, 1.0L);
  EXPECT_EQ(Checked({"-lC1,L2", "-xsta"})->sig0, 0.2L / 100.0L);
}

TEST_F(CheckArgumetnsTest, ResultFilesNeverReplaceInputs) {
  ExpectFatal({"-fp" + dir.File("sd.sdf")}, "RESULT FILE " + dir.File("sd.sdf") +
                                                " IS ALSO AN INPUT FILE - WILL NOT OVERWRITE IT!");
  ExpectFatal(
      {Opt("-ac", "file"), "-gpk" + dir.Path() + "/./file"},
      "RESULT FILE " + dir.Path() + "/./file IS ALSO AN INPUT FILE - WILL NOT OVERWRITE IT!");
  // Result files of their own pass.
  auto tc = Checked({Opt("-cf", "clock.out"), Opt("-gps", "stat.out")});
  EXPECT_TRUE(tc->isClkFile && tc->isGNUPlotStat);
}

TEST_F(CheckArgumetnsTest, ResultFilesNeverReplaceEachOther) {
  ExpectFatal({Opt("-gpk", "plot.out"), "-gps" + dir.Path() + "/./plot.out"},
              "RESULT FILE " + dir.File("plot.out") +
                  " IS NAMED FOR TWO RESULTS - ONE WOULD OVERWRITE THE OTHER!");
}

// Every result file is tried at the start, all of them together; an existing result
// is not truncated by the test.
TEST_F(CheckArgumetnsTest, ResultFilesThatCannotBeWrittenEndTheRunAtOnce) {
  ExpectFatal({"-fp" + dir.File("no/such/folder/RES.bin"), "-gpk" + dir.Path()},
              "RESULT FILES CAN NOT BE WRITTEN: " + dir.Path() + " [-gpk], " +
                  dir.File("no/such/folder/RES.bin") + " [-fp]!");
  testsupport::WriteFile(dir.File("old.bin"), "older result");
  Checked({Opt("-fp", "old.bin")});
  EXPECT_EQ(testsupport::ReadFile(dir.File("old.bin")), "older result");
  EXPECT_FALSE(std::ifstream(dir.File("old.bin.tervan-probe")).good());
}

TEST(SameFile, SpellingsOfOnePathAndLinks) {
  testsupport::TempDir dir;
  const std::string a = dir.File("a.txt");
  EXPECT_TRUE(SameFile(a, dir.Path() + "/./a.txt"));  // not created yet
  EXPECT_TRUE(SameFile(a, dir.Path() + "/sub/../a.txt"));
  EXPECT_FALSE(SameFile(a, dir.File("b.txt")));
  EXPECT_FALSE(SameFile(a, ""));
  testsupport::WriteFile(a, "x\n");
  std::filesystem::create_symlink(a, dir.File("link.txt"));
  EXPECT_TRUE(SameFile(dir.File("link.txt"), a));
}

// A ratio below 1 would accept a best candidate that is no better than the second.
TEST_F(CheckArgumetnsTest, AmbiguityRatioOfAtLeastOne) {
  ExpectFatal({"-ar0.5"}, "AMBIGUITY RATIO TEST THRESHOLD MUST BE AT LEAST 1 [ use -arVALUE ]!");
  EXPECT_EQ(Checked({"-ar1"})->AmbRatioThres, 1.0L);
}

TEST_F(CheckArgumetnsTest, AtLeastOneIteration) {
  ExpectFatal({"-mi0"}, "MAXIMUM NUMBER OF ITERATIONS MUST BE POSITIVE [ use -miN ]!");
  EXPECT_EQ(Checked({"-mi1"})->MaxIter, 1);
}
