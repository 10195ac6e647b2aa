#include "sim/StationEffects.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "gnss/xyz.h"
#include "sim/Constants.h"
#include "sim/Random.h"
#include "sim/SunMoon.h"
#include "sim/TextFormat.h"
#include "sim/Time.h"
#include "station/OceanTideLoading.h"
#include "station/SolidEarthTide.h"

namespace sim {

namespace {

long double DecimalMjd(long double t) {
  return MjdOfGpsStart + t / 86400.0L;
}

mjd ToMjd(long double t) {
  return mjd(Mjd(t), SecondsOfDay(t));
}

xyz ToXyz(const Vec3& v) {
  return xyz(v.x, v.y, v.z);
}

Neu ToNeu(const Geodetic& g, const Vec3& d) {
  Vec3 n, e, u;
  LocalAxes(g, n, e, u);
  return {Dot(d, n), Dot(d, e), Dot(d, u)};
}

// Loading pattern of the 11 tides M2 S2 N2 K2 K1 O1 P1 Q1 Mf Mm Ssa: amplitudes (m)
// radial, east-west, north-south, then phases (degrees) in the same order.
const long double kBlqAmp[3][11] = {{.01200L, .00420L, .00250L, .00110L, .00350L, .00230L, .00110L,
                                     .00040L, .00060L, .00030L, .00025L},
                                    {.00310L, .00100L, .00065L, .00028L, .00080L, .00050L, .00025L,
                                     .00010L, .00008L, .00004L, .00003L},
                                    {.00150L, .00060L, .00030L, .00016L, .00110L, .00040L, .00035L,
                                     .00008L, .00010L, .00005L, .00003L}};
const long double kBlqPhase[3][11] = {
    {-60.0L, -35.5L, -80.2L, -38.0L, 45.3L, -20.1L, 43.0L, -40.7L, 8.5L, 4.0L, 1.0L},
    {75.2L, 110.4L, 52.0L, 100.3L, 110.8L, 40.5L, 105.0L, -10.2L, -170.1L, -165.3L, -176.0L},
    {-30.5L, -5.0L, -28.0L, -18.2L, 40.1L, -8.0L, 40.0L, 160.0L, -168.0L, 158.0L, -10.0L}};

std::string BlqAmplitude(long double a) {
  std::string s = Format("%7.5Lf", a);
  if (s.compare(0, 2, "0.") == 0) s = " " + s.substr(1);
  return s;
}

}  // namespace

void PoleCoordinates(long double start, long double t, long double& xp, long double& yp) {
  // From (-0.050", +0.080") off the mean pole at noon of the day before the start
  // on, by +0.0004" and -0.0003" a day: a pole tide of a few millimetres.
  const long double node = Mjd(start) - 0.5L;
  long double xm, ym;
  MeanPole(node, xm, ym);
  const long double days = DecimalMjd(t) - node;
  xp = std::round((xm - 0.050L) * 1e6L) / 1e6L + 0.0004L * days;
  yp = std::round((ym + 0.080L) * 1e6L) / 1e6L - 0.0003L * days;
}

void MeanPole(long double mjd, long double& xm, long double& ym) {
  const long double y = (mjd - 51544.5L) / 365.25L;  // years since J2000.0
  if (y > 10) {
    xm = (23.513L + 7.6141L * y) / 1000.0L;
    ym = (358.891L - 0.6287L * y) / 1000.0L;
  } else {
    xm = (55.974L + y * (1.8243L + y * (0.18413L + y * 0.007024L))) / 1000.0L;
    ym = (346.346L + y * (1.7896L + y * (-0.10729L - y * 0.000908L))) / 1000.0L;
  }
}

Neu PoleTideDisplacement(const Geodetic& g, long double xp, long double yp, long double mjd) {
  long double xm, ym;
  MeanPole(mjd, xm, ym);
  const long double m1 = xp - xm, m2 = -(yp - ym);
  const long double along = m1 * Cos(g.lon) + m2 * Sin(g.lon);
  const long double across = m1 * Sin(g.lon) - m2 * Cos(g.lon);
  Neu d;
  d.u = -33e-3L * Sin(2 * g.lat) * along;
  d.n = -9e-3L * Cos(2 * g.lat) * along;
  d.e = 9e-3L * Sin(g.lat) * across;
  return d;
}

std::string BlqBlock(const std::string& name, const Geodetic& g, Station st) {
  const long double scale = st == kBase ? 1.0L : 1.5L, shift = st == kBase ? 0.0L : 12.0L;
  std::string b = "  " + name + "\n$$ Simulated loading pattern\n$$ Written by tervan-sim\n";
  b += Format("$$ %-27sRADI TANG  lon/lat:%10.4Lf%10.4Lf%10.3Lf\n", (name + ",").c_str(),
              g.lon / kDeg, g.lat / kDeg, g.h);
  for (int c = 0; c < 3; ++c) {
    b += " ";
    for (int k = 0; k < 11; ++k) b += BlqAmplitude(kBlqAmp[c][k] * scale);
    b += "\n";
  }
  for (int c = 0; c < 3; ++c) {
    b += " ";
    for (int k = 0; k < 11; ++k) b += Format("%7.1Lf", kBlqPhase[c][k] + shift);
    b += "\n";
  }
  return b + "$$\n";
}

StationEffects::StationEffects(const Scenario& sc, const Geodetic geo[2], const Vec3 pos[2],
                               long double start, long double end)
    : amplitude_(sc.motionAmplitude), period_(sc.motionPeriod) {
  geo_[0] = geo[0];
  geo_[1] = geo[1];
  start_ = start - step_;
  n_ = static_cast<long>(std::ceil((end - start) / step_)) + 3;
  if (sc.solidTide) SampleSolid(pos);
  if (sc.poleTide) SamplePole(geo);
  if (sc.oceanLoading) SampleOcean(sc, geo);
  any_ = sc.solidTide || sc.poleTide || sc.oceanLoading || amplitude_ > 0;
}

void StationEffects::Store(Station st, Effect e, const std::vector<Neu>& values) {
  std::vector<long double> n, east, u;
  for (const Neu& v : values) {
    n.push_back(v.n);
    east.push_back(v.e);
    u.push_back(v.u);
  }
  series_[st][e][0] = SampledSeries(start_, step_, n);
  series_[st][e][1] = SampledSeries(start_, step_, east);
  series_[st][e][2] = SampledSeries(start_, step_, u);
  has_[e] = true;
}

void StationEffects::SampleSolid(const Vec3 pos[2]) {
  SolidEarthTide tide;
  std::vector<Neu> values[2];
  for (long k = 0; k < n_; ++k) {
    const long double t = start_ + k * step_;
    const Vec3 sun = SunPosition(t), moon = MoonPosition(t);
    tide.SetSunPosition(ToXyz(Unit(sun)), Norm(sun));
    tide.SetMoonPosition(ToXyz(Unit(moon)), Norm(moon));
    for (Station st : {kBase, kRover}) {
      tide.SetStaPosition(ToXyz(Unit(pos[st])), Norm(pos[st]));
      xyz d;
      tide.GetDisplacement(ToMjd(t), d);
      values[st].push_back(ToNeu(geo_[st], {d.GetX(), d.GetY(), d.GetZ()}));
    }
  }
  for (Station st : {kBase, kRover}) Store(st, kSolid, values[st]);
}

void StationEffects::SamplePole(const Geodetic geo[2]) {
  for (Station st : {kBase, kRover}) {
    std::vector<Neu> values;
    for (long k = 0; k < n_; ++k) {
      const long double t = start_ + k * step_;
      long double xp, yp;
      PoleCoordinates(start_ + step_, t, xp, yp);
      values.push_back(PoleTideDisplacement(geo[st], xp, yp, DecimalMjd(t)));
    }
    Store(st, kPole, values);
  }
}

void StationEffects::SampleOcean(const Scenario& sc, const Geodetic geo[2]) {
  // The program's loading model reads its coefficients from a BLQ file: the
  // scenario's blocks go through a private file of the temporary folder.
  const std::uint64_t key = Random::Hash(
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      reinterpret_cast<std::uintptr_t>(this));
  const std::string path = (std::filesystem::temp_directory_path() /
                            Format("tervan-sim-%016llx.blq", static_cast<unsigned long long>(key)))
                               .string();
  {
    std::ofstream os(path, std::ios::binary);
    os << "$$ Ocean loading of the simulated stations\n$$ END HEADER\n"
       << BlqBlock(sc.baseName, geo[kBase], kBase) << BlqBlock(sc.roverName, geo[kRover], kRover)
       << "$$ END TABLE\n";
  }
  OceanTideLoading otl;
  otl.SetFile(path.c_str());
  otl.ReadFile();
  std::remove(path.c_str());
  for (Station st : {kBase, kRover}) {
    otl.SetStation((st == kBase ? sc.baseName : sc.roverName).c_str());
    std::vector<Neu> values;
    for (long k = 0; k < n_; ++k) {
      neu d;
      otl.GetDisplacement(ToMjd(start_ + k * step_), d);
      values.push_back({d.GetN(), d.GetE(), d.GetU()});
    }
    Store(st, kOcean, values);
  }
}

Neu StationEffects::Part(Station st, Effect e, long double t) const {
  if (!has_[e]) return {};
  return {series_[st][e][0].Value(t), series_[st][e][1].Value(t), series_[st][e][2].Value(t)};
}

Neu StationEffects::Motion(long double t) const {
  if (amplitude_ <= 0) return {};
  // A circle in the horizontal plane and half the amplitude up and down at twice the rate.
  const long double a = 2.0L * kPi * std::fmod(t, period_) / period_;
  return {amplitude_ * Sin(a), amplitude_ * Cos(a), 0.5L * amplitude_ * Sin(2.0L * a)};
}

Vec3 StationEffects::Displacement(Station st, long double t) const {
  Neu sum = st == kRover ? Motion(t) : Neu{};
  for (int e = 0; e < kNumEffects; ++e) {
    const Neu p = Part(st, static_cast<Effect>(e), t);
    sum.n += p.n;
    sum.e += p.e;
    sum.u += p.u;
  }
  Vec3 n, e, u;
  LocalAxes(geo_[st], n, e, u);
  return sum.n * n + sum.e * e + sum.u * u;
}

}  // namespace sim
