#!/usr/bin/env bash
# Makes the README's picture: the 64-bit Tomel on its help text in the test display, cropped to its
# window and saved small as docs/tomel.png.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
out=${1:-docs/tomel.png}
started=""
scripts/wine-session.sh alive || started=yes
scripts/wine-session.sh start
[ -z "$started" ] || trap 'scripts/wine-session.sh stop' EXIT
# shellcheck disable=SC1091
source build/wine/env
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
work=$(mktemp -d)
cp build/win64/tomel.exe res/Tomel.txt "$work/"

(cd "$work" && exec "$TOMEL_WINE" tomel.exe) </dev/null >/dev/null 2>&1 &
pid=$!
win=""
for _ in $(seq 200); do
  win=$(xdotool search --onlyvisible --name '^Tomel\.txt - Tomel' 2>/dev/null | head -1 || true)
  [ -n "$win" ] && break
  sleep 0.05
done
[ -n "$win" ] || { echo "Tomel did not show its window" >&2; kill "$pid"; exit 1; }

sleep 0.5
xdotool mousemove 1015 8
sleep 0.3
read -r x y w h < <(xwininfo -id "$win" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
  /Width:/ { w = $2 } /Height:/ { h = $2 } END { print x, y, w, h }')
mkdir -p "$(dirname "$out")"
import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip -colors 32 "PNG8:$out"
xdotool mousemove --window "$win" 120 70 click 1 key Escape 2>/dev/null || true
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill "$pid" 2>/dev/null || true
rm -rf "$work"
echo "$out ($(stat -c %s "$out") bytes)"
