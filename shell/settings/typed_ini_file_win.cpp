#include "shell/settings/typed_ini_file_win.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace {

// Settings and language files are a few kilobytes; a far larger file is not one of them.
constexpr long long MAX_INI_BYTES = 16ll << 20;

UINT iniCodePage()
{
    const unsigned int cp = ___lc_codepage_func();
    return cp ? cp : CP_ACP;
}

std::wstring decodeCodePage(std::string_view bytes)
{
    if (bytes.empty()) return {};
    const int n = MultiByteToWideChar(iniCodePage(), 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(iniCodePage(), 0, bytes.data(), static_cast<int>(bytes.size()), &out[0], n);
    return out;
}

std::string encodeCodePage(std::wstring_view text)
{
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(iniCodePage(), 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(iniCodePage(), 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
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
        char narrow[MAX_PATH] = {};
        const std::size_t n = std::wcstombs(narrow, path, sizeof narrow);
        if (n != static_cast<std::size_t>(-1) && n < sizeof narrow) f = std::fopen(narrow, "rb");
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

bool replaceFileContents(const std::wstring& path, const std::string& bytes)
{
    const std::wstring temporary = path + L".new";
    HANDLE h = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD done = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
    ok = FlushFileBuffers(h) && ok;
    ok = CloseHandle(h) && ok;
    if (ok) ok = MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}
