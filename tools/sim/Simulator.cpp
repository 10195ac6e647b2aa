#include "sim/Simulator.h"

#include <algorithm>
#include <cmath>

#include "sim/Attitude.h"
#include "sim/Constants.h"
#include "sim/SunMoon.h"
#include "sim/TextFormat.h"

namespace sim {

namespace {
// Largest elevation rate of a satellite seen from the ground, rad/s (MEO satellites
// reach about 0.012 deg/s at the zenith).
constexpr long double kMaxElevationRate = 0.02L * kDeg;
}  // namespace

const char* const kObsTypeName[kNumTypes] = {"C1", "P1", "P2", "L1", "L2", "C7", "L7"};

Simulator::Simulator(const Scenario& sc)
    : sc_(sc), rnd_(sc.seed), iono_(sc.peakTec, sc.ionosphere) {
  // Products reach seven orbit epochs beyond the observations, so that a
  // 14-node interpolation is centred on every epoch of the observations.
  const long double step = sc_.sp3Interval;
  productStart_ = std::floor(sc_.StartSeconds() / step) * step - 7 * step;
  productEnd_ = std::ceil(sc_.EndSeconds() / step) * step + 7 * step;
}

namespace {
// A value fixed by the seed and a key alone, uniform in [-range, range).
long double Drawn(unsigned long seed, std::uint64_t key, long double range) {
  const std::uint64_t h = Random::Hash(Random::Hash(seed ^ 0x5eedb1a5ULL) ^ key);
  return range * (2.0L * static_cast<long double>(h >> 11) / 9007199254740992.0L - 1.0L);
}
}  // namespace

long double Simulator::RoverSystemOffset(char system) const {
  if (!sc_.receiverBiases || system == 'G') return 0.0L;
  return Drawn(sc_.seed, static_cast<std::uint64_t>(system), 3.0L);
}

long double Simulator::RoverCodeBias(int sat, int type) const {
  if (!sc_.receiverBiases) return 0.0L;
  return Drawn(sc_.seed, 1000ULL + static_cast<std::uint64_t>(sat) * 16ULL + type, 1.0L);
}

long double Simulator::Lambda1(int sat) const {
  return kC / sats_->Sat(sat).f1;
}
long double Simulator::Lambda2(int sat) const {
  return kC / sats_->Sat(sat).f2;
}

void Simulator::Run() {
  sats_ = std::make_unique<Constellation>(sc_.systems, productStart_ - 3600.0L,
                                          productEnd_ + 3600.0L, rnd_);
  PlaceStations();
  effects_ = StationEffects(sc_, geo_, pos_, sc_.StartSeconds(), sc_.EndSeconds());
  if (sc_.antennas || sc_.windUp) antennas_ = Antennas(*sats_);
  const long double day = sc_.StartSeconds() - SecondsOfDay(sc_.StartSeconds());
  for (Station s : {kBase, kRover})
    tropo_[s] = sc_.troposphere && sc_.tropoNodes > 0
                    ? Troposphere(geo_[s], productStart_, productEnd_, day, sc_.tropoNodes, rnd_)
                    : Troposphere(geo_[s], productStart_, productEnd_, sc_.troposphere, rnd_);
  MakeClocks();
  AddRandomGaps();
  for (Station s : {kBase, kRover}) Observe(s);
  MarkEclipses();
  ApplySlips();
  ApplyOutliers();
  ApplyProblems();
  RoundValues();
}

void Simulator::PlaceStations() {
  geo_[kBase] = sc_.base;
  pos_[kBase] = GeodeticToEcef(sc_.base);
  // The ROVER lies at the given distance and azimuth on the ellipsoid's tangent plane
  // (to first order), at the given height difference; positions kept to 0.1 mm.
  Vec3 n, e, u;
  LocalAxes(sc_.base, n, e, u);
  const long double d = sc_.baselineKm * 1000.0L, az = sc_.azimuthDeg * kDeg;
  Vec3 rover = pos_[kBase] + (d * std::cos(az)) * n + (d * std::sin(az)) * e;
  Geodetic g = EcefToGeodetic(rover);
  g.h = sc_.base.h + sc_.heightDiff;
  rover = GeodeticToEcef(g);
  for (Vec3* p : {&pos_[kBase], &rover}) {
    p->x = std::round(p->x * 1e4L) / 1e4L;
    p->y = std::round(p->y * 1e4L) / 1e4L;
    p->z = std::round(p->z * 1e4L) / 1e4L;
  }
  pos_[kRover] = rover;
  geo_[kBase] = EcefToGeodetic(pos_[kBase]);
  geo_[kRover] = EcefToGeodetic(pos_[kRover]);
}

void Simulator::MakeClocks() {
  const long n = static_cast<long>(std::floor(sc_.duration / sc_.interval + 1e-9L)) + 1;
  for (Station s : {kBase, kRover}) {
    // Steered receiver clocks stay within a few hundred nanoseconds; with
    // millisecond jumps the clock drifts freely and is reset by 1 ms at 0.5 ms.
    long double value = sc_.msJumps ? rnd_.Uniform(-2e-4L, 2e-4L) : rnd_.Uniform(-3e-7L, 3e-7L);
    const long double drift = sc_.msJumps ? (s == kBase ? -6e-8L : 1.5e-7L) : 0.0L;
    long double jumps = 0;
    epochs_[s].resize(n);
    for (long k = 0; k < n; ++k) {
      StationEpoch& ep = epochs_[s][k];
      ep.tag = sc_.StartSeconds() + k * sc_.interval + (s == kRover ? sc_.roverTagOffset : 0);
      if (std::fabs(value) > 5e-4L) {
        const long double jump = value > 0 ? -1e-3L : 1e-3L;
        value += jump;
        jumps += jump;
        AppliedEvent ev{"clock jump", s, "", ep.tag, ep.tag, Format("%+.0Lf ms", jump * 1e3L)};
        events_.push_back(ev);
      }
      ep.clock = value;
      ep.jumps = jumps;
      value += drift * sc_.interval + rnd_.Normal(sc_.msJumps ? 2e-10L : 1e-10L);
    }
  }
}

void Simulator::AddRandomGaps() {
  // Gaps of 2 to 10 minutes of a satellite that the ROVER sees when the gap begins.
  for (int k = 0; k < sc_.randomGaps; ++k) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
      const int sat = static_cast<int>(rnd_.Integer(0, static_cast<long>(sats_->Size()) - 1));
      const long double from =
          rnd_.Integer(0, static_cast<long>(sc_.duration / sc_.interval)) * sc_.interval;
      long double el, az;
      ElevationAzimuth(geo_[kRover], pos_[kRover], sats_->Position(sat, sc_.StartSeconds() + from),
                       el, az);
      if (el < (sc_.mask + 5.0L) * kDeg) continue;
      WindowSpec w;
      w.sat = sats_->Sat(sat).Id();
      w.from = from;
      w.to = from + rnd_.Integer(4, 20) * 30.0L;
      sc_.gaps.push_back(w);
      break;
    }
  }
}

