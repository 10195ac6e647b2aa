// Speed of the satellite position with the light-time solution, as the static
// solution asks for it at every observation of both stations in every iteration.
// The "allocs" counter must stay 0: no allocation per call.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "../tests/orbits/OrbitFixtures.h"
#include "orbits/GLNbEph.h"
#include "orbits/GNSSpEph.h"
#include "orbits/GPSbEph.h"

namespace {
long allocations = 0;
}  // namespace

// Every allocation of the process is counted.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
  ++allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

// An input file in the temporary folder, removed at the end of the benchmark.
class TempFile {
 public:
  TempFile(const std::string& stem, const std::string& text)
      : path_((std::filesystem::temp_directory_path() / (stem + "-" + std::to_string(getpid())))
                  .string()) {
    std::ofstream(path_) << text;
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const char* Path() const { return path_.c_str(); }

 private:
  std::string path_;
};

const xyz kReceiver(4075580.0L, 931854.0L, 4801568.0L);

// Epochs spread over the first two hours of 2020-05-31 (MJD 59000), within the
// validity of the broadcast record of 00:00.
mjd Epoch(long i) {
  return mjd(59000, 300.0L + (i % 6600) * 1.0L);
}

// Calls call(eph, satellite, epoch) for G05, R05 and E11 in turn over the epochs
// of Epoch, with the orbit of orbitfixture::Sp3.
template <class Call>
void PreciseRun(benchmark::State& state, Call call) {
  const TempFile file("tervan-bench-orbit.sp3", orbitfixture::Sp3());
  GNSSpEph eph;
  eph.SetFile(file.Path());
  eph.ReadFile();
  long i = 0;
  const long before = allocations;
  for (auto _ : state) {
    const short sat = (i % 3 == 0) ? 5 : (i % 3 == 1 ? 105 : 211);
    call(eph, sat, Epoch(i));
    ++i;
  }
  state.counters["allocs"] = static_cast<double>(allocations - before);
  state.SetItemsProcessed(state.iterations());
}

void PreciseLightTime(benchmark::State& state) {
  xyzt pos, vel;
  PreciseRun(state, [&](GNSSpEph& eph, short sat, const mjd& t) {
    benchmark::DoNotOptimize(eph.CalcSatPosition(sat, t, kReceiver, pos, vel));
  });
}
BENCHMARK(PreciseLightTime);

// Position, velocity and clock at an epoch without the light time, as the
// converter asks for them at every reception epoch.
void PreciseState(benchmark::State& state) {
  xyzt pos, vel;
  PreciseRun(state, [&](GNSSpEph& eph, short sat, const mjd& t) {
    eph.CalcSatPosition(sat, t, pos, vel);
    benchmark::DoNotOptimize(pos);
  });
}
BENCHMARK(PreciseState);

void BroadcastGpsLightTime(benchmark::State& state) {
  const TempFile file("tervan-bench-nav.n", orbitfixture::GpsNav());
  GPSbEph nav;
  nav.SetFile(file.Path());
  nav.ReadFile();
  xyzt pos;
  long double tgd;
  long i = 0;
  const long before = allocations;
  for (auto _ : state) {
    const mjd t = Epoch(i++);
    benchmark::DoNotOptimize(nav.CalcSatPosition(5, t, t, kReceiver, pos, &tgd, 0, 0));
  }
  state.counters["allocs"] = static_cast<double>(allocations - before);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BroadcastGpsLightTime);

void BroadcastGlonassLightTime(benchmark::State& state) {
  const TempFile file("tervan-bench-nav.g", orbitfixture::GlonassNav());
  GLNbEph nav;
  nav.SetFile(file.Path());
  nav.ReadFile();
  xyzt pos, vel;
  long i = 0;
  const long before = allocations;
  for (auto _ : state) {
    // Within the quarter of an hour around the record (00:15 UTC).
    const mjd t(59000, 918.0L + (i++ % 900) - 450.0L);
    benchmark::DoNotOptimize(nav.CalcSatPosition(5, t, t, kReceiver, pos, vel, 0));
  }
  state.counters["allocs"] = static_cast<double>(allocations - before);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BroadcastGlonassLightTime);

}  // namespace
