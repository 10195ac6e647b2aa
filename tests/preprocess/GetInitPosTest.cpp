// Receiver properties: a-priori marker positions from the header or the coordinate
// file at the middle epoch, reference points from the eccentricities, baselines.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "../driver/DriverTestUtil.h"
#include "gnss/xyz_flh.h"
#include "preprocess/Tervan_GetInitPos.h"
#include "support/TestSupport.h"

namespace {

// Epochs on the first of January of the given years, header positions of BASE and
// ROVER about 10 km apart.
void SetContext(TervanC& tc, const std::vector<long>& years, const char* base, const char* rover) {
  tc.sdd.neph = static_cast<long>(years.size());
  tc.sdd.epoch.Resize(tc.sdd.neph, 1, mjd());
  for (long i = 0; i < tc.sdd.neph; ++i)
    tc.sdd.epoch(i) = mjd(51544 + std::lround((years[i] - 2000) * 365.25L), 0.0L);
  tc.sdh.SetMarkerName(0, base);
  tc.sdh.SetMarkerName(1, rover);
  tc.sdh.SetX0(0, xyz(4282000.0L, 1100000.0L, 4686000.0L));
  tc.sdh.SetX0(1, xyz(4276000.0L, 1108000.0L, 4690000.0L));
  tc.sdh.SetDp(0, neu());
  tc.sdh.SetDp(1, neu());
}

std::string Properties(TervanC& tc, std::string* err = nullptr) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  GetReceiverProperties(tc);
  const std::string e = testing::internal::GetCapturedStderr();
  if (err) *err = e;
  return testing::internal::GetCapturedStdout();
}

TEST(GetReceiverProperties, CoordinateFileGivesTheMarkerAtTheMiddleEpoch) {
  TervanC tc;
  SetContext(tc, {2020, 2021, 2022, 2023}, "BOVC", "RDVL");  // middle: index 1, 2021
  const std::string file = std::string(TERVAN_TEST_DATA) + "/station/aprcrd.txt";
  tc.acrd.SetFile(file.c_str());
  tc.isAprCrd = true;
  tc.sdh.SetDp(0, neu(0.0L, 0.0L, 1.5L));
  std::string err;
  const std::string out = Properties(tc, &err);
  // The file's 2010 position moved by its velocities over 11 years.
  const long double years = (tc.sdd.epoch(1).GetMJDDec() - 55197.0L) / 365.25L;
  EXPECT_NEAR(tc.RecPos0_BASE.GetX(), 4282000.1234L - 0.0150L * years, 1e-4L);
  EXPECT_NEAR(tc.RecPos0_BASE.GetY(), 1100000.2345L + 0.0170L * years, 1e-4L);
  EXPECT_NEAR(tc.RecPos0_BASE.GetZ(), 4686000.3456L + 0.0100L * years, 1e-4L);
  EXPECT_EQ(tc.RecPos0_ROVER, tc.sdh.GetX0(1));
  EXPECT_NE(err.find(drivertest::Warning("ROVER SITE NAME NOT LISTED IN APRIORI COORDINATE FILE - "
                                         "USING VALUES FROM SINGLE DIFFERENCES FILE!")),
            std::string::npos)
      << err;
  EXPECT_EQ(err.find("BASE SITE NAME"), std::string::npos);
  // The header's eccentricity lifts the reference point 1.5 m above the marker.
  EXPECT_NEAR(tc.RecPosFCG_BASE.GetH() - tc.RecPos0G_BASE.GetH(), 1.5L, 1e-6L);
  EXPECT_NEAR(tc.RecPosFCG_BASE.GetF(), tc.RecPos0G_BASE.GetF(), 1e-12L);
  EXPECT_NEAR(tc.Delta_RecPosFC.GetLength(), (tc.RecPosFC_ROVER - tc.RecPosFC_BASE).GetLength(),
              1e-9L);
  EXPECT_NE(out.find("                               BOVC   :     4282000."), std::string::npos)
      << out;
}

TEST(GetReceiverProperties, ZeroEccentricitiesKeepMarkersAndBaselines) {
  TervanC tc;
  SetContext(tc, {2020, 2020}, "SITA", "SITB");
  const std::string out = Properties(tc);
  EXPECT_EQ(tc.RecPosFC_BASE, tc.RecPos0_BASE);
  EXPECT_EQ(tc.RecPosFC_ROVER, tc.RecPos0_ROVER);
  EXPECT_EQ(tc.Delta_RecPosFC, tc.Delta_RecPos0);
  EXPECT_EQ(tc.Delta_RecPosEst, tc.Delta_RecPos0);
  EXPECT_EQ(tc.Delta_RecPos0, xyz(-6000.0L, 8000.0L, 4000.0L));
  EXPECT_NEAR(tc.RecMag_BASE, tc.sdh.GetX0(0).GetLength(), 1e-6L);
  EXPECT_NEAR(tc.RecPosUnit_ROVER.GetLength(), 1.0L, 1e-15L);
  EXPECT_NE(
      out.find("  A-priori BASELINE length            :\n  -------------------------------------\n"
               "        Physical stabilization        :       10770.3296 m\n"
               "       Antenna reference point        :       10770.3296 m\n"),
      std::string::npos)
      << out;
}

// The stage with its report thrown away (for death tests).
void Silently(TervanC& tc) {
  std::cout.rdbuf(nullptr);
  GetReceiverProperties(tc);
}

std::string NoPosition(const std::string& station) {
  return "\n" +
         drivertest::Error(station +
                           " HAS NO A-PRIORI POSITION: GIVE IT IN THE SINGLE DIFFERENCES HEADER "
                           "(XYZ POSITION, FILLED BY tervan-sdiff WITH --nav OR --sp3) OR IN AN "
                           "APRIORI COORDINATE FILE (-ac)!") +
         "\n";
}

// A station without a position in the header nor in the coordinate file has no
// geometry: the run ends naming it.
TEST(GetReceiverProperties, StationWithoutPositionEndsTheRun) {
  TervanC tc;
  SetContext(tc, {2020, 2020}, "SITA", "SITB");
  tc.sdh.SetX0(0, xyz());
  EXPECT_EXIT(Silently(tc), ::testing::ExitedWithCode(1),
              testsupport::Literal(NoPosition("BASE SITA")));
  // The coordinate file lists BOVC but not the ROVER: the header's zeros stay useless.
  SetContext(tc, {2020, 2020}, "BOVC", "RDVL");
  tc.sdh.SetX0(0, xyz());
  tc.sdh.SetX0(1, xyz());
  const std::string file = std::string(TERVAN_TEST_DATA) + "/station/aprcrd.txt";
  tc.acrd.SetFile(file.c_str());
  tc.isAprCrd = true;
  EXPECT_EXIT(Silently(tc), ::testing::ExitedWithCode(1),
              testsupport::Literal(NoPosition("ROVER RDVL")));
  // A listed station needs no header position.
  tc.sdh.SetX0(1, xyz(4276000.0L, 1108000.0L, 4690000.0L));
  Properties(tc);
  EXPECT_NEAR(tc.RecPos0_BASE.GetX(), 4282000.0L, 1.0L);
}

}  // namespace
