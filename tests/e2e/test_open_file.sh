#!/usr/bin/env bash
# Opening a text file named on the command line: the title, the entry on screen and the exit with
# Esc; a relative name with a trailing blank; a file that does not exist; the encodings that are
# refused with a message box.
# Usage: test_open_file.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

# The window shows the entry in the client area, below the caption; every step here reads it from
# a screenshot.
client_shot() { # OUT: the client area of WIN as it is on the screen now
    park_pointer
    screenshot "$E2E_WORK/screen.png"
    client_geometry
    crop "$E2E_WORK/screen.png" "$GEOMETRY" "$1"
}

# Polls the client area until it shows N lines of text (bands of dark pixels), up to 3 s.
wait_text_lines() { # N OUT
    local _ bands=""
    for _ in $(seq 15); do
        client_shot "$2"
        bands=$(ink_bands "$2")
        [ "$bands" = "$1" ] && return 0
        sleep 0.2
    done
    fail "the client area shows $bands line(s) of text, expected $1 (see $2)"
}

say "1. An ANSI file of two paragraphs, named by its full path (with a blank in its name)"
make_file "two paragraphs.txt" 'ALPHA ONE\nALPHA TWO\n\nBETA THREE\n'
start_tomel "$(winpath "$FILE")"
wait_window '^two paragraphs\.txt - Tomel \| 1/2 \| 00:00:0[0-5]$'
ok "window found by its title: $CAPTION"
read -r _ _ main_width _ < <(window_box)
wait_text_lines 2 "$E2E_WORK/first.png"
level=$(mean_level "$E2E_WORK/first.png")
dark=$(dark_pixels "$E2E_WORK/first.png")
awk -v m="$level" 'BEGIN { exit !(m > 0.9) }' || fail "the client area is not white enough (mean level $level)"
[ "$dark" -gt 50 ] || fail "the client area has only $dark dark pixels: no text on show"
ok "the client area is white (mean level $level) with $dark dark text pixels in 2 lines: the first paragraph"
focus_window
send_keys Down
wait_caption '^two paragraphs\.txt - Tomel \| 2/2 \| 00:00:0[0-5]$'
wait_text_lines 1 "$E2E_WORK/second.png"
ok "Down shows the second paragraph: one line of text, caption \"$CAPTION\""
check_escape_exits

say "2. A relative name with a trailing blank, run from the file's folder"
make_file "docs/notes.txt" 'FIRST NOTE\n\nSECOND NOTE\n'
start_tomel_in "$E2E_WORK/docs" 'notes.txt '
wait_window '^notes\.txt - Tomel \| 1/2 \| 00:00:0[0-5]$'
ok "\"notes.txt \" opened notes.txt: $CAPTION"
check_escape_exits

say "3. A file name outside the ANSI code page"
make_file "grüße ĳ.txt" 'EINS\n\nZWEI\n'
start_tomel "$(winpath "$FILE")"
wait_window '^grüße ĳ\.txt - Tomel \| 1/2 \| 00:00:0[0-5]$'
ok "the title carries the name: $CAPTION"
check_escape_exits

say "4. A file that does not exist"
# What the window shows for it is compared with the same words shown as an entry.
make_file "reference.txt" 'No input file\n'
start_tomel "$(winpath "$FILE")"
wait_window '^reference\.txt - Tomel \| 1/1 \| '
sleep 0.3
client_shot "$E2E_WORK/reference.png"
check_escape_exits
start_tomel "$(winpath "$E2E_WORK/missing.txt")"
wait_window '^Tomel$'
ok "window titled \"Tomel\": nothing was loaded"
same=""
for _ in $(seq 15); do
    client_shot "$E2E_WORK/missing.png"
    diff=$(differing_pixels "$E2E_WORK/missing.png" "$E2E_WORK/reference.png")
    [ "$diff" = 0 ] && { same=1; break; }
    sleep 0.2
done
[ -n "$same" ] || fail "the client area differs from \"No input file\" shown as an entry in $diff pixels" \
    "(see missing.png and reference.png in $E2E_WORK)"
