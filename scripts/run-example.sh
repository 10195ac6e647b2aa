#!/usr/bin/env bash
# Builds Tervan and runs it on the bundled example; with gnuplot installed it also draws the
# run's pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVAN_BUILD_TESTS=OFF >/dev/null
cmake --build build-run --target tervan tervan-res2txt
# The result files and pictures go to build-run/example, not into the example's folder.
out=$PWD/build-run/example
mkdir -p "$out"
results=(-gpk"$out"/KIN.txt -fp"$out"/RES.bin -sp"$out"/SKY.txt -ot"$out"/TROP.txt
  -oT"$out"/TROPEP.txt -cf"$out"/CLK.txt)
# The bundled example (examples/sim-10km, written by tervan-sim), processed with the
# command line its README gives; the report goes to standard output.
cd examples/sim-10km
../../build-run/tervan -rSIMB_SIMR.sd -eporbit.sp3 -ecclock.clk -gfglonass_channels.txt -csGRE \
  -lPc3,L3 -tmSAAST,NIELL -ti02:00:00ROVER -me10 -pcosz -xSTA,KIN -v "${results[@]}"
if command -v gnuplot >/dev/null 2>&1; then
  echo "Pictures of the run:" >&2
  TERVAN_RES2TXT=../../build-run/tools/tervan-res2txt \
    bash ../../scripts/tervan-plot --out-dir "$out/plots" "${results[@]}" >&2
else
  echo "gnuplot is not installed: no pictures (bash scripts/deps.sh plot installs it)" >&2
fi
