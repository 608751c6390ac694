#!/usr/bin/env bash
# Runs every test: native unit tests and fuzz targets, then the in-process and end-to-end tests of
# the 32-bit and 64-bit builds under Wine. Ends with one summary line.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
session="${TOMEL_WINE_DIR:-$top/build/wine}"
started=""
[ -f "$session/env" ] || started=yes
scripts/wine-session.sh start || { echo "could not start the test display"; exit 1; }
[ -z "$started" ] || trap 'scripts/wine-session.sh stop' EXIT

passed=0
failed=0
status=0
run_ctest() {
  local name=$1 dir=$2 jobs=$3
  echo "=== $name ==="
  local log="$dir/ctest-summary.log"
  ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$jobs" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line total fails
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -n "$line" ]; then
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
  else
    failed=$((failed + 1))
  fi
  [ "$rc" -eq 0 ] || status=1
}

run_ctest native build/native 2
# One Wine program at a time: the tests share one display and one Wine server.
run_ctest win32 build/win32 1
run_ctest win64 build/win64 1

echo
echo "Summary: native unit and fuzz tests, win32 and win64 in-process and end-to-end tests"
echo "tests: $passed passed, $failed failed"
exit $status
