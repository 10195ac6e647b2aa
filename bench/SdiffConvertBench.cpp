// Conversion speed of tervan-sdiff: a published day at 30 s of GPS, GLONASS and
// Galileo (Hatanaka- and gzip-compressed) taken as BASE and ROVER, with the mixed
// navigation file of the day, so that both stations are point-positioned at every
// epoch. Skipped when the public data are not beside the repository.
#ifdef TERVAN_HAVE_SDIFF
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>

#include "sdiff/Tool.h"

namespace {

void BM_ConvertDayPair(benchmark::State& state) {
  const std::string dir = std::string(TERVAN_SHARED_DATA) + "/esbc-wtzr-2020177/";
  const std::string obs = dir + "ESBC00DNK_R_20201770000_01D_30S_MO.crx.gz";
  const std::string nav = dir + "ESBC00DNK_R_20201770000_01D_MN.rnx";
  if (!std::filesystem::exists(obs) || !std::filesystem::exists(nav)) {
    state.SkipWithError("the public data are absent");
    return;
  }
  char tmpl[] = "/tmp/tervan-sdiff-bench-XXXXXX";
  const std::string out = std::string(mkdtemp(tmpl) ? tmpl : "/tmp") + "/day.sd";
  for (auto _ : state) {
    std::ostringstream summary;
    std::streambuf* old = std::cout.rdbuf(summary.rdbuf());
    SdRun({"--base", obs, "--rover", obs, "--nav", nav, "--out", out, "--quiet"});
    std::cout.rdbuf(old);
  }
  std::filesystem::remove_all(std::filesystem::path(out).parent_path());
}
BENCHMARK(BM_ConvertDayPair)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
#endif
