#!/usr/bin/env bash
# A hand-written language file changes a menu caption (its mnemonic then chooses it) and a dialog
# caption; the Apps key opens the menu and Esc closes it again without ending the program.
# Usage: test_translated_ui.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
export E2E_KEEP_SETTINGS=1
make_file "three.txt" 'ONE\n\nTWO\n\nTHREE\n'
text=$FILE
title='three\.txt - Tomel'

# 1. English: Apps opens the menu, Esc closes only the menu, Down then reaches the window again.
rm -f "$E2E_WORK/bin/tomel.lang.ini"
start_tomel "$(winpath "$text")"
wait_window "^$title \\| 1/3 \\|"
focus_window
send_keys Menu
sleep 0.5
send_keys Escape
sleep 0.5
kill -0 "$TOMEL_PID" 2>/dev/null || fail "Esc in the menu ended the program"
send_keys Down
wait_caption "^$title \\| 2/3 \\|"
ok "Apps opened the menu, Esc closed it, the window has the keys again"
send_keys Menu
sleep 0.5
send_keys q
sleep 0.5
kill -0 "$TOMEL_PID" 2>/dev/null || fail "q chose something in the English menu"
send_keys Escape
sleep 0.3
send_keys Escape
wait_exit 10
ok "the English menu has no item for q"

# 2. Translated: "E&xit" becomes "&Quitter", the slideshow timer dialog "Minuterie".
printf '[Menu Items]\r\nE&xit\tEsc=&Quitter\tEsc\r\n[Dialogs]\r\nSlideshow Timer=Minuterie\r\n' |
    iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$E2E_WORK/bin/tomel.lang.ini"
start_tomel "$(winpath "$text")"
wait_window "^$title \\| 1/3 \\|"
focus_window
send_keys ctrl+t
wait_window '^Minuterie$'
ok "the timer dialog is titled \"$CAPTION\""
send_keys Escape
wait_window "^$title \\| 1/3 \\|"
focus_window
send_keys Menu
sleep 0.5
send_keys q
wait_exit 10
[ "$TOMEL_RC" = 0 ] || fail "exit code $TOMEL_RC after &Quitter, expected 0"
ok "Apps, q chose the translated &Quitter and ended the program"
e2e_pass
