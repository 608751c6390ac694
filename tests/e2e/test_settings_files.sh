#!/usr/bin/env bash
# Where the settings go: a writable settings file in a folder that cannot be written is saved in
# place, keeping its permissions.
# Usage: test_settings_files.sh <path-to-tomel.exe> <scratch-dir>
# A folder made immutable by a run that failed half-way would keep the scratch folder from being emptied.
[ $# -ge 2 ] && chattr -i "$2/work/locked" 2>/dev/null
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

say "1. A settings file in a folder that cannot be written"
make_file "locked/lines.txt" 'one\r\ntwo\r\nthree\r\n'
locked=$E2E_WORK/locked
write_ini "$locked/own.ini" "[Tomel]" "version=1.00" "[Portable]" "file=$(winpath "$FILE")" "[Display]" "multiline=FALSE"
chmod 640 "$locked/own.ini"
if chattr +i "$locked" 2>/dev/null; then
    start_tomel "$(winpath "$locked/own.ini")"
    wait_window '^lines\.txt - Tomel \| 1/3 \|'
    focus_window
    send_keys Down
    wait_caption '\| 2/3 \|'
    focus_window
    send_keys Escape
    wait_exit 10
    chattr -i "$locked"
    [ "$TOMEL_RC" = 0 ] || fail "exit code after Esc is $TOMEL_RC, expected 0"
    [ "$(ini_value "$locked/own.ini" bookmark)" = 1 ] || fail "bookmark is \"$(ini_value "$locked/own.ini" bookmark)\", expected 1: not saved"
    [ "$(stat -c %a "$locked/own.ini")" = 640 ] || fail "the settings file's permissions became $(stat -c %a "$locked/own.ini")"
    [ "$(ls "$locked" | wc -l)" = 2 ] || fail "files were left in the folder: $(ls "$locked")"
    ok "saved in place (bookmark=1), permissions 640 kept, nothing left beside it"
else
    say "  skip: this file system has no immutable folders (chattr)"
fi

e2e_pass
