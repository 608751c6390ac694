#include "core/ui/global_keys.h"

#include <cwctype>
#include <string>

namespace {

bool sameText(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

struct NamedKey {
    const wchar_t* name;
    unsigned virtualKey;
};
// The names the menu uses, and the short ones people type.
constexpr NamedKey NAMED_KEYS[] = {
    {L"Space", 0x20},     {L"Enter", 0x0D},      {L"Return", 0x0D},        {L"Tab", 0x09},
    {L"Esc", 0x1B},       {L"Escape", 0x1B},     {L"Backspace", 0x08},     {L"Pause", 0x13},
    {L"Page Up", 0x21},   {L"PgUp", 0x21},       {L"Page Down", 0x22},     {L"PgDn", 0x22},
    {L"End", 0x23},       {L"Home", 0x24},       {L"Left Arrow", 0x25},    {L"Left", 0x25},
    {L"Up Arrow", 0x26},  {L"Up", 0x26},         {L"Right Arrow", 0x27},   {L"Right", 0x27},
    {L"Down Arrow", 0x28}, {L"Down", 0x28},      {L"Insert", 0x2D},        {L"Ins", 0x2D},
    {L"Delete", 0x2E},    {L"Del", 0x2E},
};

constexpr struct {
    const wchar_t* name;
    unsigned bit;
} MODIFIERS[] = {{L"Ctrl", KEY_CTRL}, {L"Control", KEY_CTRL}, {L"Alt", KEY_ALT}, {L"Shift", KEY_SHIFT}, {L"Win", KEY_WIN}};

std::wstring_view trimmed(std::wstring_view s)
{
    while (!s.empty() && std::iswspace(s.front())) s.remove_prefix(1);
    while (!s.empty() && std::iswspace(s.back())) s.remove_suffix(1);
    return s;
}

std::optional<unsigned> keyNamed(std::wstring_view name)
{
    if (name.size() == 1) {
        const wchar_t c = static_cast<wchar_t>(std::towupper(name[0]));
        if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return static_cast<unsigned>(c);
        return std::nullopt;
    }
    if ((name[0] == L'F' || name[0] == L'f') && name.size() <= 3) {
        unsigned n = 0;
        for (wchar_t c : name.substr(1)) {
            if (c < L'0' || c > L'9') return std::nullopt;
            n = n * 10 + static_cast<unsigned>(c - L'0');
        }
        if (n >= 1 && n <= 24 && name[1] != L'0') return 0x70 + n - 1;   // F1 is 0x70
        return std::nullopt;
    }
    for (const NamedKey& k : NAMED_KEYS)
        if (sameText(name, k.name)) return k.virtualKey;
    return std::nullopt;
}

}  // namespace

std::optional<GlobalKey> parseGlobalKey(std::wstring_view text)
{
    GlobalKey key;
    text = trimmed(text);
    for (;;) {
        const std::size_t plus = text.find(L'+');
        if (plus == std::wstring_view::npos || plus + 1 == text.size()) break;   // "Ctrl++" names no key
        const std::wstring_view part = trimmed(text.substr(0, plus));
        unsigned bit = 0;
        for (const auto& m : MODIFIERS)
            if (sameText(part, m.name)) bit = m.bit;
        if (bit == 0 || (key.modifiers & bit)) return std::nullopt;   // not a modifier, or one twice
        key.modifiers |= bit;
        text = trimmed(text.substr(plus + 1));
    }
    if (text.empty()) return std::nullopt;
    const std::optional<unsigned> virtualKey = keyNamed(text);
    if (!virtualKey) return std::nullopt;
    key.virtualKey = *virtualKey;
    return key;
}
