#!/usr/bin/env bash
# Builds Tervan and runs it on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVAN_BUILD_TESTS=OFF >/dev/null
cmake --build build-run --target tervan
# The processing pipeline is not complete yet: until it is, show the help text.
./build-run/tervan -help
