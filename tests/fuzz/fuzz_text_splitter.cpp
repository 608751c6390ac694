// Any bytes as a text file: the splitter must not crash, must give the same entries however the
// characters are fed in blocks, must stay inside the room the loader reserves, and every entry must
// follow the shape rules.
//
// Input: byte 0 picks the flavour (bit 0: UTF-16), multiline (bit 1) and a new list for the whole
// text (bit 2, below); byte 1 the block length;
// every further byte is one character of a small alphabet that holds each kind of character the
// splitter tells apart, or with its two top bits set a run of RUN of them, so that lines as long as
// a piece are cheap to reach. The text is cut at MAX_TEXT characters, which keeps every input fast.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text/entries.h"

namespace {

constexpr std::size_t RUN = EntrySplitter::PIECE / 3;            // three runs make a whole piece
constexpr std::size_t MAX_TEXT = EntrySplitter::PIECE + RUN + 2;   // past a whole piece and on
constexpr std::size_t MAX_FEEDS = 64;                            // blocks per input at most

// Line feed, carriage return and NUL; Ctrl+Z (26, the end of ANSI text) and its neighbours;
// ordinary characters, the highest unit and a lone surrogate.
const wchar_t alphabet[16] = {L'a', L'\n', L'\r', L'\0', L'b', L' ', L'\n', L'\t',
                              26,   27,    25,    0xFFFF, L'\r', L'\n', 0xE9, 0xD800};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const TextFlavor flavor = (data[0] & 1) ? TextFlavor::Utf16 : TextFlavor::Ansi;
    const bool multiline = (data[0] & 2) != 0;
    std::wstring text;
    for (std::size_t i = 2; i < size && text.size() < MAX_TEXT; ++i) {
        const std::size_t count = data[i] >> 6 == 3 ? RUN : 1;
        text.append(count < MAX_TEXT - text.size() ? count : MAX_TEXT - text.size(), alphabet[data[i] & 15]);
    }

    // All at once, into a new list that grows from nothing, or into one kept from earlier inputs
    // (a new list costs a large allocation, which would slow every input down).
    EntryList fresh;
    static EntryList kept;
    EntryList& whole = (data[0] & 4) ? fresh : kept;
    splitText(whole, text, flavor, multiline);

    // In blocks, into a list kept from input to input and reserved for the file first, as the loader does.
    // An ANSI file has at least a byte a character; a UTF-16 file two and its byte-order mark.
    static EntryList blocks;
    const std::size_t fileBytes = flavor == TextFlavor::Utf16 ? 2 + 2 * text.size() : text.size();
    if (!blocks.resetFor(charactersNeeded(fileBytes, flavor))) std::abort();
    const std::size_t reserved = blocks.capacity();
    EntrySplitter splitter(blocks, flavor, multiline);
    // Short blocks for short texts, long ones (as the loader's) for long texts.
    const std::size_t chosen = data[1] < 128 ? 1u + data[1] : (data[1] - 127u) * 128u;
    const std::size_t block = std::max(chosen, (text.size() + MAX_FEEDS - 1) / MAX_FEEDS);
    for (std::size_t at = 0; at < text.size(); at += block)
        splitter.feed(text.data() + at, text.size() - at < block ? text.size() - at : block);
    splitter.finish();
    if (blocks.capacity() != reserved) std::abort();   // the reservation was enough

    if (blocks.size() != whole.size()) std::abort();
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const std::wstring_view e = whole[i];
        const bool last = i + 1 == whole.size();
        if (e != blocks[i] || e.empty() || e.find(L'\0') != std::wstring_view::npos) std::abort();
        if (((flavor == TextFlavor::Utf16 || last) && e.back() != L'\n') ||
            (!multiline && e.size() > EntrySplitter::PIECE + 1))
            std::abort();
    }
    return 0;
}
