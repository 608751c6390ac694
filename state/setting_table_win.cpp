#include "state/setting_table_win.h"

#include <cstddef>
#include <iterator>

#include "core/app/commands.h"
#include "core/display/look.h"
#include "core/display/placement.h"

namespace {

using T = IniValueType;

// The sections in the order the file holds them, each with the size of its String fields.
enum : std::uint8_t { TOMEL, PORTABLE, TWEAK, SLIDESHOW, DISPLAY, ALIGNMENT, WINDOW, POSITION, FONT, COLOURS,
                      SETTINGS, MENU, EXTRAS };
const SettingSection sections[] = {
    {L"[Tomel]", 12, false},              {L"[Portable]", PATH_BUFFER, false}, {L"[Tweak]", PATH_BUFFER, false},
    {L"[Slideshow]", PATH_BUFFER, false}, {L"[Display]", PATH_BUFFER, false},  {L"[Alignment]", PATH_BUFFER, false},
    {L"[Window]", PATH_BUFFER, false},    {L"[Position]", PATH_BUFFER, false}, {L"[Font]", LF_FACESIZE, false},
    {L"[Colours]", PATH_BUFFER, false},   {L"[Settings]", PATH_BUFFER, false}, {L"[Menu]", PATH_BUFFER, false},
    // Settings added since: older programs never see the section unless one of them is changed.
    {L"[Extras]", PATH_BUFFER, true},
};
static_assert(sizeof(Settings::versionText) / sizeof(wchar_t) == 12, "[Tomel] reads its Strings at this size");
static_assert(sizeof(Settings::storedTextPath) / sizeof(wchar_t) == PATH_BUFFER, "[Portable] likewise");

#define AT(field) offsetof(Settings, field)
constexpr bool WHOLE = true;   // a path: cut short it would name another file
constexpr std::int64_t COLOUR_MAX = 0xFFFFFF;   // 0x00BBGGRR; a palette index or -1 is no colour

const SettingRow rows[] = {
    textRow(TOMEL, L"version", AT(versionText), L""),   // a save writes the program's version
    noteRow(PORTABLE, L";", L"for portability set savefile=FALSE and use relative paths, eg. \\tomels\\diamond.txt"),
    flagRow(PORTABLE, L"savefile", AT(saveFile), true, CMD_SAVE_FILE),
    textRow(PORTABLE, L"file", AT(storedTextPath), L"", WHOLE),
    startUpRow(PORTABLE, L"bitmap", T::String, AT(bitmapPath), WHOLE),   // in the Windows folder
    startUpRow(PORTABLE, L"sound", T::String, AT(soundFilePath), WHOLE),
    flagRow(SLIDESHOW, L"slide", AT(slide.slideShow), true, CMD_SLIDESHOW),
    flagRow(SLIDESHOW, L"hide", AT(slide.hide), false, CMD_HIDE),
    flagRow(SLIDESHOW, L"random", AT(slide.random), false, CMD_RANDOM),
    flagRow(SLIDESHOW, L"sound", AT(playSound), false, CMD_PLAY_SOUND),
    rangedRow(SLIDESHOW, L"timeslide", T::Long, AT(slide.slideTime), 5000, 0, MAX_PERIOD_MS),
    rangedRow(SLIDESHOW, L"timehide", T::Long, AT(slide.hideTime), 1000, 0, MAX_PERIOD_MS),
    flagRow(SLIDESHOW, L"countdown", AT(slide.countdown), true, CMD_COUNTDOWN),
    flagRow(SLIDESHOW, L"statusincaption", AT(slide.statusInCaption), true, CMD_STATUS_IN_CAPTION),
    flagRow(DISPLAY, L"multiline", AT(multiline), true, CMD_MULTILINE),
    flagRow(DISPLAY, L"caption", AT(caption), true),          // its mark depends on transparency too
    flagRow(DISPLAY, L"transparent", AT(transparent), false),
    flagRow(DISPLAY, L"background", AT(showBackground), true, CMD_BACKGROUND),
    flagRow(ALIGNMENT, L"fitfont", AT(fitFont), false),       // one sizing mode is marked
    flagRow(ALIGNMENT, L"fitwidth", AT(fitWidth), false),
    flagRow(ALIGNMENT, L"fitgraphic", AT(fitGraphic), false),
    // The Short keys carry the low 16 bits of their 32-bit fields; the Blackbox adjustments are
    // pixels, typed without a sign.
    rangedRow(ALIGNMENT, L"justify", T::Short, AT(justify), 1, 0, 2),
    rangedRow(ALIGNMENT, L"docking", T::Short, AT(docking), DOCK_CENTER, DOCK_NONE, DOCK_CENTER),
    rangedRow(ALIGNMENT, L"bb caption adjust", T::Short, AT(bbCaptionAdjust), 4, 0, 32767),
    rangedRow(ALIGNMENT, L"bb window adjust", T::Short, AT(bbWindowAdjust), 2, 0, 32767),
    flagRow(WINDOW, L"draggable", AT(draggable), true, CMD_DRAGGABLE),
    flagRow(WINDOW, L"trayicon", AT(trayIcon), false, CMD_TRAY_ICON),
    flagRow(WINDOW, L"ontop", AT(onTop), false, CMD_STAY_ON_TOP),
    startUpRow(POSITION, L"left", T::Long, AT(windowRect.left)),   // the new window's place
    startUpRow(POSITION, L"top", T::Long, AT(windowRect.top)),
    startUpRow(POSITION, L"right", T::Long, AT(windowRect.right)),
    startUpRow(POSITION, L"bottom", T::Long, AT(windowRect.bottom)),
    startUpRow(FONT, L"height", T::Long, AT(logFont.lfHeight)),     // 10 points on the screen
    rangedRow(FONT, L"weight", T::Long, AT(logFont.lfWeight), 0, 0, 1000),
    numberRow(FONT, L"italic", T::Byte, AT(logFont.lfItalic), 0),
    numberRow(FONT, L"pitch and family", T::Byte, AT(logFont.lfPitchAndFamily), 17),   // fixed pitch
    textRow(FONT, L"facename", AT(logFont.lfFaceName), L"Courier New"),
    rangedRow(COLOURS, L"text", T::Long, AT(textColour), DEFAULT_TEXT_COLOUR, 0, COLOUR_MAX),
    rangedRow(COLOURS, L"background", T::Long, AT(backgroundColour), DEFAULT_BACKGROUND_COLOUR, 0, COLOUR_MAX),
    flagRow(SETTINGS, L"savesettings", AT(saveOnExit), true, CMD_SAVE_ON_EXIT),
    flagRow(SETTINGS, L"resume", AT(resume), true, CMD_BOOKMARK),
    numberRow(SETTINGS, L"bookmark", T::Long, AT(currentIndex), 0),
    flagRow(MENU, L"at cursor", AT(atCursor), true, CMD_MENU_AT_CURSOR),
    flagRow(EXTRAS, L"utf8", AT(utf8Text), false, CMD_UTF8_TEXT),
    flagRow(EXTRAS, L"shuffle", AT(shuffle), false, CMD_SHUFFLE),
    numberRow(EXTRAS, L"shuffle count", T::Long, AT(shuffleRound.count), 0),
    numberRow(EXTRAS, L"shuffle key", T::Long, AT(shuffleRound.key), 0),
    numberRow(EXTRAS, L"shuffle place", T::Long, AT(shuffleRound.position), 0),
    flagRow(EXTRAS, L"shuffle swap", AT(shuffleRound.swapFirst), false),
    flagRow(EXTRAS, L"reload", AT(reloadWhenChanged), false, CMD_RELOAD_WHEN_CHANGED),
    flagRow(EXTRAS, L"reveal", AT(reveal), false, CMD_REVEAL),
    flagRow(EXTRAS, L"pause on hover", AT(pauseOnHover), false, CMD_PAUSE_ON_HOVER),
    textRow(EXTRAS, L"key show", AT(keyShow), L""),
    textRow(EXTRAS, L"key next", AT(keyNext), L""),
    textRow(EXTRAS, L"key previous", AT(keyPrevious), L""),
    textRow(EXTRAS, L"key pause", AT(keyPause), L""),
    flagRow(EXTRAS, L"quiet", AT(quiet), false, CMD_QUIET_FULL_SCREEN),
};
#undef AT

}  // namespace

const SettingTable settingTable = {sections, std::size(sections), rows, std::size(rows)};

Settings::Settings() { setSettingDefaults(settingTable, this); }

const SettingRow& settingRowAt(std::size_t offset)
{
    for (const SettingRow& row : rows)
        if (row.kind != SettingDefault::Note && row.offset == offset) return row;
    static const SettingRow none = startUpRow(TOMEL, L"", T::Long, 0);
    return none;
}
