// Light-time solution shared by the precise and broadcast orbit classes: the
// satellite is evaluated at the emission epoch and the receiver is turned about
// the z axis by the Earth's rotation during the signal's travel.
#ifndef TERVAN_ORBITS_LIGHTTIME_H
#define TERVAN_ORBITS_LIGHTTIME_H

#include <cmath>

#include "gnss/mjd.h"
#include "gnss/xyz.h"
#include "gnss/xyzt.h"

namespace lighttime {

const long double c = 299792458.0L;  // speed of light (m/s)

// Receiver position (ECEF, m) turned about the z axis by angle (rad).
inline xyz RotateAboutZ(const xyz& r, long double angle) {
  const long double ca = std::cos(angle), sa = std::sin(angle);
  return xyz(r.GetX() * ca - r.GetY() * sa, r.GetX() * sa + r.GetY() * ca, r.GetZ());
}

// Distance (m) between a receiver position and a satellite position.
inline long double Range(const xyz& r, const xyzt& s) {
  const long double dx = r.GetX() - s.GetX(), dy = r.GetY() - s.GetY(), dz = r.GetZ() - s.GetZ();
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Iterates the travel time of a signal received at t (GPS time) by the receiver
// until the range and the travel time agree to 0.01 mm. evaluate(epoch) fills the
// satellite position at the emission epoch and returns false when there is none.
// Returns the range (m), -1 when the satellite has no position; sets *exhausted
// when maxIter iterations did not converge (the last result is kept).
// travel, when given, holds the travel time (s, negative) to start from, and
// receives the one the returned range was evaluated at: a solution of the same
// reception epoch and receiver started from it repeats that result in one
// evaluation, and a receiver moved by metres needs one more.
template <class Evaluate>
long double Solve(const mjd& t, const xyz& receiver, long double omega, int maxIter,
                  Evaluate evaluate, const xyzt& sat, bool* exhausted,
                  long double* travel = nullptr) {
  long double dt = -0.075L, threshold = 1.0L, rho = 0.0L;
  if (travel && *travel < 0.0L && *travel > -0.2L) dt = *travel;
  int iter = 0;
  *exhausted = false;
  while (threshold > 1e-5L) {
    mjd te = t;
    te += dt;
    if (!evaluate(te)) return -1.0L;
    if (travel) *travel = dt;
    rho = Range(RotateAboutZ(receiver, -dt * omega), sat);
    threshold = std::fabs(dt * c + rho);
    dt = -rho / c;
    if (++iter > maxIter) {
      *exhausted = true;
      break;
    }
  }
  return rho;
}

// Travel time (s, negative) of a signal received at t by the receiver from a
// satellite that was at p (ECEF, m) at the epoch tp with the velocity v (m/s),
// iterated from dt: the start of a light-time solution for a second receiver near
// the first, or for the next epoch. The satellite moves on a parabola with the
// central gravity and the Earth-fixed frame's Coriolis and centrifugal terms: a
// few millimetres off after a second, some decimetres after 30 s.
inline long double PredictTravel(const mjd& t, const xyz& receiver, long double omega, const xyz& p,
                                 const xyz& v, const mjd& tp, long double dt) {
  const long double gm = 3.986004418e14L;  // [m^3/s^2]
  const long double r2 = p.GetX() * p.GetX() + p.GetY() * p.GetY() + p.GetZ() * p.GetZ();
  if (!(r2 > 1e12L)) return dt;
  const long double g = -gm / (r2 * std::sqrt(r2));
  const long double a[3] = {g * p.GetX() + 2.0L * omega * v.GetY() + omega * omega * p.GetX(),
                            g * p.GetY() - 2.0L * omega * v.GetX() + omega * omega * p.GetY(),
                            g * p.GetZ()};
  const long double since = t - tp;
  for (int k = 0; k < 3; ++k) {
    const long double s = since + dt, h = 0.5L * s * s;
    // the receiver turned by some microradians: the series is exact here
    const long double w = -dt * omega, cw = 1.0L - 0.5L * w * w, sw = w - w * w * w / 6.0L;
    const xyz r(receiver.GetX() * cw - receiver.GetY() * sw,
                receiver.GetX() * sw + receiver.GetY() * cw, receiver.GetZ());
    const long double dx = r.GetX() - (p.GetX() + v.GetX() * s + a[0] * h);
    const long double dy = r.GetY() - (p.GetY() + v.GetY() * s + a[1] * h);
    const long double dz = r.GetZ() - (p.GetZ() + v.GetZ() * s + a[2] * h);
    dt = -std::sqrt(dx * dx + dy * dy + dz * dz) / c;
  }
  return dt;
}

}  // namespace lighttime

#endif
