#include "core/settings/typed_ini.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#include "core/app/utf8.h"

namespace {

// ---------------------------------------------------------------- decoding

std::wstring utf16LeToWide(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size() / 2);
    // An odd trailing byte cannot form a unit and is dropped.
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned unit = static_cast<unsigned char>(bytes[i]) |
                        (static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8);
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

// A text-mode stream hands over CR LF as LF.
std::wstring crLfToLf(std::wstring text)
{
    std::size_t out = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            continue;
        text[out++] = text[i];
    }
    text.resize(out);
    return text;
}

// ---------------------------------------------------------------- comparing

wchar_t foldCase(wchar_t c)
{
    unsigned u = static_cast<unsigned>(c);
    if (u >= 'A' && u <= 'Z')
        return static_cast<wchar_t>(u + 32);
    if (u < 0xC0)
        return c;
    if (u <= 0xDE && u != 0xD7)  // Latin-1 capitals
        return static_cast<wchar_t>(u + 32);
    if (u >= 0x100 && u <= 0x137)  // Latin Extended-A, capital first
        return static_cast<wchar_t>(u | 1);
    if (u >= 0x139 && u <= 0x148)  // Latin Extended-A, capital on odd codes
        return static_cast<wchar_t>((u & 1) ? u + 1 : u);
    if (u >= 0x14A && u <= 0x177)
        return static_cast<wchar_t>(u | 1);
    if (u == 0x178)
        return static_cast<wchar_t>(0xFF);
    if (u >= 0x179 && u <= 0x17E)
        return static_cast<wchar_t>((u & 1) ? u + 1 : u);
    if (u >= 0x391 && u <= 0x3AB && u != 0x3A2)  // Greek capitals
        return static_cast<wchar_t>(u + 32);
    if (u >= 0x400 && u <= 0x40F)  // Cyrillic capitals with marks
        return static_cast<wchar_t>(u + 80);
    if (u >= 0x410 && u <= 0x42F)  // basic Cyrillic capitals
        return static_cast<wchar_t>(u + 32);
    return c;
}

// ---------------------------------------------------------------- parsing numbers

bool isScanSpace(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

int digitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return 99;
}

