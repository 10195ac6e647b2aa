#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "atmosphere/TropoFormulas.h"
#include "atmosphere/gTM_GPT.h"
#include "atmosphere/gTM_GPT2.h"
#include "atmosphere/gTM_Saastamoinen.h"
#include "support/TestSupport.h"

namespace {

const long double kDeg = 3.141592653589793L / 180.0L;

// Pressure of the grid point [Pa]: linear in the file row r (0 = latitude 50) and the
// longitude column j, so that interpolation in a cell reproduces it exactly.
double GridPressure(int r, int j) {
  return 100000.0 + 1000.0 * j + 100.0 * r;
}

// Grid line with the given coordinates; every seasonal amplitude, the undulation and the
// grid height are 0, so a station at height 0 needs no height reduction.
std::string GridLine(double lat, double lon, double p) {
  char line[400];
  std::snprintf(line, sizeof(line),
                "%6.1f %6.1f %8.0f 0 0 0 0 %6.1f 0 0 0 0 %5.2f 0 0 0 0 %5.1f 0 0 0 0 0.00 0.00 "
                "%6.4f 0 0 0 0 %6.4f 0 0 0 0\n",
                lat, lon, p, 280.0 + lon / 90.0, 5.0, -6.5, 1.2 + lon / 900.0, 0.6);
  return line;
}

// Latitudes 50, 40, 30; longitudes 0, 90, 180, 270.
std::string GridText() {
  std::string s = "%  lat    lon   p:a0    A1   B1   A2   B2  T:a0 ...\n";
  for (int r = 0; r < 3; r++)
    for (int j = 0; j < 4; j++) s += GridLine(50.0 - 10.0 * r, 90.0 * j, GridPressure(r, j));
  return s;
}

class Grid {
 public:
  explicit Grid(const std::string& text = GridText()) {
    testsupport::WriteFile(dir.File("grid.grd"), text);
    gpt2.SetFile(dir.File("grid.grd").c_str());
  }
  long double Pressure(long double latDeg, long double lonDeg) {
    gpt2.SetAtmParams(latDeg * kDeg, lonDeg * kDeg, 0.0L);
    long double dry = 0.0L, wet = 0.0L;
    gpt2.GetZenithDelay(58000, dry, wet);
    return gpt2.GetPressure();
  }
  testsupport::TempDir dir;
  gTM_GPT2 gpt2;
};

}  // namespace

TEST(gTM_GPT2, ReadsTheGridLayout) {
  Grid g;
  g.gpt2.ReadFile();
  EXPECT_EQ(g.gpt2.GetNLon(), 4);
  EXPECT_EQ(g.gpt2.GetNLat(), 3);
}

TEST(gTM_GPT2, InterpolatesInsideACell) {
  Grid g;
  g.gpt2.ReadFile();
  EXPECT_NEAR(g.Pressure(45.0L, 45.0L), (100000.0L + 500.0L + 50.0L) / 100.0L, 1e-9L);
  EXPECT_NEAR(g.Pressure(40.0L, 90.0L), GridPressure(1, 1) / 100.0L, 1e-9L);
  // Delays from the station values: humidity 5 g/kg, temperature of the grid.
  long double dry = 0.0L, wet = 0.0L;
  g.gpt2.SetAtmParams(40.0L * kDeg, 90.0L * kDeg, 0.0L);
  g.gpt2.GetZenithDelay(58000, dry, wet);
  const long double gf = TropGravityFactor(40.0L * kDeg, 0.0L);
  EXPECT_NEAR(dry, 0.002277L * GridPressure(1, 1) / 100.0L / gf, 1e-12L);
  const long double Q = 0.005L, p = GridPressure(1, 1) / 100.0L;
  const long double e = Q * p / (0.622L + 0.378L * Q);
  EXPECT_NEAR(wet, 0.002277L * (1255.0L / 281.0L + 0.05L) * e / gf, 1e-12L);
  EXPECT_NEAR(g.gpt2.GetTemperature(), 281.0L - 273.15L, 1e-12L);
  EXPECT_NEAR(g.gpt2.GetCoeffAH(), 0.0013L, 1e-15L);
  EXPECT_NEAR(g.gpt2.GetCoeffAW(), 0.0006L, 1e-15L);
}

