#!/usr/bin/env bash
# Prints the performance figures of the 32-bit and the 64-bit build under Wine:
#   - load time of a 100 MB ANSI, a 100 MB UTF-16 and a 100 MB UTF-8 file (read as UTF-8 Text reads a
#     file without a mark) against the bare floor of the same run (read it all, decode it in one call,
#     one scan for line feeds), best of 3 after a warm-up;
#   - memory peaks of one load, each in a fresh process, beside an empty run of the same program;
#   - the cost of 10 000 nextEntry steps on the real main window over a two-million-entry file
#     against the same over a ten-entry file;
#   - start-up and memory with an 8000 by 8000 JPEG photo as the background picture against none.
# Figures only: nothing here fails because the machine is slow.
# The input files are made once into build/bench/ (TOMEL_BENCH_DATA elsewhere); the programs are
# taken from build/win32 and build/win64 (TOMEL_BUILD_ROOT elsewhere).
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
root="${TOMEL_BUILD_ROOT:-$top/build}"
data="${TOMEL_BENCH_DATA:-$top/build/bench}"
export TOMEL_WINE_DIR="${TOMEL_WINE_DIR:-$top/build/wine}"
envfile="$TOMEL_WINE_DIR/env"
# shellcheck source=wine-env.sh
source scripts/wine-env.sh

started=0
scripts/wine-session.sh alive || started=1
scripts/wine-session.sh start || { echo "could not start the test display"; exit 1; }
work=$(mktemp -d)
cleanup() {
  rm -rf "$work"
  if [ "$started" = 1 ]; then scripts/wine-session.sh stop; fi
}
trap cleanup EXIT
# shellcheck disable=SC1090
source "$envfile"

# Wine's drive Z: is the Unix root.
winpath() { local p; p=$(readlink -f "$1"); echo "Z:${p//\//\\}"; }

# Output goes to files, never a pipe: a Wine service started by a run would hold a pipe open.
run() {
  local out=$1
  shift
  if ! "$TOMEL_WINE" "$@" >"$out" 2>"$out.err" </dev/null; then
    echo "failed: ${*##*/}" >&2
    sed 's/^/  /' "$out.err" >&2
    return 1
  fi
}

mkdir -p "$data"
builds=()
for bits in 32 64; do
  exe="$root/win$bits/tomel_bench.exe"
  if [ "$bits" = 32 ] && [ "$TOMEL_WIN32" != yes ]; then
    echo "The 32-bit build was not run: $TOMEL_WIN32_WHY."
  elif [ -f "$exe" ]; then
    # A copy of its own: the program reads and writes its settings file beside itself, and every
    # run starts from the defaults.
    mkdir -p "$data/win$bits"
    cp "$exe" "$data/win$bits/tomel_bench.exe"
    rm -f "$data/win$bits/tomel.ini"
    builds+=("$bits")
  else
    echo "missing $exe (build target tomel_bench first)" >&2
  fi
