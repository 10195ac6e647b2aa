#include <gtest/gtest.h>

#include <cmath>

#include "atmosphere/GPTCoefficients.h"
#include "atmosphere/TropoFormulas.h"
#include "atmosphere/gTM_GPT.h"

namespace {
const long double kDeg = 3.141592653589793L / 180.0L;
}

TEST(gTM_GPT, TablesStartWithThePublishedValues) {
  EXPECT_EQ(gptns::aG[0], -0.56195L);
  EXPECT_EQ(gptns::aG[4], -0.036997L);
  EXPECT_EQ(gptns::apM[0], 1010.8L);
  EXPECT_EQ(gptns::apM[3], -13.897L);
  EXPECT_EQ(gptns::atM[1], 2.1224L);
  EXPECT_EQ(gptns::atM[3], -25.974L);
  // The sine tables have no order-0 terms; the last term of each table closes degree 9.
  for (const long double* b : {gptns::bG, gptns::bpM, gptns::bpA, gptns::btM, gptns::btA}) {
    EXPECT_EQ(b[0], 0.0L);
    EXPECT_EQ(b[1], 0.0L);
  }
  EXPECT_EQ(gptns::btA[40], -8.2461E-05L);
  EXPECT_EQ(gptns::aG[54], -2.4185E-08L);
  EXPECT_EQ(gptns::btA[54], -9.2323E-09L);
}

// Official test case of the IERS Conventions routine (Green Bank, MJD 55055).
TEST(gTM_GPT, ReproducesTheIersTestCase) {
  gTM_GPT gpt;
  gpt.SetAtmParams(0.6708665767L, -1.393397187L, 812.546L);
  EXPECT_NEAR(gpt.GetPressure(55055), 918.0710638757363995L, 1e-9L);
  EXPECT_NEAR(gpt.GetTemperature(55055), 19.31914181012882992L, 1e-9L);
  EXPECT_NEAR(gpt.GetUndulation(), -42.19185643717770517L, 1e-9L);
}

TEST(gTM_GPT, ReproducesIndependentChecksInFrance) {
  gTM_GPT gpt;
  gpt.SetAtmParams(43.59L * kDeg, 1.49L * kDeg, 140.0L);
  EXPECT_NEAR(gpt.GetPressure(58492), 1010.2749L, 0.00005L);
  EXPECT_NEAR(gpt.GetTemperature(58492), 7.3311L, 0.00005L);
  gpt.SetAtmParams(42.94L * kDeg, 0.14L * kDeg, 2877.0L);
  EXPECT_NEAR(gpt.GetPressure(58492), 723.33L, 0.01L);
  EXPECT_NEAR(gpt.GetTemperature(58492), -9.88L, 0.01L);
}

TEST(gTM_GPT, ZenithDelaysFollowTheModelledPressureAndTemperature) {
  gTM_GPT gpt;
  const long double lat = 46.0L * kDeg, h = 300.0L;
  gpt.SetAtmParams(lat, 14.5L * kDeg, h);
  long double dry = 0.0L, wet = 0.0L;
  gpt.GetZenithDelay(58000, dry, wet);
  EXPECT_NEAR(dry, 0.002277L * gpt.GetPressure(58000) / TropGravityFactor(lat, h), 1e-15L);
  EXPECT_GT(wet, 0.05L);
  EXPECT_LT(wet, 0.2L);
  // The fraction of the day plays no part: the delays change from one day to the next only.
  long double dry2 = 0.0L, wet2 = 0.0L;
  gpt.GetZenithDelay(58183, dry2, wet2);
  EXPECT_NE(dry, dry2);
}
