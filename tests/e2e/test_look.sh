#!/usr/bin/env bash
# The window's look on the screen with the real program: a background picture shows behind the text
# and the tray icon appears on Wine's desktop bar; with transparency the background colour is
# see-through.
# Usage: test_look.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

make_file "lines.txt" 'short\r\na somewhat longer line\r\nmid\r\n'
picture="$E2E_WORK/red-blue.bmp"
convert -size 64x32 xc:red -size 64x32 xc:blue -append "BMP3:$picture" || fail "cannot make the picture"
# run PICTURE TRANSPARENT: one line of text docked at the top centre, background lime, a tray icon.
run() {
    write_ini "$E2E_WORK/bin/tomel.ini" "[Portable]" "file=$(winpath "$FILE")" "bitmap=$(winpath "$picture")" \
        "[Display]" "multiline=FALSE" "caption=FALSE" "background=$1" "transparent=$2" "[Alignment]" "fitfont=TRUE" \
        "docking=1" "[Window]" "trayicon=TRUE" "[Colours]" "background=65280"
    start_tomel
    wait_title '^lines\.txt - Tomel'
    # The pointer goes to a corner of Wine's desktop, not off it: Wine could not move it back.
    xdotool mousemove 1015 8
}
# shows COLOUR HIDDEN: within 5 s, COLOUR (#RRGGBB) shows inside the window's border and HIDDEN does not.
shows() {
    for _ in $(seq 25); do
        colours=$(import -window "$WIN" png:- | convert - -shave 5x5 -unique-colors txt:)
        grep -q "$1" <<<"$colours" && ! grep -q "$2" <<<"$colours" && return 0
        sleep 0.2
    done
    fail "$1 does not show in the window, or $2 does"
}
tray() { import -window root -crop 40x24+984+744 "$E2E_WORK/$1"; }   # where Wine's desktop shows the tray icon

tray no-tray.png
run TRUE FALSE
shows '#FF0000' '#00FF00'
tray tray.png
[ "$(compare -metric AE "$E2E_WORK/no-tray.png" "$E2E_WORK/tray.png" null: 2>&1)" -gt 20 ] || fail "no tray icon appeared"
quit 20 8   # the window is one line high
run FALSE TRUE
shows '#000000' '#00FF00'
e2e_pass