// Like scanf's %d, %o and %x: white space, an optional sign, digits (for base 16 after an
// optional 0x). The value wraps modulo 2^64 and the caller keeps the low bits its target
// holds, so an overlong number gives the same result with every runtime. `exact` is the
// number as written, saturated at the ends of the 64-bit range.
bool parseScanInteger(std::wstring_view text, unsigned base, std::uint64_t& result, std::int64_t& exact)
{
    std::size_t i = 0;
    while (i < text.size() && isScanSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    bool anyDigit = false;
    if (base == 16 && i + 1 < text.size() && text[i] == L'0' &&
        (text[i + 1] == L'x' || text[i + 1] == L'X')) {
        anyDigit = true;  // "0x" alone reads as 0
        i += 2;
    }
    constexpr std::uint64_t SATURATED = std::uint64_t(1) << 63;
    std::uint64_t value = 0, magnitude = 0;
    while (i < text.size() && static_cast<unsigned>(digitValue(text[i])) < base) {
        const unsigned digit = static_cast<unsigned>(digitValue(text[i]));
        value = value * base + digit;
        magnitude = magnitude > (SATURATED - digit) / base ? SATURATED : magnitude * base + digit;
        anyDigit = true;
        ++i;
    }
    if (!anyDigit)
        return false;
    result = negative ? 0 - value : value;
    exact = negative ? (magnitude >= SATURATED ? INT64_MIN : -static_cast<std::int64_t>(magnitude))
                     : static_cast<std::int64_t>(magnitude == SATURATED ? SATURATED - 1 : magnitude);
    return true;
}

// Like scanf's %g: decimal forms, "inf" and "nan"; no hexadecimal floats. A number out of
// the type's range does not parse. The decimal point is '.' whatever the locale.
template <typename Real>
bool parseScanReal(std::wstring_view text, Real& result)
{
    std::size_t i = 0;
    while (i < text.size() && isScanSpace(text[i]))
        ++i;
    // from_chars takes ASCII and no leading '+'.
    char narrow[lineBufferSize + 1];
    std::size_t length = 0;
    if (i < text.size() && text[i] == L'+') {
        ++i;
        if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
            return false;
    }
    while (i < text.size() && length < sizeof narrow && text[i] > 0 && text[i] < 0x80)
        narrow[length++] = static_cast<char>(text[i++]);
    Real value{};
    std::from_chars_result parsed =
        std::from_chars(narrow, narrow + length, value, std::chars_format::general);
    if (parsed.ec != std::errc())
        return false;
    result = value;
    return true;
}

// ---------------------------------------------------------------- targets

template <typename T>
void store(void* target, T value)
{
    std::memcpy(target, &value, sizeof value);
}

template <typename T>
T load(const void* target)
{
    T value;
    std::memcpy(&value, target, sizeof value);
    return value;
}

// A whole number of the row's type and base; a row with a range takes its fallback for a number
// outside it.
bool parseRowInteger(const IniEntry& row, std::wstring_view value, unsigned base, std::uint64_t& number)
{
    std::int64_t exact = 0;
    if (!parseScanInteger(value, base, number, exact))
        return false;
    if (row.range && (exact < row.range->min || exact > row.range->max))
        number = static_cast<std::uint64_t>(row.range->fallback);
    return true;
}

void assignValue(const IniEntry& row, std::wstring_view value, std::size_t maxLength, bool lineCut)
{
    std::uint64_t number = 0;
    switch (row.type) {
    case IniValueType::Byte:
        if (parseRowInteger(row, value, 10, number))
            store(row.target, static_cast<std::uint8_t>(number));
        break;
    case IniValueType::Bool:
        if (iniKeysEqual(value, L"TRUE"))
            store(row.target, std::uint8_t{1});
        else if (iniKeysEqual(value, L"FALSE"))
            store(row.target, std::uint8_t{0});
        break;
    case IniValueType::Short:
    case IniValueType::ShortOctal:
    case IniValueType::ShortHex: {
        unsigned base = row.type == IniValueType::Short ? 10 : row.type == IniValueType::ShortOctal ? 8 : 16;
        if (parseRowInteger(row, value, base, number))
            store(row.target, static_cast<std::uint16_t>(number));
        break;
    }
    case IniValueType::Long:
    case IniValueType::LongOctal:
    case IniValueType::LongHex: {
        unsigned base = row.type == IniValueType::Long ? 10 : row.type == IniValueType::LongOctal ? 8 : 16;
        if (parseRowInteger(row, value, base, number))
            store(row.target, static_cast<std::uint32_t>(number));
        break;
    }
    case IniValueType::Float: {
        float real = 0;
        if (parseScanReal(value, real))
            store(row.target, real);
        break;
    }
    case IniValueType::Double: {
        double real = 0;
        if (parseScanReal(value, real))
            store(row.target, real);
        break;
    }
    case IniValueType::String: {
        if (maxLength == 0 || (row.whole && (lineCut || value.size() > maxLength - 1)))
            break;
        // Zero-filled to the end and always terminated, as wcsncpy plus a terminator.
        wchar_t* text = static_cast<wchar_t*>(row.target);
        std::size_t copied = value.size() < maxLength - 1 ? value.size() : maxLength - 1;
        for (std::size_t i = 0; i < maxLength - 1; ++i)
            text[i] = i < copied ? value[i] : L'\0';
        text[maxLength - 1] = L'\0';
        break;
    }
    }
}

// ---------------------------------------------------------------- reading lines

bool atEnd(const IniReader& reader)
{
    return reader.position >= reader.text.size();
}

// As fgetws with room for lineReadLimit characters: up to and including a line feed. False at
// the end of the text.
bool readLine(IniReader& reader)
{
    if (atEnd(reader))
        return false;
    std::size_t length = 0;
    reader.lineCut = true;
    while (length < lineReadLimit) {
        if (atEnd(reader)) {
            reader.lineCut = false;
            break;
        }
        wchar_t c = reader.text[reader.position++];
        reader.lineBuffer[length++] = c;
        if (c == L'\n') {
            reader.lineCut = false;
            break;
        }
    }
    reader.lineBuffer[length] = L'\0';
    return true;
}

bool lineStartsWith(const wchar_t* line, const wchar_t* header, std::size_t headerLength)
{
    // The line is terminated and the header holds no zero, so a short line stops the loop.
    for (std::size_t i = 0; i < headerLength; ++i)
        if (line[i] != header[i])
            return false;
    return true;
}

bool isSplitter(wchar_t c)
{
    return c == L'=' || c == L'\r' || c == L'\n';
}

// The first two runs of characters other than '=', CR and LF, as wcstok finds them.
bool splitLine(const wchar_t* line, std::wstring_view& key, std::wstring_view& value)
{
    std::size_t i = 0;
    while (line[i] != L'\0' && isSplitter(line[i]))
        ++i;
    if (line[i] == L'\0')
        return false;
    std::size_t keyStart = i;
    while (line[i] != L'\0' && !isSplitter(line[i]))
        ++i;
    key = std::wstring_view(line + keyStart, i - keyStart);
    while (line[i] != L'\0' && isSplitter(line[i]))
        ++i;
    if (line[i] == L'\0')
        return false;
    std::size_t valueStart = i;
    while (line[i] != L'\0' && !isSplitter(line[i]))
        ++i;
    value = std::wstring_view(line + valueStart, i - valueStart);
    return true;
}

std::size_t terminatedLength(const wchar_t* text)
{
    std::size_t length = 0;
    while (text[length] != L'\0')
        ++length;
    return length;
}

// ---------------------------------------------------------------- writing

void appendText(IniWriter& writer, std::wstring_view text)
{
    if (writer.wide) {
        for (wchar_t c : text) {
            unsigned unit = static_cast<unsigned>(c) & 0xFFFF;
            writer.bytes.push_back(static_cast<char>(unit & 0xFF));
            writer.bytes.push_back(static_cast<char>(unit >> 8));
        }
    } else {
        std::string encoded = writer.encoder ? writer.encoder(text) : wideToLatin1(text);
        // A text-mode stream writes every LF as CR LF.
        for (char c : encoded) {
            if (c == '\n')
                writer.bytes.push_back('\r');
            writer.bytes.push_back(c);
        }
    }
}

void appendLineEnd(IniWriter& writer)
{
    appendText(writer, writer.wide ? L"\r\n" : L"\n");
}

std::wstring widenAscii(const char* text, std::size_t length)
{
    return std::wstring(text, text + length);
}

std::wstring formatInteger(const char* format, long value)
{
    char buffer[32];
    int length = std::snprintf(buffer, sizeof buffer, format, value);
    return length > 0 ? widenAscii(buffer, static_cast<std::size_t>(length)) : std::wstring();
}

std::wstring formatUnsigned(const char* format, unsigned long value)
{
    char buffer[32];
    int length = std::snprintf(buffer, sizeof buffer, format, value);
    return length > 0 ? widenAscii(buffer, static_cast<std::size_t>(length)) : std::wstring();
}

// "%g": six significant digits, the shorter of fixed and exponent form, with '.' and an exponent of
// at least two digits whatever the runtime and its locale. Built from "%.5e", whose digits every
// runtime gives alike (only the decimal point and the exponent's width differ), as %g itself is
// defined; this keeps the large tables of the shortest-form formatter out of the program.
std::wstring formatReal(double value)
{
    if (std::isnan(value))
        return std::signbit(value) ? L"-nan" : L"nan";
    if (std::isinf(value))
        return value < 0 ? L"-inf" : L"inf";
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, "%.5e", value);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer)
        return std::wstring();
    const char* p = buffer;
    std::string out;
    if (*p == '-')
        out += *p++;
    std::string digits;   // the six significant digits
    for (; *p && *p != 'e' && *p != 'E'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    const int exponent = *p ? std::atoi(p + 1) : 0;
    if (digits.size() != 6)
        return std::wstring();
    if (exponent < -4 || exponent >= 6) {
        std::string mantissa = digits.substr(0, 1) + "." + digits.substr(1);
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.')
            mantissa.pop_back();
        char tail[16];
        std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
        out += mantissa + tail;
    } else {
        std::string fixed = exponent >= 0 ? digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1)
                                          : "0." + std::string(-exponent - 1, '0') + digits;
        while (fixed.back() == '0')
            fixed.pop_back();
        if (fixed.back() == '.')
            fixed.pop_back();
        out += fixed;
    }
    return widenAscii(out.data(), out.size());
}

