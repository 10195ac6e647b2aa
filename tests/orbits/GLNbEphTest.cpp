#include <gtest/gtest.h>

#include <cmath>

#include "NavFixture.h"
#include "orbits/GLNbEph.h"
#include "support/TestSupport.h"

namespace {
using navfixture::Rec;
using testsupport::TempDir;

// A GLONASS record of slot 3 at h:mi:s UTC on 2020-06-25.
Rec Glonass(int h, int mi, double s = 0, int slot = 3) {
  Rec r;
  r.sys = 'R';
  r.prn = slot;
  r.h = h;
  r.mi = mi;
  r.s = s;
  r.v = {6.3559e-5,     1e-12, 82800, 10908.9423828, 1.40780639648,  1e-9,  0, -2885.72607422,
         2.79585552216, -2e-9, 1,     22883.5395508, -0.31699848175, -3e-9, 0};
  return r;
}

class GLNbEphTest : public ::testing::Test {
 protected:
  void Read(const std::string& text) {
    const std::string name = dir.File("nav.g");
    testsupport::WriteFile(name, text);
    nav.SetFile(name.c_str());
    nav.ReadFile();
  }
  // GPS time of h:mi:s UTC of 2020-06-25 (GPS-UTC = 18 s).
  static mjd Gps(long double sec) { return mjd(59025, sec + 18); }
  TempDir dir;
  GLNbEph nav;
};

TEST_F(GLNbEphTest, ReadsHeaderAndRecordsInGpsTime) {
  Read(navfixture::HeaderGlonass2() + navfixture::Record2(Glonass(0, 15)) +
       navfixture::Record2(Glonass(0, 45)) + navfixture::Record2(Glonass(0, 15, 0, 9)));
  EXPECT_EQ(nav.GetNRecords(), 3);
  EXPECT_EQ(nav.GetNSat(), 2);
  EXPECT_NEAR(static_cast<double>(nav.GetHeader().GetTauC()), 1e-8, 1e-20);
  EXPECT_EQ(nav.GetHeader().GetRefTimeCorr().GetDay(), 25);
  EXPECT_EQ(nav.GetData().GetEpoch(1), Gps(45 * 60));
  EXPECT_EQ(nav.GetFreqChannel(3, Gps(2000)), 1.0L);
}

TEST_F(GLNbEphTest, PositionAtTheRecordEpochIsTheBroadcastState) {
  Read(navfixture::HeaderGlonass2() + navfixture::Record2(Glonass(0, 15)));
  mjd t = Gps(900);
  t += 1e-8L;  // TauC
  xyzt pos, vel;
  nav.CalcSatPosition(3, t, t, pos, vel, 0);
  EXPECT_EQ(nav.GetNSteps(), 0);
  EXPECT_NEAR(static_cast<double>(pos.GetX()), 10908942.3828, 1e-6);
  EXPECT_NEAR(static_cast<double>(vel.GetZ()), -316.99848175, 1e-9);
  // The clock is -TauN + TauC as broadcast: the periodic relativistic effect is
  // already part of it and no 2 (r.v)/c^2 is taken off (here 2.6e-9 s, 0.8 m).
  EXPECT_EQ(nav.GetRelativity(), 0.0L);
  EXPECT_NEAR(static_cast<double>(pos.GetT()), static_cast<double>(6.3559e-5L + 1e-8L), 1e-18);
}

// The file holds -TauN and +GammaN: the satellite clock runs ahead by GammaN for
// every second after the reference epoch.
TEST_F(GLNbEphTest, ClockDriftsWithTheRelativeFrequencyBias) {
  Rec r = Glonass(0, 15);
  r.v[1] = 2e-11;  // GammaN
  Read(navfixture::HeaderGlonass2() + navfixture::Record2(r));
  mjd t = Gps(900 + 600);
  t += 1e-8L;  // TauC
  xyzt pos, vel;
  nav.CalcSatPosition(3, t, t, pos, vel, 0);
  EXPECT_NEAR(static_cast<double>(pos.GetT()),
              static_cast<double>(6.3559e-5L + 2e-11L * 600 + 1e-8L), 1e-18);
}

TEST_F(GLNbEphTest, IntegrationSteps) {
  Read(navfixture::HeaderGlonass2() + navfixture::Record2(Glonass(0, 15)));
  mjd tb = Gps(900);
  tb += 1e-8L;
  xyzt pos, vel;
  mjd t = tb;
  t += 10.0L;
  nav.CalcSatPosition(3, t, t, pos, vel, 0);
  EXPECT_EQ(nav.GetNSteps(), 1);
  EXPECT_NEAR(static_cast<double>(nav.GetLastStep()), 10.0, 1e-9);
  t = tb;
  t += -95.0L;
  nav.CalcSatPosition(3, t, t, pos, vel, 0);
  EXPECT_EQ(nav.GetNSteps(), 4);
  EXPECT_NEAR(static_cast<double>(nav.GetLastStep()), -5.0, 1e-9);
  // Forward and back again returns to the broadcast state.
  xyzt back, vback;
  nav.CalcSatPosition(3, tb, t, back, vback, 0);
  EXPECT_NEAR(static_cast<double>(back.GetX()), 10908942.3828, 1e-6);
  // About 95 s of flight at some 3.14 km/s.
  EXPECT_NEAR(static_cast<double>((pos - back).GetLength()), 95 * 3.14e3, 3e3);
}

TEST_F(GLNbEphTest, EquationsOfMotion) {
  GLNbEph g;
  matrix<long double> x(6, 1, 0.0L), y;
  x(0) = 25.5e6L;
  x(4) = 3.9e3L;
  g.DiffEqTwoBody(x, 1e-6L, 2e-6L, 3e-6L, y);
  const long double mu = 3.9860044e14L, w = 7.292115e-5L, r = 25.5e6L;
  EXPECT_EQ(y(1), 3.9e3L);
  EXPECT_NEAR(
      static_cast<double>(y(3)),
      static_cast<double>(-mu / (r * r) +
                          1.5L * -1.08263e-3L * mu * 6378136.0L * 6378136.0L / (r * r * r * r) +
                          w * w * r + 2 * w * 3.9e3L + 1e-6L),
      1e-15);
  EXPECT_NEAR(static_cast<double>(y(5)), 3e-6, 1e-18);
}

TEST_F(GLNbEphTest, NotFullMinutesWarns) {
  testing::internal::CaptureStderr();
  Read(navfixture::HeaderGlonass2() + navfixture::Record2(Glonass(0, 15, 30)));
  EXPECT_NE(testing::internal::GetCapturedStderr().find(
                "#### Tervan: Warning -> GLONASS EPHEMERIS DATA: SATELLITE R03 EPOCH SECONDS  30.0 "
                "[NOT FULL MINUTES] ####"),
            std::string::npos);
  EXPECT_EQ(nav.GetData().GetEpoch(0), Gps(930));
}

TEST_F(GLNbEphTest, LightTimeAndPseudorangeAgree) {
  Read(navfixture::HeaderGlonass2() + navfixture::Record2(Glonass(0, 15)));
  const mjd t = Gps(1000);
  const xyz r(4075580.0L, 931854.0L, 4801568.0L);
  xyzt pos, vel;
  const long double rho = nav.CalcSatPosition(3, t, t, r, pos, vel, 0);
  gnssobs P;
  P = rho;
  xyzt pos2, vel2;
  // The emission position turned into the frame of the reception epoch gives the
  // same range as the receiver turned the other way.
  EXPECT_NEAR(static_cast<double>(nav.CalcSatPosition(3, t, t, r, pos2, vel2, 0, P)),
              static_cast<double>(rho), 1e-4);
}

TEST_F(GLNbEphTest, RecordsWithoutAPlausibleOrbitAreSkipped) {
  Rec centre = Glonass(0, 45), far = Glonass(1, 15);
  centre.v[3] = centre.v[7] = centre.v[11] = 0;  // x, y, z (km)
  far.v[3] = 1e9;
  testing::internal::CaptureStdout();
  Read(navfixture::HeaderGlonass2() + navfixture::Record2(Glonass(0, 15)) +
       navfixture::Record2(centre) + navfixture::Record2(far));
  const std::string skipped =
      "\n#### GLNbEphData: Warning -> RECORD OF SATELLITE R03 WITH IMPROPER ORBIT SKIPPED! "
      "####\n     Continuing GLNbEphData ... \n";
  EXPECT_EQ(testing::internal::GetCapturedStdout(), skipped + skipped);
  EXPECT_EQ(nav.GetNRecords(), 1);
}

TEST(GLNbEphDeath, FaultsEndTheRunInTheClassFrames) {
  TempDir dir;
  const std::string name = dir.File("nav.g");
  GLNbEph nav;
  nav.SetFile(name.c_str());
  testsupport::WriteFile(name, navfixture::HeaderGlonass2());
  EXPECT_EXIT_COUT(nav.ReadFile(),
                   "\n#### GLNbEphData: Error -> NUMBER OF RECORDS not set! ####\n"
                   "     Exiting GLNbEphData ... \n");
  testsupport::WriteFile(name, navfixture::HeaderGps2() + navfixture::Record2(Glonass(0, 15)));
  EXPECT_EXIT_COUT(nav.ReadFile(),
                   "\n#### GLNbEphData: Error -> RINEX NAVIGATION FILE OF GPS SATELLITES - RINEX "
                   "TYPE IS 'N'! ####\n     Exiting GLNbEphData ... \n");
  testsupport::WriteFile(name, navfixture::HeaderGlonass2() + navfixture::Record2(Glonass(0, 15)));
  nav.ReadFile();
  xyzt pos, vel;
  const mjd t(59025, 900.0L);
  EXPECT_EXIT_COUT(
      nav.CalcSatPosition(4, t, t, pos, vel, 0),
      "**** GLNbEph: Error -> SAT: R04 IS NOT LISTED IN GLONASS NAVIGATION FILE!!! ****\n"
      "     Exiting GLNbEph ... ");
}

}  // namespace
