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
    // Table entries: a width (below 65536), or one of these marks. Four marks add up to less than
    // 2^32 and any one of them to at least MARK, so one sum of four entries tells whether all are widths.
    static constexpr std::uint32_t MARK = 1u << 29, UNKNOWN = MARK, OTHER = MARK + 1, LINE_FEED = MARK + 2;

    explicit WidthTable(HDC dc) : dc_(dc), widths_(0x10000, UNKNOWN)
    {
        widths_[L'\n'] = LINE_FEED;
        // The summing holds only when the system adds single widths without kerning or overhang
        // between characters; a probe with kerning pairs and every kind of plain character checks it.
        static const wchar_t probe[] = L"AVAWTo.,;:!iWlMx\t\r Te\x00C0\x00E9\x00DF\x03A9\x0416\x2014\x20AC\x2122yV";
        const int n = static_cast<int>(wcslen(probe));
        SIZE whole = {};
        if (!GetTextExtentPoint32W(dc_, probe, n, &whole)) return;
        std::int64_t summed = 0;
        for (int i = 0; i < n; ++i) summed += learn(probe[i]);
        lineHeight_ = whole.cy;
        usable_ = summed == whole.cx && lineHeight_ > 0;
    }

    Extent system(const wchar_t* line, std::size_t length)
    {
        SIZE size = {};
        GetTextExtentPoint32W(dc_, line, static_cast<int>(std::min<std::size_t>(length, 0x7FFFFFFF)), &size);
        return Extent{size.cx, size.cy};
    }

    // One pass over each entry: the line feeds are found and the widths summed together.
    void measure(std::wstring_view entry, TextBlockBuilder& builder)
    {
        const wchar_t* p = entry.data();
        const wchar_t* const end = p + entry.size();
        const std::uint32_t* const widths = widths_.data();
        for (;;) {
            const wchar_t* const start = p;
            std::int64_t sum = 0;
            bool plain = usable_;
            while (p < end) {
                // Sums of at most 65536 widths below 65536 fit 32 bits.
                const wchar_t* const stop = end - p > 0x10000 ? p + 0x10000 : end;
                std::uint32_t part = 0;
                for (;;) {
                    // Four plain characters at a time; any mark among them is looked at one by one.
                    while (stop - p >= 4) {
                        const std::uint32_t four = (widths[static_cast<unsigned>(p[0])] + widths[static_cast<unsigned>(p[1])]) +
                                                   (widths[static_cast<unsigned>(p[2])] + widths[static_cast<unsigned>(p[3])]);
                        if (four >= MARK) break;
                        part += four;
                        p += 4;
                    }
                    if (p == stop) break;
                    std::uint32_t w = widths[static_cast<unsigned>(*p)];
                    if (w == LINE_FEED) break;
                    if (w == UNKNOWN) w = learn(*p);
                    if (w < MARK)
                        part += w;
                    else
                        plain = false;
                    ++p;
                }
                sum += part;
                if (p < stop) break;   // at a line feed
            }
            if (p == end || p == start) return;   // no line feed: the rest is not measured; empty: done
            builder.addLine(plain ? Extent{sum, lineHeight_} : system(start, static_cast<std::size_t>(p - start)));
            ++p;
        }
    }

private:
    // The width of a plain character (kept in the table), or OTHER.
    std::uint32_t learn(wchar_t c)
    {
        std::uint32_t& w = widths_[static_cast<unsigned>(c)];
        if (w != UNKNOWN) return w;
        SIZE size = {};
        w = plainCharacter(c) && GetTextExtentPoint32W(dc_, &c, 1, &size) && size.cx >= 0 && size.cx < 0x10000
                ? static_cast<std::uint32_t>(size.cx)
                : OTHER;
        return w;
    }

    HDC dc_;
    std::vector<std::uint32_t> widths_;
    std::int64_t lineHeight_ = 0;
    bool usable_ = false;
};

}  // namespace

TextBlock measureText(HDC dc, const EntryList& entries, std::int64_t limit, bool multiline, bool everyLine)
{
    WidthTable table(dc);
    if (everyLine)
        return measureEntries(entries, limit, multiline,
                              [&](std::wstring_view l) { return table.system(l.data(), l.size()); });
    TextBlockBuilder builder(limit, multiline);
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        table.measure(entries[i], builder);
        builder.endEntry();
    }
    return builder.block();
}
