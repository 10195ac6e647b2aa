// A satellite flying an exact broadcast Keplerian orbit (GPS and Galileo): the
// elements with their rates and harmonic corrections as a navigation record
// states them, referred to one epoch. Records for any epoch are derived from the
// same elements, so every record describes the same continuous orbit.
#ifndef TERVAN_SIM_KEPLERORBIT_H
#define TERVAN_SIM_KEPLERORBIT_H

#include "sim/Geometry.h"

namespace sim {

// The orbit fields of a broadcast Keplerian record (units as in the record).
struct KeplerElements {
  long double sqrtA = 0;  // sqrt(m)
  long double e = 0;
  long double i0 = 0;        // rad, at the reference epoch
  long double omega0 = 0;    // rad, longitude of the node as the record states it
  long double w = 0;         // argument of perigee, rad
  long double m0 = 0;        // mean anomaly at the reference epoch, rad
  long double deltaN = 0;    // rad/s
  long double omegaDot = 0;  // rad/s
  long double iDot = 0;      // rad/s
  long double cuc = 0, cus = 0, crc = 0, crs = 0, cic = 0, cis = 0;
  long double toe = 0;            // reference epoch, GPS seconds of week
  long double epoch = 0;          // reference epoch, GPS seconds since 1980-01-06
  long double gm = 3.986005e14L;  // GM of the navigation message of the system, m^3/s^2
};

class KeplerOrbit {
 public:
  KeplerOrbit() = default;
  explicit KeplerOrbit(const KeplerElements& ref) : ref_(ref) {}

  // Elements of a record referred to the epoch t (GPS seconds), describing this orbit.
  KeplerElements ElementsAt(long double t) const;
  // Earth-fixed position (m) at t from the elements of a record.
  static Vec3 Position(const KeplerElements& el, long double t);
  Vec3 Position(long double t) const { return Position(ref_, t); }
  Vec3 Velocity(long double t) const;  // m/s, Earth-fixed
  const KeplerElements& Reference() const { return ref_; }

 private:
  KeplerElements ref_;
};

}  // namespace sim

#endif
