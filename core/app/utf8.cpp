#include "core/app/utf8.h"

#include <cstdint>

namespace {

void appendUtf16(std::wstring& text, std::uint32_t codePoint)
{
    if (codePoint >= 0x10000) {
        codePoint -= 0x10000;
        text.push_back(static_cast<wchar_t>(0xD800 + (codePoint >> 10)));
        text.push_back(static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
        text.push_back(static_cast<wchar_t>(codePoint));
    }
}

// The length of the sequence a lead byte starts (1 for a byte that starts none).
std::size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 1;
}

}  // namespace

std::optional<std::wstring> utf8ToWide(std::string_view bytes, bool strict)
{
    std::wstring text;
    text.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text.push_back(static_cast<wchar_t>(lead));
            ++i;
            continue;
        }
        const std::size_t extra = sequenceLength(lead) - 1;
        const std::uint32_t lowest = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        std::uint32_t codePoint = lead & (0x7F >> (extra + 1));
        bool valid = extra != 0 && bytes.size() - i > extra;
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            const unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                valid = false;
            else
                codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (valid && (codePoint < lowest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)))
            valid = false;
        if (valid) {
            appendUtf16(text, codePoint);
            i += extra + 1;
        } else if (strict) {
            return std::nullopt;
        } else {
            text.push_back(static_cast<wchar_t>(0xFFFD));
            ++i;
        }
    }
    return text;
}

std::size_t wholeUtf8Length(const char* bytes, std::size_t n, bool atEnd)
{
    if (atEnd) return n;
    // A sequence is at most four bytes: only a lead byte among the last three can be unfinished.
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
        const unsigned char b = static_cast<unsigned char>(bytes[n - back]);
        if ((b & 0xC0) == 0x80) continue;   // a continuation byte: look further back
        return b >= 0xC0 && sequenceLength(b) > back ? n - back : n;
    }
    return n;
}
