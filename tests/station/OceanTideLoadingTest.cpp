// Ocean tide loading: the official HARDISP test case, the argument check
// values and the BLQ reader.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>

#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "station/OceanTideLoading.h"
#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

const char* kHeader =
    "$$ Ocean loading displacement\n"
    "$$\n"
    "$$ END HEADER\n";

const char* kOnsala =
    "$$\n"
    "  ONSALA\n"
    "$$ test coefficients, CSR4.0, no geocentre correction\n"
    "$$ computed 2009-06-25\n"
    "$$ Onsala,                              lon/lat:   11.9264   57.3958    0.00\n"
    "  .00352 .00123 .00080 .00032 .00187 .00112 .00063 .00003 .00082 .00044 .00037\n"
    "  .00144 .00035 .00035 .00008 .00053 .00049 .00018 .00009 .00012 .00005 .00006\n"
    "  .00086 .00023 .00023 .00006 .00029 .00028 .00010 .00007 .00004 .00002 .00001\n"
    "   -64.7  -52.0  -96.2  -55.2  -58.8 -151.4  -65.6 -138.1    8.4    5.2    2.1\n"
    "    85.5  114.5   56.5  113.6   99.4   19.1   94.1  -10.4 -167.4 -170.0 -177.7\n"
    "   109.5  147.0   92.7  148.8   50.5  -55.1   36.4 -170.4  -15.0    2.3    5.2\n";

const char* kReykjavik =
    "$$\n"
    "  REYKJAVIK\n"
    "$$ test coefficients, CSR4.0, no geocentre correction\n"
    "$$ computed 2009-06-25\n"
    "$$ Reykjavik,                           lon/lat:   64.1388  -21.9555    0.00\n"
    "  .02359 .01481 .00448 .00419 .00273 .00033 .00088 .00005 .00081 .00034 .00034\n"
    "  .00514 .00280 .00089 .00078 .00106 .00074 .00035 .00018 .00004 .00001 .00003\n"
    "  .00209 .00077 .00051 .00021 .00151 .00066 .00047 .00019 .00014 .00008 .00006\n"
    "    78.5  102.3   76.3  104.1  -52.0 -160.4  -52.6 -128.0 -174.8 -175.7 -178.1\n"
    "    54.2   93.8   38.9   96.9    2.3  -12.5    3.1  -31.6 -144.4 -122.6 -173.5\n"
    "   156.2 -167.1  141.9 -164.9  155.9  178.7  155.6 -168.5  177.7  178.7  179.7\n";

const char* kZero =
    "$$\n"
    "  ZERO\n"
    "$$\n"
    "$$\n"
    "$$ Zero,                                lon/lat:   10.0000   45.0000    0.00\n"
    "  .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000\n"
    "  .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000\n"
    "  .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000 .00000\n"
    "     0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0\n"
    "     0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0\n"
    "     0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0    0.0\n";

// Hourly (up, south, west) in metres from 2009-06-25 0h.
struct Row {
  double u, s, w;
};

// The official HARDISP series (computed with ET-UTC taken as zero).
const Row kOnsalaOfficial[24] = {
    {0.003513, -0.001893, -0.001513},  {0.003248, -0.001620, -0.001012},
    {0.002079, -0.001068, -0.000319},  {0.000498, -0.000374, 0.000328},
    {-0.000913, 0.000298, 0.000712},   {-0.001639, 0.000800, 0.000695},
    {-0.001369, 0.001032, 0.000254},   {-0.000084, 0.000966, -0.000510},
    {0.001935, 0.000654, -0.001401},   {0.004177, 0.000208, -0.002171},
    {0.006027, -0.000226, -0.002591},  {0.006926, -0.000510, -0.002503},
    {0.006519, -0.000548, -0.001871},  {0.004749, -0.000313, -0.000786},
    {0.001883, 0.000147, 0.000549},    {-0.001543, 0.000717, 0.001864},
    {-0.004850, 0.001247, 0.002889},   {-0.007370, 0.001590, 0.003416},
    {-0.008606, 0.001637, 0.003347},   {-0.008344, 0.001347, 0.002718},
    {-0.006702, 0.000762, 0.001686},   {-0.004090, -0.000009, 0.000492},
    {-0.001113, -0.000808, -0.000600}, {0.001583, -0.001469, -0.001366}};
