# Shared helpers for the end-to-end tests: the real tomel.exe under Wine, driven from outside with
# xdotool and observed through its caption, its files, its exit code and the screen.
#
# A test script does:
#   source "$(dirname "$0")/lib.sh"
#   e2e_init "$@"            # $1 = tomel.exe, $2 = scratch directory
#   ...
#   e2e_pass                 # last line
# and calls `fail "why"` on the first thing that is wrong: that prints the reason, the caption and
# the program's output, leaves a screenshot and exits 1; the program is killed on every exit.
#
# The program runs from a private copy in the scratch directory, beside a copy of its help text, so
# the files it writes beside itself stay there.

E2E_TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Set by the helpers: TOMEL_PID the running program, TOMEL_RC its exit code once it has ended, WIN
# and CAPTION the window wait_title found last and its caption.

e2e_init() {
    mkdir -p "$2" || exit 1
    E2E_WORK="$(cd "$2" && pwd)/work"
    E2E_EXE="$E2E_WORK/bin/tomel.exe"
    # A file or folder a failed run left immutable (the tests use chattr +i) would stay.
    chattr -R -i "$E2E_WORK" 2>/dev/null
    rm -rf "$E2E_WORK" && mkdir -p "$E2E_WORK/bin" || exit 1
    cp "$1" "$(dirname "$1")/Tomel.txt" "$E2E_WORK/bin/" || { echo "FAIL: cannot copy $1 and its help text"; exit 1; }
    export LC_ALL=C.UTF-8   # non-ASCII names on the command line reach Wine through the Unix locale
    "$E2E_TOP/scripts/wine-session.sh" start >/dev/null 2>&1 </dev/null
    # shellcheck disable=SC1091
    source "${TOMEL_WINE_DIR:-$E2E_TOP/build/wine}/env" || { echo "FAIL: the test display did not start"; exit 1; }
    # shellcheck source=../../scripts/wine-env.sh
    source "$E2E_TOP/scripts/wine-env.sh"
    why=$(tomel_can_run "$E2E_EXE") || { echo "skipped: $why"; exit "$TOMEL_SKIP"; }
    trap kill_tomel EXIT
}

e2e_pass() { echo "PASS $(basename "$0" .sh) ($SECONDS s)"; exit 0; }

kill_tomel() { [ -z "$TOMEL_PID" ] || { kill -9 "$TOMEL_PID"; wait "$TOMEL_PID"; } 2>/dev/null; TOMEL_PID=""; }

fail() {
    echo "FAIL: $*"
    [ -z "$WIN" ] || echo "  caption now: $(xdotool getwindowname "$WIN" 2>/dev/null || echo '(window gone)')"
    import -window root "$E2E_WORK/failure.png" 2>/dev/null && echo "  screenshot: $E2E_WORK/failure.png"
    [ ! -s "$E2E_WORK/tomel.log" ] || tail -n 20 "$E2E_WORK/tomel.log"
    exit 1
}

# Linux path -> Windows path on drive Z: (/a/b c.txt -> Z:\a\b c.txt).
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# make_file NAME BYTES: writes BYTES (printf escapes expanded) to NAME in the scratch folder (NAME
# may hold a subfolder); FILE is set to its full path.
# shellcheck disable=SC2059
make_file() { FILE=$E2E_WORK/$1; mkdir -p "$(dirname "$FILE")" && printf "$2" >"$FILE" || fail "cannot write $FILE"; }

# write_ini FILE LINE...: the program's own format, UTF-16 LE with byte-order mark and CR LF.
write_ini() { { printf '\xff\xfe'; printf '%s\r\n' "${@:2}" | iconv -f UTF-8 -t UTF-16LE; } >"$1" || fail "cannot write $1"; }
# ini_value FILE KEY: the value of KEY in a file the program wrote.
ini_value() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r' | sed -n "s/^$2=//p" | head -1; }

# start_tomel ARGS...: starts the program in the scratch folder, in the background. The program and
# the loader can be replaced with EXE and LOADER.
start_tomel() {
    kill_tomel
    (cd "$E2E_WORK" && exec "${LOADER:-$TOMEL_WINE}" "${EXE:-$(winpath "$E2E_EXE")}" "$@") </dev/null \
        >"$E2E_WORK/tomel.log" 2>&1 &
    TOMEL_PID=$!
}

# wait_title REGEX: polls for up to 10 s for a visible window whose title matches; sets WIN and CAPTION.
wait_title() {
    for _ in $(seq 100); do
        for WIN in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
            CAPTION=$(xdotool getwindowname "$WIN") && grep -qE -- "$1" <<<"$CAPTION" && return 0
        done
        kill -0 "$TOMEL_PID" 2>/dev/null || fail "the program ended before a window titled /$1/ appeared"
        sleep 0.1
    done
    fail "no window titled /$1/ within 10 s"
}

# focus [X Y]: gives WIN the focus with a click at X, Y of it (default 120, 70: inside the client
# area, away from the system menu); keys are lost when Wine's active window and the X focus disagree.
focus() { xdotool mousemove --window "$WIN" "${1:-120}" "${2:-70}" click 1 || fail "cannot click window $WIN"; sleep 0.2; }

send_keys() { xdotool key --delay 50 "$@" || fail "xdotool could not send $*"; }

# wait_exit: waits up to 10 s for the program to end; sets TOMEL_RC. With NO_WINDOW set, the program
# must show no window meanwhile.
wait_exit() {
    for _ in $(seq 100); do
        kill -0 "$TOMEL_PID" 2>/dev/null || break
        [ -z "${NO_WINDOW:-}" ] || [ -z "$(xdotool search --onlyvisible --name Tomel 2>/dev/null)" ] ||
            fail "a window appeared"
        sleep 0.1
    done
    kill -0 "$TOMEL_PID" 2>/dev/null && fail "the program is still running 10 s later"
    wait "$TOMEL_PID"
    TOMEL_RC=$?
    TOMEL_PID=""
}

# quit [X Y]: Esc in the focused window ends the program with exit code 0.
quit() {
    focus "$@"
    send_keys Escape
    wait_exit
    [ "$TOMEL_RC" = 0 ] || fail "exit code after Esc is $TOMEL_RC, expected 0"
}
