// The troposphere on nodes must be the one Tervan models and estimates: the program's
// Saastamoinen and Niell values, and a wet delay and gradients linear between nodes.
#include <gtest/gtest.h>

#include <cmath>

#include "atmosphere/gTropModel.h"
#include "gnss/flh.h"
#include "gnss/mjd.h"
#include "sim/Constants.h"
#include "sim/Random.h"
#include "sim/Time.h"
#include "sim/Troposphere.h"

namespace sim {
namespace {

constexpr long double kDay = 86400.0L * 9660;  // a midnight (GPS time) in June 2006

class NodeTroposphere : public ::testing::Test {
 protected:
  Geodetic g{46.0448L * kDeg, 14.5435L * kDeg, 350.0L};
  Random rnd{7};
  // Nodes every 1800 s from midnight; data from 08:10 to 10:05.
  Troposphere tropo{g, kDay + 29400, kDay + 36300, kDay, 1800, rnd};
};

TEST_F(NodeTroposphere, SlantDelayIsTheProgramsSaastamoinenAndNiellModel) {
  gTropModel model;
  model.SetTropModel(gTMns::SAASTAMOINEN);
  model.SetMappFunction(gTMns::NIELL);
  const flh pos(g.lat, g.lon, g.h);
  const long double t = kDay + 30000;
  const mjd when(Mjd(t), SecondsOfDay(t));
  gTropDelay d;
  model.SetAtmParams(pos);
  model.GetZenithDelay(d, pos, when);
  EXPECT_NEAR(tropo.Hydrostatic(), d.ZenithDelayDry(), 1e-12L);
  for (long double e : {8.0L, 25.0L, 70.0L}) {
    model.GetMappFunction(d, pos, when, e * kDeg);
    long double gn, ge;
    tropo.Gradients(t, gn, ge);
    const long double grad = Troposphere::MapGradient(e * kDeg) * (gn * Cos(1.0L) + ge * Sin(1.0L));
    EXPECT_NEAR(tropo.Slant(t, e * kDeg, 1.0L), d.DelayDry() + tropo.Wet(t) * d.MappFunWet() + grad,
                1e-12L)
        << e;
  }
}

TEST_F(NodeTroposphere, WetDelayAndGradientsAreLinearBetweenNodes) {
  for (long double node = kDay + 27000; node <= kDay + 34200; node += 1800) {
    long double n0, e0, n1, e1, nm, em;
    tropo.Gradients(node, n0, e0);
    tropo.Gradients(node + 1800, n1, e1);
    tropo.Gradients(node + 600, nm, em);
    const long double w0 = tropo.Wet(node), w1 = tropo.Wet(node + 1800);
    EXPECT_NEAR(tropo.Wet(node + 600), (2 * w0 + w1) / 3, 1e-15L);
    EXPECT_NEAR(nm, (2 * n0 + n1) / 3, 1e-15L);
    EXPECT_NEAR(em, (2 * e0 + e1) / 3, 1e-15L);
  }
  // Successive nodes differ (the delay moves), and the slope changes only at nodes.
  EXPECT_NE(tropo.Wet(kDay + 30600), tropo.Wet(kDay + 32400));
}

}  // namespace
}  // namespace sim
