#pragma once
// Path and title helpers on the program's fixed 260-character buffers.
#include <cstddef>
#include <string>
#include <string_view>

constexpr std::size_t PATH_BUFFER = 260;   // MAX_PATH: 259 characters and the terminator

// Copies src into a buffer of `size` characters, cut to size - 1 and terminated.
// Returns false when src had to be cut.
bool copyToBuffer(wchar_t* dst, std::size_t size, std::wstring_view src);

// Removes blanks (code 32, not tabs) from the end of a command-line argument.
std::wstring_view trimTrailingBlanks(std::wstring_view arg);

// True when the text from the last "." to the end is exactly ".ini" (case-sensitive):
// such a file is taken as a settings file.
bool isSettingsFileName(std::wstring_view path);

// The part after the last backslash, or the whole path when it has none.
std::wstring_view fileNamePart(std::wstring_view path);

// Whether the file a path names is the help text, "Tomel.txt", by its name without regard to case:
// a stored help text that has gone missing is the one beside the program after the folder moved.
bool namesHelpText(std::wstring_view path);

// "<file name> - <program name>", cut to what a 260-character buffer holds.
std::wstring buildTitle(std::wstring_view textFilePath, std::wstring_view programName);

// The directory of a module path: everything before its last backslash (the whole path without one).
std::wstring_view directoryPart(std::wstring_view modulePath);

// Whether GetModuleFileNameW wrote the whole path: a path that does not fit is cut to the buffer,
// and the call then returns the buffer's size.
bool moduleNameIsWhole(std::size_t returned, std::size_t bufferSize);

// Whether the files the program keeps beside itself ("tomel.ini", "tomel.lang.ini", "Tomel.txt")
// have paths that fit the path buffers in `directory`.
bool filesFitBeside(std::wstring_view directory);

// The "\\?\" form of a full path, which the file functions take beyond the 260-character limit:
// "C:\a" gives "\\?\C:\a" and "\\server\share\a" gives "\\?\UNC\server\share\a". A path already
// in that form, or one that is not a full path, comes back unchanged.
std::wstring longPathForm(std::wstring_view fullPath);

// A path in the long-path form back in the plain form ("\\?\UNC\s\a" gives "\\s\a"); any other
// path comes back unchanged.
std::wstring plainPathForm(std::wstring_view path);

// The file a save writes before it replaces `fullPath`: beside it, so the replacement stays on one
// volume, and in the long-path form, since the name is longer than the file's own.
std::wstring temporaryPathFor(std::wstring_view fullPath);

// Where the program keeps its own settings file: beside itself, as a portable program does, unless
// that folder cannot be written and holds no writable "tomel.ini"; then in the user's own
// application data ("%APPDATA%\Tomel\tomel.ini"), which is read from once it exists (the first
// time the file beside the program, if any, is read).
struct SettingsFolderFacts {
    bool folderWritable;    // a file can be made in the program's folder
    bool besideWritable;    // "tomel.ini" beside the program exists and can be written
    bool perUserKnown;      // the user's application-data folder is known
    bool perUserExists;     // the per-user settings file exists
};
enum class SettingsPlace { BesideProgram, PerUser };
struct SettingsPlaces {
    SettingsPlace read, write;
};
SettingsPlaces chooseSettingsPlaces(const SettingsFolderFacts& facts);
