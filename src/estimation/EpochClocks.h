// Receiver clock differences of all epochs, eliminated from the normal equations
// epoch by epoch without a dense epochs x unknowns coupling matrix.
//
// An epoch's clock couples only with the unknowns its own observations touch (the
// coordinates, one system offset, the code biases, troposphere nodes and ambiguities
// of its satellites), so each epoch keeps the coupling row N21 over those indices
// alone (ascending), with its diagonal N22 and right-hand side t2. The arithmetic is
// term for term that of the dense formulation, in the same order, so the reduced
// system and the clocks are bit for bit the same.
#ifndef TERVAN_ESTIMATION_EPOCHCLOCKS_H
#define TERVAN_ESTIMATION_EPOCHCLOCKS_H

#include <cstdint>
#include <vector>

#include "core/matrix.h"

class EpochClocks {
 public:
  // An epoch's clock is eliminated and solved when its diagonal exceeds this; an
  // epoch at or below it keeps its a-priori clock and counts nowhere.
  static constexpr long double Threshold = 1e-12L;

  // Forgets every epoch; nunk unknowns, nepoch epochs.
  void Reset(long nunk, long nepoch);

  // Starts the accumulation of epoch e (epochs in any order, each once).
  void Begin(long e);
  // Adds one observation of the current epoch: the clock's coefficient is -1, so
  // N22 += p, t2 -= f p, N21(k) -= B(k) p.
  void Add(long index, long double b, long double p);
  void AddClock(long double f, long double p);
  // Closes the current epoch: keeps its row, sorted by unknown.
  void End();

  long double N22(long e) const { return n22_[e]; }
  long double T2(long e) const { return t2_[e]; }
  bool IsSolved(long e) const { return n22_[e] > Threshold; }
  // Unknowns and couplings of epoch e: [first, last) into Index()/Value().
  long First(long e) const { return start_[e]; }
  long Last(long e) const { return end_[e]; }
  long Index(long k) const { return index_[k]; }
  long double Value(long k) const { return value_[k]; }

  // Adds the reduction of epoch e to the normal matrix Nt (upper triangle) and
  // right-hand side tt: Nt(i,j) += N21(i) N21(j) / N22, tt(i) += N21(i) t2 / N22.
  void Eliminate(long e, matrix<long double>& Nt, matrix<long double>& tt) const;
  // Clock increment of epoch e from the solution x: (t2 - N21 x) / N22.
  long double Solve(long e, const matrix<long double>& x) const;

 private:
  long nepoch_ = 0;
  long current_ = -1;
  std::vector<long double> n22_, t2_;
  std::vector<long> start_, end_;
  std::vector<int32_t> index_;
  std::vector<long double> value_;
  // Scratch of the current epoch: coupling per unknown and the unknowns touched.
  std::vector<long double> acc_;
  std::vector<char> touched_;
  std::vector<int32_t> list_;
};

#endif
