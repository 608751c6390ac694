# Shared helpers for the end-to-end tests: the real tomel.exe under Wine, driven from outside with
# xdotool and observed through its caption, screenshots and exit code.
#
# A test script does:
#   source "$(dirname "$0")/lib.sh"
#   e2e_init "$@"            # $1 = tomel.exe, $2 = scratch directory
#   ...
#   e2e_pass                 # last line
# and calls `fail "why"` (or a check_* helper) on the first thing that is wrong: that prints the
# reason, the program's log and the caption, leaves a screenshot, kills the program and exits 1.
#
# The program runs from a private copy in the scratch directory, so the settings and language
# files it writes beside itself stay there and no earlier run's files change what a test sees.

# shellcheck disable=SC2119,SC2120  # helpers take an optional window and default to WIN
# shellcheck disable=SC2034  # GEOMETRY, FILE and the like are results for the test scripts

e2e_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_TOP=$(cd "$e2e_lib_dir/../.." && pwd)

E2E_EXE=""        # the copy of tomel.exe that the test runs
E2E_WINEXE=""     # the same as a Windows path
E2E_WORK=""       # scratch folder for the test's files
TOMEL_PID=""      # the wine launcher of the running program; it ends with the program
TOMEL_LOG=""
TOMEL_RC=""
WIN=""            # the window found last by wait_window
CAPTION=""        # the caption read last
e2e_started=$(date +%s.%N)
e2e_name=$(basename "$0" .sh)

say() { printf '%s\n' "$*"; }
ok() { printf '  ok: %s\n' "$*"; }

