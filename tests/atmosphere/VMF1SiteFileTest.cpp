#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "atmosphere/gMF_VMF1.h"
#include "atmosphere/gTM_VMF1.h"
#include "support/TestSupport.h"

namespace {

// Two stations; GRAZ has all four rows, the hydrostatic delay at three epochs 6 h apart.
const char* const kSiteFile =
    "# VMF1 site values\n"
    "GRAZ zh 3 58000 0 2.300 58000 21600 2.320 58000 43200 2.310 trailing words\n"
    "GRAZ zw 2 58000 0 0.100 58000 43200 0.140\n"
    "GRAZ ah 2 58000 0 0.00120 58000 43200 0.00124\n"
    "GRAZ AW 1 58000 0 0.00056\n"
    " indented line is a comment 1 2 3\n"
    "WTZR ZH 1 58000 0 2.200\n";

std::string WriteSiteFile(const testsupport::TempDir& dir, const std::string& text) {
  const std::string path = dir.File("sites.vmf1");
  testsupport::WriteFile(path, text);
  return path;
}

}  // namespace

TEST(gTM_VMF1, InterpolatesLinearlyAndHoldsTheEndValues) {
  testsupport::TempDir dir;
  gTM_VMF1 vmf;
  vmf.SetFile(WriteSiteFile(dir, kSiteFile).c_str());
  vmf.ReadFile();
  EXPECT_EQ(vmf.GetNPoints(), 5);
  vmf.SetPoint("GRAZ");
  long double dry = 0.0L, wet = 0.0L;
  vmf.GetZenithDelay(58000.0L, dry, wet);  // at the first epoch
  EXPECT_NEAR(dry, 2.300L, 1e-15L);
  EXPECT_NEAR(wet, 0.100L, 1e-15L);
  vmf.GetZenithDelay(58000.125L, dry, wet);  // half-way between the first two epochs
  EXPECT_NEAR(dry, 2.310L, 1e-12L);
  EXPECT_NEAR(wet, 0.110L, 1e-12L);
  vmf.GetZenithDelay(57999.0L, dry, wet);  // before the first epoch
  EXPECT_NEAR(dry, 2.300L, 1e-15L);
  vmf.GetZenithDelay(58000.5L, dry, wet);  // at the last epoch
  EXPECT_NEAR(dry, 2.310L, 1e-15L);
  EXPECT_NEAR(wet, 0.140L, 1e-15L);
  vmf.GetZenithDelay(58003.0L, dry, wet);  // beyond it: no extrapolation
  EXPECT_NEAR(dry, 2.310L, 1e-15L);
  EXPECT_NEAR(wet, 0.140L, 1e-15L);
}

TEST(gTM_VMF1, MissingRowsGiveZeroAndTheFileDoesNotServeThePoint) {
  testsupport::TempDir dir;
  gTM_VMF1 vmf;
  vmf.SetFile(WriteSiteFile(dir, kSiteFile).c_str());
  vmf.ReadFile();
  vmf.SetPoint("GRAZ");
  EXPECT_TRUE(vmf.Serves());
  vmf.SetPoint("WTZR");
  EXPECT_FALSE(vmf.Serves());
  long double dry = 0.0L, wet = 1.0L;
  vmf.GetZenithDelay(58000.2L, dry, wet);
  EXPECT_NEAR(dry, 2.2L, 1e-15L);  // the upper-case label counts too
  EXPECT_EQ(wet, 0.0L);
  vmf.SetPoint("graz");  // names match exactly
  EXPECT_FALSE(vmf.Serves());
  vmf.GetZenithDelay(58000.2L, dry, wet);
  EXPECT_EQ(dry, 0.0L);
}

