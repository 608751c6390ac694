#pragma once
// Files and the dialogs that choose them, for every part of the program.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "core/text/change_watch.h"
#include "state/gdi_win.h"

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// The code page of the runtime library's locale, which start-up sets to the user's default: the
// one 8-bit text files and settings files are read in.
UINT runtimeCodePage();

// Opens by wide path, falling back to the path in the ANSI code page (for a runtime or file system
// that refuses the wide one).
struct OpenedFile {
    UniqueFile file;         // none: it could not be opened either way
    bool widePath = true;    // false: opened by the path in the ANSI code page
};
OpenedFile openFileForReading(const wchar_t* path, const wchar_t* mode);
// The rest of an open file, or none when it holds more than `limit` bytes.
std::optional<std::string> readWholeFile(FILE* file, std::size_t limit);

// The program file's whole path, however long (GetModuleFileNameW cuts one longer than its
// buffer); empty when the system cannot say.
std::wstring programFilePath();

// The file's size and last write as the file system keeps them; not `exists` when it cannot say.
FileStamp fileStamp(const wchar_t* path);

struct FileDialog {
    const wchar_t* filter;             // pairs of zero-terminated texts, ended by an empty one
    const wchar_t* defaultExtension;
    bool save = false;                 // Save As (asks before replacing a file) rather than Open
    const wchar_t* title = nullptr;    // null: the system's own
    const wchar_t* initialDirectory = nullptr;
};
// Shows the Open or Save As dialog owned by `owner`, starting from `path` (a buffer of
// PATH_BUFFER characters). True when the user chose a file, which `path` then holds.
bool askForFile(HWND owner, const FileDialog& dialog, wchar_t* path);
