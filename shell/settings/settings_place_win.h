#pragma once
// Where the program keeps its own settings file: beside itself, or in the user's own application
// data when its folder cannot be written.
#include <string>

#include "state/app_win.h"

// "%APPDATA%\Tomel\tomel.ini", or empty when the user's application-data folder is not known.
std::wstring perUserSettingsPath();

struct SettingsFiles {
    std::wstring read, write;
};
// At start-up, once exeDirectory is known: the settings file to read and the one to save to. Both
// empty when the program has no folder to keep files beside itself.
SettingsFiles settingsFilesAtStartUp(const App& app);

// Whether settingsPath is the program's own settings file (beside it by its own name, or the
// user's copy): that one is the program's to write, whatever a hand has put into it.
bool isOwnSettingsFile(const App& app);

// Before a save: makes the folder of the user's copy when settingsPath is that file.
void makeSettingsFolder(const App& app);
