#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "NavFixture.h"
#include "orbits/GLNbEph.h"
#include "orbits/GPSbEph.h"
#include "support/TestSupport.h"

namespace {
using navfixture::Rec;
using testsupport::TempDir;

// A Keplerian record of PRN prn with clock epoch h:mi on 2020-06-25 (week 2111,
// Thursday) and Toe at the same epoch.
Rec Kepler(int prn, int h, int mi = 0, char sys = 'G') {
  Rec r;
  r.sys = sys;
  r.prn = prn;
  r.h = h;
  r.mi = mi;
  const double toe = 4 * 86400.0 + h * 3600.0 + mi * 60.0;
  r.v = {1e-4,   1e-11, 0,    10,  20.5,  4.5e-9, 0.5,    1e-6,    0.01,  2e-6,
         5153.7, toe,   1e-7, 1.0, -1e-7, 0.96,   200.25, 0.3,     -8e-9, 1e-10,
         1,      2111,  0,    2,   0,     5e-9,   7e-9,   toe - 30};
  return r;
}

class GPSbEphTest : public ::testing::Test {
 protected:
  void Read(const std::string& text, char sys = 'G') {
    const std::string name = dir.File("nav");
    testsupport::WriteFile(name, text);
    nav.SetFile(name.c_str());
    nav.SetSystem(sys);
    nav.ReadFile();
  }
  TempDir dir;
  GPSbEph nav;
};

TEST_F(GPSbEphTest, ReadsHeaderAndRecordsOfVersion2) {
  Read(navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4)) +
       navfixture::Record2(Kepler(5, 6)) + navfixture::Record2(Kepler(12, 4)));
  EXPECT_EQ(nav.GetNRecords(), 3);
  EXPECT_EQ(nav.GetNSat(), 2);
  EXPECT_EQ(nav.GetData().GetSatList(1), 12);
  EXPECT_EQ(nav.GetData().GetEpoch(1), mjd(59025, 6 * 3600.0L));
  EXPECT_NEAR(static_cast<double>(nav.GetData().GetData(1, 10)), 5153.7, 1e-9);
  EXPECT_NEAR(static_cast<double>(nav.GetHeader().GetAlfa(2)), -5.96e-8, 1e-20);
  EXPECT_NEAR(static_cast<double>(nav.GetHeader().GetBeta(0)), 88060.0, 1e-9);
  EXPECT_NEAR(static_cast<double>(nav.GetHeader().GetA0()), -2.79396772385e-9, 1e-21);
  EXPECT_EQ(nav.GetHeader().GetT(), 61440);
  EXPECT_EQ(nav.GetHeader().GetW(), 1061);
  EXPECT_EQ(nav.GetHeader().GetLeapSeconds(), 18);
  EXPECT_STREQ(nav.GetHeader().GetType(), "N: GPS NAV DATA");
}

TEST_F(GPSbEphTest, UnknownHeaderLabelWarns) {
  std::string text = navfixture::HeaderGps2();
  text.insert(0, navfixture::Label("     2.10           N: GPS NAV DATA", "RINEX VERSION / TYPE") +
                     navfixture::Label("", "MY OWN LABEL"));
  testing::internal::CaptureStdout();
  Read(text + navfixture::Record2(Kepler(5, 4)));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\n#### GPSbEphHeader: Warning -> MY OWN LABEL -> UNKNOWN HEADER LABEL ####\n"
            "     Continuing GPSbEphHeader ... \n");
}

TEST_F(GPSbEphTest, RecordSelection) {
  Read(navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 6)) +
       navfixture::Record2(Kepler(5, 4)) + navfixture::Record2(Kepler(5, 10)));
  // Records in file order 06:00, 04:00, 10:00.
  EXPECT_EQ(nav.GetDataIndex(5, mjd(59025, 3600.0L)), 1);      // before the first
  EXPECT_EQ(nav.GetDataIndex(5, mjd(59025, 5 * 3600.0L)), 1);  // exactly in the middle
  EXPECT_EQ(nav.GetDataIndex(5, mjd(59025, 5 * 3600.0L + 1)), 0);
  EXPECT_EQ(nav.GetDataIndex(5, mjd(59025, 6 * 3600.0L)), 0);
  EXPECT_EQ(nav.GetDataIndex(5, mjd(59025, 8 * 3600.0L)), 0);   // middle of 06:00 and 10:00
  EXPECT_EQ(nav.GetDataIndex(5, mjd(59025, 23 * 3600.0L)), 2);  // after the last
}

