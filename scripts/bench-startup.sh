#!/usr/bin/env bash
# Start-up figure: from process start to the help text's first entry on show (the caption
# "Tomel.txt - Tomel | 1/..."), against an empty dialog program built with the same toolchain
# showing its window. Medians of RUNS interleaved runs, each program from a fresh folder of its own
# with no settings file. Needs the test display's environment (wine-session.sh) sourced.
# Usage: bench-startup.sh BUILD_DIR [RUNS]
set -uo pipefail
build=$1
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tomel" "$work/empty"
cp "$build/tomel.exe" "$build/Tomel.txt" "$work/tomel/"
cp "$build/bench/empty_dialog.exe" "$work/empty/"

# Prints the milliseconds until a visible window titled like $2 shows, then closes the program.
measure() {
  local dir=$1 exe=$2 title=$3 start end pid w _
  rm -f "$dir/tomel.ini"
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

# A first start of each warms the caches; it is not counted.
measure "$work/empty" empty_dialog.exe '^Empty$' >/dev/null
measure "$work/tomel" tomel.exe '^Tomel\.txt - Tomel \| 1/' >/dev/null
empty=()
tomel=()
for _ in $(seq "$runs"); do
  empty+=("$(measure "$work/empty" empty_dialog.exe '^Empty$')")
  tomel+=("$(measure "$work/tomel" tomel.exe '^Tomel\.txt - Tomel \| 1/')")
done
e=$(printf '%s\n' "${empty[@]}" | grep -v '^-$' | median)
t=$(printf '%s\n' "${tomel[@]}" | grep -v '^-$' | median)
echo "empty dialog ms: ${empty[*]}"
echo "tomel ms:        ${tomel[*]}"
awk -v e="$e" -v t="$t" 'BEGIN { if (e > 0 && t > 0) printf "median %d ms against %d ms: %.2fx%s (target <= 1.3)\n", t, e, t / e, (t / e > 1.3) ? " *" : "";
                          else print "no figures" }'
