// Loading of the troposphere and ionosphere inputs and the model names of the settings
// report.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "../orbits/OrbitFixtures.h"
#include "driver/Tervan_GetFiles.h"
#include "driver/Tervan_ReadFiles.h"
#include "support/TestSupport.h"

namespace {

std::string Fixture(const std::string& name) {
  return std::string(TERVAN_TEST_DATA) + "/atmosphere/" + name;
}

const char* const SdText =
    "SINGLE_DIFFERENCES\n# & TYPES OF OBS:  2  C1 L1\nEND OF HEADER 1\n"
    "2 56046 0 0 0 0\n  5 20000000.0 100000.0\n  7 21000000.0 110000.0\n"
    "2 56046 30 0 0 0\n  5 20000030.0 100030.0\n  7 21000030.0 110030.0\n";

// A context with a small GPS single-difference file, ready for SetFiles and ReadFiles.
struct Context {
  testsupport::TempDir dir;
  std::unique_ptr<TervanC> tc = std::make_unique<TervanC>();
  Context() {
    testsupport::WriteFile(dir.File("a.sdf"), SdText);
    Name(tc->sdfile, dir.File("a.sdf"));
    tc->isSDfile = tc->isGPS = tc->verbose = true;
  }
  static void Name(char* buffer, const std::string& path) {
    std::snprintf(buffer, 512, "%s", path.c_str());
  }
  // Sets and reads the files; returns the verbose lines.
  std::string Load() {
    testing::internal::CaptureStderr();
    SetFiles(*tc);
    ReadFiles(*tc);
    return testing::internal::GetCapturedStderr();
  }
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace

TEST(AtmosphereInputs, KlobucharCoefficientsAreRead) {
  Context c;
  Context::Name(c.tc->ionkfile, Fixture("nav.12n"));
  c.tc->isKlob = true;
  const std::string err = c.Load();
  EXPECT_NEAR(c.tc->ionk.GetAlfa()[0], 0.1118e-7L, 1e-20L);
  EXPECT_NEAR(c.tc->ionk.GetBeta()[3], 0.1049e7L, 1e-8L);
  const std::string line = "Tervan::ReadFiles():        reading KLOBUCHAR ionosphere file\n";
  EXPECT_TRUE(Has(err, line + line)) << err;
}

TEST(AtmosphereInputs, KlobucharFileWithoutCoefficientsIsWarnedAbout) {
  Context c;
  testsupport::WriteFile(c.dir.File("obs.nav"),
                         "     2.10           N: GPS NAV DATA                         RINEX "
                         "VERSION / TYPE\n                                                     "
                         "       END OF HEADER\n");
  Context::Name(c.tc->ionkfile, c.dir.File("obs.nav"));
  c.tc->isKlob = true;
  const std::string err = c.Load();
  EXPECT_TRUE(Has(err,
                  "\n#### Tervan: Warning -> KLOBUCHAR IONOSPHERE FILE HOLDS NO ION ALPHA "
                  "COEFFICIENTS - ONLY THE NIGHT-TIME DELAY IS MODELLED! ####\n"))
      << err;
}

TEST(AtmosphereInputs, IonexMapsAreRead) {
  Context c;
  Context::Name(c.tc->ionxfile, Fixture("maps.12i"));
  c.tc->isIonx = true;
  const std::string err = c.Load();
  EXPECT_TRUE(Has(err, "Tervan::SetFiles():         setting IONEX file!\n")) << err;
  EXPECT_TRUE(Has(err, "Tervan::ReadFiles():        reading IONEX ionosphere file\n")) << err;
  EXPECT_EQ(c.tc->ionxd.GetNEph(), 2);
  long double sod = 0.0L, lat = 0.0L, lon = 0.0L, elev = 90.0L;
  int unit = c.tc->IonexUnit, type = c.tc->IonexProc, kind = c.tc->IonexTECV;
  EXPECT_NEAR(c.tc->ionx.CalcIonDelay(sod, lat, lon, elev, 0.0L, unit, type, kind),
              12.0L * 0.1623724475119947L, 1e-12L);
}

TEST(AtmosphereInputs, IonexMapsOfAnotherDayAreWarnedAbout) {
  // The same maps a day earlier: 00:00 of the observations' day lies beyond their last map.
  std::string text = testsupport::ReadFile(Fixture("maps.12i"));
  for (size_t pos; (pos = text.find("2012     4    29")) != std::string::npos;)
    text.replace(pos, 16, "2012     4    28");
  Context c;
  testsupport::WriteFile(c.dir.File("maps.12i"), text);
  Context::Name(c.tc->ionxfile, c.dir.File("maps.12i"));
  c.tc->isIonx = true;
  const std::string warning =
      "\n#### Tervan: Warning -> IONEX MAPS DO NOT COVER THE EPOCHS OF THE SINGLE DIFFERENCES "
      "FILE - MAPS ARE TAKEN BY TIME OF DAY ONLY! ####\n";
  const std::string err = c.Load();
  EXPECT_TRUE(Has(err, warning)) << err;
  // Maps of the observations' own day raise no warning.
  Context own;
  Context::Name(own.tc->ionxfile, Fixture("maps.12i"));
  own.tc->isIonx = true;
  EXPECT_FALSE(Has(own.Load(), "IONEX MAPS DO NOT COVER"));
}

TEST(AtmosphereInputs, LustraIonosphereIsRead) {
  Context c;
  Context::Name(c.tc->myionfile, Fixture("lustra.ion"));
  c.tc->isMyion = true;
  const std::string err = c.Load();
  EXPECT_TRUE(Has(err, "Tervan::SetFiles():         setting MYIONO file!\n")) << err;
  EXPECT_TRUE(Has(err, "Tervan::ReadFiles():        reading MYIONO file!\n")) << err;
  EXPECT_EQ(c.tc->myion.GetNEph(), 3);
  EXPECT_EQ(c.tc->myion.GetType(), 0);
}

TEST(AtmosphereInputs, TroposphereModelAndFileAreSet) {
  Context c;
  Context::Name(c.tc->gpt2file, Fixture("grid.grd"));
  c.tc->isGPT2file = c.tc->isTrpModel = true;
  c.tc->TrpModel = 3;
  c.tc->TrpMappFun = 6;
  const std::string err = c.Load();
  EXPECT_TRUE(
      Has(err,
          "Tervan::SetFiles():         setting TROPOSPHERE model and mapping function: 3/6\n"
          "Tervan::SetFiles():         setting GPT2 TROPOSPHERE MODEL/MAPPING FUNCTION "
          "file!\n"))
      << err;
  EXPECT_TRUE(
      Has(err, "Tervan::ReadFiles():        reading GPT2 TROP. MODEL/MAPP. FUNCTION file!\n"))
      << err;
  const flh pos(45.0L * 3.141592653589793L / 180.0L, 0.0L, 0.0L);
  c.tc->trpmodel.SetAtmParams(pos);
  c.tc->trpmodel.GetZenithDelay(c.tc->trpdelay, pos, mjd(56046, 0.0L));
  EXPECT_NEAR(c.tc->trpdelay.ZenithDelayDry(), 0.002277L * 1013.25L, 1e-9L);
}

TEST(AtmosphereInputs, ReportNamesTheModelsOfTheRun) {
  TervanC tc;
  tc.isTrpModel = true;
  tc.TrpModel = 4;
  tc.TrpMappFun = 5;
  testing::internal::CaptureStdout();
  PrintArgumetns(tc);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(Has(out,
                  "     Troposphere model                : VIENNA\n"
                  "     Troposphere mapping function     : VMF1\n"))
      << out;

  // A mapping function without a known model word: the run uses Saastamoinen.
  TervanC other;
  other.isTrpModel = true;
  other.TrpMappFun = 1;
  testing::internal::CaptureStdout();
  PrintArgumetns(other);
  out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(Has(out,
                  "     Troposphere model                : Saastamoinen\n"
                  "     Troposphere mapping function     : Chao\n"))
      << out;
  EXPECT_TRUE(Has(out, "TROPOSPHERE MODEL NOT SET CORRECTLY - USING DEFAULT: SAASTAMOINEN!"));
  EXPECT_EQ(other.TrpModel, 0);
}

TEST(AtmosphereInputs, WholeRunsReadTheFilesAndNameTheModels) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("a.sdf"), SdText);
  testsupport::WriteFile(dir.File("orbit.sp3"), orbitfixture::Sp3());
  const std::vector<std::string> base = {"-v", "-ra.sdf", "-eporbit.sp3", "-tmVIENNA,VMF1",
                                         "-g2" + Fixture("sites.vmf1")};
  for (const std::string& iono :
       {"-ik" + Fixture("nav.12n"), "-ii" + Fixture("maps.12i"), "-im" + Fixture("lustra.ion")}) {
    std::vector<std::string> args = base;
    args.push_back(iono);
    const testsupport::RunResult r = testsupport::RunTervan(dir.Path(), args);
    // The small file gives no station positions: the run ends after the loading.
    EXPECT_EQ(r.status, 1) << iono << r.err;
    EXPECT_TRUE(Has(r.err, "BASE HAS NO A-PRIORI POSITION")) << r.err;
    EXPECT_TRUE(Has(r.out,
                    "     Troposphere model                : VIENNA\n"
                    "     Troposphere mapping function     : VMF1\n"))
        << r.out;
    EXPECT_TRUE(Has(r.err, "reading GPT2 TROP. MODEL/MAPP. FUNCTION file!")) << r.err;
    const char* read = iono[2] == 'k'   ? "reading KLOBUCHAR ionosphere file"
                       : iono[2] == 'i' ? "reading IONEX ionosphere file"
                                        : "reading MYIONO file!";
    EXPECT_TRUE(Has(r.err, read)) << r.err;
  }
}
