// Cycle slips on low satellites at 30 s with only 10 minutes of data on each
// side: the wide-lane cycle is a few sigmas of the Melbourne-Wuebbena means and
// the L4 signature of most kinds is within the L4 noise, so the slips must be
// found and repaired from the phases against the geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "preprocess/SimArcs.h"

using arctest::AddGap;
using arctest::AddSlip;
using arctest::SimArcs;

namespace {

constexpr long double kDeg = 3.141592653589793L / 180.0L;

struct LowSlip {
  short sat;
  long double at;  // s from the start
  long n1, n2;
  long double elevation;  // deg at the slip (BASE)
  bool rising;            // the pass starts 10.5 minutes before the slip
};

std::string SatName(short sat) {
  char text[8];
  const char sys = sat > 200 ? 'E' : (sat > 100 ? 'R' : 'G');
  std::snprintf(text, sizeof(text), "%c%02d", sys, sat % 100);
  return text;
}

// First or last epochs above the mask of each satellite in clean data, where
// the satellite rises or sets: the slip goes 10.5 minutes inside the pass at an
// elevation of at most 16 degrees, and a gap of 400 s another 10.5 minutes
// further in leaves 10.5 minutes of data on the other side too.
std::vector<LowSlip> Candidates(const SimArcs& clean, long double duration) {
  const PhsDiffData& d = clean.tc.sdd;
  std::map<short, std::vector<std::pair<long double, long double>>> seen;  // t, elevation
  long r = 0;
  for (long e = 0; e < d.neph; ++e)
    for (long i = 0; i < d.nsat(e); ++i, ++r)
      if (clean.tc.ELV(r, 0) > 10 * kDeg && clean.tc.ELV(r, 1) > 10 * kDeg)
        seen[d.sat(r)].push_back({d.epoch(e) - d.epoch(0), clean.tc.ELV(r, 0) / kDeg});
  std::vector<LowSlip> out;
  const long double side = 630, gap = 400, margin = 900;
  for (const auto& s : seen) {
    const auto& v = s.second;
    if (v.size() < 120 || v.back().first - v.front().first > 20 * 3600) continue;
    auto elevationAt = [&](long double t) {
      for (const auto& x : v)
        if (std::fabs(x.first - t) < 1) return x.second;
      return 99.0L;
    };
    const long double rise = v.front().first, set = v.back().first;
    if (rise > 30 && rise + 2 * side + gap + margin < duration) {
      const long double at = rise + side;
      if (elevationAt(at) <= 16) out.push_back({s.first, at, 0, 0, elevationAt(at), true});
    } else if (set < duration - 60 && set - 2 * side - gap - margin > 0) {
      const long double at = set - side + 30;
      if (elevationAt(at) <= 16) out.push_back({s.first, at, 0, 0, elevationAt(at), false});
    }
  }
  return out;
}

// One satellite of each kind per system, with its gap 10.5 minutes away.
std::vector<LowSlip> PlanSlips(const SimArcs& clean, long double duration, sim::Scenario& sc) {
  static const long kinds[5][2] = {{1, 1}, {4, 3}, {5, 4}, {9, 7}, {3, 2}};
  std::map<char, int> used;
  std::vector<LowSlip> plan;
  for (LowSlip c : Candidates(clean, duration)) {
    int& k = used[SatName(c.sat)[0]];
    if (k >= 5) continue;
    c.n1 = kinds[k][0];
    c.n2 = kinds[k][1];
    ++k;
    const std::string name = SatName(c.sat);
    AddSlip(sc, name.c_str(), c.at, c.n1, c.n2);
    if (std::getenv("TERVAN_SLIP_IN_GAP")) AddGap(sc, name.c_str(), c.at - 150, c.at);
    if (c.rising)
      AddGap(sc, name.c_str(), c.at + 630, c.at + 1030);
    else
      AddGap(sc, name.c_str(), c.at - 1030, c.at - 630);
    plan.push_back(c);
  }
  return plan;
}

struct Outcome {
  std::vector<LowSlip> plan;
  std::vector<bool> found;  // per slip: no arc holds it unrepaired
  std::vector<bool> ok;     // per slip: found and repaired, its arcs as implied
  bool allArcs = false;     // ambiguities in total as implied, none wrong
  std::string report;
};

// roverError: error of the a-priori ROVER position, ECEF [m].
Outcome RunLowSlips(unsigned long seed, const xyz& roverError = xyz(0, 0, 0),
                    long double interval = 30) {
  const long double duration = 4 * 3600;
  sim::Scenario sc = arctest::Scenario("GRE", interval, duration);
  sc.seed = seed;
  if (std::getenv("TERVAN_BASELINE_KM"))
    sc.baselineKm = std::atof(std::getenv("TERVAN_BASELINE_KM"));
  SimArcs clean(sc);
  Outcome out;
  out.plan = PlanSlips(clean, duration, sc);
  SimArcs a(sc);
  a.tc.RecPosFC_ROVER = a.tc.RecPosFC_ROVER + roverError;
  a.Run();
  std::map<short, long> implied, found, wrong;
  for (const auto& x : a.ImpliedStarts()) ++implied[x.first];
  for (long k = 0; k < a.tc.AmbSat.Length(); ++k) ++found[a.tc.AmbSat(k)];
  const std::vector<long> bad = a.WrongArcs();
  for (long k : bad) ++wrong[a.tc.AmbSat(k)];
  for (const LowSlip& p : out.plan) {
    out.found.push_back(wrong[p.sat] == 0);
    out.ok.push_back(wrong[p.sat] == 0 && implied[p.sat] == found[p.sat]);
  }
  out.allArcs = bad.empty() && a.tc.AmbSat.Length() == a.ImpliedArcs();
  out.report = a.setReport + a.conReport + a.Compare();
  return out;
}

TEST(LowSatelliteSlips, At30sAreFoundAndRepaired) {
  const Outcome o = RunLowSlips(1);
  ASSERT_EQ(o.plan.size(), 15u);
  for (size_t i = 0; i < o.plan.size(); ++i)
    EXPECT_TRUE(o.ok[i]) << SatName(o.plan[i].sat) << " (" << o.plan[i].n1 << "," << o.plan[i].n2
                         << ") at " << static_cast<double>(o.plan[i].at);
  EXPECT_TRUE(o.allArcs) << o.report;
}

// A-priori ROVER coordinates 5 m off move the computed ranges by a drift that
// the fits on each side of a slip take up.
TEST(LowSatelliteSlips, RoverPositionMetresOff) {
  const Outcome o = RunLowSlips(2, xyz(3, -2, 3.5));
  ASSERT_EQ(o.plan.size(), 15u);
  for (size_t i = 0; i < o.plan.size(); ++i) EXPECT_TRUE(o.ok[i]) << SatName(o.plan[i].sat);
  EXPECT_TRUE(o.allArcs) << o.report;
}

// Measurement over several seeds (run with --gtest_also_run_disabled_tests):
// slips found and repaired per kind. TERVAN_ROVER_OFF puts the a-priori ROVER
// 50 m off, TERVAN_INTERVAL sets the interval [s] (30), TERVAN_BASELINE_KM the
// baseline length (10), and TERVAN_SLIP_IN_GAP hides each slip in a gap of 150 s.
TEST(LowSatelliteSlips, DISABLED_MeasureSeeds) {
  std::map<std::string, int[3]> kind;  // found, repaired, inserted
  int runsAllOk = 0, runs = 0;
  const char* interval = std::getenv("TERVAN_INTERVAL");
  for (unsigned long seed = 1; seed <= 10; ++seed) {
    const Outcome o = RunLowSlips(seed, std::getenv("TERVAN_ROVER_OFF") ? xyz(30, -20, 35) : xyz(),
                                  interval ? std::atof(interval) : 30);
    bool all = o.allArcs;
    for (size_t i = 0; i < o.plan.size(); ++i) {
      const LowSlip& p = o.plan[i];
      auto& k = kind[std::to_string(p.n1) + "," + std::to_string(p.n2)];
      k[0] += o.found[i] ? 1 : 0;
      k[1] += o.ok[i] ? 1 : 0;
      ++k[2];
      all = all && o.ok[i];
      if (!o.ok[i])
        std::printf("seed %lu %s (%ld,%ld) at %.0f el %.1f %s\n", seed, SatName(p.sat).c_str(),
                    p.n1, p.n2, static_cast<double>(p.at), static_cast<double>(p.elevation),
                    o.found[i] ? "not repaired" : "not found");
    }
    std::printf("seed %lu: %zu slips, all arcs %s\n", seed, o.plan.size(),
                o.allArcs ? "ok" : "NOT");
    runsAllOk += all ? 1 : 0;
    ++runs;
  }
  for (const auto& k : kind)
    std::printf("(%s): found %d, repaired %d of %d\n", k.first.c_str(), k.second[0], k.second[1],
                k.second[2]);
  std::printf("runs with everything right: %d of %d\n", runsAllOk, runs);
}

}  // namespace
