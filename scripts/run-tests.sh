#!/usr/bin/env bash
# Runs every test: native unit tests and fuzz targets, then the in-process and end-to-end tests of
# the 32-bit and 64-bit builds under Wine. Ends with one summary line.
# On a machine that runs no 32-bit programs (or with TOMEL_NO_WIN32=1) the 32-bit build's Wine tests
# are reported as skipped; the native checks of both programs' files still run.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
# shellcheck source=wine-env.sh
source scripts/wine-env.sh   # the one probe of this run; everything started below inherits it
started=""
"$top/scripts/wine-session.sh" alive || started=yes
scripts/wine-session.sh start || { echo "could not start the test display"; exit 1; }
[ -z "$started" ] || trap 'scripts/wine-session.sh stop' EXIT

passed=0
failed=0
skipped=0
status=0
run_ctest() {
  local name=$1 dir=$2 jobs=$3
  echo "=== $name ==="
  local log="$dir/ctest-summary.log"
  ctest --test-dir "$dir" --output-on-failure --timeout 300 -j "$jobs" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  local line total fails skips
  line=$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -n "$line" ]; then
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
    skips=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log")
    passed=$((passed + total - fails - skips))
    failed=$((failed + fails))
    skipped=$((skipped + skips))
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
[ "$TOMEL_WIN32" = yes ] || echo "The 32-bit build was not run: $TOMEL_WIN32_WHY."
if [ "$skipped" -gt 0 ]; then
  echo "tests: $passed passed, $failed failed, $skipped skipped"
else
  echo "tests: $passed passed, $failed failed"
fi
exit $status