TEST(gMF_VMF1, UsesTheCoefficientRowsOfThePoint) {
  testsupport::TempDir dir;
  gMF_VMF1 vmf;
  const std::string path = WriteSiteFile(dir, kSiteFile);
  vmf.SetFile(path.c_str());
  vmf.ReadFile();
  vmf.SetPoint("GRAZ");
  EXPECT_TRUE(vmf.Serves());
  const long double lat = 0.82L, h = 500.0L, E = 0.2L;
  long double dry = 0.0L, wet = 0.0L, dry2 = 0.0L, wet2 = 0.0L;
  vmf.GetMappFunction(58000.25L, 58000, lat, h, E, dry, wet);
  vmf.vmf1_ht(0.00122L, 0.00056L, 58000, lat, h, E, dry2, wet2);
  EXPECT_NEAR(dry, dry2, 1e-13L);
  EXPECT_NEAR(wet, wet2, 1e-15L);

  vmf.SetPoint("WTZR");
  EXPECT_FALSE(vmf.Serves());
  // Without coefficients the hydrostatic function is 1/sin E plus the height term.
  vmf.GetMappFunction(58000.25L, 58000, lat, h, E, dry, wet);
  EXPECT_NEAR(wet, 1.0L / std::sin(E), 1e-15L);
  EXPECT_GT(dry, 1.0L / std::sin(E));
}

TEST(gTM_VMF1DeathTest, RowsWithMissingOrUnorderedValuesStopTheProgram) {
  testsupport::TempDir dir;
  gTM_VMF1 vmf;
  vmf.SetFile(WriteSiteFile(dir, "GRAZ zh 3 58000 0 2.3 58000 600 2.4\n").c_str());
  EXPECT_EXIT_COUT(vmf.ReadFile(),
                   "**** gTM_VMF1: Error -> ERROR READING VMF1 TROPOSPHERE MODEL FILE (MISSING OR "
                   "UNORDERED VALUES IN LINE 1)! ****\n     Exiting gTM_VMF1 ... ");
  vmf.SetFile(WriteSiteFile(dir, "#\nGRAZ zh 2 58000 600 2.3 58000 0 2.4\n").c_str());
  EXPECT_EXIT_COUT(vmf.ReadFile(), "(MISSING OR UNORDERED VALUES IN LINE 2)!");
  vmf.SetFile(WriteSiteFile(dir, "GRAZ zh -2\n").c_str());
  EXPECT_EXIT_COUT(vmf.ReadFile(), "(NEGATIVE COUNT IN LINE 1)!");
}

TEST(gTM_VMF1DeathTest, CountsBeyondTheValuesOfTheLineStopTheProgram) {
  testsupport::TempDir dir;
  gTM_VMF1 vmf;
  vmf.SetFile(WriteSiteFile(dir, "GRAZ zh 99999999999 58000 0 2.3\n").c_str());
  EXPECT_EXIT_COUT(vmf.ReadFile(), "(MISSING OR UNORDERED VALUES IN LINE 1)!");
  vmf.SetFile(WriteSiteFile(dir, "GRAZ zh 4000000000000000000 58000 0 2.3\n").c_str());
  EXPECT_EXIT_COUT(vmf.ReadFile(), "(MISSING OR UNORDERED VALUES IN LINE 1)!");
}

TEST(gTM_VMF1DeathTest, TablesTooLargeForMemoryStopTheProgram) {
  // One row of 10000 values beside 5001 rows of one value would need room for 50 million.
  std::string text = "LONG zh 10000";
  for (int k = 0; k < 10000; k++) text += " 58000 " + std::to_string(k) + " 2.3";
  text += "\n";
  for (int k = 0; k < 5000; k++) text += "P" + std::to_string(k) + " zw 1 58000 0 0.1\n";
  testsupport::TempDir dir;
  gMF_VMF1 vmf;
  vmf.SetFile(WriteSiteFile(dir, text).c_str());
  EXPECT_EXIT_COUT(vmf.ReadFile(),
                   "**** gMF_VMF1: Error -> VMF1 TROPOSPHERE MODEL FILE TOO LARGE (5001 ROWS OF UP "
                   "TO 10000 VALUES)! ****\n     Exiting gMF_VMF1 ... ");
}
