#!/usr/bin/env bash
# Start-up figures: from process start to the help text's first entry on show (the caption
# "Tomel.txt - Tomel | 1/..."), against an empty dialog program built with the same toolchain
# showing its window; and, given a PHOTO (a Windows path), the same start with the photo as the
# background picture against the start without one. Medians of RUNS interleaved runs, each program
# from a fresh folder of its own. Needs the test display's environment (wine-session.sh) sourced.
# Usage: bench-startup.sh BUILD_DIR [RUNS] [PHOTO]
set -uo pipefail
build=$1
runs=${2:-5}
photo=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tomel" "$work/empty" "$work/photo"
cp "$build/tomel.exe" "$build/Tomel.txt" "$work/tomel/"
cp "$build/tomel.exe" "$build/Tomel.txt" "$work/photo/"
cp "$build/bench/empty_dialog.exe" "$work/empty/"

# Prints the milliseconds until a visible window titled like $3 shows, then closes the program. The
# settings file is the defaults, or names the background picture $4.
measure() {
  local dir=$1 exe=$2 title=$3 picture=${4:-} start end pid w _
  rm -f "$dir/tomel.ini"
  if [ -n "$picture" ]; then
    { printf '\xff\xfe'; printf '[Portable]\r\nbitmap=%s\r\n' "$picture" | iconv -f UTF-8 -t UTF-16LE; } >"$dir/tomel.ini"
  fi
  start=$(date +%s%N)
  (cd "$dir" && exec "$TOMEL_WINE" "$dir/$exe") </dev/null >/dev/null 2>&1 &
  pid=$!
  for _ in $(seq 3000); do
    w=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -1)
    [ -n "$w" ] && break
    sleep 0.002
  done
  end=$(date +%s%N)
  if [ -z "$w" ]; then echo "-"; stop_program "$dir" "$pid"; return; fi
  echo $(((end - start) / 1000000))
  stop_program "$dir" "$pid"
}

# Ends the program started from folder $1 (launcher $2) and waits for it. Killed, not closed: the
# window is Wine's, and destroying its X window from outside upsets the virtual desktop.
stop_program() {
  local proc args
  for proc in /proc/[0-9]*; do
    args=$(tr '\0' ' ' 2>/dev/null <"$proc/cmdline") || continue
    case "$args" in *"$1"*) kill -9 "${proc#/proc/}" 2>/dev/null ;; esac
  done
  kill -9 "$2" 2>/dev/null
  wait "$2" 2>/dev/null
}

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'; }
# ratio NAME A B TARGET: "median A ms against B ms: A/B x", starred over the target.
ratio() {
  awk -v n="$1" -v a="$2" -v b="$3" -v t="$4" 'BEGIN {
    if (a > 0 && b > 0) printf "%s: median %d ms against %d ms: %.2fx%s (target <= %s)\n", n, a, b, a / b, (a / b > t) ? " *" : "", t;
    else print n ": no figures" }'
}

tomel_title='^Tomel\.txt - Tomel \| 1/'
# A first start of each warms the caches; it is not counted.
measure "$work/empty" empty_dialog.exe '^Empty$' >/dev/null
measure "$work/tomel" tomel.exe "$tomel_title" >/dev/null
[ -z "$photo" ] || measure "$work/photo" tomel.exe "$tomel_title" "$photo" >/dev/null
empty=()
tomel=()
with=()
for _ in $(seq "$runs"); do
  empty+=("$(measure "$work/empty" empty_dialog.exe '^Empty$')")
  tomel+=("$(measure "$work/tomel" tomel.exe "$tomel_title")")
  [ -z "$photo" ] || with+=("$(measure "$work/photo" tomel.exe "$tomel_title" "$photo")")
done
e=$(printf '%s\n' "${empty[@]}" | grep -v '^-$' | median)
t=$(printf '%s\n' "${tomel[@]}" | grep -v '^-$' | median)
echo "empty dialog ms: ${empty[*]}"
echo "tomel ms:        ${tomel[*]}"
ratio "tomel against the empty dialog" "$t" "$e" 1.3
if [ -n "$photo" ]; then
  p=$(printf '%s\n' "${with[@]}" | grep -v '^-$' | median)
  echo "with the photo:  ${with[*]}"
  ratio "with the photo against without a picture" "$p" "$t" 1.5
fi
