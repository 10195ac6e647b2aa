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
#include "sim/Ionosphere.h"
#include "sim/Random.h"
#include "sim/Scenario.h"
#include "sim/StationEffects.h"
#include "sim/Troposphere.h"

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

// The seven values of an observation (m for codes, cycles for phases; 0 =
// missing) to the full extended precision in 12 bytes each: a double and the
// float of what the double leaves (at most 11 bits), so that a day at 1 s fits in
// memory and every value is rounded exactly as it was computed.
class ObsValues {
 public:
  class Ref {
   public:
    Ref(ObsValues& v, int k) : v_(v), k_(k) {}
    operator long double() const { return v_.Get(k_); }
    Ref& operator=(long double x) {
      v_.Set(k_, x);
      return *this;
    }
    Ref& operator+=(long double x) { return *this = v_.Get(k_) + x; }

   private:
    ObsValues& v_;
    int k_;
  };
  long double operator[](int k) const { return Get(k); }
  Ref operator[](int k) { return Ref(*this, k); }

 private:
  long double Get(int k) const { return static_cast<long double>(hi_[k]) + lo_[k]; }
  void Set(int k, long double x) {
    hi_[k] = static_cast<double>(x);
    lo_[k] = static_cast<float>(x - hi_[k]);
  }
  double hi_[kNumTypes] = {};
  float lo_[kNumTypes] = {};
};

struct RawObs {
  int sat = 0;  // index into the constellation
  ObsValues value;
  unsigned char lli[kNumTypes] = {};
  unsigned char ssi = 0;
  int n1 = 0, n2 = 0;  // phase ambiguities of L1 and L2 (L7), cycles
};

struct StationEpoch {
  long double tag = 0;    // epoch as the receiver tags it, GPS seconds
  long double clock = 0;  // receiver clock offset, s
  long double jumps =
      0;  // millisecond jumps of the clock so far, s (codes follow them, phases not)
  std::vector<RawObs> obs;
  // The model terms of each observation, in the order of `obs`; kept for runs of
  // at most kTermsEpochs epochs (tests and checks), empty for longer ones.
  std::vector<ObsTerms> terms;
  const ObsTerms& Terms(const RawObs& o) const { return terms[&o - obs.data()]; }
};

constexpr long kTermsEpochs = 30000;

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
  const Troposphere& Tropo(Station s) const { return tropo_[s]; }
  const std::vector<StationEpoch>& Epochs(Station s) const { return epochs_[s]; }
  const std::vector<AppliedEvent>& Events() const { return events_; }
  // Windows in which a satellite seen at both stations is within the eclipsing angle.
  const std::vector<AppliedEvent>& Eclipses() const { return eclipses_; }
  const StationEffects& Effects() const { return effects_; }
  const Antennas& Antenna() const { return antennas_; }
  long double ProductStart() const { return productStart_; }
  long double ProductEnd() const { return productEnd_; }
  // With --receiver-biases: the ROVER's offset of a system's time against GPS time
  // (m, 0 for GPS) and its code bias of a satellite and code type (m); 0 otherwise.
  long double RoverSystemOffset(char system) const;
  long double RoverCodeBias(int sat, int type) const;
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
               RawObs& o, ObsTerms& t) const;
  void AddStationEffects(Station st, int sat, const Vec3& satPos, const Vec3& sun,
                         long double& wind, ObsTerms& t) const;
  void MarkEclipses();
  long ArcAmbiguity(Station st, size_t sat, size_t epoch, int band) const;
  bool InGap(Station st, const std::string& sat, long double t) const;
  void AddNoise(RawObs& o, long double elevation);
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
  Troposphere tropo_[2];
  Ionosphere iono_;
  std::vector<StationEpoch> epochs_[2];
  std::vector<AppliedEvent> events_, eclipses_;
  StationEffects effects_;
  Antennas antennas_;
  long double productStart_ = 0, productEnd_ = 0;
};

}  // namespace sim

#endif
