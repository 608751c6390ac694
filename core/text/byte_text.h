#pragma once
// Reading 8-bit text into entries, a block at a time: in the code page of the user's locale, or as
// UTF-8 (a file that says so with its byte-order mark, or, where the user wants it, a file that
// holds valid UTF-8). Whether a file without a mark is UTF-8 is decided while it is read once: its
// ASCII reads the same either way, the first byte above it tells. Only a file that is valid UTF-8
// for a while and then is not is read again from its start, as ANSI.
#include <cstddef>

#include "core/text/entries.h"
#include "core/text/load_outcome.h"

// The conversions the system makes (tests and the fuzz target bring plain ones).
class ByteCodec {
public:
    virtual ~ByteCodec() = default;
    // Decodes n bytes that end on a whole character into `out` (room for n characters): the count
    // made, or -1 when they cannot be decoded. UTF-8 that is not valid: -1 when strict, else each
    // byte that starts no valid sequence gives U+FFFD.
    virtual long decodeAnsi(const char* bytes, std::size_t n, wchar_t* out) const = 0;
    virtual long decodeUtf8(const char* bytes, std::size_t n, wchar_t* out, bool strict) const = 0;
    // A byte that starts a character of two bytes in the code page.
    virtual bool isLeadByte(unsigned char b) const = 0;
};

// Where the bytes come from: a file, or memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to n bytes; fewer means the end.
    virtual std::size_t read(char* into, std::size_t n) = 0;
    // Back to the first byte of the text (after any byte-order mark). False when it cannot.
    virtual bool rewind() = 0;
};

enum class ByteText {
    Ansi,          // the code page
    Utf8,          // UTF-8, as its byte-order mark says; a sequence that is not valid gives U+FFFD
    Utf8IfValid,   // UTF-8 when the whole text is valid UTF-8 and holds a byte above ASCII, else ANSI
};

struct ByteTextRead {
    LoadOutcome outcome = LoadOutcome::Unreadable;   // Loaded, OutOfMemory or Unreadable
    bool utf8 = false;                               // it was read as UTF-8
};

// How an 8-bit text whose first bytes gave `encoding` is read. With UTF-8 Text on, a file with the
// UTF-8 byte-order mark is no longer refused but read as UTF-8, and any other is UTF-8 if valid.
ByteText byteTextFor(TextEncoding& encoding, bool utf8Text);

// Reads the source into `list` (emptied first) by the ANSI rules for lines. `bytes` and `chars` are
// buffers of `block` bytes and characters.
ByteTextRead readByteText(EntryList& list, bool multiline, ByteSource& source, const ByteCodec& codec,
                          ByteText kind, char* bytes, wchar_t* chars, std::size_t block);
