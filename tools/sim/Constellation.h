// The simulated satellites of GPS (6 planes at 55 degrees), GLONASS (3 planes at
// 64.8 degrees, with frequency channels) and Galileo (3 planes at 56 degrees):
// their orbits, clocks and code biases.
#ifndef TERVAN_SIM_CONSTELLATION_H
#define TERVAN_SIM_CONSTELLATION_H

#include <string>
#include <vector>

#include "sim/GlonassOrbit.h"
#include "sim/KeplerOrbit.h"
#include "sim/SatClock.h"

namespace sim {

class Random;

struct SimSat {
  char system = 'G';           // 'G', 'R' or 'E'
  int prn = 0;                 // PRN or GLONASS slot
  short number = 0;            // 1-99 GPS, 101-199 GLONASS (100 + slot), 201-299 Galileo
  int channel = 0;             // GLONASS frequency channel
  int orbit = -1;              // index into the Kepler or the GLONASS orbits of its system
  long double f1 = 0, f2 = 0;  // carriers, Hz: L1/L2, G1/G2, or E1/E5b
  long double biasC1 = 0, biasP1 = 0, biasP2 = 0, biasC7 = 0;  // code biases, m
  SatClock clock;
  std::string Id() const;  // "G05", "R12", "E11"
};

class Constellation {
 public:
  // Satellites of the systems in `systems` ("GRE" or a part of it) with orbits and
  // clocks covering [start, end] (GPS seconds).
  Constellation(const std::string& systems, long double start, long double end, Random& rnd);

  size_t Size() const { return sats_.size(); }
  const SimSat& Sat(size_t i) const { return sats_[i]; }
  int Find(const std::string& id) const;  // index of "G05" etc., -1 when absent

  Vec3 Position(size_t i, long double t) const;  // Earth-fixed, m
  Vec3 Velocity(size_t i, long double t) const;  // Earth-fixed, m/s
  // Clock as the precise products give it (s), and the periodic relativistic term
  // -2 r.v / c^2 (s) that the satellite's own clock shows in addition.
  long double Clock(size_t i, long double t) const { return sats_[i].clock.Value(t); }
  long double Relativity(size_t i, long double t) const;

  const KeplerOrbit& Kepler(size_t i) const { return kepler_[sats_[i].orbit]; }
  const GlonassOrbit& Glonass(size_t i) const { return glonass_[sats_[i].orbit]; }
  long double Start() const { return start_; }
  long double End() const { return end_; }

 private:
  void AddKepler(char system, Random& rnd);
  void AddGlonass(Random& rnd);
  void AddClockAndBiases(SimSat& s, Random& rnd);

  long double start_, end_;
  std::vector<SimSat> sats_;
  std::vector<KeplerOrbit> kepler_;
  std::vector<GlonassOrbit> glonass_;
};

}  // namespace sim

#endif
