#pragma once
// The translatable texts that the program's dialogs and messages show, with their built-in English.
// The language file may replace any row's text in place at start-up.
#include <cstdint>

constexpr int TRANSLATION_TEXT_LENGTH = 50;   // 49 characters and the terminator

struct TranslationRow {
    std::int32_t id;
    wchar_t text[TRANSLATION_TEXT_LENGTH];
};

constexpr int DIALOG_TEXT_COUNT = 12;
constexpr int MESSAGE_TEXT_COUNT = 7;

extern TranslationRow dialogTexts[DIALOG_TEXT_COUNT];    // [Dialogs]
extern TranslationRow messageTexts[MESSAGE_TEXT_COUNT];  // [Messages]

// Row numbers of [Messages].
enum MessageId : std::int32_t {
    MSG_TEXT_SAVE_TITLE = 0,
    MSG_TEXT_NO_DATA = 1,
    MSG_TEXT_NO_INPUT_FILE = 2,
    MSG_TEXT_BIG_ENDIAN = 3,
    MSG_TEXT_UTF8 = 4,
    MSG_TEXT_NOT_SAVED = 5,
    MSG_TEXT_NOT_OUR_FILE = 6,
};

// The text of the first row with this identifier, or nullptr when there is none.
const wchar_t* dialogText(std::int32_t id);
const wchar_t* messageText(std::int32_t id);
