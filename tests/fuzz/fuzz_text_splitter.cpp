// Any bytes as a text file: the splitter must not crash, must give the same entries however the
// characters are fed in blocks, and every entry must follow the shape rules.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text/entries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const TextFlavor flavor = (data[0] & 1) ? TextFlavor::Utf16 : TextFlavor::Ansi;
    const bool multiline = (data[0] & 2) != 0;
    const std::size_t block = 1 + data[1];
    data += 2;
    size -= 2;
    std::wstring text;
    if (flavor == TextFlavor::Utf16) {
        for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    } else {
        // Small alphabet, so line ends, blank lines and carriage returns are common.
        static const wchar_t alphabet[] = {L'a', L'\n', L'\r', L'\0', L'b', L' ', L'\n', L'\t'};
        for (std::size_t i = 0; i < size; ++i) text.append(data[i] >> 6 == 3 ? 700 : 1, alphabet[data[i] & 7]);
    }
    EntryList whole;
    splitText(whole, text, flavor, multiline);

    EntryList blocks;
    EntrySplitter splitter(blocks, flavor, multiline);
    for (std::size_t at = 0; at < text.size(); at += block)
        splitter.feed(text.data() + at, text.size() - at < block ? text.size() - at : block);
    splitter.finish();
    if (blocks.size() != whole.size()) std::abort();
    std::size_t total = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const std::wstring_view e = whole[i];
        if (e != blocks[i]) std::abort();
        if (e.empty()) std::abort();
        if (e.find(L'\0') != std::wstring_view::npos) std::abort();
        const bool last = i + 1 == whole.size();
        if ((flavor == TextFlavor::Utf16 || last) && e.back() != L'\n') std::abort();
        if (!multiline && e.size() > EntrySplitter::PIECE + 1) std::abort();
        total += e.size();
    }
    if (total > charactersNeeded(flavor == TextFlavor::Utf16 ? 2 + 2 * text.size() : text.size(), flavor)) std::abort();
    return 0;
}