bool Simulator::InGap(Station st, const std::string& sat, long double t) const {
  const long double t0 = sc_.StartSeconds();
  for (const WindowSpec& g : sc_.gaps)
    if (g.station == st && g.sat == sat && t >= t0 + g.from && t <= t0 + g.to) return true;
  return false;
}

bool Simulator::Compute(Station st, int sat, const StationEpoch& ep, const Vec3& sun,
                        long double& wind, RawObs& o, ObsTerms& t) const {
  const long double tag = ep.tag, clock = ep.clock;
  const long double tr = tag - clock;  // true reception epoch
  // The antenna moves with the tides and the ROVER's motion; angles and antenna
  // corrections refer to the reference point, as a processing program has them.
  const Vec3 r = effects_.Any() ? pos_[st] + effects_.Displacement(st, tr) : pos_[st];
  // A first look at the elevation saves the light-time solution of satellites far
  // below the horizon.
  long double el, az;
  ElevationAzimuth(geo_[st], r, sats_->Position(sat, tr - 0.075L), el, az);
  t.elevation = el;
  if (el < (sc_.mask - 2.0L) * kDeg) return false;
  long double tau = 0.075L, rho = 0;
  Vec3 xs, rotated;
  for (int it = 0; it < 20; ++it) {
    xs = sats_->Position(sat, tr - tau);
    rotated = RotateZ(xs, kOmegaKepler * tau);
    rho = Norm(rotated - r);
    const long double next = rho / kC;
    const bool done = std::fabs(next - tau) < 1e-14L;
    tau = next;
    if (done) break;
  }
  ElevationAzimuth(geo_[st], pos_[st], rotated, el, az);
  if (el < sc_.mask * kDeg) return false;
  t.range = rho;
  const long double rs = Norm(xs), rr = Norm(r);
  t.shapiro = 2.0L * kGmShapiro / (kC * kC) * std::log((rs + rr + rho) / (rs + rr - rho));
  t.emission = tr - tau;
  t.satClock = sats_->Clock(sat, t.emission);
  t.relativity = sats_->Relativity(sat, t.emission);
  t.recClock = clock;
  t.tropo = tropo_[st].Slant(tr, el, az);
  t.tec = iono_.Slant(geo_[st], el, az, tr);
  t.elevation = el;
  t.azimuth = az;
  if (sc_.antennas || sc_.windUp) AddStationEffects(st, sat, rotated, sun, wind, t);
  const long double a1 = t.antenna[0], a2 = t.antenna[1], w = t.windUp;
  const SimSat& s = sats_->Sat(sat);
  const bool rover = st == kRover;
  const long double geom = rho + t.shapiro + kC * (clock - t.satClock - t.relativity) + t.tropo +
                           (rover ? RoverSystemOffset(s.system) : 0.0L);
  // The phase does not follow the millisecond jumps of the receiver clock.
  const long double phase = geom - kC * ep.jumps;
  const long double i1 = Ionosphere::Delay(t.tec, s.f1), i2 = Ionosphere::Delay(t.tec, s.f2);
  o.sat = sat;
  auto code = [&](int k) { return rover ? RoverCodeBias(sat, k) : 0.0L; };
  o.value[kC1] = geom + i1 + s.biasC1 + code(kC1) + a1;
  o.value[kL1] = (phase - i1 + a1) / (kC / s.f1) + o.n1 + w;
  if (s.system == 'E') {
    o.value[kC7] = geom + i2 + s.biasC7 + code(kC7) + a2;
    o.value[kL7] = (phase - i2 + a2) / (kC / s.f2) + o.n2 + w;
  } else {
    o.value[kP1] = geom + i1 + s.biasP1 + code(kP1) + a1;
    o.value[kP2] = geom + i2 + s.biasP2 + code(kP2) + a2;
    o.value[kL2] = (phase - i2 + a2) / (kC / s.f2) + o.n2 + w;
  }
  o.ssi = std::min(9, 5 + static_cast<int>(5.0L * std::sin(el)));
  return true;
}

