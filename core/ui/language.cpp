#include "core/ui/language.h"

#include <iterator>

#include "core/app/commands.h"

TranslationRow menuItemTexts[MENU_ITEM_TEXT_COUNT] = {
    {CMD_PIN, {}}, {CMD_SLIDESHOW, {}}, {CMD_HIDE, {}}, {CMD_RANDOM, {}}, {CMD_PLAY_SOUND, {}},
    {CMD_PIN_TIMERS, {}}, {CMD_SLIDE_TIME, {}}, {CMD_HIDE_TIME, {}}, {CMD_COUNTDOWN, {}},
    {CMD_STATUS_IN_CAPTION, {}}, {CMD_PIN_NAVIGATE, {}}, {CMD_NEXT, {}}, {CMD_PREVIOUS, {}}, {CMD_FIRST, {}},
    {CMD_LAST, {}}, {CMD_SLIDE_NEXT, {}}, {CMD_SLIDE_PREVIOUS, {}}, {CMD_RANDOM_ENTRY, {}}, {CMD_MULTILINE, {}},
    {CMD_CAPTION, {}}, {CMD_TRANSPARENT, {}}, {CMD_BACKGROUND, {}}, {CMD_FIT_FONT, {}}, {CMD_FIT_WIDTH, {}},
    {CMD_FIT_GRAPHIC, {}}, {CMD_PIN_JUSTIFY, {}}, {CMD_JUSTIFY_CENTER, {}}, {CMD_JUSTIFY_LEFT, {}},
    {CMD_JUSTIFY_RIGHT, {}}, {CMD_PIN_DOCK, {}}, {CMD_DOCK_TOP, {}}, {CMD_DOCK_BOTTOM, {}}, {CMD_DOCK_CENTER, {}},
    {CMD_PIN_BLACKBOX, {}}, {CMD_BLACKBOX_SHELL, {}}, {CMD_RAISE_CAPTION, {}}, {CMD_LENGTHEN_WINDOW, {}},
    {CMD_PIN_WINDOW, {}}, {CMD_DRAGGABLE, {}}, {CMD_TRAY_ICON, {}}, {CMD_STAY_ON_TOP, {}}, {CMD_OPEN_FILE, {}},
    {CMD_FONT, {}}, {CMD_TEXT_COLOUR, {}}, {CMD_BACKGROUND_COLOUR, {}}, {CMD_BACKGROUND_IMAGE, {}},
    {CMD_SOUND_FILE, {}}, {CMD_PIN_SETTINGS, {}}, {CMD_SAVE_NOW, {}}, {CMD_SAVE_AS, {}}, {CMD_SAVE_ON_EXIT, {}},
    {CMD_SAVE_FILE, {}}, {CMD_BOOKMARK, {}}, {CMD_PIN_INFO, {}}, {CMD_MENU, {}}, {CMD_MENU_AT_CURSOR, {}},
    {CMD_HELP, {}}, {CMD_ABOUT, {}}, {CMD_EXIT, {}},
};

TranslationRow level2MenuTexts[LEVEL2_MENU_TEXT_COUNT] = {
    {6, {}}, {7, {}}, {17, {}}, {18, {}}, {19, {}}, {28, {}}, {29, {}},
};

TranslationRow level3MenuText[1] = {{LEVEL3_POSITION, {}}};

namespace {

constexpr std::size_t MAX_TABLE_ROWS = MENU_ITEM_TEXT_COUNT + 1;

// A section table over translation rows: each row's key and target are its own text.
struct RowTable {
    IniEntry entries[MAX_TABLE_ROWS];
};

template <int N>
RowTable rowTable(TranslationRow (&rows)[N])
{
    static_assert(N < static_cast<int>(MAX_TABLE_ROWS), "a table too long for its section");
    RowTable table{};
    for (int i = 0; i < N; ++i) table.entries[i] = {rows[i].text, IniValueType::String, rows[i].text};
    table.entries[N] = {nullptr, IniValueType::String, nullptr};
    return table;
}

template <typename F>
void forEachTranslatedSection(F&& visit)
{
    visit(L"[Menu Items]", rowTable(menuItemTexts));
    visit(L"[Level2 Menus]", rowTable(level2MenuTexts));
    visit(L"[Level3 Menus]", rowTable(level3MenuText));
    visit(L"[Dialogs]", rowTable(dialogTexts));
    visit(L"[Messages]", rowTable(messageTexts));
}

}  // namespace

void readLanguage(IniReader& reader)
{
    forEachTranslatedSection([&](const wchar_t* header, const RowTable& table) {
        readSection(reader, table.entries, header, TRANSLATION_TEXT_LENGTH);
    });
}

void writeLanguage(IniWriter& writer, const wchar_t* programVersion)
{
    wchar_t version[TRANSLATION_TEXT_LENGTH] = {};
    for (int i = 0; i + 1 < TRANSLATION_TEXT_LENGTH && programVersion && programVersion[i]; ++i)
        version[i] = programVersion[i];
    wchar_t language[] = L"English";
    wchar_t none[] = L"";
    wchar_t note[] = L"49 chars, name and menu key separated by a tab, key may be translated, not changed";
    const IniEntry header[] = {
        {L"Tomel", IniValueType::String, version}, {L"Language", IniValueType::String, language},
        {L"Translator", IniValueType::String, none}, {L"Contact", IniValueType::String, none},
        {L";", IniValueType::String, note},         {nullptr, IniValueType::String, nullptr},
    };
    writeSection(writer, header, L"[Language]");
    forEachTranslatedSection(
        [&](const wchar_t* name, const RowTable& table) { writeSection(writer, table.entries, name); });
}
