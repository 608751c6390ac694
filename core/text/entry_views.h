#pragma once
// What is made of the entry on show besides the entry itself: the front of a flash card, and the
// text that goes to the clipboard.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// How much of an entry a flash card shows first: the text before its first tab, or, in multiline
// mode, the first of several lines (without its line end). None: the entry shows whole at once (no
// tab and a single line, or nothing before the tab).
std::optional<std::size_t> revealFront(std::wstring_view entry, bool multiline);

// The entry as text for other programs: CR LF line ends (a lone line feed gets its carriage return),
// without the line end every entry carries at its end.
std::wstring clipboardText(std::wstring_view entry);
