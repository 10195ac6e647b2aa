#ifndef TERVAN_ESTIMATION_TERVAN_PROCSTATIC_H
#define TERVAN_ESTIMATION_TERVAN_PROCSTATIC_H

#include "driver/TervanC.h"
#include "estimation/EpochClocks.h"

// Static least-squares solution with the receiver clocks eliminated epoch by epoch.
void ProcStatic(TervanC& tc);

// Number of slots of an observation's design row (coefficient/index pairs).
constexpr int NSlots = 20;

// Coordinate corrections (metres) below which the misclosure test may judge
// observations: before, the misclosures still hold the error of the a-priori position.
constexpr long double MisclosureTestStart = 1.0L;

// The slots of a design row in use (index >= 0) into used, in slot order; returns their
// count.
inline int UsedSlots(const long* iB, int* used) {
  int n = 0;
  for (int s = 0; s < NSlots; ++s)
    if (iB[s] >= 0) used[n++] = s;
  return n;
}

// Adds one observation (design row B/iB over NSlots slots, index -1 = unused;
// misclosure f = computed - observed, metres; weight p) to the normal equations N
// (upper triangle) and t and to the current epoch of the clocks (clock coefficient -1).
void SetCRDNormalSystem(matrix<long double>& N, matrix<long double>& t, long double* B,
                        long double& f, long double& p, long* iB, EpochClocks& clk);

// Eliminates the clock of epoch e: its reduction goes into N (upper triangle) and t.
// An epoch whose clock diagonal is at or below EpochClocks::Threshold is left out.
void SetElimNormalSystem(matrix<long double>& N, matrix<long double>& t, EpochClocks& clk, long e);

// k = position of prn among the first nsat entries of list and ixdcb = holder(k);
// ixdcb = -1 and k = nsat when prn is not listed.
void GetIndexSatDCB(short& prn, matrix<short>& list, matrix<long>& holder, long& nsat, long& ixdcb,
                    long& k);

// itro = the k with grid(k) <= epoch < grid(k+1); -1 when there is none.
void GetTropoIndex(const mjd& epoch, const matrix<mjd>& grid, long& itro);

// True when the preprocessing has left its per-record model values for every
// observation record (the estimation has nothing to work on otherwise).
bool HasModelValues(const TervanC& tc);

// Value (i, c) of a per-record model matrix; 0 when the model is off and its matrix
// was left empty.
inline long double ModelValue(const matrix<long double>& m, long i, long c) {
  return m.NRow() > 0 ? m(i, c) : 0.0L;
}

#endif
