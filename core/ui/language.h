#pragma once
// The language file: the three menu tables, and the five translated sections read from and written
// to a typed INI file. Each row is keyed by its own current text, so a line "old=new" changes
// every row of its section that reads "old" (without regard to case), and a later line can change
// it again.
#include <cstdint>
#include <vector>

#include "core/app/command_logic.h"
#include "core/settings/typed_ini.h"
#include "core/settings/written_file.h"
#include "core/ui/texts.h"

constexpr int LEVEL2_MENU_TEXT_COUNT = 7;

// [Menu Items]: by command number, every item of the menu that has one. [Level2 Menus]: by position
// in the main popup. [Level3 Menus]: the one submenu at LEVEL3_POSITION inside the submenu at
// LEVEL3_PARENT. Empty until the English captions are captured from the menu resource.
extern std::vector<TranslationRow> menuItemTexts;
extern TranslationRow level2MenuTexts[LEVEL2_MENU_TEXT_COUNT];
extern TranslationRow level3MenuText[1];

constexpr const wchar_t* LANGUAGE_FILE_NAME = L"tomel.lang.ini";
constexpr const wchar_t* LANGUAGE_BACKUP_SUFFIX = L".bak";
constexpr FileShape LANGUAGE_FILE_SHAPE = {L"[Language]", L"[Messages]", MESSAGE_TEXT_COUNT};

// Commands numbered from here on (up to the Pin items) came after the first language files: their
// rows follow all others, so that those files keep their order.
constexpr std::int32_t FIRST_LATER_MENU_ITEM = 1201;
// The rows of [Menu Items], empty, for the commands of the menu's items in menu order.
void setMenuItems(const std::vector<std::int32_t>& commandsInMenuOrder);
// Replaces the texts of all five tables from the file's sections.
void readLanguage(IniReader& reader);
// Writes [Language] with the program version, then the five sections, every row as text=text.
void writeLanguage(IniWriter& writer, const wchar_t* programVersion);
