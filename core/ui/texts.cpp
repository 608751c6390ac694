#include "core/ui/texts.h"

TranslationRow dialogTexts[DIALOG_TEXT_COUNT] = {
    {0, L"Slideshow Timer"},
    {1, L"Hide (Popup) Timer"},
    {2, L"hh:mm:ss:ms"},
    {3, L"Ok"},
    {4, L"Raise Caption"},
    {5, L"(Default: 4)"},
    {6, L"Lengthen Window"},
    {7, L"(Default: 2)"},
    {8, L":: Freeware ::"},
    {9, L"All donations appreciated"},
    {10, L"Language: original English"},
    {11, L"Visit Palvik :: Donate"},
};

TranslationRow messageTexts[MESSAGE_TEXT_COUNT] = {
    {0, L"Save Tomel Settings"},
    {1, L"No data"},
    {2, L"No input file"},
    {3, L"Unicode big endian unsupported"},
    {4, L"UTF-8 unsupported"},
    {5, L"Settings could not be saved"},
    {6, L"Not a Tomel settings file, use Save As..."},
    {7, L"Global key not available"},
};

namespace {
template <int N>
const wchar_t* findText(const TranslationRow (&rows)[N], std::int32_t id)
{
    for (const TranslationRow& row : rows)
        if (row.id == id) return row.text;
    return nullptr;
}
}  // namespace

const wchar_t* dialogText(std::int32_t id) { return findText(dialogTexts, id); }
const wchar_t* messageText(std::int32_t id) { return findText(messageTexts, id); }
