// Station model files in deep folders: every name the command line takes is read whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gnss/mjd.h"
#include "station/DCB.h"
#include "station/PoleTide.h"
#include "station/RecCodeTrack.h"
#include "station/gCRD.h"
#include "station/myDCB.h"
#include "support/TestSupport.h"

using testsupport::TempDir;
using testsupport::WriteFile;

TEST(LongFileNames, ReadersTakeNamesOfMoreThan255Characters) {
  TempDir dir;
  std::string folder = dir.Path();
  while (folder.size() < 400) folder += "/" + std::string(60, 'd');
  std::filesystem::create_directories(folder);
  const std::string erp = folder + "/igs.erp";
  WriteFile(erp, "  MJD  X  Y  UT1\n units\n56228.50 100 200 300\n");
  PoleTide pt;
  pt.SetFile(erp.c_str());
  pt.ReadFile();
  EXPECT_EQ(pt.GetNEpoch(), 1);
  const std::string dcb = folder + "/P1C11501.DCB";
  WriteFile(dcb, "PRN / STATION NAME\nG01                           1.496       0.005\n");
  DCB d;
  d.SetFile(dcb.c_str());
  d.ReadFile();
  EXPECT_EQ(d.GetNSat(), 1);
  EXPECT_EQ(d.GetStartEpoch(), mjd(57023, 0.0L));  // the month still comes from the name
  const std::string lustra = folder + "/lustra.dcb";
  WriteFile(lustra, "S     G 1 0.5000     0.0010     0.7000     0.0020\n");
  myDCB m;
  m.SetFile(lustra.c_str());
  m.ReadFile();
  EXPECT_EQ(m.GetNSat(), 1);
  const std::string list = folder + "/rec.txt";
  WriteFile(list, "TRIMBLE 4000SSI        2     C1\n                             P2\n");
  RecCodeTrack r;
  r.SetFile(list.c_str());
  EXPECT_EQ(r.GetRecCodeTrack("TRIMBLE 4000SSI"), 1);
  const std::string crd = folder + "/crd.txt";
  WriteFile(crd,
            "   1 ABCD" + std::string(78, ' ') + "      4000000.0      1000000.0      4700000.0\n");
  gCRD c;
  c.SetFile(crd.c_str());
  c.GetCRD("ABCD", "", mjd(57023, 0.0L));
  EXPECT_TRUE(c.IsSite());
}
