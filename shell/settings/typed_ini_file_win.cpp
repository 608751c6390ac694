#include "shell/settings/typed_ini_file_win.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <locale.h>

#include "core/app/paths.h"
#include "shell/app/files_win.h"

namespace {

// Settings and language files are a few kilobytes; a far larger file is not one of them.
constexpr long long MAX_INI_BYTES = 16ll << 20;

std::wstring decodeCodePage(std::string_view bytes)
{
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(runtimeCodePage(), 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(runtimeCodePage(), 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

std::string encodeCodePage(std::wstring_view text)
{
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(runtimeCodePage(), 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(runtimeCodePage(), 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                            nullptr);
    return out;
}

bool readWholeFile(FILE* f, std::string& bytes)
{
    char block[65536];
    for (;;) {
        const std::size_t n = std::fread(block, 1, sizeof block, f);
        bytes.append(block, n);
        if (static_cast<long long>(bytes.size()) > MAX_INI_BYTES) return false;
        if (n < sizeof block) return true;
    }
}

}  // namespace

void openIni(TypedIniFile& file, const wchar_t* path, IniOpenMode mode)
{
    file = TypedIniFile{};
    file.mode = mode;
    file.wide = true;
    file.path = path;
    if (mode == IniOpenMode::Write) {
        file.writer = makeIniWriter(true, encodeCodePage);
        file.opened = true;
        return;
    }
    FILE* f = _wfopen(path, L"rb");
    if (!f) {
        f = openFileForReading(path, L"rb");   // the path in the ANSI code page
        file.wide = false;
    }
    if (!f) return;
    std::string bytes;
    const bool whole = readWholeFile(f, bytes);
    std::fclose(f);
    if (!whole) return;
    file.reader = makeIniReader(bytes, file.wide, decodeCodePage);
    file.opened = true;
}

void readSection(TypedIniFile& file, const IniEntry* table, const wchar_t* header, std::size_t maxLength)
{
    if (file.opened && file.mode == IniOpenMode::Read) readSection(file.reader, table, header, maxLength);
}

void writeSection(TypedIniFile& file, const IniEntry* table, const wchar_t* header)
{
    if (file.opened && file.mode == IniOpenMode::Write) writeSection(file.writer, table, header);
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

namespace {

bool writeAll(HANDLE file, const std::string& bytes)
{
    DWORD done = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
}

// Writes `bytes` as the whole content of an open file, from its start.
bool overwrite(HANDLE file, const std::string& bytes)
{
    LARGE_INTEGER start = {};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && writeAll(file, bytes) && SetEndOfFile(file) &&
           FlushFileBuffers(file);
}

bool writeNewFile(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    bool ok = writeAll(h, bytes);
    ok = FlushFileBuffers(h) && ok;
    return CloseHandle(h) && ok;
}

std::wstring fullPath(const std::wstring& path)
{
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) return {};
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), n, &full[0], nullptr);
    if (written == 0 || written >= n) return {};
    full.resize(written);
    return full;
}

// A writable file in a folder that cannot be written (no file can be made beside it): the file is
// rewritten where it is. Its old contents wait in a copy in the temporary folder until the new ones
// are complete, and go back into the file if writing fails; should even that fail, the copy stays.
bool rewriteInPlace(const std::wstring& target, const std::string& bytes)
{
    HANDLE file = CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    std::string old;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= MAX_INI_BYTES;
    if (ok) {
        old.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD got = 0;
        ok = old.empty() || (ReadFile(file, &old[0], static_cast<DWORD>(old.size()), &got, nullptr) && got == old.size());
    }
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t copy[MAX_PATH] = {};
    ok = ok && GetTempPathW(MAX_PATH + 1, folder) && GetTempFileNameW(folder, L"tml", 0, copy);
    if (ok && !writeNewFile(copy, old)) {
        DeleteFileW(copy);
        ok = false;
    }
    if (ok) {
        ok = overwrite(file, bytes);
        if (ok || overwrite(file, old)) DeleteFileW(copy);
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

bool replaceFileContents(const std::wstring& path, const std::string& bytes)
{
    // The long-path form throughout: the temporary name is longer than the file's own and must not
    // fall foul of the 260-character limit.
    const std::wstring full = fullPath(path);
    if (full.empty()) return false;
    const std::wstring target = longPathForm(full);
    const std::wstring temporary = temporaryPathFor(full);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    // A read-only file is the user's word that it is not to be written.
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) return false;
    if (!writeNewFile(temporary, bytes)) {
        DeleteFileW(temporary.c_str());
        return exists && rewriteInPlace(target, bytes);
    }
    bool ok;
    if (exists) {
        // ReplaceFileW keeps the file's attributes and permissions on Windows. The attributes are
        // put on the new file first as well, for systems whose ReplaceFileW only renames (Wine).
        constexpr DWORD KEPT = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                               FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (attributes & KEPT) SetFileAttributesW(temporary.c_str(), attributes & KEPT);
        ok = ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    } else {
        ok = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}
