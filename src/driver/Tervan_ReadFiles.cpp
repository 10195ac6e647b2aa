#include "driver/Tervan_ReadFiles.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/ProgramError.h"

namespace {

const char* const Prog = "Tervan";
const char* const SetDetail = "Tervan::SetFiles():         ";
const char* const ReadDetail = "Tervan::ReadFiles():        ";

void Setting(const TervanC& tc, const char* what) {
  if (tc.verbose) std::cerr << SetDetail << "setting " << what << std::endl;
}

// A chosen system with too little data in the single differences is switched
// off together with its code-bias estimation.
void CheckSystem(bool has, bool& use, bool& dcb, const char* name) {
  if (!use || has) return;
  use = false;
  dcb = false;
  ProgramWarning(Prog, std::string("NO OR NOT ENOUGH ") + name +
                           " DATA IN SINGLE DIFFERENCES FILE - NOT USING " + name +
                           " OBSERVATIONS IN PROCESSING!");
}

void ReadSingleDifferences(TervanC& tc) {
  tc.sd.ReadFile();
  if (tc.verbose)
    std::cerr << ReadDetail << "reading SINGLE DIFFERENCES file - " << tc.sdd.GetNEpoch()
              << " epochs, " << tc.sdd.GetNObs() << " C1 observations, " << tc.sdh.GetNObs()
              << " obs types" << std::endl;
}

void ReadEarthRotation(TervanC& tc) {
  tc.ptide.ReadFile();
  if (tc.verbose)
    std::cerr << ReadDetail << "reading EARTH ROTATION PARAMETERS file - " << tc.ptide.GetNEpoch()
              << " epochs " << std::endl;
}

void ReadOceanLoading(TervanC& tc) {
  tc.otide.ReadFile();
  if (tc.verbose)
    std::cerr << ReadDetail << "reading OCEAN LOADING TIDE file - " << tc.otide.GetNStation()
              << " stations " << std::endl;
}

void ReadAntex(TervanC& tc) {
  tc.atx.ReadFile();
  if (tc.verbose)
    std::cerr << ReadDetail << "reading ANTEX file - " << tc.atx.GetNGPSSat() << " GPS SWs  "
              << tc.atx.GetNGLNSat() << " GLONASS SWs  " << tc.atx.GetNRec() << " RECs"
              << std::endl;
}

// The monthly satellite code biases, then the biases estimated by Lustra.
void ReadCodeBiases(TervanC& tc) {
  DCB* const dcb[3] = {&tc.p1p2, &tc.p1c1, &tc.p2c2};
  const bool given[3] = {tc.isP1P2, tc.isP1C1, tc.isP2C2};
  const char* const name[3] = {"P1P2", "P1C1", "P2C2"};
  for (int i = 0; i < 3; i++) {
    if (!given[i]) continue;
    dcb[i]->ReadFile();
    if (tc.verbose) std::cerr << ReadDetail << "reading " << name[i] << " DCB file!" << std::endl;
  }
  if (tc.isMyDCB) {
    tc.mydcb.ReadFile();
    if (tc.verbose) std::cerr << ReadDetail << "reading Lustra - DCB file!" << std::endl;
  }
}

void ReadSatelliteProblems(TervanC& tc) {
  tc.scrx.ReadFile();
  if (tc.verbose)
    std::cerr << ReadDetail << "reading GPS AND GLONASS SATELLITE PROBLEM file - "
              << tc.scrx.GetNSat() << " problematic epochs/satellites!" << std::endl;
}

void ReadOrbits(TervanC& tc) {
  if (tc.isGPSnav) {
    tc.gpsnav.ReadFile();
    if (tc.verbose)
      std::cerr << ReadDetail << "reading GPS NAVIGATION file - " << tc.gpsnav.GetNRecords()
                << " records" << std::endl;
  }
  if (tc.isGLNnav) {
    tc.glnnav.ReadFile();
    if (tc.verbose)
      std::cerr << ReadDetail << "reading GLONASS NAVIGATION file - " << tc.glnnav.GetNRecords()
                << " records" << std::endl;
  }
  if (tc.isGALnav) {
    tc.galnav.ReadFile();
    if (tc.verbose)
      std::cerr << ReadDetail << "reading GALILEO NAVIGATION file - " << tc.galnav.GetNRecords()
                << " records" << std::endl;
  }
  if (tc.isPEph) {
    tc.pephM.ReadFile();
    if (tc.verbose)
      std::cerr << ReadDetail << "reading MULTI-GNSS PRECISE EPHEMERIS file - "
                << tc.pephM.GetNEpoch() << " epochs " << tc.pephM.GetNSatList() << " satellites"
                << std::endl;
  }
  if (tc.isPclk) {
    tc.pclkM.ReadFile();
    if (tc.verbose)
      std::cerr << ReadDetail << "reading MULTI-GNSS PRECISE SATELLITE CLOCK file - "
                << tc.pclkM.GetNEpoch() << " epochs " << tc.pclkM.GetNSatList() << " satellites"
                << std::endl;
  }
  if (tc.isGLNfrch) {
    tc.glnfc.ReadFile();
    if (tc.verbose)
      std::cerr << ReadDetail << "reading GLONASS FREQUENCY CHANNEL file" << std::endl;
  }
}

// Klobuchar coefficients from the header of a GPS navigation file.
void ReadKlobuchar(TervanC& tc) {
  if (tc.verbose) std::cerr << ReadDetail << "reading KLOBUCHAR ionosphere file" << std::endl;
  std::ifstream in(tc.ionkfile);
  if (!in) ProgramError(Prog, "KLOBUCHAR IONOSPHERE FILE CAN NOT BE OPENED!");
  in >> tc.ionk;
  // Without the amplitude coefficients the model is its night-time constant everywhere.
  const long double* alfa = tc.ionk.GetAlfa();
  if (alfa[0] == 0.0L && alfa[1] == 0.0L && alfa[2] == 0.0L && alfa[3] == 0.0L)
    ProgramWarning(Prog,
                   "KLOBUCHAR IONOSPHERE FILE HOLDS NO ION ALPHA COEFFICIENTS - ONLY THE "
                   "NIGHT-TIME DELAY IS MODELLED!");
  if (tc.verbose) std::cerr << ReadDetail << "reading KLOBUCHAR ionosphere file" << std::endl;
}

// The maps are evaluated by seconds of day alone: when the first or last epoch of the single
// differences lies off the span of the maps (one interval before the first map to one
// interval after the last), observations of another day take the maps of the same time of
// day, and the user is told so.
void CheckIonexCoverage(const TervanC& tc) {
  const long neph = tc.ionxd.GetNEph();
  if (!tc.isSDfile || tc.sdd.GetNEpoch() == 0 || neph == 0) return;
  const long double interval = tc.ionxh.GetInterval();
  for (long i : {0L, tc.sdd.GetNEpoch() - 1}) {
    const long double dt = tc.sdd.GetMJD(i) - tc.ionxd.GetEpoch(0);
    if (dt < -interval || dt >= interval * neph) {
      ProgramWarning(Prog,
                     "IONEX MAPS DO NOT COVER THE EPOCHS OF THE SINGLE DIFFERENCES FILE - MAPS "
                     "ARE TAKEN BY TIME OF DAY ONLY!");
      return;
    }
  }
}

void ReadIonex(TervanC& tc) {
  tc.ionx.ReadFile();
  if (tc.verbose) std::cerr << ReadDetail << "reading IONEX ionosphere file" << std::endl;
  CheckIonexCoverage(tc);
}

void ReadMyIono(TervanC& tc) {
  tc.myion.ReadFile();
  if (tc.verbose) std::cerr << ReadDetail << "reading MYIONO file!" << std::endl;
}

void ReadTroposphereFile(TervanC& tc) {
  tc.trpmodel.ReadFile();
  if (tc.verbose)
    std::cerr << ReadDetail << "reading GPT2 TROP. MODEL/MAPP. FUNCTION file!" << std::endl;
}

// Systems present in the data, and P2 from C2 when the file has no P2.
void CheckSingleDifferences(TervanC& tc) {
  CheckSystem(tc.sdd.HasGPSObs(), tc.isGPS, tc.isGPSxdcb, "GPS");
  CheckSystem(tc.sdd.HasGLONASSObs(), tc.isGLN, tc.isGLNxdcb, "GLONASS");
  CheckSystem(tc.sdd.HasGALILEOObs(), tc.isGAL, tc.isGALxdcb, "GALILEO");
  if (!tc.isGPS && !tc.isGLN && !tc.isGAL)
    ProgramError(Prog,
                 "NO OR NOT ENOUGH GNSS (G|R|E) DATA IN RINEX FILE - PROBLEMATIC RINEX FILE!");
  if (!tc.sdh.HasP2() && tc.sdh.HasC2()) {
    ProgramWarning(Prog,
                   "SINGLE DIFFERENCES FILE HAS ONLY C2 CODE OBSERVATIONS ON L2 - COPYING "
                   "VALUES TO P2!");
    tc.sd.copyC2toP2();
  }
}

// Antenna calibrations, code biases, receiver list and a-priori coordinates.
void SetStationFiles(TervanC& tc) {
  if (tc.isAtx) {
    tc.atx.SetFile(tc.atxfile);
    Setting(tc, "ANTEX file!");
  }
  DCB* const dcb[3] = {&tc.p1p2, &tc.p1c1, &tc.p2c2};
  const bool given[3] = {tc.isP1P2, tc.isP1C1, tc.isP2C2};
  char* const file[3] = {tc.dcbp1p2file, tc.dcbp1c1file, tc.dcbp2c2file};
  const char* const what[3] = {"P1P2 DCB file!", "P1C1 DCB file!", "P2C2 DCB file!"};
  for (int i = 0; i < 3; i++) {
    if (!given[i]) continue;
    dcb[i]->SetFile(file[i]);
    Setting(tc, what[i]);
  }
  if (tc.isMyDCB) {
    tc.mydcb.SetFile(tc.mydbcfile);
    Setting(tc, "Lustra - DCB file!");
  }
  if (tc.isRCodTrc) {
    tc.rctrack.SetFile(tc.rctrackfile);
    Setting(tc, "RECEIVER CODE TRACKING file!");
  }
  if (tc.isAprCrd) {
    tc.acrd.SetFile(tc.aprcrdfile);
    Setting(tc, "APRIORI COORDINATE file!");
  }
}

}  // namespace