done
[ ${#builds[@]} -gt 0 ] || exit 1

start_time=$SECONDS
gen_bits=${builds[-1]}
run "$work/generate" "$data/win$gen_bits/tomel_bench.exe" generate "$(winpath "$data")" || exit 1
cat "$work/generate"
# A phone camera's photo: 8000 by 8000 pixels of plasma, some 7 MB of JPEG (made once, about 20 s).
photo_file="$data/photo-8000.jpg"
if [ ! -s "$photo_file" ] && command -v convert >/dev/null; then
  echo "making $photo_file ..."
  convert -size 8000x8000 -seed 1 plasma:red-blue -quality 85 "$photo_file" || rm -f "$photo_file"
fi
photo=
[ -s "$photo_file" ] && photo=$(winpath "$photo_file")
ansi="$(winpath "$data")\\ansi-100mb.txt"
utf16="$(winpath "$data")\\utf16-100mb.txt"
utf8="$(winpath "$data")\\utf8-100mb.txt"
small="$(winpath "$data")\\ansi-10.txt"

for bits in "${builds[@]}"; do
  exe="$data/win$bits/tomel_bench.exe"
  echo "measuring win$bits ..."
  run "$work/load$bits" "$exe" load "$ansi" "$utf16" "$utf8"
  run "$work/breakdown$bits" "$exe" breakdown "$ansi"
  run "$work/peak$bits-none" "$exe" peak none on
  for c in "ansi on" "ansi off" "utf16 on" "utf16 off"; do
    set -- $c
    file=$ansi
    [ "$1" = utf16 ] && file=$utf16
    run "$work/peak$bits-$1-$2" "$exe" peak "$1" "$2" "$file"
  done
  run "$work/step$bits" "$exe" step "$ansi" "$small"
  run "$work/menu$bits" "$exe" menu "$(winpath "$data")"
  run "$work/fit$bits" "$exe" fit "$ansi"
  run "$work/picture$bits-none" "$exe" picture none
  [ -z "$photo" ] || run "$work/picture$bits-photo" "$exe" picture "$photo"
done

echo
echo "Load of a 100 MB file against the floor of the same run (read it whole, decode it in one call, count"
echo "its line feeds), best of 3 after a warm-up: floor and load in ms of wall time, ratio = load / floor;"
echo "cpu r. = the same ratio in thread processor time (10 ms ticks), which a busy machine does not stretch."
echo "Memory of one load, each in a fresh process: peak WS = PeakWorkingSetSize (a true high-water mark);"
echo "commit = PagefileUsage after the load (Wine gives the current value as PeakPagefileUsage); in MB of"
echo "2^20 bytes, and as a multiple of the file size. Targets: ratio <= 1.5 (UTF-8, read by UTF-8 Text as"
echo "valid UTF-8 without a mark: <= 1.0), ANSI peak <= 2.3; * = over."
printf '%-6s %-20s %8s %6s %6s %6s %7s %9s %7s %8s %7s\n' build case entries floor load ratio "cpu r." \
  "peak WS" "WS/size" commit "c/size"
for bits in "${builds[@]}"; do
  for c in "ansi on" "ansi off" "utf16 on" "utf16 off" "utf8 on" "utf8 off"; do
    set -- $c
    l=$(awk -v k="$1" -v m="$2" '$1 == "load" && $2 == k && $3 == m' "$work/load$bits" 2>/dev/null)
    p=$(awk '$1 == "peak"' "$work/peak$bits-$1-$2" 2>/dev/null)
    case $1 in ansi) name=ANSI limit=1.5 ;; utf16) name=UTF-16 limit=1.5 ;; *) name=UTF-8 limit=1.0 ;; esac
    name="$name multiline $2"
    awk -v b="win$bits" -v n="$name" -v l="$l" -v p="$p" -v ansi="$([ "$1" = ansi ] && echo 1)" -v limit="$limit" 'BEGIN {
      split(l, L, " "); split(p, P, " "); mb = 1048576
      entries = (l != "") ? L[6] : (p != "" ? P[6] : "-")
      if (l != "") { ratio = L[5] / L[4]; fl = sprintf("%.0f", L[4]); ld = sprintf("%.0f", L[5]);
                     r = sprintf("%.2f%s", ratio, ratio > limit ? "*" : " ")
                     cratio = (L[8] > 0) ? L[9] / L[8] : 0; cr = sprintf("%.2f%s", cratio, cratio > limit ? "*" : " ") }
      else { fl = "-"; ld = "-"; r = "-"; cr = "-" }
      if (p != "" && P[7] > 0) {
        ws = sprintf("%.1f", P[3] / mb); wr = P[3] / P[7]
        cm = sprintf("%.1f", P[4] / mb); cmr = P[4] / P[7]
        wrs = sprintf("%.2f%s", wr, (ansi && wr > 2.3) ? "*" : " ")
        crs = sprintf("%.2f%s", cmr, (ansi && cmr > 2.3) ? "*" : " ")
      } else { ws = "-"; wrs = "-"; cm = "-"; crs = "-" }
      printf "%-6s %-20s %8s %6s %6s %6s %7s %9s %7s %8s %7s\n", b, n, entries, fl, ld, r, cr, ws, wrs, cm, crs
    }'
  done
  p=$(awk '$1 == "peak"' "$work/peak$bits-none" 2>/dev/null)
  awk -v b="win$bits" -v p="$p" 'BEGIN { split(p, P, " "); mb = 1048576
    if (p == "") { ws = "-"; cm = "-" } else { ws = sprintf("%.1f", P[3] / mb); cm = sprintf("%.1f", P[4] / mb) }
    printf "%-6s %-20s %8s %6s %6s %6s %7s %9s %7s %8s %7s\n", b, "empty run", "-", "-", "-", "-", "-", ws, "", cm, "" }'
done

echo
echo "Where an ANSI load (multiline off) spends its time, ms (fresh list; 'reused' = a reload into kept storage):"
for bits in "${builds[@]}"; do
  [ -s "$work/breakdown$bits" ] || continue
  sed -e "s/^breakdown /  win$bits  /" "$work/breakdown$bits"
done

echo
echo "Step cost: 10000 nextEntry steps on the real main window, the two files taking turns in"
echo "rounds of 500 steps. Target: big / small <= 1.2."
printf '%-6s %12s %12s %12s %7s %9s\n' build "small ms" "big ms" "big entries" ratio "us/step"
for bits in "${builds[@]}"; do
  [ -s "$work/step$bits" ] || { printf '%-6s %12s\n' "win$bits" "no figures"; continue; }
  awk -v b="win$bits" '
    $1 == "step" && $2 == "small" { s = $3; n = $5 }
    $1 == "step" && $2 == "big" { g = $3; e = $4 }
    END {
      if (s == "" || g == "") { printf "%-6s %12s\n", b, "no figures"; exit }
      r = g / s
      printf "%-6s %12.0f %12.0f %12s %6.2f%s %9.0f\n", b, s, g, e, r, (r > 1.2) ? "*" : " ", 1000 * g / n
    }' "$work/step$bits"
