#include "preprocess/Tervan_SetAmbiguities.h"

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <map>

#include "core/ProgramError.h"
#include "core/ProgramOutput.h"
#include "core/StreamFormatGuard.h"
#include "gnss/SatelliteNumbering.h"
#include "preprocess/GeometricPhase.h"
#include "preprocess/Tervan_AmbiguityArcs.h"

void GetAmbIndex(short& prn, long& ieph, matrix<long>& AI, matrix<short>& AP, long& namb,
                 long& iamb) {
  for (long k = 0; k < namb; ++k) {
    if (AP(k) == prn && AI(k, 0) <= ieph && ieph <= AI(k, 2)) {
      iamb = k;
      return;
    }
  }
  iamb = -1;
}

long GetAmbIndex(const TervanC& tc, short prn, long ieph) {
  return tc.AmbFind.Find(prn, ieph);
}

// Every test is a strict less-than, so an interval of exactly 2, 3, 4, 10 or 20 s
// takes the next row.
void ArcLimits(long double dt, long double& maxGap, long& minObs) {
  struct Row {
    long double below, gapFactor;
    long minObs;
  };
  static const Row rows[] = {{2, 15, 120}, {3, 10, 60}, {4, 8, 40}, {10, 5, 30}, {20, 3, 25}};
  for (const Row& r : rows) {
    if (dt < r.below) {
      maxGap = r.gapFactor * dt + 0.5L;
      minObs = r.minObs;
      return;
    }
  }
  maxGap = 2 * dt + 0.5L;
  minObs = 15;
}

long double ArcInterval(const PhsDiffData& d, bool& changed) {
  changed = false;
  const long double header = d.rhead.interval;
  std::map<long long, long> count;  // spacings in milliseconds
  for (long i = 1; i < d.neph; ++i) {
    long long ms = std::llround((d.epoch(i) - d.epoch(i - 1)) * 1000.0L);
    if (ms > 0) ++count[ms];
  }
  long long best = 0;
  long most = 0;
  for (const auto& c : count)
    if (c.second > most) {
      most = c.second;
      best = c.first;
    }
  const long double mode = best / 1000.0L;
  if (most == 0 || !(header < mode / 2)) return header;
  changed = true;
  return mode;
}