const Row kReykjavikOfficial[24] = {
    {-0.026799, -0.000581, -0.004764}, {-0.009412, -0.001202, -0.000967},
    {0.010158, -0.001161, 0.002656},   {0.027166, -0.000516, 0.005196},
    {0.037534, 0.000503, 0.006044},    {0.038862, 0.001557, 0.005044},
    {0.031016, 0.002290, 0.002531},    {0.016138, 0.002423, -0.000768},
    {-0.001916, 0.001833, -0.003916},  {-0.018559, 0.000586, -0.006015},
    {-0.029641, -0.001072, -0.006436}, {-0.032492, -0.002771, -0.004989},
    {-0.026579, -0.004114, -0.001969}, {-0.013621, -0.004767, 0.001911},
    {0.002867, -0.004550, 0.005700},   {0.018492, -0.003477, 0.008446},
    {0.029107, -0.001761, 0.009439},   {0.031871, 0.000238, 0.008391},
    {0.025972, 0.002101, 0.005508},    {0.012828, 0.003443, 0.001443},
    {-0.004277, 0.004011, -0.002863},  {-0.021034, 0.003733, -0.006421},
    {-0.033196, 0.002738, -0.008429},  {-0.037657, 0.001315, -0.008472}};
// The same run recomputed with the time argument on the TT scale.
const Row kOnsalaTT[24] = {{0.003513, -0.001894, -0.001513},  {0.003249, -0.001620, -0.001012},
                           {0.002081, -0.001068, -0.000319},  {0.000500, -0.000375, 0.000327},
                           {-0.000911, 0.000298, 0.000712},   {-0.001638, 0.000800, 0.000695},
                           {-0.001369, 0.001032, 0.000255},   {-0.000085, 0.000967, -0.000510},
                           {0.001934, 0.000654, -0.001400},   {0.004176, 0.000208, -0.002171},
                           {0.006026, -0.000226, -0.002591},  {0.006926, -0.000510, -0.002504},
                           {0.006520, -0.000548, -0.001872},  {0.004750, -0.000313, -0.000787},
                           {0.001885, 0.000147, 0.000548},    {-0.001541, 0.000716, 0.001863},
                           {-0.004848, 0.001247, 0.002888},   {-0.007368, 0.001590, 0.003415},
                           {-0.008605, 0.001637, 0.003347},   {-0.008344, 0.001348, 0.002718},
                           {-0.006702, 0.000762, 0.001687},   {-0.004091, -0.000009, 0.000493},
                           {-0.001114, -0.000808, -0.000599}, {0.001582, -0.001469, -0.001366}};
const Row kReykjavikTT[24] = {{-0.026806, -0.000581, -0.004766}, {-0.009422, -0.001202, -0.000969},
                              {0.010147, -0.001162, 0.002655},   {0.027157, -0.000517, 0.005195},
                              {0.037529, 0.000502, 0.006044},    {0.038862, 0.001556, 0.005046},
                              {0.031021, 0.002289, 0.002532},    {0.016146, 0.002423, -0.000766},
                              {-0.001906, 0.001833, -0.003914},  {-0.018550, 0.000586, -0.006014},
                              {-0.029636, -0.001070, -0.006437}, {-0.032492, -0.002770, -0.004990},
                              {-0.026583, -0.004113, -0.001971}, {-0.013630, -0.004767, 0.001909},
                              {0.002856, -0.004549, 0.005698},   {0.018482, -0.003477, 0.008444},
                              {0.029100, -0.001762, 0.009438},   {0.031868, 0.000238, 0.008391},
                              {0.025975, 0.002100, 0.005509},    {0.012835, 0.003443, 0.001446},
                              {-0.004268, 0.004010, -0.002861},  {-0.021025, 0.003733, -0.006419},
                              {-0.033189, 0.002739, -0.008428},  {-0.037654, 0.001316, -0.008472}};

