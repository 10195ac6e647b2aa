#include "estimation/Tervan_PrintStatic.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>
#include <vector>

#include "core/KotnePretvorbe.h"
#include "core/ProgramOutput.h"
#include "core/ResultFile.h"
#include "estimation/Tervan_FixAmbiguities.h"
#include "estimation/Tervan_ResultTables.h"
#include "estimation/Tervan_StaticResultFiles.h"
#include "gnss/TimeConverse.h"
#include "gnss/g_lg.h"
#include "gnss/xyz_flh.h"

using std::cout;
using std::setw;

namespace {

constexpr long double kLight = 299792458.0L;  // speed of light [m/s]

std::ostream& Fix(std::ostream& os, int ndec) {
  return os << std::fixed << std::setprecision(ndec);
}

// Percentage of part in all; 0 when there is nothing to count.
long double Percent(long part, long all) {
  return all > 0 ? 100.0L * part / all : 0.0L;
}

std::string Dms(long double rad) {
  return dms2dms(rad2dms(rad), 5);
}

void PrintSummary(TervanC& tc) {
  Fix(cout, 2);
  cout << "  # of ITERATIONS : " << setw(10) << tc.IterDone
       << "       THRESHOLD: " << std::scientific << setw(10) << tc.IterThresFin << '\n';
  Fix(cout, 2);
  cout << "  # of EPOCHS     : " << setw(10) << tc.sdd.GetNEpoch() << '\n';
  cout << "  # of OBS        : " << setw(10) << tc.NObs << "    G: " << setw(8) << tc.NObsG
       << "    R: " << setw(8) << tc.NObsR << "    E: " << setw(8) << tc.NObsE << '\n';
  cout << "  # of OUTLIERS   : " << setw(10) << tc.NObsOutl << "    G: " << setw(8) << tc.NObsOutlG
       << "    R: " << setw(8) << tc.NObsOutlR << "    E: " << setw(8) << tc.NObsOutlE << '\n';
  cout << "                    " << setw(10) << Percent(tc.NObsOutl, tc.NObs)
       << "%   G: " << setw(8) << Percent(tc.NObsOutlG, tc.NObsG) << "%   R: " << setw(8)
       << Percent(tc.NObsOutlR, tc.NObsR) << "%   E: " << setw(8) << Percent(tc.NObsOutlE, tc.NObsE)
       << "\n\n";
}

void PrintCount(const char* label, long n) {
  cout << label << setw(10) << n << '\n';
}

void PrintUnknownCounts(TervanC& tc) {
  PrintCount("  # of UNKNOWNS   : ", tc.NUnk);
  PrintCount("  # of CRD        : ", tc.NXcrd);
  PrintCount("  # of SYS DT BIAS: ", tc.nDTsys);
  PrintCount("  # of DBC BIAS   : ", tc.NUnkDCB);
  PrintCount("  # of L1 AMBIG.  : ", tc.nAmbL1 * tc.ifL1);
  PrintCount("  # of L2 AMBIG.  : ", tc.nAmbL2 * tc.ifL2);
  PrintCount("  # of L3 AMBIG.  : ", tc.nAmbL3 * tc.ifL3);
  PrintCount("  # of TRP DELAY B: ", tc.nTropoUnkB);
  PrintCount("  # of TRP DELAY R: ", tc.nTropoUnkR);
  PrintCount("  # of TRP GRD B E: ", tc.nTropoUnkGradEB);
  PrintCount("  # of TRP GRD B N: ", tc.nTropoUnkGradNB);
  PrintCount("  # of TRP GRD R E: ", tc.nTropoUnkGradER);
  PrintCount("  # of TRP GRD R N: ", tc.nTropoUnkGradNR);
  cout << "  # of GNSS C. ERR:[" << setw(10) << tc.NClk << "]\n";
  PrintCount("  # of CONSTRAINTS: ", tc.ndcbConstr);
  PrintCount("  # of UNDEF UNKS : ", tc.NUnkUndef);
  PrintCount("  # of REDUNDANCY : ", Redundancy(tc));
  cout << '\n';
}

void PrintMm(const char* label, long double variance) {
  Fix(cout, 1);
  cout << label << setw(15) << 1000.0L * std::sqrt(variance > 0 ? variance : 0.0L) << " mm\n";
}

void PrintAccuracy(TervanC& tc) {
  PrintMm("  REF. STD. APRIORI                              : ", tc.sig0 * tc.sig0);
  PrintMm("  REF. STD. APOSTERIORI                          : ", S0Squared(tc));
  for (const ObsTypeInfo& t : ProcessedTypes(tc)) PrintMm(t.accuracyLabel, *t.variance);
  const long double s0 = std::sqrt(S0Squared(tc));
  const long double ratio = tc.sig0 > 0 ? s0 / tc.sig0 : 0.0L;
  Fix(cout, 2);
  cout << "  REFERENCE VARIANCE OF UNIT WEIGHT [GLOBAL TEST]: " << setw(15) << ratio * ratio
       << "         [SQRT]" << setw(10) << ratio << "\n\n";
}

void PrintBase(TervanC& tc) {
  ProgramSubSubSubTitle("ECEF COORDINATES:", 2);
  ProgramSubSubSubTitle("BASE RECEIVER COORDINATES:", 2);
  cout << "    BASE STATION: " << tc.sdh.GetMarkerName(0) << '\n';
  PrintChar('-', 45, 4);
  const xyz& p = tc.RecPos0_BASE;
  const flh& g = tc.RecPos0G_BASE;
  Fix(cout, 4);
  cout << "    X: " << setw(16) << p.GetX() << "      N: " << setw(17) << Dms(g.GetF()) << '\n';
  cout << "    Y: " << setw(16) << p.GetY() << "      E: " << setw(17) << Dms(g.GetL()) << '\n';
  cout << "    Z: " << setw(16) << p.GetZ() << "      U: " << setw(17) << g.GetH() << '\n';
  PrintChar('-', 45, 4);
  cout << '\n';
}

void PrintBaseline(TervanC& tc, const StaticDerived& d) {
  ProgramSubSubSubTitle("BASE-ROVER BASELINE COMPONENTS:", 2);
  Fix(cout, 4);
  cout << "    Estimated baseline length: " << setw(14) << d.blength << " m  +-  ";
  Fix(cout, 2);
  cout << setw(6) << 1000.0L * d.blengthSigma << " mm\n\n";
  cout << setw(20) << "Approximate" << setw(12) << "Correction" << setw(13) << "Estimated"
       << setw(12) << "Precision" << setw(34) << "Correction" << setw(12) << "Precision" << '\n';
  cout << setw(20) << "[m]" << setw(12) << "[mm]" << setw(13) << "[m]" << setw(12) << "[mm]"
       << setw(34) << "[mm]" << setw(12) << "[mm]" << '\n';
  PrintChar('-', 99, 4);
  const char* lab[3] = {"    DX:", "    DY:", "    DZ:"};
  const char* labG[3] = {"    DN: [", "    DE: [", "    DU: ["};
  for (int k = 0; k < 3; ++k) {
    Fix(cout, 4) << lab[k] << setw(13) << Comp(tc.Delta_RecPos0, k);
    Fix(cout, 2) << setw(12) << 1000.0L * Comp(tc.RecPosCorr, k);
    Fix(cout, 4) << setw(13) << Comp(tc.Delta_RecPosEst, k);
    Fix(cout, 2) << setw(12) << 1000.0L * Precision(tc, k);
    Fix(cout, 4) << labG[k] << setw(12) << Comp(d.baselineNEU, k) << ']';
    Fix(cout, 2) << setw(12) << 1000.0L * Comp(tc.RecPosCorrG, k) << setw(12)
                 << 1000.0L * d.sigmaNEU[k] << '\n';
  }
  PrintChar('-', 99, 4);
  cout << '\n';
}

void PrintRoverEcef(TervanC& tc) {
  ProgramSubSubSubTitle("ROVER ECEF COORDINATES:", 2);
  cout << setw(23) << "Approximate" << setw(12) << "Correction" << setw(16) << "Estimated"
       << setw(12) << "Precision" << '\n';
  cout << setw(23) << "[m]" << setw(12) << "[mm]" << setw(16) << "[m]" << setw(12) << "[mm]"
       << '\n';
  PrintChar('-', 59, 4);
  const char* lab[3] = {"    X: ", "    Y: ", "    Z: "};
  for (int k = 0; k < 3; ++k) {
    Fix(cout, 4) << lab[k] << setw(16) << Comp(tc.RecPos0_ROVER, k);
    Fix(cout, 2) << setw(12) << 1000.0L * Comp(tc.RecPosCorr, k);
    Fix(cout, 4) << setw(16) << Comp(tc.RecPosEst, k);
    Fix(cout, 2) << setw(12) << 1000.0L * Precision(tc, k) << '\n';
  }
  PrintChar('-', 59, 4);
  cout << '\n';
}

void PrintRoverGeodetic(TervanC& tc, const StaticDerived& d) {
  ProgramSubSubSubTitle("ROVER GEODETIC COORDINATES:", 2);
  cout << setw(24) << "Approximate" << setw(12) << "Correction" << setw(20) << "Estimated"
       << setw(12) << "Precision" << '\n';
  cout << setw(24) << "[dms/m]" << setw(12) << "[mm]" << setw(20) << "[dms/m]" << setw(12) << "[mm]"
       << '\n';
  PrintChar('-', 64, 4);
  const flh& a = tc.RecPos0G_ROVER;
  const flh& e = tc.RecPosEstG;
  Fix(cout, 2);
  cout << "    N: " << setw(17) << Dms(a.GetF()) << setw(12) << 1000.0L * tc.RecPosCorrG.GetN()
       << setw(20) << Dms(e.GetF()) << setw(12) << 1000.0L * d.sigmaNEU[0] << '\n';
  cout << "    E: " << setw(17) << Dms(a.GetL()) << setw(12) << 1000.0L * tc.RecPosCorrG.GetE()
       << setw(20) << Dms(e.GetL()) << setw(12) << 1000.0L * d.sigmaNEU[1] << '\n';
  Fix(cout, 4) << "    U: " << setw(17) << a.GetH();
  Fix(cout, 2) << setw(12) << 1000.0L * tc.RecPosCorrG.GetU();
  Fix(cout, 4) << setw(20) << e.GetH();
  Fix(cout, 2) << setw(12) << 1000.0L * d.sigmaNEU[2] << '\n';
  PrintChar('-', 64, 4);
  cout << '\n';
}

void PrintSystemOffset(TervanC& tc, const char* label, int sys) {
  const long double v = tc.dtGNSS[sys];
  const long double s = Precision(tc, tc.ixDTsys[sys]);
  Fix(cout, 4) << label << setw(12) << v << " +- " << setw(10) << s << " m";
  Fix(cout, 6) << "   [" << setw(12) << v / kLight * 1e6L << " +- " << setw(10) << s / kLight * 1e6L
               << " mics]\n";
}

void PrintSystemOffsets(TervanC& tc) {
  if (tc.nDTsys <= 0) return;
  ProgramSubSubSubTitle("GNSS INTER-SYSTEM CLOCK BIASES:", 2);
  if (tc.ixDTsys[1] >= 0) PrintSystemOffset(tc, "    GPS-GLN: ", 1);
  if (tc.ixDTsys[2] >= 0)
    PrintSystemOffset(tc, tc.ixDTsys[1] >= 0 || tc.isGPS ? "    GPS-GAL: " : "    GLN-GAL: ", 2);
  cout << '\n';
}

void PrintCodeBiases(TervanC& tc) {
  const std::vector<DcbTypeInfo> types = ActiveDcbTypes(tc);
  if (types.empty()) return;
  ProgramSubSubSubTitle("GNSS SATELLITE/RECEIVER DIFFERENTIAL CODE BIASES:", 2);
  cout << "    DCBs: ";
  for (const DcbTypeInfo& t : types) cout << t.countLabel << setw(3) << *t.count;
  cout << '\n' << "    PRN";
  for (const DcbTypeInfo& t : types) cout << setw(20) << t.header;
  cout << '\n';
  auto rule = [&] {
    cout << "    ---";
    for (size_t k = 0; k < types.size(); ++k) PrintCharNoEndl('-', 20);
    cout << '\n';
  };
  rule();
  for (long k = 0; k < tc.sdd.GetNSat(); ++k) {
    if (!HasCodeBias(tc, types, k)) continue;
    cout << "    " << SatLabel(tc.sdd.GetSat(k)) << CodeBiasPairs(tc, types, k) << '\n';
  }
  rule();
  cout << "   ADCB";
  for (const DcbTypeInfo& t : types)
    Fix(cout, 4) << t.meanLabel << setw(10) << MeanCodeBiasPrecision(tc, t);
  cout << "\n\n";
}

void PrintTropoHead(const char* title, const char* name) {
  cout << title << name << '\n';
  cout << "    Parameter type: continuous piece-wise linear function\n    Units: meters\n\n";
}

void PrintZenithTable(TervanC& tc, const StationTropo& st) {
  PrintTropoHead("  ZENITH TROPOSPHERE DELAYS - STATION ", st.name);
  cout << "    ID              TROPO_EPOCH    DRY[MOD]  WET[EST]     TOTAL   PRECISION\n";
  PrintChar('-', 72, 3);
  for (long p = 0; p < st.zenith.n; ++p) {
    cout << setw(6) << p + 1 << "     " << mjd2ymdhms(tc.TropoEpoch(p));
    const long ix = (*st.zenith.index)(p);
    if (!IsDefined(tc, ix)) {
      cout << setw(34) << " **** UNDETERMINED ****" << '\n';
      continue;
    }
    const long double dry = DryZenithDelay(tc, st, tc.TropoEpoch(p));
    const long double wet = (*st.zenith.value)(p);
    Fix(cout, 4) << setw(12) << dry << setw(10) << wet << setw(10) << dry + wet << " +- " << setw(8)
                 << Precision(tc, ix) << '\n';
  }
  PrintChar('-', 72, 3);
  cout << '\n';
}

void PrintGradientValue(TervanC& tc, const TropoSeries& s, long p, int width) {
  const long ix = (*s.index)(p);
  if (!IsDefined(tc, ix)) {
    cout << setw(27) << " **** UNDETERMINED ****";
    return;
  }
  Fix(cout, 4) << setw(width) << (*s.value)(p) << " +- " << setw(8) << Precision(tc, ix);
}

void PrintGradientTable(TervanC& tc, const StationTropo& st) {
  PrintTropoHead("  TROPOSPHERE EAST AND NORTH GRADIENTS - STATION ", st.name);
  cout << "    ID         TROPO_GRAD_EPOCH          E-W GRAD   PRECISION       S-N GRAD   "
          "PRECISION\n";
  PrintChar('-', 85, 3);
  for (long p = 0; p < st.east.n; ++p) {
    cout << setw(6) << p + 1 << " " << mjd2ymdhms(tc.TropoGradEpoch(p));
    PrintGradientValue(tc, st.east, p, 18);
    PrintGradientValue(tc, st.north, p, 15);
    cout << '\n';
  }
  PrintChar('-', 85, 3);
  cout << "\n\n";
}

void PrintTroposphere(TervanC& tc) {
  if (!tc.ifEstTropo) return;
  for (const StationTropo& st : EstimatedStations(tc)) {
    ProgramSubSubSubTitle(st.title, 2);
    PrintZenithTable(tc, st);
    if (st.east.n > 0) PrintGradientTable(tc, st);
  }
}

void PrintAmbiguityRow(TervanC& tc, long k, const std::vector<AmbTypeInfo>& types) {
  const short prn = tc.AmbSat(k);
  ymdhmsns::NDecSecond = 0;
  cout << setw(6) << k + 1 << setw(6) << SatLetter(prn) << setw(2) << prn % 100 << "   "
       << mjd2ymdhms(tc.sdd.GetMJD(tc.AmbIndex(k, 0))) << "   "
       << mjd2ymdhms(tc.sdd.GetMJD(tc.AmbIndex(k, 2)));
  for (const AmbTypeInfo& t : types) {
    const long ix = AmbUnknown(t, k);
    if (IsDefined(tc, ix)) {
      const long double lam = AmbUnit(t, prn);
      Fix(cout, 4) << setw(20) << (*t.value)(k) / lam << " +- " << setw(10)
                   << Precision(tc, ix) / lam;
    } else {
      cout << setw(34) << " **** UNDETERMINED ****";
    }
    cout << setw(15) << tc.AmbIndex(k, 3);
  }
  cout << '\n';
}

void PrintAmbiguities(TervanC& tc) {
  const std::vector<AmbTypeInfo> types = ProcessedAmbTypes(tc);
  if (types.empty()) return;
  ProgramSubSubSubTitle("PHASE AMBIGUITIES (REAL VALUES):", 2);
  cout << "    Number of all ambiguities: \n";
  for (const AmbTypeInfo& t : types)
    cout << "    " << t.name << " ambiguities: " << setw(7) << t.count << "      Corrected "
         << t.name << " ambiguities: " << setw(7) << t.corrected << '\n';
  cout << "\n    ID     PRN        START_EPOCH              END_EPOCH    ";
  for (const AmbTypeInfo& t : types) cout << t.header;
  cout << '\n';
  PrintChar('-', 57 + 49 * static_cast<int>(types.size()), 3);
  const long n = types.front().count;
  for (long k = 0; k < n; ++k) {
    if (k > 0 && tc.AmbSat(k) != tc.AmbSat(k - 1)) cout << '\n';
    PrintAmbiguityRow(tc, k, types);
  }
  PrintChar('-', 57 + 49 * static_cast<int>(types.size()), 3);
  cout << "                                AVERAGE AMBIGUITY PRECISION:";
  for (size_t i = 0; i < types.size(); ++i)
    Fix(cout, 4) << setw(i == 0 ? 34 : 49) << MeanAmbPrecision(tc, types[i]);
  cout << "\n\n";
}

}  // namespace

void PrintStatic(TervanC& tc) {
  PrintSettingsGuard keep;
  if (!tc.ifEstSta || !HasStaticSolution(tc)) {
    WriteSkyPlotFile(tc);
    return;
  }
  if (tc.verbose) std::cerr << "Tervan::PrintStatic(): PRINTING STATIC SOLUTION!\n";
  mjdns::NDecSecond = 1;
  ymdhmsns::NDecSecond = 0;
  ProgramSubSubTitle("STATIC SOLUTION:", 0);
  const StaticDerived d = DeriveStatic(tc);
  PrintSummary(tc);
  PrintUnknownCounts(tc);
  PrintAccuracy(tc);
  PrintBase(tc);
  PrintBaseline(tc, d);
  PrintRoverEcef(tc);
  PrintRoverGeodetic(tc, d);
  PrintSystemOffsets(tc);
  PrintCodeBiases(tc);
  PrintTroposphere(tc);
  PrintAmbiguities(tc);
  PrintFixedSolution(tc);
  cout.flush();
  WriteStaticFiles(tc, d);
  WriteSkyPlotFile(tc);
}
