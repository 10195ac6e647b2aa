// Normal equations of a few unknowns (the point positioning's position, clock and
// system offsets) on the stack, solved through the inverse that the library's
// Gauss-Jordan elimination (inv of core/matrixUtil) forms: the same pivots and the
// same operations in the same order, so the solution has the same bits, without the
// allocations of the general matrices.
#ifndef TERVAN_TOOLS_SDIFF_NORMALEQUATIONS_H
#define TERVAN_TOOLS_SDIFF_NORMALEQUATIONS_H

#include <cstddef>

class NormalEquations {
 public:
  static constexpr int kMaxUnknowns = 6;

  // Empty equations of n unknowns (2 ... kMaxUnknowns).
  explicit NormalEquations(int n);

  // Adds an observation with design row a (n values), weight w and reduced
  // observation l: N += w a a^T, b += w a l, in the order of the straightforward sums.
  void Add(const long double a[], long double w, long double l);
  // The design row of a code range: unit direction d in the first three columns, 1
  // in column `clock` and in column `offset` (-1 for none), 0 elsewhere; weight w
  // and reduced observation l.
  struct RangeRow {
    long double d[3];
    int clock, offset;
    long double w, l;
  };
  // The same as Add of these rows one after the other, forming only the products
  // that are not 0.
  void AddRanges(const RangeRow rows[], size_t count);

  // x = N^-1 b (n values); false when the elimination finds N singular (a singular
  // last pivot is reported as the library's inverse reports it).
  bool Solve(long double x[]) const;

 private:
  int n_;
  long double N_[kMaxUnknowns][kMaxUnknowns] = {};
  long double b_[kMaxUnknowns] = {};
};

#endif