[ "$(dark_pixels "$E2E_WORK/missing.png")" -gt 20 ] || fail "no text in the client area"
ok "the client area shows \"No input file\" (pixel for pixel as that text shown as an entry)"
sleep 1.5
read_caption
[ "$CAPTION" = "Tomel" ] || fail "the caption changed to \"$CAPTION\" with nothing loaded"
ok "1.5 s later the caption is still \"Tomel\": no slideshow runs on nothing"
check_escape_exits

# A refused file: a message box titled "Tomel" with an exclamation icon while the program starts,
# then the empty main window, still working.
refused_file() { # NAME BYTES WHAT
    make_file "$1" "$2"
    start_tomel "$(winpath "$FILE")"
    wait_window '^Tomel$'
    local box=$WIN bx by bw bh w
    read -r bx by bw bh < <(window_box "$box")
    [ "$bw" -lt "$main_width" ] || fail "the window titled \"Tomel\" is $bw pixels wide: not a message box"
    for w in $(xdotool search --onlyvisible --name '^Tomel' 2>/dev/null); do
        [ "$w" != "$box" ] && ours "$w" && fail "the main window is visible while the message box is up"
    done
    park_pointer
    sleep 0.3
    screenshot "$E2E_WORK/screen.png"
    crop "$E2E_WORK/screen.png" "${bw}x${bh}+${bx}+${by}" "$E2E_WORK/box.png"
    local orange dark
    orange=$(orange_pixels "$E2E_WORK/box.png")
    dark=$(dark_pixels "$E2E_WORK/box.png")
    [ "$orange" -gt 30 ] || fail "no exclamation icon in the message box ($orange orange pixels)"
    [ "$dark" -gt 30 ] || fail "no text in the message box"
    ok "$3: message box \"Tomel\", ${bw}x${bh}, exclamation icon ($orange orange pixels), text ($dark dark pixels)"
    BOX_WIDTH=$bw
    # Click on its text, above the OK button.
    focus_window "$box" $((bw / 2)) 40
    send_keys Return
    local _
    for _ in $(seq 30); do
        xwininfo -id "$box" 2>/dev/null | grep -q 'IsViewable' || break
        sleep 0.1
    done
    xwininfo -id "$box" 2>/dev/null | grep -q 'IsViewable' && fail "Return did not close the message box"
    ok "Return closed the message box"
    wait_window '^Tomel$'
    read -r _ _ w _ < <(window_box)
    [ "$w" = "$main_width" ] || fail "the window titled \"Tomel\" is $w pixels wide, the main window $main_width"
    client_shot "$E2E_WORK/refused.png"
    dark=$(dark_pixels "$E2E_WORK/refused.png")
    [ "$dark" = 0 ] || fail "the main window shows something ($dark dark pixels) although nothing was loaded"
    ok "the main window came up titled \"Tomel\", empty"
    focus_window
    send_keys Down
    sleep 0.5
    read_caption
    [ "$CAPTION" = "Tomel" ] || fail "Down changed the caption to \"$CAPTION\" with nothing loaded"
    ok "Down with nothing loaded leaves the caption alone"
    check_escape_exits
}

say "5. A UTF-8 file with a byte-order mark"
refused_file "utf8.txt" '\xef\xbb\xbfALPHA\n\nBETA\n' "UTF-8 refused"
utf8_box=$BOX_WIDTH

say "6. A UTF-16 big-endian file"
refused_file "utf16be.txt" '\xfe\xff\x00A\x00\n\x00\n\x00B\x00\n' "big-endian UTF-16 refused"
[ "$BOX_WIDTH" -gt "$utf8_box" ] || fail "the big-endian box ($BOX_WIDTH px) is not wider than the UTF-8 box" \
    "($utf8_box px): the same short text?"
ok "its box is wider than the UTF-8 one ($BOX_WIDTH > $utf8_box px): the longer message"

e2e_pass
