// Checks of the options after parsing, and the observation sigmas and weights.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "core/ProgramError.h"
#include "core/cfilef.h"
#include "driver/Tervan_GetFiles.h"

namespace {

const char* const Prog = "Tervan";

void Step(const TervanC& tc, const char* text) {
  if (tc.verbose) std::cerr << "Tervan::SetFiles():         " << text << std::endl;
}

bool Opens(const char* name) {
  return FileExists(std::string(name)) != 0;
}

// A given input that cannot be opened ends the run.
void RequireFile(bool given, const char* name, const std::string& error) {
  if (given && !Opens(name)) ProgramError(Prog, error);
}

// A given input that cannot be opened is left out with a warning.
void DropUnreadable(bool& given, const char* name, const std::string& warning) {
  if (given && !Opens(name)) {
    given = false;
    ProgramWarning(Prog, warning);
  }
}

void CheckSystems(TervanC& tc) {
  if (tc.verbose) std::cerr << "Tervan::CheckArguments():         SATELLITE SYSTEMS!" << std::endl;
  if (!tc.isGPS && !tc.isGLN && !tc.isGAL) {
    ProgramWarning(Prog, "NO SATELLITE SYSTEM SET [-cs[G|R|E]] - SETTING ALL!");
    tc.isGPS = tc.isGLN = tc.isGAL = true;
  }
}

void CheckSingleDifferences(TervanC& tc) {
  Step(tc, "SINGLE DIFFERENCES file!");
  if (!tc.isSDfile || tc.sdfile[0] == '\0')
    ProgramError(Prog, "NO SINGLE DIFFERENCES (OBSERVATION) FILE SET!");
  RequireFile(true, tc.sdfile, "SINGLE DIFFERENCES (OBSERVATION) FILE CAN NOT BE OPENED!");
}

// A chosen system without any orbits is not processed.
void DropSystemWithoutOrbits(bool& system, bool navigation, bool precise, const char* name) {
  if (!system || navigation || precise) return;
  system = false;
  ProgramWarning(Prog, std::string(name) + " SYSTEM SET BUT NO EPHEMERIS FOR " + name +
                           " SET (PRECISE AND NAVIGATION) - NOT PROCESSING " + name + " SYSTEM!");
}

// A neighbouring day's file given without the day's own file is left out.
void DropWithoutMain(bool& given, bool main, const std::string& warning) {
  if (given && !main) {
    given = false;
    ProgramWarning(Prog, warning);
  }
}

// Orbit and clock files of the previous and the next day.
void CheckNeighbourDays(TervanC& tc) {
  const char* orbit =
      "PRECISE EPHEMERIS FILE OF A NEIGHBOURING DAY SET WITHOUT -ep FILE - NOT USED!";
  const char* clock = "PRECISE CLOCK FILE OF A NEIGHBOURING DAY SET WITHOUT -ec FILE - NOT USED!";
  DropWithoutMain(tc.isPEphPrev, tc.isPEph, orbit);
  DropWithoutMain(tc.isPEphNext, tc.isPEph, orbit);
  DropWithoutMain(tc.isPclkPrev, tc.isPclk, clock);
  DropWithoutMain(tc.isPclkNext, tc.isPclk, clock);
  RequireFile(tc.isPEphPrev, tc.sp3prevfile,
              "PREVIOUS DAY PRECISE EPHEMERIS FILE CAN NOT BE OPENED!");
  RequireFile(tc.isPEphNext, tc.sp3nextfile, "NEXT DAY PRECISE EPHEMERIS FILE CAN NOT BE OPENED!");
  DropUnreadable(tc.isPclkPrev, tc.pclkprevfile,
                 "PREVIOUS DAY PRECISE SATELLITE CLOCK FILE CAN NOT BE OPENED!");
  DropUnreadable(tc.isPclkNext, tc.pclknextfile,
                 "NEXT DAY PRECISE SATELLITE CLOCK FILE CAN NOT BE OPENED!");
}

void CheckEphemerides(TervanC& tc) {
  Step(tc, "Ephemeris files!");
  if (!tc.isGPSnav && !tc.isGLNnav && !tc.isGALnav && !tc.isPEph)
    ProgramError(Prog, "NO EPHEMERIS FILE SET!");
  RequireFile(tc.isGPSnav, tc.gnavfile, "GPS NAVIGATION FILE CAN NOT BE OPENED!");
  RequireFile(tc.isGLNnav, tc.rnavfile, "GLONAS NAVIGATION FILE CAN NOT BE OPENED!");
  RequireFile(tc.isGALnav, tc.enavfile, "GALILEO NAVIGATION FILE CAN NOT BE OPENED!");
  RequireFile(tc.isPEph, tc.sp3file, "MULTI-GNSS PRECISE EPHEMERIS FILE CAN NOT BE OPENED!");
  if (tc.isPEph && (tc.isGPSnav || tc.isGLNnav || tc.isGALnav)) {
    tc.isGPSnav = tc.isGLNnav = tc.isGALnav = false;
    ProgramWarning(Prog,
                   "BOTH PRECISE EPHEMERIS AND (SOME) NAVIGATION FILES FOR SET -> USING ONLY "
                   "PRECISE EPHEMERIS FILE!");
  }
  DropSystemWithoutOrbits(tc.isGPS, tc.isGPSnav, tc.isPEph, "GPS");
  DropSystemWithoutOrbits(tc.isGLN, tc.isGLNnav, tc.isPEph, "GLONASS");
  DropSystemWithoutOrbits(tc.isGAL, tc.isGALnav, tc.isPEph, "GALILEO");
  DropUnreadable(tc.isPclk, tc.pclkfile,
                 "PRECISE MULTI-GNSS SATELLITE CLOCK FILE CAN NOT BE OPENED!");
  CheckNeighbourDays(tc);
  DropUnreadable(tc.isSCrx, tc.scrxfile,
                 "GPS AND GLONASS SATELLITE PROBLEM FILE CAN NOT BE OPENED!");
}

// Code biases of a system that is not processed are not estimated.
void DropCodeBiasEstimation(bool& estimate, bool system, const char* name) {
  if (!estimate || system) return;
  estimate = false;
  ProgramWarning(Prog, std::string(name) + " OBSERVATIONS WILL NOT BE PROCESSED -> " + name +
                           " DCB VALUES UNKONWNS UNSET!");
}

void CheckIonosphere(TervanC& tc) {
  Step(tc, "Ionosphere files!");
  DropUnreadable(tc.isKlob, tc.ionkfile, "KLOBUCHAR IONOSPHERE FILE CAN NOT BE OPENED!");
  RequireFile(tc.isIonx, tc.ionxfile, "IONEX IONOSPHERE FILE CAN NOT BE OPENED!");
  DropUnreadable(tc.isMyion, tc.myionfile, "MYIONO IONOSPHERE FILE CAN NOT BE OPENED!");
  if (int(tc.isKlob) + int(tc.isIonx) + int(tc.isMyion) > 1)
    ProgramError(Prog, "MULTIPLE IONOSPHERE MODELS SET IN PROCESSING!");
}

void CheckAntennaAndCodeBiases(TervanC& tc) {
  Step(tc, "ANTEX - antenna phase variation file!");
  RequireFile(tc.isAtx, tc.atxfile, "ANTEX FILE CAN NOT BE OPENED!");
  Step(tc, "Differential Code Biases files!");
  RequireFile(tc.isP1P2, tc.dcbp1p2file, "DCB FILE - P1P2 CAN NOT BE OPENED!");
  RequireFile(tc.isP1C1, tc.dcbp1c1file, "DCB FILE - P1C1 CAN NOT BE OPENED!");
  RequireFile(tc.isP2C2, tc.dcbp2c2file, "DCB FILE - P2C2 CAN NOT BE OPENED!");
  RequireFile(tc.isMyDCB, tc.mydbcfile, "DCB FILE - Lustra RESULT CAN NOT BE OPENED!");
}

// The GPT2 and VIENNA models and the GPT2 and VMF1 mapping functions need the model file
// (GPT2 grid or VMF1 site file); without it they fall back to Saastamoinen and Niell
// rather than model no troposphere at all.
void CheckTroposphereFile(TervanC& tc) {
  DropUnreadable(tc.isGPT2file, tc.gpt2file, "GPT2 TROPOSPHERE MODEL FILE CAN NOT BE OPENED!");
  // The GPT2 mapping function takes its coefficients a from the GPT2 delays alone.
  if (tc.isTrpModel && tc.TrpMappFun == 6 && tc.TrpModel != 3) {
    tc.TrpMappFun = 0;
    ProgramWarning(Prog,
                   "GPT2 MAPPING FUNCTION WITHOUT GPT2 TROPOSPHERE MODEL - TROPOSPHERE MAPPING "
                   "FUNCTION SET TO DEFAULT - NIELL!");
  }
  if (tc.isGPT2file || !tc.isTrpModel) return;
  if (tc.TrpModel == 3 || tc.TrpModel == 4) {
    tc.TrpModel = 0;
    ProgramWarning(Prog, "TROPOSPHERE MODEL SET TO DEFAULT - SAASTAMOINEN!");
  }
  if (tc.TrpMappFun == 6 || tc.TrpMappFun == 5) {
    tc.TrpMappFun = 0;
    ProgramWarning(Prog, "TROPOSPHERE MAPPING FUNCTION SET TO DEFAULT - NIELL!");
  }
}

void CheckModelFiles(TervanC& tc) {
  DropUnreadable(tc.isPTide, tc.ptidefile, "EARTH ROTATION PARAMETERS FILE CAN NOT BE OPENED!");
  DropUnreadable(tc.isOTide, tc.otidefile, "OCEAN LOADING TIDE FILE (BLQ) CAN NOT BE OPENED!");
  CheckTroposphereFile(tc);
  Step(tc, "A-priori coordinate file!");
  DropUnreadable(tc.isAprCrd, tc.aprcrdfile,
                 "APRIORI COORDINATE FILE CAN NOT BE OPENED - USING VALUES FROM SINGLE "
                 "DIFFERENCES FILE!");
  Step(tc, "GLONASS frequency channel file!");
  RequireFile(tc.isGLNfrch, tc.glnfreqch, "GLONASS FREQUENCY CHANNEL FILE CAN NOT BE OPENED!");
}

void CheckEstimation(TervanC& tc) {
  Step(tc, "Estimation type!!");
  if (!tc.ifEstSta && !tc.ifEstKin) {
    tc.ifEstKin = true;
    ProgramWarning(Prog,
                   "TYPE OF ESTIMATION IS NOT SET [-x option]: USING DEFAULT SETTING - KINEMATIC "
                   "ESTIMATION!");
  }
  Step(tc, "Observations in processing!!");
  if (!tc.ifC1 && !tc.ifP1 && !tc.ifP2 && !tc.ifPc3 && !tc.ifPp3) {
    tc.ifC1 = true;
    ProgramWarning(Prog,
                   "CODE OBSERVATIONS MUST USED IN PROCESSING [SINGULARITY!] - BUT NOT SET [-l "
                   "option]: USING C1 OBSERVATIONS!");
  }
}

// Switches a setting off with a warning when the condition holds.
void Unset(bool condition, bool& setting, const char* warning) {
  if (!condition) return;
  setting = false;
  ProgramWarning(Prog, warning);
}

// Switches a setting on with a warning when the condition holds.
void Set(bool condition, bool& setting, const char* warning) {
  if (!condition) return;
  setting = true;
  ProgramWarning(Prog, warning);
}

void CheckTroposphere(TervanC& tc) {
  Unset(tc.ifEstTropo && !tc.isTrpModel, tc.ifEstTropo,
        "TROPOSPHERE ESTIMATION SET WITHOUT TROPOSPHERE MODEL - WILL NOT ESTIMATE TROPOSPHERE "
        "PARAMETERS!");
  Unset(tc.ifEstTropoGrad && !tc.ifEstTropo, tc.ifEstTropoGrad,
        "ONLY TROPOSPHERE GRADIENTS SET FOR ESTIMATION - ABORTING!");
  Set(tc.ifEstTropo && !tc.ifEstTropoB && !tc.ifEstTropoR, tc.ifEstTropoR,
      "TROPOSPHERE PARAMETERS SET FOR ESTIMATION ON ROVER STATION ONLY!");
  Set(tc.ifEstTropoGrad && !tc.ifEstTropoGradB && !tc.ifEstTropoGradR, tc.ifEstTropoGradR,
      "TROPOSPHERE GRADIENT PARAMETERS SET FOR ESTIMATION ON ROVER STATION ONLY!");
  Unset(tc.ifEstTropoGrad && tc.ifEstTropoGradB && !tc.ifEstTropoB, tc.ifEstTropoGradB,
        "ONLY TROPOSPHERE GRADIENTS SET FOR ESTIMATION [BASE STATION] - ABORTING!");
  Unset(tc.ifEstTropoGrad && tc.ifEstTropoGradR && !tc.ifEstTropoR, tc.ifEstTropoGradR,
        "ONLY TROPOSPHERE GRADIENTS SET FOR ESTIMATION [ROVER STATION} - ABORTING!");
  if (tc.ifEstTropoGrad && tc.nTropoGradInt < 0) {
    tc.nTropoGradInt = 1;
    ProgramWarning(Prog,
                   "NUMBER OF TROPOSPHERE GRADIENT INTERVALS MUST BE POZITIVE NUMBER - SETTING "
                   "TO 1!");
  }
  // The troposphere grid steps by the interval: it must advance.
  if (tc.ifEstTropo && !(tc.TropoInterval > 0.0L))
    ProgramError(Prog, "TROPOSPHERE ESTIMATION INTERVAL MUST BE POSITIVE [ use -tiHH:MM:SS ]!");
}

void CheckOutputs(TervanC& tc) {
  Unset(tc.isOutDCBFile && !tc.isGPSxdcb && !tc.isGLNxdcb && !tc.isGALxdcb, tc.isOutDCBFile,
        "DCB ESTIMATION IS NOT SET: NO DCB OUTPUT FILE WILL BE WRITTEN!");
  Unset(tc.isOutTropFile && !tc.ifEstTropo, tc.isOutTropFile,
        "ESTIMATION OF TROPOSPHERE DELAYS IS NOT SET: NO TROPOSPHERE OUTPUT FILE WILL BE "
        "WRITTEN!");
}

struct NamedFile {
  char (TervanC::*name)[FileNameSize];
  bool TervanC::*given;
};

const NamedFile InputFiles[] = {
    {&TervanC::sdfile, &TervanC::isSDfile},         {&TervanC::gnavfile, &TervanC::isGPSnav},
    {&TervanC::rnavfile, &TervanC::isGLNnav},       {&TervanC::enavfile, &TervanC::isGALnav},
    {&TervanC::sp3file, &TervanC::isPEph},          {&TervanC::pclkfile, &TervanC::isPclk},
    {&TervanC::ptidefile, &TervanC::isPTide},       {&TervanC::scrxfile, &TervanC::isSCrx},
    {&TervanC::ionkfile, &TervanC::isKlob},         {&TervanC::ionxfile, &TervanC::isIonx},
    {&TervanC::myionfile, &TervanC::isMyion},       {&TervanC::atxfile, &TervanC::isAtx},
    {&TervanC::dcbp1p2file, &TervanC::isP1P2},      {&TervanC::dcbp1c1file, &TervanC::isP1C1},
    {&TervanC::dcbp2c2file, &TervanC::isP2C2},      {&TervanC::mydbcfile, &TervanC::isMyDCB},
    {&TervanC::rctrackfile, &TervanC::isRCodTrc},   {&TervanC::glnfreqch, &TervanC::isGLNfrch},
    {&TervanC::aprcrdfile, &TervanC::isAprCrd},     {&TervanC::gpt2file, &TervanC::isGPT2file},
    {&TervanC::otidefile, &TervanC::isOTide},       {&TervanC::sp3prevfile, &TervanC::isPEphPrev},
    {&TervanC::sp3nextfile, &TervanC::isPEphNext},  {&TervanC::pclkprevfile, &TervanC::isPclkPrev},
    {&TervanC::pclknextfile, &TervanC::isPclkNext},
};

const NamedFile ResultFiles[] = {
    {&TervanC::gnuplotKin, &TervanC::isGNUPlotKin},
    {&TervanC::gnuplotStat, &TervanC::isGNUPlotStat},
    {&TervanC::clkfile, &TervanC::isClkFile},
    {&TervanC::estdcbfile, &TervanC::isOutDCBFile},
    {&TervanC::esttropfile, &TervanC::isOutTropFile},
    {&TervanC::resfile, &TervanC::isresfile},
};

// Options of the result files, in the order of ResultFiles.
const char* const ResultOptions[] = {"-gpk", "-gps", "-cf", "-od", "-ot", "-fp"};

// A result file can be written when a file can be created beside it (its folder
// exists and takes files) and an existing result is a file that opens for writing.
// Nothing existing is truncated: the test file is new and removed again.
bool Writable(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path p(name);
  if (std::filesystem::is_directory(p, ec)) return false;
  if (std::filesystem::exists(p, ec) && !std::ofstream(name, std::ios::app)) return false;
  const std::string probe = name + ".tervan-probe";
  if (std::filesystem::exists(probe, ec)) return true;  // someone else's: leave it alone
  bool ok = static_cast<bool>(std::ofstream(probe));
  if (ok) std::remove(probe.c_str());
  return ok;
}

// Every result file is tried before the preprocessing starts, so that a run never
// reports success after hours of work with nothing written.
void CheckResultFilesWritable(const TervanC& tc) {
  std::string bad;
  for (size_t k = 0; k < std::size(ResultFiles); ++k) {
    const NamedFile& f = ResultFiles[k];
    if (!(tc.*(f.given)) || Writable(tc.*(f.name))) continue;
    bad += (bad.empty() ? "" : ", ") + std::string(tc.*(f.name)) + " [" + ResultOptions[k] + "]";
  }
  if (!bad.empty()) ProgramError(Prog, "RESULT FILES CAN NOT BE WRITTEN: " + bad + "!");
}

// True when one of the given files in [first, last) is the file name.
bool Names(const TervanC& tc, const NamedFile* first, const NamedFile* last, const char* name) {
  for (const NamedFile* f = first; f != last; ++f)
    if (tc.*(f->given) && SameFile(name, tc.*(f->name))) return true;
  return false;
}

// A result file must not replace one of the inputs or another result file: either
// would lose what was there first. (The redirection files are checked against
// every option when they are opened.)
void CheckResultFiles(const TervanC& tc) {
  for (const NamedFile* out = std::begin(ResultFiles); out != std::end(ResultFiles); ++out) {
    if (!(tc.*(out->given))) continue;
    const std::string name = tc.*(out->name);
    if (Names(tc, std::begin(InputFiles), std::end(InputFiles), name.c_str()))
      ProgramError(Prog, "RESULT FILE " + name + " IS ALSO AN INPUT FILE - WILL NOT OVERWRITE IT!");
    if (Names(tc, out + 1, std::end(ResultFiles), name.c_str()))
      ProgramError(Prog, "RESULT FILE " + name +
                             " IS NAMED FOR TWO RESULTS - ONE WOULD OVERWRITE THE OTHER!");
  }
}

// Squared factors a^2 and b^2 of the ionosphere-free combination of two carriers,
// a = f1^2 / (f1^2 - f2^2) and b = f2^2 / (f1^2 - f2^2).
struct IonoFreeFactors {
  long double a2, b2;
};
constexpr IonoFreeFactors GPSFactors{6.4807299306944514683L, 2.3892743703681307288L};
constexpr IonoFreeFactors GLONASSFactors{6.4072265625L, 2.3447265625L};
constexpr IonoFreeFactors GalileoFactors{5.8659731900657847703L, 2.0220189416997738086L};

// Sigmas of the ionosphere-free code (C1/P2 and P1/P2) and phase combinations.
void IonoFreeSigmas(const TervanC& tc, const IonoFreeFactors& f, long double& sigPc3,
                    long double& sigPp3, long double& sigL3) {
  sigPc3 = std::sqrt(tc.sigC * tc.sigC * f.a2 + tc.sigP * tc.sigP * f.b2);
  sigPp3 = tc.sigP * std::sqrt(f.a2 + f.b2);
  sigL3 = tc.sigL1 * std::sqrt(f.a2 + f.b2);
}

long double Weight(long double sig0, long double sigma) {
  long double r = sig0 / sigma;
  return r * r;
}

void DeriveWeights(TervanC& tc) {
  IonoFreeSigmas(tc, GPSFactors, tc.sigPc3G, tc.sigPp3G, tc.sigL3G);
  IonoFreeSigmas(tc, GLONASSFactors, tc.sigPc3R, tc.sigPp3R, tc.sigL3R);
  IonoFreeSigmas(tc, GalileoFactors, tc.sigPc3E, tc.sigPp3E, tc.sigL3E);
  bool phase = tc.ifL3 || tc.ifL1 || tc.ifL2;
  if (!phase) {
    if (tc.ifC1 || tc.ifP1 || tc.ifP2) tc.sig0 = tc.sigC;
    if (tc.ifPc3 || tc.ifPp3) tc.sig0 = tc.sigPc3G;
  } else {
    if (tc.ifL1 || tc.ifL2) tc.sig0 = tc.sigL1;
    if (tc.ifL3) tc.sig0 = tc.sigL3G;
  }
  tc.p0C = Weight(tc.sig0, tc.sigC);
  tc.p0P = Weight(tc.sig0, tc.sigP);
  tc.p0L1 = Weight(tc.sig0, tc.sigL1);
  tc.p0Pc3G = Weight(tc.sig0, tc.sigPc3G);
  tc.p0Pc3R = Weight(tc.sig0, tc.sigPc3R);
  tc.p0Pc3E = Weight(tc.sig0, tc.sigPc3E);
  tc.p0Pp3G = Weight(tc.sig0, tc.sigPp3G);
  tc.p0Pp3R = Weight(tc.sig0, tc.sigPp3R);
  tc.p0Pp3E = Weight(tc.sig0, tc.sigPp3E);
  tc.p0L3G = Weight(tc.sig0, tc.sigL3G);
  tc.p0L3R = Weight(tc.sig0, tc.sigL3R);
  tc.p0L3E = Weight(tc.sig0, tc.sigL3E);
}

}  // namespace

