#pragma once
// The settings file: every setting of the App, read, written, applied to the window, reloaded.
#include "state/app_win.h"

extern const wchar_t* const portableNote;

// Reads the file named by settingsPath into the settings; keys it lacks keep their values.
void loadSettings(App& app);
// Writes every setting to the file named by settingsPath. False when it could not be written (the
// file is then as it was).
bool saveSettings(App& app);
// Makes the loaded settings take effect on the window.
void applySettings(App& app);
// Keeps the stored window rectangle on the primary screen and moves the window there.
void clampWindowRect(App& app);
// Loads the file named by settingsPath into the running window.
void reloadSettings(App& app);
// "Save As...": asks for a file; true when one was chosen (it is then in settingsPath).
bool saveSettingsAs(App& app);
