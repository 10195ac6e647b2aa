#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "gnss/TimeConverse.h"
#include "gnss/ymdhms.h"
#include "sdiff/PointPositioning.h"

namespace {

constexpr long double kC = 299792458.0L;
constexpr long double kOmegaE = 7.2921151467e-5L;

// Satellites fixed in the Earth-fixed frame with constant clocks.
class FixedSatellites : public OrbitSource {
 public:
  std::map<short, std::pair<xyz, long double>> sats;
  bool State(short sat, const mjd&, xyz& p, long double& clk) override {
    auto it = sats.find(sat);
    if (it == sats.end()) return false;
    p = it->second.first;
    clk = it->second.second;
    return true;
  }
};

class NoDelays : public DelayModel {
 public:
  long double Troposphere(long double, long double, long double, long) override { return 0; }
  bool HasIonosphere() const override { return false; }
  long double IonosphereL1(long double, long double, long double, long double,
                           long double) override {
    return 0;
  }
};

// Code of a satellite with the light time and the Earth rotation during it.
long double Range(const xyz& sat, const xyz& rec) {
  long double rho = (sat - rec).GetLength();
  for (int i = 0; i < 5; ++i) {
    xyz s = sat;
    s.RotateZ(-kOmegaE * rho / kC);
    rho = (s - rec).GetLength();
  }
  return rho;
}

}  // namespace

// Eight GPS and Galileo satellites around the zenith of a station with a receiver
// clock and a Galileo offset; satellite 9's code is `error` metres long.
struct Scene {
  RinexHeader h;
  FixedSatellites orbits;
  RinexEpoch ep;
  const xyz rec{4595212.453L, 1148421.107L, 4270496.539L};
  const long double recClk = 2.5e-4L, galOffset = 30.0L;  // [s], [m]

  explicit Scene(long double error) {
    h.version = 3.04;
    h.types['G'] = {"C1C", "C2W"};
    h.types['E'] = {"C1C", "C5Q"};
    // Satellites around the zenith of the station, 20200 km up.
    const xyz up = rec.GetUnitVector(26560000.0L);
    const long double dirs[][3] = {{0, 0, 0},       {8e6, 0, 0},      {-8e6, 3e6, 0},
                                   {0, 9e6, -4e6},  {3e6, -8e6, 5e6}, {-5e6, -5e6, 6e6},
                                   {6e6, 5e6, 7e6}, {-2e6, 7e6, -7e6}};
    const short ids[] = {1, 5, 9, 12, 201, 204, 207, 211};
    ep.time = ymdhms2mjd(ymdhms(2024, 3, 1, 12, 0, 0.0L));
    for (int i = 0; i < 8; ++i) {
      xyz s = up + xyz(dirs[i][0], dirs[i][1], dirs[i][2]);
      s = s.GetUnitVector(26560000.0L);
      long double sclk = 1e-5L * (i + 1);
      orbits.sats[ids[i]] = {s, sclk};
      long double code = Range(s, rec) + kC * (recClk - sclk) + (ids[i] > 200 ? galOffset : 0);
      if (ids[i] == 9) code += error;
      ep.sats.push_back({ids[i], {code, code}});
    }
  }
  // Code residual of satellite 9 at a solution [m].
  long double Residual9(const xyz& pos, long double clk) {
    const auto& [s, sclk] = orbits.sats[9];
    return ep.sats[2].values[0] - Range(s, pos) - kC * (clk - sclk);
  }
};

TEST(PointPositioning, RecoversPositionClockAndSystemOffsetAndRejectsABadSatellite) {
  Scene sc(200.0L);
  NoDelays delays;
  PointPositioning pp(sc.h, sc.orbits, delays);
  xyz pos;
  long double clk;
  ASSERT_TRUE(pp.Solve(sc.ep, pos, clk));
  EXPECT_NEAR(static_cast<double>((pos - sc.rec).GetLength()), 0.0, 1e-3);
  EXPECT_NEAR(static_cast<double>(clk), static_cast<double>(sc.recClk), 1e-11);
  xyz mean;
  ASSERT_TRUE(pp.MeanPosition(mean));
  EXPECT_NEAR(static_cast<double>((mean - sc.rec).GetLength()), 0.0, 1e-3);
}

// Across the limit of 30 m: a satellite kept in the solution has a residual within
// it, one beyond it is left out (the solution is then the clean one).
TEST(PointPositioning, KeepsASatelliteOnlyWithinTheResidualLimit) {
  int kept = 0, rejected = 0;
  for (long double error = 20.0L; error < 400.0L; error += 0.5L) {
    Scene sc(error);
    NoDelays delays;
    PointPositioning pp(sc.h, sc.orbits, delays);
    xyz pos;
    long double clk;
    ASSERT_TRUE(pp.Solve(sc.ep, pos, clk));
    const bool clean = (pos - sc.rec).GetLength() < 1e-3L;
    if (clean) {
      ++rejected;
    } else {
      ++kept;
      EXPECT_LE(std::fabs(sc.Residual9(pos, clk)), PointPositioning::kMaxResidual) << error;
    }
  }
  EXPECT_GT(kept, 0);
  EXPECT_GT(rejected, 0);
}

TEST(PointPositioning, TooFewSatellitesGiveNoSolution) {
  RinexHeader h;
  h.version = 3.04;
  h.types['G'] = {"C1C", "C2W"};
  FixedSatellites orbits;
  NoDelays delays;
  PointPositioning pp(h, orbits, delays);
  RinexEpoch ep;
  ep.sats.push_back({1, {2e7L, 2e7L}});
  xyz pos;
  long double clk;
  EXPECT_FALSE(pp.Solve(ep, pos, clk));
  xyz mean;
  EXPECT_FALSE(pp.MeanPosition(mean));
}
