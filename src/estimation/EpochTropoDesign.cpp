#include "estimation/EpochTropoDesign.h"

namespace {

// Linear interpolation weights of epoch t between grid nodes k and k+1.
void Weights(const matrix<mjd>& grid, long k, const mjd& t, long double& a, long double& b) {
  const long double d = grid(k + 1) - grid(k);
  a = (grid(k + 1) - t) / d;
  b = (t - grid(k)) / d;
}

}  // namespace

EpochTropoDesign::EpochTropoDesign(const TervanC& tc, long e) {
  for (long& k : ix_) k = -1;
  if (!tc.ifEstTropo) return;
  const mjd t = tc.sdd.GetMJD(e);
  GetTropoIndex(t, tc.TropoEpoch, k_);
  if (k_ < 0) return;
  zenith_ = true;
  Weights(tc.TropoEpoch, k_, t, wa_, wb_);
  if (tc.ifEstTropoGrad) GetTropoIndex(t, tc.TropoGradEpoch, g_);
  gradient_ = g_ >= 0;
  if (gradient_) Weights(tc.TropoGradEpoch, g_, t, ga_, gb_);
  auto node = [&](int slot, const matrix<long>& ix, long n) {
    ix_[slot] = ix(n);
    ix_[slot + 1] = ix(n + 1);
  };
  if (tc.ifEstTropoB) {
    node(sZB, tc.ixTropoB, k_);
    if (gradient_ && tc.ifEstTropoGradB) {
      node(sNB, tc.ixTropoGradNB, g_);
      node(sEB, tc.ixTropoGradEB, g_);
    }
  }
  if (tc.ifEstTropoR) {
    node(sZR, tc.ixTropoR, k_);
    if (gradient_ && tc.ifEstTropoGradR) {
      node(sNR, tc.ixTropoGradNR, g_);
      node(sER, tc.ixTropoGradER, g_);
    }
  }
}

void EpochTropoDesign::Fill(const TervanC& tc, long i, long double* B, long* iB) const {
  for (int s = sZB; s < NSlots; ++s) iB[s] = ix_[s];
  const long double mf0 = ModelValue(tc.MFTROP, i, 0), mf1 = ModelValue(tc.MFTROP, i, 1);
  const long double g[4] = {ModelValue(tc.MFGRAD, i, 0), ModelValue(tc.MFGRAD, i, 1),
                            ModelValue(tc.MFGRAD, i, 2), ModelValue(tc.MFGRAD, i, 3)};
  B[sZB] = mf0 * wa_, B[sZB + 1] = mf0 * wb_;
  B[sNB] = g[0] * ga_, B[sNB + 1] = g[0] * gb_;
  B[sEB] = g[1] * ga_, B[sEB + 1] = g[1] * gb_;
  B[sZR] = -mf1 * wa_, B[sZR + 1] = -mf1 * wb_;
  B[sNR] = -g[2] * ga_, B[sNR + 1] = -g[2] * gb_;
  B[sER] = -g[3] * ga_, B[sER + 1] = -g[3] * gb_;
}