void CheckArgumetns(TervanC& tc) {
  if (tc.verbose) std::cerr << "Tervan::SetFiles(): CHECKING INPUT ARGUMETNS!" << std::endl;
  CheckSystems(tc);
  CheckSingleDifferences(tc);
  CheckEphemerides(tc);
  DropCodeBiasEstimation(tc.isGPSxdcb, tc.isGPS, "GPS");
  DropCodeBiasEstimation(tc.isGLNxdcb, tc.isGLN, "GLONASS");
  DropCodeBiasEstimation(tc.isGALxdcb, tc.isGAL, "GALILEO");
  CheckIonosphere(tc);
  CheckAntennaAndCodeBiases(tc);
  CheckModelFiles(tc);
  CheckEstimation(tc);
  CheckTroposphere(tc);
  CheckOutputs(tc);
  CheckResultFiles(tc);
  CheckResultFilesWritable(tc);
  // The static solution needs at least one iteration to produce any estimate.
  if (tc.MaxIter < 1)
    ProgramError(Prog, "MAXIMUM NUMBER OF ITERATIONS MUST BE POSITIVE [ use -miN ]!");
  // A ratio below 1 would accept a best candidate no better than the second.
  if (!(tc.AmbRatioThres >= 1.0L) || !std::isfinite(tc.AmbRatioThres))
    ProgramError(Prog, "AMBIGUITY RATIO TEST THRESHOLD MUST BE AT LEAST 1 [ use -arVALUE ]!");
  if (tc.isFixAmb && !tc.ifEstSta)
    ProgramWarning(Prog, "AMBIGUITY RESOLUTION NEEDS THE STATIC SOLUTION [ -xSTA ] - NOT DONE!");
  DeriveWeights(tc);
}
