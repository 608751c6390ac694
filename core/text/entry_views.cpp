#include "core/text/entry_views.h"

namespace {
std::wstring_view withoutLineEnd(std::wstring_view line)
{
    if (!line.empty() && line.back() == L'\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
    return line;
}
}  // namespace

std::optional<std::size_t> revealFront(std::wstring_view entry, bool multiline)
{
    const std::size_t tab = entry.find(L'\t');
    if (tab != std::wstring_view::npos) return tab > 0 ? std::optional<std::size_t>(tab) : std::nullopt;
    if (!multiline) return std::nullopt;
    const std::size_t feed = entry.find(L'\n');
    // Several lines: something follows the first line's end.
    if (feed == std::wstring_view::npos || feed + 1 >= entry.size()) return std::nullopt;
    const std::size_t front = withoutLineEnd(entry.substr(0, feed + 1)).size();
    return front > 0 ? std::optional<std::size_t>(front) : std::nullopt;
}

std::wstring clipboardText(std::wstring_view entry)
{
    entry = withoutLineEnd(entry);
    std::wstring text;
    text.reserve(entry.size() + entry.size() / 16);
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (entry[i] == L'\n' && (i == 0 || entry[i - 1] != L'\r')) text += L'\r';
        text += entry[i];
    }
    return text;
}