class OceanTideLoadingTest : public ::testing::Test {
 protected:
  // Reads a BLQ file of the given text.
  void Load(const std::string& text) {
    WriteFile(dir.File("ocean.blq"), text);
    otl.SetFile(dir.File("ocean.blq").c_str());
    otl.ReadFile();
  }
  // Compares 24 hourly displacements from 2009-06-25 (MJD 55007) 0h.
  void ExpectSeries(const char* station, const Row* rows, double tol) {
    otl.SetStation(station);
    for (int h = 0; h < 24; h++) {
      neu d;
      otl.GetDisplacement(mjd(55007, h * 3600.0L), d);
      EXPECT_NEAR(static_cast<double>(d.GetU()), rows[h].u, tol) << station << " hour " << h;
      EXPECT_NEAR(static_cast<double>(-d.GetN()), rows[h].s, tol) << station << " hour " << h;
      EXPECT_NEAR(static_cast<double>(-d.GetE()), rows[h].w, tol) << station << " hour " << h;
    }
  }
  TempDir dir;
  OceanTideLoading otl;
};

}  // namespace

TEST_F(OceanTideLoadingTest, SeriesMatchesTheRecomputationOnTheTTScale) {
  Load(std::string(kHeader) + kOnsala + kReykjavik + "$$ END TABLE\n");
  ASSERT_EQ(otl.GetNStation(), 2);
  ExpectSeries("ONSALA", kOnsalaTT, 1e-6 + 5e-7);
  ExpectSeries("REYKJAVIK", kReykjavikTT, 1e-6 + 5e-7);
}

TEST_F(OceanTideLoadingTest, SeriesMatchesTheOfficialHardispOutput) {
  Load(std::string(kHeader) + kOnsala + kReykjavik + "$$ END TABLE\n");
  ExpectSeries("ONSALA", kOnsalaOfficial, 2e-5);
  ExpectSeries("REYKJAVIK", kReykjavikOfficial, 2e-5);
}

TEST_F(OceanTideLoadingTest, ArgumentsMatchTheCheckValues) {
  const int m2[6] = {2, 0, 0, 0, 0, 0};
  long double f, p;
  otl.SetDoodsonPhasFreq(mjd(55007, 0.0L));  // 2009 day 176
  otl.TDFRPH(m2, f, p);
  EXPECT_NEAR(static_cast<double>(f), 1.93227361605688, 1e-12);
  EXPECT_NEAR(static_cast<double>(p), 303.343338720297, 1e-9);
  otl.SetDoodsonPhasFreq(mjd(55007, 12 * 3600.0L + 105.0L));
  otl.TDFRPH(m2, f, p);
  EXPECT_NEAR(static_cast<double>(f), 1.93227361605689, 1e-12);
  EXPECT_NEAR(static_cast<double>(p), 291.997959322689, 1e-8);
}

TEST_F(OceanTideLoadingTest, StationWithZeroAmplitudesHasExactlyZeroDisplacement) {
  Load(std::string(kHeader) + kZero);
  otl.SetStation("ZERO");
  neu d(1, 1, 1);
  otl.GetDisplacement(mjd(55007, 1234.5L), d);
  EXPECT_EQ(d.GetN(), 0.0L);
  EXPECT_EQ(d.GetE(), 0.0L);
  EXPECT_EQ(d.GetU(), 0.0L);
}

TEST_F(OceanTideLoadingTest, NamesMatchExactlyAfterTrimmingTheFileName) {
  Load(std::string(kHeader) + kOnsala);
  otl.SetStation("ONSALA");
  EXPECT_EQ(otl.GetStationIndex(), 0);
  testing::internal::CaptureStderr();
  otl.SetStation("Onsala");
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(otl.GetStationIndex(), -1);
  EXPECT_NE(err.find("STATION NAME -Onsala- NOT LISTED IN BLQ FILE > SETTING ALL DISPLACEMENTS "
                     "TO ZERO!"),
            std::string::npos);
  testing::internal::CaptureStderr();
  otl.SetStation("ONSALA ");
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(otl.GetStationIndex(), -1);
  neu d(1, 1, 1);
  otl.GetDisplacement(mjd(55007, 0.0L), d);
  EXPECT_EQ(d.GetU(), 0.0L);
}

