#include "shell/settings/settings_win.h"

#include <commdlg.h>

#include "core/display/look.h"
#include "core/settings/setting_ranges.h"
#include "core/settings/window_rect.h"
#include "core/ui/texts.h"
#include "shell/app/app_info_win.h"
#include "shell/app/files_win.h"
#include "shell/display/colours_win.h"
#include "shell/display/fitting_win.h"
#include "shell/display/frame_win.h"
#include "shell/display/picture_win.h"
#include "shell/display/tray_win.h"
#include "shell/settings/saved_file_win.h"
#include "shell/settings/settings_place_win.h"
#include "shell/settings/typed_ini_file_win.h"

const wchar_t* const portableNote = L"for portability set savefile=FALSE and use relative paths, eg. \\tomels\\diamond.txt";

namespace {

using T = IniValueType;

struct Section {
    const wchar_t* header;
    const IniEntry* table;
    std::size_t readSize;
};

// The tables of the twelve sections, in the order they are written, over the App's fields. Load and
// save walk the same tables, so the file always reads back into what was written. The caption and
// the place are read into the App, but a save writes the user's, which the window may not show now.
template <typename F>
void forEachSection(App& app, wchar_t* scratch, bool& caption, RECT& place, F&& visit)
{
    const IniEntry tomel[] = {{L"version", T::String, app.versionText}, {nullptr, T::String, nullptr}};
    // A path is kept whole or not at all: cut short it would name another file.
    const IniEntry portable[] = {
        {L";", T::String, scratch},
        {L"savefile", T::Bool, &app.saveFile},
        {L"file", T::String, app.storedTextPath, nullptr, true},
        {L"bitmap", T::String, app.bitmapPath, nullptr, true},
        {L"sound", T::String, app.soundFilePath, nullptr, true},
        {nullptr, T::String, nullptr},
    };
    const IniEntry tweak[] = {{nullptr, T::String, nullptr}};
    const IniEntry slideshow[] = {
        {L"slide", T::Bool, &app.slide.slideShow},
        {L"hide", T::Bool, &app.slide.hide},
        {L"random", T::Bool, &app.slide.random},
        {L"sound", T::Bool, &app.playSound},
        {L"timeslide", T::Long, &app.slide.slideTime, &SLIDE_TIME_RANGE},
        {L"timehide", T::Long, &app.slide.hideTime, &HIDE_TIME_RANGE},
        {L"countdown", T::Bool, &app.slide.countdown},
        {L"statusincaption", T::Bool, &app.slide.statusInCaption},
        {nullptr, T::String, nullptr},
    };
    const IniEntry display[] = {
        {L"multiline", T::Bool, &app.multiline},
        {L"caption", T::Bool, &caption},
        {L"transparent", T::Bool, &app.transparent},
        {L"background", T::Bool, &app.showBackground},
        {nullptr, T::String, nullptr},
    };
    // The Short keys carry the low 16 bits of their 32-bit fields.
    const IniEntry alignment[] = {
        {L"fitfont", T::Bool, &app.fitFont},
        {L"fitwidth", T::Bool, &app.fitWidth},
        {L"fitgraphic", T::Bool, &app.fitGraphic},
        {L"justify", T::Short, &app.justify, &JUSTIFY_RANGE},
        {L"docking", T::Short, &app.docking, &DOCKING_RANGE},
        {L"bb caption adjust", T::Short, &app.bbCaptionAdjust, &BB_CAPTION_ADJUST_RANGE},
        {L"bb window adjust", T::Short, &app.bbWindowAdjust, &BB_WINDOW_ADJUST_RANGE},
        {nullptr, T::String, nullptr},
    };
    const IniEntry window[] = {
        {L"draggable", T::Bool, &app.draggable},
        {L"trayicon", T::Bool, &app.trayIcon},
        {L"ontop", T::Bool, &app.onTop},
        {nullptr, T::String, nullptr},
    };
    const IniEntry position[] = {
        {L"left", T::Long, &place.left},
        {L"top", T::Long, &place.top},
        {L"right", T::Long, &place.right},
        {L"bottom", T::Long, &place.bottom},
        {nullptr, T::String, nullptr},
    };
    const IniEntry font[] = {
        {L"height", T::Long, &app.logFont.lfHeight},
        {L"weight", T::Long, &app.logFont.lfWeight, &FONT_WEIGHT_RANGE},
        {L"italic", T::Byte, &app.logFont.lfItalic},
        {L"pitch and family", T::Byte, &app.logFont.lfPitchAndFamily},
        {L"facename", T::String, app.logFont.lfFaceName},
        {nullptr, T::String, nullptr},
    };
    const IniEntry colours[] = {
        {L"text", T::Long, &app.textColour, &TEXT_COLOUR_RANGE},
        {L"background", T::Long, &app.backgroundColour, &BACKGROUND_COLOUR_RANGE},
        {nullptr, T::String, nullptr},
    };
    const IniEntry settings[] = {
        {L"savesettings", T::Bool, &app.saveOnExit},
        {L"resume", T::Bool, &app.resume},
        {L"bookmark", T::Long, &app.currentIndex},
        {nullptr, T::String, nullptr},
    };
    const IniEntry menu[] = {{L"at cursor", T::Bool, &app.atCursor}, {nullptr, T::String, nullptr}};
    const Section sections[] = {
        {L"[Tomel]", tomel, 12},          {L"[Portable]", portable, PATH_BUFFER},
        {L"[Tweak]", tweak, PATH_BUFFER}, {L"[Slideshow]", slideshow, PATH_BUFFER},
        {L"[Display]", display, PATH_BUFFER}, {L"[Alignment]", alignment, PATH_BUFFER},
        {L"[Window]", window, PATH_BUFFER},   {L"[Position]", position, PATH_BUFFER},
        {L"[Font]", font, LF_FACESIZE},       {L"[Colours]", colours, PATH_BUFFER},
        {L"[Settings]", settings, PATH_BUFFER}, {L"[Menu]", menu, PATH_BUFFER},
    };
    for (const Section& s : sections) visit(s);
}

}  // namespace

