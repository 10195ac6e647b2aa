// Troposphere part of the design rows of one epoch of the static solution: the
// unknowns of the two grid nodes around the epoch of each estimated series (zenith
// delays and gradients of BASE and ROVER) and the linear interpolation weights.
//
// Design-row slots: BASE zenith 8/9, north 10/11, east 12/13; ROVER zenith 14/15,
// north 16/17, east 18/19 (the earlier and the later node). A slot without an
// unknown keeps the index -1.
#ifndef TERVAN_ESTIMATION_EPOCHTROPODESIGN_H
#define TERVAN_ESTIMATION_EPOCHTROPODESIGN_H

#include "driver/TervanC.h"
#include "estimation/Tervan_ProcStatic.h"

class EpochTropoDesign {
 public:
  enum { sZB = 8, sNB = 10, sEB = 12, sZR = 14, sNR = 16, sER = 18 };

  // Nodes and weights of epoch e.
  EpochTropoDesign(const TervanC& tc, long e);

  // Slots 8-19 of record i: coefficients (the station's mapping functions times the
  // weights, negative for the ROVER) into B, unknowns into iB.
  void Fill(const TervanC& tc, long i, long double* B, long* iB) const;

  bool Zenith() const { return zenith_; }
  bool Gradient() const { return gradient_; }
  long ZenithNode() const { return k_; }    // earlier zenith-delay node, -1 without
  long GradientNode() const { return g_; }  // earlier gradient node, -1 without
  long double Wa() const { return wa_; }    // weight of the earlier zenith node
  long double Wb() const { return wb_; }    // weight of the later zenith node
  long double Ga() const { return ga_; }    // weight of the earlier gradient node
  long double Gb() const { return gb_; }    // weight of the later gradient node

 private:
  long ix_[NSlots];
  long k_ = -1, g_ = -1;
  long double wa_ = 0, wb_ = 0, ga_ = 0, gb_ = 0;
  bool zenith_ = false, gradient_ = false;
};

#endif
