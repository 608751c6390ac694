#pragma once
// What the extras do to the entry on show: a flash card's front and back, copying it, shuffled
// random steps, and the slideshow waiting while the pointer is over the window.
#include "state/app_win.h"

// The flash card's back comes after half the slide period.
inline constexpr UINT_PTR IDT_REVEAL = 1031;
// Reload When Changed looks at the text file once a second.
inline constexpr UINT_PTR IDT_WATCH = 1032;
inline constexpr UINT WATCH_MS = 1000;

// Puts the entry on show into the text control: with Reveal on, the front of an entry that has one
// (its back follows by the reveal timer, or at once with Show Back).
void showEntryText(App& app);
// Show Back and the reveal timer: the whole entry.
void showBack(App& app);
// The window empties or hides its text: no back is to come.
void stopReveal(App& app);
// Reveal: the entry on show is shown again by the new rule.
void toggleReveal(App& app);
// Copy Entry: the entry on show to the clipboard as Unicode text with CR LF line ends.
void copyEntry(App& app);
// Shuffle: a round is kept only while Shuffle is on.
void toggleShuffle(App& app);
// Pause On Hover: the pointer moved over the client area, or left it.
void onPointerOver(App& app);
void onPointerLeft(App& app);
void togglePauseOnHover(App& app);
// Quiet In Full Screen: the window keeps down (neither pops up nor pushes itself on top) while the
// user runs a full-screen program or a presentation.
bool keepingQuiet(const App& app);
// Reload When Changed: the looks at the file run while it is on.
void watchTextFile(App& app);
void onWatchTimer(App& app);
void toggleReloadWhenChanged(App& app);
