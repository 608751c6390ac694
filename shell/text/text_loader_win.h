#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "state/app_win.h"

enum class TextEncoding { Refused = 0, Ansi = 1, Utf16Le = 2 };

// Loads textFilePath into the entries, sets the title and shows the current entry.
void openTextFile(App& app);
// WM_DROPFILES: the first dropped file is opened (a ".ini" file is read as settings).
void onDropFiles(App& app, HDROP drop);
// "Open File...".
void showOpenFileDialog(App& app);

enum class LoadResult {
    Loaded,
    OutOfMemory,   // the text does not fit in the memory at hand
    Unreadable,    // its characters could not be decoded
};
// Reads an open text file of the given encoding into the entries, in large blocks. A file that
// cannot fit is refused from its size before anything is read. When the result is not Loaded the
// list holds no usable text: load into a list of its own to keep the one on show.
LoadResult readEntries(EntryList& entries, FILE* file, TextEncoding encoding, bool multiline);

// Before the text file changes: the path and the entry on show, to go back to if the new file is
// refused.
void rememberShownText(App& app);

