#pragma once
#include <vector>

#include "core/display/placement.h"
#include "state/app_win.h"

// The Blackbox shell's two registered messages, registered before the main window exists.
struct ShellMessages {
    UINT windowMessage = 0;   // "BBLEANSKIN_WINDOWMSG"
    UINT skinMessage = 0;     // "BBLEANSKIN_MSG"
};
extern ShellMessages shellMessages;
void registerShellMessages();

// Looks up SetLayeredWindowAttributes and whether the Blackbox shell runs.
void detectShell(App& app);
// Shows or removes the caption, keeping the client area's size.
void applyCaption(App& app);
// Clips the window to its client part (on) or removes the clip (off).
void applyRegion(App& app, bool on);
// Colour-key transparency on or off, following `transparent`.
void applyTransparency(App& app);
// The window's outer rectangle to keep in the settings: its restored place, with the caption when
// `caption` is set, though transparency has taken it away meanwhile.
RECT placeToKeep(const App& app, bool caption);
// The monitors of the desktop, in the system's order.
std::vector<Monitor> monitorLayout();
// The work area of the monitor that holds a window at `window` (the whole desktop's primary work
// area when no monitor is known).
RECT workAreaHolding(const RECT& window);
// Places the window in the work area of its monitor at DOCK_TOP, DOCK_BOTTOM or DOCK_CENTER (or above); DOCK_NONE: nothing.
void dock(App& app, std::uint32_t position);
void notifyBlackbox(App& app);
// Stay on top, or not, following `onTop`.
void applyStayOnTop(App& app);

// Dragging by the client area. beginDrag is true when a drag began (the slideshow waits meanwhile).
bool beginDrag(App& app);
void drag(App& app);
void endDrag(App& app);

// A window hidden and shown again can come back without the keyboard (under Wine no window has it
// then until the window is clicked). Around a hide and show, KeepKeyboard gives it back when the
// window had it.
bool hasKeyboard(HWND window);
void giveKeyboard(HWND window);
// Another program's window has the keyboard (not none, nor the desktop).
bool keyboardTakenElsewhere();
class KeepKeyboard {
public:
    explicit KeepKeyboard(HWND window);
    ~KeepKeyboard();
    KeepKeyboard(const KeepKeyboard&) = delete;
    KeepKeyboard& operator=(const KeepKeyboard&) = delete;

private:
    HWND window_;
    bool had_;
    bool altHeld_;
};

// WM_MOVE: while the user moves the window, its rectangle is kept and docking ends.
void onMove(App& app);
// WM_SIZE: the text control fills the client area less the margins.
void onSize(App& app, int clientWidth, int clientHeight);

// Commands of the window's frame: Caption, Transparent, the three docking places.
void toggleCaption(App& app);
void toggleTransparency(App& app);
