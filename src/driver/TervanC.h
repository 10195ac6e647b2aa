// Run context: one object holds the whole state of a run. main builds it, the
// option parser fills the settings, and every stage of the pipeline reads what the
// earlier stages left here and stores its own results here.
//
// Units: angles in radians inside the context (degrees only for MinElevation, as
// given on the command line), time intervals in seconds, lengths and sigmas in metres.
#ifndef TERVAN_DRIVER_TERVANC_H
#define TERVAN_DRIVER_TERVANC_H

#include <fstream>
#include <memory>
#include <string>

#include "atmosphere/IONEX.h"
#include "atmosphere/IONEXData.h"
#include "atmosphere/IONEXHeader.h"
#include "atmosphere/IonKlobuchar.h"
#include "atmosphere/gTropDelay.h"
#include "atmosphere/gTropModel.h"
#include "atmosphere/myIono.h"
#include "core/ParseArgument.h"
#include "core/matrix.h"
#include "gnss/elipsoid.h"
#include "gnss/flh.h"
#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"
#include "orbits/EmissionState.h"
#include "orbits/GLNSat.h"
#include "orbits/GLNbEph.h"
#include "orbits/GNSSpClk.h"
#include "orbits/GNSSpEph.h"
#include "orbits/GPSbEph.h"
#include "orbits/LuniSolarPosition.h"
#include "sdiff/AmbLookup.h"
#include "sdiff/PhsDiff.h"
#include "sdiff/PhsDiffData.h"
#include "sdiff/PhsDiffHeader.h"
#include "sdiff/SatCRX.h"
#include "station/DCB.h"
#include "station/OceanTideLoading.h"
#include "station/PoleTide.h"
#include "station/RecCodeTrack.h"
#include "station/SolidEarthTide.h"
#include "station/antex.h"
#include "station/gCRD.h"
#include "station/myDCB.h"

class TervanC {
  // Inputs of its own, for a context built without them (tests, tools).
  struct OwnInputs;
  std::unique_ptr<OwnInputs> own_;

 public:
  // On the single-difference header, data and reader and the IONEX header, maps and
  // reader owned by main.
  TervanC(PhsDiffHeader& h, PhsDiffData& d, PhsDiff& r, IONEXHeader& ih, IONEXData& id, IONEX& ix);
  // On empty single-difference and IONEX objects of its own.
  TervanC();
  ~TervanC();
  TervanC(const TervanC&) = delete;
  TervanC& operator=(const TervanC&) = delete;

  // Verbose mode: opening line of the run on standard error.
  void StartProg();
  // Verbose mode: closing line of the run on standard error.
  void EndProg();

  bool GetRunProg() const { return RunProg; }
  bool GetVerbose() const { return verbose; }
  bool GetIsSCRX() const { return isSCrx; }
  SatCRX* GetSatCRX() { return &scrx; }
  bool GetNOutl() const { return NObsOutl != 0; }
  bool GetIsMP1() const { return isMP1; }
  bool GetIsMP2() const { return isMP2; }
  bool GetIsMyDBC() const { return isMyDCB; }
  bool GetIsGPS() const { return isGPS; }
  bool GetIsGLN() const { return isGLN; }
  bool GetIsGAL() const { return isGAL; }

  // --- 1. Input references: single-difference header, data and reader (sdh, sdd, sd). ---
  PhsDiffHeader& sdh;
  PhsDiffData& sdd;
  PhsDiff& sd;

  // --- 2. Model and reader objects, filled while the inputs are loaded: gpsnav, glnnav,
  // galnav, pephM, scrx, pclkM, the IONEX references ionxh, ionxd, ionx, then ionk, myion,
  // trpmodel, trpdelay, atx, p1p2, p1c1, p2c2, mydcb, rctrack, lsp, nset, ptide, otide,
  // acrd, glnfc, then the reference ellipsoids. ---
  GPSbEph gpsnav;      // GPS broadcast orbits
  GLNbEph glnnav;      // GLONASS broadcast orbits
  GPSbEph galnav;      // Galileo broadcast orbits (Galileo records, set by SetFiles)
  GNSSpEph pephM;      // multi-GNSS precise orbits
  SatCRX scrx;         // problem satellites
  GNSSpClk pclkM;      // multi-GNSS precise satellite clocks
  IONEXHeader& ionxh;  // IONEX header, maps and reader (owned by main)
  IONEXData& ionxd;
  IONEX& ionx;
  IonKlobuchar ionk;       // Klobuchar coefficients of a GPS navigation header
  myIono myion;            // ionosphere delays estimated by Lustra
  gTropModel trpmodel;     // troposphere model and mapping function of the run
  gTropDelay trpdelay;     // troposphere delay of the current observation
  antex atx;               // antenna calibrations
  DCB p1p2, p1c1, p2c2;    // monthly satellite code biases
  myDCB mydcb;             // code biases estimated by Lustra
  RecCodeTrack rctrack;    // receiver code-tracking classes
  LuniSolarPosition lsp;   // Sun and Moon
  SolidEarthTide nset;     // solid earth tide
  PoleTide ptide;          // pole tide from the Earth rotation parameters
  OceanTideLoading otide;  // ocean tide loading coefficients
  gCRD acrd;               // a-priori station coordinates
  GLNSat glnfc;            // GLONASS frequency channels
  elipsoid eGPS, eGLN, eGAL;

