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
# shows COLOUR HIDDEN [GEOMETRY]: within 5 s, COLOUR (#RRGGBB) shows inside the window's border, or in
# that part of the screen, and HIDDEN does not.
shows() {
    local window=$WIN
    [ -z "${3:-}" ] || window=root
    for _ in $(seq 25); do
        colours=$(import -window "$window" png:- | convert - ${3:+-crop "$3"} -shave 5x5 -unique-colors txt:)
        grep -q "$1" <<<"$colours" && ! grep -q "$2" <<<"$colours" && return 0
        sleep 0.2
    done
    fail "$1 does not show in the window, or $2 does"
}

run TRUE FALSE
shows '#FF0000' '#00FF00'
shows '#F08A1C' '#00FF00' 40x24+984+744   # the orange of the program's icon in the corner of Wine's desktop bar
quit 20 8   # the window is one line high
run FALSE TRUE
shows '#000000' '#00FF00'
e2e_pass
