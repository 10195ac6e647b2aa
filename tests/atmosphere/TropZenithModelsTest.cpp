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

TEST(gTM_Hopfield, UsesTheSeaLevelAtmosphereBesidesTheLayerHeight) {
  gTM_Hopfield hop;
  long double dry0 = 0.0L, wet0 = 0.0L, dry1 = 0.0L, wet1 = 0.0L;
  hop.SetAtmParams(45.0L * kDeg, 0.0L);
  hop.GetZenithDelay(dry0, wet0);
  EXPECT_NEAR(dry0, 1.55208e-5L * 1013.25L / 291.16L * (148.72L * 18.0L + 40136.0L), 1e-12L);
  EXPECT_NEAR(wet0, -0.0282L * 8.5L / 291.16L + 830.72L * 8.5L / (291.16L * 291.16L), 1e-15L);
  hop.SetAtmParams(45.0L * kDeg, 2000.0L);
  hop.GetZenithDelay(dry1, wet1);
  // Only the layer height (through the temperature) and the gravity factor change.
  const long double g = TropGravityFactor(45.0L * kDeg, 2000.0L);
  EXPECT_NEAR(dry1 * g / dry0, (148.72L * 5.0L + 40136.0L) / (148.72L * 18.0L + 40136.0L), 1e-15L);
  EXPECT_NEAR(wet1 * g, wet0, 1e-15L);
}
