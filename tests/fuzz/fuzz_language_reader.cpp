// Any bytes as a language file: the rows are keyed by their own texts, which the reading changes
// as it goes. Every text must stay terminated inside its 50 characters, and what was read must
// write out and read back to the same texts.
#include "core/ui/language.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {
template <int N>
void checkTerminated(const TranslationRow (&rows)[N])
{
    for (const TranslationRow& row : rows)
        if (std::wmemchr(row.text, L'\0', TRANSLATION_TEXT_LENGTH) == nullptr) std::abort();
}

struct Tables {
    TranslationRow items[MENU_ITEM_TEXT_COUNT], level2[LEVEL2_MENU_TEXT_COUNT], level3[1];
    TranslationRow dialogs[DIALOG_TEXT_COUNT], messages[MESSAGE_TEXT_COUNT];
};
void save(Tables& t)
{
    std::memcpy(t.items, menuItemTexts, sizeof t.items);
    std::memcpy(t.level2, level2MenuTexts, sizeof t.level2);
    std::memcpy(t.level3, level3MenuText, sizeof t.level3);
    std::memcpy(t.dialogs, dialogTexts, sizeof t.dialogs);
    std::memcpy(t.messages, messageTexts, sizeof t.messages);
}
void restore(const Tables& t)
{
    std::memcpy(menuItemTexts, t.items, sizeof t.items);
    std::memcpy(level2MenuTexts, t.level2, sizeof t.level2);
    std::memcpy(level3MenuText, t.level3, sizeof t.level3);
    std::memcpy(dialogTexts, t.dialogs, sizeof t.dialogs);
    std::memcpy(messageTexts, t.messages, sizeof t.messages);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Tables english = [] {
        // Menu captions as the program captures them, so that menu lines have rows to match.
        const wchar_t* captions[] = {L"Pin", L"SlideShow\tPause", L"Hide (Popup)\tH", L"P&revious\tUp Arrow"};
        for (int i = 0; i < MENU_ITEM_TEXT_COUNT; ++i) std::wcscpy(menuItemTexts[i].text, captions[i % 4]);
        for (TranslationRow& row : level2MenuTexts) std::wcscpy(row.text, L"Dock");
        std::wcscpy(level3MenuText[0].text, L"Blackbox\t(Alt Shell)");
        Tables t;
        save(t);
        return t;
    }();
    restore(english);

    IniReader reader = makeIniReader(std::string_view(reinterpret_cast<const char*>(data), size), true, nullptr);
    readLanguage(reader);
    checkTerminated(menuItemTexts);
    checkTerminated(level2MenuTexts);
    checkTerminated(level3MenuText);
    checkTerminated(dialogTexts);
    checkTerminated(messageTexts);

    Tables translated;
    save(translated);
    IniWriter writer = makeIniWriter(true, nullptr);
    writeLanguage(writer, L"1.00");
    IniReader again = makeIniReader(takeIniBytes(writer), true, nullptr);
    readLanguage(again);
    Tables reread;
    save(reread);
    if (std::memcmp(&translated, &reread, sizeof reread) != 0) std::abort();
    return 0;
}
