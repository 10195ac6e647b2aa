#include "estimation/EpochClocks.h"

#include <algorithm>

void EpochClocks::Reset(long nunk, long nepoch) {
  nepoch_ = nepoch;
  current_ = -1;
  n22_.assign(nepoch, 0.0L);
  t2_.assign(nepoch, 0.0L);
  start_.assign(nepoch, 0);
  end_.assign(nepoch, 0);
  index_.clear();
  value_.clear();
  acc_.assign(nunk, 0.0L);
  touched_.assign(nunk, 0);
  list_.clear();
}

void EpochClocks::Begin(long e) {
  current_ = e;
  list_.clear();
}

void EpochClocks::Add(long index, long double b, long double p) {
  if (!touched_[index]) {
    touched_[index] = 1;
    list_.push_back(static_cast<int32_t>(index));
  }
  acc_[index] -= b * p;
}

void EpochClocks::AddClock(long double f, long double p) {
  n22_[current_] += p;
  t2_[current_] -= f * p;
}

void EpochClocks::End() {
  std::sort(list_.begin(), list_.end());
  start_[current_] = static_cast<long>(index_.size());
  for (int32_t k : list_) {
    index_.push_back(k);
    value_.push_back(acc_[k]);
    acc_[k] = 0.0L;
    touched_[k] = 0;
  }
  end_[current_] = static_cast<long>(index_.size());
  list_.clear();
  current_ = -1;
}

void EpochClocks::Eliminate(long e, matrix<long double>& Nt, matrix<long double>& tt) const {
  if (!IsSolved(e)) return;
  const long double n22 = n22_[e], t2 = t2_[e];
  for (long a = start_[e]; a < end_[e]; ++a) {
    const long i = index_[a];
    tt(i) += value_[a] * t2 / n22;
    long double* row = Nt.Row(i);
    const long double va = value_[a];
    for (long b = a; b < end_[e]; ++b) row[index_[b]] += va * value_[b] / n22;
  }
}

long double EpochClocks::Solve(long e, const matrix<long double>& x) const {
  long double s = 0.0L;
  for (long a = start_[e]; a < end_[e]; ++a) s += value_[a] * x(index_[a]);
  return (t2_[e] - s) / n22_[e];
}