// A Galileo record is fitted for the time after its reference epoch: the latest
// record not later than the epoch is used, the first one before any; GPS above
// keeps the nearest.
TEST_F(GPSbEphTest, GalileoRecordSelectionLooksBack) {
  const std::string text = navfixture::HeaderMixed3() + navfixture::Record3(Kepler(11, 6, 0, 'E')) +
                           navfixture::Record3(Kepler(11, 4, 0, 'E')) +
                           navfixture::Record3(Kepler(11, 6, 10, 'E')) +
                           navfixture::Record3(Kepler(11, 10, 0, 'E'));
  Read(text, 'E');
  // Records in file order 06:00, 04:00, 06:10, 10:00.
  EXPECT_EQ(nav.GetDataIndex(11, mjd(59025, 3600.0L)), 1);  // before the first
  EXPECT_EQ(nav.GetDataIndex(11, mjd(59025, 4 * 3600.0L)), 1);
  EXPECT_EQ(nav.GetDataIndex(11, mjd(59025, 5 * 3600.0L + 1)), 1);    // not the nearer 06:00
  EXPECT_EQ(nav.GetDataIndex(11, mjd(59025, 6 * 3600.0L + 540)), 0);  // not the nearer 06:10
  EXPECT_EQ(nav.GetDataIndex(11, mjd(59025, 6 * 3600.0L + 600)), 2);
  EXPECT_EQ(nav.GetDataIndex(11, mjd(59025, 9 * 3600.0L + 3000)), 2);  // a gap: 06:10
  EXPECT_EQ(nav.GetDataIndex(11, mjd(59025, 23 * 3600.0L)), 3);        // after the last
}

TEST_F(GPSbEphTest, CircularOrbitAndClock) {
  Rec r = Kepler(5, 4);
  for (int k : {4, 5, 7, 8, 9, 12, 14, 16, 19}) r.v[k] = 0;  // no perturbations, e = 0
  Read(navfixture::HeaderGps2() + navfixture::Record2(r));
  const mjd t(59025, 4 * 3600.0L + 1000);
  xyzt pos;
  long double tgd = 0;
  nav.CalcSatPosition(5, t, t, pos, &tgd, 1, 0);
  const long double A = 5153.7L * 5153.7L, n = std::sqrt(3.986005e14L / (A * A * A));
  const long double u = 0.5L + n * 1000 + 0.3L, w = 7.2921151467e-5L;
  const long double Om = 1.0L + (-8e-9L - w) * 1000 - w * 360000;
  const long double i = 0.96L;
  EXPECT_NEAR(static_cast<double>(pos.GetLength()), static_cast<double>(A), 1e-6);
  EXPECT_NEAR(static_cast<double>(pos.GetX()),
              static_cast<double>(
                  A * (std::cos(u) * std::cos(Om) - std::sin(u) * std::cos(i) * std::sin(Om))),
              1e-6);
  EXPECT_NEAR(static_cast<double>(pos.GetZ()), static_cast<double>(A * std::sin(u) * std::sin(i)),
              1e-6);
  EXPECT_NEAR(static_cast<double>(pos.GetT()), 1e-4 + 1e-11 * 1000, 1e-19);
  EXPECT_EQ(nav.GetRelativity(), 0.0L);
  EXPECT_NEAR(static_cast<double>(tgd), 5e-9, 1e-21);
}

TEST_F(GPSbEphTest, OrbitRefersToToeWhenTheClockEpochDiffers) {
  Rec a = Kepler(5, 4), b = Kepler(5, 3, 59);
  b.s = 44;  // clock epoch 03:59:44, Toe still 04:00:00
  b.v[11] = a.v[11];
  const std::string name = dir.File("b.nav");
  testsupport::WriteFile(name, navfixture::HeaderGps2() + navfixture::Record2(b));
  GPSbEph other;
  other.SetFile(name.c_str());
  other.ReadFile();
  Read(navfixture::HeaderGps2() + navfixture::Record2(a));
  const mjd t(59025, 4.5L * 3600);
  xyzt pa, pb;
  nav.CalcSatPosition(5, t, t, pa, nullptr, 0, 0);
  other.CalcSatPosition(5, t, t, pb, nullptr, 0, 0);
  EXPECT_NEAR(static_cast<double>(pa.GetX()), static_cast<double>(pb.GetX()), 1e-6);
  EXPECT_NEAR(static_cast<double>(pa.GetZ()), static_cast<double>(pb.GetZ()), 1e-6);
  EXPECT_NEAR(static_cast<double>(pb.GetT() - pa.GetT()), 1e-11 * 16, 1e-18);
}

