#include "estimation/Tervan_StaticResultFiles.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <string>

#include "core/KotnePretvorbe.h"
#include "core/ProgramOutput.h"
#include "core/ResultFile.h"
#include "gnss/TimeConverse.h"

using std::setw;

namespace {

constexpr long double kLight = 299792458.0L;  // speed of light [m/s]

// Marker name as one plottable column (blanks become "_", an empty name "-").
std::string Column(const char* name) {
  std::string s(name);
  while (!s.empty() && s.back() == ' ') s.pop_back();
  for (char& c : s)
    if (c == ' ') c = '_';
  return s.empty() ? "-" : s;
}

// Decimal MJD with the calendar date and time of an epoch, for plotting.
void WriteEpochColumns(std::ostream& os, const mjd& t) {
  ymdhmsns::NDecSecond = 0;
  os << std::fixed << std::setprecision(8) << setw(15) << t.GetMJDDec() << mjd2ymdhms(t);
}

// One solution's line: s0^2 [m^2], baseline [m], cofactors of the ROVER coordinates.
void WriteGnuplotLine(std::ostream& os, TervanC& tc, const StaticDerived& d, long double s02,
                      const xyz& baseline, const matrix<long double>& Q) {
  if (s02 < 1e-10L) os << '#';
  mjdns::NDecSecond = 1;
  os << d.refEpoch << setw(10) << tc.sdd.GetNEpoch() << setw(10) << tc.NObs << setw(8) << tc.NObsG
     << setw(8) << tc.NObsR << setw(8) << tc.NObsE << setw(10) << tc.NObsOutl << setw(8)
     << tc.NObsOutlG << setw(8) << tc.NObsOutlR << setw(8) << tc.NObsOutlE;
  const long double gtest = tc.sig0 > 0 ? s02 / (tc.sig0 * tc.sig0) : 0.0L;
  os << std::fixed << std::setprecision(6) << setw(10) << std::sqrt(s02) << std::setprecision(4)
     << setw(10) << gtest;
  xyzns::Width = 16;
  xyzns::NDec = 4;
  os << baseline << std::setprecision(15);
  const int qi[6][2] = {{0, 0}, {1, 1}, {2, 2}, {0, 1}, {0, 2}, {1, 2}};
  for (const auto& ij : qi) os << setw(22) << (Q.NRow() > 2 ? Q(ij[0], ij[1]) : 0.0L);
  os << "   " << tc.sdh.GetMarkerName(0) << "   " << tc.sdh.GetMarkerName(1);
}

void WriteGnuplotStatic(TervanC& tc, const StaticDerived& d) {
  if (!tc.isGNUPlotStat) return;
  if (tc.verbose) std::cerr << "Tervan::PrintStatic():         Printing STATIC COORDINATES!\n";
  ResultFile f(tc.gnuplotStat);
  std::ostream& os = f.Stream();
  os << "#   EPOCH[MJD]      NEPH      NOBS    #GPS    #GLN    #GAL NOUTLIERS   #OGPS   #OGLN   "
        "#OGAL        S0     GTEST               X               Y               Z";
  for (const char* q : {"Q11", "Q22", "Q33", "Q12", "Q13", "Q23"}) os << setw(22) << q;
  os << "   MARKER NAME\n";
  WriteGnuplotLine(os, tc, d, S0Squared(tc), tc.Delta_RecPosEst, tc.QxxAll);
  os << '\n';
  // The fixed solution follows the float one, marked at the end of its line.
  if (tc.isAmbFixed) {
    WriteGnuplotLine(os, tc, d, tc.s0apostFix, tc.Delta_RecPosFix, tc.QcrdFix);
    os << "   FIXED\n";
  }
  f.Commit();
}

void WriteCodeBiasFile(TervanC& tc) {
  if (!tc.isOutDCBFile) return;
  const std::vector<DcbTypeInfo> types = ActiveDcbTypes(tc);
  ResultFile f(tc.estdcbfile);
  std::ostream& os = f.Stream();
  os << std::fixed << "# DCBs: ";
  for (const DcbTypeInfo& t : types) os << t.fileLabel;
  os << "\n##DCBs: " << tc.NUnkDCB << '\n';
  for (long k = 0; k < tc.sdd.GetNSat(); ++k) {
    if (!HasCodeBias(tc, types, k)) continue;
    os << tc.sdh.GetMarkerName(0) << "   " << SatLabel(tc.sdd.GetSat(k))
       << CodeBiasPairs(tc, types, k) << '\n';
  }
  f.Commit();
}

void WriteTropoFile(TervanC& tc) {
  if (!tc.isOutTropFile) return;
  ResultFile f(tc.esttropfile);
  std::ostream& os = f.Stream();
  os << "# GNSS-STATION         TROPOSPHERE_EPOCH       DRY[MOD]  WET[EST]     TOTAL   PRECISION\n";
  PrintChar('-', 86, os << '#');
  ymdhmsns::NDecSecond = 0;
  for (const StationTropo& st : EstimatedStations(tc)) {
    for (long p = 0; p < st.zenith.n; ++p) {
      const long ix = (*st.zenith.index)(p);
      if (!IsDefined(tc, ix)) continue;
      const long double dry = DryZenithDelay(tc, st, tc.TropoEpoch(p));
      const long double wet = (*st.zenith.value)(p);
      os << std::left << setw(20) << st.name << std::right << mjd2ymdhms(tc.TropoEpoch(p))
         << std::fixed << std::setprecision(4) << setw(15) << dry << setw(10) << wet << setw(10)
         << dry + wet << " +- " << setw(8) << Precision(tc, ix) << '\n';
    }
  }
  f.Commit();
}

void WriteClockFile(TervanC& tc) {
  if (!tc.isClkFile) return;
  if (tc.verbose)
    std::cerr
        << "Tervan::ProcStatic(): WRITING DIFFERENCE OF RECEIVER STATIC CLOCK CORRECTIONS -> ";
  ResultFile f(tc.clkfile);
  std::ostream& os = f.Stream();
  os << "CLOCK ERROR FILE:   BASE: " << tc.sdh.GetMarkerName(0) << " / "
     << tc.sdh.GetMarkerNumber(0) << "   ROVER: " << tc.sdh.GetMarkerName(1) << " / "
     << tc.sdh.GetMarkerNumber(1) << '\n';
  os << "CLOCK REF. SYS. : " << (tc.isGPS ? 'G' : tc.isGLN ? 'R' : 'E') << '\n';
  mjdns::NDecSecond = 3;
  const long n = std::min(tc.sdd.GetNEpoch(), tc.dtAll.Length());
  for (long e = 0; e < n; ++e)
    os << tc.sdd.GetMJD(e) << "  " << std::fixed << std::setprecision(6) << setw(10)
       << tc.dtAll(e) * 1e6L / kLight << '\n';
  f.Commit();
  if (tc.verbose) std::cerr << n << " EPOCHS!\n";
}

// Azimuth [rad] as degrees in [0, 360).
long double AzimuthDeg(long double a) {
  long double d = rad2deg(a);
  while (d < 0) d += 360.0L;
  while (d >= 360.0L) d -= 360.0L;
  return d;
}

bool HasGeometry(const TervanC& tc, long i) {
  if (i >= tc.ELV.NRow() || i >= tc.AZM.NRow() || tc.ELV.NCol() < 2 || tc.AZM.NCol() < 2)
    return false;
  return tc.OKSAT.Length() <= i || tc.OKSAT(i);
}

}  // namespace

