#!/usr/bin/env bash
# The real program started without arguments shows its help text with the entry number and the
# countdown in its caption; keys sent through the X server step through it and stop the slideshow;
# Esc ends it with exit code 0 and it saves where it stood in "tomel.ini" beside itself.
# Usage: test_keys.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

start_tomel
wait_title '^Tomel\.txt - Tomel \| 1/[0-9]+ \| 00:00:0[0-5]$'
last=$(sed -E 's/.* 1\/([0-9]+) .*/\1/' <<<"$CAPTION")
focus
# Every key restarts the 5 s period, so no slideshow step comes between them.
for step in Down:2 End:"$last" Down:1; do
    send_keys "${step%:*}"
    wait_title "^Tomel\\.txt - Tomel \\| ${step#*:}/$last \\| 00:00:0[45]\$"
done
send_keys Up Return
wait_title "^Tomel\\.txt - Tomel \\| $last/$last \\| Stop\$"
quit
ini=$E2E_WORK/bin/tomel.ini
for expected in "file=$(winpath "$E2E_WORK/bin/Tomel.txt")" "bookmark=$((last - 1))" slide=FALSE; do
    [ "$(ini_value "$ini" "${expected%%=*}")" = "${expected#*=}" ] || fail "tomel.ini does not hold $expected"
done

# Commands that hide and show the window again leave it the keyboard: transparency, the tray icon on
# and off, and the slideshow's hide cycle, which shows the window again without activating it.
write_ini "$ini" "[Slideshow]" "hide=TRUE" "timeslide=2000" "timehide=500" "countdown=FALSE" "[Settings]" "bookmark=0"
start_tomel
wait_title '^Tomel\.txt - Tomel \| 1/[0-9]+$'
focus
send_keys Return
wait_title "^Tomel\\.txt - Tomel \\| 1/$last \\| Stop\$"
entry=1
for command in t t alt+i alt+i; do
    send_keys "$command"
    sleep 0.3   # the command has ended
    send_keys Down
    entry=$((entry + 1))
    wait_title "^Tomel\\.txt - Tomel \\| $entry/$last \\| Stop\$"
done
send_keys Return
wait_title "^Tomel\\.txt - Tomel \\| $((entry + 1))/$last\$"   # after the hide cycle
send_keys End
wait_title "^Tomel\\.txt - Tomel \\| $last/$last\$"
send_keys Return
wait_title "^Tomel\\.txt - Tomel \\| $last/$last \\| Stop\$"
quit
e2e_pass
