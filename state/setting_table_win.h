#pragma once
// Every setting the settings file keeps, and the one table that describes them: section, key,
// type, place, default, usable numbers and the menu item that shows a flag. The App derives from
// Settings, so a setting is spelt app.x like any other field.
#include <windows.h>

#include <cstdint>

#include "core/app/paths.h"
#include "core/settings/setting_table.h"
#include "core/text/shuffle.h"
#include "core/text/slideshow.h"

// Zero here: the table gives each field its default, once.
struct Settings {
    Settings();   // every setting at its default; those only start-up knows are empty
    wchar_t versionText[12] = {};
    bool saveFile = false;
    wchar_t storedTextPath[PATH_BUFFER] = {};
    wchar_t bitmapPath[PATH_BUFFER] = {};
    wchar_t soundFilePath[PATH_BUFFER] = {};
    SlideshowSettings slide;             // slideShow, hide, random, countdown, statusInCaption, times
    bool playSound = false;
    bool multiline = false;
    bool caption = false;
    bool transparent = false;
    bool showBackground = false;
    bool fitFont = false;
    bool fitWidth = false;
    bool fitGraphic = false;
    std::uint32_t justify = 0;
    std::uint32_t docking = 0;
    std::int32_t bbCaptionAdjust = 0;
    std::int32_t bbWindowAdjust = 0;
    bool draggable = false;
    bool trayIcon = false;
    bool onTop = false;
    RECT windowRect = {};
    LOGFONTW logFont = {};
    COLORREF textColour = 0;
    COLORREF backgroundColour = 0;
    bool saveOnExit = false;
    bool resume = false;
    std::uint32_t currentIndex = 0;
    bool atCursor = false;
    // Beyond the original program, all off by default:
    bool utf8Text = false;
    bool shuffle = false;
    ShuffleState shuffleRound;   // the round a restart goes on with
    bool reloadWhenChanged = false;
    bool reveal = false;
    bool pauseOnHover = false;
    // Global keys as the menu writes keys ("Ctrl+Alt+T"); empty: none.
    wchar_t keyShow[PATH_BUFFER] = {};
    wchar_t keyNext[PATH_BUFFER] = {};
    wchar_t keyPrevious[PATH_BUFFER] = {};
    wchar_t keyPause[PATH_BUFFER] = {};
    bool quiet = false;          // Quiet In Full Screen
};

extern const SettingTable settingTable;

// The row of the field at `offset` in Settings (offsetof); a field without one is a fault.
const SettingRow& settingRowAt(std::size_t offset);
