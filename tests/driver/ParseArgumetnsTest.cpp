#include <gtest/gtest.h>

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

std::unique_ptr<TervanC> Parsed(std::vector<std::string> args) {
  auto tc = std::make_unique<TervanC>();
  Parse(*tc, std::move(args));
  return tc;
}

void ExpectFatal(std::vector<std::string> args, const std::string& text) {
  EXPECT_EXIT(Parsed(args), ExitedWithCode(1), Literal(Error(text)));
}

}  // namespace

TEST(ParseArgumetns, FileOptionsFillTheirBuffers) {
  auto tc = Parsed({"-rSD.sdf", "-egG.nav", "-erR.nav", "-eeE.nav", "-epP.sp3", "-ecP.clk",
                    "-eoP.erp", "-sxP.crx", "-pvA.atx", "-CB1D1",   "-cb2D2",   "-cb3D3",
                    "-cbMD4",   "-ctRC",    "-gfGF",    "-acAC",    "-gpkK",    "-gpsS",
                    "-spSP",    "-cfCF",    "-odOD",    "-g2GPT",   "-bqBLQ",   "-fpFP"});
  EXPECT_TRUE(tc->isSDfile && tc->isGPSnav && tc->isGLNnav && tc->isGALnav && tc->isPEph &&
              tc->isPclk && tc->isPTide && tc->isSCrx && tc->isAtx && tc->isP1P2 && tc->isP1C1 &&
              tc->isP2C2 && tc->isMyDCB && tc->isRCodTrc && tc->isGLNfrch && tc->isAprCrd &&
              tc->isGNUPlotKin && tc->isGNUPlotStat && tc->isSkyPlot && tc->isClkFile &&
              tc->isOutDCBFile && tc->isGPT2file && tc->isOTide && tc->isresfile);
  EXPECT_STREQ(tc->sdfile, "SD.sdf");
  EXPECT_STREQ(tc->enavfile, "E.nav");
  EXPECT_STREQ(tc->ptidefile, "P.erp");
  EXPECT_STREQ(tc->dcbp1p2file, "D1");
  EXPECT_STREQ(tc->mydbcfile, "D4");
  EXPECT_STREQ(tc->gnuplotKin, "K");
  EXPECT_STREQ(tc->gnuplotStat, "S");
  EXPECT_STREQ(tc->gpt2file, "GPT");
  EXPECT_TRUE(tc->GetRunProg());
}

// Orbit and clock files of the previous ("b") and the next ("n") day; the
// "-e" options keep one file each.
TEST(ParseArgumetns, NeighbouringDaysOrbitAndClockFiles) {
  auto tc = Parsed({"-epDAY.sp3", "-bpPREV.sp3", "-NPNEXT.sp3", "-ecDAY.clk", "-BCPREV.clk",
                    "-ncNEXT.clk", "-epDAY2.sp3"});
  EXPECT_STREQ(tc->sp3file, "DAY2.sp3");
  EXPECT_STREQ(tc->sp3prevfile, "PREV.sp3");
  EXPECT_STREQ(tc->sp3nextfile, "NEXT.sp3");
  EXPECT_STREQ(tc->pclkfile, "DAY.clk");
  EXPECT_STREQ(tc->pclkprevfile, "PREV.clk");
  EXPECT_STREQ(tc->pclknextfile, "NEXT.clk");
  EXPECT_TRUE(tc->isPEphPrev && tc->isPEphNext && tc->isPclkPrev && tc->isPclkNext);
  EXPECT_FALSE(tc->verbose);
  EXPECT_FALSE(Parsed({"-epDAY.sp3"})->isPEphPrev);
}

TEST(ParseArgumetns, ThirdLetterOfFamiliesInEitherCase) {
  auto tc = Parsed({"-eP.sp3", "-iKKLOB", "-IIionex"});
  EXPECT_STREQ(tc->sp3file, ".sp3");
  EXPECT_STREQ(tc->ionkfile, "KLOB");
  EXPECT_STREQ(tc->ionxfile, "ionex");
}

