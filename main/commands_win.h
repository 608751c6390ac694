#pragma once
#include "state/app_win.h"

// Carries out a command from the menu or an accelerator key.
void runCommand(App& app, unsigned command);
