#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "atmosphere/IONEX.h"
#include "support/TestSupport.h"

namespace {

const long double kMetresPerTECU = 0.1623724475119947L;

std::string Label(const std::string& content, const std::string& label) {
  std::string line = content;
  line.resize(60, ' ');
  return line + label + "\n";
}

struct Layout {
  int maps = 3;
  bool rms = true;
  bool biases = false;
  std::string type = "IONOSPHERE MAPS";
  std::string lat = "    10.0 -10.0  -5.0";
  int interval = 3600;
};

// Value in the file (0.1 TECU) of map m, file row r (0 = latitude 10), longitude column j.
int FileValue(int m, int r, int j) {
  return 100 * m + 10 * r + j * j;
}

// Three hourly maps from 01:00, latitudes 10 to -10 by 5, longitudes -180 to 180 by 90.
std::string IonexText(const Layout& lay) {
  std::string s;
  s += Label("     1.0            " + lay.type, "IONEX VERSION / TYPE");
  s += Label("testgen", "PGM / RUN BY / DATE");
  s += Label("a comment with EXPONENT and INTERVAL words", "COMMENT");
  s += Label("  2019     1    15     1     0     0", "EPOCH OF FIRST MAP");
  s += Label("  2019     1    15     3     0     0", "EPOCH OF LAST MAP");
  s += Label("  " + std::to_string(lay.interval), "INTERVAL");
  s += Label("     " + std::to_string(lay.maps), "# OF MAPS IN FILE");
  s += Label("  NONE", "MAPPING FUNCTION");
  s += Label("     0.0", "ELEVATION CUTOFF");
  s += Label("", "OBSERVABLES USED");
  s += Label("  6371.0", "BASE RADIUS");
  s += Label("     2", "MAP DIMENSION");
  s += Label("   450.0 450.0   0.0", "HGT1 / HGT2 / DHGT");
  s += Label(lay.lat, "LAT1 / LAT2 / DLAT");
  s += Label("  -180.0 180.0  90.0", "LON1 / LON2 / DLON");
  s += Label("    -1", "EXPONENT");
  if (lay.biases) {
    s += Label("DIFFERENTIAL CODE BIASES", "START OF AUX DATA");
    s += Label("   G05    -2.500     0.010", "PRN / BIAS / RMS");
    s += Label("   R07     1.250     0.020", "PRN / BIAS / RMS");
    s += Label("   E11     0.750     0.030", "PRN / BIAS / RMS");
    s += Label("   GRAZ   12345M002     1.000     0.100", "STATION / BIAS / RMS");
    s += Label("DIFFERENTIAL CODE BIASES", "END OF AUX DATA");
  }
  s += Label("", "END OF HEADER");
  const char* kinds[2] = {"TEC", "RMS"};
  for (int k = 0; k < (lay.rms ? 2 : 1); k++) {
    for (int m = 0; m < lay.maps; m++) {
      s += Label("     " + std::to_string(m + 1), std::string("START OF ") + kinds[k] + " MAP");
      s += Label("  2019     1    15     " + std::to_string(m + 1) + "     0     0",
                 "EPOCH OF CURRENT MAP");
      for (int r = 0; r < 5; r++) {
        char row[80];
        std::snprintf(row, sizeof(row), "  %6.1f-180.0 180.0  90.0 450.0", 10.0 - 5.0 * r);
        s += Label(row, "LAT/LON1/LON2/DLON/H");
        for (int j = 0; j < 5; j++) {
          std::snprintf(row, sizeof(row), "%5d", FileValue(m, r, j) + (k == 1 ? 5 : 0));
          s += row;
        }
        s += "\n";
      }
      s += Label("     " + std::to_string(m + 1), std::string("END OF ") + kinds[k] + " MAP");
    }
  }
  s += Label("", "END OF FILE");
  return s;
}

class Ionex {
 public:
  explicit Ionex(const Layout& lay = Layout()) : reader(head, data) {
    const std::string path = dir.File("test.19i");
    testsupport::WriteFile(path, IonexText(lay));
    reader.SetFile(path.c_str());
  }
  // Delay with the given settings; unit 1 gives TEC units.
  long double Delay(long double sod, long double lat, long double lon, int type, int unit = 1,
                    long double elev = 90.0L, int kind = 0) {
    return reader.CalcIonDelay(sod, lat, lon, elev, 0.0L, unit, type, kind);
  }
  testsupport::TempDir dir;
  IONEXHeader head;
  IONEXData data{head};
  IONEX reader;
};

}  // namespace

