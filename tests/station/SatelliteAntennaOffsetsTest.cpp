// Satellite antenna offsets handed from the antenna calibrations to the precise orbit.
#include <gtest/gtest.h>

#include <string>

#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "station/SatelliteAntennaOffsets.h"
#include "station/antex.h"

TEST(SatelliteAntennaOffsets, CalibratedSatellitesGiveTheirOffsetOthersNone) {
  antex atx;
  const std::string file = std::string(TERVAN_TEST_DATA) + "/station/small.atx";
  atx.SetFile(file.c_str());
  atx.ReadFile();
  const SatelliteOffsetLookup lookup = SatelliteAntennaOffsets(atx);
  const mjd t(57023, 0.0L);  // 2015-01-01, inside the validity of G01
  neu offset(9, 9, 9);
  ASSERT_TRUE(lookup(1, t, 0, offset));
  EXPECT_NEAR(static_cast<double>(offset.GetN()), 0.279, 1e-12);
  EXPECT_NEAR(static_cast<double>(offset.GetE()), 0.0, 1e-12);
  EXPECT_NEAR(static_cast<double>(offset.GetU()), 2.25347, 1e-12);
  EXPECT_EQ(atx.GetAtxIndex(), 0);  // the look-up moved the selection
  // Before the satellite's validity and for a satellite without calibration: none.
  testing::internal::CaptureStdout();
  EXPECT_FALSE(lookup(1, mjd(48000, 0.0L), 0, offset));
  EXPECT_FALSE(lookup(2, t, 0, offset));
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("SATELLITE: 2 NOT FOUND IN ANTEX FILE - SETING ALL CALIBRATION PARAMETERS TO "
                     "ZERO!"),
            std::string::npos);
}
