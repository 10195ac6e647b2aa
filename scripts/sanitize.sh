#!/usr/bin/env bash
# Builds Tervan, its tools, the tests and the fuzz targets with clang under AddressSanitizer
# and UndefinedBehaviorSanitizer (build folder build-asan), runs the tests (without the long
# statistical and end-to-end suites) and replays every fuzz target's seeds and kept inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test sanitize
build=build-asan
CC=clang CXX=clang++ cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTERVAN_FUZZ=ON >/dev/null
cmake --build $build -- -j2
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Long suites left out (each took 15 s to 75 s under the sanitizers): whole-chain truth
# runs, noise statistics, end-to-end runs of the tools and the real-data runs.
long='EstimationTruth|EstimationNoise|PreprocessTruth|ProcStaticTruth|EndToEnd|SdRealData'
long+='|SdSimRoundTrip|SdPairingChain|OrbitRealData|BaselineScript|TervanRunResults|ArcSimulation'
long+='|SimLongRuns'
status=0
# Two test processes at a time, as ctest runs them.
(cd $build && ctest -j 2 --output-on-failure -E "^($long)\." >ctest-sanitize.log 2>&1) ||
  { tail -n 40 $build/ctest-sanitize.log; status=1; }
tail -n 3 $build/ctest-sanitize.log
FUZZ_BUILD=$build FUZZ_NO_BUILD=1 bash scripts/fuzz.sh --replay || status=1
exit $status
