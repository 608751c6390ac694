#!/usr/bin/env bash
# The navigation keys on a file of five entries, read back from the caption "<name> - Tomel | k/5 | ...":
# next and previous with wrapping at both ends, first and last, slide next and previous, random,
# Enter to stop and restart the slideshow, Esc to end.
# Usage: test_keys.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# Five paragraphs: multiline is on by default, so each is one entry.
make_file "keys.txt" 'ONE\n\nTWO\n\nTHREE\n\nFOUR\n\nFIVE\n'
title='keys\.txt - Tomel'
# Every navigation key restarts the slide period: the countdown reads 5 s again (4 s if the
# machine is slow to read it back).
running='00:00:0[45]'

# press KEY ENTRY [TAIL]: presses KEY and expects entry ENTRY of 5 with TAIL after it.
press() {
    local key=$1 k=$2 tail=${3:-$running}
    send_keys "$key"
    wait_caption "^$title \\| $k/5 \\| $tail\$"
    ok "$(printf '%-9s' "$key") -> $CAPTION"
}

start_tomel "$(winpath "$FILE")"
wait_window "^$title \\| 1/5 \\| 00:00:0[0-5]\$"
ok "window found: $CAPTION"
focus_window
# Home first: it also restarts the slide period, so no slideshow step can come between the keys.
press Home 1
press Down 2
press Down 3
press Up 2
press Right 3
press Left 2
press End 5
press Down 1        # next wraps from the last to the first
press Up 5          # previous wraps from the first to the last
press Home 1
press space 2
press BackSpace 1
press BackSpace 5   # slide previous wraps from the first to the last
press space 1       # slide next wraps from the last to the first

# Random: Page Up and Page Down show any entry, the one on show included.
seen=""
for key in Prior Next Prior Next Prior Next Prior Next Prior Next Prior Next Prior Next Prior Next; do
    send_keys "$key"
    sleep 0.25
    read_caption
    printf '%s' "$CAPTION" | grep -qE "^$title \\| [1-5]/5 \\| $running\$" ||
        fail "after $key the caption is \"$CAPTION\": not an entry of 1..5 with a fresh countdown"
    k=$(printf '%s' "$CAPTION" | sed -E 's/.*\| ([0-9]+)\/5 \|.*/\1/')
    case " $seen " in *" $k "*) ;; *) seen="$seen $k" ;; esac
done
distinct=$(wc -w <<<"$seen")
[ "$distinct" -ge 2 ] || fail "16 random steps all showed entry$seen"
ok "Page Up/Down 16 times: entries$seen (all in 1..5, $distinct different)"

# Enter stops the slideshow on the entry on show, and navigation still works while stopped.
k=$(printf '%s' "$CAPTION" | sed -E 's/.*\| ([0-9]+)\/5 \|.*/\1/')
press Return "$k" 'Stop'
next=$((k % 5 + 1))
press Down "$next" 'Stop'
sleep 1.2
read_caption
[ "$CAPTION" = "${title//\\/} | $next/5 | Stop" ] || fail "the caption changed to \"$CAPTION\" while stopped"
ok "1.2 s later still \"$CAPTION\": no countdown while stopped"
# Enter again: the countdown comes back with a full period.
press Return "$next" '00:00:0[45]'
sleep 1.2
wait_caption "^$title \\| $next/5 \\| 00:00:0[234]\$"
ok "the countdown runs again: $CAPTION"

check_escape_exits
e2e_pass
