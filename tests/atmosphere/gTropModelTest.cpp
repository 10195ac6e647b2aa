#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "atmosphere/gMF_Niell.h"
#include "atmosphere/gTM_Saastamoinen.h"
#include "atmosphere/gTropModel.h"
#include "support/TestSupport.h"

namespace {

const long double kDeg = 3.141592653589793L / 180.0L;

struct Result {
  long double tdry, twet, mfdry, mfwet;
};

Result Evaluate(gTropModel& tm, const flh& pos, const mjd& t, long double E,
                const char* station = "GRAZ") {
  gTropDelay td;
  tm.SetPoint(station);
  tm.SetAtmParams(pos);
  tm.GetZenithDelay(td, pos, t);
  tm.GetMappFunction(td, pos, t, E);
  return {td.ZenithDelayDry(), td.ZenithDelayWet(), td.MappFunDry(), td.MappFunWet()};
}

std::string Names(const gTropModel& tm) {
  char model[64], mf[64];
  tm.GetTropModel(model);
  tm.GetTropMappF(mf);
  return std::string(model) + "|" + mf;
}

}  // namespace

TEST(gTropDelay, StartsAsZeroDelayWithUnitMapping) {
  gTropDelay td;
  EXPECT_EQ(td.Delay(), 0.0L);
  EXPECT_EQ(td.MappFunDry(), 1.0L);
  EXPECT_EQ(td.MappFunWet(), 1.0L);
  td.SetZenithDelay(2.3L, 0.1L);
  td.SetMappFunction(2.0L, 3.0L);
  EXPECT_EQ(td.DelayDry(), 4.6L);
  EXPECT_NEAR(td.DelayWet(), 0.3L, 1e-18L);
  EXPECT_NEAR(td.Delay(), 4.9L, 1e-18L);
}

TEST(gTropModel, DefaultsToSaastamoinenWithNiell) {
  gTropModel tm;
  EXPECT_EQ(Names(tm), "Saastamoinen|Niell");
  const flh pos(47.07L * kDeg, 15.49L * kDeg, 538.0L);
  const mjd t(58000, 43200.0L);
  const Result r = Evaluate(tm, pos, t, 20.0L * kDeg);

  gTM_Saastamoinen saas;
  saas.SetAtmParams(pos.GetF(), pos.GetH());
  long double dry = 0.0L, wet = 0.0L;
  saas.GetZenithDelay(dry, wet);
  EXPECT_EQ(r.tdry, dry);
  EXPECT_EQ(r.twet, wet);
  gMF_Niell niell;
  niell.SetAtmParams(pos.GetF(), pos.GetH());
  long double mdry = 0.0L, mwet = 0.0L;
  niell.GetMappFunction(58000, pos.GetH(), 20.0L * kDeg, mdry, mwet);
  EXPECT_EQ(r.mfdry, mdry);
  EXPECT_EQ(r.mfwet, mwet);
}

TEST(gTropModel, PrintsTheNamesOfEveryChoice) {
  gTropModel tm;
  const char* models[] = {"Saastamoinen", "Hopfield", "GPT", "GPT2", "VIENNA"};
  const char* mfs[] = {"Niell", "Chao", "Davis", "Marini", "UNB3", "VMF1", "GPT2"};
  for (short m = 0; m < 5; m++) {
    tm.SetTropModel(m);
    tm.SetMappFunction(static_cast<short>(m + 2));
    EXPECT_EQ(Names(tm), std::string(models[m]) + "|" + mfs[m + 2]);
  }
  tm.SetMappFunction(0);
  EXPECT_EQ(Names(tm), "VIENNA|Niell");
}

TEST(gTropModel, InvalidCodesFallBackWithAWarning) {
  gTropModel tm;
  testing::internal::CaptureStdout();
  tm.SetTropModel(5);
  tm.SetMappFunction(-1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "#### gTropModel: Warning -> TROPOSPHERE MODEL NOT SET CORRECTLY - USING DEFAULT: "
            "SAASTAMOINEN! ####\n     Continuing gTropModel ... \n"
            "#### gTropModel: Warning -> TROPOSPHERE MAPPING FUNCTION NOT SET CORRECTLY - USING "
            "DEFAULT: NIELL! ####\n     Continuing gTropModel ... \n");
  EXPECT_EQ(tm.GetTropModelCode(), 0);
  EXPECT_EQ(tm.GetMappFunctionCode(), 0);
}

// Niell at the station, for comparison with the fallbacks.
Result NiellAt(const flh& pos, long mjday, long double E) {
  gMF_Niell niell;
  niell.SetAtmParams(pos.GetF(), pos.GetH());
  Result r{};
  niell.GetMappFunction(mjday, pos.GetH(), E, r.mfdry, r.mfwet);
  return r;
}

TEST(gTropModel, GptMappingWithoutGptDelaysFallsBackToNiellOnce) {
  gTropModel tm;
  tm.SetTropModel(gTMns::HOPFIELD);
  tm.SetMappFunction(gTMns::GPT2MF);
  const flh pos(47.07L * kDeg, 15.49L * kDeg, 0.0L);
  const long double E = 10.0L * kDeg;
  testing::internal::CaptureStdout();
  const Result r = Evaluate(tm, pos, mjd(58000, 0.0L), E);
  Evaluate(tm, pos, mjd(58000, 30.0L), E, "WTZR");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "#### gTropModel: Warning -> GPT2 MAPPING FUNCTION WITHOUT GPT2 TROPOSPHERE MODEL - "
            "USING NIELL! ####\n     Continuing gTropModel ... \n");
  // Not 1/sin E (5.76 at 10 degrees), which would add 0.44 m of slant delay.
  EXPECT_EQ(r.mfdry, NiellAt(pos, 58000, E).mfdry);
  EXPECT_EQ(r.mfwet, NiellAt(pos, 58000, E).mfwet);
  EXPECT_GT(r.tdry, 2.0L);
}

