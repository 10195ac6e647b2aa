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
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Long suites left out: whole-chain truth runs, measurements and end-to-end runs of the tools.
long='EstimationTruth*:*Statistic*:*EndToEnd*:*E2E*:*OneOff*'
status=0
$build/tests/tervan_tests --gtest_filter="-$long" --gtest_brief=1 || status=1
FUZZ_BUILD=$build FUZZ_NO_BUILD=1 bash scripts/fuzz.sh --replay || status=1
exit $status