TEST(ParseArgumetns, TroposphereFilesOfDifferentCase) {
  auto tc = Parsed({"-otTROP", "-oTEPOCH"});
  EXPECT_STREQ(tc->esttropfile, "TROP");
  EXPECT_STREQ(tc->esttropephfile, "EPOCH");
  EXPECT_TRUE(tc->isOutTropFile && tc->isOutTropEphFile);
  auto up = Parsed({"-OTUPPER", "-OtMIXED"});
  EXPECT_STREQ(up->esttropephfile, "UPPER");
  EXPECT_STREQ(up->esttropfile, "MIXED");
}

TEST(ParseArgumetns, LaterOptionsOverwriteEarlierOnes) {
  auto tc = Parsed({"-rFIRST", "-RSECOND", "-me5", "-ME7.5"});
  EXPECT_STREQ(tc->sdfile, "SECOND");
  EXPECT_EQ(tc->MinElevation, 7.5);
}

TEST(ParseArgumetns, NumbersAndTheirPrecision) {
  auto tc = Parsed({"-me10.7", "-bt3.3", "-ft20", "-ts0.05", "-mi20", "-mt0.0001"});
  EXPECT_EQ(tc->MinElevation, 10.699999809265137);
  EXPECT_TRUE(tc->isMinElev && tc->isThresBlunder && tc->isMaxfDiff && tc->ifTropoSigma);
  EXPECT_EQ(tc->ThresBlunder, static_cast<long double>(3.3f));
  EXPECT_EQ(tc->MaxfDiff, 20.0L);
  EXPECT_EQ(tc->TropoSigma, static_cast<long double>(0.05f));
  EXPECT_EQ(tc->MaxIter, 20);
  EXPECT_EQ(tc->IterThres, 0.0001);
}

TEST(ParseArgumetns, TroposphereModelAndMapping) {
  auto gpt2 = Parsed({"-tmGPT2,NIELL"});
  EXPECT_EQ(gpt2->TrpModel, 3);
  EXPECT_EQ(gpt2->TrpMappFun, 0);
  EXPECT_TRUE(gpt2->isTrpModel);
  auto gpt = Parsed({"-TMgpt,glpt2"});
  EXPECT_EQ(gpt->TrpModel, 2);
  EXPECT_EQ(gpt->TrpMappFun, 6);
  auto vienna = Parsed({"-tmVienna,Vmf1"});
  EXPECT_EQ(vienna->TrpModel, 4);
  EXPECT_EQ(vienna->TrpMappFun, 5);
  auto hopf = Parsed({"-tmHOPF,MARINI"});
  EXPECT_EQ(hopf->TrpModel, 1);
  EXPECT_EQ(hopf->TrpMappFun, 3);
  // Without a model word the model keeps its value.
  auto mapping = Parsed({"-tmSAAST,CHAO", "-tmDAVIS"});
  EXPECT_EQ(mapping->TrpModel, 0);
  EXPECT_EQ(mapping->TrpMappFun, 2);
}

TEST(ParseArgumetns, TroposphereIntervalShiftAndStation) {
  auto tc = Parsed({"-ti01:00:00d00:30:00ROVER"});
  EXPECT_TRUE(tc->ifEstTropo);
  EXPECT_EQ(tc->TropoInterval, 3600.0L);
  EXPECT_EQ(tc->TropoShift, 1800.0L);
  EXPECT_TRUE(tc->ifEstTropoR);
  EXPECT_FALSE(tc->ifEstTropoB);
  auto upper = Parsed({"-TI02:00:00D00:15:00Base"});
  EXPECT_EQ(upper->TropoInterval, 7200.0L);
  EXPECT_EQ(upper->TropoShift, 900.0L);
  EXPECT_TRUE(upper->ifEstTropoB);
  auto noShift = Parsed({"-ti00:20:00base,rover"});
  EXPECT_EQ(noShift->TropoShift, 0.0L);
  EXPECT_TRUE(noShift->ifEstTropoB && noShift->ifEstTropoR);
}

TEST(ParseArgumetns, TroposphereGradients) {
  auto tc = Parsed({"-tgi3BASE"});
  EXPECT_TRUE(tc->ifEstTropoGrad && tc->ifEstTropoGradB);
  EXPECT_FALSE(tc->ifEstTropoGradR);
  EXPECT_EQ(tc->nTropoGradInt, 3);
  auto keep = Parsed({"-TGROVER"});
  EXPECT_EQ(keep->nTropoGradInt, 1);
  EXPECT_TRUE(keep->ifEstTropoGradR);
  auto zero = Parsed({"-tgI0"});
  EXPECT_EQ(zero->nTropoGradInt, 0);
}

