#pragma once
#include "state/app_win.h"

// Stores the justification (0 centre, 1 left, 2 right) and sets the text control's alignment; any
// other value is stored but changes no style.
void applyJustify(App& app, std::uint32_t value);
