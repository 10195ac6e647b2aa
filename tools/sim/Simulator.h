// The simulation of one scenario: constellation, stations, receiver clocks,
// atmosphere and the raw observations of both stations with the effects asked
// for. The file writers read the result from here.
#ifndef TERVAN_SIM_SIMULATOR_H
#define TERVAN_SIM_SIMULATOR_H

#include <memory>
#include <string>
#include <vector>

#include "sim/Antennas.h"
#include "sim/Constellation.h"
#include "sim/Random.h"
#include "sim/Scenario.h"
#include "sim/SimIonosphere.h"
#include "sim/SimTroposphere.h"
#include "sim/StationEffects.h"

namespace sim {

// Observation types of the raw files, in the order of the single-difference file.
enum ObsType { kC1 = 0, kP1, kP2, kL1, kL2, kC7, kL7, kNumTypes };
extern const char* const kObsTypeName[kNumTypes];  // "C1", "P1", ...

// The model terms an observation was built from (m unless stated).
struct ObsTerms {
  long double range = 0;                   // geometric range with light time and Earth rotation
  long double shapiro = 0;                 // relativistic path delay
  long double satClock = 0;                // product clock at emission, s
  long double relativity = 0;              // periodic relativistic clock term at emission, s
  long double recClock = 0;                // receiver clock offset, s
  long double tropo = 0;                   // slant troposphere delay
  long double tec = 0;                     // slant electron content, TECU
  long double elevation = 0, azimuth = 0;  // rad
  long double emission = 0;                // emission epoch, GPS seconds
  long double antenna[2] = {};             // receiver and satellite antennas, L1 and L2/L7
  long double windUp = 0;                  // phase wind-up, cycles (both carriers)
};

struct RawObs {
  int sat = 0;                        // index into the constellation
  long double value[kNumTypes] = {};  // m for codes, cycles for phases; 0 = missing
  int lli[kNumTypes] = {};
  int ssi = 0;
  long n1 = 0, n2 = 0;  // phase ambiguities of L1 and L2 (L7), cycles
  ObsTerms terms;
};

struct StationEpoch {
  long double tag = 0;    // epoch as the receiver tags it, GPS seconds
  long double clock = 0;  // receiver clock offset, s
  long double jumps =
      0;  // millisecond jumps of the clock so far, s (codes follow them, phases not)
  std::vector<RawObs> obs;
};

// An effect as it was applied (for the truth file).
struct AppliedEvent {
  std::string kind;  // "slip", "gap", "outlier", "clock jump", "problem"
  Station station = kRover;
  std::string sat;
  long double from = 0, to = 0;  // GPS seconds
  std::string detail;
};

class Simulator {
 public:
  explicit Simulator(const Scenario& sc);
  void Run();

  const Scenario& Sc() const { return sc_; }
  const Constellation& Sats() const { return *sats_; }
  const Vec3& Position(Station s) const { return pos_[s]; }
  const Geodetic& Geo(Station s) const { return geo_[s]; }
  const SimTroposphere& Tropo(Station s) const { return tropo_[s]; }
  const std::vector<StationEpoch>& Epochs(Station s) const { return epochs_[s]; }
  const std::vector<AppliedEvent>& Events() const { return events_; }
  // Windows in which a satellite seen at both stations is within the eclipsing angle.
  const std::vector<AppliedEvent>& Eclipses() const { return eclipses_; }
  const StationEffects& Effects() const { return effects_; }
  const Antennas& Antenna() const { return antennas_; }
  long double ProductStart() const { return productStart_; }
  long double ProductEnd() const { return productEnd_; }
  // Wavelength (m) of L1 or L2/L7 of a satellite.
  long double Lambda1(int sat) const;
  long double Lambda2(int sat) const;

 private:
  void PlaceStations();
  void MakeClocks();
  void AddRandomGaps();
  void Observe(Station st);
  // `wind` carries the wind-up of the satellite's previous observation (NaN: none).
  bool Compute(Station st, int sat, const StationEpoch& ep, const Vec3& sun, long double& wind,
               RawObs& o) const;
  void AddStationEffects(Station st, int sat, const Vec3& satPos, const Vec3& sun,
                         long double& wind, ObsTerms& t) const;
  void MarkEclipses();
  long ArcAmbiguity(Station st, size_t sat, size_t epoch, int band) const;
  bool InGap(Station st, const std::string& sat, long double t) const;
  void AddNoise(RawObs& o, Station st);
  void ApplySlips();
  void ApplyOutliers();
  void ApplyProblems();
  void RoundValues();
  RawObs* FindObs(Station st, size_t epoch, const std::string& sat);

  Scenario sc_;
  Random rnd_;
  std::unique_ptr<Constellation> sats_;
  Vec3 pos_[2];
  Geodetic geo_[2];
  SimTroposphere tropo_[2];
  SimIonosphere iono_;
  std::vector<StationEpoch> epochs_[2];
  std::vector<AppliedEvent> events_, eclipses_;
  StationEffects effects_;
  Antennas antennas_;
  long double productStart_ = 0, productEnd_ = 0;
};

}  // namespace sim

#endif