void Simulator::AddStationEffects(Station st, int sat, const Vec3& satPos, const Vec3& sun,
                                  long double& wind, ObsTerms& t) const {
  if (sc_.antennas) {
    // The signal leaves the antenna phase centre, where the orbit is; its
    // variation depends on the nadir angle at the satellite.
    const long double cosNadir = Dot(Unit(-1.0L * satPos), Unit(pos_[st] - satPos));
    const long double nadir = std::acos(std::min(1.0L, cosNadir));
    for (int b = 0; b < 2; ++b)
      t.antenna[b] = antennas_.ReceiverEffect(st, b, t.elevation, t.azimuth) +
                     antennas_.SatelliteVariation(sat, b, nadir);
  }
  if (sc_.windUp) {
    // Continuous along the satellite's passes: the whole turns since the previous
    // observation are kept.
    const bool iir = sc_.antennas && antennas_.Satellite(sat).iir;
    long double w = WindUp(satPos, sun, iir, pos_[st], geo_[st]);
    if (!std::isnan(wind)) w -= std::round(w - wind);
    wind = w;
    t.windUp = w;
  }
}

void Simulator::MarkEclipses() {
  if (sc_.eclipseAngle <= 0) return;
  const std::vector<StationEpoch>&base = epochs_[kBase], &rover = epochs_[kRover];
  const size_t n = std::min(base.size(), rover.size()), nsat = sats_->Size();
  std::vector<long> first(nsat, -1), last(nsat, -1), count(nsat, 0);
  std::vector<AppliedEvent> found;
  auto close = [&](size_t i) {
    if (first[i] < 0) return;
    found.push_back({"eclipsing", kBase, sats_->Sat(i).Id(), base[first[i]].tag, base[last[i]].tag,
                     Format("epochs: %ld", count[i])});
    first[i] = -1;
    count[i] = 0;
  };
  for (size_t k = 0; k < n; ++k) {
    const Vec3 sun = SunPosition(base[k].tag);
    for (const RawObs& ob : base[k].obs) {
      bool both = false;
      for (const RawObs& orv : rover[k].obs) both = both || orv.sat == ob.sat;
      const size_t i = static_cast<size_t>(ob.sat);
      if (!both || SunEarthAngle(sats_->Position(i, base[k].tag), sun) >= sc_.eclipseAngle * kDeg)
        continue;
      if (first[i] >= 0 && last[i] != static_cast<long>(k) - 1) close(i);
      if (first[i] < 0) first[i] = static_cast<long>(k);
      last[i] = static_cast<long>(k);
      ++count[i];
    }
  }
  for (size_t i = 0; i < nsat; ++i) close(i);
  std::stable_sort(found.begin(), found.end(),
                   [](const AppliedEvent& a, const AppliedEvent& b) { return a.from < b.from; });
  eclipses_ = found;
}

