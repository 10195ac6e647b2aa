// Observation equations of the static solution: for every epoch and observation the
// satellite geometry, the misclosures of the chosen types, the misclosure test and
// the normal equations with the epoch's clock eliminated; after the solution the
// a-posteriori variance of each observation type.
#ifndef TERVAN_ESTIMATION_STATICOBSERVATIONS_H
#define TERVAN_ESTIMATION_STATICOBSERVATIONS_H

#include <cstdint>
#include <vector>

#include "driver/TervanC.h"
#include "estimation/EpochClocks.h"
#include "estimation/EpochTropoDesign.h"
#include "estimation/ObsTypes.h"
#include "estimation/Tervan_ProcStatic.h"

class StaticObservations {
 public:
  explicit StaticObservations(TervanC& tc);

  // One pass over all epochs: fills Nc, tc, Nt, tt, the misclosures and flags, the
  // counts, sumAll (p f^2 of all) and sumType (WGHT f^2 per type). testOn: the
  // misclosure test may exclude observations.
  void Accumulate(int niter, bool testOn, EpochClocks& clk, long double& sumAll,
                  long double* sumType);

  // A-posteriori variance of each type from the solution in xtemp and QxxAll:
  //   s2(type) = sum WGHT v^2 / (n - sum h)
  // over the type's used observations, with v the residual of the observation
  // (misclosure minus the solution's part, clock included) and h = p a Q a' its
  // share of the unknowns (the diagonal of the hat matrix; a is the design row
  // with the epoch clock). n - sum h is the type's own part of the redundancy; the
  // parts of all types and of the troposphere pseudo-observations add up to the
  // redundancy of the whole solution. A type without redundancy gets 0.
  void TypeVariances(const EpochClocks& clk);

 private:
  // Current troposphere values of one epoch.
  struct EpochTropo {
    long double zB = 0, nB = 0, eB = 0, zR = 0, nR = 0, eR = 0;
  };
  // Satellite and system values of one observation record.
  struct Record {
    long i, e;
    short prn;
    int sys;
    long double a1, a2, lamb1, lamb2, p0Pc3, p0Pp3, p0L3;
    long double G, T, dI;
    long double B[NSlots];
    long iB[NSlots];
  };
  void Epoch(long e, long first, bool testOn, EpochClocks& clk);
  void SetTropo(const EpochTropoDesign& d, EpochTropo& et) const;
  bool SetSystem(Record& r) const;
  bool Geometry(Record& r, const mjd& tB, const mjd& tR);
  // travel: the record's travel time column (0 BASE, 1 ROVER) to start the light-time
  // solution from and to update.
  bool SatelliteRange(short prn, int sys, const mjd& t, const xyz& rec, long i, int travel,
                      xyzt& pos, long double& rho) const;
  void SetRow(Record& r, const xyzt& posR, long double rhoR) const;
  void Types(Record& r, bool testOn, EpochClocks& clk);
  bool Misclosure(const Record& r, int k, long double& f, long& amb) const;
  long Ambiguity(const Record& r, int k) const;  // -1 outside every arc
  // Slots 4-7 of type k (ambiguity or code-bias unknown) into iB; a code's current
  // bias is added to f.
  void TypeSlots(const Record& r, int k, long amb, long double& f, long* iB) const;
  // The record's design row without its type slots, from the stored coordinate part.
  void Row(Record& r, const EpochTropoDesign& design) const;
  long double Weight(const Record& r, int k) const;
  void Reject(const Record& r, int k, long double f) const;
  void Use(Record& r, int k, long double f, long double p, long amb, EpochClocks& clk);

  // BASE side of a record: its reception epoch and position never change, so the
  // satellite's range and clock are computed once per solution (without travel times
  // from the preprocessing) or repeat their first result.
  struct BaseSide {
    long double rho = 0.0L, clock = 0.0L;
  };
  bool Base(const Record& r, const mjd& tB, BaseSide& b);

  TervanC& tc_;
  long double cut_;
  // Records up to which the BASE ranges are kept between iterations (33 bytes each).
  static constexpr long KeepBaseRecords = 1000000;
  std::vector<BaseSide> base_;
  std::vector<signed char> baseState_;  // 0 not yet computed, 1 usable, -1 unusable
  long double* sumAll_ = nullptr;
  long double* sumType_ = nullptr;
  std::vector<unsigned char> usedTypes_;  // per record: bit k set when type k is used now
};

#endif
