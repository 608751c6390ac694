#pragma once
#include "state/app_win.h"

// Shows the entry at currentIndex (after a random pick for ShowRandom, or ShowSlide with random).
void showEntry(App& app, ShowMode mode);
// Rebuilds the status text and puts it into the caption and the tray tip.
void updateStatus(App& app);
void armTimer(App& app, TimerPhase phase);
void onTimer(App& app, WPARAM timerId);
void suspendTimer(App& app, bool forDialog);
void resumeTimer(App& app);

void nextEntry(App& app);
void previousEntry(App& app);
void firstEntry(App& app);
void lastEntry(App& app);
void slideNext(App& app);
void slidePrevious(App& app);
void randomEntry(App& app);

void toggleSlideshow(App& app);
void toggleHide(App& app);
void toggleRandom(App& app);
void toggleCountdown(App& app);
void toggleStatusInCaption(App& app);
void toggleWindowVisibility(App& app);
