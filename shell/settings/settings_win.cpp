#include "shell/settings/settings_win.h"

#include <commdlg.h>

#include "core/display/dpi.h"
#include "core/settings/window_rect.h"
#include "core/ui/texts.h"
#include "shell/app/app_info_win.h"
#include "shell/app/files_win.h"
#include "shell/app/global_keys_win.h"
#include "shell/display/colours_win.h"
#include "shell/display/dpi_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"
#include "shell/display/tray_win.h"
#include "shell/settings/saved_file_win.h"
#include "shell/settings/settings_place_win.h"
#include "shell/settings/typed_ini_file_win.h"

namespace {

// The window's rectangle and the font's height are the screen's pixels in the App and 96-dpi pixels in
// the file. (The Blackbox adjustments are 96-dpi pixels in both and are scaled where they are used.)
void scaleSizes(Settings& s, std::uint32_t dpi, bool toScreen)
{
    const RECT& r = s.windowRect;
    const ScreenRect rect = toScreen ? rectToDpi({r.left, r.top, r.right, r.bottom}, dpi)
                                     : rectFromDpi({r.left, r.top, r.right, r.bottom}, dpi);
    s.windowRect = RECT{rect.left, rect.top, rect.right, rect.bottom};
    s.logFont.lfHeight = toScreen ? scaleToDpi(s.logFont.lfHeight, dpi) : scaleFromDpi(s.logFont.lfHeight, dpi);
}

// What the file is to hold, worked out apart from the running window.
Settings settingsToKeep(const App& app)
{
    Settings kept = app;
    // While transparent, the caption and the place are those the user chose, which the window will
    // have again when transparency ends.
    kept.caption = app.transparent ? app.savedCaption : app.caption;
    kept.windowRect = placeToKeep(app, kept.caption);
    scaleSizes(kept, app.dpi, false);
    copyToBuffer(kept.versionText, std::size(kept.versionText), appInfo.programVersion);
    if (app.saveFile) copyToBuffer(kept.storedTextPath, PATH_BUFFER, app.textFilePath);
    // A path too long for its line is kept in its short form when that fits; else it is written empty.
    shortenWholeValues(settingTable, &kept, [](const wchar_t* path) {
        wchar_t shortForm[PATH_BUFFER] = {};
        const DWORD n = GetShortPathNameW(path, shortForm, PATH_BUFFER);
        return n > 0 && n < PATH_BUFFER ? std::wstring(shortForm, n) : std::wstring();
    });
    return kept;
}

}  // namespace

void loadSettings(App& app)
{
    if (app.settingsPath[0]) recoverSavedFile(app.settingsPath, settingsFileShape(settingTable));
    TypedIniFile file;
    openIni(file, app.settingsPath, IniOpenMode::Read);
    // Read over the file's sizes, so that keys the file lacks keep their values (to the pixel a
    // 96-dpi size can hold).
    scaleSizes(app, app.dpi, false);
    readSettings(file.reader, settingTable, static_cast<Settings*>(&app));
    scaleSizes(app, app.dpi, true);
    if (app.storedTextPath[0]) {
        wchar_t full[PATH_BUFFER] = {};
        const DWORD n = GetFullPathNameW(app.storedTextPath, PATH_BUFFER, full, nullptr);
        if (n > 0 && n < PATH_BUFFER) copyToBuffer(app.textFilePath, PATH_BUFFER, full);
    }
    closeIni(file);
}