namespace {

void Verbose(const TervanC& tc, const char* text) {
  if (tc.verbose) std::cerr << "Tervan::SetAmbiguities():         " << text;
}

// The L4 pass and the report of its settings; returns the number of arcs.
long ScreenL4(TervanC& tc, long double dt) {
  const long double me = tc.MinElevation * 3.141592653589793L / 180.0L;
  long n = 0;
  Verbose(tc, "Screening L4 linear combination: ");
  tc.sdd.SetAmbFile("Ambiq.b");  // the arcs stay in memory; no file is written
  tc.sdd.ClearAmbArcs();
  tc.sdd.ScreenL4Linear(tc.ELV, me, tc.MinObsAmb, tc.ThresL40, tc.dThresL4, tc.MaxAmbTimeGap, n);
  if (tc.verbose) std::cerr << n << std::endl;
  std::cout << "  Geometry free [L4] ambiguity search :" << std::endl
            << "   Minimum number of observations/arc : " << std::setw(4) << tc.MinObsAmb
            << std::endl
            << "   Maximum time gap                   : " << std::setw(6) << std::setprecision(1)
            << tc.MaxAmbTimeGap << " s" << std::endl
            << "   Threshold for L4 linear combination: " << std::setw(6) << 1000 * tc.ThresL40
            << " + " << std::setw(6) << 1000 * tc.dThresL4 * std::sqrt(dt + 0.5L) << " mm"
            << std::endl
            << "   Number of L4 ambiguities           : " << std::setw(4) << n << std::endl
            << std::endl;
  return n;
}

// The Melbourne-Wuebbena pass over the n arcs of the L4 pass; returns the new count.
long ScreenMW(TervanC& tc, long n) {
  Verbose(tc, "Screening Melbourne-Wuebbena linear combination: ");
  tc.sdd.ScreenMW(tc.MWRMSThres, tc.MinObsAmb, n);
  if (tc.verbose) std::cerr << n << std::endl;
  std::cout << "  Melbourne-Wuebbena [MW] amb. search :" << std::endl
            << "   Threshold for MW linear combination: " << std::setw(6) << std::setprecision(2)
            << tc.MWRMSThres << std::endl
            << "   Number of MW ambiguities           : " << std::setw(4) << n << std::endl
            << std::endl;
  return n;
}

// Arcs of a satellite that touch (split by a pass, not by a gap) start where
// the phases step against the geometry, when the step lies within a few epochs
// of the boundary: a repair of the later arc then starts at the slip itself.
void MoveTouchingBoundaries(TervanC& tc, const GeometricPhase& geometry) {
  const std::vector<AmbArc>& arcs = tc.sdd.GetAmbArcs();
  const PhsDiffData& d = tc.sdd;
  for (size_t k = 1; k < arcs.size(); ++k) {
    const AmbArc a = arcs[k - 1], b = arcs[k];
    if (a.sat != b.sat || d.epoch(b.firstEpoch) - d.epoch(a.lastEpoch) > tc.MaxAmbTimeGap) continue;
    long nearest = -1;
    for (long e : geometry.Slips(a.sat, a.firstEpoch, b.lastEpoch))
      if (std::labs(e - b.firstEpoch) <= 3 &&
          (nearest < 0 || std::labs(e - b.firstEpoch) < std::labs(nearest - b.firstEpoch)))
        nearest = e;
    if (nearest >= 0 && nearest != b.firstEpoch) tc.sdd.MoveArcStart(k, nearest);
  }
}

// Splits arcs where the phases step against the geometry by a cycle or more:
// slips of low satellites that the noise of the Melbourne-Wuebbena means and of
// the L4 fit hides. Returns the number of splits.
long ScreenGeometricSteps(TervanC& tc) {
  const GeometricPhase geometry(tc);
  if (!geometry.Available()) return 0;
  MoveTouchingBoundaries(tc, geometry);
  std::vector<AmbArc> arcs = tc.sdd.GetAmbArcs();
  long added = 0;
  for (const AmbArc& a : arcs)
    tc.sdd.SplitArcsBefore(a.sat, geometry.Slips(a.sat, a.firstEpoch, a.lastEpoch), tc.MinObsAmb,
                           added);
  return added;
}

// The step search: splits arcs where the Melbourne-Wuebbena mean or the fitted
// L4 changes by a step that the two passes above let through, or the phases
// step against the geometry.
long ScreenSteps(TervanC& tc, long n) {
  Verbose(tc, "Searching steps of MW means, L4 fits and phases against the geometry: ");
  long added = 0;
  tc.sdd.ScreenSteps(tc.MinObsAmb, tc.MaxAmbTimeGap, added);
  added += ScreenGeometricSteps(tc);
  n = static_cast<long>(tc.sdd.GetAmbArcs().size());
  if (tc.verbose) std::cerr << n << std::endl;
  std::cout << "  Step search [MW, L4, phase geometry]:" << std::endl
            << "   Steps found inside arcs            : " << std::setw(4) << added << std::endl
            << "   Number of ambiguities              : " << std::setw(4) << n << std::endl
            << std::endl;
  return n;
}

void SetProcessedCounts(TervanC& tc, long n) {
  if (tc.ifL1) tc.nAmbL1 = n;
  if (tc.ifL2) tc.nAmbL2 = n;
  if (tc.ifL3) tc.nAmbL3 = n;
}

// Keeps the arcs with at least one a-priori value; returns the number of
// observations whose code was P1 (no C1).
long AcceptArcs(TervanC& tc, const std::vector<AmbArc>& arcs) {
  Verbose(tc, "Testing ambiguities!\n");
  std::cout << "  Testing all ambiguities - # of OK   : ";
  std::vector<long> ok;
  std::vector<AprioriSums> sums;
  long nP1 = 0;
  for (size_t k = 0; k < arcs.size(); ++k) {
    const AmbArc& a = arcs[k];
    AprioriSums s = ArcAprioriSums(tc, a.sat, a.firstEpoch, a.firstRecord, a.lastEpoch);
    if (s.n[0] == 0 && s.n[1] == 0 && s.n[2] == 0) continue;
    ok.push_back(static_cast<long>(k));
    sums.push_back(s);
    nP1 += s.nP1;
  }
  const long nok = static_cast<long>(ok.size());
  std::cout << std::setw(4) << nok << std::endl;
  SetProcessedCounts(tc, nok);
  tc.xAmbL1.Resize(nok, 1, 0.0L);
  tc.xAmbL2.Resize(nok, 1, 0.0L);
  tc.xAmbL3.Resize(nok, 1, 0.0L);
  tc.AmbIndex.Resize(nok, 4, 0L);
  tc.AmbSat.Resize(nok, 1, static_cast<short>(-1));
  matrix<long double>* x[3] = {&tc.xAmbL1, &tc.xAmbL2, &tc.xAmbL3};
  const bool use[3] = {tc.ifL1, tc.ifL2, tc.ifL3};
  for (long i = 0; i < nok; ++i) {
    const AmbArc& a = arcs[ok[i]];
    tc.AmbSat(i) = a.sat;
    tc.AmbIndex(i, 0) = a.firstEpoch;
    tc.AmbIndex(i, 1) = a.firstRecord;
    tc.AmbIndex(i, 2) = a.lastEpoch;
    for (int t = 0; t < 3; ++t) {
      if (!use[t] || sums[i].n[t] == 0) continue;
      (*x[t])(i) = -sums[i].sum[t] / sums[i].n[t];
      tc.AmbIndex(i, 3) = sums[i].n[t];
    }
  }
  return nP1;
}

bool SystemInUse(const TervanC& tc, short s) {
  return (satnum::IsGPS(s) && tc.isGPS) || (satnum::IsGLONASS(s) && tc.isGLN) ||
         (satnum::IsGALILEO(s) && tc.isGAL);
}

void ZeroValue(matrix<gnssobs>& m, long r) {
  if (m.Length() > r) m(r).SetObs(0.0L);
}

// Zeroes every phase (and phase combination) that belongs to no accepted arc.
void RemoveUnusablePhases(TervanC& tc) {
  std::cout << "  Removing unusable phase observations: ";
  PhsDiffData& d = tc.sdd;
  const PhsDiffHeader& h = tc.sdh;
  long removed = 0, r = 0;
  for (long e = 0; e < d.neph; ++e) {
    for (long i = 0; i < d.nsat(e); ++i, ++r) {
      const short s = d.sat(r);
      if (!SystemInUse(tc, s) || tc.AmbFind.Find(s, e) >= 0) continue;
      if (h.iL1) {
        ZeroValue(d.L1, r);
        ++removed;
      }
      if (satnum::IsGALILEO(s) && h.iL7 && d.L7.Length() > r) d.L7(r) = 0.0L;
      if (s <= 199 && h.iL2 && d.L2.Length() > r) d.L2(r) = 0.0L;
      if (h.iL3) ZeroValue(d.L3, r);
      if (h.iL4) ZeroValue(d.L4, r);
      if (h.iMW) ZeroValue(d.MW, r);
    }
  }
  std::cout << std::setw(6) << removed << std::endl << std::endl << std::endl;
}

}  // namespace