  // --- 3. File names (NUL-terminated, empty when not given). ---
  char sdfile[FileNameSize]{};
  char clkFName[FileNameSize]{};
  char gnavfile[FileNameSize]{};
  char rnavfile[FileNameSize]{};
  char enavfile[FileNameSize]{};
  char sp3file[FileNameSize]{};
  char scrxfile[FileNameSize]{};
  char pclkfile[FileNameSize]{};
  char gpt2file[FileNameSize]{};
  char ionxfile[FileNameSize]{};
  char ionkfile[FileNameSize]{};
  char myionfile[FileNameSize]{};
  char dcbp1p2file[FileNameSize]{};
  char dcbp1c1file[FileNameSize]{};
  char dcbp2c2file[FileNameSize]{};
  char mydbcfile[FileNameSize]{};
  char mp1file[FileNameSize]{};
  char mp2file[FileNameSize]{};
  char atxfile[FileNameSize]{};
  char rctrackfile[FileNameSize]{};
  char aprcrdfile[FileNameSize]{};
  char glnfreqch[FileNameSize]{};
  char ptidefile[FileNameSize]{};
  char otidefile[FileNameSize]{};
  char clkfile[FileNameSize]{};
  char resfile[FileNameSize]{};
  char estdcbfile[FileNameSize]{};
  char esttropfile[FileNameSize]{};
  char esttropephfile[FileNameSize]{};
  char skyplotfile[FileNameSize]{};
  char CoutFile[FileNameSize]{};
  char CerrFile[FileNameSize]{};
  bool isCoutFile{};
  bool isCerrFile{};
  char gnuplotKin[FileNameSize]{};
  char gnuplotStat[FileNameSize]{};

  // --- 4. Output streams of the kinematic and static GNUPlot result files. ---
  std::fstream gplotKin;
  std::fstream gplotStat;

  // --- 5. Switches. ---
  bool verbose{};
  bool iCout{};
  // presence of each input
  bool isSDfile{}, isClkErr{}, isGLNnav{}, isGPSnav{}, isGALnav{}, isPEph{}, isSCrx{}, isPclk{},
      isGPT2file{};
  bool isIonx{}, isKlob{}, isMyion{}, isAtx{}, isP1P2{}, isP1C1{}, isP2C2{}, isMyDCB{}, isMP1{},
      isMP2{};
  bool isRCodTrc{}, isTrpModel{}, isAprCrd{}, isGLNfrch{}, isPTide{}, isOTide{};
  // models
  bool isPhaseWindUp{}, isEcclipsing{};
  // outputs
  bool isClkFile{}, isresfile{};
  // satellite systems processed
  bool isGPS{}, isGLN{}, isGAL{};
  // satellite code-bias estimation per system
  bool isGPSxdcb{}, isGLNxdcb{}, isGALxdcb{};
  // troposphere estimation
  bool ifEstTropo{}, ifEstTropoGrad{}, ifEstTropoB{}, ifEstTropoR{}, ifEstTropoGradB{},
      ifEstTropoGradR{};
  bool ifTropoSigma{};
  // result files
  bool isOutDCBFile{}, isOutTropFile{}, isOutTropEphFile{};
  bool isGRTDiff{}, isSkyPlot{}, isHelp{}, RunProg{};

  // --- 6. Model selectors. ---
  short obsP{};  // observation weighting: 1 = cos(z) model, 0 = none
  short GRTDiff{};
  short TrpModel{};    // troposphere zenith delay model code, -1 = none
  short TrpMappFun{};  // troposphere mapping function code, -1 = none
  int IonexUnit{}, IonexProc{}, IonexTECV{};

  // --- 7. Observation selection and estimation type. ---
  bool ifC1{}, ifP1{}, ifP2{}, ifPc3{}, ifPp3{}, ifL3{}, ifL1{}, ifL2{}, ifEstKin{}, ifEstSta{};

