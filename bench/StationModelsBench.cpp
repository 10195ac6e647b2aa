// Speed of the station displacement models, called once per station and epoch
// by the preprocessing.
#include <benchmark/benchmark.h>

#include <string>

#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "gnss/xyz.h"
#include "orbits/LuniSolarPosition.h"
#include "station/OceanTideLoading.h"
#include "station/SolidEarthTide.h"

namespace {

void OceanLoadingPerEpoch(benchmark::State& state) {
  // The Onsala block of the published ocean-loading test case, as the tests use it.
  const std::string path = std::string(TERVAN_TEST_DATA) + "/station/ocean.blq";
  OceanTideLoading otl;
  otl.SetFile(path.c_str());
  otl.ReadFile();
  otl.SetStation("ONSALA");
  long double s = 0;
  for (auto _ : state) {
    neu d;
    otl.GetDisplacement(mjd(55007, s), d);
    benchmark::DoNotOptimize(d);
    s = s < 86000 ? s + 30 : 0;
  }
}
BENCHMARK(OceanLoadingPerEpoch);

void SolidTidePerEpoch(benchmark::State& state) {
  const LuniSolarPosition lsp;
  SolidEarthTide set;
  const xyz sta(4075578.385L, 931852.890L, 4801570.154L);
  set.SetStaPosition((1.0L / sta.GetLength()) * sta, sta.GetLength());
  long double s = 0;
  for (auto _ : state) {
    const mjd t(54934, s);
    xyz u;
    long double r;
    lsp.SunPosition(t, u, r);
    set.SetSunPosition(u, r);
    lsp.MoonPosition(t, u, r);
    set.SetMoonPosition(u, r);
    xyz d;
    set.GetDisplacement(t, d);
    benchmark::DoNotOptimize(d);
    s = s < 86000 ? s + 30 : 0;
  }
}
BENCHMARK(SolidTidePerEpoch);

}  // namespace
