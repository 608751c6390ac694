#pragma once
#include "state/app_win.h"

void startUp(App& app);
void locateFiles(App& app);
void handleArguments(App& app, wchar_t** args, int count);
void handleOption(App& app, const wchar_t* arg);
void handleFileArgument(App& app, const wchar_t* arg);
