#pragma once
// Global keys: the settings' keys, registered for the main window so that they reach it from any
// program.
#include <windows.h>

#include <optional>

#include "core/ui/global_keys.h"
#include "state/app_win.h"

// Registers the keys the settings name (a settings reload registers them anew). A key that names
// no key, or that another program holds, is told in one message that names it; the others work.
void registerGlobalKeys(App& app);
void unregisterGlobalKeys(HWND window);
// WM_HOTKEY: what the key does.
std::optional<GlobalAction> globalActionOf(WPARAM id);