TEST(gTM_GPT2, BeyondTheOutermostLatitudesOnlyLongitudeIsInterpolated) {
  Grid g;
  g.gpt2.ReadFile();
  EXPECT_NEAR(g.Pressure(55.0L, 45.0L), (GridPressure(0, 0) + GridPressure(0, 1)) / 200.0L, 1e-9L);
  EXPECT_EQ(g.gpt2.GetCorner(0, 0), 2);  // the row of latitude 50
  EXPECT_EQ(g.gpt2.GetCorner(2, 0), 2);
  EXPECT_NEAR(g.Pressure(80.0L, 45.0L), g.Pressure(50.0L, 45.0L), 1e-12L);
  EXPECT_NEAR(g.Pressure(25.0L, 45.0L), (GridPressure(2, 0) + GridPressure(2, 1)) / 200.0L, 1e-9L);
  EXPECT_EQ(g.gpt2.GetCorner(0, 0), 0);
}

TEST(gTM_GPT2, NegativeLongitudesUseTheWrapAroundCell) {
  Grid g;
  g.gpt2.ReadFile();
  // Between the last column (270) and the first (0 = 360).
  const long double at315 = g.Pressure(45.0L, 315.0L);
  EXPECT_NEAR(at315, (100000.0L + 1500.0L + 50.0L) / 100.0L, 1e-9L);
  EXPECT_EQ(g.gpt2.GetCorner(0, 1), 3);
  EXPECT_EQ(g.gpt2.GetCorner(1, 1), 0);
  EXPECT_NEAR(g.Pressure(45.0L, -45.0L), at315, 1e-12L);
  EXPECT_NEAR(g.gpt2.GetPointLon(), 315.0L, 1e-12L);
  EXPECT_NEAR(g.Pressure(45.0L, -0.5L), g.Pressure(45.0L, 359.5L), 1e-12L);
  // A negative longitude far from the wrap-around cell lands in its own cell.
  EXPECT_NEAR(g.Pressure(45.0L, -135.0L), g.Pressure(45.0L, 225.0L), 1e-12L);
  EXPECT_EQ(g.gpt2.GetCorner(0, 1), 2);
}

TEST(gTM_GPT2DeathTest, CorruptedGridsStopTheProgram) {
  const std::string head =
      "**** gTM_GPT2: Error -> GRID DATA FILE FOR GPT2 TROPOSHPERE MODEL CORRUPTED ";
  const std::string lines = GridText();
  auto cut = [&lines](int n) {  // the header and n data lines
    size_t pos = 0;
    for (int k = 0; k <= n; k++) pos = lines.find('\n', pos) + 1;
    return lines.substr(0, pos);
  };
  {
    Grid g("");
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(),
                     head + "(READING HEADER)! ****\n     Exiting gTM_GPT2 ... ");
  }
  {
    Grid g(cut(0));
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(), "(READING 1. DATA LINE)!");
  }
  {
    Grid g(cut(1));
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(), "(READING 2. DATA LINE)!");
  }
  {
    Grid g(cut(1) + GridLine(40.0, 90.0, 1.0));
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(), "(LATITUDE 1 - 2)!");
  }
  {
    Grid g(cut(1) + GridLine(50.0, 0.0, 1.0));
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(), "(LONGITUDE 1 <= LONGITUDE 2)!");
  }
  {
    Grid g(cut(2) + "garbage\n");
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(), "(READING 3. DATA LINE)!");
  }
  {
    Grid g(cut(11));
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(), "(#LONGITUDE, #LATITUDE)!");
  }
  {
    std::string text = cut(11) + GridLine(30.0, 270.0, 1.0);
    text.resize(text.size() - 40);
    Grid g(text + "\n");
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(), "(READING 12. DATA LINE)!");
  }
  {
    Grid g(cut(11) + GridLine(30.0, 180.0, 1.0));
    EXPECT_EXIT_COUT(g.gpt2.ReadFile(), "(GRID POINT 12. DATA LINE REPEATED)!");
  }
}

