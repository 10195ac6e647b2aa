// The float parameters of the static solution (ambiguities, code biases, troposphere
// delays and gradients) adjusted once more together with a position and the system
// clocks of every epoch, for the kinematic track.
//
// A ROVER that moves is not what the static solution models: the part of the motion
// that the mean of each phase arc, the troposphere nodes and the code biases can take
// goes into them (about 5 % of the amplitude for an oscillation of centimetres around
// the point), and a track computed with them fixed carries that part as a bias that
// its epoch-wise precision knows nothing of. Here each epoch keeps its own three
// coordinate corrections and clocks, which are eliminated epoch by epoch; the reduced
// normal equations of the float parameters are solved for their corrections dy to the
// static values (the system offsets go into the epoch clocks, the coordinates into the
// epoch positions). With dy the epoch solution is the back-substitution
//   x_e = Q22 (t2 - A dy),   Qx_e = Q22 + Q22 A Qyy A' Q22,
// where Q22 = N22^-1 is the epoch's own cofactor matrix and A its coupling with the
// float parameters, so the formal precision of a track epoch includes that of the
// float parameters it rests on. The model is the static solution's design, linearised
// at the static position (made for motions of centimetres to decimetres). Ambiguities
// of double differences fixed to integers keep their fixed values.
#ifndef TERVAN_ESTIMATION_KINEMATICADJUSTMENT_H
#define TERVAN_ESTIMATION_KINEMATICADJUSTMENT_H

#include <vector>

#include "driver/TervanC.h"
#include "estimation/Tervan_FinalMisclosures.h"

// One observation of an epoch: coordinate coefficients, clock (3 GPS, 4 GLONASS,
// 5 Galileo; coefficient -1), weight, misclosure at the static estimates [m] and the
// float parameters it touches (positions in the adjusted set, coefficients).
struct KinObs {
  long double b[3];
  int ixT;
  long double p, f;
  int nf = 0;
  long g[14];
  long double a[14];
};

class KinematicAdjustment {
 public:
  KinematicAdjustment(TervanC& tc, const std::vector<SolvedObsType>& types);

  // Observations of epoch e (records from i0) used by the static solution.
  std::vector<KinObs> Epoch(long e, long i0) const;
  // Adjusts the float parameters; false (corrections left zero) when there are none or
  // their normal matrix is singular.
  bool Solve();
  // Misclosure of an observation at the adjusted float parameters.
  long double Misclosure(const KinObs& o) const;
  // Adds the float parameters' share to the cofactor matrix Q (6 x 6, the epoch's own
  // inverse on entry) of the epoch with these observations.
  void AddFloatCofactors(const std::vector<KinObs>& obs, matrix<long double>& Q) const;
  long Count() const { return n_; }

 private:
  long Parameter(long unknown) const;
  // Epoch normal equations: N22 (6x6), t2, the coupling A (6 x local), and the float
  // block N11, t1 over the local list of parameters.
  struct Block {
    std::vector<long> local;
    matrix<long double> N22, t2, A, N11, t1;
  };
  Block Normals(const std::vector<KinObs>& obs) const;
  void Reduce(const Block& b);
  void Constrain();

  TervanC& tc_;
  const std::vector<SolvedObsType>& types_;
  std::vector<long> param_;  // unknown of the static vector -> float parameter, -1
  long n_ = 0, nConstr_ = 0;
  matrix<long double> N_, t_, Q_, dy_;
};

// True when the epoch determines its coordinates and the clocks of its systems.
bool EpochSolvable(const std::vector<KinObs>& obs);

#endif
