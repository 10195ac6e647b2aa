// Synthetic single differences for the ambiguity stages: satellites with a
// smooth range and ionosphere, small seeded noise, data gaps and cycle slips,
// in a context of its own with the combinations formed and elevations of 45
// degrees.
#ifndef TERVAN_TESTS_PREPROCESS_ARCTESTDATA_H
#define TERVAN_TESTS_PREPROCESS_ARCTESTDATA_H

#include <random>
#include <vector>

#include "driver/TervanC.h"
#include "gnss/SatelliteNumbering.h"
#include "gnss/mGNSSc.h"

namespace arctest {

struct Slip {
  short sat;
  long double at;      // s: from this epoch on
  long double n1, n2;  // cycles on L1 and L2 (L7)
};

struct Gap {
  short sat;
  long double from, to;  // s: epochs from <= t < to are missing
};

struct ArcData {
  TervanC tc;
  std::vector<long double> times;

  // epochs of `interval` s over `duration` s; types as header codes.
  ArcData(std::vector<short> types, std::vector<short> sats, long double interval,
          long double duration, std::vector<Gap> gaps = {}, std::vector<Slip> slips = {},
          long double codeNoise = 0.1L, long double phaseNoise = 0.001L) {
    GLONASSc::SetFrequency(1, 0);
    PhsDiffHeader& h = tc.sdh;
    PhsDiffData& d = tc.sdd;
    matrix<short> codes(static_cast<long>(types.size()), 1);
    for (size_t k = 0; k < types.size(); ++k) codes(static_cast<long>(k)) = types[k];
    h.SetObsTypes(codes);
    h.SetHasObservations(true);
    h.SetInterval(static_cast<float>(interval));
    for (long double t = 0; t <= duration + 1e-9L; t += interval) times.push_back(t);
    auto seen = [&](short s, long double t) {
      for (const Gap& g : gaps)
        if (g.sat == s && g.from <= t && t < g.to) return false;
      return true;
    };
    long nobs = 0;
    for (long double t : times)
      for (short s : sats) nobs += seen(s, t) ? 1 : 0;
    d.SetNRecords(static_cast<long>(times.size()), nobs);
    d.SetData();
    std::mt19937 gen(7);
    std::normal_distribution<double> normal(0.0, 1.0);
    long r = 0;
    for (size_t e = 0; e < times.size(); ++e) {
      const long double t = times[e];
      d.epoch(static_cast<long>(e)) = mjd(59000, 3600.0L + t);
      short n = 0;
      for (short s : sats) {
        if (!seen(s, t)) continue;
        long double l1 = GPSc::lamb1, l2 = GPSc::lamb2;
        if (satnum::IsGLONASS(s)) l1 = GLONASSc::lamb(0, 0), l2 = GLONASSc::lamb(0, 1);
        if (satnum::IsGALILEO(s)) l2 = GALILEOc::lamb2;
        const long double alpha = (l2 / l1) * (l2 / l1);
        const long double rho = 20.0L * s + 0.05L * t, ion = 0.3L + 2e-5L * t;
        long double n1 = 1000 + s, n2 = 2000 - s;
        for (const Slip& sl : slips)
          if (sl.sat == s && t >= sl.at) n1 += sl.n1, n2 += sl.n2;
        d.sat(r) = s;
        const bool gal = satnum::IsGALILEO(s);
        if (h.iC1) d.C1(r) = rho + ion + codeNoise * normal(gen);
        if (h.iP1) d.P1(r) = rho + ion + codeNoise * normal(gen);
        matrix<gnssobs>& c2 = gal ? d.C7 : d.P2;
        matrix<gnssobs>& p2 = gal ? d.L7 : d.L2;
        if (c2.Length() == nobs) c2(r) = rho + alpha * ion + codeNoise * normal(gen);
        d.L1(r) = (rho - ion + phaseNoise * normal(gen)) / l1 + n1;
        if (p2.Length() == nobs) p2(r) = (rho - alpha * ion + phaseNoise * normal(gen)) / l2 + n2;
        ++r;
        ++n;
      }
      d.nsat(static_cast<long>(e)) = n;
    }
    std::vector<short> sorted = sats;
    std::sort(sorted.begin(), sorted.end());
    d.satList.Resize(static_cast<long>(sorted.size()));
    for (size_t i = 0; i < sorted.size(); ++i) d.satList(static_cast<long>(i)) = sorted[i];
    tc.ELV.Resize(nobs, 2, 0.7853981633974483L);
    tc.ifL3 = true;
    tc.isGPS = tc.isGLN = tc.isGAL = true;
    d.SetLC_L3();
    d.SetLC_L4();
    d.SetLC_MW(true);
  }
};

}  // namespace arctest

#endif