std::wstring formatValue(const IniEntry& row)
{
    switch (row.type) {
    case IniValueType::Byte:
        return formatInteger("%ld", load<std::uint8_t>(row.target));
    case IniValueType::Bool:
        return load<std::uint8_t>(row.target) ? L"TRUE" : L"FALSE";
    case IniValueType::Short:
        return formatInteger("%ld", load<std::int16_t>(row.target));
    case IniValueType::Long:
        return formatInteger("%ld", load<std::int32_t>(row.target));
    case IniValueType::ShortOctal:
        return formatUnsigned("%lo", load<std::uint16_t>(row.target));
    case IniValueType::LongOctal:
        return formatUnsigned("%lo", load<std::uint32_t>(row.target));
    case IniValueType::ShortHex:
        return formatUnsigned("%lx", load<std::uint16_t>(row.target));
    case IniValueType::LongHex:
        return formatUnsigned("%lx", load<std::uint32_t>(row.target));
    case IniValueType::Float:
        return formatReal(load<float>(row.target));
    case IniValueType::Double:
        return formatReal(load<double>(row.target));
    case IniValueType::String: {
        const wchar_t* text = static_cast<const wchar_t*>(row.target);
        return std::wstring(text, terminatedLength(text));
    }
    }
    return std::wstring();
}

}  // namespace

