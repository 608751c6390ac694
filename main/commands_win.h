#pragma once
#include "core/ui/global_keys.h"
#include "state/app_win.h"

// Carries out a command from the menu or an accelerator key.
void runCommand(App& app, unsigned command);
// A global key pressed in whatever program: shows (in front) or hides the window, steps, or stops
// and starts the slideshow.
void runGlobalAction(App& app, GlobalAction action);
