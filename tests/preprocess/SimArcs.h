// A simulated scenario run through the ambiguity stages, with the true integer
// ambiguities of every single difference, to check detection and repair of
// cycle slips against the truth.
#ifndef TERVAN_TESTS_PREPROCESS_SIMARCS_H
#define TERVAN_TESTS_PREPROCESS_SIMARCS_H

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "driver/TervanC.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"
#include "preprocess/Tervan_ConAmbiguities.h"
#include "preprocess/Tervan_SetAmbiguities.h"
#include "sim/ObsFiles.h"
#include "sim/Simulator.h"

namespace arctest {

struct SimArcs {
  TervanC tc;
  std::vector<long> n1, n2;  // true ROVER - BASE integers of each record
  std::vector<long double> L1before, L2before;
  std::string setReport, conReport;
  long msJumps = 0;

  explicit SimArcs(const sim::Scenario& sc) {
    sim::Simulator s(sc);
    s.Run();
    using namespace sdobs;
    const short codes[7] = {C1, P1, P2, L1, L2, C7, L7};
    matrix<short> types(7, 1);
    for (int k = 0; k < 7; ++k) types(k) = codes[k];
    tc.sdh.SetObsTypes(types);
    tc.sdh.SetHasObservations(true);
    PhsDiffData& d = tc.sdd;
    sim::SingleDifferences(s, d);
    for (size_t i = 0; i < s.Sats().Size(); ++i)
      if (s.Sats().Sat(i).system == 'R')
        GLONASSc::SetFrequency(s.Sats().Sat(i).channel,
                               static_cast<short>(s.Sats().Sat(i).prn - 1));
    Truth(s);
    tc.MinElevation = 10;
    tc.ifL3 = true;
    tc.isGPS = sc.systems.find('G') != std::string::npos;
    tc.isGLN = sc.systems.find('R') != std::string::npos;
    tc.isGAL = sc.systems.find('E') != std::string::npos;
  }

  // Elevation of an observation [rad]: from its model terms, or, in runs too
  // long for the simulator to keep them, from the satellite position at the tag.
  static long double Elevation(const sim::Simulator& s, sim::Station st,
                               const sim::StationEpoch& ep, const sim::RawObs& o) {
    if (!ep.terms.empty()) return ep.Terms(o).elevation;
    long double el = 0, az = 0;
    sim::ElevationAzimuth(s.Geo(st), s.Position(st), s.Sats().Position(o.sat, ep.tag), el, az);
    return el;
  }

  // Position of a satellite seen from a station at the geometric range the
  // observation was built from (where the simulator kept its terms; else the
  // position at the tag).
  static xyzt SatPosition(const sim::Simulator& s, sim::Station st, const sim::StationEpoch& ep,
                          const sim::RawObs& o) {
    const sim::Vec3 p = s.Position(st), q = s.Sats().Position(o.sat, ep.tag);
    sim::Vec3 dir = q - p;
    const long double len = std::sqrt(dir.x * dir.x + dir.y * dir.y + dir.z * dir.z);
    const long double range = ep.terms.empty() ? len : ep.Terms(o).range;
    return xyzt(p.x + dir.x * range / len, p.y + dir.y * range / len, p.z + dir.z * range / len,
                0.0L);
  }

  // Elevations, satellite positions, satellite list, interval and true
  // integers, record by record in the order of the single differences.
  void Truth(const sim::Simulator& s) {
    PhsDiffData& d = tc.sdd;
    const auto& base = s.Epochs(sim::kBase);
    const auto& rover = s.Epochs(sim::kRover);
    tc.ELV.Resize(d.nobs, 2, 0.0L);
    tc.SAT_POS.Resize(d.nobs, 2, xyzt());
    tc.OKSAT.Resize(d.nobs, 1, true);
    const sim::Vec3 pb = s.Position(sim::kBase), pr = s.Position(sim::kRover);
    tc.RecPosFC_BASE = xyz(pb.x, pb.y, pb.z);
    tc.RecPosFC_ROVER = xyz(pr.x, pr.y, pr.z);
    n1.assign(d.nobs, 0);
    n2.assign(d.nobs, 0);
    std::map<short, bool> seen;
    long r = 0;
    for (size_t k = 0; k < base.size() && k < rover.size(); ++k)
      for (const sim::RawObs& ob : base[k].obs)
        for (const sim::RawObs& orv : rover[k].obs) {
          if (orv.sat != ob.sat) continue;
          tc.ELV(r, 0) = Elevation(s, sim::kBase, base[k], ob);
          tc.ELV(r, 1) = Elevation(s, sim::kRover, rover[k], orv);
          tc.SAT_POS(r, 0) = SatPosition(s, sim::kBase, base[k], ob);
          tc.SAT_POS(r, 1) = SatPosition(s, sim::kRover, rover[k], orv);
          n1[r] = orv.n1 - ob.n1;
          n2[r] = orv.n2 - ob.n2;
          seen[d.sat(r)] = true;
          ++r;
        }
    EXPECT_EQ(r, d.nobs);
    d.satList.Resize(static_cast<long>(seen.size()));
    long i = 0;
    for (const auto& x : seen) d.satList(i++) = x.first;
    long double interval = d.epoch(1) - d.epoch(0);
    for (long e = 1; e < d.neph; ++e)
      if (d.epoch(e) - d.epoch(e - 1) < interval) interval = d.epoch(e) - d.epoch(e - 1);
    tc.sdh.SetInterval(static_cast<float>(interval));
  }

