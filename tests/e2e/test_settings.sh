#!/usr/bin/env bash
# The settings file with the real program: "tomel.ini" beside it is read at start-up and written at
# the end; a settings file named on the command line is the one saved to; a settings file that
# cannot be replaced is left as it was; ending the session (wineboot -e) saves.
# Usage: test_settings.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
export E2E_KEEP_SETTINGS=1
INI="$E2E_WORK/bin/tomel.ini"


make_file "lines.txt" 'one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n'
lines=$FILE
write_ini "$INI" "[Tomel]" "version=1.00" "[Portable]" "file=$(winpath "$lines")" "[Slideshow]" "timeslide=60000" "[Display]" "multiline=FALSE" \
    "[Position]" "left=100" "top=80" "right=500" "bottom=300" "[Settings]" "bookmark=2"

# 1. Start-up reads tomel.ini beside the program: the stored text at the stored entry and place.
start_tomel
wait_window '^lines\.txt - Tomel \| 3/5 \| 00:01:00$'
ok "tomel.ini beside the program: $CAPTION"
read -r x y w h <<<"$(window_box)"
[ "$w" = 400 ] && [ "$h" = 220 ] || fail "window is ${w}x$h, the stored rectangle is 400x220"
[ "$x" -ge 96 ] && [ "$x" -le 104 ] && [ "$y" -ge 76 ] && [ "$y" -le 104 ] || fail "window at $x,$y, stored at 100,80"
ok "window at the stored place ($x,$y ${w}x$h)"
focus_window
send_keys Down
wait_caption '\| 4/5 \|'
check_escape_exits
[ "$(head -c 2 "$INI" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "tomel.ini was not written as UTF-16 with byte-order mark"
[ "$(ini_value "$INI" bookmark)" = 3 ] || fail "bookmark saved as $(ini_value "$INI" bookmark), expected 3"
[ "$(ini_value "$INI" multiline)" = FALSE ] || fail "multiline not kept"
[ "$(ini_value "$INI" timeslide)" = 60000 ] || fail "timeslide not kept"
[ ! -e "$INI.new" ] || fail "a temporary file was left beside tomel.ini"
ok "saved at exit: bookmark=3, the other settings kept"

# 2. A settings file on the command line, then a text file: the text wins from its first entry, and
# the end of the program saves to the named settings file, not to tomel.ini.
make_file "other/other.ini" ''
other=$FILE
write_ini "$other" "[Tomel]" "version=1.00" "[Settings]" "bookmark=4" "[Display]" "multiline=FALSE"
make_file "abc.txt" 'a\r\nb\r\nc\r\n'
before=$(md5sum <"$INI")
start_tomel "$(winpath "$other")" "$(winpath "$FILE")"
wait_window '^abc\.txt - Tomel \| 1/3 \|'
ok "settings file then text file: $CAPTION"
focus_window
send_keys End
wait_caption '\| 3/3 \|'
check_escape_exits
[ "$(ini_value "$other" bookmark)" = 2 ] || fail "other.ini bookmark is $(ini_value "$other" bookmark), expected 2"
[ "$(md5sum <"$INI")" = "$before" ] || fail "tomel.ini changed although another settings file was named"
ok "saved to the settings file named on the command line"

# 3. A settings file that cannot be replaced stays as it was, and the program still ends normally.
if chattr +i "$INI" 2>/dev/null; then
    before=$(md5sum <"$INI")
    start_tomel
    wait_window '^lines\.txt - Tomel \| 4/5 \|'
    focus_window
    send_keys Down
    wait_caption '\| 5/5 \|'
    check_escape_exits
    after=$(md5sum <"$INI")
    chattr -i "$INI"
    [ "$after" = "$before" ] || fail "the immutable tomel.ini changed"
    [ ! -e "$INI.new" ] || fail "a temporary file was left beside the immutable tomel.ini"
    ok "an unwritable tomel.ini is left as it was"
else
    say "  skip: this file system has no immutable files (chattr)"
fi

# 4. Ending the session (log-off) saves the settings although the program gets no WM_DESTROY.
start_tomel
wait_window '^lines\.txt - Tomel \| 4/5 \|'
focus_window
send_keys Home
wait_caption '\| 1/5 \|'
tomel_wine wineboot.exe -e >/dev/null 2>&1 </dev/null
for _ in $(seq 100); do kill -0 "$TOMEL_PID" 2>/dev/null || break; sleep 0.1; done
[ "$(ini_value "$INI" bookmark)" = 0 ] || fail "after the end of the session bookmark is $(ini_value "$INI" bookmark), expected 0"
ok "the end of the session saved the settings (bookmark=0)"
kill_tomel
# wineboot -e also ended the desktop's keeper: bring the test display back for the tests after this.
"$E2E_TOP/scripts/wine-session.sh" start >/dev/null 2>&1 </dev/null
e2e_pass
