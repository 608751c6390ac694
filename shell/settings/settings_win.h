#pragma once
// The settings file: every setting of the App, read, written, applied to the window, reloaded.
#include "state/app_win.h"

// Reads the file named by settingsPath into the settings; keys it lacks keep their values.
void loadSettings(App& app);
enum class SaveResult {
    Saved,
    Failed,    // the file could not be written; it is as it was
    NotOurs,   // the file is someone else's (it holds no [Tomel] section) and was left alone
};
// Writes every setting to the file named by settingsPath. A file that exists and is not a settings
// file of this program is written over only when the user chose it to be (Save As, after the
// dialog's own question) or when it is the program's own settings file, whatever it holds.
SaveResult saveSettings(App& app, bool chosenByUser = false);
// Save Now and Save As: saves, and tells the user when the settings were not saved. (The save at
// the end of the program stays silent.)
void saveSettingsAndTell(App& app, bool chosenByUser = false);
// Makes the loaded settings take effect on the window.
void applySettings(App& app);
// Keeps the stored window rectangle on the primary screen and moves the window there.
void clampWindowRect(App& app);
// Loads the file named by settingsPath into the running window.
void reloadSettings(App& app);
// "Save As...": asks for a file; true when one was chosen (it is then in settingsPath).
bool saveSettingsAs(App& app);