TEST_F(OceanTideLoadingTest, TableEndsAtEndTableOrAtTheEndOfTheFile) {
  Load(std::string(kHeader) + kOnsala + kReykjavik + "$$ END TABLE\n" + kZero);
  EXPECT_EQ(otl.GetNStation(), 2);
  Load(std::string(kHeader) + kOnsala + kReykjavik + kZero);
  EXPECT_EQ(otl.GetNStation(), 3);
  EXPECT_STREQ(otl.GetStation(2).GetName(), "ZERO");
}

TEST_F(OceanTideLoadingTest, BlockRightAfterTheHeaderWithoutSeparatorIsRead) {
  std::string onsala(kOnsala);
  Load(std::string(kHeader) + onsala.substr(3) + kReykjavik + "\n\n");
  ASSERT_EQ(otl.GetNStation(), 2);
  EXPECT_STREQ(otl.GetStation(0).GetName(), "ONSALA");
  EXPECT_STREQ(otl.GetStation(1).GetName(), "REYKJAVIK");
  const otlData& r = otl.GetStation(1);
  EXPECT_NEAR(static_cast<double>(r.AMP(0).GetU()), 0.02359, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.AMP(1).GetE()), 0.00280, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.AMP(10).GetN()), 0.00006, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.PHS(0).GetU()), -78.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.PHS(10).GetN()), -179.7, 1e-12);
  EXPECT_NEAR(static_cast<double>(r.gpos.GetL()), 64.1388 * 3.141592653589793 / 180, 1e-12);
}

TEST_F(OceanTideLoadingTest, BlockWritesBackInTheFileLayout) {
  Load(std::string(kHeader) + kOnsala);
  std::ostringstream os;
  os << otl.GetStation(0);
  const std::string out = os.str();
  EXPECT_NE(out.find("  ONSALA\n"), std::string::npos);
  EXPECT_NE(out.find(" .00352 .00123 .00080"), std::string::npos);
  EXPECT_NE(out.find("   -64.7  -52.0  -96.2"), std::string::npos);
  // Reading the written block gives the same coefficients.
  OceanTideLoading again;
  WriteFile(dir.File("again.blq"), std::string(kHeader) + out);
  again.SetFile(dir.File("again.blq").c_str());
  again.ReadFile();
  ASSERT_EQ(again.GetNStation(), 1);
  EXPECT_NEAR(static_cast<double>(again.GetStation(0).PHS(7).GetE()), 10.4, 1e-12);
  EXPECT_NEAR(static_cast<double>(again.GetStation(0).gpos.GetF()),
              static_cast<double>(otl.GetStation(0).gpos.GetF()), 1e-6);
}

TEST_F(OceanTideLoadingTest, FileWithoutHeaderEndIsFatal) {
  EXPECT_EXIT(Load(std::string(kOnsala)), ::testing::ExitedWithCode(1),
              testsupport::Literal("OCEAN TIDE LOADING FILE CAN NOT BE READ!"));
  OceanTideLoading missing;
  missing.SetFile(dir.File("none.blq").c_str());
  EXPECT_EXIT(missing.ReadFile(), ::testing::ExitedWithCode(1),
              testsupport::Literal("OCEAN TIDE LOADING FILE CAN NOT BE READ!"));
}

TEST_F(OceanTideLoadingTest, TruncatedBlockWarnsThenIsFatal) {
  std::string onsala(kOnsala);
  const std::string cut = std::string(kHeader) + kReykjavik + onsala.substr(0, onsala.size() - 160);
  EXPECT_EXIT(Load(cut), ::testing::ExitedWithCode(1),
              testsupport::Literal("PROBLEM READING BLQ FILE: STATION NUMBER   2 [ONSALA]!"));
  EXPECT_EXIT(Load(cut), ::testing::ExitedWithCode(1),
              testsupport::Literal("OCEAN TIDE LOADING FILE CORRUPTED!"));
}

