#include "core/text/byte_text.h"

#include <cstring>

#include "core/app/utf8.h"

namespace {

enum class Reading { Ascii, Utf8Marked, Utf8, Ansi };

// Code page text: up to the last line feed (never a trail byte), else by walking the lead bytes.
std::size_t wholeAnsiLength(const char* bytes, std::size_t n, bool atEnd, const ByteCodec& codec)
{
    if (atEnd || n == 0) return n;
    for (std::size_t i = n; i > 0; --i)
        if (bytes[i - 1] == '\n') return i;
    std::size_t i = 0;
    while (i < n) i += codec.isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
    return i > n ? n - 1 : n;
}

std::size_t asciiLength(const char* bytes, std::size_t n)
{
    std::size_t i = 0;
    while (i < n && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
    return i;
}

struct Pass {
    LoadOutcome outcome = LoadOutcome::Loaded;
    bool restart = false;   // UTF-8 for a while, then not: read it all again as ANSI
    bool utf8 = false;
};

Pass readPass(EntryList& list, bool multiline, ByteSource& source, const ByteCodec& codec, Reading reading,
              char* bytes, wchar_t* chars, std::size_t block)
{
    list.clear();
    EntrySplitter splitter(list, TextFlavor::Ansi, multiline);
    Pass pass;
    std::size_t carried = 0;
    bool atEnd = false;
    while (!atEnd && !splitter.failed() && !splitter.stopped()) {
        const std::size_t n = carried + source.read(bytes + carried, block - carried);
        atEnd = n < block;
        std::size_t at = 0;
        while (at < n && !splitter.failed() && !splitter.stopped()) {
            const char* from = bytes + at;
            // Ctrl+Z ends the text: nothing after it is decoded, so nothing after it decides how.
            std::size_t left = n - at;
            bool last = atEnd;
            if (const void* z = std::memchr(from, 0x1A, left)) {
                left = static_cast<std::size_t>(static_cast<const char*>(z) - from) + 1;
                last = true;
            }
            std::size_t ready = 0;
            long made = 0;
            if (reading == Reading::Ascii) {
                ready = asciiLength(from, left);
                if (ready == 0) {
                    reading = Reading::Utf8;   // a byte above ASCII: is it UTF-8?
                    continue;
                }
                for (std::size_t i = 0; i < ready; ++i) chars[i] = static_cast<wchar_t>(from[i]);
                made = static_cast<long>(ready);
            } else if (reading == Reading::Ansi) {
                ready = wholeAnsiLength(from, left, last, codec);
                if (ready == 0) break;   // the rest waits for more bytes
                made = codec.decodeAnsi(from, ready, chars);
            } else {
                ready = wholeUtf8Length(from, left, last);
                if (ready == 0) break;
                made = codec.decodeUtf8(from, ready, chars, reading == Reading::Utf8);
                if (made < 0 && reading == Reading::Utf8) {
                    // Before any sequence was taken as UTF-8 everything was ASCII, which reads the
                    // same in the code page: go on from here. After one, start again.
                    if (pass.utf8) {
                        pass.restart = true;
                        return pass;
                    }
                    reading = Reading::Ansi;
                    continue;
                }
                pass.utf8 = true;
            }
            if (made < 0) {
                pass.outcome = LoadOutcome::Unreadable;   // a hole in the text would be worse than no text
                return pass;
            }
            splitter.feed(chars, static_cast<std::size_t>(made));
            at += ready;
        }
        carried = n - at;
        std::memmove(bytes, bytes + at, carried);
    }
    splitter.finish();
    if (splitter.failed()) pass.outcome = LoadOutcome::OutOfMemory;
    return pass;
}

}  // namespace

ByteText byteTextFor(TextEncoding& encoding, bool utf8Text)
{
    if (!utf8Text) return ByteText::Ansi;
    if (encoding.outcome != LoadOutcome::Utf8) return ByteText::Utf8IfValid;
    encoding.outcome = LoadOutcome::Loaded;
    return ByteText::Utf8;
}

ByteTextRead readByteText(EntryList& list, bool multiline, ByteSource& source, const ByteCodec& codec,
                          ByteText kind, char* bytes, wchar_t* chars, std::size_t block)
{
    const Reading first = kind == ByteText::Ansi ? Reading::Ansi
                          : kind == ByteText::Utf8 ? Reading::Utf8Marked
                                                   : Reading::Ascii;
    Pass pass = readPass(list, multiline, source, codec, first, bytes, chars, block);
    if (pass.restart) {
        if (!source.rewind()) return {LoadOutcome::Unreadable, false};
        pass = readPass(list, multiline, source, codec, Reading::Ansi, bytes, chars, block);
    }
    return {pass.outcome, kind == ByteText::Utf8 || (pass.utf8 && !pass.restart)};
}
