// Movements of the two stations' antennas away from their reference points: the
// solid earth tide, the pole tide, ocean tide loading and an oscillation of the
// ROVER. Tides are sampled every minute and linear in between (a few micrometres
// from the exact values).
#ifndef TERVAN_SIM_STATIONEFFECTS_H
#define TERVAN_SIM_STATIONEFFECTS_H

#include <string>
#include <vector>

#include "sim/Geometry.h"
#include "sim/SampledSeries.h"
#include "sim/Scenario.h"

namespace sim {

// Local north, east and up components (m).
struct Neu {
  long double n = 0, e = 0, u = 0;
};

// Pole coordinates of the Earth rotation file of a scenario beginning at `start`
// (arcsec) at GPS seconds t: linear in time, so that the file's daily values give
// them exactly.
void PoleCoordinates(long double start, long double t, long double& xp, long double& yp);

// Conventional mean pole of the IERS Conventions (2010) (arcsec) at a decimal MJD.
void MeanPole(long double mjd, long double& xm, long double& ym);

// Pole tide displacement (m) of a station for pole coordinates xp, yp (arcsec) at
// a decimal MJD (IERS Conventions 2010, eq. 7.24-7.26).
Neu PoleTideDisplacement(const Geodetic& g, long double xp, long double yp, long double mjd);

// The BLQ block (11 tides) of a station: a loading pattern of a coastal site,
// larger at the ROVER, so that the two stations' effects differ.
std::string BlqBlock(const std::string& name, const Geodetic& g, Station st);

class StationEffects {
 public:
  enum Effect { kSolid = 0, kPole, kOcean, kNumEffects };

  StationEffects() = default;
  // Samples the effects the scenario asks for over [start, end] (GPS seconds).
  StationEffects(const Scenario& sc, const Geodetic geo[2], const Vec3 pos[2], long double start,
                 long double end);

  bool Any() const { return any_; }
  Neu Part(Station st, Effect e, long double t) const;  // one effect
  Neu Motion(long double t) const;                      // the ROVER's oscillation
  // Earth-fixed displacement (m) of all effects together.
  Vec3 Displacement(Station st, long double t) const;

 private:
  void SampleSolid(const Vec3 pos[2]);
  void SamplePole(const Geodetic geo[2]);
  void SampleOcean(const Scenario& sc, const Geodetic geo[2]);
  void Store(Station st, Effect e, const std::vector<Neu>& values);

  bool any_ = false;
  long double start_ = 0, step_ = 60;
  long n_ = 0;
  Geodetic geo_[2];
  long double amplitude_ = 0, period_ = 600;
  bool has_[kNumEffects] = {};
  SampledSeries series_[2][kNumEffects][3];
};

}  // namespace sim

#endif
