#!/usr/bin/env bash
# What only the real command line shows: names with blanks, a relative name with a trailing blank,
# a name outside the ANSI code page, a missing file; and "-translate", which writes the English
# language file beside the program without a window and says by its exit code whether it could.
# Usage: test_command_line.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

make_file "two paragraphs.txt" 'ALPHA\n\nBETA\n'
start_tomel "$(winpath "$FILE")"
wait_window '^two paragraphs\.txt - Tomel \| 1/2 \| 00:00:0[0-5]$'
check_escape_exits
make_file "docs/notes.txt" 'FIRST\n\nSECOND\n'
start_tomel_in "$E2E_WORK/docs" 'notes.txt '
wait_window '^notes\.txt - Tomel \| 1/2 \|'
check_escape_exits
make_file "grüße ĳ.txt" 'EINS\n\nZWEI\n'
start_tomel "$(winpath "$FILE")"
wait_window '^grüße ĳ\.txt - Tomel \| 1/2 \|'
check_escape_exits
start_tomel "$(winpath "$E2E_WORK/missing.txt")"
wait_window '^Tomel$'
check_escape_exits
ok "a name with blanks, a relative name with a trailing blank, a non-ANSI name, a missing file"

export E2E_KEEP_SETTINGS=1
LANG_FILE="$E2E_WORK/bin/tomel.lang.ini"
# translate_run: runs "-translate", checks that no window appears and reads the exit code.
translate_run() {
    start_tomel -translate
    local _ w
    for _ in $(seq 100); do
        kill -0 "$TOMEL_PID" 2>/dev/null || break
        for w in $(xdotool search --onlyvisible --name 'Tomel' 2>/dev/null); do
            ! ours "$w" || fail "a window appeared during -translate"
        done
        sleep 0.1
    done
    wait_exit 10
}
# OLD OLDER_BACKUP RC FILE BACKUP: the language file and its backup before the run, the exit code
# expected and what the two files hold afterwards ("english" for the golden English file).
while IFS=' ' read -r old older rc after backup; do
    rm -f "$LANG_FILE" "$LANG_FILE.bak"
    [ "$old" = - ] || printf '%s' "$old" >"$LANG_FILE"
    [ "$older" = - ] || printf '%s' "$older" >"$LANG_FILE.bak"
    if [ "$rc" = fails ]; then
        chattr +i "$LANG_FILE" 2>/dev/null || { say "  skip: no immutable files (chattr)"; continue; }
    fi
    translate_run
    chattr -i "$LANG_FILE" 2>/dev/null
    if [ "$rc" = fails ]; then
        [ "$TOMEL_RC" != 0 ] || fail "exit code 0 although the language file could not be written"
    else
        [ "$TOMEL_RC" = 0 ] || fail "exit code $TOMEL_RC, expected 0"
    fi
    if [ "$after" = english ]; then
        [ "$(head -c 2 "$LANG_FILE" | xxd -p)" = fffe ] || fail "the language file does not start with FF FE"
        tail -c +3 "$LANG_FILE" | iconv -f UTF-16LE -t UTF-8 | cmp -s - "$E2E_TOP/tests/data/language-english.txt" ||
            fail "the language file differs from tests/data/language-english.txt"
    else
        [ "$(cat "$LANG_FILE")" = "$after" ] || fail "the language file holds \"$(cat "$LANG_FILE")\", expected $after"
    fi
    if [ "$backup" = - ]; then
        [ ! -e "$LANG_FILE.bak" ] || fail "a backup was made although there was no language file"
    else
        [ "$(cat "$LANG_FILE.bak")" = "$backup" ] || fail "the backup holds \"$(cat "$LANG_FILE.bak")\", expected $backup"
    fi
    [ ! -e "$LANG_FILE.new" ] || fail "a partial file was left beside the language file"
    ok "-translate with language file $old and backup $older: exit code $TOMEL_RC, no window"
done <<'CASES'
- - 0 english -
translation backup 0 english translation
translation backup fails translation backup
CASES
e2e_pass
