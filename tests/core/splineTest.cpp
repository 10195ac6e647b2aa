#include <gtest/gtest.h>

#include <cmath>

#include "core/spline.h"

namespace {

matrix<long double> Vector(std::initializer_list<long double> values) {
  matrix<long double> v(static_cast<long>(values.size()), 1);
  long i = 0;
  for (long double x : values) v(i++) = x;
  return v;
}

}  // namespace

TEST(spline, ReproducesAParabolaOnUnevenNodes) {
  const matrix<long double> X = Vector({0.0L, 0.7L, 1.5L, 3.0L, 3.4L, 5.0L, 6.2L});
  matrix<long double> U(X.NRow(), 1);
  auto f = [](long double x) { return 3.0L - 2.0L * x + 0.75L * x * x; };
  for (long i = 0; i < X.NRow(); ++i) U(i) = f(X(i));
  matrix<long double> S;
  spline(X, U, S);
  ASSERT_EQ(S.NRow(), X.NRow());
  for (long i = 0; i < S.NRow(); ++i) EXPECT_NEAR(static_cast<double>(S(i)), 1.5, 1e-12);
  for (long double y = 0.05L; y < 6.2L; y += 0.1L)
    EXPECT_NEAR(static_cast<double>(Evaluate(X, U, y, S)), static_cast<double>(f(y)), 1e-12);
}

TEST(spline, InterpolatesASmoothFunctionClosely) {
  matrix<long double> X(25, 1), U(25, 1);
  for (long i = 0; i < 25; ++i) {
    X(i) = 0.25L * i;
    U(i) = std::sin(X(i));
  }
  matrix<long double> S;
  spline(X, U, S);
  for (long double y = 0.1L; y < 6.0L; y += 0.37L)
    EXPECT_NEAR(static_cast<double>(Evaluate(X, U, y, S)), static_cast<double>(std::sin(y)),
                y < 0.5L || y > 5.5L ? 1e-3 : 1e-4);
}

TEST(spline, NodesAndEnds) {
  const matrix<long double> X = Vector({1, 2, 4, 5, 7});
  const matrix<long double> U = Vector({3, -1, 2, 8, 0});
  matrix<long double> S;
  spline(X, U, S);
  for (long i = 0; i < X.NRow(); ++i)
    EXPECT_NEAR(static_cast<double>(Evaluate(X, U, X(i), S)), static_cast<double>(U(i)), 1e-15);
  EXPECT_EQ(Evaluate(X, U, 0.5L, S), 3.0L);
  EXPECT_EQ(Evaluate(X, U, 9.0L, S), 0.0L);
}

TEST(spline, ThreeNodesGiveTheBrokenLine) {
  const matrix<long double> X = Vector({0, 1, 3});
  const matrix<long double> U = Vector({0, 2, 3});
  matrix<long double> S(1, 1, 7.0L);
  spline(X, U, S);
  ASSERT_EQ(S.NRow(), 3);
  for (long i = 0; i < 3; ++i) EXPECT_EQ(S(i), 0.0L);
  EXPECT_NEAR(static_cast<double>(Evaluate(X, U, 0.5L, S)), 1.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(Evaluate(X, U, 2.0L, S)), 2.5, 1e-15);
}

TEST(spline, QfunIsTheSlopeOfTheParabola) {
  // u(x) = 2x + 3x^2 seen from x = 0: slope 2.
  EXPECT_NEAR(static_cast<double>(Qfun(2 * 1.5L + 3 * 2.25L, 1.5L, 2 * -0.5L + 3 * 0.25L, -0.5L)),
              2.0, 1e-15);
}
