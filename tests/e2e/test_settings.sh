#!/usr/bin/env bash
# The settings file with the real program: "tomel.ini" beside it is read at start-up and written at
# the end; a settings file named on the command line is the one saved to, in place even in a folder
# that cannot be written; a program whose path is longer than 259 characters keeps to the files
# beside itself.
# Usage: test_settings.sh <path-to-tomel.exe> <scratch-dir>
# A folder made immutable by a run that failed half-way would keep the scratch folder from being emptied.
[ $# -ge 2 ] && chattr -i "$2/work/locked" 2>/dev/null
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
export E2E_KEEP_SETTINGS=1
INI="$E2E_WORK/bin/tomel.ini"

make_file "lines.txt" 'one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n'
write_ini "$INI" "[Tomel]" "version=1.00" "[Portable]" "file=$(winpath "$FILE")" "[Slideshow]" "timeslide=60000" \
    "[Display]" "multiline=FALSE" "[Position]" "left=100" "top=80" "right=500" "bottom=300" "[Settings]" "bookmark=2"
start_tomel
wait_window '^lines\.txt - Tomel \| 3/5 \| 00:01:00$'
read -r x y w h <<<"$(window_box)"
[ "$w" = 400 ] && [ "$h" = 220 ] || fail "window is ${w}x$h, the stored rectangle is 400x220"
[ "$x" -ge 96 ] && [ "$x" -le 104 ] && [ "$y" -ge 76 ] && [ "$y" -le 104 ] || fail "window at $x,$y, stored at 100,80"
focus_window
send_keys Down
wait_caption '\| 4/5 \|'
check_escape_exits
[ "$(ini_value "$INI" bookmark)" = 3 ] || fail "bookmark saved as $(ini_value "$INI" bookmark), expected 3"
[ "$(ini_value "$INI" timeslide)" = 60000 ] || fail "timeslide not kept"
ok "tomel.ini beside the program: read at start ($x,$y ${w}x$h, entry 3), saved at the end (bookmark=3)"

# A settings file named before a text file, in a folder that cannot be written: the text wins from
# its first entry, and the end saves to the named file in place, keeping its permissions.
make_file "locked/abc.txt" 'a\r\nb\r\nc\r\n'
locked=$E2E_WORK/locked
write_ini "$locked/own.ini" "[Tomel]" "version=1.00" "[Settings]" "bookmark=4" "[Display]" "multiline=FALSE"
chmod 640 "$locked/own.ini"
before=$(md5sum <"$INI")
chattr +i "$locked" 2>/dev/null || say "  this file system has no immutable folders (chattr): the folder stays writable"
start_tomel "$(winpath "$locked/own.ini")" "$(winpath "$FILE")"
wait_window '^abc\.txt - Tomel \| 1/3 \|'
focus_window
send_keys End
wait_caption '\| 3/3 \|'
check_escape_exits
chattr -i "$locked" 2>/dev/null
[ "$(ini_value "$locked/own.ini" bookmark)" = 2 ] || fail "own.ini bookmark is \"$(ini_value "$locked/own.ini" bookmark)\", expected 2"
[ "$(stat -c %a "$locked/own.ini")" = 640 ] || fail "the settings file's permissions became $(stat -c %a "$locked/own.ini")"
[ "$(ls "$locked" | wc -l)" = 2 ] || fail "files were left in the folder: $(ls "$locked")"
[ "$(md5sum <"$INI")" = "$before" ] || fail "tomel.ini changed although another settings file was named"
ok "saved in place to the settings file named on the command line"

# The cut at 259 characters falls inside the program's folder name, so the cut path's folder is the
# one above, which holds a settings file of its own.
parent="$E2E_WORK/$(printf 'p%.0s' $(seq 100))"
deep="$parent/$(printf 'q%.0s' $(seq 150))"
mkdir -p "$deep" || fail "cannot make $deep"
cp "$E2E_EXE" "$deep/tomel.exe"
printf 'HELP ONE\r\n\r\nHELP TWO\r\n' >"$deep/Tomel.txt"
write_ini "$parent/tomel.ini" "[Tomel]" "version=1.00" "[Portable]" "file=$(winpath "$FILE")" "[Settings]" "bookmark=2"
above=$(md5sum <"$parent/tomel.ini")
# Wine's launcher cannot start a program from so long a path; its loader can, given the Unix path.
loader=/usr/lib/wine/wine64
[ "$(od -An -tx1 -j "$(od -An -tu4 -j60 -N4 "$deep/tomel.exe" | tr -d ' ')" -N6 "$deep/tomel.exe" | tr -d ' ')" = 504500006486 ] ||
    loader=/usr/lib/wine/wine
E2E_WINEXE="$deep/tomel.exe"
TOMEL_LOG="$E2E_WORK/deep.log"
(cd "$E2E_WORK" && exec "$loader" "$deep/tomel.exe") </dev/null >"$TOMEL_LOG" 2>&1 &
TOMEL_PID=$!
wait_window '^Tomel\.txt - Tomel \| 1/2 \|'
check_escape_exits
[ "$(md5sum <"$parent/tomel.ini")" = "$above" ] || fail "the settings file of the folder above was written"
[ "$(ini_value "$deep/tomel.ini" bookmark)" = 0 ] || fail "no settings file was saved beside the program"
ok "a program on a long path shows and saves the files beside itself, not the folder above's"
e2e_pass