TEST(IONEX, ReadsHeaderAndMaps) {
  Ionex x;
  x.reader.ReadFile();
  EXPECT_EQ(x.head.GetNMaps(), 3);
  EXPECT_EQ(x.head.GetInterval(), 3600);
  EXPECT_EQ(x.head.GetExponent(), -1);
  EXPECT_EQ(x.data.GetNLat(), 5);
  EXPECT_EQ(x.data.GetNLon(), 5);
  EXPECT_EQ(x.data.GetNHgt(), 1);
  EXPECT_STREQ(x.head.GetMapFun(), "NONE");
  EXPECT_EQ(x.data.GetEpoch(2).GetSecond(), 10800.0L);
  // Latitude index 0 is the last latitude of the file.
  EXPECT_NEAR(x.data.GetTEC(1, 0, 3), 0.1L * FileValue(1, 4, 3), 1e-15L);
  EXPECT_NEAR(x.data.GetTEC(2, 4, 0), 0.1L * FileValue(2, 0, 0), 1e-15L);
  EXPECT_NEAR(x.data.GetRMS(0, 2, 2), 0.1L * (FileValue(0, 2, 2) + 5), 1e-15L);
}

TEST(IONEX, NearestNodeAndBilinearValues) {
  Ionex x;
  x.reader.ReadFile();
  // Nearest node: map 1, file row 1 (latitude 5), column 2 (longitude 0).
  EXPECT_NEAR(x.Delay(7300.0L, 6.0L, 20.0L, 0), 0.1L * FileValue(1, 1, 2), 1e-12L);
  // Interpolated half-way in time and latitude at a longitude node: linear there.
  EXPECT_NEAR(x.Delay(5400.0L, 7.5L, 90.0L, 1), 0.1L * (50 + 5 + 9), 1e-12L);
  // At the map epochs and nodes the interpolation gives the node value.
  EXPECT_NEAR(x.Delay(10800.0L, -10.0L, -90.0L, 1), 0.1L * FileValue(2, 4, 1), 1e-12L);
  // RMS maps on request.
  EXPECT_NEAR(x.Delay(3600.0L, 0.0L, 0.0L, 1, 1, 90.0L, 1), 0.1L * (FileValue(0, 2, 2) + 5),
              1e-12L);
}

TEST(IONEX, RotatedMapsFollowTheSun) {
  Ionex x;
  x.reader.ReadFile();
  // Half-way between maps 0 and 1: map 0 is read 90 degrees east, map 1 90 degrees west.
  const long double rotated = x.Delay(5400.0L, 10.0L, 0.0L, 2);
  EXPECT_NEAR(rotated, 0.1L * (FileValue(0, 0, 3) + FileValue(1, 0, 1)) / 2.0L, 1e-12L);
  EXPECT_NEAR(x.Delay(5400.0L, 10.0L, 0.0L, 1),
              0.1L * (FileValue(0, 0, 2) + FileValue(1, 0, 2)) / 2.0L, 1e-12L);
  // At a map epoch the rotation of that map is nil.
  EXPECT_NEAR(x.Delay(3600.0L, 10.0L, 90.0L, 2), 0.1L * FileValue(0, 0, 3), 1e-12L);
}

TEST(IONEX, WrongTypeFallsBackToRotatedMaps) {
  Ionex x;
  x.reader.ReadFile();
  int type = 7, unit = 1, kind = 0;
  long double sod = 5400.0L, lat = 10.0L, lon = 0.0L, elev = 90.0L;
  testing::internal::CaptureStdout();
  const long double v = x.reader.CalcIonDelay(sod, lat, lon, elev, 0.0L, unit, type, kind);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "#### IONEXData: Warning -> IONEX DELAY TYPE INCORRECT - USING TYPE 3! ####\n"
            "     Continuing IONEXData ... \n");
  EXPECT_EQ(type, 2);
  EXPECT_EQ(v, x.Delay(5400.0L, 10.0L, 0.0L, 2));
}

TEST(IONEX, TimeIsClampedToTheEndMapsWithinOneInterval) {
  Ionex x;
  x.reader.ReadFile();
  // Half an interval before the first map: maps 0 and 1 extrapolated backwards.
  EXPECT_NEAR(x.Delay(1800.0L, 10.0L, 0.0L, 1), 0.1L * (-50 + 4), 1e-12L);
  // One interval before: still maps 0 and 1.
  EXPECT_NEAR(x.Delay(0.0L, 10.0L, 0.0L, 1), 0.1L * (-100 + 4), 1e-12L);
  // In the last interval and half an interval after the last map: the last two maps.
  EXPECT_NEAR(x.Delay(10800.0L, 10.0L, 0.0L, 1), 0.1L * (200 + 4), 1e-12L);
  EXPECT_NEAR(x.Delay(12600.0L, 10.0L, 0.0L, 1), 0.1L * (250 + 4), 1e-12L);
}

