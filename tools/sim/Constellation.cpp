#include "sim/Constellation.h"

#include <cmath>

#include "sim/Constants.h"
#include "sim/Random.h"
#include "sim/TextFormat.h"
#include "sim/Time.h"

namespace sim {

namespace {

// Frequency channels of the 24 GLONASS slots (antipodal slots share a channel).
const int kGlonassChannel[24] = {1,  -4, 5, 6,  1, -4, 5, 6, -2, -7, 0, -1,
                                 -2, -7, 0, -1, 4, -3, 3, 2, 4,  -3, 3, 2};
// Galileo PRNs of the simulated 24-satellite constellation.
const int kGalileoPrn[24] = {1,  2,  3,  4,  5,  7,  8,  9,  11, 12, 13, 14,
                             15, 18, 19, 21, 24, 25, 26, 27, 30, 31, 33, 36};

// Inertial position and velocity of a Kepler orbit (rad, m) at mean anomaly m.
void KeplerState(long double a, long double e, long double inc, long double node, long double w,
                 long double m, Vec3& pos, Vec3& vel) {
  long double ecc = m;
  for (int k = 0; k < 30; ++k) ecc = m + e * std::sin(ecc);
  const long double n = std::sqrt(kGmGlonass / (a * a * a));
  const long double b = a * std::sqrt(1.0L - e * e);
  const long double edot = n / (1.0L - e * std::cos(ecc));
  const long double xp = a * (std::cos(ecc) - e), yp = b * std::sin(ecc);
  const long double vxp = -a * std::sin(ecc) * edot, vyp = b * std::cos(ecc) * edot;
  const long double cw = std::cos(w), sw = std::sin(w), cn = std::cos(node), sn = std::sin(node);
  const long double ci = std::cos(inc), si = std::sin(inc);
  auto rot = [&](long double x, long double y) {
    const long double xo = x * cw - y * sw, yo = x * sw + y * cw;
    return Vec3{xo * cn - yo * ci * sn, xo * sn + yo * ci * cn, yo * si};
  };
  pos = rot(xp, yp);
  vel = rot(vxp, vyp);
}

}  // namespace

std::string SimSat::Id() const {
  return Format("%c%02d", system, prn);
}

Constellation::Constellation(const std::string& systems, long double start, long double end,
                             Random& rnd)
    : start_(start), end_(end) {
  if (systems.find('G') != std::string::npos) AddKepler('G', rnd);
  if (systems.find('R') != std::string::npos) AddGlonass(rnd);
  if (systems.find('E') != std::string::npos) AddKepler('E', rnd);
}

int Constellation::Find(const std::string& id) const {
  for (size_t i = 0; i < sats_.size(); ++i)
    if (sats_[i].Id() == id) return static_cast<int>(i);
  return -1;
}

void Constellation::AddKepler(char system, Random& rnd) {
  const bool gps = system == 'G';
  const int planes = gps ? 6 : 3, perPlane = gps ? 5 : 8;
  const long double a0 = gps ? 26559700.0L : 29599800.0L;
  const long double inc = (gps ? 55.0L : 56.0L) * kDeg;
  const long double nodeOffset = rnd.Uniform(0, 2 * kPi);
  for (int p = 0; p < planes; ++p) {
    for (int k = 0; k < perPlane; ++k) {
      KeplerElements el;
      const long double a = a0 + rnd.Uniform(-5000.0L, 5000.0L);
      el.sqrtA = std::sqrt(a);
      el.e = gps ? rnd.Uniform(0.001L, 0.015L) : rnd.Uniform(0.0001L, 0.0006L);
      el.i0 = inc + rnd.Uniform(-0.01L, 0.01L);
      el.omega0 = std::remainder(nodeOffset + p * 2 * kPi / planes, 2 * kPi);
      el.w = rnd.Uniform(-kPi, kPi);
      // Walker phasing between planes; the argument of latitude fixes the mean anomaly.
      const long double lat = 2 * kPi * k / perPlane + p * 2 * kPi / (planes * perPlane);
      el.m0 = std::remainder(lat - el.w, 2 * kPi);
      el.deltaN = rnd.Uniform(3.5e-9L, 5.5e-9L);
      el.omegaDot = rnd.Uniform(-8.4e-9L, -7.6e-9L);
      el.iDot = rnd.Uniform(-3e-10L, 3e-10L);
      el.crs = rnd.Uniform(-60.0L, 60.0L);
      el.crc = rnd.Uniform(150.0L, 300.0L);
      el.cuc = rnd.Uniform(-4e-6L, 4e-6L);
      el.cus = rnd.Uniform(-4e-6L, 4e-6L);
      el.cic = rnd.Uniform(-1e-7L, 1e-7L);
      el.cis = rnd.Uniform(-1e-7L, 1e-7L);
      el.epoch = start_;
      el.gm = gps ? kGmKepler : kGmGalileo;
      el.toe = SecondsOfWeek(start_);
      SimSat s;
      s.system = system;
      s.prn = gps ? p * perPlane + k + 1 : kGalileoPrn[p * perPlane + k];
      s.number = static_cast<short>(gps ? s.prn : 200 + s.prn);
      s.f1 = kFreqL1;
      s.f2 = gps ? kFreqL2 : kFreqE5b;
      s.orbit = static_cast<int>(kepler_.size());
      kepler_.emplace_back(el);
      AddClockAndBiases(s, rnd);
      sats_.push_back(s);
    }
  }
}

void Constellation::AddGlonass(Random& rnd) {
  // Broadcast records at UTC hh:15 and hh:45, given in GPS time.
  const int leap = LeapSeconds(start_);
  const long double startUtc = start_ - leap;
  const long double firstRecord =
      std::floor((startUtc - 900.0L) / 1800.0L) * 1800.0L + 900.0L + leap;
  const long double nodeOffset = rnd.Uniform(0, 2 * kPi);
  for (int slot = 1; slot <= 24; ++slot) {
    const int p = (slot - 1) / 8, k = (slot - 1) % 8;
    const long double a = 25510000.0L + rnd.Uniform(-3000.0L, 3000.0L);
    const long double e = rnd.Uniform(0.0002L, 0.002L);
    const long double inc = 64.8L * kDeg + rnd.Uniform(-0.005L, 0.005L);
    const long double node = nodeOffset + p * 2 * kPi / 3;
    const long double w = rnd.Uniform(-kPi, kPi);
    const long double lat = 2 * kPi * k / 8 + p * 2 * kPi / 24;
    Vec3 pos, vel;
    KeplerState(a, e, inc, node, w, lat - w, pos, vel);
    // Earth-fixed velocity: subtract the rotation of the frame.
    vel = vel - Vec3{-kOmegaGlonass * pos.y, kOmegaGlonass * pos.x, 0.0L};
    SimSat s;
    s.system = 'R';
    s.prn = slot;
    s.number = static_cast<short>(100 + slot);
    s.channel = kGlonassChannel[slot - 1];
    s.f1 = kGloF1 + s.channel * kGloDF1;
    s.f2 = kGloF2 + s.channel * kGloDF2;
    s.orbit = static_cast<int>(glonass_.size());
    glonass_.emplace_back(pos, vel, start_, end_, firstRecord, 1800.0L, rnd);
    AddClockAndBiases(s, rnd);
    sats_.push_back(s);
  }
}

void Constellation::AddClockAndBiases(SimSat& s, Random& rnd) {
  const long double offset = rnd.Uniform(-6e-4L, 6e-4L);
  const long double drift = rnd.Uniform(-2e-11L, 2e-11L);
  const long double walk = s.system == 'E' ? 1.5e-12L : 3e-12L;  // s per 30 s
  s.clock = SatClock(start_, end_, 30.0L, offset, drift, walk, rnd);
  s.biasC1 = rnd.Normal(0.6L);
  s.biasP1 = rnd.Normal(0.6L);
  s.biasP2 = rnd.Normal(0.6L);
  s.biasC7 = rnd.Normal(0.6L);
}

Vec3 Constellation::Position(size_t i, long double t) const {
  const SimSat& s = sats_[i];
  return s.system == 'R' ? glonass_[s.orbit].Position(t) : kepler_[s.orbit].Position(t);
}

Vec3 Constellation::Velocity(size_t i, long double t) const {
  const SimSat& s = sats_[i];
  return s.system == 'R' ? glonass_[s.orbit].Velocity(t) : kepler_[s.orbit].Velocity(t);
}

long double Constellation::Relativity(size_t i, long double t) const {
  return -2.0L * Dot(Position(i, t), Velocity(i, t)) / (kC * kC);
}

}  // namespace sim
