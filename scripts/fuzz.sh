#!/usr/bin/env bash
# Fuzzes the readers and a whole run with libFuzzer (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer), in the build folder build-fuzz.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]   fuzz each target SECONDS (default 180) in turn
#   scripts/fuzz.sh --replay [TARGET...]    run each target once over its seeds and its
#                                           kept regression inputs (a few seconds; CI)
#   scripts/fuzz.sh --list                  names of the targets
#
# Seeds come from the bundled example, the test fixtures, fuzz/regressions and, when present,
# small cuts of ../shared/data. New interesting inputs collect in build-fuzz/corpus/TARGET;
# findings (crash-*, leak-*, timeout-*, oom-*) land in build-fuzz/findings/TARGET. Keep a
# fixed finding as fuzz/regressions/TARGET/NAME: the test binary replays it.
# FUZZ_JOBS=2 runs two targets at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${FUZZ_BUILD:-build-fuzz}
targets_all=(sdiff sp3 clock nav-gps nav-galileo nav-glonass glonass-channels problem-sats
  gpt2-grid vmf1-sites ionex klobuchar lustra-ion lustra-dcb dcb erp blq antex coordinates
  receivers rinex-obs whole-run)

mode=fuzz
seconds=180
case "${1:-}" in
  --replay) mode=replay; shift ;;
  --list) printf '%s\n' "${targets_all[@]}"; exit 0 ;;
  ''|*[!0-9]*) ;;
  *) seconds=$1; shift ;;
esac
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${targets_all[@]}")

