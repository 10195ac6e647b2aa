#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "atmosphere/IonKlobuchar.h"
#include "support/TestSupport.h"

namespace {

const char* const kHeader =
    "     2.10           N: GPS NAV DATA                         RINEX VERSION / TYPE\n"
    "teqc  2002Mar14     GSI                 20050402 00:00:00UTCPGM / RUN BY / DATE\n"
    "just a remark about INTERVAL and ION ALPHA                  COMMENT\n"
    "    0.1118D-07 -0.7451D-08 -0.5960D-07  0.1192D-06          ION ALPHA\n"
    "    0.1167D+06 -0.2294D+06 -0.1311D+06  0.1049D+07          ION BETA\n"
    "   -0.931322574615D-09-0.177635683940D-14   405504     1316 DELTA-UTC: A0,A1,T,W\n"
    "    13                                                      LEAP SECONDS\n"
    "                                                            END OF HEADER\n"
    " 1 05  4  2  0  0  0.0 0.123456789012D-03 0.454747350886D-11 0.000000000000D+00\n";

const double kC = 299792458.0;
const double kPi = 3.141592653589793;

IonKlobuchar Read(const std::string& text) {
  IonKlobuchar k;
  std::istringstream in(text);
  in >> k;
  return k;
}

}  // namespace

TEST(IonKlobuchar, ReadsTheCoefficientsOfTheHeader) {
  const IonKlobuchar k = Read(kHeader);
  EXPECT_NEAR(k.GetAlfa()[0], 0.1118e-7L, 1e-20L);
  EXPECT_NEAR(k.GetAlfa()[1], -0.7451e-8L, 1e-20L);
  EXPECT_NEAR(k.GetAlfa()[3], 0.1192e-6L, 1e-20L);
  EXPECT_NEAR(k.GetBeta()[0], 0.1167e6L, 1e-9L);
  EXPECT_NEAR(k.GetBeta()[3], 0.1049e7L, 1e-8L);
  EXPECT_NEAR(k.GetA0(), -0.931322574615e-9L, 1e-21L);
  EXPECT_NEAR(k.GetA1(), -0.177635683940e-14L, 1e-26L);
  EXPECT_EQ(k.GetT(), 405504);
  EXPECT_EQ(k.GetW(), 1316);
  EXPECT_EQ(k.GetLeaps(), 13);
  EXPECT_FLOAT_EQ(k.GetVersion(), 2.10f);
  EXPECT_STREQ(k.GetType(), "N: GPS NAV DATA");
}

TEST(IonKlobuchar, WarnsAboutUnknownLabelsAndGoesOn) {
  testing::internal::CaptureStdout();
  const IonKlobuchar k = Read(
      "     2.10           N: GPS NAV DATA                         RINEX VERSION / TYPE\n"
      "some text                                                   MARKER NAME\n"
      "    0.1118D-07 -0.7451D-08 -0.5960D-07  0.1192D-06          ION ALPHA\n");
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "#### IonKlobuchar: Warning -> MARKER NAME -> UNKNOWN HEADER LABEL ####\n"
            "     Continuing IonKlobuchar ... \n");
  EXPECT_NEAR(k.GetAlfa()[2], -0.5960e-7L, 1e-20L);
}

TEST(IonKlobucharDeathTest, OtherFileTypesStopTheProgram) {
  EXPECT_EXIT_COUT(
      Read("     2.10           O                                       RINEX VERSION / TYPE\n"),
      "\n**** Klobuchar iono: Error -> FILE VERSION IS NOT \"NAVIGATION DATA\"!! ****\n"
      "     Exiting Klobuchar iono ... \n");
}

TEST(IonKlobuchar, NightTimeGivesTheConstantFloor) {
  const IonKlobuchar k = Read(kHeader);
  // At zenith the obliquity factor is 1 + 16 (0.53 - 0.5)^3.
  const double F = 1.0 + 16.0 * 0.03 * 0.03 * 0.03;
  for (double azim : {0.0, 90.0, 200.0})
    EXPECT_NEAR(k.CalcIonDelay(46.0, 14.5, 90.0, azim, 3600.0), F * 5e-9 * kC, 1e-9) << azim;
  // At low elevation the floor grows with the obliquity factor.
  const double E = 10.0 / 180.0;
  EXPECT_NEAR(k.CalcIonDelay(46.0, 14.5, 10.0, 0.0, 3600.0),
              (1.0 + 16.0 * std::pow(0.53 - E, 3)) * 5e-9 * kC, 1e-9);
}

TEST(IonKlobuchar, AfternoonPeakAtZenith) {
  const IonKlobuchar k = Read(kHeader);
  // Station on the equator at longitude 0 looking up, 14:00 local time: the cosine term is 1.
  const double psi = 0.0137 / 0.61 - 0.022;
  const double fm = psi + 0.064 * std::cos(-1.617 * kPi);
  const double amp = 0.1118e-7 - 0.7451e-8 * fm - 0.5960e-7 * fm * fm + 0.1192e-6 * fm * fm * fm;
  const double F = 1.0 + 16.0 * 0.03 * 0.03 * 0.03;
  EXPECT_NEAR(k.CalcIonDelay(0.0, 0.0, 90.0, 0.0, 50400.0), F * (5e-9 + amp) * kC, 1e-9);
  EXPECT_GT(k.CalcIonDelay(0.0, 0.0, 90.0, 0.0, 50400.0),
            k.CalcIonDelay(0.0, 0.0, 90.0, 0.0, 43200.0));
}

TEST(IonKlobuchar, EmptyModelGivesTheFloorEverywhere) {
  const IonKlobuchar k;
  const double F = 1.0 + 16.0 * 0.03 * 0.03 * 0.03;
  EXPECT_NEAR(k.CalcIonDelay(10.0, 20.0, 90.0, 0.0, 50400.0), F * 5e-9 * kC, 1e-9);
}

TEST(IonKlobuchar, ReadsTheGpsCorrectionsOfARinex3Header) {
  const IonKlobuchar k = Read(
      "     3.04           N: GNSS NAV DATA    M: MIXED            RINEX VERSION / TYPE\n"
      "GAL    2.5250D+01  3.2031D-01  1.1902D-02  0.0000D+00       IONOSPHERIC CORR\n"
      "GPSA   1.1176D-08 -1.4901D-08 -5.9605D-08  1.1921D-07       IONOSPHERIC CORR\n"
      "GPSB   1.1674D+05 -2.2938D+05 -1.3107D+05  1.0486D+06       IONOSPHERIC CORR\n"
      "                                                            END OF HEADER\n");
  EXPECT_NEAR(k.GetAlfa()[0], 1.1176e-8L, 1e-20L);
  EXPECT_NEAR(k.GetAlfa()[1], -1.4901e-8L, 1e-20L);
  EXPECT_NEAR(k.GetAlfa()[3], 1.1921e-7L, 1e-20L);
  EXPECT_NEAR(k.GetBeta()[0], 1.1674e5L, 1e-9L);
  EXPECT_NEAR(k.GetBeta()[3], 1.0486e6L, 1e-8L);
}

TEST(IonKlobucharDeathTest, CoefficientsBeyondDoublePrecisionStopTheProgram) {
  EXPECT_EXIT_COUT(Read("    0.1118D400 -0.7451D-08 -0.5960D-07  0.1192D-06          ION ALPHA\n"),
                   "**** Klobuchar iono: Error -> KLOBUCHAR COEFFICIENTS NOT VALID! ****\n"
                   "     Exiting Klobuchar iono ... \n");
}