void Simulator::AddNoise(RawObs& o, long double elevation) {
  const long double s = std::sin(elevation);
  const long double w = 1.0L / (sc_.sineNoise ? s : std::sqrt(s));
  for (int k = 0; k < kNumTypes; ++k) {
    if (o.value[k] == 0) continue;
    const bool phase = k == kL1 || k == kL2 || k == kL7;
    const long double lambda = k == kL1 ? Lambda1(o.sat) : Lambda2(o.sat);
    o.value[k] += phase ? rnd_.Normal(sc_.phaseSigma * w) / lambda : rnd_.Normal(sc_.codeSigma * w);
  }
}

void Simulator::Observe(Station st) {
  const size_t nsat = sats_->Size();
  std::vector<long> lastSeen(nsat, -2), n1(nsat, 0), n2(nsat, 0);
  std::vector<long double> wind(nsat, std::nanl(""));
  std::vector<long double> nextLook(nsat, 0.0L);
  const bool attitude = sc_.antennas || sc_.windUp;
  const bool keepTerms = static_cast<long>(epochs_[st].size()) <= kTermsEpochs;
  for (size_t k = 0; k < epochs_[st].size(); ++k) {
    StationEpoch& ep = epochs_[st][k];
    const Vec3 sun = attitude ? SunPosition(ep.tag) : Vec3{};
    for (size_t i = 0; i < nsat; ++i) {
      if (ep.tag < nextLook[i] || InGap(st, sats_->Sat(i).Id(), ep.tag)) continue;
      if (lastSeen[i] != static_cast<long>(k) - 1) {  // a new arc: new ambiguities
        n1[i] = ArcAmbiguity(st, i, k, 1);
        n2[i] = ArcAmbiguity(st, i, k, 2);
      }
      RawObs o;
      o.n1 = n1[i];
      o.n2 = n2[i];
      ObsTerms t;
      if (!Compute(st, static_cast<int>(i), ep, sun, wind[i], o, t)) {
        // A satellite far below the mask cannot rise above it sooner than its
        // largest elevation rate allows: no look until then.
        const long double below = (sc_.mask - 2.0L) * kDeg - t.elevation;
        if (below > 10.0L * kDeg) nextLook[i] = ep.tag + below / kMaxElevationRate;
        continue;
      }
      AddNoise(o, t.elevation);
      ep.obs.push_back(o);
      if (keepTerms) ep.terms.push_back(t);
      lastSeen[i] = static_cast<long>(k);
    }
    ep.obs.shrink_to_fit();
    ep.terms.shrink_to_fit();
  }
  const long double t0 = sc_.StartSeconds();
  for (const WindowSpec& g : sc_.gaps)
    if (g.station == st) events_.push_back({"gap", st, g.sat, t0 + g.from, t0 + g.to, ""});
}

long Simulator::ArcAmbiguity(Station st, size_t sat, size_t epoch, int band) const {
  // Fixed by the arc alone, so that an effect elsewhere leaves it unchanged.
  std::uint64_t key = Random::Hash(sc_.seed);
  for (std::uint64_t part : {static_cast<std::uint64_t>(st), static_cast<std::uint64_t>(sat),
                             static_cast<std::uint64_t>(epoch), static_cast<std::uint64_t>(band)})
    key = Random::Hash(key ^ part);
  return static_cast<long>(key % 4000001ULL) - 2000000L;
}

RawObs* Simulator::FindObs(Station st, size_t epoch, const std::string& sat) {
  for (RawObs& o : epochs_[st][epoch].obs)
    if (sats_->Sat(o.sat).Id() == sat) return &o;
  return nullptr;
}

