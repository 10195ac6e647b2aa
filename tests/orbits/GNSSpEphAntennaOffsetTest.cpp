// Shifting precise orbit positions to the satellite antenna phase centres.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Sp3Fixture.h"
#include "gnss/GNSSSatBasis.h"
#include "orbits/GNSSpEph.h"
#include "orbits/LuniSolarPosition.h"
#include "support/TestSupport.h"

namespace {

class GNSSpEphAntennaOffset : public ::testing::Test {
 protected:
  void SetUp() override {
    sp3fixture::Sp3 f;
    f.epochs = sp3fixture::Epochs(4, 900);
    testsupport::WriteFile(dir.File("orbit.sp3"), f.Text());
    eph.SetFile(dir.File("orbit.sp3").c_str());
    eph.ReadFile();
    before = eph;
  }
  xyz Shift(long rec) { return eph.GetSatPos(rec).GetXYZ() - before.GetSatPos(rec).GetXYZ(); }
  testsupport::TempDir dir;
  GNSSpEph eph, before;
};

// GPS: only a radial offset; GLONASS: one across the orbit too; Galileo: none known.
bool Lookup(short sat, const mjd&, short frequency, neu& offset) {
  if (sat == 1 && frequency == 0) offset = neu(0, 0, 1.5L);
  if (sat == 105 && frequency == 2) offset = neu(0.5L, 0.2L, 2.0L);
  return sat < 200;
}

}  // namespace

TEST_F(GNSSpEphAntennaOffset, RadialOffsetMovesTowardTheEarthsCentre) {
  eph.ApplyAntennaOffset(Lookup, false);
  for (long i = 0; i < 4; i++) {
    const long rec = i * 3;
    const xyz p = before.GetSatPos(rec).GetXYZ();
    EXPECT_NEAR(static_cast<double>(Shift(rec).GetLength()), 1.5, 1e-9);
    EXPECT_NEAR(static_cast<double>(eph.GetSatPos(rec).GetXYZ().GetLength()),
                static_cast<double>(p.GetLength() - 1.5L), 1e-9);
    EXPECT_EQ(eph.GetSatPos(rec).GetT(), before.GetSatPos(rec).GetT());
  }
}

TEST_F(GNSSpEphAntennaOffset, OffsetsAcrossTheOrbitUseUnitBodyAxes) {
  eph.ApplyAntennaOffset(Lookup, false);
  const long rec = 2 * 3 + 1;
  xyz sun;
  long double dist;
  LuniSolarPosition().SunPosition(eph.GetMJD(2), sun, dist);
  xyz X, Y, Z;
  GNSSSatBasis(X, Y, Z, before.GetSatPos(rec), dist * sun);
  const xyz s = Shift(rec);
  EXPECT_NEAR(static_cast<double>(s.GetLength()), std::sqrt(0.25 + 0.04 + 4.0), 1e-9);
  EXPECT_NEAR(static_cast<double>(s * X), 0.5, 1e-9);
  EXPECT_NEAR(static_cast<double>(s * Y), 0.2, 1e-9);
  EXPECT_NEAR(static_cast<double>(s * Z), 2.0, 1e-9);
}

TEST_F(GNSSpEphAntennaOffset, OtherSystemsAreLeftAndMissingOffsetsWarn) {
  auto none = [](short, const mjd&, short, neu&) { return false; };
  testing::internal::CaptureStdout();
  eph.ApplyAntennaOffset(none, true);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("SATELLITE PHASE CENTER OFFSET NOT FOUND IN ANTEX FILE: PRN:   1"),
            std::string::npos);
  EXPECT_NE(out.find("SATELLITE PHASE CENTER OFFSET NOT FOUND IN ANTEX FILE: PRN: 105"),
            std::string::npos);
  EXPECT_EQ(out.find("PRN: 211"), std::string::npos);
  EXPECT_NE(out.find("   0. "), std::string::npos);
  EXPECT_NE(out.find("   3. "), std::string::npos);
  for (long rec = 0; rec < 12; rec++) EXPECT_EQ(Shift(rec).GetLength(), 0.0L);
}
