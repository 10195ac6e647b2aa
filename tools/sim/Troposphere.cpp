#include "sim/Troposphere.h"

#include <cmath>

#include "atmosphere/gTM_Saastamoinen.h"
#include "sim/Constants.h"
#include "sim/Random.h"
#include "sim/Time.h"

namespace sim {

namespace {
long double ContinuedFraction(long double e, long double a, long double b, long double c) {
  const long double s = Sin(e);
  return (1.0L + a / (1.0L + b / (1.0L + c))) / (s + a / (s + b / (s + c)));
}

// A slowly varying series: mean plus a random walk of `sigma` per sample.
std::vector<long double> Wander(long n, long double mean, long double sigma, Random& rnd) {
  std::vector<long double> v(n);
  long double x = mean;
  for (long i = 0; i < n; ++i) {
    v[i] = x;
    x += rnd.Normal(sigma);
  }
  return v;
}
}  // namespace

Troposphere::Troposphere(const Geodetic& g, long double start, long double end, bool enabled,
                         Random& rnd)
    : enabled_(enabled) {
  // Saastamoinen hydrostatic delay with the pressure of the standard atmosphere.
  const long double p = 1013.25L * std::pow(1.0L - 2.2557e-5L * g.h, 5.2568L);
  zhd_ = 0.0022768L * p / (1.0L - 0.00266L * Cos(2.0L * g.lat) - 0.00028e-3L * g.h);
  const long n = static_cast<long>(std::ceil((end - start) / kStep)) + 2;
  std::vector<long double> wet = Wander(n, rnd.Uniform(0.06L, 0.20L), 0.003L, rnd);
  for (long double& w : wet) w = std::fabs(w);
  wet_ = SampledSeries(start, kStep, wet);
  north_ = SampledSeries(start, kStep, Wander(n, rnd.Uniform(-0.0008L, 0.0008L), 0.00005L, rnd));
  east_ = SampledSeries(start, kStep, Wander(n, rnd.Uniform(-0.0008L, 0.0008L), 0.00005L, rnd));
}

Troposphere::Troposphere(const Geodetic& g, long double start, long double end, long double origin,
                         long double spacing, Random& rnd)
    : enabled_(true), niell_(true), height_(g.h) {
  gTM_Saastamoinen saas;
  saas.SetAtmParams(g.lat, g.h);
  long double wetModel = 0;
  saas.GetZenithDelay(zhd_, wetModel);
  niellModel_.SetAtmParams(g.lat, g.h);
  // The grid runs from the last node at or before `start` to the first node after `end`.
  const long double first = origin + std::floor((start - origin) / spacing) * spacing;
  const long n = static_cast<long>(std::ceil((end - first) / spacing)) + 2;
  // The random walks of the wandering troposphere, per node instead of per 300 s.
  const long double scale = std::sqrt(spacing / kStep);
  std::vector<long double> wet = Wander(n, rnd.Uniform(0.06L, 0.20L), 0.003L * scale, rnd);
  for (long double& w : wet) w = std::fabs(w);
  wet_ = SampledSeries(first, spacing, wet);
  north_ = SampledSeries(first, spacing,
                         Wander(n, rnd.Uniform(-0.0008L, 0.0008L), 0.00005L * scale, rnd));
  east_ = SampledSeries(first, spacing,
                        Wander(n, rnd.Uniform(-0.0008L, 0.0008L), 0.00005L * scale, rnd));
}

long double Troposphere::Wet(long double t) const {
  return wet_.Value(t);
}

void Troposphere::Gradients(long double t, long double& north, long double& east) const {
  north = north_.Value(t);
  east = east_.Value(t);
}

long double Troposphere::MapHydrostatic(long double e) {
  return ContinuedFraction(e, 1.2320e-3L, 3.1612e-3L, 7.1244e-2L);
}

long double Troposphere::MapWet(long double e) {
  return ContinuedFraction(e, 5.8021897e-4L, 1.4275268e-3L, 4.3472961e-2L);
}

long double Troposphere::MapGradient(long double e) {
  return 1.0L / (Sin(e) * std::tan(e) + 0.0032L);
}

long double Troposphere::Slant(long double t, long double e, long double az) const {
  if (!enabled_) return 0.0L;
  long double gn, ge, dry, wet;
  Gradients(t, gn, ge);
  Map(t, e, dry, wet);
  return zhd_ * dry + Wet(t) * wet + MapGradient(e) * (gn * Cos(az) + ge * Sin(az));
}

void Troposphere::Map(long double t, long double e, long double& dry, long double& wet) const {
  if (!niell_) {
    dry = MapHydrostatic(e);
    wet = MapWet(e);
    return;
  }
  gMF_Niell m = niellModel_;  // the model keeps intermediate values
  m.GetMappFunction(Mjd(t), height_, e, dry, wet);
}

}  // namespace sim
