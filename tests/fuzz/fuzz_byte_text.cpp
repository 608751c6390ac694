// Any bytes as an 8-bit text file: read a block at a time, as the loader reads, they must give the
// entries that deciding and decoding the whole text at once gives: ANSI, UTF-8 after a byte-order
// mark, or UTF-8 when the text is valid UTF-8 (up to a Ctrl+Z, where the text ends) and holds a byte
// above ASCII.
//
// Input: byte 0 picks the kind (its value mod 3) and multiline (bit 2); byte 1 the block length
// (4 to 259 bytes); the rest is the text, at most MAX_TEXT bytes.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/fuzz/plain_codec.h"

namespace {
constexpr std::size_t MAX_TEXT = 8192;

std::wstring decodedWhole(const std::string& bytes, ByteText kind, bool& utf8)
{
    const PlainCodec codec;
    std::wstring text(bytes.size(), L'\0');
    // The text ends at its first Ctrl+Z: what follows is never looked at.
    const std::size_t end = bytes.find('\x1A');
    const std::string_view read(bytes.data(), end == std::string::npos ? bytes.size() : end + 1);
    utf8 = kind == ByteText::Utf8;
    if (kind == ByteText::Utf8IfValid) {
        const bool above = std::any_of(read.begin(), read.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
        utf8 = above && utf8ToWide(read, true);
    }
    const long n = utf8 ? codec.decodeUtf8(read.data(), read.size(), &text[0], false)
                        : codec.decodeAnsi(read.data(), read.size(), &text[0]);
    text.resize(static_cast<std::size_t>(n));
    return text;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const ByteText kind = static_cast<ByteText>(data[0] % 3);
    const bool multiline = (data[0] & 4) != 0;
    const std::size_t block = 4 + data[1];
    const std::string bytes(reinterpret_cast<const char*>(data) + 2, std::min(size - 2, MAX_TEXT));

    bool utf8 = false;
    // Lists kept from input to input: a new one costs a large allocation, which slows every input.
    static EntryList whole, blocks;
    splitText(whole, decodedWhole(bytes, kind, utf8), TextFlavor::Ansi, multiline);

    const PlainCodec codec;
    MemorySource source(bytes);
    std::vector<char> byteBuffer(block);
    std::vector<wchar_t> charBuffer(block);
    const ByteTextRead read =
        readByteText(blocks, multiline, source, codec, kind, byteBuffer.data(), charBuffer.data(), block);
    if (read.outcome != LoadOutcome::Loaded || read.utf8 != utf8 || blocks.size() != whole.size()) std::abort();
    for (std::size_t i = 0; i < whole.size(); ++i)
        if (whole[i] != blocks[i]) std::abort();
    // Read twice only when UTF-8 for a while turned out not to be.
    if (source.rewinds > (kind == ByteText::Utf8IfValid && !utf8 ? 1 : 0)) std::abort();
    return 0;
}
