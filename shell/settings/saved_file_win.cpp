#include "shell/settings/saved_file_win.h"

#include <windows.h>

#include <optional>

#include "core/app/paths.h"
#include "core/ui/language.h"
#include "shell/app/files_win.h"
#include "state/setting_table_win.h"

namespace {

constexpr const wchar_t* KEPT_COPY_PREFIX = L"tomel-kept-";

unique_hfile openFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition)
{
    return unique_hfile(CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The whole file, or none when it cannot be read or holds more than `limit` bytes.
std::optional<std::string> readAll(HANDLE file, std::size_t limit = MAX_WRITTEN_FILE_BYTES)
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file, &size) || static_cast<unsigned long long>(size.QuadPart) > limit) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() && !(ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size()))
        return std::nullopt;
    return bytes;
}

bool writeAll(HANDLE file, const std::string& bytes)
{
    DWORD done = 0;
    return WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
}

// Writes `bytes` as the whole content of an open file. The file is emptied first: cut short, it
// then holds the start of the new content, which tells it apart from a whole file.
bool overwrite(HANDLE file, const std::string& bytes)
{
    LARGE_INTEGER start = {};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) && SetEndOfFile(file) && writeAll(file, bytes) &&
           FlushFileBuffers(file);
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

std::wstring temporaryFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    return n > 0 && n <= MAX_PATH ? std::wstring(folder, n) : std::wstring();
}

// The new file gets the old one's attributes and permissions before it takes its place. Should
// they not carry over, the file is still saved, with the permissions of its folder.
void keepAttributesAndPermissions(const std::wstring& from, const std::wstring& to, DWORD attributes)
{
    constexpr DWORD KEPT = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (attributes & KEPT) SetFileAttributesW(to.c_str(), attributes & KEPT);
    DWORD size = 0;
    GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    if (size == 0) return;
    std::string descriptor(size, '\0');
    if (GetFileSecurityW(from.c_str(), DACL_SECURITY_INFORMATION, &descriptor[0], size, &size))
        SetFileSecurityW(to.c_str(), DACL_SECURITY_INFORMATION, &descriptor[0]);
}

// A new file in the temporary folder for the old content of a file rewritten in place. It is held
// unshared for the length of the rewrite, so that another instance starting meanwhile leaves it be.
struct KeptCopyFile {
    unique_hfile file;   // none: no copy could be made
    std::wstring name;
};
KeptCopyFile createKeptCopy()
{
    const std::wstring folder = temporaryFolder();
    if (folder.empty()) return {};
    DWORD number = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (int tries = 0; tries < 100; ++tries, ++number) {
        wchar_t digits[9] = {};
        for (DWORD i = 8, n = number; i-- > 0; n >>= 4) digits[i] = L"0123456789abcdef"[n & 15];
        KeptCopyFile copy{unique_hfile(), folder + KEPT_COPY_PREFIX + digits + L".tmp"};
        copy.file = openFile(copy.name, GENERIC_WRITE, 0, CREATE_NEW);
        if (copy.file || GetLastError() != ERROR_FILE_EXISTS) return copy;
    }
    return {};
}

// A writable file in a folder where no file can be made beside it: rewritten where it is. Its old
// content waits in a copy in the temporary folder until the new one is complete, and goes back
// into the file if writing fails; should even that fail, or the program be killed meanwhile, the
// copy stays for the next start to put back.
bool rewriteInPlace(const std::wstring& target, const std::string& bytes)
{
    const unique_hfile file = openFile(target, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
    const std::optional<std::string> old = file ? readAll(file.get()) : std::nullopt;
    if (!old) return false;
    KeptCopyFile copy = createKeptCopy();
    if (!copy.file) return false;
    if (!writeAll(copy.file.get(), keptCopyBytes(target, *old)) || !FlushFileBuffers(copy.file.get())) {
        copy.file.reset();
        DeleteFileW(copy.name.c_str());
        return false;
    }
    const bool ok = overwrite(file.get(), bytes);
    if (ok || overwrite(file.get(), *old)) {
        copy.file.reset();
        DeleteFileW(copy.name.c_str());
    }
    return ok;
}

// A kept copy found at start-up. The copy is removed once its file is whole or has its old content
// back, and when it was cut short itself (its file was not yet touched then).
void putBack(const std::wstring& name)
{
    std::optional<std::string> bytes;
    {
        const unique_hfile copy = openFile(name, GENERIC_READ, 0, OPEN_EXISTING);
        if (copy) bytes = readAll(copy.get(), 2 * MAX_WRITTEN_FILE_BYTES);
    }
    if (!bytes) return;   // in use by a running instance
    KeptCopy kept;
    const WrittenFile copyState = readKeptCopy(*bytes, kept);
    if (copyState == WrittenFile::Other) return;   // not one of ours
    if (copyState == WrittenFile::Whole) {
        const unique_hfile file = openFile(kept.target, GENERIC_READ | GENERIC_WRITE, 0, OPEN_EXISTING);
        const DWORD error = file ? ERROR_SUCCESS : GetLastError();
        const bool gone = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        if (!file && !gone) return;   // in use: a later start tries again
        if (file) {
            const std::optional<std::string> now = readAll(file.get());
            if (!now) return;
            if (classifyWrittenFile(*now, {settingsFileShape(settingTable), LANGUAGE_FILE_SHAPE}) == WrittenFile::Cut &&
                !overwrite(file.get(), kept.old))
                return;
        }
    }
    DeleteFileW(name.c_str());
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
    {
        // Held until it has taken the file's place, shared only for that move: a start of another
        // instance meanwhile does not take it for the leftover of a save cut short.
        const unique_hfile file = openFile(temporary, GENERIC_WRITE, FILE_SHARE_DELETE, CREATE_ALWAYS);
        if (file && writeAll(file.get(), bytes) && FlushFileBuffers(file.get())) {
            if (exists) keepAttributesAndPermissions(target, temporary, attributes);
            // One step: whenever the program is killed, the file is the old one or the new one.
            if (MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            DeleteFileW(temporary.c_str());
            return false;
        }
        if (file) DeleteFileW(temporary.c_str());
    }
    return exists && rewriteInPlace(target, bytes);
}

void recoverSavedFile(const std::wstring& path, const FileShape& shape)
{
    const std::wstring full = fullPath(path);
    if (full.empty()) return;
    const std::wstring target = longPathForm(full);
    const std::wstring temporary = temporaryPathFor(full);
    // Not shared for writing: one that a save of a running instance still holds is left to it.
    const unique_hfile file = openFile(temporary, GENERIC_READ, FILE_SHARE_DELETE, OPEN_EXISTING);
    const std::optional<std::string> bytes = file ? readAll(file.get()) : std::nullopt;
    if (!bytes) return;
    const WrittenFile state = classifyWrittenFile(*bytes, shape);
    if (state == WrittenFile::Other) return;   // someone else's
    const bool missing = GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
    if (missing && state == WrittenFile::Whole)
        MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);   // should that fail, it waits
    else
        DeleteFileW(temporary.c_str());
}

void putBackInterruptedRewrites()
{
    const std::wstring folder = temporaryFolder();
    if (folder.empty()) return;
    WIN32_FIND_DATAW found = {};
    const unique_hfind search(FindFirstFileW((folder + KEPT_COPY_PREFIX + L"*.tmp").c_str(), &found));
    if (!search) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) putBack(folder + found.cFileName);
    } while (FindNextFileW(search.get(), &found));
}