TEST_F(OceanTideLoadingTest, MalformedNumberIsFatal) {
  std::string onsala(kOnsala);
  onsala.replace(onsala.find(".00123"), 6, "  xx  ");
  EXPECT_EXIT(Load(std::string(kHeader) + onsala), ::testing::ExitedWithCode(1),
              testsupport::Literal("OCEAN TIDE LOADING FILE CORRUPTED!"));
}

TEST_F(OceanTideLoadingTest, AbsurdAmplitudesAndLagsAreFatal) {
  const char* const bad[][2] = {{".00123", "  1e30"},
                                {".00035 .00035", "   nan .00035"},
                                {" -52.0", " 1e300"},
                                {" 114.5", "  -inf"},
                                {"  -55.1", "  361.0"}};
  for (const auto& b : bad) {
    std::string onsala(kOnsala);
    onsala.replace(onsala.find(b[0]), std::strlen(b[1]), b[1]);
    EXPECT_EXIT(Load(std::string(kHeader) + onsala), ::testing::ExitedWithCode(1),
                testsupport::Literal("OCEAN TIDE LOADING FILE CORRUPTED!"))
        << b[1];
  }
}

TEST_F(OceanTideLoadingTest, PositionThatIsNoNumberIsFatal) {
  for (const char* lon : {"   1e9999", "  xx.9264"}) {
    std::string onsala(kOnsala);
    onsala.replace(onsala.find("  11.9264"), 9, lon);
    EXPECT_EXIT(Load(std::string(kHeader) + onsala), ::testing::ExitedWithCode(1),
                testsupport::Literal("OCEAN TIDE LOADING FILE CORRUPTED!"))
        << lon;
  }
}

TEST_F(OceanTideLoadingTest, PositionOffTheEarthIsFatal) {
  for (const char* lon : {"   1000.00", "    1e999 "}) {
    std::string onsala(kOnsala);
    onsala.replace(onsala.find("   11.9264"), 10, lon);
    EXPECT_EXIT(Load(std::string(kHeader) + onsala), ::testing::ExitedWithCode(1),
                testsupport::Literal("OCEAN TIDE LOADING FILE CORRUPTED!"))
        << lon;
  }
}

TEST(OceanTideLoadingRealData, EveryStationOfARealFileIsRead) {
  const std::string path = testsupport::SharedData("models/gnss.blq");
  if (path.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  OceanTideLoading otl;
  otl.SetFile(path.c_str());
  otl.ReadFile();
  ASSERT_EQ(otl.GetNStation(), 15);
  EXPECT_STREQ(otl.GetStation(0).GetName(), "SHLD/C1");
  EXPECT_STREQ(otl.GetStation(14).GetName(), "SBCH/P2");
  otl.SetStation("SEAT/P2");
  for (int h = 0; h < 24; h++) {
    neu d;
    otl.GetDisplacement(mjd(59000, h * 3600.0L), d);
    EXPECT_LT(std::fabs(static_cast<double>(d.GetU())), 0.05);
    EXPECT_LT(std::fabs(static_cast<double>(d.GetN())), 0.02);
    EXPECT_LT(std::fabs(static_cast<double>(d.GetE())), 0.02);
  }
}

TEST(OceanTideLoadingRealData, BlocksRightAfterTheHeaderAreRead) {
  const std::string path = testsupport::SharedData("esbc-wtzr-2020177/WTZR_WTZZ_FES2004.blq");
  if (path.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  OceanTideLoading otl;
  otl.SetFile(path.c_str());
  otl.ReadFile();
  ASSERT_EQ(otl.GetNStation(), 2);
  EXPECT_STREQ(otl.GetStation(0).GetName(), "WTZR");
  EXPECT_STREQ(otl.GetStation(1).GetName(), "WTZZ");
  EXPECT_NEAR(static_cast<double>(otl.GetStation(0).AMP(0).GetU()), 0.00504, 1e-12);
}