  // --- 8. Limits and thresholds. ---
  double MinElevation{};  // elevation cut-off, degrees
  bool isMinElev{};
  long double ThresBlunder{};  // limit of the standardised residual
  long double MaxfDiff{};      // largest misclosure accepted, metres
  bool isThresBlunder{}, isMaxfDiff{};
  // Coordinate part of the design row of every observation record (3 columns), left
  // by the static solution; the other slots are formed again where needed.
  matrix<long double> mB;
  bool isSolidTide{}, isGNUPlotKin{}, isGNUPlotStat{};
  long MinObs{};
  short RecCodeTrackType{};

  // --- 9. Observation sigmas (metres) and weights. ---
  long double sig0{}, sigC{}, sigP{};
  long double sigPc3G{}, sigPc3R{}, sigPc3E{}, sigPp3G{}, sigPp3R{}, sigPp3E{};
  long double sigL1{}, sigL3G{}, sigL3R{}, sigL3E{};
  long double p0C{}, p0P{}, p0Pc3G{}, p0Pc3R{}, p0Pc3E{}, p0Pp3G{}, p0Pp3R{}, p0Pp3E{};
  long double p0L1{}, p0L3G{}, p0L3R{}, p0L3E{};

  // --- 10. Satellite code-bias unknowns. ---
  matrix<long double> dcbC1, dcbP1, dcbP2, dcbPc3, dcbPp3;
  matrix<long> ixdcbC1, ixdcbP1, ixdcbP2, ixdcbPc3, ixdcbPp3;
  long ndcbC1{}, ndcbP1{}, ndcbP2{}, ndcbPc3{}, ndcbPp3{}, ndcbConstr{};
  bool isdcbC1{}, isdcbP1{}, isdcbP2{}, isdcbPc3{}, isdcbPp3{}, isDCB_Gc{}, isDCB_Rc{}, isDCB_Ec{};

  // --- 11. Troposphere unknowns (intervals in seconds, sigma in metres). ---
  long double TropoInterval{}, TropoShift{}, TropoGradInterval{}, TropoSigma{};
  matrix<mjd> TropoEpoch, TropoGradEpoch;
  matrix<long double> xTropoB, xTropoR, xTropoGradNB, xTropoGradEB, xTropoGradNR, xTropoGradER;
  matrix<long> ixTropoB, ixTropoR, ixTropoGradNB, ixTropoGradEB, ixTropoGradNR, ixTropoGradER;
  long nTropoUnkB{}, nTropoUnkR{}, nTropoGradInt{}, nTropoUnkGradB{}, nTropoUnkGradNB{},
      nTropoUnkGradEB{};
  long nTropoUnkGradR{}, nTropoUnkGradNR{}, nTropoUnkGradER{};

  // --- 12. Ambiguities (thresholds in metres, gaps in seconds). ---
  bool CorrAmbig{};
  long MinObsAmb{}, nAmbL1{}, nAmbL2{}, nAmbL3{}, nAmbCorrL1{}, nAmbCorrL2{}, nAmbCorrL3{};
  long double ThresL40{}, dThresL4{}, MWRMSThres{}, MaxAmbTimeGap{};
  matrix<long double> xAmbL1, xAmbL2, xAmbL3;
  matrix<long> AmbIndex, ixAmbL1, ixAmbL2, ixAmbL3;
  matrix<short> AmbSat;

  // --- 13. Per-observation model values: one row per observation record, column 0
  // for the BASE and 1 for the ROVER (MFGRAD: BASE north, BASE east, ROVER north,
  // ROVER east; WGHT and OKSAT: one column).
  matrix<long double> TROP, MFTROP, ION, SETIDE, PTIDE, OTIDE, ELV, AZM, REL2, SAT_DIST;
  matrix<long double> MFGRAD, WGHT;
  matrix<bool> OKSAT;
  matrix<xyzt> SAT_POS;  // satellite position and clock seen from BASE and ROVER

  // --- 14. Eclipsing satellites. ---
  long double satEclipsThres{};  // eclipsing angle threshold, radians
  matrix<short> EclipsSat;
  matrix<long> EclipsNObs;
  long NEclipsSat{};
  matrix<xyz> posSunUnit;      // Sun unit vector per epoch
  matrix<long double> SunMag;  // Sun distance per epoch, metres

  // --- 15. Station positions (ECEF metres, geodetic radians and metres, local metres). ---
  xyz RecPosFC_BASE, RecPosFC_ROVER, Delta_RecPosFC;
  flh RecPosFCG_BASE, RecPosFCG_ROVER;
  xyz RecPos0_BASE, RecPos0_ROVER, Delta_RecPos0;
  flh RecPos0G_BASE, RecPos0G_ROVER;
  xyz RecPosEcc_BASE, RecPosEcc_ROVER;
  neu RecPosEccLG_BASE, RecPosEccLG_ROVER;
  xyz RecPosCorr;
  neu RecPosCorrG;
  xyz RecPosEst, Delta_RecPosEst;
  flh RecPosEstG;
  xyz RecPosUnit_BASE, RecPosUnit_ROVER;
  long double RecMag_BASE{}, RecMag_ROVER{};

