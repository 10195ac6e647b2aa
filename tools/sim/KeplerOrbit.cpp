#include "sim/KeplerOrbit.h"

#include <cmath>

#include "sim/Constants.h"
#include "sim/Time.h"

namespace sim {

KeplerElements KeplerOrbit::ElementsAt(long double t) const {
  KeplerElements el = ref_;
  const long double dt = t - ref_.epoch;
  const long double a = ref_.sqrtA * ref_.sqrtA;
  const long double n = std::sqrt(ref_.gm / (a * a * a)) + ref_.deltaN;
  el.epoch = t;
  el.toe = SecondsOfWeek(t);
  el.m0 = std::remainder(ref_.m0 + n * dt, 2.0L * kPi);
  el.i0 = ref_.i0 + ref_.iDot * dt;
  // The node longitude of a record is counted from the Earth's orientation at the
  // start of its own week: shift by the rate of the node plus the change of week time.
  el.omega0 = std::remainder(
      ref_.omega0 + ref_.omegaDot * dt + kOmegaKepler * (el.toe - ref_.toe - dt), 2.0L * kPi);
  return el;
}

Vec3 KeplerOrbit::Position(const KeplerElements& el, long double t) {
  const long double a = el.sqrtA * el.sqrtA;
  const long double tk = t - el.epoch;
  const long double n = std::sqrt(el.gm / (a * a * a)) + el.deltaN;
  const long double m = el.m0 + n * tk;
  long double ecc = m;
  for (int k = 0; k < 30; ++k) {
    const long double next = m + el.e * Sin(ecc);
    const bool done = std::fabs(next - ecc) < 1e-14L;
    ecc = next;
    if (done) break;
  }
  const long double v = std::atan2(std::sqrt(1.0L - el.e * el.e) * Sin(ecc), Cos(ecc) - el.e);
  const long double phi = v + el.w;
  const long double s2 = Sin(2.0L * phi), c2 = Cos(2.0L * phi);
  const long double u = phi + el.cus * s2 + el.cuc * c2;
  const long double r = a * (1.0L - el.e * Cos(ecc)) + el.crs * s2 + el.crc * c2;
  const long double inc = el.i0 + el.cis * s2 + el.cic * c2 + el.iDot * tk;
  const long double node = el.omega0 + (el.omegaDot - kOmegaKepler) * tk - kOmegaKepler * el.toe;
  const long double xp = r * Cos(u), yp = r * Sin(u);
  const long double cn = Cos(node), sn = Sin(node), ci = Cos(inc);
  return {xp * cn - yp * ci * sn, xp * sn + yp * ci * cn, yp * Sin(inc)};
}

Vec3 KeplerOrbit::Velocity(long double t) const {
  const long double h = 0.5L;
  return (1.0L / (2.0L * h)) * (Position(t + h) - Position(t - h));
}

}  // namespace sim
