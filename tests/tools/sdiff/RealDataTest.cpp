// Conversions of the real station pairs of the shared data folder.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "../../orbits/ProductSplit.h"
#include "atmosphere/gMF_Niell.h"
#include "atmosphere/gTM_Saastamoinen.h"
#include "gnss/SatAzimuthZenit.h"
#include "gnss/elipsoid.h"
#include "gnss/flh.h"
#include "gnss/xyz_flh.h"
#include "orbits/GNSSpEph.h"
#include "orbits/GPSbEph.h"
#include "sdiff/PhsDiff.h"
#include "sdiff/PhsDiffData.h"
#include "sdiff/PhsDiffHeader.h"
#include "sdiff/Tool.h"
#include "tools/sdiff/TestHelpers.h"

namespace {

constexpr long double kC = 299792458.0L;

struct Converted {
  PhsDiffHeader head;
  PhsDiffData data{head};
};

// Converts a pair and reads the result with the program's reader; the summary line
// goes to `summary` when given.
void Convert(const std::vector<std::string>& args, Converted& sd, std::string* summary = nullptr) {
  testing::internal::CaptureStdout();
  ASSERT_EQ(SdRun(args), 0);
  const std::string out = testing::internal::GetCapturedStdout();
  if (summary) *summary = out;
  PhsDiff reader(sd.head, sd.data);
  reader.SetFile(args[5].c_str());
  reader.ReadFile();
}

// Troposphere delay of a station toward a satellite (Saastamoinen, Niell) and the
// elevation [rad].
long double Troposphere(const xyz& station, const xyzt& sat, long mjdDay, long double& elev) {
  static const elipsoid ell(elipsoidns::WGS84);
  long double azim;
  SatelliteAzimuthElevation(station, sat, ell, elev, azim);
  flh g = xyz2flh(station, ell);
  gTM_Saastamoinen saast;
  saast.SetAtmParams(g.GetF(), g.GetH());
  long double zd, zw, md, mw;
  saast.GetZenithDelay(zd, zw);
  gMF_Niell niell;
  niell.SetAtmParams(g.GetF(), g.GetH());
  niell.GetMappFunction(mjdDay, g.GetH(), elev, md, mw);
  return zd * md + zw * mw;
}

// RMS of code single differences minus the geometric single differences (header
// positions, light time toward each station, troposphere) minus the receiver clock
// difference, above 15 degrees at both stations. The mean of each system is removed
// first: the receivers' inter-system biases differ.
// range(sat, t, station, satellite) gives the range at reception time t [m] and
// the satellite position and clock, or a negative number.
using RangeFunction = std::function<long double(short, const mjd&, const xyz&, xyzt&)>;

long double CodeRms(Converted& sd, const RangeFunction& range) {
  const xyz b = sd.head.GetX0(0), r = sd.head.GetX0(1);
  long double sum[3] = {0, 0, 0}, sum2[3] = {0, 0, 0};
  long n[3] = {0, 0, 0}, rec = 0;
  for (long ep = 0; ep < sd.data.GetNEpoch(); ++ep) {
    mjd tb = sd.data.GetMJD(ep);
    mjd tr = tb;
    tr += sd.data.dtR_B(ep);
    tb += -sd.data.clkErB(ep);
    tr += -sd.data.clkErR(ep);
    for (short k = 0; k < sd.data.GetNSatEpoch(ep); ++k, ++rec) {
      const gnssobs& c1 = sd.data.C1(rec);
      if (c1.IsNull()) continue;
      xyzt pb, pr;
      long double rb = range(sd.data.GetRecSat(rec), tb, b, pb);
      long double rr = range(sd.data.GetRecSat(rec), tr, r, pr);
      if (rb < 0 || rr < 0) continue;
      long double eb, er;
      long day = static_cast<long>(tb.GetMJDay());
      long double trop = Troposphere(r, pr, day, er) - Troposphere(b, pb, day, eb);
      if (eb < 0.2618L || er < 0.2618L) continue;
      long double res = c1.GetObs() - (rr - rb) - trop -
                        kC * (sd.data.clkErR(ep) - sd.data.clkErB(ep)) +
                        kC * (pr.GetT() - pb.GetT());
      const int s = sd.data.GetRecSat(rec) / 100;
      sum[s] += res;
      sum2[s] += res * res;
      ++n[s];
    }
  }
  long double total = 0.0L;
  long count = 0;
  for (int s = 0; s < 3; ++s) {
    if (n[s] == 0) continue;
    total += sum2[s] - sum[s] * sum[s] / n[s];
    count += n[s];
  }
  EXPECT_GT(count, 500);
  return std::sqrt(total / count);
}

}  // namespace