TEST_F(GPSbEphTest, EpochFarFromTheRecordWarnsAndStillComputes) {
  Read(navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4)));
  const mjd t(59025, 6 * 3600.0L + 1200);  // 2 h 20 min after the record
  xyzt pos;
  testing::internal::CaptureStderr();
  nav.CalcSatPosition(5, t, t, pos, nullptr, 1, 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("#### Tervan: Warning -> GPS BROADCAST EPHEMERIS: CALCULATION EPOCH NOT IN "
                     "VALID INTERVAL (2H) WITH RESPECT TO EPOCHS OF DATA! ####"),
            std::string::npos);
  EXPECT_NE(err.find("#### Tervan: Warning -> SAT: G05 [2020-06-25 06:20:00.0] -> DT =  2.33 h "
                     "PARAMETER TO BIG [>2h] ####"),
            std::string::npos);
  EXPECT_GT(pos.GetLength(), 2.5e7L);
  testing::internal::CaptureStderr();
  nav.CalcSatPosition(5, t, t, pos, nullptr, 0, 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr().find("PARAMETER TO BIG"), std::string::npos);
  // 2 h 10 min: only the warning of the record's two hours.
  const mjd t2(59025, 6 * 3600.0L + 600);
  testing::internal::CaptureStderr();
  nav.CalcSatPosition(5, t2, t2, pos, nullptr, 1, 0);
  const std::string err2 = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err2.find("NOT IN VALID INTERVAL"), std::string::npos);
  EXPECT_NE(err2.find("SAT: G05 [2020-06-25 06:10:00.0] -> DT =  2.17 h"), std::string::npos);
}

TEST_F(GPSbEphTest, LightTimeAndPseudorangeForms) {
  Read(navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4)));
  const mjd t(59025, 4 * 3600.0L + 500);
  const xyz r(4075580.0L, 931854.0L, 4801568.0L);
  xyzt pos;
  const long double rho = nav.CalcSatPosition(5, t, t, r, pos, nullptr, 0, 0);
  // The satellite at the emission epoch against the receiver turned by the Earth.
  const long double tau = rho / 299792458.0L;
  mjd te = t;
  te += -tau;
  xyzt at;
  nav.CalcSatPosition(5, te, t, at, nullptr, 0, 0);
  EXPECT_EQ(at.GetX(), pos.GetX());
  const long double a = 7.2921151467e-5L * tau;
  const xyz turned(r.GetX() * std::cos(a) - r.GetY() * std::sin(a),
                   r.GetX() * std::sin(a) + r.GetY() * std::cos(a), r.GetZ());
  EXPECT_NEAR(static_cast<double>((turned - at).GetLength()), static_cast<double>(rho), 1e-5);
  gnssobs P;
  P = rho;
  xyzt pos2;
  EXPECT_NEAR(static_cast<double>(nav.CalcSatPosition(5, t, t, r, pos2, nullptr, 0, 0, P)),
              static_cast<double>(rho), 1e-5);
}

