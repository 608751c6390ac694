# Shared helpers for the end-to-end tests: the real tomel.exe under Wine, driven from outside with
# xdotool and observed through its caption, its files and its exit code.
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
# shellcheck disable=SC2034  # FILE and the like are results for the test scripts

E2E_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
E2E_EXE=""        # the copy of tomel.exe that the test runs
E2E_WINEXE=""     # the same as a Windows path: how its processes are known
E2E_WORK=""       # scratch folder for the test's files
TOMEL_PID=""      # the wine launcher of the running program; it ends with the program
TOMEL_LOG=""
TOMEL_RC=""
WIN=""            # the window found last by wait_window
CAPTION=""        # the caption read last
e2e_name=$(basename "$0" .sh)

say() { printf '%s\n' "$*"; }
ok() { printf '  ok: %s\n' "$*"; }

e2e_init() {
    [ $# -ge 2 ] || { echo "usage: $0 <path-to-tomel.exe> <scratch-dir>" >&2; exit 2; }
    local exe=$1 _ size="" last=""
    # A rebuild may replace the program just while the test starts: wait until it stops growing.
    for _ in $(seq 100); do
        size=$(stat -c %s "$exe" 2>/dev/null)
        [ -n "$size" ] && [ "$size" != 0 ] && [ "$size" = "$last" ] && break
        last=$size
        sleep 0.2
    done
    mkdir -p "$2" || exit 1
    E2E_WORK="$(cd "$2" && pwd)/work"
    rm -rf "$E2E_WORK"
    mkdir -p "$E2E_WORK/bin" || exit 1
    E2E_EXE="$E2E_WORK/bin/tomel.exe"
    cp "$exe" "$E2E_EXE" || { echo "FAIL: cannot copy $exe"; exit 1; }
    E2E_WINEXE=$(winpath "$E2E_EXE")
    export LC_ALL=C.UTF-8   # non-ASCII names on the command line reach Wine through the Unix locale
    local envfile="${TOMEL_WINE_DIR:-$E2E_TOP/build/wine}/env"
    "$E2E_TOP/scripts/wine-session.sh" start >/dev/null 2>&1 </dev/null
    [ -f "$envfile" ] || { echo "FAIL: the test display did not start (no $envfile)"; exit 1; }
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
    say "PASS $e2e_name ($SECONDS s)"
    exit 0
}

# Kills what is left of this test's program, each process by its PID. The copy's path is unique
# to this test, so matching on it touches nothing else.
kill_tomel() {
    local pid
    for pid in $(tomel_pids); do kill -9 "$pid" 2>/dev/null; done
    if [ -n "$TOMEL_PID" ]; then
        kill -9 "$TOMEL_PID" 2>/dev/null
        wait "$TOMEL_PID" 2>/dev/null
        TOMEL_PID=""
    fi
    return 0
}

tomel_pids() {
    [ -n "$E2E_WINEXE" ] || return 0
    local dir
    for dir in /proc/[0-9]*; do
        case "$(tr '\0' ' ' 2>/dev/null <"$dir/cmdline")" in *"$E2E_WINEXE"*) echo "${dir#/proc/}" ;; esac
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
    [ -z "$WIN" ] || say "  caption now: $(xdotool getwindowname "$WIN" 2>/dev/null || echo '(window gone)')"
    import -window root "$E2E_WORK/failure.png" 2>/dev/null && say "  screenshot: $E2E_WORK/failure.png"
    if [ -n "$TOMEL_LOG" ] && [ -s "$TOMEL_LOG" ]; then
        say "  program log ($TOMEL_LOG):"
        tail -n 20 "$TOMEL_LOG" | sed 's/^/    /'
    fi
    kill_tomel
    say "FAIL $e2e_name ($SECONDS s)"
    exit 1
}

# Linux path -> Windows path on drive Z: (/a/b c.txt -> Z:\a\b c.txt), relative ones made absolute.
winpath() {
    local p=$1
    case "$p" in /*) ;; *) p="$PWD/$p" ;; esac
    printf 'Z:%s' "${p//\//\\}"
}

# make_file NAME BYTES: writes BYTES (printf escapes expanded) to NAME in the scratch folder (NAME
# may hold a subfolder); FILE is set to its full path.
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

# start_tomel_in DIR ARGS...: starts the program in DIR with the arguments, in the background, its
# output in a log. start_tomel ARGS... starts it in the scratch folder.
start_tomel_in() {
    local dir=$1
    shift
    kill_tomel
    # A test that brings its own settings file beside the program sets E2E_KEEP_SETTINGS.
    [ -n "${E2E_KEEP_SETTINGS:-}" ] || rm -f "$E2E_WORK/bin/tomel.ini" "$E2E_WORK/bin/tomel.lang.ini"
    TOMEL_LOG="$E2E_WORK/tomel-$(date +%s%N).log"
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
# matches; sets WIN and CAPTION. Fails after SECONDS (default 10).
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
        [ -z "$TOMEL_PID" ] || kill -0 "$TOMEL_PID" 2>/dev/null ||
            fail "the program ended before a window titled /$re/ appeared"
        sleep 0.1
    done
    fail "no window titled /$re/ within $limit s"
}

# focus_window: gives WIN the focus with a click inside its client area, away from the system menu.
# focus_window [WINDOW [X Y]]: gives WIN (or WINDOW) the focus with a click at X, Y of its outer
# rectangle (default 120, 70: inside the client area, away from the system menu).
focus_window() {
    local w=${1:-$WIN}
    xdotool mousemove --window "$w" "${2:-120}" "${3:-70}" click 1 || fail "cannot click window $w"
    sleep 0.2
}

send_keys() { xdotool key --delay 50 "$@" || fail "xdotool could not send $*"; }

read_caption() { CAPTION=$(xdotool getwindowname "$WIN" 2>/dev/null) || CAPTION=""; }

# wait_caption REGEX [SECONDS]: polls WIN's caption until it matches; fails after SECONDS (default 3).
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
    [ -z "$(tomel_pids)" ] || fail "program processes left after its end: $(tomel_pids)"
}

# Exit with Esc: focus, Escape, and exit code 0.
check_escape_exits() {
    focus_window
    send_keys Escape
    wait_exit 10
    [ "$TOMEL_RC" = 0 ] || fail "exit code after Esc is $TOMEL_RC, expected 0"
}

# Prints "X Y W H" of a window's outer rectangle on the screen.
window_box() {
    xwininfo -id "${1:-$WIN}" 2>/dev/null | awk '
        /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
        /Width:/ { w = $2 } /Height:/ { h = $2 }
        END { if (w == "") exit 1; print x, y, w, h }'
}

# Moves the pointer off the program's windows, for clean screenshots: to the top right corner of
# Wine's desktop, not off it (a pointer outside the desktop leaves Wine unable to move it later).
park_pointer() { xdotool mousemove 1015 8 >/dev/null 2>&1; }

screenshot() { import -window root "$1" 2>/dev/null || fail "import could not take a screenshot"; }

# crop SHOT GEOMETRY OUT
crop() { convert "$1" -crop "$2" +repage "$3" || fail "convert could not crop $1"; }

# Number of pixels of an image that differ from another of the same size.
differing_pixels() { compare -metric AE "$1" "$2" null: 2>&1 | awk '{ print int($1) }'; }
