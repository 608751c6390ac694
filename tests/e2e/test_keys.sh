#!/usr/bin/env bash
# Keys sent through the X server to the real program on its help text: the commands that hide and
# show the window again leave it the keyboard (transparency, the tray icon on and off, and the
# slideshow's hide cycle, which shows the window again without activating it); Esc ends it with
# exit code 0.
# Usage: test_keys.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

write_ini "$E2E_WORK/bin/tomel.ini" "[Slideshow]" "hide=TRUE" "timeslide=2000" "timehide=500" "countdown=FALSE" "[Settings]" "bookmark=0"
start_tomel
wait_title '^Tomel\.txt - Tomel \| 1/[0-9]+$'
last=$(sed -E 's/.* 1\/([0-9]+)$/\1/' <<<"$CAPTION")
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
