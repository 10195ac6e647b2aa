#!/usr/bin/env bash
# Builds Tervan and runs it on the bundled example.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVAN_BUILD_TESTS=OFF >/dev/null
cmake --build build-run --target tervan
# The bundled example (examples/sim-10km, written by tervan-sim), processed with the
# command line its README gives; the report goes to standard output.
cd examples/sim-10km
../../build-run/tervan -rSIMB_SIMR.sd -eporbit.sp3 -ecclock.clk -gfglonass_channels.txt -csGRE \
  -lPc3,L3 -tmSAAST,NIELL -ti02:00:00ROVER -me10 -pcosz -xSTA,KIN -v
