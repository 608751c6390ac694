#!/usr/bin/env bash
# "-translate": the English language file written beside the program, the old one kept as
# "tomel.lang.ini.bak", no window, exit code 0; a file that cannot be replaced ends with a non-zero
# code and leaves the old file and the old backup as they were.
# Usage: test_translate.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"
export E2E_KEEP_SETTINGS=1
LANG_FILE="$E2E_WORK/bin/tomel.lang.ini"
golden="$E2E_TOP/tests/data/language-english.txt"

# translate_run: runs "-translate", checks that no window appeared and reads the exit code.
translate_run() {
    start_tomel -translate
    local _
    for _ in $(seq 100); do
        kill -0 "$TOMEL_PID" 2>/dev/null || break
        [ -z "$(xdotool search --onlyvisible --name 'Tomel' 2>/dev/null | while read -r w; do ours "$w" && echo "$w"; done)" ] ||
            fail "a window appeared during -translate"
        sleep 0.1
    done
    wait_exit 10
}

check_english() {
    [ "$(head -c 2 "$LANG_FILE" | xxd -p)" = fffe ] || fail "the language file does not start with FF FE"
    tail -c +3 "$LANG_FILE" | iconv -f UTF-16LE -t UTF-8 | cmp -s - "$golden" ||
        fail "the language file differs from $golden: $(tail -c +3 "$LANG_FILE" | iconv -f UTF-16LE -t UTF-8 | diff - "$golden" | head -5)"
}

# 1. No language file yet: a new one, no backup.
rm -f "$LANG_FILE" "$LANG_FILE.bak"
translate_run
[ "$TOMEL_RC" = 0 ] || fail "exit code $TOMEL_RC, expected 0"
check_english
[ ! -e "$LANG_FILE.bak" ] || fail "a backup was made although there was no language file"
ok "no old file: English file written, no backup, exit code 0, no window"

# 2. An old (translated) file and an older backup: the old file becomes the backup.
printf 'old translation' >"$LANG_FILE"
printf 'older backup' >"$LANG_FILE.bak"
translate_run
[ "$TOMEL_RC" = 0 ] || fail "exit code $TOMEL_RC, expected 0"
check_english
[ "$(cat "$LANG_FILE.bak")" = "old translation" ] || fail "the backup does not hold the old file"
ok "old file: kept as tomel.lang.ini.bak, English file written"

# 3. A language file that cannot be replaced: a failure, and nothing changes.
printf 'old translation' >"$LANG_FILE"
printf 'older backup' >"$LANG_FILE.bak"
if chattr +i "$LANG_FILE" 2>/dev/null; then
    translate_run
    chattr -i "$LANG_FILE"
    [ "$TOMEL_RC" != 0 ] || fail "exit code 0 although the language file could not be written"
    [ "$(cat "$LANG_FILE")" = "old translation" ] || fail "the unwritable language file changed"
    [ "$(cat "$LANG_FILE.bak")" = "older backup" ] || fail "the backup changed although nothing was written"
    [ ! -e "$LANG_FILE.new" ] || fail "a partial file was left beside the language file"
    ok "unwritable file: exit code $TOMEL_RC, old file and backup unchanged"
else
    say "  skip: this file system has no immutable files (chattr)"
fi
e2e_pass