done
echo "One step's parts, us a call (step = armTimer + updateStatus + the text + armTimer again):"
printf '%-6s %9s %13s %9s %12s %16s\n' build step updateStatus armTimer "entry text" "trimWorkingSet"
for bits in "${builds[@]}"; do
  [ -s "$work/step$bits" ] || continue
  awk -v b="win$bits" '$1 == "stepparts" { printf "%-6s %9.0f %13.0f %9.0f %12.0f %16.1f\n", b, $2, $3, $4, $5, $6 }' \
    "$work/step$bits"
done
echo "Steps over the big file with Fit To Font on and off by turns (rounds of 500): on / off, target <= 1.2."
printf '%-6s %12s %12s %7s\n' build "off ms" "on ms" ratio
for bits in "${builds[@]}"; do
  awk -v b="win$bits" '$1 == "stepfit" { r = ($2 > 0) ? $3 / $2 : 0
    printf "%-6s %12.0f %12.0f %6.2f%s\n", b, $2, $3, r, (r > 1.2) ? "*" : " " }' "$work/step$bits" 2>/dev/null
done

echo
echo "Fit To Font over the 100 MB ANSI file against its load in the same run (best of 3 each, ms): ratio ="
echo "fit / load, target <= 0.25; 'system' = the same fit measuring every line with GetTextExtentPoint32W;"
echo "same = both give the same size (1)."
printf '%-6s %-14s %8s %8s %8s %7s %9s %5s %12s\n' build case entries load fit ratio system same size
for bits in "${builds[@]}"; do
  [ -s "$work/fit$bits" ] || { printf '%-6s %12s\n' "win$bits" "no figures"; continue; }
  awk -v b="win$bits" '$1 == "fit" { r = ($3 > 0) ? $4 / $3 : 0
    printf "%-6s %-14s %8s %8.0f %8.0f %6.3f%s %9.0f %5s %12s\n", b, "multiline " $2, $7, $3, $4, r, (r > 0.25) ? "*" : " ", \
      $5, $6, $8 "x" $9 }' "$work/fit$bits"
done
echo
echo "Start-up: process start to the help text's first entry on show, against an empty dialog program"
echo "built with the same toolchain showing its window, and with the 8000 by 8000 photo as background"
echo "picture against none; medians of 5 interleaved runs, ms."
for bits in "${builds[@]}"; do
  if [ -f "$root/win$bits/bench/empty_dialog.exe" ]; then
    scripts/bench-startup.sh "$root/win$bits" 5 "$photo" | sed "s/^/  win$bits  /"
  fi
done
[ -n "$photo" ] || echo "  (no photo: ImageMagick's convert is missing)"

echo
echo "Background picture: the 8000 by 8000 photo against none, each in a fresh process on the real main"
echo "window, once it has come and been painted: commit = PagefileUsage and WS = WorkingSetSize in MB,"
echo "ratio = with / without; came = ms from loadPicture until the picture was there. Target: what the"
echo "screen can show (a 1024 by 768 screen: two views of 3 MB), not the photo's 244 MB."
printf '%-6s %12s %12s %7s %9s %9s %8s\n' build "commit none" "commit photo" ratio "WS none" "WS photo" "came ms"
for bits in "${builds[@]}"; do
  n=$(awk '$1 == "picture"' "$work/picture$bits-none" 2>/dev/null)
  p=$(awk '$1 == "picture"' "$work/picture$bits-photo" 2>/dev/null)
  awk -v b="win$bits" -v n="$n" -v p="$p" 'BEGIN { split(n, N, " "); split(p, P, " "); mb = 1048576
    if (n == "" || p == "") { printf "%-6s %12s\n", b, "no figures"; exit }
    printf "%-6s %12.1f %12.1f %7.2f %9.1f %9.1f %8.0f\n", b, N[3] / mb, P[3] / mb, P[3] / N[3], N[4] / mb, P[4] / mb, P[2] }'
done

echo
echo "Popup menu, ms a showing over 500: prepare = load, translate, check, destroy; trim = the working-set"
echo "trim after it; show = the whole showing without the user's tracking. Language file read at start-up:"
printf '%-6s %9s %9s %9s %14s %12s\n' build prepare trim show "language bytes" "read ms"
for bits in "${builds[@]}"; do
  [ -s "$work/menu$bits" ] || { printf '%-6s %9s\n' "win$bits" "no figures"; continue; }
  awk -v b="win$bits" '$1 == "menu" { p = $2; t = $3; s = $4 } $1 == "language" { n = $2; r = $3 }
    END { printf "%-6s %9.3f %9.3f %9.3f %14s %12.1f\n", b, p, t, s, n, r }' "$work/menu$bits"
done
echo
echo "bench time: $((SECONDS - start_time)) s"
