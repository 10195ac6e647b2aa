// Simulated scenarios through the whole chain (RINEX files and products of the
// simulator, tervan-sdiff, tervan): the baseline comes back to 0.1 mm from noise-free
// data and within 3 formal sigmas from noisy data, whose a-posteriori sigmas match the
// simulated noise. Each scenario combines several effects so that the suite stays short.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/ChainRun.h"

namespace {

using e2e::ChainRun;
using e2e::Orbits;

// The words of a command line.
std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  std::string w;
  while (in >> w) words.push_back(w);
  return words;
}

// The simulator's noise model that Tervan's elevation weights describe exactly: the
// single difference of an observation seen at the zenith of both stations has the
// variance 2 sigma^2 (sigma 2 mm for phases and 0.3 m for codes by default).
const std::string kSineNoise = " --noise-model sin";
const long double kPhaseSigma = std::sqrt(2.0L) * 0.002L, kCodeSigma = std::sqrt(2.0L) * 0.3L;

// Ionosphere-free phase (and code) multiplies the noise of one carrier by about 3
// (2.98 for GPS and GLONASS, 2.81 for Galileo E1/E5b).
constexpr long double kL3Factor = 2.9L;

class EndToEnd : public ::testing::Test {
 protected:
  // Simulates from 08:00 GPS time with the simulator options, converts and processes
  // with the tervan options (the orbit and channel options are added).
  void Run(const std::string& simArgs, Orbits orbits, const std::string& tervanArgs) {
    std::vector<std::string> sim = Words(simArgs);
    sim.insert(sim.end(), {"--start", "2026-06-15 08:00:00"});
    ASSERT_TRUE(run.Run(sim, orbits, Words(tervanArgs))) << run.Why();
    std::cout << "[ e2e      ] " << ::testing::UnitTest::GetInstance()->current_test_info()->name()
              << ": " << run.Summary() << "\n";
  }
  void ExpectBaselineWithin(long double bound) const {
    for (int k = 0; k < 3; ++k) EXPECT_LT(std::fabs(run.Error(k)), bound) << k << "\n" << Tail();
  }
  void ExpectBaselineWithinSigmas(long double n) const {
    for (int k = 0; k < 3; ++k) {
      EXPECT_GT(run.Baseline(k).sigma, 0.0L) << k;
      EXPECT_LT(std::fabs(run.Error(k)), n * run.Baseline(k).sigma) << k << "\n" << Tail();
    }
  }
  // Noise-free data still carry the rounding of the RINEX files (0.001 cycles, 1 mm),
  // which the ionosphere-free combination triples: 0.1 mm, or 3 formal sigmas where
  // these exceed it.
  void ExpectBaselineNoiseFree() const {
    for (int k = 0; k < 3; ++k)
      EXPECT_LT(std::fabs(run.Error(k)), std::fmax(1e-4L, 3 * run.Baseline(k).sigma)) << k << "\n"
                                                                                      << Tail();
  }
  // Between-receiver differences cancel the satellites' code biases, so the estimates
  // are zero within their precision: their root mean square in sigmas is near 1 and
  // none exceeds 5 sigmas (noise-free: none exceeds `floor` metres).
  void ExpectCodeBiasesZero(long double floor = 0) const {
    const std::vector<e2e::Component> biases = run.CodeBiases("DCB.txt");
    ASSERT_GT(biases.size(), 10u);
    long double squares = 0;
    for (const e2e::Component& b : biases) {
      EXPECT_LT(std::fabs(b.estimate), std::fmax(5 * b.sigma, floor)) << b.sigma;
      if (b.sigma > 0) squares += (b.estimate / b.sigma) * (b.estimate / b.sigma);
    }
    if (floor > 0) return;
    const long double rms = std::sqrt(squares / biases.size());
    EXPECT_GT(rms, 0.5L);
    EXPECT_LT(rms, 1.5L);
  }
  // The a-posteriori sigma of the type lies within 15 % of the simulated one.
  void ExpectTypeSigma(const std::string& type, long double simulated) const {
    EXPECT_NEAR(run.TypeSigma(type), simulated, 0.15L * simulated) << type << "\n" << Tail();
  }
  std::string Tail() const {
    const std::string& r = run.Report();
    return r.substr(r.size() > 6000 ? r.size() - 6000 : 0);
  }

  ChainRun run;
};

// The models of the station effects the simulator adds with --tides --antennas --wind-up.
const std::string kStationModels =
    " -st -eoearth_rotation.erp -bqocean_loading.blq -pvantenna.atx -wu -cc";

// Every station and satellite effect at once on 1 km, noise-free: solid earth tide,
// pole tide and ocean loading, antennas of different types at the two stations with
// satellite antenna offsets, phase wind-up, eclipsing satellites, code biases, a ROVER
// zenith delay with gradients. L1 and L2 cannot remove the ionosphere, whose difference
// over 1 km (0.6 mm in the baseline at 25 TECU) is left out here; the scenarios with
// noise keep it.
TEST_F(EndToEnd, ShortBaselineWithEveryStationEffectNoiseFree) {
  Run("--baseline 1 --duration 2h --noise-free --no-ionosphere --tropo-nodes 3600 --tides "
      "--antennas --wind-up",
      Orbits::kPrecise,
      "-lC1,P2,L1,L2 -cxGPS,GLN,GAL -tmSAAST,NIELL -ti01:00:00ROVER -tgi0ROVER -me10 -pcosz "
      "-xSTA -odDCB.txt" +
          kStationModels);
  ExpectBaselineWithin(1e-4L);
  EXPECT_LT(run.TypeSigma("L1"), 3e-4L);
  EXPECT_LT(run.TypeSigma("L2"), 3e-4L);
  EXPECT_LT(run.TypeSigma("C1"), 3e-3L);
  ExpectCodeBiasesZero(0.005L);
  EXPECT_FALSE(run.EclipsingTruth().empty());
  EXPECT_EQ(run.EclipsingFound(), run.EclipsingTruth());
}

