// The residual file converter reads what Tervan's residual writer writes, and refuses
// damaged files with an error instead of reading garbage.
#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "estimation/Tervan_PrintResStatic.h"
#include "res2txt/Res2TxtTool.h"
#include "res2txt/ResidualFile.h"
#include "res2txt/ResidualText.h"
#include "support/TestSupport.h"

namespace {

template <class T>
void Put(std::ostream& out, T value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof value);
}

void PutRecord(std::ostream& out, int16_t sat, int16_t type, long double res, long double elev,
               long double azim, uint8_t outlier) {
  Put<int16_t>(out, sat);
  Put<int16_t>(out, type);
  WriteExt12(out, res);
  WriteExt12(out, elev);
  WriteExt12(out, azim);
  Put<uint8_t>(out, outlier);
}

void PutEpoch(std::ostream& out, uint32_t day, long double second, int32_t n) {
  Put<uint32_t>(out, day);
  WriteExt12(out, second);
  Put<int32_t>(out, n);
}

// Two satellites, two epochs: G05 with C1 and L3, then E12 with an outlier.
std::string SampleFile() {
  std::ostringstream out;
  Put<int16_t>(out, 2);
  Put<int16_t>(out, 5);
  Put<int16_t>(out, 212);
  PutEpoch(out, 61206, 28800.0L, 2);
  PutRecord(out, 5, 0, -0.123456789012345L, 45.5L, 359.99L, 0);
  PutRecord(out, 5, 5, 0.0021L, 45.5L, 359.99L, 0);
  PutEpoch(out, 61206, 86399.9996L, 1);
  PutRecord(out, 212, 7, -1e-300L, 3.25L, 0.0L, 1);
  return out.str();
}

std::string Convert(const std::string& bytes) {
  std::istringstream in(bytes);
  std::ostringstream out;
  ResidualText::Convert(in, out);
  return out.str();
}

}  // namespace

TEST(ResidualFile, ReadsWhatTervanWrites) {
  std::istringstream in(SampleFile());
  ResidualFile file(in);
  EXPECT_EQ(file.Satellites(), (std::vector<int>{5, 212}));
  ResidualEpoch e;
  ASSERT_TRUE(file.NextEpoch(e));
  EXPECT_EQ(e.mjdDay, 61206);
  EXPECT_EQ(e.second, 28800.0L);
  ASSERT_EQ(e.records.size(), 2u);
  EXPECT_EQ(e.records[0].residual, -0.123456789012345L);  // all 64 bits of the mantissa
  EXPECT_EQ(e.records[1].type, 5);
  EXPECT_EQ(e.records[1].azimuth, 359.99L);
  ASSERT_TRUE(file.NextEpoch(e));
  ASSERT_EQ(e.records.size(), 1u);
  EXPECT_EQ(e.records[0].sat, 212);
  EXPECT_EQ(e.records[0].residual, -1e-300L);
  EXPECT_TRUE(e.records[0].outlier);
  EXPECT_FALSE(file.NextEpoch(e));
}

TEST(ResidualFile, DecodesExtendedNumbersWithoutTheHostLayout) {
  for (long double v : {1.0L, -2.5L, 0.0L, 6.02214076e23L, 1e-4940L /* denormal */}) {
    std::ostringstream out;
    WriteExt12(out, v);
    const std::string b = out.str();
    EXPECT_EQ(ResidualFile::DecodeExt12(reinterpret_cast<const unsigned char*>(b.data())), v);
  }
}

TEST(ResidualFile, EveryTruncationIsAnErrorOrAWholeEpoch) {
  const std::string whole = SampleFile();
  const std::size_t header = 6, first = header + 20 + 2 * 41;
  for (std::size_t n = 0; n < whole.size(); ++n) {
    std::istringstream in(whole.substr(0, n));
    long epochs = 0;
    bool failed = false;
    try {
      ResidualFile file(in);
      ResidualEpoch e;
      while (file.NextEpoch(e)) ++epochs;
    } catch (const ResidualFileError&) {
      failed = true;
    }
    const bool clean = n == header || n == first;
    EXPECT_EQ(failed, !clean) << "length " << n;
    if (clean) {
      EXPECT_EQ(epochs, n == header ? 0 : 1);
    }
  }
}

TEST(ResidualFile, RefusesImpossibleValues) {
  const std::string good = SampleFile();
  auto damaged = [&](std::size_t at, const std::string& bytes) {
    std::string b = good;
    b.replace(at, bytes.size(), bytes);
    return b;
  };
  const std::size_t rec = 6 + 20;  // first record
  for (const std::string& bad : {
           damaged(0, "\xff\xff"),                 // negative satellite count
           damaged(2, std::string(2, '\0')),       // satellite 0
           damaged(rec + 2, "\x09"),               // type 9
           damaged(rec + 40, "\x02"),              // outlier flag 2
           damaged(6 + 16, std::string(4, '\0')),  // record count 0
           damaged(6 + 19, "\x80"),                // negative record count
           damaged(rec + 4 + 8, "\xff\x7f"),       // residual not a number
           damaged(rec + 4 + 9, "\x7f"),           // residual of 1e4930 m
           damaged(rec + 16 + 8, "\x05\x40"),      // elevation 91.0 degrees
       }) {
    EXPECT_THROW(Convert(bad), ResidualFileError);
  }
}

TEST(ResidualText, OneLinePerResidualWithDateAndType) {
  const std::string text = Convert(SampleFile());
  EXPECT_NE(text.find("# SATELLITES: 2 G05 E12\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\n 61206.33333333  2026-06-15  08:00:00.000  G05   G   C1     -0.12346 "
                      "   45.5000   359.9900       0\n"),
            std::string::npos)
      << text;
  // 86399.9996 s rounds to the next midnight, not to 24:00:00.
  EXPECT_NE(text.find("2026-06-16  00:00:00.000  E12"), std::string::npos) << text;
  EXPECT_NE(text.find("  E12   E   L2     -0.00000     3.2500     0.0000       1\n"),
            std::string::npos)
      << text;
}

TEST(Res2TxtTool, WillNotWriteOverTheResidualFile) {
  testsupport::TempDir dir;
  const std::string bin = dir.File("RES.bin");
  testsupport::WriteFile(bin, SampleFile());
  std::ostringstream out, err;
  EXPECT_EQ(RunRes2Txt({bin, dir.Path() + "/./RES.bin"}, out, err), 1);
  EXPECT_NE(err.str().find("**** tervan-res2txt: Error -> OUTPUT FILE IS THE RESIDUAL FILE"),
            std::string::npos)
      << err.str();
  EXPECT_EQ(testsupport::ReadFile(bin), SampleFile());
}

TEST(Res2TxtTool, DamagedFileLeavesNoOutput) {
  testsupport::TempDir dir;
  testsupport::WriteFile(dir.File("RES.bin"), SampleFile().substr(0, 50));
  std::ostringstream out, err;
  EXPECT_EQ(RunRes2Txt({dir.File("RES.bin"), dir.File("RES.txt")}, out, err), 1);
  EXPECT_NE(err.str().find("RESIDUAL FILE ENDS INSIDE THE residual record (epoch 1)"),
            std::string::npos)
      << err.str();
  EXPECT_TRUE(testsupport::ReadFile(dir.File("RES.txt")).empty());
  EXPECT_TRUE(testsupport::ReadFile(dir.File("RES.txt.part")).empty());
}
