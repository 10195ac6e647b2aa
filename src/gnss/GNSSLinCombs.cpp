#include "gnss/GNSSLinCombs.h"

#include "gnss/mGNSSc.h"

namespace {

// a*x - b*y and a*x + b*y, in both forms; the gnssobs forms pass through the
// gnssobs operators so that a missing input propagates.
long double Diff(long double a, long double x, long double b, long double y) {
  return a * x - b * y;
}
gnssobs Diff(long double a, const gnssobs& x, long double b, const gnssobs& y) {
  return a * x - b * y;
}
long double Sum(long double a, long double x, long double b, long double y) {
  return a * x + b * y;
}
gnssobs Sum(long double a, const gnssobs& x, long double b, const gnssobs& y) {
  return a * x + b * y;
}

}  // namespace

#define TERVAN_LINCOMB(NAME, OP, A, B)                           \
  long double NAME(const long double& x, const long double& y) { \
    return OP(A, x, B, y);                                       \
  }                                                              \
  gnssobs NAME(const gnssobs& x, const gnssobs& y) {             \
    return OP(A, x, B, y);                                       \
  }

TERVAN_LINCOMB(GNSS_L3, Diff, GLC::LCion1* GLC::lamb1, GLC::LCion2* GLC::lamb2)
TERVAN_LINCOMB(GNSS_P3, Diff, GLC::LCion1, GLC::LCion2)
TERVAN_LINCOMB(GNSS_P3R, Diff, GLONASSc::LCion1, GLONASSc::LCion2)
TERVAN_LINCOMB(GNSS_L4, Diff, GLC::lamb1, GLC::lamb2)
TERVAN_LINCOMB(GNSS_L5, Diff, GLC::LCwl1* GLC::lamb1, GLC::LCwl2* GLC::lamb2)
TERVAN_LINCOMB(GNSS_P5, Diff, GLC::LCwl1, GLC::LCwl2)
TERVAN_LINCOMB(GNSS_NLL, Sum, GLC::LCnl1* GLC::lamb1, GLC::LCnl2* GLC::lamb2)
TERVAN_LINCOMB(GNSS_NLP, Sum, GLC::LCnl1, GLC::LCnl2)

#undef TERVAN_LINCOMB

long double GNSS_P4(const long double& P1, const long double& P2) {
  return P2 - P1;
}
gnssobs GNSS_P4(const gnssobs& P1, const gnssobs& P2) {
  return P2 - P1;
}

long double GNSS_MW(const long double& L1, const long double& L2, const long double& P1,
                    const long double& P2) {
  return GNSS_L5(L1, L2) - GNSS_NLP(P1, P2);
}
gnssobs GNSS_MW(const gnssobs& L1, const gnssobs& L2, const gnssobs& P1, const gnssobs& P2) {
  return GNSS_L5(L1, L2) - GNSS_NLP(P1, P2);
}

long double GNSS_CL1(const long double& C1, const long double& L1) {
  return C1 - GLC::lamb1 * L1;
}
gnssobs GNSS_CL1(const gnssobs& C1, const gnssobs& L1) {
  return C1 - GLC::lamb1 * L1;
}

long double GNSS_CLI(const long double& C1, const long double& L1) {
  return C1 / 2 + GLC::lamb1 * L1 / 2;
}
gnssobs GNSS_CLI(const gnssobs& C1, const gnssobs& L1) {
  return 0.5L * C1 + (GLC::lamb1 / 2) * L1;
}
