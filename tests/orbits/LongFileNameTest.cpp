#include <filesystem>
#include <string>

#include "orbits/GLNSat.h"
#include "orbits/GNSSpClk.h"
#include "orbits/GNSSpEph.h"
#include "orbits/OrbitFixtures.h"
#include "support/TestSupport.h"

// The command line accepts file names of up to 511 characters: the readers must
// open such a file by its whole name, not by a cut-off prefix.
TEST(LongFileName, ReadersKeepTheWholeName) {
  testsupport::TempDir dir;
  std::string folder = dir.Path() + "/" + std::string(200, 'a') + "/" + std::string(200, 'b');
  std::filesystem::create_directories(folder);
  std::string sp3 = folder + "/orbit.sp3", clk = folder + "/clock.clk";
  ASSERT_GT(sp3.size(), 400u);
  ASSERT_LT(sp3.size(), 512u);
  testsupport::WriteFile(sp3, orbitfixture::Sp3());
  testsupport::WriteFile(clk, orbitfixture::Clock());

  GNSSpEph eph;
  eph.SetFile(sp3.c_str());
  eph.ReadFile();
  EXPECT_GT(eph.GetNEpoch(), 0);

  GNSSpClk clock;
  clock.SetFile(clk.c_str());
  clock.ReadFile();
  EXPECT_GT(clock.GetNEpoch(), 0);
}
