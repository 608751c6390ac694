#pragma once
// Sizing the window around the text: every line of every entry is measured once, in the current
// font, and the widest line and the tallest entry give the client area. The measure is passed in,
// so the arithmetic runs without a device context. All sums are 64-bit and saturate, so a
// ten-megabyte line or millions of lines cannot overflow.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Width and height of one measured line, in pixels.
struct Extent {
    std::int64_t cx = 0, cy = 0;
};

// The widest line (or the limit, for a line that wraps) and the tallest entry (multiline) or line.
// A height of 0 means no line could be measured.
struct TextBlock {
    std::int64_t width = 0, height = 0;
};

// No window dimension we compute goes beyond this, so adding frames and origins stays in 32 bits.
inline constexpr std::int64_t MAX_WINDOW_EXTENT = std::int64_t(1) << 30;

inline std::int64_t clampExtent(std::int64_t v) { return std::clamp<std::int64_t>(v, 0, MAX_WINDOW_EXTENT); }

// The height of one line `cx` pixels wide when lines wrap at `limit`: one row, or cx / limit + 1 rows.
inline std::int64_t wrappedHeight(std::int64_t cx, std::int64_t cy, std::int64_t limit)
{
    if (cx <= limit) return cy;
    return clampExtent(std::min(cx / limit + 1, MAX_WINDOW_EXTENT) * clampExtent(cy));
}

// Gathers measured lines into a TextBlock: the widest line (or the limit, for a line that wraps)
// and the tallest entry (multiline: the sum of its lines) or line. `limit` below 1 is taken as 1.
class TextBlockBuilder {
public:
    TextBlockBuilder(std::int64_t limit, bool multiline) : limit_(std::max<std::int64_t>(limit, 1)), multiline_(multiline) {}
    void addLine(Extent e)
    {
        std::int64_t lineHeight = e.cy;
        if (e.cx <= limit_) {
            block_.width = std::max(block_.width, e.cx);
        } else {
            block_.width = limit_;
            lineHeight = wrappedHeight(e.cx, e.cy, limit_);
        }
        if (multiline_)
            entryHeight_ = clampExtent(entryHeight_ + lineHeight);
        else
            block_.height = std::max(block_.height, lineHeight);
    }
    void endEntry()
    {
        if (multiline_) block_.height = std::max(block_.height, entryHeight_);
        entryHeight_ = 0;
    }
    TextBlock block() const { return block_; }
    std::int64_t limit() const { return limit_; }

private:
    std::int64_t limit_;
    bool multiline_;
    std::int64_t entryHeight_ = 0;
    TextBlock block_;
};

// Measures the entries. `entries` has size() and operator[] giving a wide string view; `measure`
// takes a line (without its line feed) and gives its Extent. A line is measured only when a line
// feed ends it; an empty line ends its entry.
template <class Entries, class Measure>
TextBlock measureEntries(const Entries& entries, std::int64_t limit, bool multiline, Measure&& measure)
{
    TextBlockBuilder builder(limit, multiline);
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::wstring_view entry = entries[i];
        std::size_t pos = 0;
        for (;;) {
            const std::size_t feed = entry.find(L'\n', pos);
            if (feed == std::wstring_view::npos || feed == pos) break;
            builder.addLine(measure(entry.substr(pos, feed - pos)));
            pos = feed + 1;
        }
        builder.endEntry();
    }
    return builder.block();
}

// What the window's fit needs to know besides the text.
struct FitMetrics {
    bool fitWidth = false;
    bool multiline = true;
    std::int64_t clientWidth = 0;       // present client width (Fit To Width keeps it)
    std::int64_t fullScreenWidth = 0;   // SM_CXFULLSCREEN
    std::int64_t frameWidth = 0;        // SM_CXFRAME
    std::int64_t frameHeight = 0;       // SM_CYFRAME
    std::int64_t textMargin = 5;        // at the window's dpi, as the frame
    std::int64_t lineHeight = 0;        // tmHeight + tmExternalLeading of the font
};

// The width a line may take before it wraps.
std::int64_t fitLimit(const FitMetrics& m);

struct ClientSize {
    std::int32_t width = 0, height = 0;
};
// The client area for the measured text (an empty block, or one with nothing measured, is one font
// line high). A single line's height is scaled by 96 / 72, as the window has always been on a 96-dpi
// screen; on another the font's height is already the screen's, and is not scaled by it twice.
ClientSize fitClientSize(const FitMetrics& m, TextBlock text);
