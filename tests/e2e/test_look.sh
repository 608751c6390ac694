#!/usr/bin/env bash
# The window's look on the screen with the real program: a background picture shows behind the text
# and the tray icon appears, and is gone after the exit; with transparency the background colour is
# see-through.
# Usage: test_look.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
export E2E_KEEP_SETTINGS=1

make_file "lines.txt" 'short\r\na somewhat longer line\r\nmid\r\n'
picture="$E2E_WORK/red-blue.bmp"
convert -size 64x32 xc:red -size 64x32 xc:blue -append "BMP3:$picture" || fail "cannot make the picture"
# run PICTURE TRANSPARENT: starts the program on one line of text at the top centre, background lime.
run() {
    write_ini "$E2E_WORK/bin/tomel.ini" "[Portable]" "file=$(winpath "$FILE")" "bitmap=$(winpath "$picture")" \
        "[Display]" "multiline=FALSE" "caption=FALSE" "background=$1" "transparent=$2" "[Alignment]" "fitfont=TRUE" \
        "docking=1" "[Window]" "trayicon=TRUE" "[Colours]" "background=65280"
    start_tomel
    wait_window '^lines\.txt - Tomel'
    park_pointer
}
# count COLOUR: its pixels inside the window on a new screenshot.
count() {
    local x y w h
    read -r x y w h <<<"$(window_box)"
    screenshot "$E2E_WORK/shot.png"
    convert "$E2E_WORK/shot.png" -crop "$((w - 10))x$((h - 10))+$((x + 5))+$((y + 5))" +repage -fill black +opaque "$1" \
        -fill white -opaque "$1" -colorspace Gray -format '%[fx:round(w*h*mean)]' info:
}

# within SECONDS CHECK...: polls the check every 0.2 s until it holds, for up to SECONDS.
within() {
    local limit=$1 _
    shift
    for _ in $(seq $((limit * 5))); do "$@" && return 0; sleep 0.2; done
    return 1
}
tray_differs() {
    screenshot "$E2E_WORK/now.png" && crop "$E2E_WORK/now.png" "$tray" "$E2E_WORK/t1.png"
    [ "$(differing_pixels "$E2E_WORK/t0.png" "$E2E_WORK/t1.png")" "$1" 20 ]
}
# shown COLOUR HIDDEN: COLOUR shows in the window and HIDDEN does not.
shown() { [ "$(count "$1")" -gt 0 ] && [ "$(count "$2")" = 0 ]; }

tray="40x24+984+744"
park_pointer
screenshot "$E2E_WORK/before.png" && crop "$E2E_WORK/before.png" "$tray" "$E2E_WORK/t0.png"
run TRUE FALSE
within 5 shown red lime || fail "the picture does not cover the background colour"
within 5 tray_differs -gt || fail "no tray icon appeared"
ok "the picture shows behind the text and the tray icon is there"
focus_window "$WIN" 20 8   # the window is one line high
send_keys Escape
wait_exit 10
within 5 tray_differs -le || fail "the tray icon is still there after the exit"
ok "the tray icon is gone after the exit"
run FALSE TRUE
within 5 shown black lime || fail "the text is not shown with the background colour see-through"
ok "with transparency the text shows and the background colour is see-through"
e2e_pass
