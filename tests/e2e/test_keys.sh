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
e2e_pass
