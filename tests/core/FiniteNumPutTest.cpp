#include <cmath>
#include <filesystem>
#include <iomanip>
#include <limits>
#include <sstream>

#include "core/FiniteNumPut.h"
#include "core/ResultFile.h"
#include "support/TestSupport.h"

using ::testing::ExitedWithCode;
using testsupport::Literal;
using testsupport::TempDir;

TEST(FiniteNumPut, FiniteNumbersAreWrittenAsBefore) {
  std::ostringstream plain, guarded;
  FiniteNumPut::Guard(guarded, "X");
  for (std::ostringstream* os : {&plain, &guarded})
    *os << std::fixed << std::setprecision(4) << 1.25 << ' ' << -3.5L << ' ' << 7.0f << ' ' << 42;
  EXPECT_EQ(guarded.str(), plain.str());
}

TEST(FiniteNumPutDeathTest, NanOrInfinityEndsTheRunNamingOutputInputAndEpoch) {
  FiniteNumPut::SetInput("SINGLE DIFFERENCES FILE A.sd");
  FiniteNumPut::SetEpoch("2026-06-15 08:00:30.0");
  EXPECT_EXIT(
      {
        std::ostringstream os;
        FiniteNumPut::Guard(os, "THE REPORT");
        os << std::nan("");
      },
      ExitedWithCode(1),
      Literal("**** Tervan: Error -> A NUMBER THAT IS NOT FINITE (NAN OR INFINITY) WAS TO BE "
              "WRITTEN TO THE REPORT - INPUT SINGLE DIFFERENCES FILE A.sd, EPOCH 2026-06-15 "
              "08:00:30.0! ****"));
  FiniteNumPut::SetEpoch("");
  EXPECT_EXIT(
      {
        std::ostringstream os;
        FiniteNumPut::Guard(os, "RESULT FILE K.txt");
        os << -std::numeric_limits<long double>::infinity();
      },
      ExitedWithCode(1),
      Literal("WRITTEN TO RESULT FILE K.txt - INPUT SINGLE DIFFERENCES FILE A.sd! ****"));
  FiniteNumPut::SetInput("");
}

// The error ends the run without unwinding: the temporary file of the result that was
// being written is removed all the same, and no result appears.
TEST(FiniteNumPutDeathTest, ResultFileLeavesNothingBehind) {
  TempDir dir;
  const std::string name = dir.File("KIN.txt");
  EXPECT_EXIT(
      {
        ResultFile f(name);
        f.Stream() << 1.0 << '\n' << std::numeric_limits<double>::quiet_NaN();
      },
      ExitedWithCode(1), Literal("WRITTEN TO RESULT FILE " + name));
  EXPECT_FALSE(std::filesystem::exists(name));
  EXPECT_FALSE(std::filesystem::exists(name + ".part"));
}
