// Runs of the whole program compared with golden files: the help text, the title
// block and settings report, the warnings and the verbose progress lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "../orbits/OrbitFixtures.h"
#include "sim/Dataset.h"
#include "sim/Simulator.h"
#include "support/TestSupport.h"

using testsupport::NormaliseDate;
using testsupport::ReadFile;
using testsupport::RunTervan;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

std::string GoldenPath(const std::string& name) {
  return std::string(TERVAN_GOLDEN) + "/driver/" + name;
}

// Compares text with a golden file; TERVAN_UPDATE_GOLDEN=1 rewrites the file instead.
void ExpectGolden(const std::string& text, const std::string& name) {
  if (std::getenv("TERVAN_UPDATE_GOLDEN")) WriteFile(GoldenPath(name), text);
  std::string golden = ReadFile(GoldenPath(name));
  ASSERT_FALSE(golden.empty()) << name;
  EXPECT_EQ(text, golden) << name;
}

// A small single-difference file with GPS, GLONASS and Galileo records.
const char* const SdText =
    "SINGLE_DIFFERENCES\n# & TYPES OF OBS:  2  C1 L1\nEND OF HEADER 1\n"
    "3 59000 0 0 0 0\n  5 20000000.0 100000.0\n105 21000000.0 110000.0\n211 22000000.0 120000.0\n"
    "3 59000 30 0 0 0\n  5 20000030.0 100030.0\n105 21000030.0 110030.0\n211 22000030.0 120030.0\n";

// A header line: text in columns 0-59, the label from column 60.
std::string Labelled(const std::string& text, const char* label) {
  std::string line = text;
  line.resize(60, ' ');
  return line + label + "\n";
}

// A small IONEX file: two maps of three latitudes (covering the stations) and three
// longitudes.
std::string IonexText() {
  std::string s = Labelled("     1.0            IONOSPHERE MAPS     GPS", "IONEX VERSION / TYPE");
  s += Labelled("  2020     5    31     0     0     0", "EPOCH OF FIRST MAP");
  s += Labelled("  2020     5    31     1     0     0", "EPOCH OF LAST MAP");
  s += Labelled("  3600", "INTERVAL") + Labelled("     2", "# OF MAPS IN FILE");
  s += Labelled("  6371.0", "BASE RADIUS") + Labelled("   450.0 450.0   0.0", "HGT1 / HGT2 / DHGT");
  s += Labelled("    60.0  40.0 -10.0", "LAT1 / LAT2 / DLAT");
  s += Labelled("  -180.0 180.0 180.0", "LON1 / LON2 / DLON");
  s += Labelled("    -1", "EXPONENT") + Labelled("", "END OF HEADER");
  for (int m = 0; m < 2; m++) {
    s += Labelled("     1", "START OF TEC MAP");
    s += Labelled("  2020     5    31     " + std::to_string(m) + "     0     0",
                  "EPOCH OF CURRENT MAP");
    for (const char* lat : {"60.0", "50.0", "40.0"})
      s +=
          Labelled(std::string("    ") + lat + "-180.0 180.0 180.0 450.0", "LAT/LON1/LON2/DLON/H") +
          "  100  120  100\n";
    s += Labelled("     1", "END OF TEC MAP");
  }
  return s;
}

// A GPT2 grid of two latitudes and two longitudes.
std::string Gpt2Text() {
  std::string s = "% lat lon p T Q dT undu Hs ah aw\n";
  const std::string values =
      " 101325 0 0 0 0 288 0 0 0 0 5 0 0 0 0 -6.5 0 0 0 0 0 0 1.2 0 0 0 0 0.6 0 0 0 0\n";
  for (const char* point : {"50 0", "50 180", "40 0", "40 180"}) s += point + values;
  return s;
}

bool EndsWith(const std::string& name, const std::string& end) {
  return name.size() > end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
}