void SetFiles(TervanC& tc) {
  if (tc.verbose)
    std::cerr << "Tervan::SetFiles(): SETTING INPUT FILE NAMES AND PROCESSING SETTINGS!"
              << std::endl;
  if (tc.isSDfile) {
    tc.sd.SetFile(tc.sdfile);
    Setting(tc, "SINGLE DIFFERENCES file!");
  }
  if (tc.isGPSnav) {
    tc.gpsnav.SetFile(tc.gnavfile);
    Setting(tc, "GPS NAVIGATION file!");
  }
  if (tc.isGLNnav) {
    tc.glnnav.SetFile(tc.rnavfile);
    Setting(tc, "GLONASS NAVIGATION file!");
  }
  if (tc.isGALnav) {
    // The Galileo object takes the Galileo records (one mixed file may serve all).
    tc.galnav.SetSystem('E');
    tc.galnav.SetFile(tc.enavfile);
    Setting(tc, "GALILEO NAVIGATION file!");
  }
  if (tc.isPEph) {
    tc.pephM.SetFile(tc.sp3file);
    Setting(tc, "MULTI-GNSS PRECISE EPHEMERIS file!");
    // The day's own file first: its values are kept at the shared midnight epochs.
    if (tc.isPEphPrev) {
      tc.pephM.AddFile(tc.sp3prevfile);
      Setting(tc, "PREVIOUS DAY PRECISE EPHEMERIS file!");
    }
    if (tc.isPEphNext) {
      tc.pephM.AddFile(tc.sp3nextfile);
      Setting(tc, "NEXT DAY PRECISE EPHEMERIS file!");
    }
  }
  if (tc.isPclk) {
    tc.pclkM.SetFile(tc.pclkfile);
    Setting(tc, "MULTI-GNSS PRECISE SATELLITE CLOCK file!");
    if (tc.isPclkPrev) {
      tc.pclkM.AddFile(tc.pclkprevfile);
      Setting(tc, "PREVIOUS DAY PRECISE SATELLITE CLOCK file!");
    }
    if (tc.isPclkNext) {
      tc.pclkM.AddFile(tc.pclknextfile);
      Setting(tc, "NEXT DAY PRECISE SATELLITE CLOCK file!");
    }
  }
  if (tc.isGLNfrch) {
    tc.glnfc.SetFile(tc.glnfreqch);
    Setting(tc, "GLONASS FREQUENCY CHANNEL file!");
  }
  if (tc.isPTide) {
    tc.ptide.SetFile(tc.ptidefile);
    Setting(tc, "EARTH ROTATION PARAMETERS file!");
  }
  if (tc.isOTide) {
    tc.otide.SetFile(tc.otidefile);
    Setting(tc, "OCEAN LOADING TIDE file!");
  }
  if (tc.isSCrx) {
    tc.scrx.SetFile(tc.scrxfile);
    Setting(tc, "GPS AND GLONASS SATELLITE PROBLEM file!");
  }
  if (tc.isIonx) {
    tc.ionx.SetFile(tc.ionxfile);
    Setting(tc, "IONEX file!");
  }
  if (tc.isMyion) {
    tc.myion.SetFile(tc.myionfile);
    Setting(tc, "MYIONO file!");
  }
  SetStationFiles(tc);
  if (tc.isTrpModel) {
    tc.trpmodel.SetTropModel(tc.TrpModel);
    tc.trpmodel.SetMappFunction(tc.TrpMappFun);
    const std::string codes =
        "TROPOSPHERE model and mapping function: " + std::to_string(tc.TrpModel) + "/" +
        std::to_string(tc.TrpMappFun);
    Setting(tc, codes.c_str());
  }
  if (tc.isGPT2file) {
    tc.trpmodel.SetFile(tc.gpt2file);
    Setting(tc, "GPT2 TROPOSPHERE MODEL/MAPPING FUNCTION file!");
  }
}

void ReadFiles(TervanC& tc) {
  if (tc.verbose) std::cerr << "Tervan::ReadFiles(): READING INPUT DATA FILES!" << std::endl;
  if (tc.isSDfile) ReadSingleDifferences(tc);
  ReadOrbits(tc);
  if (tc.isPTide) ReadEarthRotation(tc);
  if (tc.isOTide) ReadOceanLoading(tc);
  if (tc.isSCrx) ReadSatelliteProblems(tc);
  if (tc.isKlob) ReadKlobuchar(tc);
  if (tc.isIonx) ReadIonex(tc);
  if (tc.isMyion) ReadMyIono(tc);
  if (tc.isAtx) ReadAntex(tc);
  ReadCodeBiases(tc);
  if (tc.isGPT2file) ReadTroposphereFile(tc);
  CheckSingleDifferences(tc);
}
