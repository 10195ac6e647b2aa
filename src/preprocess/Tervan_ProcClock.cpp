#include "preprocess/Tervan_ProcClock.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <memory>
#include <vector>

#include "core/ProgramOutput.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/TimeConverse.h"
#include "gnss/mGNSSc.h"
#include "preprocess/StageRecords.h"

namespace {

constexpr long double kPi = 3.141592653589793L;
// The reweighting converges in a few dozen steps; the limit only guards
// against values that never let it settle (non-finite input).
constexpr int kMaxReweighting = 1000;

enum { GPS = 0, GLN = 1, GAL = 2, NSYS = 3 };
const char* const kSystemName[NSYS] = {"GPS", "GLONASS", "GALILEO"};

int SystemIndex(short sat) {
  if (satnum::IsGLONASS(sat)) return GLN;
  if (satnum::IsGALILEO(sat)) return GAL;
  return GPS;
}

// Code values of one epoch reduced by geometry and clocks, with the number of
// values per system.
struct EpochCodes {
  std::vector<long double> value;  // [m]
  long count[NSYS] = {0, 0, 0};
};

void CollectRecord(const TervanC& tc, long r, long double dtClockFile, EpochCodes& ec) {
  const PhsDiffData& d = tc.sdd;
  const PhsDiffHeader& h = tc.sdh;
  const long double computed = stagerec::ComputedRange(tc, r);
  const matrix<gnssobs>* codes[4] = {&d.C1, &d.P1, &d.P2, &d.C7};
  const bool present[4] = {h.iC1, h.iP1, h.iP2, h.iC7};
  const int sys = SystemIndex(d.sat(r));
  for (int k = 0; k < 4; ++k) {
    if (!present[k] || (*codes[k])(r).IsNull()) continue;
    ec.value.push_back((*codes[k])(r).GetObs() - computed - dtClockFile);
    ++ec.count[sys];
  }
}

// Every usable code value of epoch i: satellite available, seen above the
// elevation limit from both stations, its system processed.
EpochCodes CollectEpoch(const TervanC& tc, long i, long first, long last) {
  EpochCodes ec;
  const long double limit = tc.MinElevation * kPi / 180.0L;
  const long double dtClockFile = (tc.sdd.clkErR(i) - tc.sdd.clkErB(i)) * GNSSc::c;
  for (long r = first; r < last; ++r) {
    if (!tc.OKSAT(r) || !(tc.ELV(r, 0) > limit) || !(tc.ELV(r, 1) > limit)) continue;
    if (!stagerec::SystemProcessed(tc, tc.sdd.sat(r))) continue;
    CollectRecord(tc, r, dtClockFile, ec);
  }
  return ec;
}

bool Processed(const TervanC& tc, int sys) {
  return sys == GPS ? tc.isGPS : (sys == GLN ? tc.isGLN : tc.isGAL);
}

// The per-record geometry of the satellite stage is in place.
bool GeometryReady(const TervanC& tc) {
  return stagerec::GeometryReady(tc) && tc.sdd.clkErB.Length() >= tc.sdd.neph &&
         tc.sdd.clkErR.Length() >= tc.sdd.neph;
}

struct Summary {
  long goodSys[NSYS] = {0, 0, 0};
  long goodAll = 0, exceeded = 0, outliers = 0;
  bool missingLines = false;
};

void ScreenEpoch(TervanC& tc, long i, const EpochCodes& ec, Summary& sum) {
  long n = static_cast<long>(ec.value.size());
  long double dt = 0.0L;
  if (n > 0) {
    std::vector<long double> f(ec.value);
    std::unique_ptr<bool[]> flag(new bool[n]());
    dt = FindOutliers(f.data(), flag.get(), n, 10.0L * tc.MaxfDiff);
    long nflag = 0;
    for (long k = 0; k < n; ++k) nflag += flag[k] ? 1 : 0;
    sum.outliers += nflag;
    if (nflag > 0) ++sum.exceeded;
    ++sum.goodAll;
  }
  tc.dtAll(i) = dt;
  for (int s = 0; s < NSYS; ++s) {
    if (!Processed(tc, s)) continue;
    if (ec.count[s] > 0) {
      ++sum.goodSys[s];
      continue;
    }
    std::cout << "    EPOCH: " << std::setw(7) << i + 1 << " [" << mjd2ymdhms(tc.sdd.epoch(i))
              << "]     NO " << kSystemName[s] << " OBSERVATIONS!" << std::endl;
    sum.missingLines = true;
  }
}

void PrintSummary(const TervanC& tc, const Summary& sum) {
  if (sum.missingLines) std::cout << std::endl << std::endl;
  std::cout << "  # of ALL EPOCHS IN RINEX FILE: " << std::setw(18) << tc.sdd.neph << std::endl;
  const char* label[NSYS] = {
      "    # of GPS EPOCHS            : ", "    # of GLONASS EPOCHS        : ",
      "    # of GALILEO EPOCHS        : "};
  for (int s = 0; s < NSYS; ++s)
    if (Processed(tc, s)) std::cout << label[s] << std::setw(18) << sum.goodSys[s] << std::endl;
  std::cout << "    # of ALL GNSS OK EPOCHS    : " << std::setw(18) << sum.goodAll << std::endl;
  std::cout << "  # of EXCEEDED F VALUES : " << std::setw(10) << sum.exceeded << std::endl;
  std::cout << "  # of ESTIMATED OUTLIERS: " << std::setw(10) << sum.outliers << std::endl;
  std::cout << std::endl << std::endl;
}

}  // namespace

long double FindOutliers(long double* f, bool* fo, long& n, long double ThresBlunder) {
  if (n <= 0) return 0.0L;
  long double m = 0.0L;
  for (long i = 0; i < n; ++i) m += f[i];
  m /= n;
  for (int iter = 0; iter < kMaxReweighting; ++iter) {
    long double sw = 0.0L, swx = 0.0L;
    for (long i = 0; i < n; ++i) {
      const long double v = f[i] - m;
      fo[i] = std::fabs(v) > ThresBlunder;
      const long double w = 1.0L / (v * v + 1.0L);
      sw += w;
      swx += w * f[i];
    }
    const long double next = swx / sw;
    if (std::fabs(m - next) < 0.0001L) return m;
    m = next;
  }
  return m;
}

void ProcClock(TervanC& tc) {
  if (tc.verbose)
    std::cerr << "Tervan::ProcClock(): DETERMINING A-PRIORI VALUE OF CLOCK CORRECTION!"
              << std::endl;
  ProgramSubSubTitle("DETERMINATION OF A-PRIORI CLOCK ERORRS:", 0);
  ProgramSubSubSubTitle("Epoch-by-epoch screening:", 0);
  tc.dtAll.Resize(tc.sdd.neph, 1, 0.0L);
  Summary sum;
  const std::vector<long> off = stagerec::EpochOffsets(tc.sdd);
  for (long i = 0; i < tc.sdd.neph; ++i) {
    EpochCodes ec;
    if (GeometryReady(tc)) ec = CollectEpoch(tc, i, off[i], off[i + 1]);
    ScreenEpoch(tc, i, ec, sum);
  }
  PrintSummary(tc, sum);
}
