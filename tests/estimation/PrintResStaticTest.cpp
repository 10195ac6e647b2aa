#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "estimation/StaticProblem.h"
#include "estimation/Tervan_PrintResStatic.h"

namespace {

constexpr long double Deg = 180.0L / 3.141592653589793L;

// Degrees as the program converts them.
long double Degrees(long double rad) {
  return rad * 180.0L / 3.141592653589793L;
}

// Little-endian bytes of a value.
template <class T>
std::string Bytes(T v) {
  std::string s(sizeof v, '\0');
  std::memcpy(&s[0], &v, sizeof v);
  return s;
}

// The 80-bit number in 10 bytes and two zero bytes.
std::string Ext(long double v) {
  std::string s(12, '\0');
  std::memcpy(&s[0], &v, 10);
  return s;
}

TEST(PrintResStatic, MeanAzimuthIsCircular) {
  EXPECT_NEAR(MeanAzimuth(359.9L / Deg, 0.1L / Deg) * Deg, 0.0L, 1e-9L);
  EXPECT_NEAR(MeanAzimuth(350.0L / Deg, 20.0L / Deg) * Deg, 5.0L, 1e-9L);
  EXPECT_NEAR(MeanAzimuth(100.0L / Deg, 120.0L / Deg) * Deg, 110.0L, 1e-9L);
}

// The file of a small run equals the one written here from the expected records: a
// header with the satellite list, then per epoch its block of C1 and L1 records.
TEST(PrintResStatic, FileEqualsTheExpectedRecords) {
  ProblemOptions o;
  o.nEpoch = 3;
  StaticProblem p(o);
  p.Solve();
  TervanC& tc = p.tc;
  const long i = 1;
  tc.AZM(i, 0) = 359.9L / Deg, tc.AZM(i, 1) = 0.1L / Deg;
  tc.ifXl1(i) = true;  // flagged by a residual check
  tc.isresfile = true;
  testsupport::TempDir dir;
  std::strcpy(tc.resfile, dir.File("res.bin").c_str());
  PrintResStatic(tc);

  std::string want = Bytes<int16_t>(static_cast<int16_t>(tc.sdd.GetNSat()));
  for (long s = 0; s < tc.sdd.GetNSat(); ++s) want += Bytes<int16_t>(tc.sdd.GetSat(s));
  long r = 0;
  for (long e = 0; e < tc.sdd.GetNEpoch(); ++e) {
    const mjd t = tc.sdd.GetMJD(e);
    std::string recs;
    int32_t n = 0;
    for (long k = 0; k < tc.sdd.GetNSatEpoch(e); ++k, ++r) {
      const long double el = Degrees((tc.ELV(r, 0) + tc.ELV(r, 1)) / 2.0L);
      long double az = std::atan2(std::sin(tc.AZM(r, 0)) + std::sin(tc.AZM(r, 1)),
                                  std::cos(tc.AZM(r, 0)) + std::cos(tc.AZM(r, 1)));
      if (az < 0.0L) az += 2.0L * 3.141592653589793L;
      if (2.0L * 3.141592653589793L - az < 1e-12L) az = 0.0L;
      const struct {
        int16_t type;
        bool used;
        long double f;
        bool out;
      } types[] = {{0, tc.ifOc1(r), tc.fc1(r), tc.ifXc1(r)},
                   {6, tc.ifOl1(r), tc.fl1(r), tc.ifXl1(r)}};
      for (const auto& t : types) {
        if (!t.used) continue;
        recs += Bytes<int16_t>(tc.sdd.GetRecSat(r)) + Bytes<int16_t>(t.type) + Ext(t.f) + Ext(el) +
                Ext(Degrees(az)) + Bytes<uint8_t>(t.out ? 1 : 0);
        ++n;
      }
    }
    if (n > 0)
      want += Bytes<uint32_t>(static_cast<uint32_t>(t.GetMJDay())) + Ext(t.GetSecond()) +
              Bytes<int32_t>(n) + recs;
  }
  const std::string got = testsupport::ReadFile(tc.resfile);
  EXPECT_EQ(got.size(), want.size());
  EXPECT_TRUE(got == want);
  // the record of observation 1: azimuth 0, outlier byte 1
  const size_t at = 2 + 2 * tc.sdd.GetNSat() + 4 + 12 + 4 + 2 * 41 + 41;
  long double az = 0.0L;
  std::memcpy(&az, got.data() + at + 2 + 2 + 24, 10);
  EXPECT_NEAR(az, 0.0L, 1e-9L);
  EXPECT_EQ(got[at + 40], 1);
}

}  // namespace
