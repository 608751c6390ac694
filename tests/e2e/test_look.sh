#!/usr/bin/env bash
# The window's look with the real program: settings that turn on a background picture, Fit To Font,
# docking at the top and no caption give a window of the text's size at the top centre with the
# picture behind the text; with the picture off the background colour shows; with the tray icon on,
# the icon appears and is gone after the exit.
# Usage: test_look.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
export E2E_KEEP_SETTINGS=1
INI="$E2E_WORK/bin/tomel.ini"

write_ini() {
    local file=$1
    shift
    { printf '\xff\xfe'; printf '%s\r\n' "$@" | iconv -f UTF-8 -t UTF-16LE; } >"$file" || fail "cannot write $file"
}
# count_colour SHOT GEOMETRY COLOUR: pixels of exactly that colour in the crop.
count_colour() {
    convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" -colorspace Gray \
        -format '%[fx:round(w*h*mean)]' info:
}

# The window is one line high: the click that gives it the focus goes inside it.
exit_by_escape() {
    focus_window "$WIN" 20 8
    send_keys Escape
    wait_exit 10
    [ "$TOMEL_RC" = 0 ] || fail "exit code after Esc is $TOMEL_RC, expected 0"
}

make_file "lines.txt" 'short\r\na somewhat longer line\r\nmid\r\n'
text=$FILE
picture="$E2E_WORK/red-blue.bmp"
convert -size 64x32 xc:red -size 64x32 xc:blue -append "BMP3:$picture" || fail "cannot make the picture"
# settings BACKGROUND TRAYICON: the settings of every run, with the picture and the tray icon on or off.
settings() {
    write_ini "$INI" "[Portable]" "file=$(winpath "$text")" "bitmap=$(winpath "$picture")" "[Display]" "multiline=FALSE" \
        "caption=FALSE" "background=$1" "[Alignment]" "fitfont=TRUE" "docking=1" "[Window]" "trayicon=$2" \
        "[Colours]" "background=65280"
}

# 1. Picture, Fit To Font, top centre, no caption.
settings TRUE FALSE
start_tomel
wait_window '^lines\.txt - Tomel'
sleep 0.5
read -r x y w h <<<"$(window_box)"
[ "$y" -le 1 ] || fail "window top at $y, docked at the work area's top (0)"
centre=$((x + w / 2))
[ "$centre" -ge 510 ] && [ "$centre" -le 514 ] || fail "window centred at x $centre, the work area's centre is 512"
[ "$h" -le 40 ] || fail "window ${w}x$h is higher than one line of text with its frame"
ok "fitted to one line and docked at the top centre: $x,$y ${w}x$h"
park_pointer
screenshot "$E2E_WORK/picture.png"
inner="$((w - 10))x$((h - 10))+$((x + 5))+$((y + 5))"
red=$(count_colour "$E2E_WORK/picture.png" "$inner" red)
green=$(count_colour "$E2E_WORK/picture.png" "$inner" lime)
[ "$red" -gt $(((w - 10) * (h - 10) / 3)) ] || fail "only $red red pixels of the picture behind the text"
[ "$green" = 0 ] || fail "$green pixels of the background colour show through the picture"
ok "the picture shows behind the text ($red red pixels)"
exit_by_escape

# 2. The picture switched off: the background colour.
settings FALSE FALSE
start_tomel
wait_window '^lines\.txt - Tomel'
sleep 0.5
read -r x y w h <<<"$(window_box)"
park_pointer
screenshot "$E2E_WORK/plain.png"
inner="$((w - 10))x$((h - 10))+$((x + 5))+$((y + 5))"
green=$(count_colour "$E2E_WORK/plain.png" "$inner" lime)
red=$(count_colour "$E2E_WORK/plain.png" "$inner" red)
[ "$green" -gt $(((w - 10) * (h - 10) / 3)) ] || fail "only $green pixels of the background colour"
[ "$red" = 0 ] || fail "$red red pixels although the picture is off"
ok "without the picture the background colour shows ($green pixels)"
exit_by_escape

# 3. The tray icon: it appears while the program runs and is gone after the exit.
tray="40x24+984+744"
park_pointer
screenshot "$E2E_WORK/tray-before.png"
settings TRUE TRUE
start_tomel
wait_window '^lines\.txt - Tomel'
sleep 1
screenshot "$E2E_WORK/tray-on.png"
crop "$E2E_WORK/tray-before.png" "$tray" "$E2E_WORK/t0.png"
crop "$E2E_WORK/tray-on.png" "$tray" "$E2E_WORK/t1.png"
[ "$(differing_pixels "$E2E_WORK/t0.png" "$E2E_WORK/t1.png")" -gt 20 ] || fail "no tray icon appeared"
ok "the tray icon is shown"
exit_by_escape
sleep 1
screenshot "$E2E_WORK/tray-after.png"
crop "$E2E_WORK/tray-after.png" "$tray" "$E2E_WORK/t2.png"
[ "$(differing_pixels "$E2E_WORK/t0.png" "$E2E_WORK/t2.png")" -le 20 ] || fail "the tray icon is still there after the exit"
ok "the tray icon is gone after the exit"
e2e_pass
