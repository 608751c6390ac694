#!/usr/bin/env bash
# Where the settings go: a writable settings file in a folder that cannot be written is saved in
# place, keeping its permissions; a program whose own path is longer than 259 characters uses the
# files beside itself, never those of the folder above.
# Usage: test_settings_files.sh <path-to-tomel.exe> <scratch-dir>
# A folder made immutable by a run that failed half-way would keep the scratch folder from being emptied.
[ $# -ge 2 ] && chattr -i "$2/work/locked" 2>/dev/null
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

say "1. A settings file in a folder that cannot be written"
make_file "locked/lines.txt" 'one\r\ntwo\r\nthree\r\n'
locked=$E2E_WORK/locked
write_ini "$locked/own.ini" "[Tomel]" "version=1.00" "[Portable]" "file=$(winpath "$FILE")" "[Display]" "multiline=FALSE"
chmod 640 "$locked/own.ini"
if chattr +i "$locked" 2>/dev/null; then
    start_tomel "$(winpath "$locked/own.ini")"
    wait_window '^lines\.txt - Tomel \| 1/3 \|'
    focus_window
    send_keys Down
    wait_caption '\| 2/3 \|'
    focus_window
    send_keys Escape
    wait_exit 10
    chattr -i "$locked"
    [ "$TOMEL_RC" = 0 ] || fail "exit code after Esc is $TOMEL_RC, expected 0"
    [ "$(ini_value "$locked/own.ini" bookmark)" = 1 ] || fail "bookmark is \"$(ini_value "$locked/own.ini" bookmark)\", expected 1: not saved"
    [ "$(stat -c %a "$locked/own.ini")" = 640 ] || fail "the settings file's permissions became $(stat -c %a "$locked/own.ini")"
    [ "$(ls "$locked" | wc -l)" = 2 ] || fail "files were left in the folder: $(ls "$locked")"
    ok "saved in place (bookmark=1), permissions 640 kept, nothing left beside it"
else
    say "  skip: this file system has no immutable folders (chattr)"
fi

say "2. A program whose path is longer than 259 characters"
# The cut at 259 characters falls inside the program's folder name, so the cut path's folder is the
# one above, which holds a settings file of its own.
parent="$E2E_WORK/$(printf 'p%.0s' $(seq 100))"
deep="$parent/$(printf 'q%.0s' $(seq 150))"
mkdir -p "$deep" || fail "cannot make $deep"
cp "$E2E_EXE" "$deep/tomel.exe"
printf 'HELP ONE\r\n\r\nHELP TWO\r\n' >"$deep/Tomel.txt"
make_file "above.txt" 'a\r\nb\r\nc\r\n'
write_ini "$parent/tomel.ini" "[Tomel]" "version=1.00" "[Portable]" "file=$(winpath "$FILE")" "[Settings]" "bookmark=2"
above=$(md5sum <"$parent/tomel.ini")
# Wine's launcher cannot start a program from so long a path; its loader can, given the Unix path.
loader=/usr/lib/wine/wine64
[ "$(od -An -tx1 -j "$(od -An -tu4 -j60 -N4 "$deep/tomel.exe" | tr -d ' ')" -N6 "$deep/tomel.exe" | tr -d ' ')" = 504500006486 ] ||
    loader=/usr/lib/wine/wine
E2E_WINEXE="$deep/tomel.exe"   # how its process is known
TOMEL_LOG="$E2E_WORK/deep.log"
(cd "$E2E_WORK" && exec "$loader" "$deep/tomel.exe") </dev/null >"$TOMEL_LOG" 2>&1 &
TOMEL_PID=$!
wait_window '^Tomel\.txt - Tomel \| 1/2 \|'
ok "it shows the help text beside itself: $CAPTION"
check_escape_exits
[ "$(md5sum <"$parent/tomel.ini")" = "$above" ] || fail "the settings file of the folder above was written"
[ "$(ini_value "$deep/tomel.ini" bookmark)" = 0 ] || fail "no settings file was saved beside the program"
ok "saved beside itself (through its short path); the folder above's settings untouched"

e2e_pass