void SetAmbiguities(TervanC& tc) {
  if (!tc.ifL1 && !tc.ifL2 && !tc.ifL3) return;
  StreamFormatGuard guard(std::cout);
  std::cout << std::fixed;
  if (tc.verbose)
    std::cerr << "Tervan::SetAmbiguities(): SETTING AMBIGUITIES FOR PHASE OBSERVATIONS!"
              << std::endl;
  ProgramSubSubTitle("DETERMINING PHASE AMBIGUITIES:", 0);
  std::cout << "  Minimum elevation angle             : " << std::setw(6) << std::setprecision(1)
            << tc.MinElevation << std::endl;
  bool changed = false;
  const long double dt = ArcInterval(tc.sdd, changed);
  if (changed) {
    char text[160];
    std::snprintf(text, sizeof(text),
                  "SAMPLING INTERVAL OF SINGLE DIFFERENCES %.3f s - ARCS USE THE MOST FREQUENT "
                  "SPACING OF EPOCHS: %.3f s",
                  static_cast<double>(tc.sdh.interval), static_cast<double>(dt));
    ProgramWarning("Tervan", text);
  }
  ArcLimits(dt, tc.MaxAmbTimeGap, tc.MinObsAmb);
  long n = ScreenL4(tc, dt);
  n = ScreenMW(tc, n);
  n = ScreenSteps(tc, n);
  SetProcessedCounts(tc, n);
  const long nP1 = AcceptArcs(tc, tc.sdd.GetAmbArcs());
  if (nP1 > 0)
    std::cout << "  Observations with P1 in place of C1 : " << std::setw(6) << nP1 << std::endl;
  std::cout << std::endl;
  RebuildAmbFind(tc);
  PrintAmbiguityTable(tc, "A-PRIORI VALUES OF AMBIGUITIES:", false);
  if (tc.verbose)
    std::cerr << "Tervan::SetAmbiguities():         #of ambiguities: " << tc.AmbSat.Length()
              << std::endl;
  tc.sdd.ClearAmbArcs();
  RemoveUnusablePhases(tc);
}
