#pragma once
// Replacing the program's files so that no save, failed or cut short (the program killed), loses
// one or leaves a stray file behind that a later start does not clear away.
#include <string>

#include "core/settings/written_file.h"

// Replaces the file at `path` with `bytes`, or leaves it untouched when that cannot be done. The
// new content goes to path + ".new", which then replaces the file in one step (with the file's
// attributes and permissions); in a folder where no file can be made, a writable file is rewritten
// in place with its old content kept aside until the new one is complete. A read-only file is not
// written.
bool replaceFileContents(const std::wstring& path, const std::string& bytes);

// Before a file of `shape` is read: a save cut short may have left path + ".new". When the file is
// missing and that one is whole, it becomes the file; the program's own is removed otherwise.
void recoverSavedFile(const std::wstring& path, const FileShape& shape);

// At start-up: a rewrite in place cut short leaves the file's old content in a copy in the
// temporary folder. The file gets it back if it was left cut short, and the copy goes; a copy that
// another running instance still holds is left alone.
void putBackInterruptedRewrites();
