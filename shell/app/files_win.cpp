#include "shell/app/files_win.h"

#include <commdlg.h>
#include <locale.h>

#include <cstdlib>

#include "core/app/paths.h"
#include "shell/app/app_info_win.h"

UINT runtimeCodePage()
{
    const unsigned int cp = ___lc_codepage_func();
    return cp ? cp : CP_ACP;
}

OpenedFile openFileForReading(const wchar_t* path, const wchar_t* mode)
{
    if (FILE* f = _wfopen(path, mode)) return {UniqueFile(f), true};
    char narrowPath[PATH_BUFFER] = {};
    char narrowMode[3] = {};
    const std::size_t p = std::wcstombs(narrowPath, path, sizeof narrowPath);
    const std::size_t m = std::wcstombs(narrowMode, mode, sizeof narrowMode);
    if (p == static_cast<std::size_t>(-1) || p >= sizeof narrowPath || m == static_cast<std::size_t>(-1) ||
        m >= sizeof narrowMode)
        return {nullptr, false};
    return {UniqueFile(std::fopen(narrowPath, narrowMode)), false};
}

std::wstring programFilePath()
{
    std::wstring path(PATH_BUFFER, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (moduleNameIsWhole(n, path.size())) return path.substr(0, n);
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

std::optional<std::string> readWholeFile(FILE* file, std::size_t limit)
{
    std::string bytes;
    char block[65536];
    for (;;) {
        const std::size_t n = std::fread(block, 1, sizeof block, file);
        bytes.append(block, n);
        if (bytes.size() > limit) return std::nullopt;
        if (n < sizeof block) return bytes;
    }
}

bool askForFile(HWND owner, const FileDialog& dialog, wchar_t* path)
{
    wchar_t chosen[PATH_BUFFER] = {};
    copyToBuffer(chosen, PATH_BUFFER, path);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = dialog.filter;
    ofn.lpstrFile = chosen;
    ofn.nMaxFile = PATH_BUFFER;
    ofn.lpstrInitialDir = dialog.initialDirectory;
    ofn.lpstrTitle = dialog.title;
    ofn.Flags = OFN_HIDEREADONLY | (dialog.save ? OFN_OVERWRITEPROMPT : OFN_PATHMUSTEXIST);
    ofn.lpstrDefExt = dialog.defaultExtension;
    const NestedLoop loop;
    if (!(dialog.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn))) return false;
    copyToBuffer(path, PATH_BUFFER, chosen);
    return true;
}

FileStamp fileStamp(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return {true, std::uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow,
            std::uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime};
}
