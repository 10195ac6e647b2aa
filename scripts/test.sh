#!/usr/bin/env bash
# Builds Tervan with its tests and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test plot
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
status=0
ctest --test-dir build --output-on-failure -j 2 || status=$?
# ctest names the skipped tests; say why each one was skipped (the first line of its
# skip message, for example the absent ../shared/data).
log=build/Testing/Temporary/LastTest.log
if [ -f "$log" ] && grep -q ': Skipped$' "$log"; then
  echo "Why the tests above were skipped:"
  awk '/^[0-9]+\/[0-9]+ Testing: /{name=$3} prev ~ /: Skipped$/{print "  " name ": " $0} {prev=$0}' "$log"
fi
exit $status
