// Title block and settings report of a run, on standard output.
#include <iomanip>
#include <iostream>
#include <string>

#include "core/ProgramOutput.h"
#include "driver/Tervan_GetFiles.h"

namespace {

const char* YesNo(bool on) {
  return on ? "YES" : " ---";
}

// The run's troposphere model and mapping function are chosen before the report so that
// it names the ones the run will use; codes the model does not know fall back to its
// defaults (with its warning, once).
void SelectTroposphere(TervanC& tc) {
  if (!tc.isTrpModel) return;
  tc.trpmodel.SetTropModel(tc.TrpModel);
  tc.trpmodel.SetMappFunction(tc.TrpMappFun);
  tc.TrpModel = tc.trpmodel.GetTropModelCode();
  tc.TrpMappFun = tc.trpmodel.GetMappFunctionCode();
}

void FileLine(const char* label, bool given, const char* name) {
  std::cout << label << (given ? name : " ---") << '\n';
}

// A line only for a file that is given.
void OptionalFileLine(const char* label, bool given, const char* name) {
  if (given) FileLine(label, given, name);
}

void InputFiles(const TervanC& tc) {
  ProgramSubSubTitle("INPUT DATA (FILE NAMES):", 0);
  FileLine("  Apriori coordinate file             : ", tc.isAprCrd, tc.aprcrdfile);
  FileLine("  Observation (SINGLE DIF.) file      : ", true, tc.sdfile);
  FileLine("  Satellite problem file              : ", tc.isSCrx, tc.scrxfile);
  FileLine("  GPS broadcast navigation file       : ", tc.isGPSnav, tc.gnavfile);
  FileLine("  GLONASS broadcast navigation file   : ", tc.isGLNnav, tc.rnavfile);
  FileLine("  GALILEO broadcast navigation file   : ", tc.isGALnav, tc.enavfile);
  FileLine("  MULTI-GNSS precise ephemeris file   : ", tc.isPEph, tc.sp3file);
  OptionalFileLine("  Previous day precise ephemeris file : ", tc.isPEphPrev, tc.sp3prevfile);
  OptionalFileLine("  Next day precise ephemeris file     : ", tc.isPEphNext, tc.sp3nextfile);
  FileLine("  MULTI-GNSS precise clock file       : ", tc.isPclk, tc.pclkfile);
  OptionalFileLine("  Previous day precise clock file     : ", tc.isPclkPrev, tc.pclkprevfile);
  OptionalFileLine("  Next day precise clock file         : ", tc.isPclkNext, tc.pclknextfile);
  FileLine("  GLONASS frequency channel file      : ", tc.isGLNfrch, tc.glnfreqch);
  FileLine("  Earth rotation parameters file      : ", tc.isPTide, tc.ptidefile);
  FileLine("  Ocean tide loading file (BLQ)       : ", tc.isOTide, tc.otidefile);
  FileLine("  GPT2 mapping function / model file  : ", tc.isGPT2file, tc.gpt2file);
  FileLine("  Ionosphere IONEX model file         : ", tc.isIonx, tc.ionxfile);
  FileLine("  Ionosphere Klobuchar model file     : ", tc.isKlob, tc.ionkfile);
  FileLine("  Ionosphere MyIono model file        : ", tc.isMyion, tc.myionfile);
  FileLine("  Antenna phase center variation file : ", tc.isAtx, tc.atxfile);
  FileLine("  Differential code bias file (P1P2)  : ", tc.isP1P2, tc.dcbp1p2file);
  FileLine("  Differential code bias file (P1C1)  : ", tc.isP1C1, tc.dcbp1c1file);
  FileLine("  Differential code bias file (P2C2)  : ", tc.isP2C2, tc.dcbp2c2file);
  FileLine("  Receiver code tracking type file    : ", tc.isRCodTrc, tc.rctrackfile);
  std::cout << '\n';
}

void OutputFiles(const TervanC& tc) {
  ProgramSubSubTitle("OUTPUT/RESULT FILES:", 0);
  FileLine("  Clock correction file               : ", tc.isClkFile, tc.clkfile);
  FileLine("  Differential code bias output file  : ", tc.isOutDCBFile, tc.estdcbfile);
  FileLine("  Estimated troposphere delays file   : ", tc.isOutTropFile, tc.esttropfile);
  FileLine("  Estimated epoch tropo. delays file  : ", tc.isOutTropEphFile, tc.esttropephfile);
  std::cout << "\n\n";
  ProgramSubSubTitle("PLOTING FILES (GNUPLOT):", 0);
  FileLine("  Kinematic coordinates GNU Plot file : ", tc.isGNUPlotKin, tc.gnuplotKin);
  FileLine("  Static coordinates GNU Plot file    : ", tc.isGNUPlotStat, tc.gnuplotStat);
  FileLine("  Skyplot GNU Plot file               : ", tc.isSkyPlot, tc.skyplotfile);
  std::cout << "\n\n";
}

void Observations(const TervanC& tc) {
  std::cout << "  Satellite systems used in processing:" << (tc.isGPS ? " GPS" : "")
            << (tc.isGLN ? " GLONASS" : "") << (tc.isGAL ? " GALILEO" : "") << '\n';
  std::cout << "  Code observations used in program   :" << (tc.ifC1 ? " C/A" : "")
            << (tc.ifP1 ? " P1" : "") << (tc.ifP2 ? " P2" : "") << (tc.ifPc3 ? " P3[C/A,P2]" : "")
            << (tc.ifPp3 ? " P3[P1,P2]" : "") << '\n';
  std::cout << "  Phase observations used in program  :" << (tc.ifL3 ? " L3" : "")
            << (tc.ifL2 ? " L2" : "") << (tc.ifL1 ? " L1" : "") << '\n';
  std::cout << "  Minimum elevation angle             : " << std::setprecision(1) << tc.MinElevation
            << (tc.isMinElev ? " [MANUALLY SET]" : " [DEFAULT VALUE]") << '\n';
}

const char* CodeBiasSource(const TervanC& tc) {
  if (tc.isP1P2 || tc.isP1C1 || tc.isP2C2) return "DCB values provided by CODE";
  if (tc.isIonx) return "IONEX DCB values";
  if (tc.isGPSnav) return "Navigation time group delay";
  return " ---";
}

void Models(const TervanC& tc) {
  char model[64] = " ---", mapping[64] = " ---";
  if (tc.isTrpModel) {
    tc.trpmodel.GetTropModel(model);
    tc.trpmodel.GetTropMappF(mapping);
  }
  std::cout << "  Troposphere modeling                :\n";
  std::cout << "     Troposphere model                : " << model << '\n';
  std::cout << "     Troposphere mapping function     : " << mapping << '\n';
  std::cout << "  Ionosphere modeling                 :\n";
  std::cout << "     IONEX model                      : " << YesNo(tc.isIonx) << '\n';
  std::cout << "     Global Klobuchar parameters      : " << YesNo(tc.isKlob) << '\n';
  std::cout << "     Iono-free linear combination     : " << YesNo(tc.ifPc3 || tc.ifPp3 || tc.ifL3)
            << '\n';
  std::cout << "  Differential code biases            : " << CodeBiasSource(tc) << '\n';
  std::cout << "  Differential code biases - Lustra   : "
            << (tc.isMyDCB ? std::string("YES - ") + tc.mydbcfile : std::string(" ---")) << '\n';
  std::cout << "  Solid Earth Tide modelling          : " << YesNo(tc.isSolidTide) << '\n';
  std::cout << "  Modell Phase Wind-Up for phase obs. : " << YesNo(tc.isPhaseWindUp) << '\n';
  std::cout << "  Remove ecclipsing satelites obs.    : " << YesNo(tc.isEcclipsing) << '\n';
  std::cout << "  Observation weighting               : "
            << (tc.obsP == 1 ? "COS(Z) model" : " ---") << '\n';
}

void Sigma(const char* label, long double value) {
  std::cout << label << std::setw(6) << std::setprecision(4) << value << '\n';
}

void Adjustment(const TervanC& tc) {
  std::cout << "  Reference standard deviatons        :\n";
  Sigma("      observation C/A             [m] : ", tc.sigC);
  Sigma("      observation P1/P2           [m] : ", tc.sigP);
  Sigma("      observation L1/L2           [m] : ", tc.sigL1);
  Sigma("      reference std. dev. apriori [m] : ", tc.sig0);
  std::cout << "  Blunder detection in observations   : \n";
  std::cout << "      Misclosure vector f [threshold] : ";
  if (tc.isMaxfDiff)
    std::cout << "YES [" << std::setw(6) << std::setprecision(3) << tc.MaxfDiff << " m]\n";
  else
    std::cout << "NO\n";
  std::cout << "      Residual vector v [threshold]   : ";
  if (tc.isThresBlunder)
    std::cout << "YES [" << std::setw(6) << std::setprecision(2) << tc.ThresBlunder
              << " * STD_V]\n";
  else
    std::cout << "NO\n";
  std::cout << "  Antenna phase center modelling      : " << YesNo(tc.isAtx) << '\n';
  std::cout << "  Type of processing solution         :\n";
  std::cout << "      KINEMATIC                       : " << YesNo(tc.ifEstKin) << '\n';
  std::cout << "      STATIC                          : " << YesNo(tc.ifEstSta) << '\n';
  if (tc.isFixAmb)
    std::cout << "  Integer ambiguity resolution        : YES [RATIO " << std::setw(6)
              << std::setprecision(2) << tc.AmbRatioThres << "]\n";
  std::cout << "  Estimation of DCB values            :" << (tc.isGPSxdcb ? " GPS" : "")
            << (tc.isGLNxdcb ? " GLONASS" : "") << (tc.isGALxdcb ? " GALILEO" : "") << '\n';
}

// "YES [BASE,ROVER]", "YES [BASE]", "YES [ROVER]" or " ---".
std::string Stations(bool on, bool base, bool rover) {
  if (!on) return " ---";
  return std::string("YES [") + (base && rover ? "BASE,ROVER" : base ? "BASE" : "ROVER") + "]";
}

void Seconds(const char* label, bool on, long double value) {
  std::cout << label;
  if (on)
    std::cout << std::setprecision(1) << value << " s\n";
  else
    std::cout << " ---\n";
}

void Troposphere(const TervanC& tc) {
  std::cout << "  Estimation of troposphere parameters: "
            << Stations(tc.ifEstTropo, tc.ifEstTropoB, tc.ifEstTropoR) << '\n';
  Seconds("      Troposphere interval            : ", tc.ifEstTropo, tc.TropoInterval);
  Seconds("      Troposphere epoch shift         : ", tc.ifEstTropo, tc.TropoShift);
  std::cout << "  Estimation of gradient tropo. par.  : "
            << Stations(tc.ifEstTropoGrad, tc.ifEstTropoGradB, tc.ifEstTropoGradR) << '\n';
  std::cout << "      Number of gradient intervals    : ";
  if (!tc.ifEstTropoGrad)
    std::cout << " ---\n";
  else if (tc.nTropoGradInt == 0)
    std::cout << " same as ZTDs\n";
  else
    std::cout << tc.nTropoGradInt << '\n';
  std::cout << "  Apriori troposphere constraints     : ";
  if (tc.ifTropoSigma)
    std::cout << "YES [" << std::setw(6) << std::setprecision(3) << tc.TropoSigma << " m]\n";
  else
    std::cout << " ---\n";
  std::cout << "\n\n";
}

void Iteration(const TervanC& tc) {
  ProgramSubSubTitle("ITERATION PROCESS:", 0);
  std::cout << "  Maximum number of iteration         : " << tc.MaxIter << '\n';
  std::cout << "  Iteration process threshold         : " << std::scientific << std::setprecision(2)
            << tc.IterThres << std::fixed << '\n';
  std::cout << "\n\n";
}

}  // namespace

void PrintArgumetns(TervanC& tc) {
  if (tc.verbose) std::cerr << "Tervan::PrintArgumetns(): PRINTING INPUT ARGUMENTS!" << std::endl;
  SelectTroposphere(tc);
  POut::SetText(POut::ProgramName, "Tervan");
  POut::SetText(POut::ProgramDescription, "GNSS SINGLE DIFF. POSITIONING (CODE+PHASE)");
  POut::SetText(POut::Author, "Tervan developers");
  POut::SetText(POut::ValidationDate, "2013-2021");
  POut::SetText(POut::Release, "27 APR 2021");
  ProgramTitle();
  ProgramSubTitle("PROGRAM SETTINGS AND INPUT PARAMETERS:", 0);
  std::cout << '\n';
  InputFiles(tc);
  OutputFiles(tc);
  ProgramSubSubTitle("PROCESSING SETTINGS USED:", 0);
  Observations(tc);
  Models(tc);
  Adjustment(tc);
  Troposphere(tc);
  Iteration(tc);
  std::cout.flush();
}
