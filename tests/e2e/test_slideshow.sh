#!/usr/bin/env bash
# The slideshow left alone on a file of three entries: the caption counts the 5 s slide period
# down once a second, steps to the next entry when it runs out, wraps from the last entry to the
# first, and stands still once Enter has stopped it.
# Usage: test_slideshow.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

make_file "slides.txt" 'RED\n\nGREEN\n\nBLUE\n'
title='slides\.txt - Tomel'

now() { printf '%s' "$EPOCHREALTIME"; }
seconds_between() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }
between() { awk -v x="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(x >= lo && x <= hi) }'; }

# watch_entry K NEXT LIMIT: polls the caption every 0.1 s while it shows entry K of 3, checking that
# the countdown only goes down; returns when it shows entry NEXT. Sets COUNTS (the countdown values
# seen on K), FOUR_AT (when 00:00:04 was first seen) and STEP_AT (when NEXT came).
watch_entry() {
    local k=$1 next=$2 limit=$3 start last=99 s
    start=$(now)
    COUNTS=""
    FOUR_AT=""
    STEP_AT=""
    while between "$(seconds_between "$start" "$(now)")" 0 "$limit"; do
        read_caption
        if [[ $CAPTION =~ ^$title\ \|\ $k/3\ \|\ 00:00:0([0-5])$ ]]; then
            s=${BASH_REMATCH[1]}
            [ "$s" -le "$last" ] || fail "the countdown went up from $last to $s on entry $k"
            [ "$s" = "$last" ] || COUNTS="$COUNTS $s"
            [ "$s" = 4 ] && [ -z "$FOUR_AT" ] && FOUR_AT=$(now)
            last=$s
        elif [[ $CAPTION =~ ^$title\ \|\ $next/3\ \|\ 00:00:0[45]$ ]]; then
            STEP_AT=$(now)
            return 0
        else
            fail "unexpected caption \"$CAPTION\" while entry $k was on show"
        fi
        sleep 0.1
    done
    fail "no step from entry $k to entry $next within $limit s (countdown seen:$COUNTS)"
}

start_tomel "$(winpath "$FILE")"
wait_window "^$title \\| 1/3 \\| 00:00:0[0-5]\$"
found=$(now)
ok "window found: $CAPTION"

watch_entry 1 2 8
[ "$(wc -w <<<"$COUNTS")" -ge 2 ] || fail "the countdown did not change on entry 1 (seen:$COUNTS)"
ok "entry 1: the countdown went$COUNTS, then \"$CAPTION\""
after=$(seconds_between "$found" "$STEP_AT")
between "$after" 3 8 || fail "the first step came $after s after the window appeared: the period is 5 s"
if [ -n "$FOUR_AT" ]; then
    d=$(seconds_between "$FOUR_AT" "$STEP_AT")
    between "$d" 3 6.5 || fail "the step came $d s after 00:00:04 was shown, expected about 4 s"
    ok "the step came $d s after 00:00:04 and $after s after the window appeared"
fi

watch_entry 2 3 8
d=$(seconds_between "$FOUR_AT" "$STEP_AT")
between "$d" 3 6.5 || fail "entry 2 -> 3 came $d s after 00:00:04"
ok "entry 2: the countdown went$COUNTS, then \"$CAPTION\" ($d s after 00:00:04)"

watch_entry 3 1 8
d=$(seconds_between "$FOUR_AT" "$STEP_AT")
between "$d" 3 6.5 || fail "entry 3 -> 1 came $d s after 00:00:04"
ok "entry 3: the countdown went$COUNTS, then wrapped to \"$CAPTION\" ($d s after 00:00:04)"

# Enter stops it: the caption shows "Stop" and stays so past a whole period.
focus_window
send_keys Return
wait_caption "^$title \\| 1/3 \\| Stop\$"
ok "Enter: \"$CAPTION\""
sleep 5.5
read_caption
[ "$CAPTION" = "${title//\\/} | 1/3 | Stop" ] || fail "the stopped slideshow moved on: \"$CAPTION\""
ok "5.5 s later still \"$CAPTION\""

check_escape_exits
e2e_pass
