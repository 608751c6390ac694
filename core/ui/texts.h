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
constexpr int MESSAGE_TEXT_COUNT = 8;

extern TranslationRow dialogTexts[DIALOG_TEXT_COUNT];    // [Dialogs]
extern TranslationRow messageTexts[MESSAGE_TEXT_COUNT];  // [Messages]

// Row numbers of [Dialogs].
enum DialogTextId : std::int32_t {
    DLG_TEXT_SLIDE_TIMER = 0,               // the timer dialog's caption for the slide period
    DLG_TEXT_HIDE_TIMER = 1,                // and for the hide period
    DLG_TEXT_PERIOD_LABEL = 2,              // its label, "hh:mm:ss:ms"
    DLG_TEXT_OK = 3,                        // the timer and number dialogs' button
    DLG_TEXT_RAISE_CAPTION = 4,             // the number dialog's caption and label for the caption raise
    DLG_TEXT_RAISE_CAPTION_DEFAULT = 5,
    DLG_TEXT_LENGTHEN_WINDOW = 6,           // and for the window lengthening
    DLG_TEXT_LENGTHEN_WINDOW_DEFAULT = 7,
    DLG_TEXT_FREEWARE = 8,                  // the About box's three lines and its button
    DLG_TEXT_DONATIONS = 9,
    DLG_TEXT_LANGUAGE = 10,
    DLG_TEXT_HOME_PAGE = 11,
};

// Row numbers of [Messages].
enum MessageId : std::int32_t {
    MSG_TEXT_SAVE_TITLE = 0,
    MSG_TEXT_NO_DATA = 1,
    MSG_TEXT_NO_INPUT_FILE = 2,
    MSG_TEXT_BIG_ENDIAN = 3,
    MSG_TEXT_UTF8 = 4,
    MSG_TEXT_NOT_SAVED = 5,
    MSG_TEXT_NOT_OUR_FILE = 6,
    MSG_TEXT_GLOBAL_KEY = 7,                // a global key that names no key or that another program holds
};

// The text of the first row with this identifier, or nullptr when there is none.
const wchar_t* dialogText(std::int32_t id);
const wchar_t* messageText(std::int32_t id);
