#include <gtest/gtest.h>

#include "gnss/GNSSLinCombs.h"
#include "gnss/mGNSSc.h"

TEST(GNSSLinCombs, GpsCombinationsInMetres) {
  GLC::SetGPS();
  const long double L1 = 1000.0L, L2 = 800.0L, P1 = 2.0e7L, P2 = 2.0e7L + 3.0L;
  const long double l1 = GPSc::lamb1, l2 = GPSc::lamb2;
  EXPECT_EQ(GNSS_L3(L1, L2), GPSc::LCion1 * l1 * L1 - GPSc::LCion2 * l2 * L2);
  EXPECT_EQ(GNSS_P3(P1, P2), GPSc::LCion1 * P1 - GPSc::LCion2 * P2);
  EXPECT_EQ(GNSS_P3R(P1, P2), 2.53125L * P1 - 1.53125L * P2);
  EXPECT_EQ(GNSS_L4(L1, L2), l1 * L1 - l2 * L2);
  EXPECT_EQ(GNSS_P4(P1, P2), 3.0L);
  EXPECT_NEAR(static_cast<double>(GNSS_L5(L1, L2)),
              static_cast<double>(77.0L / 17 * l1 * L1 - 60.0L / 17 * l2 * L2), 1e-12);
  EXPECT_NEAR(static_cast<double>(GNSS_NLP(P1, P2)),
              static_cast<double>(77.0L / 137 * P1 + 60.0L / 137 * P2), 1e-7);
  EXPECT_EQ(GNSS_MW(L1, L2, P1, P2), GNSS_L5(L1, L2) - GNSS_NLP(P1, P2));
  EXPECT_EQ(GNSS_CL1(P1, L1), P1 - l1 * L1);
  EXPECT_EQ(GNSS_CLI(P1, L1), P1 / 2 + l1 * L1 / 2);
}

TEST(GNSSLinCombs, IonosphereFreeCodeRemovesTheIonosphere) {
  GLC::SetGALILEO();
  const long double rho = 23456789.123L, I1 = 5.0L;  // first-order delay on E1, m
  const long double I2 = I1 * GALILEOc::alpha;
  EXPECT_NEAR(static_cast<double>(GNSS_P3(rho + I1, rho + I2)), static_cast<double>(rho), 1e-6);
  GLC::SetGPS();
}

TEST(GNSSLinCombs, MissingInputGivesMissingResult) {
  GLC::SetGPS();
  gnssobs L1, L2(800.0L, 1, 9);
  gnssobs r = GNSS_L3(L1, L2);
  EXPECT_TRUE(r.IsNull());
  EXPECT_EQ(r.GetObs(), 0.0L);
  gnssobs a(1000.0L, 1, 5);
  gnssobs l4 = GNSS_L4(a, L2);
  EXPECT_EQ(l4.GetObs(), GNSS_L4(1000.0L, 800.0L));
  EXPECT_EQ(l4.GetLLI(), 0);
  EXPECT_EQ(l4.GetSS(), 0);
  EXPECT_TRUE(GNSS_MW(a, L2, gnssobs(), gnssobs(2.0e7L)).IsNull());
}