TEST(ParseArgumetns, SystemsCodeBiasesObservationsEstimation) {
  auto tc = Parsed({"-csGe", "-cxGLN,GAL", "-lL3,c1", "-xsta", "-pcosz", "-st", "-WU", "-cc"});
  EXPECT_TRUE(tc->isGPS && tc->isGAL);
  EXPECT_FALSE(tc->isGLN);
  EXPECT_TRUE(tc->isGLNxdcb && tc->isGALxdcb);
  EXPECT_FALSE(tc->isGPSxdcb);
  EXPECT_TRUE(tc->ifL3 && tc->ifC1);
  EXPECT_FALSE(tc->ifL1 || tc->ifL2 || tc->ifP1);
  EXPECT_TRUE(tc->ifEstSta);
  EXPECT_FALSE(tc->ifEstKin);
  EXPECT_EQ(tc->obsP, 1);
  EXPECT_TRUE(tc->isSolidTide && tc->isPhaseWindUp && tc->isEcclipsing);
  // Code-bias systems are read in upper case only.
  auto lower = Parsed({"-cxgps"});
  EXPECT_FALSE(lower->isGPSxdcb);
}

TEST(ParseArgumetns, VerboseAndRedirectionsAreNotOptionsOfTheMainPass) {
  CaptureStderr();
  auto tc = Parsed({"-rX", "-V"});
  std::string err = GetCapturedStderr();
  EXPECT_TRUE(tc->verbose);
  EXPECT_EQ(err.find("UNKNOWN"), std::string::npos);
  EXPECT_NE(err.find("Tervan::GetFiles(): PARSING INPUT PARAMETERS!\n"), std::string::npos);
  EXPECT_NE(err.find("Tervan::GetFiles():         SINGLE DIFFERENCES file name: X!\n"),
            std::string::npos);
}

TEST(ParseArgumetns, WarningsForUnknownAndStrayArguments) {
  CaptureStderr();
  auto tc = Parsed({"-rX", "stray", "-zz", "-icCLK", "-cb9D"});
  std::string err = GetCapturedStderr();
  EXPECT_NE(err.find(Warning(" - PARAMETHER MANDATORY ->  stray")), std::string::npos);
  EXPECT_NE(err.find(Warning("UNKNOWN PARAMETHER: -zz")), std::string::npos);
  EXPECT_NE(err.find(Warning("IONOSPHERE FILE NOT SET CORRECTLY [ use -i[k|i|m]FILENAME ]!")),
            std::string::npos);
  EXPECT_NE(err.find(Warning("DIFFERENTIAL CODE BIAS (DCB) FILE NOT SET CORRECTLY [ use "
                             "-cb[1|2|3,m]FILENAME ]!")),
            std::string::npos);
  EXPECT_FALSE(tc->isIonx || tc->isKlob || tc->isMyion || tc->isP1P2);
}

TEST(ParseArgumetns, HelpArgumentAmongOptionsRunsTheProgram) {
  auto tc = Parsed({"-rX", "-help"});
  EXPECT_TRUE(tc->isHelp);
  EXPECT_TRUE(tc->GetRunProg());
}

TEST(ParseArgumetns, HelpAloneStopsTheRun) {
  for (auto args : std::vector<std::vector<std::string>>{
           {}, {"-v"}, {"-help"}, {"-HELP", "-v"}, {"-v", "-Help"}}) {
    CaptureStderr();
    auto tc = Parsed(args);
    std::string err = GetCapturedStderr();
    EXPECT_FALSE(tc->GetRunProg());
    EXPECT_NE(err.find("PROGRAM: Tervan.exe"), std::string::npos);
  }
}