TEST(IONEX, LatitudeAndLongitudeAtTheGridEdges) {
  Ionex x;
  x.reader.ReadFile();
  // Exactly at the first and last longitude: first and last cell with fraction 0 and 1.
  EXPECT_NEAR(x.Delay(3600.0L, 10.0L, -180.0L, 1), 0.1L * FileValue(0, 0, 0), 1e-12L);
  EXPECT_NEAR(x.Delay(3600.0L, 10.0L, 180.0L, 1), 0.1L * FileValue(0, 0, 4), 1e-12L);
  // A longitude one turn away is the same place.
  EXPECT_NEAR(x.Delay(3600.0L, 10.0L, 270.0L, 1), x.Delay(3600.0L, 10.0L, -90.0L, 1), 1e-12L);
  // Beyond the outermost latitudes the end rows are extrapolated.
  EXPECT_NEAR(x.Delay(3600.0L, 12.5L, 0.0L, 1), 0.1L * (-5 + 4), 1e-12L);
  EXPECT_NEAR(x.Delay(3600.0L, -15.0L, 0.0L, 1), 0.1L * (50 + 4), 1e-12L);
}

TEST(IONEX, SlantDelayInMetres) {
  Ionex x;
  x.reader.ReadFile();
  const long double vtec = x.Delay(3600.0L, 5.0L, 90.0L, 1);
  EXPECT_NEAR(x.Delay(3600.0L, 5.0L, 90.0L, 1, 0), vtec * kMetresPerTECU, 1e-15L);
  // Toward the north at 30 degrees: the vertical value at the pierce point of the 450 km
  // layer, psi = 90 - 30 - z' degrees north of the station, mapped with that layer.
  const long double E = 30.0L, pi = 3.141592653589793L;
  const long double z = std::asin(6371.0L / 6821.0L * std::sin(pi / 2.0L - E * pi / 180.0L));
  const long double psi = 90.0L - E - z * 180.0L / pi;
  const long double pierce = x.Delay(3600.0L, 5.0L + psi, 90.0L, 1);
  EXPECT_NE(pierce, vtec);
  EXPECT_NEAR(x.Delay(3600.0L, 5.0L, 90.0L, 1, 0, E), pierce * kMetresPerTECU / std::cos(z),
              1e-12L);
}

TEST(IONEX, FileWithoutRmsMapsAndWithBiases) {
  Layout lay;
  lay.rms = false;
  lay.biases = true;
  Ionex x(lay);
  x.reader.ReadFile();
  EXPECT_NEAR(x.Delay(3600.0L, 0.0L, 0.0L, 1), 0.1L * FileValue(0, 2, 2), 1e-12L);
  EXPECT_EQ(x.Delay(3600.0L, 0.0L, 0.0L, 1, 1, 90.0L, 1), 0.0L);
  EXPECT_EQ(x.head.GetNSat(), 3);
  EXPECT_EQ(x.head.GetNStats(), 1);
  EXPECT_NEAR(x.reader.GetDCB(5), -2.5e-9, 1e-21);
  EXPECT_NEAR(x.reader.GetDCB(107), 1.25e-9, 1e-21);
  EXPECT_NEAR(x.reader.GetDCB(211), 0.75e-9, 1e-21);
  EXPECT_EQ(x.reader.GetDCB(6), 0.0);
}

TEST(IONEXDeathTest, EpochsAndPositionsOutsideTheMapsStopTheProgram) {
  Ionex x;
  x.reader.ReadFile();
  const char* head = "**** IONEXData: Error -> ";
  EXPECT_EXIT_COUT(x.Delay(14400.0L, 0.0L, 0.0L, 1),
                   std::string(head) + "SECONDS OF DAY FOR IONOSPHERE DELAY INPROPER [iT1]! ****");
  EXPECT_EXIT_COUT(x.Delay(-3700.0L, 0.0L, 0.0L, 1),
                   "SECONDS OF DAY FOR IONOSPHERE DELAY INPROPER [iT1<-1]!");
  // More than one interval before the first map is refused as after the last one.
  EXPECT_EXIT_COUT(x.Delay(-1800.0L, 0.0L, 0.0L, 1),
                   "SECONDS OF DAY FOR IONOSPHERE DELAY INPROPER [iT1<-1]!");
  EXPECT_EXIT_COUT(
      x.Delay(3600.0L, 15.0L, 0.0L, 1),
      "LATITUDE FOR IONOSPHERE DELAY INPROPER [iB1]! ****\n     Exiting IONEXData ... ");
  EXPECT_EXIT_COUT(x.Delay(3600.0L, -20.5L, 0.0L, 1),
                   "LATITUDE FOR IONOSPHERE DELAY INPROPER [iB1<-1]!");
}

