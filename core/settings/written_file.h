#pragma once
// What a save leaves on disk, judged from the bytes alone: whether a file the program wrote is
// whole or was cut short, and the copy of a file's old contents that waits in the temporary folder
// while the file is rewritten where it is.
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

enum class WrittenFile {
    Whole,   // as the program writes it, complete
    Cut,     // the start of one, cut short (nothing at all included)
    Other,   // not the program's writing
};

// The program writes a file whole, as UTF-16 LE with byte-order mark: its first section first, its
// last section last with a fixed number of rows, every line ended by CR LF. A section that is written
// only at times may follow the last one, with its own fixed number of rows.
struct FileShape {
    const wchar_t* firstHeader;
    const wchar_t* lastHeader;
    std::size_t lastRows;
    const wchar_t* optionalHeader = nullptr;
    std::size_t optionalRows = 0;
};

// Settings and language files are a few kilobytes; a far larger file is not one of them.
constexpr std::size_t MAX_WRITTEN_FILE_BYTES = std::size_t(16) << 20;

WrittenFile classifyWrittenFile(std::string_view bytes, const FileShape& shape);
// For a file that may be of any of `shapes` (no start of a file fits two of them): as the first
// shape it is not Other to, or Other.
WrittenFile classifyWrittenFile(std::string_view bytes, std::initializer_list<FileShape> shapes);

// The kept copy names the file it belongs to (the path as given), then holds the old contents.
std::string keptCopyBytes(std::wstring_view target, std::string_view old);
struct KeptCopy {
    std::wstring target;
    std::string old;
};
// Whole: `copy` holds what it says. Cut: the copy was not finished, so its file was not yet touched.
WrittenFile readKeptCopy(std::string_view bytes, KeptCopy& copy);
