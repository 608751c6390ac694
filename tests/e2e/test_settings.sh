#!/usr/bin/env bash
# The settings file with the real program: one named on the command line before a text file is read
# at start-up and, at the end, saved to in place even in a folder where no file can be made; a
# program in a folder that cannot be written at all keeps its settings in the user's application
# data; a program whose path is longer than 259 characters keeps to the files beside itself.
# Usage: test_settings.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

locked=$E2E_WORK/locked
make_file "locked/abc.txt" 'a\r\nb\r\nc\r\n'
write_ini "$locked/own.ini" "[Tomel]" "version=1.00" "[Slideshow]" "timeslide=60000" "[Display]" "multiline=FALSE" \
    "[Settings]" "bookmark=1"
chattr +i "$locked" 2>/dev/null || echo "this file system has no immutable folders (chattr): the folder stays writable"
start_tomel "$(winpath "$locked/own.ini")" "$(winpath "$FILE")"
wait_title '^abc\.txt - Tomel \| 1/3 \| 00:01:00$'
focus
send_keys End
wait_title '^abc\.txt - Tomel \| 3/3 \|'
quit
chattr -i "$locked" 2>/dev/null
[ "$(ini_value "$locked/own.ini" bookmark)" = 2 ] || fail "own.ini holds bookmark $(ini_value "$locked/own.ini" bookmark)"
[ ! -e "$E2E_WORK/bin/tomel.ini" ] || fail "tomel.ini was written although another settings file was named"

# Unpacked where nothing can be written (as under Program Files), with a settings file that cannot
# be written either: read from beside the program the first time, then kept for the user.
program="$E2E_WORK/program files"
peruser=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/Tomel
rm -rf "$peruser"
mkdir -p "$program" && cp "$E2E_EXE" "$E2E_WORK/bin/Tomel.txt" "$program/" || fail "cannot copy the program to $program"
write_ini "$program/tomel.ini" "[Tomel]" "version=1.00" "[Settings]" "bookmark=2"
if chattr +i "$program/tomel.ini" "$program" 2>/dev/null; then
    EXE=$(winpath "$program/tomel.exe") start_tomel
    wait_title '^Tomel\.txt - Tomel \| 3/[0-9]+ \|'
    last=$(sed -E 's/.*\| 3\/([0-9]+) \|.*/\1/' <<<"$CAPTION")
    focus
    send_keys End
    wait_title "^Tomel\\.txt - Tomel \\| $last/$last \\|"
    quit
    [ "$(ini_value "$peruser/tomel.ini" bookmark)" = $((last - 1)) ] || fail "the settings were not kept for the user"
    EXE=$(winpath "$program/tomel.exe") start_tomel
    wait_title "^Tomel\\.txt - Tomel \\| $last/$last \\|"
    quit
    chattr -i "$program" "$program/tomel.ini"
    [ "$(ini_value "$program/tomel.ini" bookmark)" = 2 ] || fail "the settings file beside the program was changed"
    rm -rf "$peruser"
else
    echo "this file system has no immutable folders (chattr): the run in an unwritable folder is skipped"
fi

# The cut at 259 characters falls inside the program's folder name, so the cut path's folder is the
# one above, which holds a settings file of its own.
parent="$E2E_WORK/$(printf 'p%.0s' $(seq 100))"
deep="$parent/$(printf 'q%.0s' $(seq 150))"
mkdir -p "$deep" && cp "$E2E_EXE" "$E2E_WORK/bin/Tomel.txt" "$deep/" || fail "cannot copy the program to $deep"
write_ini "$parent/tomel.ini" "[Tomel]" "version=1.00" "[Portable]" "file=$(winpath "$FILE")" "[Settings]" "bookmark=2"
above=$(md5sum <"$parent/tomel.ini")
# Wine's launcher cannot start a program from so long a path; its loader can, given the Unix path.
LOADER=/usr/lib/wine/wine$([ "$(tomel_pe_bits "$E2E_EXE")" = 64 ] && echo 64) EXE=$deep/tomel.exe start_tomel
wait_title '^Tomel\.txt - Tomel \| 1/[0-9]+ \|'
quit
[ "$(md5sum <"$parent/tomel.ini")" = "$above" ] || fail "the settings file of the folder above was written"
[ "$(ini_value "$deep/tomel.ini" bookmark)" = 0 ] || fail "no settings file was saved beside the program"
e2e_pass