std::wstring latin1ToWide(std::string_view bytes)
{
    std::wstring text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return text;
}

std::string wideToLatin1(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t c : text) {
        unsigned u = static_cast<unsigned>(c);
        bytes.push_back(u <= 0xFF ? static_cast<char>(u) : '?');
    }
    return bytes;
}

bool iniKeysEqual(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    return true;
}

IniReader makeIniReader(std::string_view bytes, bool wideOpen, IniDecoder decoder)
{
    IniReader reader;
    reader.hasFile = true;
    auto startsWith = [&](std::string_view mark) {
        return bytes.size() >= mark.size() && bytes.substr(0, mark.size()) == mark;
    };
    if (wideOpen && startsWith("\xFF\xFE")) {
        reader.wide = true;
        reader.text = utf16LeToWide(bytes.substr(2));
    } else if (wideOpen && startsWith("\xEF\xBB\xBF")) {
        reader.text = crLfToLf(*utf8ToWide(bytes.substr(3), false));
    } else {
        reader.text = crLfToLf(decoder ? decoder(bytes) : latin1ToWide(bytes));
    }
    return reader;
}

void readSection(IniReader& reader, const IniEntry* table, const wchar_t* header,
                 std::size_t maxLength)
{
    if (!reader.hasFile || header == nullptr)
        return;
    reader.position = 0;

    // Only the first line that starts with the header counts. A header on the last line
    // leaves the reader at the end, and its section is taken as empty.
    std::size_t headerLength = terminatedLength(header);
    while (readLine(reader) && !lineStartsWith(reader.lineBuffer, header, headerLength)) {
    }
    if (atEnd(reader))
        return;

    bool emptyTable = table == nullptr || table[0].target == nullptr;
    while (readLine(reader)) {
        if (reader.lineBuffer[0] == L'#')
            continue;
        if (reader.lineBuffer[0] == L'[')
            return;
        std::wstring_view key;
        std::wstring_view value;
        if (!splitLine(reader.lineBuffer, key, value) || emptyTable)
            continue;
        // Every matching row is assigned: rows may share a key.
        for (const IniEntry* row = table; row->target != nullptr; ++row)
            if (row->key != nullptr && iniKeysEqual(std::wstring_view(row->key), key))
                assignValue(*row, value, maxLength, reader.lineCut);
    }
}

bool iniFileIsOurs(const IniReader& file, const wchar_t* header)
{
    IniReader reader = file;
    reader.position = 0;
    const std::size_t headerLength = terminatedLength(header);
    bool blank = true;
    while (readLine(reader)) {
        if (lineStartsWith(reader.lineBuffer, header, headerLength))
            return true;
        for (const wchar_t* c = reader.lineBuffer; *c != L'\0'; ++c)
            if (!isScanSpace(*c))
                blank = false;
    }
    return blank;
}

IniWriter makeIniWriter(bool wide, IniEncoder encoder)
{
    IniWriter writer;
    writer.wide = wide;
    writer.encoder = encoder;
    return writer;
}

void writeSection(IniWriter& writer, const IniEntry* table, const wchar_t* header)
{
    // An empty line parts this section from the one before; the first one follows the mark.
    if (writer.started) {
        appendLineEnd(writer);
    } else if (writer.wide) {
        writer.bytes += "\xFF\xFE";
    }
    writer.started = true;
    appendText(writer, header ? header : L"");
    appendLineEnd(writer);
    if (table == nullptr)
        return;
    for (const IniEntry* row = table; row->target != nullptr; ++row) {
        const wchar_t* key = row->key ? row->key : L"";
        std::wstring value = formatValue(*row);
        if (row->whole && value.size() > longestWholeValue(key))
            value.clear();
        appendText(writer, key);
        appendText(writer, L"=");
        appendText(writer, value);
        appendLineEnd(writer);
    }
}

std::size_t longestWholeValue(const wchar_t* key)
{
    // The key, "=", the value and CR LF (UTF-16 files keep both) in one read of a line.
    const std::size_t taken = terminatedLength(key) + 3;
    return taken < lineReadLimit ? lineReadLimit - taken : 0;
}

std::string takeIniBytes(IniWriter& writer)
{
    std::string bytes;
    bytes.swap(writer.bytes);
    return bytes;
}
