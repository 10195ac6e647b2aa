// A small GPS baseline problem with a known truth for the estimation stages: a
// constellation of broadcast orbits, a BASE and a ROVER 1 km apart, and single
// differences of C1, P2, L1, L2 (and L3) built from the truth (coordinates, receiver
// clock differences, code biases, zenith delays, ambiguities), optionally with
// elevation-dependent noise. The context is filled as the preprocessing leaves it.
#ifndef TERVAN_TESTS_ESTIMATION_STATICPROBLEM_H
#define TERVAN_TESTS_ESTIMATION_STATICPROBLEM_H

#include <map>
#include <vector>

#include "driver/TervanC.h"
#include "support/TestSupport.h"

struct ProblemOptions {
  bool c1 = true, p2 = false, l1 = true, l2 = false, l3 = false;
  bool dcb = false;                          // code biases estimated (GPS)
  bool tropoB = false, tropoR = false;       // zenith delays estimated
  long double zB = 0.0L, zR = 0.0L;          // true wet zenith delays beyond the model [m]
  long double tropoInterval = 1800.0L;       // [s]
  long double sigmaC = 0.0L, sigmaL = 0.0L;  // noise at the zenith [m] (0: noise-free)
  unsigned seed = 1;
  long double offN = 0.3L, offE = -0.2L, offU = 0.5L;  // a-priori ROVER error [m]
  long nEpoch = 121;
  long double interval = 30.0L;      // [s]
  long double baselineScale = 1.0L;  // 1: about 1 km
};

class StaticProblem {
 public:
  explicit StaticProblem(const ProblemOptions& o);
  // SetUnknowns and ProcStatic with their report captured.
  void Solve();
  // Position in the record sequence of satellite prn at epoch e, -1 when absent.
  long Record(long e, short prn) const;

  TervanC tc;
  xyz base, roverTrue;
  std::vector<long double> clockTrue;    // receiver clock difference per epoch [m]
  std::map<short, long double> dcbTrue;  // C1 bias per satellite [m]
  std::map<short, long double> ambTrue;  // L1 ambiguity per satellite [m]
  std::string report;

 private:
  void Orbits();
  void Observations(const ProblemOptions& o);
  void Ambiguities();
  void Settings(const ProblemOptions& o);
  testsupport::TempDir dir_;
  std::vector<long> first_;  // first record of each epoch
};

#endif
