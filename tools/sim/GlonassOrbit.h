// A GLONASS satellite whose orbit is integrated with the force model of the
// broadcast records: central body, second zonal harmonic and Earth rotation in the
// Earth-fixed frame, plus a small luni-solar acceleration that changes slowly.
// Each record carries the state and that acceleration at its epoch; integrated
// with the acceleration held constant, as a receiver does, it follows the orbit
// to a few centimetres over its quarter hour.
#ifndef TERVAN_SIM_GLONASSORBIT_H
#define TERVAN_SIM_GLONASSORBIT_H

#include <vector>

#include "sim/Geometry.h"

namespace sim {

class Random;

// One broadcast record: reference epoch (GPS seconds), state in metres and m/s,
// acceleration in m/s^2, all Earth-fixed.
struct GlonassRecord {
  long double tb = 0;
  Vec3 pos, vel, acc;
};

class GlonassOrbit {
 public:
  // Integrates from `start` to `end` (GPS seconds) starting from the Earth-fixed
  // state (pos, vel) at `start`; records on the epochs `firstRecord` + k·recordStep
  // that lie within the span.
  GlonassOrbit(const Vec3& pos, const Vec3& vel, long double start, long double end,
               long double firstRecord, long double recordStep, Random& rnd);

  Vec3 Position(long double t) const;
  Vec3 Velocity(long double t) const;
  const std::vector<GlonassRecord>& Records() const { return records_; }

  // Derivative of the Earth-fixed state under the broadcast force model.
  static void Derivative(const Vec3& pos, const Vec3& vel, const Vec3& acc, Vec3& dpos, Vec3& dvel);

 private:
  void Integrate(Vec3 pos, Vec3 vel);
  void Step(Vec3& pos, Vec3& vel, long double t, long double h) const;
  void Interpolate(long double t, Vec3& pos, Vec3& vel) const;
  Vec3 AccelerationAt(long double t) const;  // m/s^2, Earth-fixed

  long double start_, end_;
  long double accAmplitude_ = 0, accPhase_ = 0, accDeclination_ = 0;
  static constexpr long double kNodeStep = 10.0L;  // seconds between stored states
  std::vector<GlonassRecord> records_;
  std::vector<Vec3> nodePos_, nodeVel_;
};

}  // namespace sim

#endif