// Simulated files standing in for the inputs of the runs: the name's ending and
// the simulator's file.
const char* const SimulatedFiles[][2] = {{".sdf", "SIMB_SIMR.sd"},
                                         {".SP3", "orbit.sp3"},
                                         {".12n", "gps.nav"},
                                         {".12g", "glonass.nav"},
                                         {".12l", "galileo.nav"},
                                         {".CLK", "clock.clk"},
                                         {"GLNFREQ.TXT", "glonass_channels.txt"},
                                         {".ERP", "earth_rotation.erp"},
                                         {".BLQ", "ocean_loading.blq"},
                                         {".atx", "antenna.atx"}};

// Ten noise-free minutes at 30 s of GPS, GLONASS and Galileo on a 10 km baseline
// from a fixed seed, with the extra simulator options, written into dir/sim (as
// `tervan-sim --out sim --seed 7 --start "2020-05-31 00:10:00" --duration 10m
// --noise-free` with the extras would).
void Simulate(const TempDir& dir, std::vector<std::string> extra) {
  std::vector<std::string> args = {"--seed",     "7",   "--start",     "2020-05-31 00:10:00",
                                   "--duration", "10m", "--noise-free"};
  args.insert(args.end(), extra.begin(), extra.end());
  sim::Scenario sc;
  std::string msg;
  ASSERT_EQ(sim::ParseScenario(args, sc, msg), sim::ParseResult::kRun) << msg;
  sc.outDir = dir.File("sim");
  sim::Simulator s(sc);
  s.Run();
  ASSERT_TRUE(sim::WriteDataset(s, msg)) << msg;
}

// Creates the named input files in the folder: the simulated dataset's files for
// the names of its kinds (simulating it first), ionosphere maps for ".12i", a
// GPT2 grid for ".grd", one line for the others.
void MakeFiles(const TempDir& dir, const std::vector<std::string>& names,
               const std::vector<std::string>& simulatorOptions = {}) {
  Simulate(dir, simulatorOptions);
  for (const auto& n : names) {
    std::string text = "input\n";
    for (const auto& f : SimulatedFiles)
      if (EndsWith(n, f[0]) || n == f[0]) text = ReadFile(dir.File(std::string("sim/") + f[1]));
    if (EndsWith(n, ".12i")) text = IonexText();
    if (EndsWith(n, ".grd")) text = Gpt2Text();
    WriteFile(dir.File(n), text);
  }
}

// The hand-made single differences without station positions and the small orbit
// fixture.
void MakeDegenerateFiles(const TempDir& dir) {
  WriteFile(dir.File("RDVL_BOVC.sdf"), SdText);
  WriteFile(dir.File("IGS15660.SP3"), orbitfixture::Sp3());
}

// Replaces named inputs by readable station model files of tests/data/station.
void UseStationFiles(const TempDir& dir) {
  const std::string data = std::string(TERVAN_TEST_DATA) + "/station/";
  const char* const files[][2] = {{"P1P2.DCB", "monthly.dcb"},      {"P1C1.DCB", "monthly.dcb"},
                                  {"P2C2.DCB", "monthly.dcb"},      {"LUSTRA.DCB", "lustra.dcb"},
                                  {"RECTRACK.TXT", "rectrack.txt"}, {"APRCRD.txt", "aprcrd.txt"}};
  for (const auto& f : files) WriteFile(dir.File(f[0]), ReadFile(data + f[1]));
}

const std::string StartLines =
    "\nTervan: ***** GNSS CODE/PHASE SINGLE DIFFERENCES POSITIONING - STARTING APPLICATION "
    "*****\nTervan::GetFiles(): PARSING INPUT PARAMETERS!\n";
const std::string EndLines = "Tervan: ***** SUCCESFULLY ENDING PROGRAM *****!\n\n\n";

}  // namespace