TEST(SdRealData, EsbcWtzrWithPreciseOrbitsAndClocks) {
  std::string dir = testsupport::SharedData("esbc-wtzr-2020177");
  if (dir.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  testsupport::TempDir tmp;
  Converted sd;
  std::string summary;
  Convert({"--base", dir + "/ESBC00DNK_R_20201770000_01D_30S_MO.crx.gz", "--rover",
           dir + "/WTZR00DEU_R_20201770000_01D_30S_MO_120epoch.rnx", "--out", tmp.File("sd.txt"),
           "--sp3", dir + "/GRG0MGXFIN_20201770000_01D_15M_ORB.SP3", "--clk",
           dir + "/GRG0MGXFIN_20201770000_01D_30S_CLK.CLK", "--quiet"},
          sd, &summary);
  EXPECT_EQ(sd.data.GetNEpoch(), 120);
  // The GPS L2C codes of the two receivers (L at ESBC, M at WTZR) pair as one class.
  EXPECT_NE(summary.find("; GPS 1140 records (C1C, C2W, L1C, L2W, C2L/C2S, C5Q, L5Q), GLONASS "
                         "1041 records (C1C, C2P, L1C, L2C, L2P, C2C), Galileo 959 records (C1C, "
                         "L1C, C5Q, L5Q, C7Q, L7Q, C8Q, L8Q)\n"),
            std::string::npos)
      << summary;
  EXPECT_TRUE(sd.data.HasGPSObs());
  EXPECT_TRUE(sd.data.HasGLONASSObs());
  EXPECT_TRUE(sd.data.HasGALILEOObs());
  EXPECT_STREQ(sd.head.GetAntennaType(1), "LEIAR25.R3      LEIT");
  GNSSpEph eph;
  eph.SetFile((dir + "/GRG0MGXFIN_20201770000_01D_15M_ORB.SP3").c_str());
  eph.ReadFile();
  auto range = [&](short sat, const mjd& t, const xyz& st, xyzt& p) {
    xyzt v;
    return eph.CalcSatPosition(sat, t, st, p, v);
  };
  EXPECT_LT(CodeRms(sd, range), 5.0L);
}

// The day's orbit and clock files cut at 00:30 and given as consecutive files:
// the single differences (receiver clocks from the point positioning) are those of
// the whole files.
TEST(SdRealData, ConsecutiveProductFilesActAsOne) {
  std::string dir = testsupport::SharedData("esbc-wtzr-2020177");
  if (dir.empty()) GTEST_SKIP() << "shared data absent";
  testsupport::TempDir tmp;
  const std::string sp3 = dir + "/GRG0MGXFIN_20201770000_01D_15M_ORB.SP3";
  const std::string clk = dir + "/GRG0MGXFIN_20201770000_01D_30S_CLK.CLK";
  const std::vector<std::string> orbit = productsplit::Sp3(testsupport::ReadFile(sp3), 3);
  const std::vector<std::string> clock =
      productsplit::Clock(testsupport::ReadFile(clk), "2020  6 25  0 30  0.000000");
  for (int i = 0; i < 2; i++) {
    testsupport::WriteFile(tmp.File("part" + std::to_string(i) + ".sp3"), orbit[i]);
    testsupport::WriteFile(tmp.File("part" + std::to_string(i) + ".clk"), clock[i]);
  }
  const std::vector<std::string> pair = {
      "--base", dir + "/ESBC00DNK_R_20201770000_01H_30S_MO.rnx", "--rover",
      dir + "/WTZR00DEU_R_20201770000_01D_30S_MO_120epoch.rnx", "--quiet"};
  std::vector<std::string> whole = pair, parts = pair;
  for (const std::string& a :
       std::vector<std::string>{"--out", tmp.File("whole.txt"), "--sp3", sp3, "--clk", clk})
    whole.push_back(a);
  for (const std::string& a : std::vector<std::string>{
           "--out", tmp.File("parts.txt"), "--sp3", tmp.File("part0.sp3"), "--sp3",
           tmp.File("part1.sp3"), "--clk", tmp.File("part1.clk"), "--clk", tmp.File("part0.clk")})
    parts.push_back(a);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_EQ(SdRun(whole), 0);
  EXPECT_EQ(SdRun(parts), 0);
  testing::internal::GetCapturedStderr();
  testing::internal::GetCapturedStdout();
  const std::string a = testsupport::ReadFile(tmp.File("whole.txt"));
  EXPECT_GT(a.size(), 100000u);
  EXPECT_TRUE(a == testsupport::ReadFile(tmp.File("parts.txt")));
}

TEST(SdRealData, GeonetPairWithBroadcastOrbits) {
  std::string dir = testsupport::SharedData("geonet-0759-3040-2005092");
  if (dir.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  testsupport::TempDir tmp;
  Converted sd;
  // The receivers do not steer their clocks: tags wander a few milliseconds.
  Convert(
      {"--base", dir + "/07590920.05o", "--rover", dir + "/30400920.05o", "--out",
       tmp.File("sd.txt"), "--nav", dir + "/07590920.05n", "--tag-tolerance", "0.01", "--quiet"},
      sd);
  EXPECT_EQ(sd.data.GetNEpoch(), 120);
  EXPECT_STREQ(sd.head.GetAntennaType(0), "TRM29659.00     NONE");
  GPSbEph nav;
  nav.SetFile((dir + "/30400920.05n").c_str());
  nav.ReadFile();
  auto range = [&](short sat, const mjd& t, const xyz& st, xyzt& p) {
    long double tgd;
    return nav.CalcSatPosition(sat, t, t, st, p, &tgd, 0, 0);
  };
  EXPECT_LT(CodeRms(sd, range), 5.0L);
}