SaveResult saveSettings(App& app, bool chosenByUser)
{
    if (!app.settingsPath[0]) return SaveResult::Failed;   // the program has no settings file
    // Settings read from someone else's INI file are never written back over it.
    switch (inspectIniFile(app.settingsPath, L"[Tomel]")) {
    case IniFileState::Unreadable: return SaveResult::Failed;
    case IniFileState::Foreign:
        if (!chosenByUser && !isOwnSettingsFile(app)) return SaveResult::NotOurs;
        break;
    case IniFileState::Absent:
    case IniFileState::Ours: break;
    }
    makeSettingsFolder(app);
    TypedIniFile file;
    openIni(file, app.settingsPath, IniOpenMode::Write);
    const Settings kept = settingsToKeep(app);
    writeSettings(file.writer, settingTable, &kept);
    const bool saved = closeIni(file);
    // With Save File the settings name the text on show from now on, also for a later save without it.
    if (app.saveFile) copyToBuffer(app.storedTextPath, PATH_BUFFER, app.textFilePath);
    return saved ? SaveResult::Saved : SaveResult::Failed;
}

void saveSettingsAndTell(App& app, bool chosenByUser)
{
    const SaveResult result = saveSettings(app, chosenByUser);
    if (result == SaveResult::Saved) return;
    std::wstring text = messageText(result == SaveResult::NotOurs ? MSG_TEXT_NOT_OUR_FILE : MSG_TEXT_NOT_SAVED);
    text += L"\n";
    text += app.settingsPath;
    showMessage(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void clampWindowRect(App& app)
{
    ScreenMetrics screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    screen.minTrackWidth = systemMetric(app, SM_CXMINTRACK);
    screen.minTrackHeight = systemMetric(app, SM_CYMINTRACK);
    const RECT& r = app.windowRect;
    const WindowBox box = clampedWindowBox(r.left, r.top, r.right, r.bottom, screen, monitorLayout());
    MoveWindow(app.window, box.left, box.top, box.width, box.height, TRUE);
    GetWindowRect(app.window, &app.windowRect);
}

void applySettings(App& app)
{
    clampWindowRect(app);
    const RECT& r = app.windowRect;
    MoveWindow(app.window, r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
    // A hand-edited file may hold several sizing modes.
    const FitModes modes = oneFitMode(FitModes{app.fitFont, app.fitWidth, app.fitGraphic});
    app.fitFont = modes.fitFont;
    app.fitWidth = modes.fitWidth;
    app.fitGraphic = modes.fitGraphic;
    // First, so that transparency keys the usable background colour.
    applyFontAndBrush(app);
    if (!app.caption) applyCaption(app);
    if (app.transparent) applyTransparency(app);
    if (app.trayIcon) applyTrayIcon(app);
    if (!app.resume) app.currentIndex = 0;
    applyJustify(app, app.justify);
}

void reloadSettings(App& app)
{
    // The window goes back to the state start-up applies settings from.
    if (app.transparent) {
        app.transparent = false;
        applyTransparency(app);
    }
    if (!app.caption) {
        app.caption = true;
        applyCaption(app);
    }
    if (app.trayIcon) {
        app.trayIcon = false;
        applyTrayIcon(app);
    }
    wchar_t picture[PATH_BUFFER] = {};
    copyToBuffer(picture, PATH_BUFFER, app.bitmapPath);
    loadSettings(app);
    applySettings(app);
    registerGlobalKeys(app);
    // The picture shown is the one the settings name.
    if (wcscmp(picture, app.bitmapPath) != 0) loadPicture(app, app.bitmapPath);
    InvalidateRect(app.window, nullptr, TRUE);   // a null window would repaint every window of the desktop
}

bool saveSettingsAs(App& app)
{
    wchar_t directory[PATH_BUFFER] = {};
    wchar_t name[PATH_BUFFER] = {};
    copyToBuffer(directory, PATH_BUFFER, app.settingsPath);
    GetFileTitleW(app.settingsPath, name, PATH_BUFFER);
    if (wchar_t* slash = wcsrchr(directory, L'\\')) *slash = L'\0';
    if (!askForFile(app.window, {L"INI File (*.ini)\0*.ini\0", L"ini", true, messageText(MSG_TEXT_SAVE_TITLE), directory},
                    name))
        return false;
    copyToBuffer(app.settingsPath, PATH_BUFFER, name);
    return true;
}