TEST(TervanRun, HelpWithoutOptions) {
  TempDir dir;
  std::string help = ReadFile(GoldenPath("help.txt"));
  ASSERT_FALSE(help.empty());
  EXPECT_NE(help.find("kli\xE8"
                      "e iz ukazne"),
            std::string::npos);  // Windows-1250 bytes
  for (auto args : std::vector<std::vector<std::string>>{{}, {"-help"}, {"HELP"}}) {
    auto r = RunTervan(dir.Path(), args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    if (args.size() == 1 && args[0] == "HELP")
      EXPECT_EQ(r.err.substr(r.err.size() - help.size()), help);  // after the stray warning
    else
      EXPECT_EQ(r.err, help);
  }
}

TEST(TervanRun, HelpInVerboseModeIsFramedByStartAndEnd) {
  TempDir dir;
  std::string help = ReadFile(GoldenPath("help.txt"));
  for (auto args :
       std::vector<std::vector<std::string>>{{"-v"}, {"-help", "-v"}, {"-V", "-Help"}}) {
    auto r = RunTervan(dir.Path(), args);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, StartLines + help + EndLines);
  }
}

TEST(TervanRun, AllDefaults) {
  TempDir dir;
  MakeFiles(dir, {"RDVL_BOVC.sdf", "IGS15660.SP3"});
  auto r = RunTervan(dir.Path(), {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3"});
  EXPECT_EQ(r.status, 0);
  ExpectGolden(NormaliseDate(r.out), "defaults.out.txt");
  ExpectGolden(r.err, "defaults.err.txt");
}

TEST(TervanRun, EveryFileOptionAndSwitch) {
  TempDir dir;
  MakeFiles(
      dir,
      {"RDVL_BOVC.sdf", "brdc1200.12n", "brdc1200.12g", "brdc1200.12l", "IGS15660.CLK",
       "IGS15667.ERP", "SAT_2009.CRX", "IONEX.12i", "igs08.atx", "P1P2.DCB", "P1C1.DCB", "P2C2.DCB",
       "LUSTRA.DCB", "RECTRACK.TXT", "GLNFREQ.TXT", "APRCRD.txt", "gpt2_5.grd", "OCEAN.BLQ"},
      {"--solid-tide", "--pole-tide", "--ocean-loading", "--antennas", "--wind-up"});
  UseStationFiles(dir);
  auto r = RunTervan(dir.Path(), {"-v",
                                  "-rRDVL_BOVC.sdf",
                                  "-egbrdc1200.12n",
                                  "-erbrdc1200.12g",
                                  "-eebrdc1200.12l",
                                  "-ecIGS15660.CLK",
                                  "-eoIGS15667.ERP",
                                  "-csGRE",
                                  "-sxSAT_2009.CRX",
                                  "-iiIONEX.12i",
                                  "-pvigs08.atx",
                                  "-cb1P1P2.DCB",
                                  "-cb2P1C1.DCB",
                                  "-cb3P2C2.DCB",
                                  "-cbmLUSTRA.DCB",
                                  "-ctRECTRACK.TXT",
                                  "-gfGLNFREQ.TXT",
                                  "-cxGPS,GLN,GAL",
                                  "-ca",
                                  "-ti01:00:00d00:30:00BASE,ROVER",
                                  "-tgi2BASE,ROVER",
                                  "-ts0.05",
                                  "-acAPRCRD.txt",
                                  "-gpkKIN.txt",
                                  "-gpsSTAT.txt",
                                  "-spSKY.txt",
                                  "-cfCLOCK.txt",
                                  "-odDCB.txt",
                                  "-otTROP.txt",
                                  "-oTTROPEPOCH.txt",
                                  "-lC1,P1,P2,Pc3,Pp3,L3,L1,L2",
                                  "-tmGPT2,GLPT2",
                                  "-g2gpt2_5.grd",
                                  "-xSTA,KIN",
                                  "-pCOSZ",
                                  "-me15",
                                  "-bt3.5",
                                  "-ft20",
                                  "-st",
                                  "-wu",
                                  "-cc",
                                  "-bqOCEAN.BLQ",
                                  "-fpRES.bin",
                                  "-mi20",
                                  "-mt0.0001"});
  EXPECT_EQ(r.status, 0);
  ExpectGolden(NormaliseDate(r.out), "every_option.out.txt");
  ExpectGolden(r.err, "every_option.err.txt");
}

TEST(TervanRun, ChecksRepairSettings) {
  TempDir dir;
  MakeFiles(dir, {"RDVL_BOVC.sdf", "IGS15660.SP3", "brdc1200.12n"});
  auto r = RunTervan(dir.Path(), {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3", "-egbrdc1200.12n",
                                  "-ecMISSING.CLK", "-sxMISSING.CRX", "-ikMISSING.KLB", "-csG",
                                  "-cxGLN", "-lL3", "-ti01:00:00", "-tg", "-odDCB.txt",
                                  "-otTROP.txt", "-eoMISSING.ERP", "-acMISSING.CRD", "-bt3.3"});
  EXPECT_EQ(r.status, 0);
  ExpectGolden(NormaliseDate(r.out), "repairs.out.txt");
  ExpectGolden(r.err, "repairs.err.txt");
}

// Single differences without station positions give no geometry: the run ends at the
// receiver properties, naming the station.
TEST(TervanRun, StationsWithoutPositionsEndTheRun) {
  TempDir dir;
  MakeDegenerateFiles(dir);
  auto r = RunTervan(dir.Path(), {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("GETTING BASE AND ROVER RECEIVER PROPERTIES:"), std::string::npos);
  const std::string error =
      "\n**** Tervan: Error -> BASE HAS NO A-PRIORI POSITION: GIVE IT IN THE SINGLE DIFFERENCES "
      "HEADER (XYZ POSITION, FILLED BY tervan-sdiff WITH --nav OR --sp3) OR IN AN APRIORI "
      "COORDINATE FILE (-ac)! ****\n     Exiting Tervan ... \n";
  EXPECT_EQ(r.err.substr(r.err.size() - error.size() - 1), error + "\n") << r.err;
}

TEST(TervanRun, FatalCheckEndsWithStatusOne) {
  TempDir dir;
  auto r = RunTervan(dir.Path(), {"-rMISSING.sdf", "-epMISSING.SP3"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("\n**** Tervan: Error -> SINGLE DIFFERENCES (OBSERVATION) FILE CAN NOT BE "
                       "OPENED! ****\n     Exiting Tervan ... \n"),
            std::string::npos)
      << r.err;
}

TEST(TervanRun, RedirectionsIntoFiles) {
  TempDir dir;
  MakeFiles(dir, {"RDVL_BOVC.sdf", "IGS15660.SP3"});
  auto r = RunTervan(
      dir.Path(), {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3", "-woREPORT.txt", "-weERRORS.txt", "-v"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  // Only the names of the redirection files reach the terminal, before the streams
  // are redirected, even with "-v" behind the redirections.
  EXPECT_EQ(r.err,
            "Tervan::GetFiles():         COUT redirection file: REPORT.txt!\n"
            "Tervan::GetFiles():         CERR redirection file: ERRORS.txt!\n");
  std::string report = ReadFile(dir.File("REPORT.txt"));
  std::string errors = ReadFile(dir.File("ERRORS.txt"));
  EXPECT_NE(report.find("PROGRAM SETTINGS AND INPUT PARAMETERS:"), std::string::npos);
  EXPECT_EQ(errors.substr(0, StartLines.size()), StartLines);
  EXPECT_EQ(errors.substr(errors.size() - EndLines.size()), EndLines);
  EXPECT_EQ(errors.find("redirection file:"), std::string::npos);
  // Without "-v" nothing at all.
  r = RunTervan(dir.Path(),
                {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3", "-woREPORT.txt", "-weERRORS.txt"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

TEST(TervanRun, SameRedirectionFileForBothStreams) {
  TempDir dir;
  MakeFiles(dir, {"RDVL_BOVC.sdf", "IGS15660.SP3"});
  auto r = RunTervan(dir.Path(),
                     {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3", "-woRUN.txt", "-weRUN.txt", "-v"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err,
            "Tervan::GetFiles():         COUT redirection file: RUN.txt!\n"
            "Tervan::GetFiles():         CERR redirection file: RUN.txt!\n"
            "\n#### Tervan: Warning -> COUT AND CERR REDIRECTION FILE SET EQUALLY: APPENDING "
            ".CERR TO CERR FILENAME! ####\n     Continuing Tervan ... \n\n");
  EXPECT_NE(ReadFile(dir.File("RUN.txt")).find("ITERATION PROCESS:"), std::string::npos);
  EXPECT_NE(ReadFile(dir.File("RUN.txt.CERR")).find("SUCCESFULLY ENDING"), std::string::npos);
}

TEST(TervanRun, OneRedirectionFileUnderTwoSpellings) {
  TempDir dir;
  MakeFiles(dir, {"RDVL_BOVC.sdf", "IGS15660.SP3"});
  auto r = RunTervan(dir.Path(),
                     {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3", "-woRUN.txt", "-we./RUN.txt", "-v"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("APPENDING .CERR TO CERR FILENAME!"), std::string::npos);
  std::string report = ReadFile(dir.File("RUN.txt"));
  EXPECT_NE(report.find("ITERATION PROCESS:"), std::string::npos);
  EXPECT_EQ(report.find("Tervan::"), std::string::npos);  // no progress lines in the report
  EXPECT_NE(ReadFile(dir.File("RUN.txt.CERR")).find("SUCCESFULLY ENDING"), std::string::npos);
}

TEST(TervanRun, RedirectionWithoutName) {
  TempDir dir;
  auto r = RunTervan(dir.Path(), {"-wo", "-we", "-help"});
  EXPECT_EQ(r.status, 1);  // not help alone: the run needs its inputs
  EXPECT_EQ(r.err.find("\n#### Tervan: Warning -> CERR REDIRECTION FILE SET WITHOUT FILENAME: "
                       "CERR GOES TO TERMINAL! ####\n     Continuing Tervan ... \n\n"
                       "\n#### Tervan: Warning -> COUT REDIRECTION FILE SET WITHOUT FILENAME: "
                       "COUT GOES TO TERMINAL! ####\n     Continuing Tervan ... \n\n"),
            0u);
}

TEST(TervanRun, ErrorsFollowTheErrorStream) {
  TempDir dir;
  // Standard output redirected: the error still reaches the terminal's standard error.
  auto r = RunTervan(dir.Path(), {"-epX.SP3", "-woREPORT.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("**** Tervan: Error -> NO SINGLE DIFFERENCES (OBSERVATION) FILE SET!"),
            std::string::npos);
  // Standard error redirected: the error goes into the file.
  r = RunTervan(dir.Path(), {"-epX.SP3", "-weERRORS.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "");
  EXPECT_NE(ReadFile(dir.File("ERRORS.txt")).find("**** Tervan: Error -> NO SINGLE DIFFERENCES"),
            std::string::npos);
}

TEST(TervanRun, InputFilesAreNeverRedirectionTargets) {
  TempDir dir;
  MakeDegenerateFiles(dir);
  WriteFile(dir.File("RDVL_BOVC.sdf"), "SINGLE_DIFFERENCES\n");
  auto r = RunTervan(dir.Path(), {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3", "-wo./RDVL_BOVC.sdf"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("**** Tervan: Error -> COUT REDIRECTION FILE IS AN INPUT FILE - WILL NOT "
                       "OVERWRITE IT! ****"),
            std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("RDVL_BOVC.sdf")), "SINGLE_DIFFERENCES\n");
  r = RunTervan(dir.Path(), {"-rRDVL_BOVC.sdf", "-epIGS15660.SP3", "-weIGS15660.SP3"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("CERR REDIRECTION FILE IS AN INPUT FILE"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("IGS15660.SP3")), orbitfixture::Sp3());
}

TEST(TervanRun, UnopenableRedirection) {
  TempDir dir;
  auto r = RunTervan(dir.Path(), {"-rX", "-woNO_FOLDER/REPORT.txt"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("**** Tervan: Error -> COUT REDIRECTION FILE CAN NOT BE OPENED! ****"),
            std::string::npos);
}