TEST(IONEXDeathTest, LongitudeBeyondARegionalGridStopsTheProgram) {
  Layout lay;
  Ionex x(lay);
  // A regional grid: -180..180 replaced by a window of 20 degrees.
  std::string text = IonexText(lay);
  const std::string from = "  -180.0 180.0  90.0";
  text.replace(text.find(from), from.size(), "   -10.0  10.0   5.0");
  testsupport::WriteFile(x.dir.File("test.19i"), text);
  // Rows of the maps still hold five values: the grid has five longitudes.
  x.reader.ReadFile();
  EXPECT_EXIT_COUT(x.Delay(3600.0L, 0.0L, 12.0L, 1),
                   "LONGITUDE FOR IONOSPHERE DELAY INPROPER [iL2]!");
  EXPECT_EXIT_COUT(x.Delay(3600.0L, 0.0L, 17.0L, 1),
                   "LONGITUDE FOR IONOSPHERE DELAY INPROPER [iL1]!");
}

TEST(IONEXDeathTest, BadFilesStopTheProgram) {
  {
    Ionex x;
    x.reader.SetFile(x.dir.File("missing.19i").c_str());
    EXPECT_EXIT_COUT(x.reader.ReadFile(), "**** IONEX: Error -> IONEX file can not be opened [" +
                                              x.dir.File("missing.19i") + "]!!! ****");
  }
  {
    Layout lay;
    lay.type = "GLOBAL MAPS";
    Ionex x(lay);
    EXPECT_EXIT_COUT(x.reader.ReadFile(),
                     "**** IONEXHeader: Error -> FILE VERSION IS NOT \"IONOSPHERE MAPS\"!! ****");
  }
  {
    Ionex x;
    const std::string text = IonexText(Layout());
    testsupport::WriteFile(x.dir.File("test.19i"), text.substr(0, text.find("END OF HEADER") - 70));
    EXPECT_EXIT_COUT(x.reader.ReadFile(), "IONEX FILE ENDS IN THE HEADER - NO MAPS IN FILE!");
  }
  {
    Ionex x;
    const std::string text = IonexText(Layout());
    testsupport::WriteFile(x.dir.File("test.19i"),
                           text.substr(0, text.find("START OF TEC MAP") + 200));
    EXPECT_EXIT_COUT(x.reader.ReadFile(), "IONEX FILE CORRUPTED (MAP ROW TOO SHORT)!");
  }
  {
    Layout lay;
    lay.lat = "    10.0 -10.0   0.0";
    Ionex x(lay);
    EXPECT_EXIT_COUT(x.reader.ReadFile(), "IONEX FILE CORRUPTED (MAP DIMENSIONS)!");
  }
  {
    Ionex x;
    std::string text = IonexText(Layout());
    const std::string from = "  6371.0";
    text.replace(text.find(from), from.size(), "     0.0");
    testsupport::WriteFile(x.dir.File("test.19i"), text);
    EXPECT_EXIT_COUT(x.reader.ReadFile(), "IONEX FILE CORRUPTED (BASE RADIUS OR HEIGHT)!");
  }
  {
    Layout lay;
    lay.maps = 4;
    Ionex x(lay);
    std::string text = IonexText(lay);
    // The RMS maps hold one map fewer than announced.
    text = text.substr(0, text.rfind("START OF RMS MAP") - 60);
    testsupport::WriteFile(x.dir.File("test.19i"), text);
    EXPECT_EXIT_COUT(x.reader.ReadFile(), "IONEX FILE CORRUPTED (RMS MAP 4 MISSING)!");
  }
}