elapsed() { awk -v a="$e2e_started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }'; }

e2e_init() {
    if [ $# -lt 2 ]; then
        echo "usage: $0 <path-to-tomel.exe> <scratch-dir>" >&2
        exit 2
    fi
    local exe=$1 scratch=$2
    # A rebuild may replace the program just while the test starts: wait until it is there and
    # no longer growing.
    local _ size="" last=""
    for _ in $(seq 100); do
        size=$(stat -c %s "$exe" 2>/dev/null)
        [ -n "$size" ] && [ "$size" != 0 ] && [ "$size" = "$last" ] && break
        last=$size
        sleep 0.2
    done
    [ -s "$exe" ] || { echo "FAIL: no program at $exe"; exit 1; }
    mkdir -p "$scratch" || exit 1
    scratch=$(cd "$scratch" && pwd)
    E2E_WORK="$scratch/work"
    rm -rf "$E2E_WORK"
    mkdir -p "$E2E_WORK/bin" || exit 1
    cp "$exe" "$E2E_WORK/bin/tomel.exe" || { echo "FAIL: cannot copy $exe"; exit 1; }
    E2E_EXE="$E2E_WORK/bin/tomel.exe"
    E2E_WINEXE=$(winpath "$E2E_EXE")

    # Non-ASCII names on the command line reach Wine through the Unix locale.
    export LC_ALL=C.UTF-8
    local envfile="${TOMEL_WINE_DIR:-$E2E_TOP/build/wine}/env"
    "$E2E_TOP/scripts/wine-session.sh" start >/dev/null 2>&1 </dev/null
    if [ ! -f "$envfile" ]; then
        echo "FAIL: the test display did not start (no $envfile)"
        exit 1
    fi
    # shellcheck disable=SC1090
    source "$envfile"
    # The session says which loader works here; a 32-bit program may not run at all.
    # shellcheck source=../../scripts/wine-env.sh
    source "$E2E_TOP/scripts/wine-env.sh"
    local why
    if ! why=$(tomel_can_run "$E2E_EXE"); then
        echo "skipped: $why"
        exit "$TOMEL_SKIP"
    fi
    xdpyinfo >/dev/null 2>&1 || { echo "FAIL: cannot reach the test display $DISPLAY"; exit 1; }

    trap e2e_cleanup EXIT
    trap 'fail "interrupted"' INT TERM
    say "$e2e_name: $exe (copy in $E2E_WORK/bin), display $DISPLAY"
}

e2e_pass() {
    kill_tomel
    say "PASS $e2e_name ($(elapsed) s)"
    exit 0
}

# Kills what is left of this test's program: the launcher and the program itself, each by its PID.
# The copy's path is unique to this test, so matching on it touches nothing else.
kill_tomel() {
    local pids pid
    pids=$(tomel_pids)
    for pid in $pids; do kill -9 "$pid" 2>/dev/null; done
    if [ -n "$TOMEL_PID" ]; then
        kill -9 "$TOMEL_PID" 2>/dev/null
        wait "$TOMEL_PID" 2>/dev/null
        TOMEL_PID=""
    fi
    return 0
}

tomel_pids() {
    [ -n "$E2E_WINEXE" ] || return 0
    local dir pid args
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        args=$(tr '\0' ' ' 2>/dev/null <"$dir/cmdline") || continue
        case "$args" in *"$E2E_WINEXE"*) echo "$pid" ;; esac
    done
}

e2e_cleanup() {
    local rc=$?
    trap - EXIT
    kill_tomel
    exit "$rc"
}

fail() {
    trap - EXIT
    say "FAIL: $*"
    if [ -n "$WIN" ]; then
        say "  caption now: $(xdotool getwindowname "$WIN" 2>/dev/null || echo '(window gone)')"
    fi
    if [ -n "$E2E_WORK" ] && [ -n "${DISPLAY:-}" ]; then
        import -window root "$E2E_WORK/failure.png" 2>/dev/null && say "  screenshot: $E2E_WORK/failure.png"
    fi
    if [ -n "$TOMEL_LOG" ] && [ -s "$TOMEL_LOG" ]; then
        say "  program log ($TOMEL_LOG):"
        tail -n 20 "$TOMEL_LOG" | sed 's/^/    /'
    fi
    kill_tomel
    say "FAIL $e2e_name ($(elapsed) s)"
    exit 1
}

# Linux path -> Windows path on drive Z: (/a/b c.txt -> Z:\a\b c.txt). Relative paths are made
# absolute against the current directory first.
winpath() {
    local p=$1
    case "$p" in /*) ;; *) p="$PWD/$p" ;; esac
    printf 'Z:%s' "${p//\//\\}"
}

# make_file NAME BYTES: writes BYTES (printf escapes such as \n and \xef are expanded) to NAME in the
# scratch folder (NAME may hold a subfolder); FILE is set to its full path.
make_file() {
    FILE="$E2E_WORK/$1"
    mkdir -p "$(dirname "$FILE")"
    # shellcheck disable=SC2059
    printf "$2" >"$FILE" || fail "cannot write $FILE"
}

# write_ini FILE LINE...: the program's own format, UTF-16 LE with byte-order mark and CR LF.
write_ini() {
    local file=$1
    shift
    { printf '\xff\xfe'; printf '%s\r\n' "$@" | iconv -f UTF-8 -t UTF-16LE; } >"$file" || fail "cannot write $file"
}
# ini_value FILE KEY: the value of KEY in the file the program wrote.
ini_value() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | sed -n "s/^$2=//p" | head -1; }

# start_tomel_in DIR ARGS...: starts the program in DIR with the arguments, in the background,
# stdin from /dev/null and its output in a log. start_tomel ARGS... starts it in the scratch folder.
start_tomel_in() {
    local dir=$1
    shift
    kill_tomel
    # A test that brings its own settings file beside the program sets E2E_KEEP_SETTINGS.
    [ -n "${E2E_KEEP_SETTINGS:-}" ] || rm -f "$E2E_WORK/bin/tomel.ini" "$E2E_WORK/bin/tomel.lang.ini"
    TOMEL_LOG="$E2E_WORK/tomel-$(date +%s%N).log"
    TOMEL_RC=""
    WIN=""
    (cd "$dir" && exec "$TOMEL_WINE" "$E2E_WINEXE" "$@") </dev/null >"$TOMEL_LOG" 2>&1 &
    TOMEL_PID=$!
}

start_tomel() { start_tomel_in "$E2E_WORK" "$@"; }

# True when window $1 belongs to this test's program.
ours() {
    local pid
    pid=$(xdotool getwindowpid "$1" 2>/dev/null) || return 1
    tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -qF "$E2E_WINEXE"
}

# wait_window REGEX [SECONDS]: polls every 0.1 s for a visible window of the program whose title
# matches the extended regular expression; sets WIN and CAPTION. Fails after SECONDS (default 10).
wait_window() {
    local re=$1 limit=${2:-10} w t _
    for _ in $(seq $((limit * 10))); do
        for w in $(xdotool search --onlyvisible --name "$re" 2>/dev/null); do
            t=$(xdotool getwindowname "$w" 2>/dev/null) || continue
            if printf '%s' "$t" | grep -qE -- "$re" && ours "$w"; then
                WIN=$w
                CAPTION=$t
                return 0
            fi
        done
        if [ -n "$TOMEL_PID" ] && ! kill -0 "$TOMEL_PID" 2>/dev/null; then
            fail "the program ended before a window titled /$re/ appeared"
        fi
        sleep 0.1
    done
    fail "no window titled /$re/ within $limit s"
}

# focus_window [WINDOW [X Y]]: gives WIN (or WINDOW) the focus with a click at X, Y of its outer
# rectangle (default 120, 70: inside the client area, away from the system menu).
focus_window() {
    local w=${1:-$WIN}
    xdotool mousemove --window "$w" "${2:-120}" "${3:-70}" click 1 || fail "cannot click window $w"
    sleep 0.2
}

send_keys() { xdotool key --delay 50 "$@" || fail "xdotool could not send $*"; }

# Moves the pointer off the program's windows (and off the desktop), for clean screenshots.
park_pointer() { xdotool mousemove 1270 1010 >/dev/null 2>&1; }

# Sets CAPTION to the caption of WIN (or of the window given).
read_caption() {
    CAPTION=$(xdotool getwindowname "${1:-$WIN}" 2>/dev/null) || CAPTION=""
}

# wait_caption REGEX [SECONDS]: polls WIN's caption every 0.1 s until it matches the extended
# regular expression; fails with the last caption after SECONDS (default 3).
wait_caption() {
    local re=$1 limit=${2:-3} _
    for _ in $(seq $((limit * 10))); do
        read_caption
        printf '%s' "$CAPTION" | grep -qE -- "$re" && return 0
        sleep 0.1
    done
    fail "caption \"$CAPTION\" does not match /$re/ after $limit s"
}

# wait_exit [SECONDS]: waits for the program to end; sets TOMEL_RC. Fails after SECONDS (default 10).
wait_exit() {
    local limit=${1:-10} _
    for _ in $(seq $((limit * 10))); do
        kill -0 "$TOMEL_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$TOMEL_PID" 2>/dev/null && fail "the program is still running $limit s later"
    wait "$TOMEL_PID"
    TOMEL_RC=$?
    TOMEL_PID=""
    local left
    left=$(tomel_pids)
    [ -z "$left" ] || fail "program processes left after its end: $left"
}

# Exit with Esc: focus, Escape, and exit code 0.
check_escape_exits() {
    focus_window
    send_keys Escape
    wait_exit 10
    [ "$TOMEL_RC" = 0 ] || fail "exit code after Esc is $TOMEL_RC, expected 0"
    ok "Esc ended the program with exit code 0"
}

screenshot() { import -window root "$1" 2>/dev/null || fail "import could not take a screenshot"; }

# Prints "X Y W H" of a window's outer rectangle on the screen.
window_box() {
    xwininfo -id "${1:-$WIN}" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 }
        END { if (w == "") exit 1; print x, y, w, h }'
}

# Sets GEOMETRY to the crop WxH+X+Y of a window's client area, kept a little inside the frame
# (4 pixels of frame and 18 of caption in Wine's virtual desktop).
client_geometry() {
    local x y w h
    read -r x y w h < <(window_box "${1:-$WIN}") || fail "cannot read the geometry of window ${1:-$WIN}"
    GEOMETRY=$(printf '%dx%d+%d+%d' $((w - 12)) $((h - 30)) $((x + 6)) $((y + 24)))
}

# crop SHOT GEOMETRY OUT
crop() { convert "$1" -crop "$2" +repage "$3" || fail "convert could not crop $1"; }

# Number of dark pixels (luminance below one half) in an image.
dark_pixels() { convert "$1" -colorspace Gray -threshold 50% -format '%[fx:round(w*h*(1-mean))]' info:; }

# Mean luminance of an image, 0 (black) to 1 (white).
mean_level() { convert "$1" -colorspace Gray -format '%[fx:mean]' info:; }

# Number of separate horizontal bands of dark pixels: lines of text, when the text has no
# descenders and ascenders that could touch.
ink_bands() {
    local h
    h=$(convert "$1" -format '%h' info:)
    convert "$1" -colorspace Gray -threshold 50% -negate -scale "1x$h!" -compress none pgm:- |
        awk 'NR == 1 { next } !dims { if (NF >= 2) dims = 1; next } !maxv { maxv = 1; next }
             { for (i = 1; i <= NF; i++) { on = ($i > 0); if (on && !was) n++; was = on } }
             END { print n + 0 }'
}

# Number of pixels of an image that differ from another of the same size.
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 | awk '{ print int($1) }'; }

# Number of orange-yellow pixels, the colour of the exclamation icon.
orange_pixels() {
    convert "$1" -fx 'r > 0.8 && g > 0.45 && g < 0.9 && b < 0.35 ? 1 : 0' -format '%[fx:round(w*h*mean)]' info:
}