// The published 5-degree grid at Wettzell on 25 June 2020.
TEST(gTM_GPT2, RealGridAgreesWithSaastamoinenAndGpt) {
  const std::string path = testsupport::SharedData("models/gpt2_5.grd");
  if (path.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  gTM_GPT2 gpt2;
  gpt2.SetFile(path.c_str());
  gpt2.ReadFile();
  EXPECT_EQ(gpt2.GetNLon(), 72);
  EXPECT_EQ(gpt2.GetNLat(), 36);
  const long double lat = 49.14420L * kDeg, lon = 12.87891L * kDeg, h = 666.0L;
  const long day = 59025;
  long double dry = 0.0L, wet = 0.0L;
  gpt2.SetAtmParams(lat, lon, h);
  gpt2.GetZenithDelay(day, dry, wet);

  gTM_Saastamoinen saas;
  saas.SetAtmParams(lat, h);
  long double sdry = 0.0L, swet = 0.0L;
  saas.GetZenithDelay(sdry, swet);
  EXPECT_NEAR(dry, sdry, 0.06L);

  gTM_GPT gpt;
  gpt.SetAtmParams(lat, lon, h);
  long double gdry = 0.0L, gwet = 0.0L;
  gpt.GetZenithDelay(day, gdry, gwet);
  EXPECT_NEAR(dry, gdry, 0.02L);
  EXPECT_GT(wet, 0.02L);
  EXPECT_LT(wet, 0.4L);
  EXPECT_NEAR(gpt2.GetCoeffAH(), 0.00125L, 0.0001L);

  // The same meridian named from either side of the grid's seam.
  gpt2.SetAtmParams(lat, -0.5L * kDeg, h);
  gpt2.GetZenithDelay(day, dry, wet);
  const long double west = dry;
  gpt2.SetAtmParams(lat, 359.5L * kDeg, h);
  gpt2.GetZenithDelay(day, dry, wet);
  EXPECT_NEAR(west, dry, 1e-15L);
  gpt2.SetAtmParams(lat, -179.0L * kDeg, h);
  gpt2.GetZenithDelay(day, dry, wet);
  const long double east = dry;
  gpt2.SetAtmParams(lat, 181.0L * kDeg, h);
  gpt2.GetZenithDelay(day, dry, wet);
  EXPECT_NEAR(east, dry, 1e-15L);
}

TEST(gpt2_grdDeathTest, IndexOutsideTheFiveValuesStopsTheProgram) {
  gpt2_grd v;
  const long double values[5] = {1.0L, 2.0L, 3.0L, 4.0L, 5.0L};
  v.Set(values);
  EXPECT_EQ(v(4), 5.0L);
  EXPECT_EXIT_COUT(v(5),
                   "**** gpt2_grd: Error -> GRD::OPERATOR() INPUT INDEX NOT IN RAGNE! ****\n"
                   "     Exiting class gpt2_grd ... ");
  EXPECT_EXIT_COUT(v(-1), "GRD::OPERATOR() INPUT INDEX NOT IN RAGNE!");
}

TEST(gpt2_grd, SeasonalTermsOfTheYearAndHalfYear) {
  gpt2_grd v;
  const long double values[5] = {10.0L, 1.0L, 2.0L, 3.0L, 4.0L};
  v.Set(values);
  EXPECT_NEAR(v.Seasonal(0.0L), 10.0L + 1.0L + 3.0L, 1e-15L);
  EXPECT_NEAR(v.Seasonal(365.25L / 4.0L), 10.0L + 2.0L - 3.0L, 1e-12L);
}

TEST(gTM_GPT2DeathTest, StationsBesideARegionalGridStopTheProgram) {
  // Longitudes 0 to 90 only: no cell joins 90 degrees to 0 degrees.
  std::string text = "% regional\n";
  for (int r = 0; r < 3; r++)
    for (int j = 0; j < 2; j++) text += GridLine(50.0 - 10.0 * r, 90.0 * j, GridPressure(r, j));
  Grid g(text);
  g.gpt2.ReadFile();
  EXPECT_NEAR(g.Pressure(45.0L, 45.0L), (100000.0L + 500.0L + 50.0L) / 100.0L, 1e-9L);
  EXPECT_NEAR(g.Pressure(40.0L, 90.0L), GridPressure(1, 1) / 100.0L, 1e-9L);
  EXPECT_EXIT_COUT(g.Pressure(45.0L, 135.0L),
                   "**** gTM_GPT2: Error -> STATION LONGITUDE OUTSIDE THE GPT2 GRID! ****\n"
                   "     Exiting gTM_GPT2 ... ");
  EXPECT_EXIT_COUT(g.Pressure(45.0L, -10.0L), "STATION LONGITUDE OUTSIDE THE GPT2 GRID!");
}
