// Reading speed of the single-difference reader: a file of 24 hours at 1 s with
// 30 satellites of three systems and 7 observation types (about 2.6 million
// records) is written once, then read whole by PhsDiff::ReadFile.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "sdiff/PhsDiff.h"

namespace {

const long kEpochs = 86400;  // 24 h at 1 s
const long kChunk = 3600;    // epochs written at once
const short kSats[30] = {1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  101, 102, 103, 104, 105,
                         106, 107, 108, 109, 110, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210};
const short kTypes[7] = {sdobs::C1, sdobs::P1, sdobs::P2, sdobs::L1,
                         sdobs::L2, sdobs::C7, sdobs::L7};

// Fills one chunk of epochs with smoothly changing values of realistic size.
void FillChunk(PhsDiffData& d, long firstEpoch) {
  d.SetNRecords(kChunk, kChunk * 30);
  d.SetData();
  for (long e = 0; e < kChunk; ++e) {
    long t = firstEpoch + e;
    d.epoch(e) = mjd(59000, static_cast<long double>(t));
    d.nsat(e) = 30;
    d.dtR_B(e) = d.clkErB(e) = d.clkErR(e) = 1e-7L * (t % 1000);
    for (long i = 0; i < 30; ++i) {
      long r = e * 30 + i;
      long double rho = 2.0e7L + 1.0e5L * i + 0.8L * t + 0.0001L * ((t * 7919 + i) % 10000);
      d.sat(r) = kSats[i];
      d.C1(r) = rho;
      d.P1(r) = rho + 0.3L;
      d.P2(r) = rho + 1.7L;
      d.C7(r) = rho + 1.2L;
      d.L1(r) = rho / 0.19029367279836488L;
      d.L2(r) = rho / 0.24421021342456826L;
      d.L7(r) = rho / 0.24834936958430671L;
    }
  }
}

std::string path;  // the benchmark file, once written

const std::string& SdiffFile() {
  if (!path.empty()) return path;
  path = "/tmp/tervan_bench_" + std::to_string(::getpid()) + ".sdf";
  std::ofstream os(path, std::ios::binary);
  PhsDiffHeader h;
  matrix<short> codes(7, 1);
  for (long k = 0; k < 7; ++k) codes(k) = kTypes[k];
  h.SetObsTypes(codes);
  h.SetHasObservations(true);
  h.SetMarkerName(0, "BASE");
  h.SetMarkerName(1, "ROVER");
  os << h;
  for (long first = 0; first < kEpochs; first += kChunk) {
    PhsDiffData d(h);
    FillChunk(d, first);
    os << d;
  }
  return path;
}

long FileSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return static_cast<long>(in.tellg());
}

void BM_ReadSdiffFile(benchmark::State& state) {
  const std::string& path = SdiffFile();
  const long size = FileSize(path);
  long records = 0;
  for (auto _ : state) {
    PhsDiffHeader h;
    PhsDiffData d(h);
    PhsDiff sd(h, d);
    sd.SetFile(path.c_str());
    sd.ReadFile();
    records = d.GetNObs();
    benchmark::DoNotOptimize(d.L7(records - 1));
  }
  state.SetBytesProcessed(static_cast<int64_t>(size) * state.iterations());
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(size) / 1e6 * state.iterations(),
                                              benchmark::Counter::kIsRate);
  state.counters["records"] = static_cast<double>(records);
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
  struct rusage ru;
  getrusage(RUSAGE_SELF, &ru);
  state.counters["peak_RSS_MB"] = static_cast<double>(ru.ru_maxrss) / 1024.0;
}

BENCHMARK(BM_ReadSdiffFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// Removes the file when the benchmark program ends.
struct Cleanup {
  ~Cleanup() {
    if (!path.empty()) std::remove(path.c_str());
  }
} cleanup;

}  // namespace
