#include <gtest/gtest.h>

#include <cmath>

#include "atmosphere/TropoFormulas.h"
#include "atmosphere/gTM_Hopfield.h"
#include "atmosphere/gTM_Saastamoinen.h"

namespace {
const long double kDeg = 3.141592653589793L / 180.0L;
}

TEST(gTM_Saastamoinen, SeaLevelUsesTheStandardAtmosphere) {
  gTM_Saastamoinen s;
  s.SetAtmParams(45.0L * kDeg, 0.0L);
  EXPECT_EQ(s.GetPressure(), 1013.25L);
  EXPECT_NEAR(s.GetTemperature(), 291.16L, 1e-15L);
  EXPECT_EQ(s.GetHumidity(), 50.0L);
  long double dry = 0.0L, wet = 0.0L;
  s.GetZenithDelay(dry, wet);
  // At 45 degrees the gravity factor is 1 at sea level.
  EXPECT_NEAR(dry, 0.002277L * 1013.25L, 1e-12L);
  EXPECT_NEAR(dry, 2.3071703L, 1e-6L);
  EXPECT_NEAR(wet, 0.002277L * (1255.0L / 291.16L + 0.05L) * s.GetVapourPressure(), 1e-12L);
  EXPECT_NEAR(s.GetVapourPressure(), 10.3L, 0.2L);  // half-saturated air at 18 degrees C
}

TEST(gTM_Saastamoinen, DelaysShrinkWithHeight) {
  gTM_Saastamoinen s;
  s.SetAtmParams(45.0L * kDeg, 1000.0L);
  long double dry = 0.0L, wet = 0.0L;
  s.GetZenithDelay(dry, wet);
  EXPECT_NEAR(s.GetPressure(), 899.18L, 0.01L);
  EXPECT_NEAR(s.GetTemperature(), 284.66L, 1e-12L);
  EXPECT_NEAR(dry, 0.002277L * s.GetPressure() / TropGravityFactor(45.0L * kDeg, 1000.0L), 1e-12L);
  EXPECT_LT(dry, 2.1L);
}

// Reference: Hopfield's delays from the standard atmosphere reduced to the station height,
// computed by hand (Hofmann-Wellenhof et al. 2008): at 2000 m P = 795.72 hPa, T = 278.15 K,
// e = 1.218 hPa give 1.8159 m hydrostatic and 0.0129 m wet; at sea level 2.3135 m and 0.1005 m.
TEST(gTM_Hopfield, ReducesTheStandardAtmosphereToTheStationHeight) {
  gTM_Hopfield hop;
  long double dry = 0.0L, wet = 0.0L;
  hop.SetAtmParams(45.0L * kDeg, 2000.0L);
  hop.GetZenithDelay(dry, wet);
  EXPECT_NEAR(dry, 1.8159L, 0.001L);  // the sea-level atmosphere gave 2.21 m
  EXPECT_NEAR(wet, 0.0129L, 0.0005L);
  hop.SetAtmParams(45.0L * kDeg, 0.0L);
  hop.GetZenithDelay(dry, wet);
  EXPECT_NEAR(dry, 1.55208e-5L * 1013.25L / 291.16L * (148.72L * 18.0L + 40136.0L), 1e-12L);
  EXPECT_NEAR(dry, 2.3135L, 0.002L);
  EXPECT_NEAR(wet, 0.1005L, 0.002L);
}