// Three systems with noise on 1 km: the ionosphere stays in L1 and L2. The simulator
// gives each station a troposphere of its own (wet delays centimetres apart and
// independent gradients even on 1 km), so the ROVER zenith delay and gradients are
// estimated; without the gradients the baseline lands 4 to 7 sigmas off.
TEST_F(EndToEnd, ShortBaselineThreeSystemsWithNoiseAndIonosphere) {
  Run("--baseline 1 --duration 2h --tropo-nodes 3600 --tides --antennas --wind-up" + kSineNoise,
      Orbits::kPrecise,
      "-lC1,P2,L1,L2 -tmSAAST,NIELL -ti01:00:00ROVER -tgi0ROVER -me10 -pcosz -xSTA" +
          kStationModels);
  ExpectBaselineWithinSigmas(3);
  ExpectTypeSigma("L1", kPhaseSigma);
  ExpectTypeSigma("L2", kPhaseSigma);
  ExpectTypeSigma("C1", kCodeSigma);
  ExpectTypeSigma("P2", kCodeSigma);
}

// GPS alone at 1 s for 25 minutes on 1 km from the broadcast orbits, with the
// ionosphere in L1 and L2, slips, a gap, code outliers and millisecond clock jumps;
// without troposphere, so that the baseline is not blurred by zenith delays estimated
// from 25 minutes. The arc search at 1 s still splits the low arcs of this noise
// (7680 phases left out, 9 ambiguities where the noise-free data give 11), which
// costs precision only.
TEST_F(EndToEnd, ShortGpsOnlyAtOneSecondWithIonosphereAndDataFaults) {
  Run("--baseline 1 --duration 25m --interval 1 --systems G --no-troposphere --random-slips 3 "
      "--random-gaps 1 --random-outliers 2 --ms-jumps" +
          kSineNoise,
      Orbits::kBroadcast, "-lC1,P2,L1,L2 -me10 -pcosz -bt3.5 -xSTA");
  ExpectBaselineWithinSigmas(3);
  ExpectTypeSigma("L1", kPhaseSigma);
  ExpectTypeSigma("L2", kPhaseSigma);
  ExpectTypeSigma("C1", kCodeSigma);
  ExpectTypeSigma("P2", kCodeSigma);
  EXPECT_GE(run.Value("# of OUTLIERS"), run.Events("outlier"));
}

// 300 km of three systems from the broadcast orbits, noise-free: ionosphere-free code
// and phase, zenith delays and gradients at both stations, tides, loading, antennas
// and wind-up.
TEST_F(EndToEnd, LongBaselineFromBroadcastOrbitsNoiseFree) {
  Run("--baseline 300 --duration 2h --noise-free --tropo-nodes 3600 --tides --antennas --wind-up",
      Orbits::kBroadcast,
      "-lPc3,L3 -tmSAAST,NIELL -ti01:00:00BASE,ROVER -tgi0BASE,ROVER -me10 -pcosz -xSTA" +
          kStationModels);
  ExpectBaselineNoiseFree();
  EXPECT_LT(run.TypeSigma("L3"), 5e-4L);
}

// 300 km of three systems from the precise products with noise and everything a long
// baseline meets: ionosphere removed by L3, zenith delays and gradients at both
// stations, code biases, tides, loading, antennas, wind-up, eclipsing satellites,
// slips, gaps, code outliers and millisecond clock jumps. (With seed 1 the simulated
// C1 and P2 noise of G21 averages -0.27 and +0.26 m over its pass, a Pc3 mean 4 sigmas
// off zero, which its estimated code bias rightly reproduces.)
TEST_F(EndToEnd, LongBaselineWithNoiseCodeBiasesAndDataFaults) {
  Run("--seed 2 --baseline 300 --duration 2h --tropo-nodes 3600 --tides --antennas --wind-up "
      "--random-slips 4 --random-gaps 2 --random-outliers 3 --ms-jumps" +
          kSineNoise,
      Orbits::kPrecise,
      "-lPc3,L3 -cxGPS,GLN,GAL -tmSAAST,NIELL -ti01:00:00BASE,ROVER -tgi0BASE,ROVER -me10 "
      "-pcosz -bt3.5 -xSTA -odDCB.txt" +
          kStationModels);
  ExpectBaselineWithinSigmas(3);
  ExpectTypeSigma("L3", kL3Factor * kPhaseSigma);
  ExpectTypeSigma("Pc3", kL3Factor * kCodeSigma);
  ExpectCodeBiasesZero();
  EXPECT_EQ(run.EclipsingFound(), run.EclipsingTruth());
  EXPECT_GE(run.Value("# of OUTLIERS"), run.Events("outlier"));
}

}  // namespace