if [ -z "${FUZZ_NO_BUILD:-}" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTERVAN_FUZZ=ON >/dev/null
  cmake --build "$build" --target $(printf 'fuzz-%s ' "${targets[@]}") -- -j2
fi

ex=examples/sim-10km
td=tests/data
shared=../shared/data

# First lines of a file (a header and some records).
cut_lines() { [ -f "$1" ] && head -n "$2" "$1" > "$3" || true; }
# The header of a single-difference file and its first n epochs.
cut_epochs() {
  awk -v n="$2" 'h { if (left == 0) { if (++e > n) exit; left = $1; print; next } left--; print; next }
    { print } /^END OF HEADER/ { h = 1 }' "$1" > "$3"
}
# The seeds of one target into folder $2.
seed() {
  local t=$1 d=$2
  mkdir -p "$d"
  case $t in
    sdiff) cut_epochs $ex/SIMB_SIMR.sd 3 "$d/sim.sd" ;;
    whole-run) cut_epochs $ex/SIMB_SIMR.sd 12 "$d/sim.sd" ;;
    sp3) cut_lines $ex/orbit.sp3 160 "$d/sim.sp3"
      cut_lines $shared/esbc-wtzr-2020177/COD0MGXFIN_20201770000_01D_05M_ORB.SP3 300 "$d/cod.sp3" ;;
    clock) cut_lines $ex/clock.clk 200 "$d/sim.clk"
      cut_lines $shared/esbc-wtzr-2020177/GRG0MGXFIN_20201770000_01D_30S_CLK.CLK 400 "$d/grg.clk" ;;
    nav-gps|klobuchar) cut_lines $ex/gps.nav 60 "$d/sim.nav"; cp $td/atmosphere/nav.12n "$d/"
      cut_lines $shared/esbc-wtzr-2020177/esbc1770.20n 80 "$d/esbc.20n"
      cut_lines $shared/geonet-0759-3040-2005092/07590920.05n 60 "$d/geonet.05n" ;;
    nav-galileo) cut_lines $ex/galileo.nav 60 "$d/sim.nav"
      cut_lines $shared/esbc-wtzr-2020177/ESBC00DNK_R_20201770000_01D_MN.rnx 200 "$d/mixed.rnx" ;;
    nav-glonass) cut_lines $ex/glonass.nav 60 "$d/sim.nav"
      cut_lines $shared/esbc-wtzr-2020177/esbc1770.20g 80 "$d/esbc.20g" ;;
    glonass-channels) cp $ex/glonass_channels.txt "$d/" ;;
    problem-sats) ;;
    gpt2-grid) cp $td/atmosphere/grid.grd "$d/"; cut_lines $shared/models/gpt2_5.grd 400 "$d/gpt2.grd" ;;
    vmf1-sites) cp $td/atmosphere/sites.vmf1 "$d/" ;;
    ionex) cp $td/atmosphere/maps.12i "$d/"; cut_lines $shared/models/gpsg0150.19i 300 "$d/gpsg.19i" ;;
    lustra-ion) cp $td/atmosphere/lustra.ion "$d/" ;;
    lustra-dcb) cp $td/station/lustra.dcb "$d/" ;;
    dcb) cp $td/station/monthly.dcb "$d/"; cut_lines $shared/models/P1C12011.DCB 60 "$d/p1c1.dcb" ;;
    erp) cp $td/station/small.erp "$d/"; cut_lines $shared/models/igs17127.erp 20 "$d/igs.erp" ;;
    blq) cp $td/station/ocean.blq "$d/"; cut_lines $shared/models/gnss.blq 80 "$d/gnss.blq" ;;
    antex) cp $td/station/small.atx "$d/"
      cut_lines $shared/geonet-0759-3040-2005092/igs05_gps_trm29659.atx 300 "$d/igs05.atx" ;;
    coordinates) cp $td/station/aprcrd.txt "$d/" ;;
    receivers) cp $td/station/rectrack.txt "$d/" ;;
    rinex-obs) cut_lines $ex/SIMB.rnx 120 "$d/sim.rnx"; gzip -9nc "$d/sim.rnx" > "$d/sim.rnx.gz"
      cut_lines $shared/crinex/flrs0010.12d 80 "$d/flrs.12d"
      cut_lines $shared/crinex/ACOR00ESP_R_20213550000_01D_30S_MO.crx 120 "$d/acor.crx"
      [ -f "$d/acor.crx" ] && gzip -9nc "$d/acor.crx" > "$d/acor.crx.gz"
      cut_lines $shared/crinex/DUTH0630.22O 120 "$d/duth.22o" ;;
  esac
  local own
  for own in fuzz/seeds/$t fuzz/regressions/$t; do
    if [ -d "$own" ]; then cp "$own"/* "$d/" 2>/dev/null || true; fi
  done
}

run_one() {
  local t=$1 seeds=$build/seeds/$t corpus=$build/corpus/$t findings=$build/findings/$t
  rm -rf "$seeds"
  seed "$t" "$seeds"
  mkdir -p "$corpus" "$findings"
  local exe=$build/fuzz/fuzz-$t
  if [ $mode = replay ]; then
    "$exe" -runs=0 -rss_limit_mb=4096 "$seeds" > "$build/replay-$t.log" 2>&1 ||
      { echo "fuzz-$t: replay FAILED (see $build/replay-$t.log)"; return 1; }
    echo "fuzz-$t: replayed $(ls "$seeds" | wc -l) inputs"
    return 0
  fi
  "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -max_len=65536 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$corpus" "$seeds" \
    > "$build/fuzz-$t.log" 2>&1 || true
  local execs
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$build/fuzz-$t.log" | grep -o '[0-9]*$' || echo '?')
  echo "fuzz-$t: ${seconds} s, ${execs} executions, corpus $(ls "$corpus" | wc -l), findings $(ls "$findings" | wc -l)"
}

status=0
jobs_max=${FUZZ_JOBS:-1}
for t in "${targets[@]}"; do
  if [ "$jobs_max" -gt 1 ] && [ $mode = fuzz ]; then
    while [ "$(jobs -rp | wc -l)" -ge "$jobs_max" ]; do wait -n || true; done
    run_one "$t" &
  else
    run_one "$t" || status=1
  fi
done
wait
# Every finding is a failure until it is fixed and kept as a regression input.
if [ $mode = fuzz ] && [ -n "$(find "$build/findings" -type f 2>/dev/null)" ]; then
  echo "Findings:"; find "$build/findings" -type f; status=1
fi
exit $status
