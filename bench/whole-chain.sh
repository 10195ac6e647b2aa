#!/usr/bin/env bash
# whole-chain.sh: time and memory of the whole chain on simulated days, run by hand (not by CI).
#
# For each sampling interval (30 s and 1 s) and baseline (10 km and 500 km) it simulates a day of
# GPS, GLONASS and Galileo with precise orbits and clocks (tervan-sim, RINEX 3), converts the RINEX
# pair into single differences (tervan-sdiff) and solves it (tervan): static L1+L2 on the short
# baseline, static Pc3+L3 with ROVER zenith delays on the long one, then the kinematic track. The
# converter and each tervan stage are timed (stage times from the moments the verbose progress lines
# appear), totals and peak memory come from /usr/bin/time -v. The same RINEX files then go through
# rnx2rtkp of Debian's rtklib (static float solution, same systems, mask, orbits and troposphere
# treatment) when it is installed; the script prints the ratio Tervan / rnx2rtkp and both baselines
# against the simulated truth.
#
# Usage: bench/whole-chain.sh [options]
#   --build DIR      build folder with tervan and tools/tervan-sdiff, tools/tervan-sim; the
#                    default folder is configured as a Release build (the optimisation of an
#                    installed Tervan) and built when its programs are missing [build-release]
#   --work DIR       folder for the simulated days and the results (kept) [/tmp/tervan-whole-chain]
#   --intervals LIST sampling intervals in seconds [30,1]
#   --baselines LIST baseline lengths in km [10,500]
#   --repeat N       timed runs of each program, the fastest is reported [1]
#   --peer-1s        also run rnx2rtkp on the days at 1 s (slow)
#   --no-peer        never run rnx2rtkp
#   --keep-data      reuse simulated days already in the work folder
#
# The machine may be shared: the load average (1 min) is printed beside each timing, and the
# processor time (user + system) beside the wall time; on a loaded machine compare processor
# times, and repeat (--repeat 3) to keep the fastest run.
set -uo pipefail

BUILD=build-release
DEFAULT_BUILD=1
WORK=/tmp/tervan-whole-chain
INTERVALS=30,1
BASELINES=10,500
REPEAT=1
PEER=1
PEER_1S=0
KEEP=0
while (($#)); do
  case $1 in
    --build) BUILD=$2; DEFAULT_BUILD=0; shift ;;
    --work) WORK=$2; shift ;;
    --intervals) INTERVALS=$2; shift ;;
    --baselines) BASELINES=$2; shift ;;
    --repeat) REPEAT=$2; shift ;;
    --peer-1s) PEER_1S=1 ;;
    --no-peer) PEER=0 ;;
    --keep-data) KEEP=1 ;;
    -h | --help) sed -n '2,27p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "whole-chain.sh: unknown option $1" >&2; exit 1 ;;
  esac
  shift
done

if ((DEFAULT_BUILD)) && [[ ! -x $BUILD/tervan || ! -x $BUILD/tools/tervan-sdiff || ! -x $BUILD/tools/tervan-sim ]]; then
  echo "building the Release programs in $BUILD"
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTERVAN_BUILD_TESTS=OFF >/dev/null &&
    cmake --build "$BUILD" --target tervan tervan-sdiff tervan-sim >/dev/null ||
    { echo "whole-chain.sh: the build in $BUILD failed" >&2; exit 1; }
fi
TERVAN=$BUILD/tervan
SDIFF=$BUILD/tools/tervan-sdiff
SIM=$BUILD/tools/tervan-sim
for p in "$TERVAN" "$SDIFF" "$SIM"; do
  [[ -x $p ]] || { echo "whole-chain.sh: $p not built" >&2; exit 1; }
done
[[ -x /usr/bin/time ]] || { echo "whole-chain.sh: /usr/bin/time is needed (apt-get install time)" >&2; exit 1; }
RTK=$(command -v rnx2rtkp || true)
((PEER)) && [[ -z $RTK ]] && echo "rnx2rtkp not found (apt-get install rtklib): peer runs skipped"
TERVAN=$(realpath "$TERVAN"); SDIFF=$(realpath "$SDIFF"); SIM=$(realpath "$SIM")
mkdir -p "$WORK"
WORK=$(realpath "$WORK")