// The published maps of 15 January 2019: at the grid nodes and map epochs the vertical
// delay is the file value (0.1 TECU) in metres.
TEST(IONEX, RealMapsAtTheGridNodes) {
  const std::string path = testsupport::SharedData("models/gpsg0150.19i");
  if (path.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  IONEXHeader head;
  IONEXData data(head);
  IONEX reader(head, data);
  reader.SetFile(path.c_str());
  reader.ReadFile();
  ASSERT_EQ(data.GetNEph(), 25);
  ASSERT_EQ(data.GetNLat(), 71);
  ASSERT_EQ(data.GetNLon(), 73);

  // The file's own numbers of map 4 (03:00), latitude 45.0.
  std::ifstream in(path);
  std::string line;
  int map = 0;
  std::vector<long> values;
  while (std::getline(in, line)) {
    if (line.find("START OF TEC MAP") != std::string::npos) map++;
    if (map == 4 && line.find("    45.0-180.0") == 0) {
      while (values.size() < 73 && std::getline(in, line)) {
        std::istringstream row(line);
        long v;
        while (row >> v) values.push_back(v);
      }
      break;
    }
  }
  ASSERT_EQ(values.size(), 73u);
  for (int j : {0, 20, 36, 39, 72}) {
    long double sod = 3.0L * 3600.0L, lat = 45.0L, lon = -180.0L + 5.0L * j, elev = 90.0L;
    int unit = 0, type = 1, kind = 0;
    EXPECT_NEAR(reader.CalcIonDelay(sod, lat, lon, elev, 0.0L, unit, type, kind),
                values[j] * 0.1L * kMetresPerTECU, 1e-12L)
        << j;
  }
}

// The slant delay from the map at the ionospheric pierce point (single layer of 350 km of the
// file) toward a satellite at 10 degrees elevation, station at 45 N, 15 E, 12:00 of the
// published maps of 15 January 2019. Reference computed by hand (Schaer et al. 1998): pierce
// point, bilinear value from the file's four nodes around it, divided by cos z'. Evaluated
// above the station, every azimuth gave 5.525 m.
TEST(IONEX, RealMapsAtThePiercePoint) {
  const std::string path = testsupport::SharedData("models/gpsg0150.19i");
  if (path.empty()) GTEST_SKIP() << testsupport::kNoSharedData;
  IONEXHeader head;
  IONEXData data(head);
  IONEX reader(head, data);
  reader.SetFile(path.c_str());
  reader.ReadFile();
  struct Case {
    long double azimuth, metres;  // pierce point
  };
  const Case cases[] = {
      {180.0L, 6.676747993L},  // 33.9909 N, 15.0000 E
      {90.0L, 6.053522167L},   // 43.9550 N, 30.3831 E
      {0.0L, 4.591751121L},    // 56.0091 N, 15.0000 E
      {270.0L, 5.183088113L},  // 43.9550 N, 0.3831 W
  };
  for (const Case& c : cases) {
    long double sod = 43200.0L, lat = 45.0L, lon = 15.0L, elev = 10.0L;
    int unit = 0, type = 1, kind = 0;
    EXPECT_NEAR(reader.CalcIonDelay(sod, lat, lon, elev, c.azimuth, unit, type, kind), c.metres,
                1e-6L)
        << c.azimuth;
  }
}

TEST(IONEXDeathTest, MapsOffTheirIntervalStopTheProgram) {
  Layout lay;
  lay.interval = 1800;  // the maps are an hour apart
  Ionex x(lay);
  EXPECT_EXIT_COUT(
      x.reader.ReadFile(),
      "**** IONEXData: Error -> IONEX FILE CORRUPTED (TEC MAP 2 EPOCH OFF THE INTERVAL)! ****");
}

TEST(IONEXDeathTest, MapCountsAndValuesBeyondAnyFileStopTheProgram) {
  {
    Ionex x;
    std::string text = IonexText(Layout());
    const std::string from =
        "     3                                                      # OF MAPS";
    text.replace(text.find(from), from.size(),
                 "999999999                                                   # OF MAPS");
    testsupport::WriteFile(x.dir.File("test.19i"), text);
    EXPECT_EXIT_COUT(x.reader.ReadFile(),
                     "TEC::ERROR:\n\tFunction:   Resize\nTEC dimensions not valid: ");
  }
  {
    Ionex x;
    std::string text = IonexText(Layout());
    const std::string from = "    -1                                                      EXPONENT";
    text.replace(text.find(from), from.size(),
                 "  9999                                                      EXPONENT");
    testsupport::WriteFile(x.dir.File("test.19i"), text);
    EXPECT_EXIT_COUT(
        x.reader.ReadFile(),
        "**** IONEXData: Error -> IONEX FILE CORRUPTED (MAP VALUE NOT A NUMBER)! ****");
  }
}
