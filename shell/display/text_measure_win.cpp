// Measuring every line of a large text quickly. GetTextExtentPoint32W adds up the advance widths of
// a line's characters; for characters that no script shapes, joins or reorders, the sum of their
// single widths is the same number, so those lines are summed from a table that holds each
// character's width once it has been asked for. A line with any other character goes to the system.
#include <algorithm>
#include <vector>

#include "shell/display/fitting_win.h"

namespace {

// Characters whose width does not depend on their neighbours: Latin, Greek, Cyrillic, general
// punctuation, currency, letterlike and arrow signs, and the tab and carriage return that lines of
// UTF-16 files carry. Combining marks, joiners, direction marks and the soft hyphen are left out.
bool plainCharacter(wchar_t c)
{
    const unsigned u = c;
    if (u == 9 || u == 13) return true;
    if (u < 0x20) return false;
    if (u < 0x7F) return true;
    if (u < 0xA0) return false;
    if (u < 0x300) return u != 0xAD;
    if (u >= 0x370 && u < 0x483) return true;
    if (u >= 0x48A && u < 0x530) return true;
    if (u >= 0x2010 && u < 0x2028) return true;
    if (u >= 0x2030 && u < 0x205F) return true;
    if (u >= 0x20A0 && u < 0x20C0) return true;
    if (u >= 0x2100 && u < 0x2400) return true;
    return false;
}

class WidthTable {
public:
    explicit WidthTable(HDC dc) : dc_(dc), widths_(0x10000, UNKNOWN)
    {
        // The summing holds only when the system adds single widths without kerning or overhang
        // between characters; a probe with kerning pairs and every kind of plain character checks it.
        static const wchar_t probe[] = L"AVAWTo.,;:!iWlMx\t\r Te\x00C0\x00E9\x00DF\x03A9\x0416\x2014\x20AC\x2122yV";
        const int n = static_cast<int>(wcslen(probe));
        SIZE whole = {};
        if (!GetTextExtentPoint32W(dc_, probe, n, &whole)) return;
        std::int64_t sum = 0;
        for (int i = 0; i < n; ++i) sum += width(probe[i]);
        lineHeight_ = whole.cy;
        usable_ = sum == whole.cx && lineHeight_ > 0;
    }

    Extent measure(std::wstring_view line)
    {
        if (usable_) {
            std::int64_t sum = 0;
            bool plain = true;
            for (wchar_t c : line) {
                if (!plainCharacter(c)) {
                    plain = false;
                    break;
                }
                sum += width(c);
            }
            if (plain) return Extent{sum, lineHeight_};
        }
        return system(line);
    }

    Extent system(std::wstring_view line)
    {
        SIZE size = {};
        const int n = static_cast<int>(std::min<std::size_t>(line.size(), 0x7FFFFFFF));
        GetTextExtentPoint32W(dc_, line.data(), n, &size);
        return Extent{size.cx, size.cy};
    }

private:
    static constexpr std::int32_t UNKNOWN = -1;
    std::int32_t width(wchar_t c)
    {
        std::int32_t& w = widths_[static_cast<unsigned>(c)];
        if (w == UNKNOWN) {
            SIZE size = {};
            GetTextExtentPoint32W(dc_, &c, 1, &size);
            w = size.cx;
        }
        return w;
    }

    HDC dc_;
    std::vector<std::int32_t> widths_;
    std::int64_t lineHeight_ = 0;
    bool usable_ = false;
};

}  // namespace

TextBlock measureText(HDC dc, const EntryList& entries, std::int64_t limit, bool multiline, bool everyLine)
{
    WidthTable table(dc);
    if (everyLine) return measureEntries(entries, limit, multiline, [&](std::wstring_view l) { return table.system(l); });
    return measureEntries(entries, limit, multiline, [&](std::wstring_view l) { return table.measure(l); });
}