  // Millisecond jumps, combinations and both ambiguity stages.
  void Run() {
    PhsDiffData& d = tc.sdd;
    d.CorrMSJumps(msJumps);
    d.SetLC_L3();
    d.SetLC_L4();
    d.SetLC_MW(true);
    L1before.resize(d.nobs);
    L2before.resize(d.nobs);
    for (long r = 0; r < d.nobs; ++r) {
      L1before[r] = d.L1(r).GetObs();
      L2before[r] = (satnum::IsGALILEO(d.sat(r)) ? d.L7(r) : d.L2(r)).GetObs();
    }
    testing::internal::CaptureStdout();
    SetAmbiguities(tc);
    setReport = testing::internal::GetCapturedStdout();
    testing::internal::CaptureStdout();
    ConAmbiguities(tc);
    conReport = testing::internal::GetCapturedStdout();
  }

  // Ambiguities whose true integers, less the repairs, change inside the arc
  // (an unrepaired or wrongly repaired slip); empty when all are right.
  std::vector<long> WrongArcs() const {
    std::vector<long> bad;
    const PhsDiffData& d = tc.sdd;
    for (long k = 0; k < tc.AmbSat.Length(); ++k) {
      bool first = true, wrong = false;
      long double ref1 = 0, ref2 = 0;
      long off = tc.AmbIndex(k, 1);
      for (long e = tc.AmbIndex(k, 0); e <= tc.AmbIndex(k, 2); off += d.nsat(e), ++e)
        for (long r = off; r < off + d.nsat(e); ++r) {
          if (d.sat(r) != tc.AmbSat(k) || d.L1(r).IsNull()) continue;
          const long double second = (satnum::IsGALILEO(d.sat(r)) ? d.L7(r) : d.L2(r)).GetObs();
          const long double v1 = n1[r] - (L1before[r] - d.L1(r).GetObs());
          const long double v2 = n2[r] - (L2before[r] - second);
          if (first) ref1 = v1, ref2 = v2, first = false;
          if (!wrong && (std::fabs(v1 - ref1) > 1e-6L || std::fabs(v2 - ref2) > 1e-6L))
            std::cout << "arc " << k + 1 << " sat " << tc.AmbSat(k) << " epoch " << e << " t "
                      << static_cast<double>(d.epoch(e) - d.epoch(0)) << " jump "
                      << static_cast<double>(v1 - ref1) << " " << static_cast<double>(v2 - ref2)
                      << std::endl;
          wrong = wrong || std::fabs(v1 - ref1) > 1e-6L || std::fabs(v2 - ref2) > 1e-6L;
        }
      if (wrong) bad.push_back(k);
    }
    return bad;
  }

  // Arcs the data imply: for each satellite, its epochs above the mask at both
  // stations cut where they lie 300 s or more apart.
  long ImpliedArcs() const { return static_cast<long>(ImpliedStarts().size()); }

  // Satellite and first time [s] of each implied arc of at least MinObsAmb epochs.
  std::vector<std::pair<short, long double>> ImpliedStarts() const {
    const PhsDiffData& d = tc.sdd;
    const long double me = 10.0L * 3.141592653589793L / 180.0L;
    struct Arc {
      short sat;
      long double start, last;
      long n;
    };
    std::vector<Arc> arcs;
    std::map<short, size_t> current;
    long r = 0;
    for (long e = 0; e < d.neph; ++e)
      for (long i = 0; i < d.nsat(e); ++i, ++r) {
        if (!(tc.ELV(r, 0) > me && tc.ELV(r, 1) > me)) continue;
        const short s = d.sat(r);
        const long double t = d.epoch(e) - d.epoch(0);
        auto it = current.find(s);
        if (it == current.end() || t - arcs[it->second].last >= 300.0L) {
          current[s] = arcs.size();
          arcs.push_back({s, t, t, 0});
        }
        Arc& a = arcs[current[s]];
        a.last = t;
        ++a.n;
      }
    std::vector<std::pair<short, long double>> starts;
    for (const Arc& a : arcs)
      if (a.n >= tc.MinObsAmb) starts.push_back({a.sat, a.start});
    return starts;
  }

  // Implied arcs and ambiguities, one line each (for a failure message).
  std::string Compare() const {
    std::ostringstream os;
    for (const auto& x : ImpliedStarts())
      os << "implied " << x.first << " " << (double)x.second << "\n";
    for (long k = 0; k < tc.AmbSat.Length(); ++k)
      os << "ambiguity " << tc.AmbSat(k) << " "
         << (double)(tc.sdd.epoch(tc.AmbIndex(k, 0)) - tc.sdd.epoch(0)) << " "
         << (double)(tc.sdd.epoch(tc.AmbIndex(k, 2)) - tc.sdd.epoch(0)) << "\n";
    return os.str();
  }
};

inline sim::Scenario Scenario(const std::string& systems, long double interval,
                              long double duration) {
  sim::Scenario sc;
  sc.systems = systems;
  sc.interval = interval;
  sc.duration = duration;
  sc.mask = 10;
  return sc;
}

inline void AddSlip(sim::Scenario& sc, const char* sat, long double at, long n1, long n2) {
  sim::SlipSpec s;
  s.sat = sat;
  s.at = at;
  s.n1 = n1;
  s.n2 = n2;
  sc.slips.push_back(s);
}

inline void AddGap(sim::Scenario& sc, const char* sat, long double from, long double to) {
  sim::WindowSpec g;
  g.sat = sat;
  g.from = from;
  g.to = to;
  sc.gaps.push_back(g);
}

}  // namespace arctest

#endif