void Simulator::ApplySlips() {
  std::vector<SlipSpec> slips = sc_.slips;
  const std::vector<StationEpoch>& rover = epochs_[kRover];
  for (int k = 0; k < sc_.randomSlips && rover.size() > 2; ++k) {
    // A random ROVER observation that continues an arc.
    for (int attempt = 0; attempt < 1000; ++attempt) {
      const size_t e = static_cast<size_t>(rnd_.Integer(1, static_cast<long>(rover.size()) - 1));
      if (rover[e].obs.empty()) continue;
      const RawObs& o = rover[e].obs[rnd_.Integer(0, static_cast<long>(rover[e].obs.size()) - 1)];
      const std::string id = sats_->Sat(o.sat).Id();
      if (!FindObs(kRover, e - 1, id)) continue;
      SlipSpec s;
      s.sat = id;
      s.at = e * sc_.interval;
      do {
        s.n1 = rnd_.Integer(-20, 20);
        s.n2 = rnd_.Integer(-20, 20);
      } while (s.n1 == 0 && s.n2 == 0);
      slips.push_back(s);
      break;
    }
  }
  for (const SlipSpec& s : slips) {
    const long double t = sc_.StartSeconds() + s.at;
    bool applied = false;
    for (StationEpoch& ep : epochs_[s.station]) {
      if (ep.tag + 1e-6L < t + (s.station == kRover ? sc_.roverTagOffset : 0)) continue;
      for (RawObs& o : ep.obs) {
        if (sats_->Sat(o.sat).Id() != s.sat) continue;
        const ObsType second = sats_->Sat(o.sat).system == 'E' ? kL7 : kL2;
        o.value[kL1] += s.n1;
        o.value[second] += s.n2;
        o.n1 += s.n1;
        o.n2 += s.n2;
        applied = true;
      }
    }
    // The truth lists only what the data hold: a slip on a satellite that is not
    // observed after its time says so.
    events_.push_back({"slip", s.station, s.sat, t, t,
                       Format("%+ld %+ld cycles%s", s.n1, s.n2,
                              applied ? "" : " (not applied: no such observation)")});
  }
}

void Simulator::ApplyOutliers() {
  std::vector<OutlierSpec> list = sc_.outliers;
  const std::vector<StationEpoch>& rover = epochs_[kRover];
  for (int k = 0; k < sc_.randomOutliers && !rover.empty(); ++k) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
      const size_t e = static_cast<size_t>(rnd_.Integer(0, static_cast<long>(rover.size()) - 1));
      if (rover[e].obs.empty()) continue;
      const RawObs& o = rover[e].obs[rnd_.Integer(0, static_cast<long>(rover[e].obs.size()) - 1)];
      OutlierSpec s;
      s.sat = sats_->Sat(o.sat).Id();
      s.at = e * sc_.interval;
      s.type = "C1";
      s.value = rnd_.Uniform(10, 40) * (rnd_.Uniform() < 0.5L ? -1 : 1);
      list.push_back(s);
      break;
    }
  }
  for (const OutlierSpec& s : list) {
    const long idx = std::lround(s.at / sc_.interval);
    const long double t = sc_.StartSeconds() + idx * sc_.interval;
    int type = 0;
    while (type < kNumTypes && s.type != kObsTypeName[type]) ++type;
    RawObs* o = idx >= 0 && idx < static_cast<long>(epochs_[s.station].size())
                    ? FindObs(s.station, static_cast<size_t>(idx), s.sat)
                    : nullptr;
    const bool applied = o && type < kNumTypes && o->value[type] != 0;
    if (applied) o->value[type] += s.value;
    events_.push_back({"outlier", s.station, s.sat, t, t,
                       Format("%s %+.3Lf m%s", s.type.c_str(), s.value,
                              applied ? "" : " (not applied: no such observation)")});
  }
}

void Simulator::ApplyProblems() {
  const long double t0 = sc_.StartSeconds();
  for (const WindowSpec& w : sc_.problems) {
    // The receiver tracks the satellite badly: codes scatter by metres and the
    // phase jumps by whole cycles from epoch to epoch.
    for (StationEpoch& ep : epochs_[w.station]) {
      if (ep.tag < t0 + w.from || ep.tag > t0 + w.to) continue;
      for (RawObs& o : ep.obs) {
        if (sats_->Sat(o.sat).Id() != w.sat) continue;
        for (int k = 0; k < kNumTypes; ++k) {
          if (o.value[k] == 0) continue;
          const bool phase = k == kL1 || k == kL2 || k == kL7;
          o.value[k] += phase ? static_cast<long double>(rnd_.Integer(-50, 50)) : rnd_.Normal(8);
        }
      }
    }
    events_.push_back({"problem", w.station, w.sat, t0 + w.from, t0 + w.to, ""});
  }
}

void Simulator::RoundValues() {
  for (Station s : {kBase, kRover})
    for (StationEpoch& ep : epochs_[s])
      for (RawObs& o : ep.obs)
        for (int k = 0; k < kNumTypes; ++k) o.value[k] = std::round(o.value[k] * 1000.0L) / 1000.0L;
}

}  // namespace sim
