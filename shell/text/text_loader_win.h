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

// Reads an open text file of the given encoding into the entries, in large blocks. False when the
// memory for it cannot be had; the entries are then unchanged.
bool readEntries(EntryList& entries, FILE* file, TextEncoding encoding, bool multiline);

// Opens by wide path, falling back to the path in the ANSI code page.
FILE* openFileForReading(const wchar_t* path, const wchar_t* mode);
void closeFileIfOpen(FILE* file);