TEST_F(GPSbEphTest, MixedVersion3FileGivesEachSystemItsRecords) {
  Rec glo;
  glo.sys = 'R';
  glo.prn = 3;
  glo.h = 0;
  glo.mi = 15;
  glo.v = {-6e-5, 0, 82800, 10908.9, 1.4, 0, 0, -2885.7, 2.79, 0, 1, 22883.5, -0.317, 0, 0};
  Rec gal = Kepler(11, 4, 10, 'E');
  gal.v[25] = 1.5e-9;  // BGD E5a/E1
  gal.v[26] = 2.5e-9;  // BGD E5b/E1
  Rec bds = Kepler(6, 4, 0, 'C');
  const std::string text = navfixture::HeaderMixed3() + navfixture::Record3(Kepler(5, 4)) +
                           navfixture::Record3(gal) + navfixture::Record3(glo) +
                           navfixture::Record3(bds) + navfixture::Record3(Kepler(7, 6));
  Read(text);
  EXPECT_EQ(nav.GetNRecords(), 2);
  EXPECT_TRUE(nav.HasSat(5));
  EXPECT_TRUE(nav.HasSat(7));
  EXPECT_FALSE(nav.HasSat(6));
  EXPECT_NEAR(static_cast<double>(nav.GetHeader().GetAlfa(1)), 1.4901e-8, 1e-20);
  EXPECT_NEAR(static_cast<double>(nav.GetHeader().GetA0()), 9.3132257462e-10, 1e-21);
  GPSbEph galileo;
  const std::string name = dir.File("nav");
  galileo.SetFile(name.c_str());
  galileo.SetSystem('E');
  galileo.ReadFile();
  EXPECT_EQ(galileo.GetNRecords(), 1);
  EXPECT_TRUE(galileo.HasSat(11));
  const mjd t(59025, 4 * 3600.0L + 600);
  xyzt pos;
  long double bgd = 0;
  galileo.CalcSatPosition(11, t, t, pos, &bgd, 0, 0);
  EXPECT_NEAR(static_cast<double>(bgd), 2.5e-9, 1e-21);
  EXPECT_NEAR(static_cast<double>(pos.GetT()), 1e-4, 5e-8);
  GLNbEph glonass;
  glonass.SetFile(name.c_str());
  glonass.ReadFile();
  EXPECT_EQ(glonass.GetNRecords(), 1);
  EXPECT_TRUE(glonass.HasSat(3));
  // GLONASS epochs are UTC: 00:15:00 UTC is 00:15:18 GPS time.
  EXPECT_EQ(glonass.GetData().GetEpoch(0), mjd(59025, 918.0L));
}

TEST(GPSbEphDeath, FaultsEndTheRunInTheClassFrames) {
  TempDir dir;
  const std::string name = dir.File("nav");
  GPSbEph nav;
  nav.SetFile(name.c_str());
  testsupport::WriteFile(name, navfixture::HeaderGps2());
  EXPECT_EXIT_COUT(nav.ReadFile(),
                   "\n#### GPSbEphData: Error -> NUMBER OF RECORDS not set! ####\n"
                   "     Exiting GPSbEphData ... \n");
  testsupport::WriteFile(name, navfixture::HeaderGlonass2() + navfixture::Record2(Kepler(5, 4)));
  EXPECT_EXIT_COUT(nav.ReadFile(),
                   "\n#### GPSbEphData: Error -> RINEX NAVIGATION FILE OF GLONASS SATELLITES - "
                   "RINEX TYPE IS 'G'! ####\n     Exiting GPSbEphData ... \n");
  testsupport::WriteFile(name, navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4)));
  nav.ReadFile();
  const mjd t(59025, 4 * 3600.0L);
  xyzt pos;
  EXPECT_EXIT_COUT(nav.CalcSatPosition(7, t, t, pos, nullptr, 0, 0),
                   "**** GPSbEph: Error -> SAT: G07 IS NOT LISTED IN GPS NAVIGATION FILE!!! ****\n"
                   "     Exiting GPSbEph ... ");
  Rec slow = Kepler(5, 4);  // fixed-point iteration crawls for e near 1 and M near 0
  slow.v[8] = 0.999;
  slow.v[6] = 1e-3;
  slow.v[5] = 0;
  testsupport::WriteFile(name, navfixture::HeaderGps2() + navfixture::Record2(slow));
  nav.ReadFile();
  EXPECT_EXIT_COUT(nav.CalcSatPosition(5, t, t, pos, nullptr, 0, 0),
                   "**** GPSbEph: Error -> TO MANY ITERATIONS (E) ****");
  std::string cut = navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4));
  cut.replace(cut.find(" 5 20  6 25  4  0  0.0"), 22, " 5 20 13 25  4  0  0.0");
  testsupport::WriteFile(name, cut);
  EXPECT_EXIT_COUT(nav.ReadFile(), "#### GPSbEphData: Error -> IMPROPER RECORD EPOCH:");
}

