#pragma once
#include "state/app_win.h"

// Carries out a command from the menu or an accelerator key.
void runCommand(App& app, unsigned command);

// Lets the in-process tests see every command number and keep a command from running; null normally.
using CommandFilter = bool (*)(unsigned command);
extern CommandFilter commandFilter;
