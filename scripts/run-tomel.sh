#!/usr/bin/env bash
# Starts Tomel (64-bit build) under Wine on its help text. On the user's display when there is one;
# otherwise in a virtual display, from which it saves a screenshot and then closes the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exe="$top/build/win64/tomel.exe"
# shellcheck source=wine-env.sh
source "$top/scripts/wine-env.sh"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  if [ "$TOMEL_WIN32" = yes ]; then prefix=user-prefix; else prefix=user-prefix64; fi
  export WINEPREFIX="$top/build/wine/$prefix" WINEDEBUG=-all
  "$top/scripts/wine-session.sh" prepare "$WINEPREFIX"
  exec "$TOMEL_WINE" "$exe" "$@"
fi
scripts_dir="$top/scripts"
session="${TOMEL_WINE_DIR:-$top/build/wine}"
started=""
"$top/scripts/wine-session.sh" alive || started=yes
"$scripts_dir/wine-session.sh" start
# shellcheck disable=SC1090,SC1091
source "$session/env"
shot="$top/build/run/tomel.png"
mkdir -p "$(dirname "$shot")"
"$TOMEL_WINE" "$exe" "$@" >/dev/null 2>&1 </dev/null &
pid=$!
win=""
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name ' - Tomel' 2>/dev/null | head -1 || true)
  [ -n "$win" ] && break
  sleep 0.1
done
if [ -z "$win" ]; then
  echo "Tomel did not show its window" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
sleep 1
import -window root "$shot"
caption=$(xdotool getwindowname "$win")
xdotool mousemove --window "$win" 120 70 click 1 key Escape
wait "$pid" || true
echo "Tomel ran in a virtual display (no X display here), showing: $caption"
echo "Screenshot: $shot (the program has been closed again)"
[ -z "$started" ] || "$scripts_dir/wine-session.sh" stop
