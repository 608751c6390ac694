#pragma once
#include "state/app_win.h"

// Opens the sound file under the alias "gong" (its short path, quoted when that holds a space).
void openGong(App& app);
// Plays the gong from its start; a gong still sounding starts again.
void playGong(App& app);
// Closes the alias, whether or not it is open.
void closeGong(App& app);
// Play Sound: the flag and the device change together.
void toggleSound(App& app);
// Sound File...
void showSoundFileDialog(App& app);
// After settings were loaded into the running program: the device is open exactly while sound is
// on, and with the present sound file.
void matchGongToSettings(App& app);
