#include "shell/ui/language_win.h"

#include <optional>
#include <string>
#include <vector>

#include "core/ui/language.h"
#include "res/resource.h"
#include "shell/app/app_info_win.h"
#include "shell/app/files_win.h"
#include "shell/settings/saved_file_win.h"
#include "shell/settings/typed_ini_file_win.h"

namespace {

// The whole file, or none when it cannot be read or is far larger than a language file.
std::optional<std::string> readBackup(const std::wstring& path)
{
    const OpenedFile f = openFileForReading(path.c_str(), L"rb");
    return f.file ? readWholeFile(f.file.get(), MAX_WRITTEN_FILE_BYTES) : std::nullopt;
}

// The commands of every item of `menu` and its submenus, in menu order.
void collectCommands(HMENU menu, std::vector<std::int32_t>& commands)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i))
            collectCommands(sub, commands);
        else if (const UINT id = GetMenuItemID(menu, i); id != 0 && id != static_cast<UINT>(-1))
            commands.push_back(static_cast<std::int32_t>(id));   // not a separator
    }
}

template <typename Rows>
void setItems(HMENU menu, Rows& rows, BOOL byPosition)
{
    for (TranslationRow& row : rows) {
        if (!row.text[0]) continue;   // never captured: the resource's caption stays
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_TYPE;
        info.fType = MFT_STRING;
        info.dwTypeData = row.text;
        SetMenuItemInfoW(menu, static_cast<UINT>(row.id), byPosition, &info);
    }
}

}  // namespace

void captureMenuTexts(HMENU popup)
{
    std::vector<std::int32_t> commands;
    collectCommands(popup, commands);
    setMenuItems(commands);
    // Every row names an item of this menu (the commands were just collected from it), so each text is
    // read whole.
    for (TranslationRow& row : menuItemTexts)
        GetMenuStringW(popup, static_cast<UINT>(row.id), row.text, TRANSLATION_TEXT_LENGTH, MF_BYCOMMAND);
    for (TranslationRow& row : level2MenuTexts)
        GetMenuStringW(popup, static_cast<UINT>(row.id), row.text, TRANSLATION_TEXT_LENGTH, MF_BYPOSITION);
    if (HMENU dock = GetSubMenu(popup, LEVEL3_PARENT))
        GetMenuStringW(dock, LEVEL3_POSITION, level3MenuText[0].text, TRANSLATION_TEXT_LENGTH, MF_BYPOSITION);
}

void translateMenu(HMENU popup)
{
    setItems(popup, menuItemTexts, FALSE);
    setItems(popup, level2MenuTexts, TRUE);
    if (HMENU dock = GetSubMenu(popup, LEVEL3_PARENT)) setItems(dock, level3MenuText, TRUE);
}

bool readLanguageFile(const wchar_t* path, IniOpenMode mode)
{
    if (mode == IniOpenMode::Read) recoverSavedFile(path, LANGUAGE_FILE_SHAPE);   // an empty path names none
    TypedIniFile file;
    openIni(file, path, mode);
    if (!file.opened) return mode == IniOpenMode::Read;
    if (mode == IniOpenMode::Read)
        readLanguage(file.reader);
    else
        writeLanguage(file.writer, appInfo.programVersion);
    // Written like the settings file: the new file replaces the old one only when complete.
    return closeIni(file);
}

bool writeLanguageFile(const wchar_t* path)
{
    const std::wstring backup = std::wstring(path) + LANGUAGE_BACKUP_SUFFIX;
    recoverSavedFile(path, LANGUAGE_FILE_SHAPE);
    recoverSavedFile(backup, LANGUAGE_FILE_SHAPE);
    const bool hadBackup = GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::optional<std::string> oldBackup = hadBackup ? readBackup(backup) : std::string();
    // A backup that cannot be kept in memory could not be put back after a failure: touch nothing.
    if (!oldBackup) return false;
    // The backup as it was before this run, should this run fail.
    const auto putBackBackup = [&] {
        if (!hadBackup)
            DeleteFileW(backup.c_str());
        else if (readBackup(backup) != oldBackup)
            replaceFileContents(backup, *oldBackup);
    };
    // The present file is replaced only once it is safe in the backup; without one there is nothing
    // to keep.
    const bool hadFile = GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
    if (hadFile && !CopyFileW(path, backup.c_str(), FALSE)) {
        putBackBackup();
        return false;
    }
    if (readLanguageFile(path, IniOpenMode::Write)) return true;
    // The old file stays; so does the backup it had before this run.
    if (hadFile) putBackBackup();
    return false;
}

void exportLanguageFile(const wchar_t* path)
{
    unique_hmenu menu(LoadMenuW(appInfo.instance, MAKEINTRESOURCEW(IDR_MAIN)));
    if (menu) captureMenuTexts(GetSubMenu(menu.get(), 0));
    const bool written = writeLanguageFile(path);
    ExitProcess(written ? 0 : 2);
}
