#pragma once
// What came of opening and reading a text file, and what the user sees of it: the one place that
// decides it.
#include <cstddef>

enum class LoadOutcome {
    Loaded,
    Missing,       // the file could not be opened
    BigEndian,     // refused: UTF-16 big-endian
    Utf8,          // refused: UTF-8 with a byte-order mark
    OutOfMemory,   // the text does not fit in the memory at hand
    Unreadable,    // its characters could not be decoded
};

struct LoadView {
    bool keepShownText = false;          // the text on show stays: path and entry go back
    const wchar_t* messageBox = nullptr;  // a message box to show first, or none
    const wchar_t* controlText = nullptr; // a text in place of an entry, or none
};

// `entryCount` is that of the new text (Loaded only): a text without entries shows "No data".
LoadView viewOfLoad(LoadOutcome outcome, std::size_t entryCount);
