#pragma once
// The typed INI engine on files. A file opened for writing is written whole when it is closed: the
// new content goes to a file beside it, which replaces the old one only once it is complete, so a
// save that is cut short (killed, disk full, a failed write) leaves the old file as it was.
#include <string>

#include "core/settings/typed_ini.h"

struct TypedIniFile {
    IniOpenMode mode = IniOpenMode::Read;
    bool opened = false;   // false: the file could not be opened, and closing it writes nothing
    bool wide = true;
    std::wstring path;
    IniReader reader;
    IniWriter writer;
};

void openIni(TypedIniFile& file, const wchar_t* path, IniOpenMode mode);
// For a file opened for writing: replaces the file with what was written. False when it could not
// be written; the file on disk is then unchanged.
bool closeIni(TypedIniFile& file);

enum class IniFileState {
    Absent,
    Ours,         // it holds the section `header`, or nothing
    Foreign,      // someone else's file: not to be written over
    Unreadable,   // it exists but cannot be read, so it cannot be told apart
};
// What stands at `path`, before settings headed by `header` are written there.
IniFileState inspectIniFile(const wchar_t* path, const wchar_t* header);

