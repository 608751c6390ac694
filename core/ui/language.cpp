#include "core/ui/language.h"

#include <algorithm>
#include <iterator>

#include "core/app/commands.h"

std::vector<TranslationRow> menuItemTexts;

TranslationRow level2MenuTexts[LEVEL2_MENU_TEXT_COUNT] = {
    {6, {}}, {7, {}}, {17, {}}, {18, {}}, {19, {}}, {28, {}}, {29, {}},
};

TranslationRow level3MenuText[1] = {{LEVEL3_POSITION, {}}};

namespace {

// A section table over translation rows: each row's key and target are its own text.
std::vector<IniEntry> rowTable(TranslationRow* rows, std::size_t count)
{
    std::vector<IniEntry> table;
    for (std::size_t i = 0; i < count; ++i) table.push_back({rows[i].text, IniValueType::String, rows[i].text});
    table.push_back({nullptr, IniValueType::String, nullptr});
    return table;
}

template <typename F>
void forEachTranslatedSection(F&& visit)
{
    visit(L"[Menu Items]", rowTable(menuItemTexts.data(), menuItemTexts.size()));
    visit(L"[Level2 Menus]", rowTable(level2MenuTexts, std::size(level2MenuTexts)));
    visit(L"[Level3 Menus]", rowTable(level3MenuText, std::size(level3MenuText)));
    visit(L"[Dialogs]", rowTable(dialogTexts, std::size(dialogTexts)));
    visit(L"[Messages]", rowTable(messageTexts, std::size(messageTexts)));
}

}  // namespace

void setMenuItems(const std::vector<std::int32_t>& commandsInMenuOrder)
{
    const auto isLater = [](std::int32_t command) { return command >= FIRST_LATER_MENU_ITEM && command < CMD_PIN; };
    menuItemTexts.clear();
    for (std::int32_t command : commandsInMenuOrder)
        if (!isLater(command)) menuItemTexts.push_back({command, {}});
    // Items added since come after, by their numbers: each new one is a row at the end.
    const std::size_t original = menuItemTexts.size();
    for (std::int32_t command : commandsInMenuOrder)
        if (isLater(command)) menuItemTexts.push_back({command, {}});
    std::sort(menuItemTexts.begin() + static_cast<std::ptrdiff_t>(original), menuItemTexts.end(),
              [](const TranslationRow& a, const TranslationRow& b) { return a.id < b.id; });
}

void readLanguage(IniReader& reader)
{
    forEachTranslatedSection([&](const wchar_t* header, const std::vector<IniEntry>& table) {
        readSection(reader, table.data(), header, TRANSLATION_TEXT_LENGTH);
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
        [&](const wchar_t* name, const std::vector<IniEntry>& table) { writeSection(writer, table.data(), name); });
}
