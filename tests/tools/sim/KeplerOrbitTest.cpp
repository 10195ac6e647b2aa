#include <gtest/gtest.h>

#include "sim/Constants.h"
#include "sim/KeplerOrbit.h"
#include "sim/Time.h"

namespace sim {
namespace {

KeplerElements Sample(long double epoch) {
  KeplerElements el;
  el.sqrtA = 5153.6L;
  el.e = 0.01L;
  el.i0 = 55 * kDeg;
  el.omega0 = 1.2L;
  el.w = -0.7L;
  el.m0 = 0.4L;
  el.deltaN = 4.5e-9L;
  el.omegaDot = -8e-9L;
  el.iDot = 2e-10L;
  el.crs = 40;
  el.crc = 220;
  el.cuc = 3e-6L;
  el.cus = -2e-6L;
  el.cic = 5e-8L;
  el.cis = -6e-8L;
  el.epoch = epoch;
  el.toe = SecondsOfWeek(epoch);
  return el;
}

TEST(KeplerOrbit, RecordsOfOtherEpochsDescribeTheSameOrbit) {
  Calendar c;
  c.year = 2026;
  c.month = 6;
  c.day = 20;  // Saturday: the records below cross into the next GPS week
  c.hour = 20;
  const long double t0 = ToSeconds(c);
  const KeplerOrbit orbit(Sample(t0));
  for (long double rec : {t0 + 7200.0L, t0 + 4 * 3600.0L, t0 + 6 * 3600.0L, t0 - 7200.0L}) {
    const KeplerElements el = orbit.ElementsAt(rec);
    for (long double dt : {-3600.0L, 0.0L, 1234.5L, 3600.0L}) {
      const Vec3 a = orbit.Position(rec + dt);
      const Vec3 b = KeplerOrbit::Position(el, rec + dt);
      EXPECT_LT(Norm(a - b), 1e-6L)
          << "record " << static_cast<double>(rec - t0) << " dt " << static_cast<double>(dt);
    }
  }
}

TEST(KeplerOrbit, PositionAndVelocityArePlausible) {
  const KeplerOrbit orbit(Sample(0));
  const Vec3 p = orbit.Position(1000), v = orbit.Velocity(1000);
  EXPECT_NEAR(static_cast<double>(Norm(p)), 26.56e6, 0.4e6);
  // Earth-fixed speed of a GPS satellite lies between 2.5 and 4.5 km/s.
  EXPECT_GT(Norm(v), 2.5e3L);
  EXPECT_LT(Norm(v), 4.5e3L);
  const Vec3 ahead = orbit.Position(1000.5L), behind = orbit.Position(999.5L);
  EXPECT_LT(Norm((ahead - behind) - v), 1e-4L);
}

}  // namespace
}  // namespace sim
