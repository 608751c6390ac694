#pragma once
// Global keys: keys that reach the program from any other program. The settings file names each as
// the menu names its keys ("Ctrl+Alt+T", "Shift+F9", "Win+Page Down").
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The modifier bits as the system's hot keys take them.
inline constexpr unsigned KEY_ALT = 0x1, KEY_CTRL = 0x2, KEY_SHIFT = 0x4, KEY_WIN = 0x8;

struct GlobalKey {
    unsigned modifiers = 0;   // KEY_ALT, KEY_CTRL, KEY_SHIFT, KEY_WIN
    unsigned virtualKey = 0;  // the system's number of the key
    bool operator==(const GlobalKey& o) const { return modifiers == o.modifiers && virtualKey == o.virtualKey; }
};

// The key a text names: modifiers joined by "+" in any order and case, then one key (a letter, a
// digit, F1 to F24, or a name such as "Space", "Page Up", "Up Arrow"). None when it names no key.
std::optional<GlobalKey> parseGlobalKey(std::wstring_view text);

// What each global key does, by its number (the hot key's id is its place here plus one).
enum class GlobalAction : std::uint8_t { ShowOrHide, Next, Previous, PauseOrResume };
inline constexpr std::array<GlobalAction, 4> GLOBAL_ACTIONS = {GlobalAction::ShowOrHide, GlobalAction::Next,
                                                                 GlobalAction::Previous, GlobalAction::PauseOrResume};