TEST(GPSbEphData, RecordWithoutAnOrbitIsSkipped) {
  TempDir dir;
  const std::string name = dir.File("nav");
  Rec bad = Kepler(5, 6);
  bad.v[8] = 1.5;  // no ellipse
  Rec far = Kepler(5, 8);
  far.v[10] = 1e30;  // square root of the semi-major axis (m^0.5)
  testsupport::WriteFile(name, navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4)) +
                                   navfixture::Record2(bad) + navfixture::Record2(far));
  GPSbEph nav;
  nav.SetFile(name.c_str());
  testing::internal::CaptureStdout();
  nav.ReadFile();
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\n#### GPSbEphData: Warning -> RECORD OF SATELLITE G05 WITH IMPROPER ORBIT SKIPPED! "
            "####\n     Continuing GPSbEphData ... \n"
            "\n#### GPSbEphData: Warning -> RECORD OF SATELLITE G05 WITH IMPROPER ORBIT SKIPPED! "
            "####\n     Continuing GPSbEphData ... \n");
  EXPECT_EQ(nav.GetNRecords(), 1);
}

TEST(GPSbEphData, IncompleteLastRecordIsSkipped) {
  TempDir dir;
  const std::string name = dir.File("nav");
  std::string text = navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4)) +
                     navfixture::Record2(Kepler(5, 6));
  text.resize(text.size() - 200);
  testsupport::WriteFile(name, text);
  GPSbEph nav;
  nav.SetFile(name.c_str());
  testing::internal::CaptureStdout();
  nav.ReadFile();
  EXPECT_NE(testing::internal::GetCapturedStdout().find("INCOMPLETE RECORD AT THE END OF FILE"),
            std::string::npos);
  EXPECT_EQ(nav.GetNRecords(), 1);
}

// A record whose mean motion moves the satellite at nearly the speed of light
// keeps the light-time iteration from settling: the class says so and keeps the
// last result.
TEST_F(GPSbEphTest, LightTimeThatDoesNotSettleWarnsInTheClassFrame) {
  Rec fast = Kepler(5, 4);
  fast.v[5] = 11.0;  // mean motion correction (rad/s)
  Read(navfixture::HeaderGps2() + navfixture::Record2(fast));
  const mjd t(59025, 4 * 3600.0L + 500);
  xyzt pos;
  testing::internal::CaptureStdout();
  const long double rho =
      nav.CalcSatPosition(5, t, t, xyz(4075580.0L, 931854.0L, 4801568.0L), pos, nullptr, 0, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\n#### GPSbEph: Warning -> GPSbEph::CalcSatPosition():      TO MANY ITERATIONS: > "
            "10!! ####\n     Continuing GPSbEph ... \n");
  EXPECT_GT(rho, 0);
}
TEST_F(GPSbEphTest, PrintedParametersOfTheOrbit) {
  Read(navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4)));
  const mjd t(59025, 4 * 3600.0L);
  xyzt pos;
  testing::internal::CaptureStdout();
  nav.CalcSatPosition(5, t, t, pos, nullptr, 0, 1);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.substr(0, out.find('\n') + 1),
            "GPSbEph::          A:          2.656062369000000e+07\n");
  GLNbEph glonass;
  testing::internal::CaptureStdout();
  glonass.PrintParameter("x0", -1.5L);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "GLNbEph::         x0:         -1.500000000000000e+00\n");
}

}  // namespace

TEST(GPSbEphDeath, MalformedRecordValueNamesColumnsAndLine) {
  TempDir dir;
  const std::string name = dir.File("nav");
  std::string text = navfixture::HeaderGps2() + navfixture::Record2(Kepler(5, 4));
  const size_t p = text.find(" 5 20  6 25  4  0  0.0");
  text.replace(p + 22, 19, "       not a number");
  testsupport::WriteFile(name, text);
  GPSbEph nav;
  nav.SetFile(name.c_str());
  const long lineNo = std::count(text.begin(), text.begin() + p, '\n') + 1;
  EXPECT_EXIT_COUT(nav.ReadFile(),
                   "#### GPSbEphData: Error -> MALFORMED NUMBER IN COLUMNS 23-41 OF "
                   "LINE " +
                       std::to_string(lineNo) +
                       " OF RINEX NAVIGATION FILE: 5 20  6 25  4  0  0.0       "
                       "not a number");
}
