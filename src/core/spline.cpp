#include "core/spline.h"

long double Qfun(long double u1, long double x1, long double u2, long double x2) {
  return (u1 / (x1 * x1) - u2 / (x2 * x2)) / (1.0L / x1 - 1.0L / x2);
}

void spline(const matrix<long double>& X, const matrix<long double>& U, matrix<long double>& S) {
  const long n = X.NRow();
  S.Resize(n, 1, 0.0L);
  if (n < 4) return;

  const long double q1 = Qfun(U(1) - U(0), X(1) - X(0), U(2) - U(0), X(2) - X(0));
  const long double qn =
      Qfun(U(n - 2) - U(n - 1), X(n - 2) - X(n - 1), U(n - 3) - U(n - 1), X(n - 3) - X(n - 1));

  // Right-hand side of the tridiagonal system.
  S(0) = 6.0L * ((U(1) - U(0)) / (X(1) - X(0)) - q1);
  for (long i = 1; i < n - 1; ++i)
    S(i) = 6.0L * (U(i - 1) / (X(i) - X(i - 1)) -
                   U(i) * (1.0L / (X(i) - X(i - 1)) + 1.0L / (X(i + 1) - X(i))) +
                   U(i + 1) / (X(i + 1) - X(i)));
  S(n - 1) = 6.0L * (qn + (U(n - 2) - U(n - 1)) / (X(n - 1) - X(n - 2)));

  // Forward elimination of the sub-diagonal.
  matrix<long double> A(n, 1, 0.0L);
  A(0) = 2.0L * (X(1) - X(0));
  A(1) = 1.5L * (X(1) - X(0)) + 2.0L * (X(2) - X(1));
  S(1) -= 0.5L * S(0);
  for (long i = 2; i < n - 1; ++i) {
    const long double c = (X(i) - X(i - 1)) / A(i - 1);
    A(i) = 2.0L * (X(i + 1) - X(i - 1)) - c * (X(i) - X(i - 1));
    S(i) -= c * S(i - 1);
  }
  const long double c = (X(n - 1) - X(n - 2)) / A(n - 2);
  A(n - 1) = (2.0L - c) * (X(n - 1) - X(n - 2));
  S(n - 1) -= c * S(n - 2);

  // Back substitution.
  S(n - 1) /= A(n - 1);
  for (long i = n - 2; i >= 0; --i) S(i) = (S(i) - (X(i + 1) - X(i)) * S(i + 1)) / A(i);
}

long double Evaluate(const matrix<long double>& X, const matrix<long double>& U, long double Y,
                     const matrix<long double>& S) {
  const long n = X.NRow();
  if (Y <= X(0)) return U(0);
  if (Y >= X(n - 1)) return U(n - 1);
  // First k >= 1 with X(k-1) < Y <= X(k).
  long lo = 1, hi = n - 1;
  while (lo < hi) {
    const long mid = (lo + hi) / 2;
    if (X(mid) < Y)
      lo = mid + 1;
    else
      hi = mid;
  }
  const long k = lo;
  const long double dx = X(k) - X(k - 1), p = X(k) - Y, q = Y - X(k - 1);
  return p * (U(k - 1) / dx - dx * S(k - 1) / 6.0L) +
         (p * p * p * S(k - 1) + q * q * q * S(k)) / (6.0L * dx) +
         q * (U(k) / dx - dx * S(k) / 6.0L);
}