  // --- 16. Unknown layout and normal equations. ---
  long ixX{}, ixY{}, ixZ{};
  long ixDTsys[3]{};
  long nDTsys{};
  matrix<long double> NFin, Nc, Nt, Nall, NtR, tc, tt, tall, tcR, ttR, QxxAll, xAll, dtAll, QdtAll;
  long double dtGNSS[3]{};
  matrix<long double> Bmat;

  // --- 17. Misclosures and outlier flags (C1, P1, P2, Pc3, Pp3, L3, L2, L1). ---
  matrix<long double> fc1, fp1, fp2, fc3, fp3, fl3, fl2, fl1;
  matrix<bool> ifOc1, ifOp1, ifOp2, ifOc3, ifOp3, ifOl3, ifOl2, ifOl1;
  matrix<bool> ifXc1, ifXp1, ifXp2, ifXc3, ifXp3, ifXl3, ifXl2, ifXl1;
  matrix<long double> xtemp, dttempG, dttempR;
  matrix<bool> IsUnkOK;

  // --- 18. Statistics. ---
  long double vtPv{}, s0apost{}, s0apost_C1{}, s0apost_P1{}, s0apost_P2{}, s0apost_Pc3{},
      s0apost_Pp3{};
  long double s0apost_L3{}, s0apost_L2{}, s0apost_L1{};
  long NObs{}, NObsOutl{}, NObsOutlPh{}, NObsOutlCd{}, NObsG{}, NObsR{}, NObsE{};
  long NObsOutlG{}, NObsOutlR{}, NObsOutlE{}, NObsOutlGPh{}, NObsOutlRPh{}, NObsOutlEPh{};
  long NObsOutlGCd{}, NObsOutlRCd{}, NObsOutlECd{};
  long NXcrd{}, NUnkDCB{}, NUnk{}, NClk{}, NUnkUndef{};

  // --- 19. Iteration control. ---
  int MaxIter{}, IterDone{};
  double IterThres{}, IterThresFin{};

  // --- Ambiguity search index: rebuilt by SetAmbiguities and ConAmbiguities from
  // AmbIndex/AmbSat whenever the list changes; GetAmbIndex(tc, prn, ieph) uses it. ---
  AmbLookup AmbFind;

  // --- 20. Precise orbit and clock files of the previous and the next day (options
  // -bp, -np, -bc, -nc; joined with the -ep and -ec files when they are read). ---
  char sp3prevfile[FileNameSize]{}, sp3nextfile[FileNameSize]{};
  char pclkprevfile[FileNameSize]{}, pclknextfile[FileNameSize]{};
  bool isPEphPrev{}, isPEphNext{}, isPclkPrev{}, isPclkNext{};

  // --- 21. Integer ambiguity resolution (options -af and -ar; FixAmbiguities fills
  // the results, the static report and result files and ProcKinematic read them). ---
  bool isFixAmb{};                  // resolve the ambiguities after the static solution
  long double AmbRatioThres{3.0L};  // smallest ratio second-best/best accepted
  bool isAmbFixed{};                // a fixed solution exists
  long nAmbDD{}, nAmbDDFixed{};     // double differences formed; integers fixed
  long double AmbRatio{};           // ratio of the accepted (or last tried) search
  std::string AmbFixNote;           // how the ambiguities were fixed, or why not
  matrix<long double> xFixCorr;     // fixed minus float estimate of every unknown

  // --- 22. Kinematic track (option -kf): the float parameters of the static solution
  // adjusted again together with the epoch positions and clocks (ProcKinematic). ---
  bool isKinFloat{};
  matrix<long double> QcrdFix;      // cofactors of the fixed ROVER coordinates (3 x 3)
  long double s0apostFix{};         // a-posteriori variance of the fixed solution [m^2]
  long RedundancyFix{};             // redundancy of the fixed solution
  xyz Delta_RecPosFix;              // fixed baseline BASE->ROVER [m]

  // --- 23. Signal travel times from the precise orbits, one row per observation
  // record, column 0 BASE and 1 ROVER [s, negative; 0 where none was solved]: filled
  // by ApplyCorrections, the ROVER's updated by ProcStatic, whose light-time
  // solutions start from them. ---
  matrix<long double> TravelTime;
  // The satellite states at the emission epochs of those solutions, laid out as
  // TravelTime: a solution that ends at a kept epoch takes the state instead of
  // interpolating the orbit again. Kept for days of up to KeepEmissionRecords
  // records (144 bytes per station and record), empty otherwise.
  static constexpr long KeepEmissionRecords = 1000000;
  matrix<EmissionState> Emissions;

 private:
  void SetDefaults();
};

#endif