TEST(gTropModel, ModelFileGoesToEverySelectedModel) {
  testsupport::TempDir dir;
  const std::string path = dir.File("site.vmf1");
  testsupport::WriteFile(path,
                         "GRAZ zh 2 58000 0 2.30 58001 0 2.40\nGRAZ zw 1 58000 0 0.12\n"
                         "GRAZ ah 1 58000 0 0.00121\nGRAZ aw 1 58000 0 0.00055\n");
  gTropModel tm;
  tm.SetTropModel(gTMns::VMF1TM);
  tm.SetMappFunction(gTMns::VMF1);
  tm.SetFile(path.c_str());
  tm.ReadFile();
  const flh pos(47.07L * kDeg, 15.49L * kDeg, 538.0L);
  testing::internal::CaptureStdout();
  const Result r = Evaluate(tm, pos, mjd(58000, 43200.0L), 90.0L * kDeg);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_NEAR(r.tdry, 2.35L, 1e-12L);
  EXPECT_NEAR(r.twet, 0.12L, 1e-15L);
  EXPECT_NEAR(r.mfdry, 1.0L, 1e-15L);
  // A station missing from the file: Saastamoinen and Niell for it, one warning however
  // many epochs; the station of the file keeps its values.
  testing::internal::CaptureStdout();
  const Result m = Evaluate(tm, pos, mjd(58000, 43200.0L), 30.0L * kDeg, "WTZR");
  for (int epoch = 1; epoch < 4; epoch++) {
    Evaluate(tm, pos, mjd(58000, 43200.0L + 30 * epoch), 30.0L * kDeg, "WTZR");
    EXPECT_NEAR(Evaluate(tm, pos, mjd(58000, 43200.0L), 90.0L * kDeg).tdry, 2.35L, 1e-12L);
  }
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "#### gTropModel: Warning -> VMF1 ZENITH DELAYS AND COEFFICIENTS A FOR POINT WTZR NOT "
            "IN FILE " +
                path +
                " - USING SAASTAMOINEN AND NIELL FOR THIS POINT! ####\n"
                "     Continuing gTropModel ... \n");
  gTM_Saastamoinen saas;
  saas.SetAtmParams(pos.GetF(), pos.GetH());
  long double dry = 0.0L, wet = 0.0L;
  saas.GetZenithDelay(dry, wet);
  EXPECT_EQ(m.tdry, dry);  // 2.3 m that were missing
  EXPECT_EQ(m.twet, wet);
  EXPECT_EQ(m.mfdry, NiellAt(pos, 58000, 30.0L * kDeg).mfdry);
  EXPECT_EQ(m.mfwet, NiellAt(pos, 58000, 30.0L * kDeg).mfwet);
}

TEST(gTropModel, SiteFileWithoutTheCoefficientsOfAStationFallsBackToNiellForIt) {
  testsupport::TempDir dir;
  const std::string path = dir.File("site.vmf1");
  testsupport::WriteFile(path, "GRAZ ah 1 58000 0 0.00121\nGRAZ aw 1 58000 0 0.00055\n");
  gTropModel tm;
  tm.SetTropModel(gTMns::SAASTAMOINEN);
  tm.SetMappFunction(gTMns::VMF1);
  tm.SetFile(path.c_str());
  tm.ReadFile();
  const flh pos(49.14L * kDeg, 12.88L * kDeg, 666.0L);
  const long double E = 10.0L * kDeg;
  testing::internal::CaptureStdout();
  const Result r = Evaluate(tm, pos, mjd(58000, 0.0L), E, "WTZR");
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("VMF1 COEFFICIENTS A FOR POINT WTZR NOT IN FILE " + path +
                     " - USING NIELL FOR THIS POINT!"),
            std::string::npos)
      << out;
  EXPECT_EQ(r.mfdry, NiellAt(pos, 58000, E).mfdry);
  EXPECT_NE(Evaluate(tm, pos, mjd(58000, 0.0L), E, "GRAZ").mfdry, r.mfdry);
}

TEST(gTropModel, GptMappingUsesTheCoefficientsOfTheGpt2Delays) {
  const std::string path = testsupport::SharedData("models/gpt2_5.grd");
  if (path.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  gTropModel tm;
  tm.SetTropModel(gTMns::GPT2);
  tm.SetMappFunction(gTMns::GPT2MF);
  tm.SetFile(path.c_str());
  tm.ReadFile();
  const flh pos(49.1442L * kDeg, 12.8789L * kDeg, 666.0L);
  const Result r = Evaluate(tm, pos, mjd(59025, 0.0L), 5.0L * kDeg);
  EXPECT_NEAR(r.tdry, 2.15L, 0.05L);
  // At five degrees the mapping functions are close to ten.
  EXPECT_NEAR(r.mfdry, 10.1L, 0.3L);
  EXPECT_NEAR(r.mfwet, 10.6L, 0.4L);
  const Result zenith = Evaluate(tm, pos, mjd(59025, 0.0L), 90.0L * kDeg);
  EXPECT_NEAR(zenith.mfdry, 1.0L, 1e-15L);
}
