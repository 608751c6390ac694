#include "shell/settings/typed_ini_file_win.h"

#include <windows.h>

#include "shell/app/files_win.h"
#include "shell/app/platform_win.h"
#include "shell/settings/saved_file_win.h"

namespace {

std::wstring decodeCodePage(std::string_view bytes)
{
    if (bytes.empty()) return {};
    const int n =
        platform.multiByteToWideChar(runtimeCodePage(), 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        platform.multiByteToWideChar(runtimeCodePage(), 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

}  // namespace

void openIni(TypedIniFile& file, const wchar_t* path, IniOpenMode mode)
{
    file = TypedIniFile{};
    file.mode = mode;
    file.wide = true;
    file.path = path;
    if (mode == IniOpenMode::Write) {
        file.writer = makeIniWriter(true, nullptr);
        file.opened = true;
        return;
    }
    // Opened by the path in the ANSI code page, the file is read as 8-bit text.
    const OpenedFile f = openFileForReading(path, L"rb");
    file.wide = f.widePath;
    if (!f.file) return;
    const std::optional<std::string> bytes = readWholeFile(f.file.get(), MAX_WRITTEN_FILE_BYTES);
    if (!bytes) return;
    file.reader = makeIniReader(*bytes, file.wide, decodeCodePage);
    file.opened = true;
}

bool closeIni(TypedIniFile& file)
{
    bool written = true;
    if (file.opened && file.mode == IniOpenMode::Write) written = replaceFileContents(file.path, takeIniBytes(file.writer));
    file.opened = false;
    return written;
}

IniFileState inspectIniFile(const wchar_t* path, const wchar_t* header)
{
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? IniFileState::Absent
                                                                              : IniFileState::Unreadable;
    }
    TypedIniFile file;
    openIni(file, path, IniOpenMode::Read);
    if (!file.opened) return IniFileState::Unreadable;
    return iniFileIsOurs(file.reader, header) ? IniFileState::Ours : IniFileState::Foreign;
}
