#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/TestSupport.h"

using testsupport::NormaliseDate;
using testsupport::ReadFile;
using testsupport::RunTervan;
using testsupport::TempDir;

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> Inputs = {"SIMB_SIMR.sd", "orbit.sp3", "clock.clk",
                                         "glonass_channels.txt"};
const std::vector<std::string> Results = {"KIN.txt",  "STAT.txt",  "CLK.txt", "DCB.txt",
                                          "TROP.txt", "TROPE.txt", "SKY.txt", "RES.bin"};

// The bundled example's run with every result file, the inputs found under prefix.
std::vector<std::string> Arguments(const std::string& prefix) {
  return {"-r" + prefix + "SIMB_SIMR.sd",
          "-ep" + prefix + "orbit.sp3",
          "-ec" + prefix + "clock.clk",
          "-gf" + prefix + "glonass_channels.txt",
          "-csGRE",
          "-lPc3,L3",
          "-tmSAAST,NIELL",
          "-ti00:30:00ROVER",
          "-me10",
          "-pcosz",
          "-xSTA,KIN",
          "-cxGPS,GLN,GAL",
          "-gpkKIN.txt",
          "-gpsSTAT.txt",
          "-cfCLK.txt",
          "-odDCB.txt",
          "-otTROP.txt",
          "-oTTROPE.txt",
          "-spSKY.txt",
          "-fpRES.bin"};
}

// The report without what may differ between equal runs: the date of the title and
// the input file names, which the report prints as given.
std::string Comparable(std::string report, const std::string& prefix) {
  report = NormaliseDate(report);
  if (prefix.empty()) return report;
  for (const std::string& f : Inputs)
    for (size_t p = report.find(prefix + f); p != std::string::npos; p = report.find(prefix + f, p))
      report.replace(p, prefix.size(), "");
  return report;
}

struct Outputs {
  std::string report;
  std::vector<std::string> results;
};

Outputs RunIn(const std::string& dir, const std::string& prefix) {
  testsupport::RunResult r = RunTervan(dir, Arguments(prefix));
  EXPECT_EQ(r.status, 0) << r.err;
  Outputs run{Comparable(r.out, prefix), {}};
  for (const std::string& f : Results) run.results.push_back(ReadFile(dir + "/" + f));
  return run;
}

void ExpectSame(const Outputs& a, const Outputs& b, const char* what) {
  EXPECT_EQ(a.report, b.report) << what;
  for (size_t k = 0; k < Results.size(); ++k)
    EXPECT_TRUE(a.results[k] == b.results[k]) << what << ": " << Results[k];
}

}  // namespace

// Repeated runs, other working folders and other spellings of the input paths give the
// same report and the same result files, byte for byte.
TEST(TervanReproducibility, BundledExampleGivesIdenticalOutputs) {
  const fs::path example = fs::path(TERVAN_TEST_DATA) / "../../examples/sim-10km";
  TempDir inputs, other;
  for (const std::string& f : Inputs) fs::copy_file(example / f, inputs.File(f));
  const Outputs first = RunIn(inputs.Path(), "");
  ASSERT_FALSE(first.report.empty());
  for (const std::string& r : first.results) EXPECT_FALSE(r.empty());

  ExpectSame(first, RunIn(inputs.Path(), ""), "repeated run");
  ExpectSame(first, RunIn(other.Path(), inputs.Path() + "/"), "absolute paths, other folder");
  ExpectSame(first, RunIn(other.Path(), "../" + fs::path(inputs.Path()).filename().string() + "/"),
             "relative paths through the parent folder");
}