void WriteSkyPlotFile(TervanC& tc) {
  if (!tc.isSkyPlot) return;
  ResultFile f(tc.skyplotfile);
  std::ostream& os = f.Stream();
  os << "# SKY PLOT: BASE " << Column(tc.sdh.GetMarkerName(0)) << "   ROVER "
     << Column(tc.sdh.GetMarkerName(1)) << '\n';
  os << "#        MJD[d]       DATE     TIME   SAT  AZ_BASE[deg]  EL_BASE[deg] AZ_ROVER[deg] "
        "EL_ROVER[deg]\n";
  long i = 0;
  for (long e = 0; e < tc.sdd.GetNEpoch(); ++e) {
    for (short k = 0; k < tc.sdd.GetNSatEpoch(e); ++k, ++i) {
      const short prn = tc.sdd.GetRecSat(i);
      if (prn > 299 || !HasGeometry(tc, i)) continue;
      WriteEpochColumns(os, tc.sdd.GetMJD(e));
      os << "   " << SatLabel(prn) << std::setprecision(4);
      for (int s = 0; s < 2; ++s)
        os << setw(14) << AzimuthDeg(tc.AZM(i, s)) << setw(14) << rad2deg(tc.ELV(i, s));
      os << '\n';
    }
  }
  f.Commit();
}

namespace {

// Interpolated wet delay and its precision at epoch t; false when t lies outside the
// grid or a node is undetermined.
bool WetAtEpoch(const TervanC& tc, const TropoSeries& z, const mjd& t, long double& wet,
                long double& sigma) {
  for (long k = 0; k + 1 < z.n; ++k) {
    const mjd& a = tc.TropoEpoch(k);
    const mjd& b = tc.TropoEpoch(k + 1);
    if (t < a || !(t < b)) continue;
    const long i = (*z.index)(k), j = (*z.index)(k + 1);
    if (!IsDefined(tc, i) || !IsDefined(tc, j)) return false;
    const long double wb = (t - a) / (b - a), wa = 1.0L - wb;
    wet = wa * (*z.value)(k) + wb * (*z.value)(k + 1);
    const long double q =
        wa * wa * tc.QxxAll(i, i) + 2 * wa * wb * tc.QxxAll(i, j) + wb * wb * tc.QxxAll(j, j);
    sigma = q > 0 ? std::sqrt(q * S0Squared(tc)) : 0.0L;
    return true;
  }
  return false;
}

}  // namespace

void WriteEpochTropoFile(TervanC& tc) {
  if (!tc.isOutTropEphFile || !tc.ifEstTropo) return;
  ResultFile f(tc.esttropephfile);
  std::ostream& os = f.Stream();
  os << "# TROPOSPHERE ZENITH DELAYS AT THE DATA EPOCHS (estimates interpolated linearly)\n";
  os << "#        MJD[d]       DATE     TIME  STATION               DRY[MOD,m]  WET[EST,m]    "
        "TOTAL[m]    SIGMA[m]\n";
  for (const StationTropo& st : EstimatedStations(tc)) {
    for (long e = 0; e < tc.sdd.GetNEpoch(); ++e) {
      const mjd t = tc.sdd.GetMJD(e);
      long double wet = 0, sigma = 0;
      if (!WetAtEpoch(tc, st.zenith, t, wet, sigma)) continue;
      const long double dry = DryZenithDelay(tc, st, t);
      WriteEpochColumns(os, t);
      os << "  " << std::left << setw(20) << Column(st.name) << std::right << std::setprecision(4)
         << setw(12) << dry << setw(12) << wet << setw(12) << dry + wet << setw(12) << sigma
         << '\n';
    }
  }
  f.Commit();
}

void WriteStaticFiles(TervanC& tc, const StaticDerived& d) {
  WriteGnuplotStatic(tc, d);
  WriteCodeBiasFile(tc);
  WriteTropoFile(tc);
  WriteEpochTropoFile(tc);
  WriteClockFile(tc);
}
