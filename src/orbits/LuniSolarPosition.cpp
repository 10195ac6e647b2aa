#include "orbits/LuniSolarPosition.h"

#include <cmath>

#include "gnss/TimeConverse.h"

namespace {
const long double kPi = 3.141592653589793L;
const long double kDeg = kPi / 180.0L;
}  // namespace

long double LuniSolarPosition::Reduce(long double a) const {
  a = std::fmod(a, twopi);
  if (a < 0) a += twopi;
  return a;
}

long double LuniSolarPosition::Centuries(const mjd& t) const {
  mjd tt = t;
  const long double gpsutc = LeapSecond(tt);
  return (t.GetMJDay() + 2400000.5L - 2451545.0L + t.GetSecond() / 86400.0L - gpsutc / 86400.0L) /
         36525.0L;
}

long double LuniSolarPosition::GSTime(const mjd& t) const {
  const long double T = Centuries(t);
  const long double sec =
      67310.54841L + 3164400184.812866L * T + 0.093104L * T * T - 6.2e-6L * T * T * T;
  return Reduce(sec * kDeg / 240.0L);
}

long double LuniSolarPosition::LSTime(const mjd& t, const flh& position) const {
  return Reduce(GSTime(t) + position.GetL());
}

xyz LuniSolarPosition::ToEarthFixed(const mjd& t, long double cx, long double cy,
                                    long double cz) const {
  xyz v(cx, cy, cz);
  return v.RotateZ(-GSTime(t));
}

void LuniSolarPosition::SunPosition(const mjd& t, xyz& unit, long double& distance) const {
  const long double T = Centuries(t);
  const long double lambdaM = std::fmod(280.4606184L + 36000.77005361L * T, 360.0L);
  const long double M = Reduce((357.5277233L + 35999.05034L * T) * kDeg);
  const long double lambda =
      (lambdaM + 1.914666471L * std::sin(M) + 0.019994643L * std::sin(2.0L * M)) * kDeg;
  const long double eps = (23.439291L - 0.0130042L * T) * kDeg;
  distance = (1.000140612L - 0.016708617L * std::cos(M) - 0.000139589L * std::cos(2.0L * M)) * AU *
             1000.0L;
  unit = ToEarthFixed(t, std::cos(lambda), std::cos(eps) * std::sin(lambda),
                      std::sin(eps) * std::sin(lambda));
}

void LuniSolarPosition::MoonPosition(const mjd& t, xyz& unit, long double& distance) const {
  const long double T = Centuries(t);
  auto s = [](long double deg) { return std::sin(deg * kDeg); };
  auto c = [](long double deg) { return std::cos(deg * kDeg); };
  const long double lambda =
      Reduce((218.32L + 481267.8813L * T + 6.29L * s(134.9L + 477198.85L * T) -
              1.27L * s(259.2L - 413335.38L * T) + 0.66L * s(235.7L + 890534.23L * T) +
              0.21L * s(269.9L + 954397.70L * T) - 0.19L * s(357.5L + 35999.05L * T) -
              0.11L * s(186.6L + 966404.05L * T)) *
             kDeg);
  const long double beta =
      Reduce((5.13L * s(93.3L + 483202.03L * T) + 0.28L * s(228.2L + 960400.87L * T) -
              0.28L * s(318.3L + 6003.18L * T) - 0.17L * s(217.6L - 407332.20L * T)) *
             kDeg);
  const long double parallax = Reduce(
      (0.9508L + 0.0518L * c(134.9L + 477198.85L * T) + 0.0095L * c(259.2L - 413335.38L * T) +
       0.0078L * c(235.7L + 890534.23L * T) + 0.0028L * c(269.9L + 954397.70L * T)) *
      kDeg);
  const long double eps = (23.439291L - 0.0130042L * T) * kDeg;
  distance = RE / std::sin(parallax) * 1000.0L;
  const long double cb = std::cos(beta), sb = std::sin(beta);
  const long double cl = std::cos(lambda), sl = std::sin(lambda);
  unit = ToEarthFixed(t, cb * cl, std::cos(eps) * cb * sl - std::sin(eps) * sb,
                      std::sin(eps) * cb * sl + std::cos(eps) * sb);
}
