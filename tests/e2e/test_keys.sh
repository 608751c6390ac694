#!/usr/bin/env bash
# Keys through the real message loop on a file of five entries, read back from the caption
# "<name> - Tomel | k/5 | ...": navigation with wrapping, the Apps key's menu closed with Esc, Enter
# stopping the slideshow, a Ctrl key opening its dialog, Esc ending with exit code 0.
# Usage: test_keys.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

make_file "keys.txt" 'ONE\n\nTWO\n\nTHREE\n\nFOUR\n\nFIVE\n'
title='keys\.txt - Tomel'
start_tomel "$(winpath "$FILE")"
wait_window "^$title \\| 1/5 \\| 00:00:0[0-5]\$"
focus_window
# KEY ENTRY pairs; every key restarts the 5 s period, so no slideshow step comes between them.
for step in Home:1 Down:2 Right:3 Up:2 End:5 Down:1 Left:5 space:1 BackSpace:5; do
    send_keys "${step%:*}"
    wait_caption "^$title \\| ${step#*:}/5 \\| 00:00:0[45]\$"
done
ok "navigation keys, wrapping at both ends: $CAPTION"
send_keys Menu
sleep 0.5
send_keys Escape
sleep 0.5
kill -0 "$TOMEL_PID" 2>/dev/null || fail "Esc in the menu ended the program"
send_keys Home
wait_caption "^$title \\| 1/5 \\|"
ok "Apps opened the menu, Esc closed only the menu"
send_keys Return
wait_caption "^$title \\| 1/5 \\| Stop\$"
sleep 1.2
send_keys Down
wait_caption "^$title \\| 2/5 \\| Stop\$"
ok "Enter stopped the slideshow: $CAPTION"
send_keys ctrl+t
main=$WIN
wait_window '^Slideshow Timer$'
send_keys Escape
for _ in $(seq 30); do xwininfo -id "$WIN" 2>/dev/null | grep -q IsViewable || break; sleep 0.1; done
xwininfo -id "$WIN" 2>/dev/null | grep -q IsViewable && fail "Esc did not close the timer dialog"
WIN=$main
ok "Ctrl+T opened the timer dialog, Esc closed it"
check_escape_exits
ok "Esc ended the program with exit code 0"
e2e_pass
