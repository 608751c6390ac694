#pragma once
// The translated menu captions and the language file "tomel.lang.ini".
#include <windows.h>

#include "core/settings/typed_ini.h"

// Fills the three menu tables from the main popup in its built-in English.
void captureMenuTexts(HMENU popup);
// Puts the texts of the three menu tables into a freshly loaded main popup.
void translateMenu(HMENU popup);
// Read: the file's texts replace the tables' (a missing file changes nothing). Write: the file is
// replaced whole with the tables; false when it could not be, and then it is as it was.
bool readLanguageFile(const wchar_t* path, IniOpenMode mode);
// "-translate": the present file copied to path + ".bak", the English texts written afresh. False
// when the present file could not be kept in the backup or the new file could not be written: the
// old file and the old backup are then as they were.
bool writeLanguageFile(const wchar_t* path);
// Captures the English menu, writes the language file and ends the process: exit code 0 when the
// file was written, 2 when it could not be.
[[noreturn]] void exportLanguageFile(const wchar_t* path);
