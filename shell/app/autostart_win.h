#pragma once
// Start With Windows: the program in the current user's start-up list (the Run key), under its name.
#include <windows.h>

// The list holds the program (the menu's check mark).
bool listedAtStartUp();
// Adds the program, quoted, or takes it off the list.
void toggleStartWithWindows();
// At start-up: a listing of the program under a path where it is no more (its folder was moved)
// names the program where it is now.
void followMovedProgram();
