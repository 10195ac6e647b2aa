#include <gtest/gtest.h>

#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"

TEST(mGNSSc, CarrierConstants) {
  EXPECT_NEAR(static_cast<double>(GPSc::lamb0), 29.305225610948192, 1e-14);
  EXPECT_NEAR(static_cast<double>(GPSc::lamb1), 0.19029367279836488, 1e-16);
  EXPECT_NEAR(static_cast<double>(GPSc::lamb2), 0.24421021342456826, 1e-16);
  EXPECT_NEAR(static_cast<double>(GPSc::lamb5), 0.25482804879085384, 1e-16);
  EXPECT_NEAR(static_cast<double>(GPSc::lamWL), 0.86191840032200564, 1e-15);
  EXPECT_NEAR(static_cast<double>(GPSc::lamNL), 0.10695337814214668, 1e-16);
  EXPECT_NEAR(static_cast<double>(GPSc::LCion1), 2.5457277801631601, 1e-15);
  EXPECT_NEAR(static_cast<double>(GPSc::LCion2), 1.5457277801631601, 1e-15);
  EXPECT_NEAR(static_cast<double>(GPSc::LCnl1), 0.56204379562043794, 1e-16);
  EXPECT_NEAR(static_cast<double>(GPSc::alpha), 1.6469444444444448, 1e-15);
  EXPECT_NEAR(static_cast<double>(GPSc::f1_f2), 1.2833333333333334, 1e-15);
  EXPECT_NEAR(static_cast<double>(GLONASSc::lamb10), 0.18713636579275905, 1e-16);
  EXPECT_NEAR(static_cast<double>(GLONASSc::lamb20), 0.24060389887640449, 1e-16);
  EXPECT_NEAR(static_cast<double>(GLONASSc::lamb3), 0.24940617541232503, 1e-16);
  EXPECT_NEAR(static_cast<double>(GLONASSc::alpha), 1.6530612244897960, 1e-15);
  EXPECT_NEAR(static_cast<double>(GALILEOc::lamb2), 0.24834936958430671, 1e-16);
  EXPECT_NEAR(static_cast<double>(GALILEOc::lamb8), 0.25154700095234499, 1e-16);
  EXPECT_NEAR(static_cast<double>(GALILEOc::lamWL), 0.81403404474856088, 1e-15);
  EXPECT_NEAR(static_cast<double>(GALILEOc::lamNL), 0.10773980004025070, 1e-16);
  EXPECT_NEAR(static_cast<double>(GALILEOc::LCion1), 2.4219771241830061, 1e-15);
  EXPECT_NEAR(static_cast<double>(GALILEOc::LCion2), 1.4219771241830066, 1e-15);
  EXPECT_NEAR(static_cast<double>(GALILEOc::alpha), 1.7032461936225225, 1e-15);
  EXPECT_NEAR(static_cast<double>(GALILEOc::f1_f2), 1.3050847457627119, 1e-15);
}

TEST(mGNSSc, SetFrequencyFillsOneSlotRow) {
  GLONASSc::SetFrequency(-7, 0);
  EXPECT_EQ(GLONASSc::freq(0, 0), 1598062500.0L);
  EXPECT_EQ(GLONASSc::freq(0, 1), 1242937500.0L);
  EXPECT_EQ(GLONASSc::lamb(0, 0), 299792458.0L / 1598062500.0L);
  long double l1 = GLONASSc::lamb(0, 0), l2 = GLONASSc::lamb(0, 1);
  EXPECT_EQ(GLONASSc::lambWL(0), l1 * l2 / (l2 - l1));
  EXPECT_EQ(GLONASSc::lambNL(0), l1 * l2 / (l2 + l1));
  long double r = 1575420000.0L / 1598062500.0L;
  EXPECT_EQ(GLONASSc::alphaG(0, 0), r * r);
  GLONASSc::SetFrequency(0, 31);
  EXPECT_EQ(GLONASSc::freq(31, 0), 1602000000.0L);
  EXPECT_EQ(GLONASSc::lamb(31, 1), GLONASSc::lamb20);
  EXPECT_EQ(GLONASSc::SatLambda(132, 0), GLONASSc::lamb10);
  EXPECT_EQ(GLONASSc::SatLambda(133, 0), 0.0L);  // beyond the table: unknown
}

TEST(mGNSSc, CurrentCoefficientsFollowTheSystem) {
  GLONASSc::SetFrequency(1, 4);
  GLC::SetForSatellite(105, true);
  EXPECT_EQ(GLC::LCion1, 2.53125L);
  EXPECT_EQ(GLC::lamb1, GLONASSc::lamb(4, 0));
  GLC::SetForSatellite(211, true);
  EXPECT_EQ(GLC::lamb2, GALILEOc::lamb2);
  EXPECT_EQ(GLC::LCwl1, 77.0L / 18);
  GLC::SetForSatellite(211, false);
  EXPECT_EQ(GLC::lamb2, GPSc::lamb2);
  EXPECT_EQ(GLC::LCnl2, 60.0L / 137);
}

TEST(SatelliteNumbering, SystemsByHundreds) {
  EXPECT_TRUE(satnum::IsGPS(32));
  EXPECT_FALSE(satnum::IsGPS(0));
  EXPECT_TRUE(satnum::IsGLONASS(124));
  EXPECT_FALSE(satnum::IsGLONASS(100));
  EXPECT_TRUE(satnum::IsGALILEO(236));
  EXPECT_TRUE(satnum::IsBEIDOU(301));
  EXPECT_EQ(satnum::SystemLetter(105), 'R');
  EXPECT_EQ(satnum::NumberInSystem(211), 11);
}