void loadSettings(App& app)
{
    wchar_t scratch[PATH_BUFFER] = {};
    if (app.settingsPath[0]) recoverSavedFile(app.settingsPath, SETTINGS_FILE_SHAPE);
    TypedIniFile file;
    openIni(file, app.settingsPath, IniOpenMode::Read);
    forEachSection(app, scratch, app.caption, app.windowRect,
                   [&](const Section& s) { readSection(file, s.table, s.header, s.readSize); });
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
    wchar_t scratch[PATH_BUFFER] = {};
    copyToBuffer(scratch, PATH_BUFFER, portableNote);
    TypedIniFile file;
    openIni(file, app.settingsPath, IniOpenMode::Write);
    // While transparent, the caption and the place are those the user chose, which the window will
    // have again when transparency ends; the running window keeps its own.
    bool caption = app.transparent ? app.savedCaption : app.caption;
    RECT place = placeToKeep(app, caption);
    copyToBuffer(app.versionText, 12, appInfo.programVersion);
    if (app.saveFile) copyToBuffer(app.storedTextPath, PATH_BUFFER, app.textFilePath);
    forEachSection(app, scratch, caption, place, [&](const Section& s) { writeSection(file, s.table, s.header); });
    return closeIni(file) ? SaveResult::Saved : SaveResult::Failed;
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
    screen.minTrackWidth = GetSystemMetrics(SM_CXMINTRACK);
    screen.minTrackHeight = GetSystemMetrics(SM_CYMINTRACK);
    const RECT& r = app.windowRect;
    const WindowBox box = clampedWindowBox(r.left, r.top, r.right, r.bottom, screen);
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
