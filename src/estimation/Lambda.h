// Integer least-squares estimation of float ambiguities (cycles) with their
// covariance: the LAMBDA method.
//
// The covariance is factored Q = L' D L (L unit lower triangular, D diagonal; the
// last entry is the least conditioned). Integer Gauss transformations and swaps of
// neighbours make the entries nearly uncorrelated and order the conditional
// variances D ascending toward the end: z = Z' a with an integer unimodular Z.
// The search enumerates, depth first from the last entry, the integer vectors
// inside an ellipsoid that shrinks to the best ones found so far, each level
// visiting the integers around its conditional estimate in zig-zag order.
//
// Partial fixing works on the trailing entries of z: they are the first ones the
// sequential (bootstrapped) rounding fixes, and their covariance is the trailing
// block of L' D L, so the same factors serve a search on any trailing subset.
#ifndef TERVAN_ESTIMATION_LAMBDA_H
#define TERVAN_ESTIMATION_LAMBDA_H

#include <vector>

#include "core/matrix.h"

class Lambda {
 public:
  // a: float ambiguities (n x 1, cycles); Q: their covariance (n x n, cycles^2).
  Lambda(const matrix<long double>& a, const matrix<long double>& Q);

  // Q was symmetric positive definite with finite values and the vector finite.
  bool IsValid() const { return valid_; }
  long Size() const { return n_; }

  // The `count` integer vectors (in the order of the original entries) closest to the
  // float vector in the metric of Q, with their squared distances (ascending).
  // Candidates of the trailing `m` decorrelated entries when m < Size(): the vectors
  // are then of z (m entries, z(n-m) first). False when the search could not finish.
  bool Search(int count, std::vector<std::vector<long>>& best, std::vector<long double>& dist,
              long m = -1) const;

  // Probability that sequential rounding of the last m decorrelated entries is right,
  // with the covariance multiplied by varianceFactor.
  long double SuccessRate(long m, long double varianceFactor = 1.0L) const;
  // Combination coefficients of decorrelated entry k: z(k) = sum_j C(j) a(j).
  std::vector<long> Combination(long k) const;
  // The decorrelated float value z(k) and its conditional variance D(k).
  long double Decorrelated(long k) const { return zhat_[k]; }
  long double ConditionalVariance(long k) const { return d_[k]; }

 private:
  long double& L(long i, long j) { return l_[i * n_ + j]; }
  long double L(long i, long j) const { return l_[i * n_ + j]; }
  long& Z(long i, long j) { return z_[i * n_ + j]; }
  long& Zi(long i, long j) { return zi_[i * n_ + j]; }
  bool Factor(const matrix<long double>& Q);
  void Reduce();
  void Gauss(long i, long j);
  void Swap(long j, long double del);

  long n_ = 0;
  bool valid_ = false;
  std::vector<long double> l_, d_, zhat_;
  std::vector<long> z_, zi_;  // Z and its inverse, row-major
};

#endif
