// Typed INI engine: reads and writes sections of "key=value" lines described by
// tables of rows (key, type, target). This part works on bytes in memory only; the
// file wrapper opens the file, hands its bytes to an IniReader and writes out what an
// IniWriter produced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The codes are part of the table format and never change.
enum class IniValueType : std::int32_t {
    Byte = 1,        // unsigned 8-bit; written "%d", read "%d" keeping the low 8 bits
    Bool = 2,        // one byte 0/1; "FALSE"/"TRUE", any case when read
    Short = 3,       // signed 16-bit, "%hd"
    Long = 4,        // signed 32-bit, "%ld"
    ShortOctal = 5,  // 16-bit, "%ho"
    LongOctal = 6,   // 32-bit, "%lo"
    ShortHex = 7,    // 16-bit, "%hx"
    LongHex = 8,     // 32-bit, "%lx"
    Float = 9,       // float, "%g"
    Double = 10,     // double, "%lg"
    String = 11,     // wchar_t array of the reader's maxLength
};

// The usable values of a number: one written outside min..max (as written, before it is cut to the
// target's width) is not used, and the target takes `fallback` instead.
struct IniRange {
    std::int64_t min, max, fallback;
};
inline constexpr bool withinRange(std::int64_t value, const IniRange& range)
{
    return value >= range.min && value <= range.max;
}

// One row of a section table. A table ends with a row whose target is null. `range`, for a whole
// number, says which values are usable; without it every number is taken as the type reads it.
// `whole`, for a String: a value is used only as a whole. One cut short (by the line's or the
// target's length) is not read, and one too long for a line is written empty: a path cut short
// would name another file.
struct IniEntry {
    const wchar_t* key;
    IniValueType type;
    void* target;
    const IniRange* range = nullptr;
    bool whole = false;
};

// The longest value of `key` whose line is read back whole.
std::size_t longestWholeValue(const wchar_t* key);

enum class IniOpenMode : std::int32_t { Read = 0, Write = 1 };

// Conversions for files without byte-order mark (hand-saved ANSI text and the ANSI
// fallback of writing). On Windows these go through the user's code page.
using IniDecoder = std::wstring (*)(std::string_view bytes);
using IniEncoder = std::string (*)(std::wstring_view text);

// Each byte becomes the code unit of the same number; used when no decoder is given.
std::wstring latin1ToWide(std::string_view bytes);
// Units above 255 become '?'; used when no encoder is given.
std::string wideToLatin1(std::wstring_view text);

constexpr std::size_t lineBufferSize = 256;
// A line is taken at most this many characters at a time; the rest of a longer line
// comes as the next line.
constexpr std::size_t lineReadLimit = lineBufferSize - 2;

struct IniReader {
    bool hasFile = false;  // false (a failed open): every readSection does nothing
    bool wide = false;     // the text came from UTF-16 LE after a byte-order mark
    std::wstring text;     // the whole file as UTF-16 units
    std::size_t position = 0;   // where the next line starts
    bool lineCut = false;  // the line last read is the first part of a longer one
    wchar_t lineBuffer[lineBufferSize] = {};
};

// wideOpen true: the bytes of a file opened in binary (the normal case). With the
// byte-order mark FF FE they are UTF-16 LE; with the UTF-8 mark EF BB BF they are
// UTF-8; anything else is 8-bit text for `decoder`. wideOpen false: the bytes are 8-bit
// text whatever they start with. 8-bit text has CR LF turned into LF, as a text-mode
// stream would. A null decoder means Latin-1.
IniReader makeIniReader(std::string_view bytes, bool wideOpen, IniDecoder decoder);

// Assigns the targets of `table` from the first section headed by `header`.
// `maxLength` is the size in characters of every String target of the table.
void readSection(IniReader& reader, const IniEntry* table, const wchar_t* header,
                 std::size_t maxLength);

// Whether a file these bytes came from may be written over with settings whose first section is
// `header`: it holds that section (a line that starts with it, as readSection finds it) or nothing
// but blanks. Any other file is someone else's.
bool iniFileIsOurs(const IniReader& reader, const wchar_t* header);

struct IniWriter {
    bool wide = true;                 // UTF-16 LE with byte-order mark; else 8-bit text
    IniEncoder encoder = nullptr;     // for 8-bit text; null means Latin-1
    std::string bytes;                // produced and not yet taken
    bool started = false;             // a section was written, taken or not
};

IniWriter makeIniWriter(bool wide, IniEncoder encoder);

// Appends the section `header` with one "key=value" line per row of `table`.
void writeSection(IniWriter& writer, const IniEntry* table, const wchar_t* header);

// The bytes produced since the last take. Writing may go on afterwards.
std::string takeIniBytes(IniWriter& writer);

// Key comparison without regard to case; the same on every platform and locale.
bool iniKeysEqual(std::wstring_view a, std::wstring_view b);
