#!/usr/bin/env bash
# What only the real command line shows: a full name with blanks and characters outside the ANSI
# code page, the same name given relative to the current folder with a trailing blank; and
# "-translate", which writes the English language file beside the program without a window, keeps
# the old one as a backup and says by its exit code whether it could.
# Usage: test_command_line.sh <path-to-tomel.exe> <scratch-dir>
source "$(dirname "$0")/lib.sh"
e2e_init "$@"

make_file "grüße ĳ two.txt" 'EINS\n\nZWEI\n'
for argument in "$(winpath "$FILE")" "grüße ĳ two.txt "; do
    start_tomel "$argument"
    wait_title '^grüße ĳ two\.txt - Tomel \| 1/2 \|'
    quit
done

lang=$E2E_WORK/bin/tomel.lang.ini
english=$(cat "$E2E_TOP/tests/data/language-english.txt")
# text FILE: what a language file holds, UTF-16 with byte-order mark, as UTF-8; nothing when there is none.
text() { [ ! -e "$1" ] || iconv -f UTF-16 -t UTF-8 "$1"; }
# A settings file named before "-translate" is read first; the run still shows no window.
make_file own.ini ''
write_ini "$FILE" "[Tomel]" "version=1.00" "[Window]" "trayicon=TRUE"
own=$(winpath "$FILE")
# The arguments before "-translate" ("-": none), the language file and its backup before the run ("-":
# none), which of the two cannot be written, and what the two hold afterwards. Whatever happens, no
# other file is left beside the program.
while read -r before file backup locked file_after backup_after; do
    rm -f "$lang" "$lang.bak"
    [ "$file" = - ] || printf '%s' "$file" | iconv -t UTF-16 >"$lang"
    [ "$backup" = - ] || printf '%s' "$backup" | iconv -t UTF-16 >"$lang.bak"
    case $locked in file) unwritable=$lang ;; backup) unwritable=$lang.bak ;; *) unwritable= ;; esac
    [ -z "$unwritable" ] || chattr +i "$unwritable" || { echo "skipped a case: no unwritable files (chattr)"; continue; }
    if [ "$before" = - ]; then start_tomel -translate; else start_tomel "${!before}" -translate; fi
    NO_WINDOW=1 wait_exit
    chattr -i "$lang" "$lang.bak" 2>/dev/null
    [ "$((TOMEL_RC != 0))" = "$([ -z "$unwritable" ]; echo $?)" ] || fail "-translate ended with exit code $TOMEL_RC"
    [ "$(text "$lang")" = "${file_after/english/"$english"}" ] || fail "language file: $(text "$lang" | head -3)"
    [ "$(text "$lang.bak")" = "${backup_after#-}" ] || fail "the backup holds: $(text "$lang.bak")"
    left=$(ls "$E2E_WORK/bin" | grep -vxE 'tomel\.exe|Tomel\.txt|tomel\.ini|tomel\.lang\.ini(\.bak)?')
    [ -z "$left" ] || fail "left beside the program: $left"
done <<'CASES'
own - - - english -
- translation backup file translation backup
CASES
e2e_pass
