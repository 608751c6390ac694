#pragma once
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "core/text/byte_text.h"
#include "state/app_win.h"

// Loads textFilePath into the entries, sets the title and shows the current entry.
void openTextFile(App& app);
// WM_DROPFILES: the first dropped file is opened (a ".ini" file is read as settings).
void onDropFiles(App& app, HDROP drop);
// "Open File...".
void showOpenFileDialog(App& app);

// Reads an open text file of the given flavor into the entries, in large blocks: Loaded,
// OutOfMemory (the text does not fit in the memory at hand; a file that cannot fit is refused from
// its size before anything is read) or Unreadable (its characters could not be decoded). When the
// outcome is not Loaded the list holds no usable text: load into a list of its own to keep the one
// on show.
// An 8-bit text is read in the code page, or as UTF-8 as `bytes` says (Utf8: the file starts with
// its byte-order mark).
LoadOutcome readEntries(EntryList& entries, FILE* file, TextFlavor flavor, bool multiline,
                        ByteText bytes = ByteText::Ansi);

// Reload When Changed: reads the changed text file again in place. The entry number stays (cut to
// the new count); no gong, no new slide period, no random step. When the file cannot be read now,
// the text on show stays and the outcome says why.
LoadOutcome reloadChangedText(App& app);

// A file named on the command line, dropped or chosen: a settings file (its name ends in ".ini")
// becomes settingsPath, and true is returned for the caller to read it; any other file is the new
// text, from its first entry.
bool takeNamedFile(App& app, const wchar_t* path);

// Before the text file changes: the path and the entry on show, to go back to if the new file is
// refused.
void rememberShownText(App& app);

