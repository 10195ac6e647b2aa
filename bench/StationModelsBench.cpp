// Speed of the station displacement models, called once per station and epoch
// by the preprocessing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "gnss/mjd.h"
#include "gnss/neu.h"
#include "gnss/xyz.h"
#include "orbits/LuniSolarPosition.h"
#include "station/OceanTideLoading.h"
#include "station/SolidEarthTide.h"

namespace {

const char* kBlq =
    "$$ END HEADER\n"
    "$$\n"
    "  ONSALA\n"
    "$$\n"
    "$$\n"
    "$$ Onsala,                              lon/lat:   11.9264   57.3958    0.00\n"
    "  .00352 .00123 .00080 .00032 .00187 .00112 .00063 .00003 .00082 .00044 .00037\n"
    "  .00144 .00035 .00035 .00008 .00053 .00049 .00018 .00009 .00012 .00005 .00006\n"
    "  .00086 .00023 .00023 .00006 .00029 .00028 .00010 .00007 .00004 .00002 .00001\n"
    "   -64.7  -52.0  -96.2  -55.2  -58.8 -151.4  -65.6 -138.1    8.4    5.2    2.1\n"
    "    85.5  114.5   56.5  113.6   99.4   19.1   94.1  -10.4 -167.4 -170.0 -177.7\n"
    "   109.5  147.0   92.7  148.8   50.5  -55.1   36.4 -170.4  -15.0    2.3    5.2\n";

void OceanLoadingPerEpoch(benchmark::State& state) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "tervan_bench_ocean.blq").string();
  std::ofstream(path) << kBlq;
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
  std::remove(path.c_str());
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