load() { cut -d' ' -f1 /proc/loadavg; }

# Wall seconds and peak resident MB of the last timed run, from /usr/bin/time -v.
wall_s() { awk -F': ' '/Elapsed \(wall clock\)/ {n = split($2, a, ":"); s = 0;
  for (i = 1; i <= n; ++i) s = s * 60 + a[i]; printf "%.2f", s}' "$1"; }
cpu_s() { awk -F': ' '/User time|System time/ {s += $2} END {printf "%.2f", s}' "$1"; }
peak_mb() { awk -F': ' '/Maximum resident set size/ {printf "%.0f", $2 / 1024}' "$1"; }

# timed NAME CMD...: runs the command REPEAT times in the current folder, keeps the fastest
# run's /usr/bin/time report in NAME.time and its standard error with arrival times in NAME.err.
timed() {
  local name=$1 best="" r w
  shift
  for ((r = 0; r < REPEAT; ++r)); do
    /usr/bin/time -v -o "$name.time.$r" "$@" 2> >(perl -MTime::HiRes=time -ne \
      'BEGIN { $| = 1; $t0 = time } printf "%.3f %s", time - $t0, $_' > "$name.err.$r") \
      > "$name.out.$r"
    local rc=$?
    wait
    ((rc == 0)) || { echo "  $name failed (exit $rc), see $PWD/$name.err.$r" >&2; return 1; }
    w=$(wall_s "$name.time.$r")
    if [[ -z $best ]] || awk -v a="$w" -v b="$(wall_s "$name.time")" 'BEGIN {exit !(a < b)}'; then
      best=$r
      mv -f "$name.time.$r" "$name.time"; mv -f "$name.err.$r" "$name.err"
      mv -f "$name.out.$r" "$name.out"
    else
      rm -f "$name.time.$r" "$name.err.$r" "$name.out.$r"
    fi
  done
}

# Time of each tervan stage from the arrival of its first verbose line to the next stage's.
stages() {
  perl -ne 'if (/^([\d.]+) Tervan::(\w+)\(/) { if ($2 ne $s) { push @o, [$2, $1]; $s = $2 } }
    END { push @o, ["end", $last]; for $i (0 .. $#o - 1) {
      printf "      %-26s %7.2f s\n", $o[$i][0], $o[$i + 1][1] - $o[$i][1] } }
    $last = $1 if /^([\d.]+) /' "$1"
}

# Truth baseline dX dY dZ from truth.txt.
truth() { awk '/^BASELINE ROVER - BASE/ {getline; print $2, $4, $6}' "$1"; }

# Tervan's estimated baseline dX dY dZ from the static report.
tervan_baseline() {
  awk '/^ *D[XYZ]: / && !done[$1]++ {v[$1] = $4} END {print v["DX:"], v["DY:"], v["DZ:"]}' "$1"
}

# rnx2rtkp's last static solution (ECEF) minus the BASE position.
peer_baseline() {
  awk -v b="$2" 'BEGIN {split(b, B, " ")} !/^%/ && NF >= 5 {x = $3; y = $4; z = $5}
    END {printf "%.4f %.4f %.4f\n", x - B[1], y - B[2], z - B[3]}' "$1"
}

# Differences to the truth in mm.
versus() {
  awk -v a="$1" -v t="$2" 'BEGIN {split(a, A, " "); split(t, T, " ");
    printf "%7.1f %7.1f %7.1f mm", (A[1] - T[1]) * 1000, (A[2] - T[2]) * 1000, (A[3] - T[3]) * 1000}'
}

base_xyz() { awk '/^  BASE / {print $4, $6, $8}' "$1"; }

