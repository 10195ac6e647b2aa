// A-priori coordinate list: name and number matching, velocities, epochs.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gnss/mjd.h"
#include "gnss/xyz.h"
#include "station/gCRD.h"
#include "support/TestSupport.h"

using testsupport::Literal;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

// One station line in the list layout; velocities and epoch only when given.
std::string Line(int n, const char* name, const char* number, double x, double y, double z,
                 bool vel = false, const char* epoch = nullptr) {
  char buf[256];
  std::snprintf(buf, sizeof buf, "%4d %-20s %-60s %15.4f%15.4f%15.4f", n, name, number, x, y, z);
  std::string s(buf);
  if (vel) {
    std::snprintf(buf, sizeof buf, "%10.4f%10.4f%10.4f", 0.01, -0.02, 0.03);
    s += buf;
  }
  if (epoch != nullptr) s += std::string(" ") + epoch;
  return s + "\n";
}

const char* kHead =
    "# ID MARKER_NAME          MARKER_NUMBER                                                      "
    "X "
    "[m]        Y [m]          Z [m]       VX[m/yr]  VY[m/yr]  VZ[m/yr]  YYYY-MM-DD HH:MM:SS\n";

class gCRDTest : public ::testing::Test {
 protected:
  void Load(const std::string& text) {
    WriteFile(dir.File("crd.txt"), text);
    crd.SetFile(dir.File("crd.txt").c_str());
  }
  TempDir dir;
  gCRD crd;
  const mjd t2015{57023, 0.0L};  // 2015-01-01
};

}  // namespace

TEST_F(gCRDTest, LayoutOfTheTestLines) {
  EXPECT_EQ(Line(1, "A", "", 1, 2, 3).size(), 133u);
  EXPECT_EQ(Line(1, "A", "", 1, 2, 3, true).size(), 163u);
  EXPECT_EQ(Line(1, "A", "", 1, 2, 3, true, "2010-01-01 00:00:00").size(), 183u);
}

TEST_F(gCRDTest, CoordinatesWithoutVelocitiesAreTakenAsStored) {
  Load(std::string(kHead) + Line(1, "GSR1", "", 4282000.1, 1100000.2, 4686000.3));
  const xyz p = crd.GetCRD("GSR1", "12345M001", t2015);
  EXPECT_TRUE(crd.IsSite());
  EXPECT_NEAR(static_cast<double>(p.GetX()), 4282000.1, 1e-9);
  EXPECT_NEAR(static_cast<double>(p.GetZ()), 4686000.3, 1e-9);
}

TEST_F(gCRDTest, VelocitiesPropagateFromTheReferenceEpoch) {
  Load(Line(1, "GSR1", "", 100, 200, 300, true, "2010-01-01 00:00:00"));
  const xyz p = crd.GetCRD("GSR1", "", t2015);
  EXPECT_NEAR(static_cast<double>(p.GetX()), 100 + 5 * 0.01, 1e-9);
  EXPECT_NEAR(static_cast<double>(p.GetY()), 200 - 5 * 0.02, 1e-9);
  EXPECT_NEAR(static_cast<double>(p.GetZ()), 300 + 5 * 0.03, 1e-9);
  // Without an epoch the velocities refer to 2005-01-01.
  Load(Line(1, "GSR1", "", 100, 200, 300, true));
  EXPECT_NEAR(static_cast<double>(crd.GetCRD("GSR1", "", t2015).GetX()), 100 + 10 * 0.01, 1e-9);
}

TEST_F(gCRDTest, LineOf160CharactersHasNoVelocities) {
  std::string line = Line(1, "GSR1", "", 100, 200, 300, true);
  line = line.substr(0, 160) + "\n";
  Load(line);
  EXPECT_NEAR(static_cast<double>(crd.GetCRD("GSR1", "", t2015).GetX()), 100, 1e-9);
}

TEST_F(gCRDTest, FirstMatchingLineWinsAndNumbersMustAgree) {
  Load(std::string(kHead) + Line(1, "ABCD", "11111M001", 1, 1, 1) +
       Line(2, "ABC", "22222M001", 2, 2, 2) + Line(3, "ABC", "", 3, 3, 3) +
       Line(4, "ABC", "", 4, 4, 4));
  EXPECT_NEAR(static_cast<double>(crd.GetCRD("ABC", "11111M001", t2015).GetX()), 1, 1e-12);
  EXPECT_NEAR(static_cast<double>(crd.GetCRD("ABC", "22222M001", t2015).GetX()), 2, 1e-12);
  EXPECT_NEAR(static_cast<double>(crd.GetCRD("ABC", "33333M001", t2015).GetX()), 3, 1e-12);
  EXPECT_NEAR(static_cast<double>(crd.GetCRD("ABCD", "11111M001", t2015).GetX()), 1, 1e-12);
  crd.GetCRD("ABCD", "", t2015);  // the only ABCD line names another number
  EXPECT_FALSE(crd.IsSite());
}

TEST_F(gCRDTest, ListEndsAtAnEmptyOrUnnumberedLine) {
  Load(Line(1, "AAAA", "", 1, 1, 1) + "\n" + Line(2, "BBBB", "", 2, 2, 2));
  crd.GetCRD("BBBB", "", t2015);
  EXPECT_FALSE(crd.IsSite());
  Load(Line(1, "AAAA", "", 1, 1, 1) + "    " + Line(2, "BBBB", "", 2, 2, 2).substr(4));
  const xyz p = crd.GetCRD("BBBB", "", t2015);
  EXPECT_FALSE(crd.IsSite());
  EXPECT_EQ(p.GetX(), 0.0L);
}

TEST_F(gCRDTest, UnreadableCoordinatesDoNotMatch) {
  std::string bad = Line(1, "AAAA", "", 1, 1, 1);
  bad.replace(90, 10, "  garbage ");
  Load(bad + Line(2, "AAAA", "", 2, 2, 2));
  EXPECT_NEAR(static_cast<double>(crd.GetCRD("AAAA", "", t2015).GetX()), 2, 1e-12);
  std::string badEpoch = Line(1, "BBBB", "", 1, 1, 1, true, "2010-13-45 00:00:00");
  Load(badEpoch);
  crd.GetCRD("BBBB", "", t2015);
  EXPECT_FALSE(crd.IsSite());
}

TEST_F(gCRDTest, AbsurdCoordinatesOrVelocitiesDoNotMatch) {
  std::string far = Line(1, "CCCC", "", 1, 1, 1);
  far.replace(87, 15, "         1e4000");  // a number even in extended precision
  std::string fast = Line(2, "CCCC", "", 2, 2, 2, true);
  fast.replace(132, 10, "     1e+30");
  std::string inf = Line(3, "CCCC", "", 3, 3, 3);
  inf.replace(102, 15, "            inf");
  Load(far + fast + inf + Line(4, "CCCC", "", 4, 4, 4, true));
  EXPECT_NEAR(static_cast<double>(crd.GetCRD("CCCC", "", t2015).GetX()), 4 + 0.01 * 10, 1e-9);
  EXPECT_TRUE(crd.IsSite());
}

TEST_F(gCRDTest, MissingFileIsFatal) {
  EXPECT_EXIT(crd.SetFile(dir.File("none.crd").c_str()), ::testing::ExitedWithCode(1),
              Literal("COORDINATE FILE DOES NOT EXIST!"));
}