TEST(ParseArgumetnsDeathTest, MalformedOptions) {
  ExpectFatal(
      {"-exFILE"},
      "EPHEMERIS/PRECISE CLOCKS/ERP FILE NOT SET CORRECTLY [ use -e[p|g|r|e|c|o]FILENAME ]!");
  ExpectFatal(
      {"-e"},
      "EPHEMERIS/PRECISE CLOCKS/ERP FILE NOT SET CORRECTLY [ use -e[p|g|r|e|c|o]FILENAME ]!");
  ExpectFatal({"-gpKFILE"}, "GNUPLOT FILE NOT SET CORRECTLY [ use -gp[k|s]FILENAME ]!");
  ExpectFatal({"-tmSAAST"},
              "TROPOSPHERE MODEL NOT SET CORRECTLY [ use "
              "-tm[SAAST|HOPF|VIENNA|GPT|GPT2],[NIELL|CHAO|DAVIS|MARINI|UNB3|VMF1|GLPT2] ]!");
  ExpectFatal({"-pweights"}, "WEIGHTING OF OBSERVATIONS NOT SET CORRECTLY [ use -p[COSZ] ]!");
  ExpectFatal({"-pV"}, "WEIGHTING OF OBSERVATIONS NOT SET CORRECTLY [ use -p[COSZ] ]!");
}

TEST(ParseArgumetns, AmbiguityResolutionAndRatio) {
  auto tc = Parsed({"-rSD.txt"});
  EXPECT_FALSE(tc->isFixAmb);
  EXPECT_EQ(tc->AmbRatioThres, 3.0L);
  tc = Parsed({"-af", "-AR2.5"});
  EXPECT_TRUE(tc->isFixAmb);
  EXPECT_EQ(tc->AmbRatioThres, 2.5L);
}

TEST(ParseArgumetnsDeathTest, NumbersMustBeNumbers) {
  ExpectFatal({"-arthree"}, "VALUE OF OPTION -ar IS NOT A NUMBER!");
  ExpectFatal({"-meten"}, "VALUE OF OPTION -me IS NOT A NUMBER!");
  ExpectFatal({"-BT"}, "VALUE OF OPTION -BT IS NOT A NUMBER!");
  ExpectFatal({"-mix"}, "VALUE OF OPTION -mi IS NOT A NUMBER!");
  ExpectFatal({"-mt"}, "VALUE OF OPTION -mt IS NOT A NUMBER!");
}

TEST(ParseArgumetnsDeathTest, NumbersBeyondTheirTypeNameTheOption) {
  ExpectFatal({"-mi99999999999999999999"},
              "VALUE 99999999999999999999 OUT OF RANGE - FROM -2147483648 TO 2147483647 [ -mi ]!");
  ExpectFatal({"-MI-3000000000"},
              "VALUE -3000000000 OUT OF RANGE - FROM -2147483648 TO 2147483647 [ -MI ]!");
  // Single precision overflows long before double precision does.
  ExpectFatal({"-me1e39"}, "VALUE 1e39 OUT OF RANGE - FROM -3.40282e+38 TO 3.40282e+38 [ -me ]!");
  ExpectFatal({"-mt1e999"},
              "VALUE 1e999 OUT OF RANGE - FROM -1.79769e+308 TO 1.79769e+308 [ -mt ]!");
  ExpectFatal(
      {"-ti99999999999:00:00ROVER"},
      "VALUE 99999999999:00:00ROVER OUT OF RANGE - FROM -2147483648 TO 2147483647 [ -ti ]!");
  ExpectFatal({"-tgi99999999999"},
              "VALUE 99999999999 OUT OF RANGE - FROM -2147483648 TO 2147483647 [ -tgi ]!");
}

TEST(ParseArgumetnsDeathTest, OverlongValuesAreRefused) {
  std::string longName(600, 'n');
  ExpectFatal({"-r" + longName}, "VALUE OF OPTION -r IS LONGER THAN 511 CHARACTERS!");
  ExpectFatal({"-cb1" + longName}, "VALUE OF OPTION -cb1 IS LONGER THAN 511 CHARACTERS!");
  ExpectFatal({"-gps" + longName}, "VALUE OF OPTION -gps IS LONGER THAN 511 CHARACTERS!");
  ExpectFatal({"-wo" + longName}, "VALUE OF OPTION -wo IS LONGER THAN 511 CHARACTERS!");
  ExpectFatal({"-WE" + longName}, "VALUE OF OPTION -WE IS LONGER THAN 511 CHARACTERS!");
}
