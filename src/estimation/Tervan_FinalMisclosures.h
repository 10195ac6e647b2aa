// Misclosures (computed - observed, metres) of the observations of the static
// solution at its final estimates.
//
// The static solution stores each misclosure (with the current code-bias estimate
// of a code) while it forms the normal equations of an iteration, i.e. at the
// estimates from before that iteration's correction xtemp. A later stage that keeps
// the static parameters fixed (the kinematic solution) needs them after the
// correction:
//   f_final = f - sum(B_s xtemp(ix_s))     design slots of the coordinates (mB),
//                                          system offset and troposphere
//             + xtemp(ambiguity unknown)   phases
//             + xtemp(code-bias unknown)   codes with code-bias unknowns
// The design is linear in all of these except the geometry, whose second-order part
// is below 1e-9 m for corrections of a metre.
#ifndef TERVAN_ESTIMATION_TERVAN_FINALMISCLOSURES_H
#define TERVAN_ESTIMATION_TERVAN_FINALMISCLOSURES_H

#include <vector>

#include "driver/TervanC.h"

class EpochTropoDesign;

// One observation type of the solution with its stored misclosures and flags.
struct SolvedObsType {
  enum Kind { C1, P1, P2, PC3, PP3, L1, L2, L3 };
  Kind kind;
  const matrix<long double>* f;  // stored misclosures
  const matrix<bool>* used;      // used by the static solution
  const matrix<bool>* excluded;  // excluded as an outlier
  bool IsPhase() const { return kind >= L1; }
};

// The processed types (switch on, values in the file) in the order C1, P1, P2, Pc3,
// Pp3, L1, L2, L3, each with its vectors sized to the observation records.
std::vector<SolvedObsType> SolvedObsTypes(const TervanC& tc);

// Weight of observation record i of the type (elevation weight times the type's
// weight for the satellite's system).
long double ObsWeight(const TervanC& tc, const SolvedObsType& t, long i, short prn);

// The unknown that an observation of the type adds to its design row with the
// coefficient -1 besides the mB/mIB slots: the ambiguity of a phase, the code bias of
// a code; -1 when there is none.
long ParameterUnknown(TervanC& tc, const SolvedObsType& t, long e, short prn);

// Misclosure of record i (epoch e, satellite prn) at the final static estimates [m].
long double FinalMisclosure(TervanC& tc, const SolvedObsType& t, long i, long e, short prn);
// The same with the troposphere design of the epoch and the record's ParameterUnknown
// at hand.
long double FinalMisclosure(const TervanC& tc, const SolvedObsType& t, long i, short prn,
                            const EpochTropoDesign& design, long unknown);

#endif