peer_conf() {  # $1: long baseline (1) or short (0)
  cat <<EOF
pos1-posmode       =static
pos1-frequency     =l1+l2
pos1-soltype       =forward
pos1-elmask        =10
pos1-navsys        =13
pos1-sateph        =precise
pos1-exclsats      =
pos2-armode        =off
pos2-gloarmode     =off
ant2-postype       =rinexhead
out-solformat      =xyz
out-outhead        =on
EOF
  if (($1)); then
    printf '%s\n' "pos1-ionoopt       =dual-freq" "pos1-tropopt       =est-ztd"
  else
    printf '%s\n' "pos1-ionoopt       =off" "pos1-tropopt       =saas"
  fi
}

printf '%-14s %-22s %9s %9s %8s %6s\n' "day" "step" "wall [s]" "cpu [s]" "peak MB" "load"
report() {
  printf '%-14s %-22s %9s %9s %8s %6s\n' "$1" "$2" "$(wall_s "$3")" "$(cpu_s "$3")" "$(peak_mb "$3")" "$4"
}

IFS=, read -ra ivals <<<"$INTERVALS"
IFS=, read -ra kms <<<"$BASELINES"
for iv in "${ivals[@]}"; do
  for km in "${kms[@]}"; do
    tag="${iv}s-${km}km"
    dir="$WORK/day-$tag"
    mkdir -p "$dir"
    cd "$dir" || exit 1
    if ! ((KEEP)) || [[ ! -f SIMB_SIMR.sd ]]; then
      l=$(load)
      timed sim "$SIM" --out . --duration 1d --interval "$iv" --baseline "$km" --mask 10 || continue
      report "$tag" "tervan-sim" sim.time "$l"
    fi
    l=$(load)
    timed sdiff "$SDIFF" --base SIMB.rnx --rover SIMR.rnx --sp3 orbit.sp3 --clk clock.clk \
      --out chain.sd || continue
    report "$tag" "tervan-sdiff" sdiff.time "$l"
    if ((km >= 100)); then
      types=(-lPc3,L3 -tmSAAST,NIELL -ti02:00:00ROVER -mi2)
    else
      types=(-lC1,P2,L1,L2 -tmSAAST,NIELL)
    fi
    l=$(load)
    timed tervan "$TERVAN" -rchain.sd -eporbit.sp3 -ecclock.clk -gfglonass_channels.txt -csGRE \
      "${types[@]}" -me10 -pcosz -xSTA,KIN -gpkKIN.txt -v || continue
    report "$tag" "tervan" tervan.time "$l"
    stages tervan.err
    t_tervan=$(awk -v a="$(wall_s sdiff.time)" -v b="$(wall_s tervan.time)" 'BEGIN {printf "%.2f", a + b}')
    c_tervan=$(awk -v a="$(cpu_s sdiff.time)" -v b="$(cpu_s tervan.time)" 'BEGIN {printf "%.2f", a + b}')
    echo "$tag  whole chain (tervan-sdiff + tervan): $t_tervan s wall, $c_tervan s cpu"
    tru=$(truth truth.txt)
    tb=$(tervan_baseline tervan.out)
    echo "$tag  truth  $tru"
    echo "$tag  tervan $tb   error $(versus "$tb" "$tru")"
    if ((PEER)) && [[ -n $RTK ]] && { [[ $iv != 1 ]] || ((PEER_1S)); }; then
      peer_conf $((km >= 100)) >peer.conf
      l=$(load)
      if timed peer "$RTK" -k peer.conf -o peer.pos SIMR.rnx SIMB.rnx orbit.sp3 clock.clk \
        gps.nav glonass.nav galileo.nav; then
        report "$tag" "rnx2rtkp" peer.time "$l"
        pb=$(peer_baseline peer.pos "$(base_xyz truth.txt)")
        echo "$tag  peer   $pb   error $(versus "$pb" "$tru")"
        awk -v a="$t_tervan" -v b="$(wall_s peer.time)" -v c="$c_tervan" -v d="$(cpu_s peer.time)" \
          -v t="$tag" 'BEGIN {printf "%s  ratio Tervan / peer: %.2f wall (%.2f s / %.2f s), %.2f cpu (%.2f s / %.2f s)\n",
          t, a / b, a, b, c / d, c, d}'
      fi
    fi
  done
done
