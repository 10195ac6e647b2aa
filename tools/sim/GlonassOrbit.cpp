#include "sim/GlonassOrbit.h"

#include <cmath>

#include "sim/Constants.h"
#include "sim/Random.h"
#include "sim/TextFormat.h"

namespace sim {

namespace {
// Record accelerations are kept at the precision the navigation file carries
// (km/s^2 with 12 mantissa decimals).
Vec3 AsWritten(const Vec3& a) {
  return {RoundExp(a.x / 1000.0L, 12) * 1000.0L, RoundExp(a.y / 1000.0L, 12) * 1000.0L,
          RoundExp(a.z / 1000.0L, 12) * 1000.0L};
}
}  // namespace

GlonassOrbit::GlonassOrbit(const Vec3& pos, const Vec3& vel, long double start, long double end,
                           long double firstRecord, long double recordStep, Random& rnd)
    : start_(start), end_(end) {
  accAmplitude_ = rnd.Uniform(1e-6L, 4e-6L);
  accPhase_ = rnd.Uniform(0, 2 * kPi);
  accDeclination_ = rnd.Uniform(-0.4L, 0.4L);
  Integrate(pos, vel);
  for (long double tb = firstRecord; tb <= end; tb += recordStep) {
    if (tb < start) continue;
    GlonassRecord r;
    r.tb = tb;
    Interpolate(tb, r.pos, r.vel);
    r.acc = AsWritten(AccelerationAt(tb));
    records_.push_back(r);
  }
}

void GlonassOrbit::Derivative(const Vec3& p, const Vec3& v, const Vec3& acc, Vec3& dpos,
                              Vec3& dvel) {
  const long double r2 = Dot(p, p), r = std::sqrt(r2);
  const long double mu = kGmGlonass, w = kOmegaGlonass;
  const long double k = 1.5L * kC20Glonass * mu * kAeGlonass * kAeGlonass / (r2 * r2 * r);
  const long double z2 = p.z * p.z / r2;
  const long double c = -mu / (r2 * r);
  dpos = v;
  dvel.x = c * p.x + k * p.x * (1.0L - 5.0L * z2) + w * w * p.x + 2.0L * w * v.y + acc.x;
  dvel.y = c * p.y + k * p.y * (1.0L - 5.0L * z2) + w * w * p.y - 2.0L * w * v.x + acc.y;
  dvel.z = c * p.z + k * p.z * (3.0L - 5.0L * z2) + acc.z;
}

Vec3 GlonassOrbit::AccelerationAt(long double t) const {
  // The pull of a distant body: a fixed magnitude toward a direction that turns
  // once a day in the Earth-fixed frame.
  const long double a = accPhase_ - kOmegaGlonass * t, cd = Cos(accDeclination_);
  return {accAmplitude_ * cd * Cos(a), accAmplitude_ * cd * Sin(a),
          accAmplitude_ * Sin(accDeclination_)};
}

void GlonassOrbit::Step(Vec3& p, Vec3& v, long double t, long double h) const {
  // One classical fourth-order Runge-Kutta step.
  const Vec3 a0 = AccelerationAt(t), a1 = AccelerationAt(t + 0.5L * h);
  const Vec3 a2 = AccelerationAt(t + h);
  Vec3 k1p, k1v, k2p, k2v, k3p, k3v, k4p, k4v;
  Derivative(p, v, a0, k1p, k1v);
  Derivative(p + (0.5L * h) * k1p, v + (0.5L * h) * k1v, a1, k2p, k2v);
  Derivative(p + (0.5L * h) * k2p, v + (0.5L * h) * k2v, a1, k3p, k3v);
  Derivative(p + h * k3p, v + h * k3v, a2, k4p, k4v);
  p = p + (h / 6.0L) * (k1p + 2.0L * k2p + 2.0L * k3p + k4p);
  v = v + (h / 6.0L) * (k1v + 2.0L * k2v + 2.0L * k3v + k4v);
}

void GlonassOrbit::Integrate(Vec3 p, Vec3 v) {
  // One step per node spacing.
  const long nodes = static_cast<long>(std::ceil((end_ - start_) / kNodeStep)) + 1;
  nodePos_.reserve(nodes);
  nodeVel_.reserve(nodes);
  for (long n = 0; n < nodes; ++n) {
    nodePos_.push_back(p);
    nodeVel_.push_back(v);
    Step(p, v, start_ + n * kNodeStep, kNodeStep);
  }
}

void GlonassOrbit::Interpolate(long double t, Vec3& pos, Vec3& vel) const {
  // Cubic Hermite interpolation between the stored states.
  long i = static_cast<long>(std::floor((t - start_) / kNodeStep));
  const long last = static_cast<long>(nodePos_.size()) - 2;
  if (i < 0) i = 0;
  if (i > last) i = last;
  const long double h = kNodeStep;
  const long double s = (t - start_ - i * h) / h;
  const Vec3 &p0 = nodePos_[i], &p1 = nodePos_[i + 1];
  const Vec3 m0 = h * nodeVel_[i], m1 = h * nodeVel_[i + 1];
  const long double s2 = s * s, s3 = s2 * s;
  pos = (2 * s3 - 3 * s2 + 1) * p0 + (s3 - 2 * s2 + s) * m0 + (-2 * s3 + 3 * s2) * p1 +
        (s3 - s2) * m1;
  vel = (1.0L / h) * ((6 * s2 - 6 * s) * p0 + (3 * s2 - 4 * s + 1) * m0 + (-6 * s2 + 6 * s) * p1 +
                      (3 * s2 - 2 * s) * m1);
}

Vec3 GlonassOrbit::Position(long double t) const {
  Vec3 p, v;
  Interpolate(t, p, v);
  return p;
}

Vec3 GlonassOrbit::Velocity(long double t) const {
  Vec3 p, v;
  Interpolate(t, p, v);
  return v;
}

}  // namespace sim
