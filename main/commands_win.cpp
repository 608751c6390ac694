#include "main/commands_win.h"

#include "core/display/placement.h"
#include "shell/app/autostart_win.h"
#include "shell/app/platform_win.h"
#include "shell/display/colours_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"
#include "shell/display/tray_win.h"
#include "shell/settings/settings_win.h"
#include "shell/text/extras_win.h"
#include "shell/text/gong_win.h"
#include "shell/text/navigation_win.h"
#include "shell/text/text_loader_win.h"
#include "shell/ui/dialogs_win.h"
#include "shell/ui/popup_menu_win.h"

namespace {

void flip(bool& flag) { flag = !flag; }

// A command that opens a modal dialog stops the slideshow while the dialog is up.
template <typename F>
void withTimerSuspended(App& app, F&& dialog)
{
    suspendTimer(app, true);
    dialog();
    resumeTimer(app);
}

}  // namespace

void runCommand(App& app, unsigned command)
{
    if (applyPinCommand(app.pins, command)) return;
    switch (command) {
    case CMD_SLIDESHOW: toggleSlideshow(app); break;
    case CMD_HIDE: toggleHide(app); break;
    case CMD_RANDOM: toggleRandom(app); break;
    case CMD_SLIDE_TIME: editTimer(app, KIND_SLIDE_TIME); break;
    case CMD_HIDE_TIME: editTimer(app, KIND_HIDE_TIME); break;
    case CMD_PLAY_SOUND: toggleSound(app); break;
    case CMD_COUNTDOWN: toggleCountdown(app); break;
    case CMD_STATUS_IN_CAPTION: toggleStatusInCaption(app); break;
    case CMD_NEXT: nextEntry(app); break;
    case CMD_PREVIOUS: previousEntry(app); break;
    case CMD_FIRST: firstEntry(app); break;
    case CMD_LAST: lastEntry(app); break;
    case CMD_SLIDE_NEXT: slideNext(app); break;
    case CMD_SLIDE_PREVIOUS: slidePrevious(app); break;
    case CMD_RANDOM_ENTRY: randomEntry(app); break;
    case CMD_MULTILINE:
    case CMD_UTF8_TEXT:
        // What makes one entry, and how the bytes read, depend on these settings: the text is read again.
        flip(command == CMD_MULTILINE ? app.multiline : app.utf8Text);
        rememberShownText(app);
        openTextFile(app);
        break;
    case CMD_CAPTION: toggleCaption(app); break;
    case CMD_TRANSPARENT: toggleTransparency(app); break;
    case CMD_BACKGROUND: toggleBackground(app); break;
    case CMD_FIT_FONT: fitToFontCommand(app); break;
    case CMD_FIT_WIDTH: fitToWidthCommand(app); break;
    case CMD_FIT_GRAPHIC: fitToGraphicCommand(app); break;
    case CMD_DOCK_TOP: dock(app, DOCK_TOP); break;
    case CMD_DOCK_BOTTOM: dock(app, DOCK_BOTTOM); break;
    case CMD_DOCK_CENTER: dock(app, DOCK_CENTER); break;
    case CMD_JUSTIFY_CENTER:
    case CMD_JUSTIFY_LEFT:
    case CMD_JUSTIFY_RIGHT:
        applyJustify(app, command - CMD_JUSTIFY_CENTER);
        showEntry(app, ShowMode::ShowSlide);
        break;
    case CMD_BLACKBOX_SHELL: flip(app.blackboxShell); break;
    case CMD_RAISE_CAPTION: editBlackboxAdjust(app, KIND_RAISE_CAPTION); break;
    case CMD_LENGTHEN_WINDOW: editBlackboxAdjust(app, KIND_LENGTHEN_WINDOW); break;
    case CMD_TRAY_ICON: toggleTrayIcon(app); break;
    case CMD_STAY_ON_TOP:
        flip(app.onTop);
        applyStayOnTop(app);
        break;
    case CMD_OPEN_FILE: withTimerSuspended(app, [&] { showOpenFileDialog(app); }); break;
    case CMD_FONT: withTimerSuspended(app, [&] { chooseFont(app); }); break;
    case CMD_TEXT_COLOUR: withTimerSuspended(app, [&] { chooseTextColour(app); }); break;
    case CMD_BACKGROUND_COLOUR: withTimerSuspended(app, [&] { chooseBackgroundColour(app); }); break;
    case CMD_BACKGROUND_IMAGE: withTimerSuspended(app, [&] { chooseBackgroundImage(app); }); break;
    case CMD_SOUND_FILE: withTimerSuspended(app, [&] { showSoundFileDialog(app); }); break;
    case CMD_SAVE_NOW: saveSettingsAndTell(app); break;
    case CMD_SAVE_AS:
        if (saveSettingsAs(app)) saveSettingsAndTell(app, true);
        break;
    case CMD_MENU: showMenuForCommand(app); break;
    case CMD_HELP: platform.shellExecute(app.window, L"open", app.helpPath, nullptr, nullptr, SW_SHOWNORMAL); break;
    case CMD_ABOUT: showAboutBox(app); break;
    case CMD_EXIT: SendMessageW(app.window, WM_CLOSE, 0, 0); break;
    case CMD_SHUFFLE: toggleShuffle(app); break;
    case CMD_REVEAL: toggleReveal(app); break;
    case CMD_SHOW_BACK: showBack(app); break;
    case CMD_COPY_ENTRY: copyEntry(app); break;
    case CMD_PAUSE_ON_HOVER: togglePauseOnHover(app); break;
    case CMD_RELOAD_WHEN_CHANGED: toggleReloadWhenChanged(app); break;
    case CMD_START_WITH_WINDOWS: toggleStartWithWindows(); break;
    default:
        // A plain toggle: a setting whose menu item shows it, which the parts read when they need it.
        flipSetting(settingTable, command, static_cast<Settings*>(&app));
        break;
    }
}

void runGlobalAction(App& app, GlobalAction action)
{
    switch (action) {
    case GlobalAction::ShowOrHide:
        // Called from another program the window comes to the front; one minimised comes back.
        if (IsWindowVisible(app.window) && !IsIconic(app.window)) {
            toggleWindowVisibility(app);
            return;
        }
        if (IsIconic(app.window)) ShowWindow(app.window, SW_RESTORE);
        if (!IsWindowVisible(app.window)) toggleWindowVisibility(app);
        SetForegroundWindow(app.window);
        return;
    case GlobalAction::Next: return runCommand(app, CMD_NEXT);
    case GlobalAction::Previous: return runCommand(app, CMD_PREVIOUS);
    case GlobalAction::PauseOrResume: return runCommand(app, CMD_SLIDESHOW);
    }
}
