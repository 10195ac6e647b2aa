#include "sdiff/PointPositioning.h"

#include <algorithm>
#include <cmath>

#include "gnss/SatelliteNumbering.h"
#include "gnss/elipsoid.h"
#include "gnss/flh.h"
#include "gnss/xyz_flh.h"
#include "sdiff/NormalEquations.h"

namespace {

constexpr long double kC = 299792458.0L;           // speed of light [m/s]
constexpr long double kOmegaE = 7.2921151467e-5L;  // Earth rotation rate [rad/s]
constexpr long double kPi = 3.141592653589793L;

const elipsoid& Wgs84() {
  static const elipsoid ell(elipsoidns::WGS84);
  return ell;
}

// |a - b| [m], the length of the difference vector in its own operations.
long double Distance(const xyz& a, const xyz& b) {
  const long double dx = a.GetX() - b.GetX(), dy = a.GetY() - b.GetY(), dz = a.GetZ() - b.GetZ();
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// |a|^2 [m^2] in the operations of xyz::GetLength.
long double Squared(const xyz& a) {
  return a.GetX() * a.GetX() + a.GetY() * a.GetY() + a.GetZ() * a.GetZ();
}

// Satellite position [m] turned with the Earth during the travel over range rho [m].
inline xyz EarthRotated(const xyz& sat, long double rho) {
  const long double a = -kOmegaE * rho / kC;
  if (std::fabs(a) > 1e-4L) return xyz(sat).RotateZ(a);
  // Below 1e-4 rad the terms of the series after these lie far below the last bit.
  const long double a2 = a * a;
  const long double sn = a - a * a2 * (1.0L / 6.0L - a2 * (1.0L / 120.0L));
  const long double cs = 1.0L - a2 * (0.5L - a2 * (1.0L / 24.0L));
  return xyz(sat.GetX() * cs - sat.GetY() * sn, sat.GetX() * sn + sat.GetY() * cs, sat.GetZ());
}

int SystemIndex(short sat) {
  return satnum::IsGPS(sat) ? 0 : satnum::IsGLONASS(sat) ? 1 : 2;
}

// RINEX 3 codes (or RINEX 2 types) of the two bands of each system, best first.
struct BandCodes {
  const char* codes;
  int band;
};
const std::vector<BandCodes> kFirst[3] = {
    {{"C1C", 1}, {"C1W", 1}, {"C1P", 1}, {"C1Y", 1}, {"C1", 1}, {"P1", 1}},
    {{"C1C", 1}, {"C1P", 1}, {"C1", 1}, {"P1", 1}},
    {{"C1C", 1}, {"C1X", 1}, {"C1", 1}}};
const std::vector<BandCodes> kSecond[3] = {
    {{"C2W", 2},
     {"C2P", 2},
     {"C2D", 2},
     {"C2Y", 2},
     {"C2L", 2},
     {"C2X", 2},
     {"C2S", 2},
     {"P2", 2},
     {"C2", 2},
     {"C5Q", 5},
     {"C5X", 5},
     {"C5I", 5},
     {"C5", 5}},
    {{"C2P", 2}, {"C2C", 2}, {"P2", 2}, {"C2", 2}},
    {{"C5Q", 5}, {"C5X", 5}, {"C5I", 5}, {"C5", 5}, {"C7Q", 7}, {"C7X", 7}, {"C7I", 7}, {"C7", 7}}};

std::vector<int> Indices(const std::vector<std::string>& types, const char* code) {
  std::vector<int> out;
  for (size_t i = 0; i < types.size(); ++i)
    if (types[i] == code) out.push_back(static_cast<int>(i));
  return out;
}

}  // namespace

PointPositioning::PointPositioning(const RinexHeader& header, OrbitSource& orbits,
                                   DelayModel& delays)
    : header_(header), orbits_(orbits), delays_(delays) {
  SetChoices();
  if (header_.hasPosition && header_.position[0] * header_.position[0] +
                                     header_.position[1] * header_.position[1] +
                                     header_.position[2] * header_.position[2] >
                                 1e12L) {
    last_.Set(header_.position[0], header_.position[1], header_.position[2]);
    haveLast_ = true;
  }
}

void PointPositioning::SetChoices() {
  const char letters[3] = {'G', 'R', 'E'};
  for (int s = 0; s < 3; ++s) {
    first_[s].clear();
    second_[s].clear();
    const std::vector<std::string>& types = header_.TypesOf(letters[s]);
    for (const BandCodes& b : kFirst[s])
      for (int i : Indices(types, b.codes)) first_[s].push_back({i, b.band});
    for (const BandCodes& b : kSecond[s])
      for (int i : Indices(types, b.codes)) second_[s].push_back({i, b.band});
  }
  typesVersion_ = header_.typesVersion;
}

long double PointPositioning::Frequency(int system, int band, int channel) {
  if (system == 1)
    return band == 1 ? 1602.0e6L + 0.5625e6L * channel : 1246.0e6L + 0.4375e6L * channel;
  switch (band) {
    case 1:
      return 1575.42e6L;
    case 2:
      return 1227.60e6L;
    case 5:
      return 1176.45e6L;
    default:
      return 1207.14e6L;
  }
}

bool PointPositioning::CodeOf(const SatObs& so, const mjd& t, Obs& obs) const {
  const int s = SystemIndex(so.sat);
  auto pick = [&](const std::vector<Choice>& list, Choice& c) {
    for (const Choice& ch : list)
      if (ch.index < static_cast<int>(so.values.size()) && so.values[ch.index] != 0.0L) {
        c = ch;
        return true;
      }
    return false;
  };
  int channel = 0;
  if (s == 1) {
    auto it = header_.glonassChannels.find(satnum::GlonassSlot(so.sat));
    if (it != header_.glonassChannels.end())
      channel = it->second;
    else if (!orbits_.GlonassChannel(so.sat, t, channel))
      return false;  // no wavelength without the channel
  }
  Choice c1{}, c2{};
  bool has1 = pick(first_[s], c1), has2 = pick(second_[s], c2);
  obs.sat = so.sat;
  obs.system = s;
  if (has1 && has2) {
    long double f1 = Frequency(s, c1.band, channel), f2 = Frequency(s, c2.band, channel);
    long double g = f1 * f1 / (f1 * f1 - f2 * f2);
    obs.code = g * so.values[c1.index] - (g - 1.0L) * so.values[c2.index];
    obs.freq = 0.0L;
    return true;
  }
  // Without an ionosphere model a single-frequency code still gives a clock good to
  // some tens of nanoseconds, which is all the epoch lines need.
  const Choice& c = has1 ? c1 : c2;
  if (!has1 && !has2) return false;
  obs.code = so.values[c.index];
  obs.freq = Frequency(s, c.band, channel);
  return true;
}

bool PointPositioning::SatelliteStates(std::vector<Obs>& obs, const mjd& t, const xyz& pos,
                                       long double clk) {
  // A receiver clock beyond a second is no solution to start from.
  if (!std::isfinite(static_cast<double>(clk)) || std::fabs(clk) > 1.0L) return false;
  const bool near = pos.GetLength() > 6.0e6L;
  size_t n = 0;
  for (Obs& o : obs) {
    // Emission time: receiver time minus its clock minus the travel time, then the
    // satellite clock.
    long double travel = 0.075L;
    if (near && Squared(o.sat0) > 0.0L) travel = Distance(o.sat0, pos) / kC;
    if (!(travel > 0.0L && travel < 0.2L)) travel = 0.075L;
    mjd te = t;
    te += -(clk + travel);
    o.usable = orbits_.EmissionState(o.sat, te, o.sat0, o.satClk);
    if (o.usable) ++n;
  }
  return n >= 4;
}

bool PointPositioning::KeepsDelay(const Obs& o, Frame& f) {
  if (!o.hasDelay) return false;
  if (o.delayFrame != f.keptFrame) {
    // The delays change slowly with the position: kept while it moves less than 10 m.
    f.kept = Distance(f.pos, o.delayPos) < 10.0L;
    f.keptFrame = o.delayFrame;
  }
  return f.kept;
}

bool PointPositioning::DelaysKept(const std::vector<Obs>& obs, Frame& f) {
  if (!f.near) return false;
  for (const Obs& o : obs)
    if (o.usable && !(KeepsDelay(o, f) && Squared(o.sat0) < 1e18L)) return false;
  return true;
}

void PointPositioning::Geometry(Obs& o, const xyz& pos, Frame& f, const mjd& t) {
  const xyz s = EarthRotated(o.sat0, Distance(o.sat0, pos));
  long double* d = o.toSat;
  d[0] = s.GetX() - pos.GetX();
  d[1] = s.GetY() - pos.GetY();
  d[2] = s.GetZ() - pos.GetZ();
  o.rho = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
  if (!f.near) {
    o.elev = kPi / 2;
    o.delay = 0.0L;
    o.weight = 1.0L;
    return;
  }
  if (KeepsDelay(o, f)) return;
  if (!f.hasAxes) SetAxes(f);
  long double n = 0, e = 0, u = 0;
  for (int i = 0; i < 3; ++i) {
    const long double di = d[i];
    n += f.axes[0][i] * di;
    e += f.axes[1][i] * di;
    u += f.axes[2][i] * di;
  }
  o.elev = std::atan2(u, std::sqrt(n * n + e * e));
  const long double el = std::max(o.elev, 0.05L);
  const long double sinEl = std::sin(el);
  o.weight = sinEl * sinEl;
  const flh& geo = Geo(f);
  o.delay = delays_.Troposphere(geo.GetF(), geo.GetH(), el, static_cast<long>(t.GetMJDay()));
  if (o.freq > 0.0L) {
    const long double azim = std::atan2(e, n);
    const long double r = 1575.42e6L / o.freq;
    o.delay += r * r * delays_.IonosphereL1(geo.GetF(), geo.GetL(), el, azim, t.GetSecond());
  }
  o.hasDelay = true;
  o.delayPos = pos;
  o.delayFrame = f.id;
}

PointPositioning::Frame PointPositioning::MakeFrame(const xyz& pos) {
  Frame f;
  f.id = ++frames_;
  f.pos = pos;
  const long double r = pos.GetLength();
  f.near = r > 6.0e6L;
  if (!f.near) return f;
  // Far above or below the surface (a first iteration from the geocentre) the
  // atmosphere models do not apply yet. The height above the ellipsoid along the
  // radius is within a metre of the ellipsoidal height up there: well inside the
  // limits the geodetic position waits until a delay needs it.
  const elipsoid& ell = Wgs84();
  const long double a2 = ell.GetA() * ell.GetA(), b2 = ell.GetB() * ell.GetB();
  const long double xy2 = pos.GetX() * pos.GetX() + pos.GetY() * pos.GetY();
  const long double z2 = pos.GetZ() * pos.GetZ();
  const long double radial = r - std::sqrt(a2 * b2 * (xy2 + z2) / (b2 * xy2 + a2 * z2));
  if (radial > -900.0L && radial < 19900.0L) return f;
  const flh& geo = Geo(f);
  if (geo.GetH() < -1000.0L || geo.GetH() > 20000.0L) f.near = false;
  return f;
}

const flh& PointPositioning::Geo(Frame& f) {
  if (!f.hasGeo) {
    f.geo = xyz2flh(f.pos, Wgs84());
    f.hasGeo = true;
  }
  return f.geo;
}

void PointPositioning::SetAxes(Frame& f) {
  // Rows north, east, up of the local frame.
  const flh& geo = Geo(f);
  const long double sf = std::sin(geo.GetF()), cf = std::cos(geo.GetF());
  const long double sl = std::sin(geo.GetL()), cl = std::cos(geo.GetL());
  const long double rows[3][3] = {
      {-sf * cl, -sf * sl, cf}, {-sl, cl, 0.0L}, {cf * cl, cf * sl, sf}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) f.axes[i][j] = rows[i][j];
  f.hasAxes = true;
}

bool PointPositioning::Adjust(std::vector<Obs>& obs, const mjd& t, xyz& pos, long double& clk,
                              long double& worst, size_t& worstIndex) {
  // Unknowns: X, Y, Z, clock of the first system [m], offsets of the other systems [m].
  int sysCol[3] = {-1, -1, -1};
  for (const Obs& o : obs)
    if (o.usable) sysCol[o.system] = 0;
  int nu = 3;
  for (int s = 0; s < 3; ++s)
    if (sysCol[s] == 0) sysCol[s] = nu++;
  const int ref = sysCol[0] >= 0 ? 0 : sysCol[1] >= 0 ? 1 : 2;
  long double x[6] = {0, 0, 0, 0, 0, 0};
  x[sysCol[ref]] = clk * kC;
  auto residual = [&](const Obs& o) {
    long double model = o.rho + x[sysCol[ref]] - kC * o.satClk + o.delay;
    if (o.system != ref) model += x[sysCol[o.system]];
    return o.code - model;
  };
  Frame f;
  // Largest |reduced observation| of the converged iteration [m] and its steps of
  // the position and of the clock and offsets [m].
  long double largest = 0.0L, step = 0.0L, clockStep = 0.0L;
  bool converged = false;
  for (int iter = 0; iter < 10; ++iter) {
    NormalEquations normal(nu);
    f = MakeFrame(pos);
    std::vector<NormalEquations::RangeRow>& rows = rows_;
    rows.clear();
    for (Obs& o : obs) {
      if (!o.usable) continue;
      Geometry(o, pos, f, t);
      if (f.near && o.elev < kMask) continue;
      NormalEquations::RangeRow& r = rows.emplace_back();
      // The unit vector from the satellite, pos - s: the exact negation of s - pos.
      for (int i = 0; i < 3; ++i) r.d[i] = -o.toSat[i] / o.rho;
      r.clock = sysCol[ref];
      r.offset = o.system != ref ? sysCol[o.system] : -1;
      r.w = o.weight;
      r.l = residual(o);
    }
    if (static_cast<long>(rows.size()) < nu + 1) return false;
    normal.AddRanges(rows.data(), rows.size());
    long double dx[6];
    if (!normal.Solve(dx)) return false;
    for (int i = 0; i < nu; ++i)
      if (!std::isfinite(static_cast<double>(dx[i]))) return false;
    pos += xyz(dx[0], dx[1], dx[2]);
    for (int i = 3; i < nu; ++i) x[i] += dx[i];
    step = std::fabs(dx[0]) + std::fabs(dx[1]) + std::fabs(dx[2]);
    if (step < 1e-3L && f.near) {
      for (const NormalEquations::RangeRow& r : rows) largest = std::max(largest, std::fabs(r.l));
      for (int i = 3; i < nu; ++i) clockStep += std::fabs(dx[i]);
      converged = true;
      break;
    }
  }
  clk = x[sysCol[ref]] / kC;
  // Residuals of the final geometry: the worst one decides on a rejection. They
  // differ from the last reduced observations by at most the clock and offset steps
  // and twice the position step (the turn of the satellite with the range adds less
  // than a quarter of it within 1e9 m); a largest residual that stays below the
  // limit that way needs not be formed when the delays stay as they are.
  worst = 0.0L;
  f = MakeFrame(pos);
  if (converged && largest + 2.0L * step + clockStep + 0.01L < kMaxResidual && DelaysKept(obs, f))
    return true;
  for (size_t k = 0; k < obs.size(); ++k) {
    Obs& o = obs[k];
    if (!o.usable) continue;
    Geometry(o, pos, f, t);
    if (o.elev < kMask) continue;
    const long double v = std::fabs(residual(o));
    if (v > worst) {
      worst = v;
      worstIndex = k;
    }
  }
  return true;
}

bool PointPositioning::Solve(const RinexEpoch& epoch, xyz& position, long double& clock) {
  if (typesVersion_ != header_.typesVersion) SetChoices();  // changed by an event record
  std::vector<Obs>& obs = obs_;
  obs.clear();
  for (const SatObs& so : epoch.sats) {
    Obs o{};
    if (CodeOf(so, epoch.time, o)) obs.push_back(o);
  }
  if (obs.size() < 4) return false;
  xyz pos = haveLast_ ? last_ : xyz();
  long double clk = haveLast_ ? lastClock_ : 0.0L;
  // The satellite states depend on the receiver clock and position: they are
  // computed again until the solution no longer moves them (one pass from the
  // previous epoch's solution is usually enough).
  for (int pass = 0; pass < 4; ++pass) {
    const xyz pos0 = pos;
    const long double clk0 = clk;
    if (!SatelliteStates(obs, epoch.time, pos, clk)) return false;
    long double worst = 0;
    size_t worstIndex = 0;
    for (;;) {
      xyz p = pos;
      long double c = clk;
      if (!Adjust(obs, epoch.time, p, c, worst, worstIndex)) return false;
      pos = p;
      clk = c;
      if (worst <= kMaxResidual) break;
      obs[worstIndex].usable = false;  // a single bad satellite is left out
      obs.erase(obs.begin() + static_cast<long>(worstIndex));
      if (!SatelliteStates(obs, epoch.time, pos, clk)) return false;
    }
    if ((pass > 0 || haveLast_) && (pos - pos0).GetLength() < 1.0L && std::fabs(clk - clk0) < 1e-8L)
      break;
  }
  const long double r = pos.GetLength();
  if (r < 6.0e6L || r > 7.0e6L) return false;
  position = pos;
  clock = clk;
  last_ = pos;
  lastClock_ = clk;
  haveLast_ = true;
  sum_[0] += pos.GetX();
  sum_[1] += pos.GetY();
  sum_[2] += pos.GetZ();
  ++nSolved_;
  return true;
}

bool PointPositioning::MeanPosition(xyz& mean) const {
  if (nSolved_ == 0) return false;
  mean.Set(sum_[0] / nSolved_, sum_[1] / nSolved_, sum_[2] / nSolved_);
  return true;
}
