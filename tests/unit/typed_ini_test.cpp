#include "settings/typed_ini.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// UTF-16 LE bytes with byte-order mark, as a file written by the program holds them.
std::string wideFile(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return bytes;
}

IniReader readerOf(const std::wstring& text)
{
    return makeIniReader(wideFile(text), true, nullptr);
}

// For failure messages: the ASCII characters of a wide text, '?' for the rest.
std::string narrow(std::wstring_view text)
{
    std::string out;
    for (wchar_t c : text)
        out.push_back(c > 0 && c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

template <std::size_t N>
std::string bytesOf(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

// The handful of settings most edge cases are about.
struct Targets {
    std::uint8_t slide = 0;
    std::int32_t timeslide = 5000;
    wchar_t file[16] = L"unset";
};

void readTargets(const std::wstring& text, Targets& t)
{
    IniEntry table[] = {
        {L"slide", IniValueType::Bool, &t.slide},
        {L"timeslide", IniValueType::Long, &t.timeslide},
        {L"file", IniValueType::String, t.file},
        {nullptr, IniValueType::Bool, nullptr},
    };
    IniReader reader = readerOf(text);
    readSection(reader, table, L"[Slideshow]", 16);
}

TEST(TypedIni, EdgeCasesOfReading)
{
    struct Case {
        const char* name;
        std::wstring text;
        std::uint8_t slideBefore;
        std::uint8_t slide;
        std::int32_t timeslide;
        std::wstring file;
    };
    const Case cases[] = {
        {"plain section", L"[Slideshow]\r\nslide=TRUE\r\ntimeslide=9000\r\nfile=a.txt\r\n", 0, 1, 9000, L"a.txt"},
        {"LF line ends", L"[Slideshow]\nslide=TRUE\ntimeslide=12\n", 0, 1, 12, L"unset"},
        {"last line without line end", L"[Slideshow]\r\ntimeslide=7", 0, 0, 7, L"unset"},
        {"header on last line without line end", L"timeslide=1\r\n[Slideshow]", 0, 0, 5000, L"unset"},
        {"long header line without line end", L"[Slideshow]" + std::wstring(243, L'x') + L"timeslide=3", 0, 0, 3,
         L"unset"},
        {"header missing", L"[Other]\r\ntimeslide=1\r\n", 0, 0, 5000, L"unset"},
        {"empty file", L"", 0, 0, 5000, L"unset"},
        {"first of two headers only", L"[Slideshow]\r\ntimeslide=1\r\n[Slideshow]\r\ntimeslide=2\r\nslide=TRUE\r\n",
         0, 0, 1, L"unset"},
        {"section searched from the top", L"[A]\r\n[Slideshow]\r\ntimeslide=3\r\n[B]\r\n", 0, 0, 3, L"unset"},
        {"keys of another section", L"[Other]\r\ntimeslide=1\r\n[Slideshow]\r\nslide=TRUE\r\n", 0, 1, 5000, L"unset"},
        {"next header ends the section", L"[Slideshow]\r\nslide=TRUE\r\n[Next]\r\ntimeslide=1\r\n", 0, 1, 5000, L"unset"},
        {"a bracket line ends the section", L"[Slideshow]\r\n[\r\ntimeslide=1\r\n", 0, 0, 5000, L"unset"},
        {"key in upper case", L"[Slideshow]\r\nSLIDE=false\r\n", 1, 0, 5000, L"unset"},
        {"Bool in mixed case", L"[Slideshow]\r\nslide=tRuE\r\n", 0, 1, 5000, L"unset"},
        {"Bool other text", L"[Slideshow]\r\nslide=yes\r\n", 0, 0, 5000, L"unset"},
        {"Bool with trailing blank", L"[Slideshow]\r\nslide=TRUE \r\n", 0, 0, 5000, L"unset"},
        {"Bool with leading blank", L"[Slideshow]\r\nslide= TRUE\r\n", 1, 1, 5000, L"unset"},
        {"header matched over its own length", L"[Slideshow] old\r\nslide=TRUE\r\n", 0, 1, 5000, L"unset"},
        {"header compared with case", L"[slideshow]\r\nslide=TRUE\r\n", 0, 0, 5000, L"unset"},
        {"header not at line start", L" [Slideshow]\r\nslide=TRUE\r\n", 0, 0, 5000, L"unset"},
        {"comment lines skipped", L"[Slideshow]\r\n#slide=TRUE\r\n# note\r\ntimeslide=4\r\n", 0, 0, 4, L"unset"},
        {"leading equals sign", L"[Slideshow]\r\n=slide=TRUE\r\n", 0, 1, 5000, L"unset"},
        {"doubled equals sign", L"[Slideshow]\r\ntimeslide==9000\r\n", 0, 0, 9000, L"unset"},
        {"value ends at equals sign", L"[Slideshow]\r\nfile=C:\\a=b.txt\r\n", 0, 0, 5000, L"C:\\a"},
        {"lines without value", L"[Slideshow]\r\nslide=\r\nslide\r\n\r\n=\r\ntimeslide=6\r\n", 1, 1, 6, L"unset"},
        {"empty value keeps the string", L"[Slideshow]\r\nfile=\r\n", 0, 0, 5000, L"unset"},
        {"no trimming around equals sign", L"[Slideshow]\r\nslide = TRUE\r\ntimeslide =1\r\n", 0, 0, 5000, L"unset"},
        {"zero unit ends the line text", std::wstring(L"[Slideshow]\r\nslide=TRUE\0x\r\ntimeslide=8\r\n", 40), 0, 1, 8,
         L"unset"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Targets t;
        t.slide = c.slideBefore;
        readTargets(c.text, t);
        EXPECT_EQ(t.slide, c.slide);
        EXPECT_EQ(t.timeslide, c.timeslide);
        EXPECT_EQ(std::wstring(t.file), c.file);
    }
}

TEST(TypedIni, IntegerParsingKeepsTheTargetWidth)
{
    struct Case {
        IniValueType type;
        const wchar_t* value;
        std::uint32_t expected;  // the bits of the target afterwards; 0xA5A5A5A5 masked when unchanged
    };
    const std::uint32_t unchanged = 0xA5A5A5A5;
    const Case cases[] = {
        {IniValueType::Byte, L"300", 44},
        {IniValueType::Byte, L"255", 255},
        {IniValueType::Byte, L"-1", 255},
        {IniValueType::Byte, L"x1", unchanged},
        {IniValueType::Short, L"70000", 4464},
        {IniValueType::Short, L"-2", 0xFFFE},
        {IniValueType::Short, L"-32769", 0x7FFF},
        {IniValueType::Short, L"+12", 12},
        {IniValueType::Short, L" \t12", 12},
        {IniValueType::Short, L"12abc", 12},
        {IniValueType::Short, L"- 1", unchanged},
        {IniValueType::Short, L"-", unchanged},
        {IniValueType::Short, L"0x10", 0},
        {IniValueType::Long, L"-2147483648", 0x80000000},
        {IniValueType::Long, L"4294967297", 1},
        {IniValueType::Long, L"99999999999999999999999", 0xF67FFFFF},  // (10^23 - 1) mod 2^32
        {IniValueType::Long, L"\u0661", unchanged},                  // only ASCII digits
        {IniValueType::ShortOctal, L"177777", 0xFFFF},
        {IniValueType::ShortOctal, L"200001", 1},
        {IniValueType::ShortOctal, L"-1", 0xFFFF},
        {IniValueType::ShortOctal, L"78", 7},
        {IniValueType::ShortOctal, L"8", unchanged},
        {IniValueType::LongOctal, L"37777777777", 0xFFFFFFFF},
        {IniValueType::ShortHex, L"abcd", 0xABCD},
        {IniValueType::ShortHex, L"0X1f", 0x1F},
        {IniValueType::ShortHex, L"12345", 0x2345},
        {IniValueType::ShortHex, L"0x", 0},
        {IniValueType::ShortHex, L"g", unchanged},
        {IniValueType::LongHex, L"DeadBeef", 0xDEADBEEF},
        {IniValueType::LongHex, L"-0x1", 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << static_cast<int>(c.type) << " value " << narrow(c.value));
        // The target is as wide as its type says and no wider: the bytes after it stay.
        unsigned char memory[8];
        std::memset(memory, 0xA5, sizeof memory);
        IniEntry table[] = {{L"k", c.type, memory}, {nullptr, IniValueType::Bool, nullptr}};
        IniReader reader = readerOf(std::wstring(L"[S]\r\nk=") + c.value + L"\r\n");
        readSection(reader, table, L"[S]", 0);

        std::size_t width = c.type == IniValueType::Byte ? 1
                          : (c.type == IniValueType::Long || c.type == IniValueType::LongOctal ||
                             c.type == IniValueType::LongHex)
                              ? 4
                              : 2;
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < width; ++i)
            bits |= static_cast<std::uint32_t>(memory[i]) << (8 * i);
        std::uint32_t mask = width == 4 ? 0xFFFFFFFF : (1u << (8 * width)) - 1;
        EXPECT_EQ(bits, c.expected & mask);
        for (std::size_t i = width; i < sizeof memory; ++i)
            EXPECT_EQ(memory[i], 0xA5) << "byte " << i;
    }
}

TEST(TypedIni, RealParsing)
{
    struct Case {
        const wchar_t* value;
        bool parses;
        double expected;
    };
    const Case cases[] = {
        {L"1.5", true, 1.5},
        {L"  -2.5e3", true, -2500},
        {L"+.25", true, 0.25},
        {L"7.", true, 7},
        {L"3e", true, 3},
        {L"1e-2x", true, 0.01},
        {L"abc", false, 0},
        {L"+-1", false, 0},
        {L".", false, 0},
        {L"1e999", false, 0},  // out of range: unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.value));
        double d = 42;
        float f = 42;
        IniEntry table[] = {
            {L"d", IniValueType::Double, &d},
            {L"f", IniValueType::Float, &f},
            {nullptr, IniValueType::Bool, nullptr},
        };
        IniReader reader = readerOf(std::wstring(L"[S]\r\nd=") + c.value + L"\r\nf=" + c.value + L"\r\n");
        readSection(reader, table, L"[S]", 0);
        EXPECT_EQ(d, c.parses ? c.expected : 42.0);
        EXPECT_EQ(f, c.parses ? static_cast<float>(c.expected) : 42.0f);
    }
}

TEST(TypedIni, StringIsCutZeroFilledAndTerminated)
{
    struct Case {
        const wchar_t* value;
        std::wstring expected;  // all 8 characters of the target
    };
    const Case cases[] = {
        {L"abcdefghij", std::wstring(L"abcdefg\0", 8)},
        {L"abcdefg", std::wstring(L"abcdefg\0", 8)},
        {L"ab", std::wstring(L"ab\0\0\0\0\0\0", 8)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.value));
        wchar_t target[10];
        for (wchar_t& ch : target)
            ch = L'z';
        IniEntry table[] = {{L"s", IniValueType::String, target}, {nullptr, IniValueType::Bool, nullptr}};
        IniReader reader = readerOf(std::wstring(L"[S]\r\ns=") + c.value + L"\r\n");
        readSection(reader, table, L"[S]", 8);
        EXPECT_EQ(std::wstring(target, 8), c.expected);
        EXPECT_EQ(target[8], L'z');
        EXPECT_EQ(target[9], L'z');
    }
}

TEST(TypedIni, LongLineIsReadInPiecesOf254)
{
    // 5 + 249 = 254 characters, then the remainder of the same line.
    const std::wstring head = L"file=" + std::wstring(249, L'a');
    struct Case {
        const char* name;
        std::wstring remainder;
        std::int32_t tms;
        std::int32_t after;
    };
    const Case cases[] = {
        {"remainder of a 260-character line is a line of its own", L"tms=12", 12, 9},
        {"remainder starting with a bracket ends the section", L"[x]tms=12", 0, 0},
        {"remainder starting with # is skipped", L"#tms=12", 0, 9},
        {"line of exactly 254 then line end", L"", 0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wchar_t file[300] = {};
        std::int32_t tms = 0;
        std::int32_t after = 0;
        IniEntry table[] = {
            {L"file", IniValueType::String, file},
            {L"tms", IniValueType::Long, &tms},
            {L"after", IniValueType::Long, &after},
            {nullptr, IniValueType::Bool, nullptr},
        };
        IniReader reader = readerOf(L"[S]\r\n" + head + c.remainder + L"\r\nafter=9\r\n");
        readSection(reader, table, L"[S]", 300);
        EXPECT_EQ(std::wstring(file), std::wstring(249, L'a'));
        EXPECT_EQ(tms, c.tms);
        EXPECT_EQ(after, c.after);
    }
}

TEST(TypedIni, EveryMatchingRowIsAssigned)
{
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    std::int32_t number = 77;
    IniEntry table[] = {
        {L"slide", IniValueType::Bool, &first},
        {L"SLIDE", IniValueType::Bool, &second},
        {L"Slide", IniValueType::Long, &number},
        {nullptr, IniValueType::Bool, nullptr},
    };
    IniReader reader = readerOf(L"[S]\r\nsLiDe=TRUE\r\n");
    readSection(reader, table, L"[S]", 0);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(number, 77);  // "TRUE" is no number
}

TEST(TypedIni, NothingIsAssignedWithoutTableOrFile)
{
    // An empty table and a reader without file both leave everything alone; the reader
    // still works for the next section.
    std::int32_t value = 5;
    IniEntry table[] = {{L"k", IniValueType::Long, &value}, {nullptr, IniValueType::Bool, nullptr}};
    IniEntry empty[] = {{L"k", IniValueType::Long, nullptr}};
    IniReader reader = readerOf(L"[E]\r\nk=1\r\n[S]\r\nk=2\r\n");
    readSection(reader, empty, L"[E]", 0);
    EXPECT_EQ(value, 5);
    readSection(reader, table, L"[S]", 0);
    EXPECT_EQ(value, 2);

    IniReader none;
    readSection(none, table, L"[S]", 0);
    EXPECT_EQ(value, 2);
}

TEST(TypedIni, KeysCompareWithoutCaseBeyondAscii)
{
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        bool equal;
    };
    const Case cases[] = {
        {L"Pin", L"PIN", true},
        {L"\u00C9pingler", L"\u00E9PINGLER", true},      // É é
        {L"\u0417\u0430\u043A\u0440\u0435\u043F\u0438\u0442\u044C", L"\u0437\u0410\u041A\u0420\u0415\u041F\u0418\u0422\u042C", true},
        {L"\u0141\u00F3d\u017A", L"\u0142\u00D3D\u0179", true},  // Łódź
        {L"\u010Ce\u0161tina", L"\u010DE\u0160TINA", true},     // Čeština
        {L"\u03A0\u03B9\u03BD", L"\u03C0\u0399\u039D", true},       // Greek
        {L"\u00D7", L"\u00F7", false},                               // × and ÷ are no pair
        {L"\u212A", L"k", false},                                    // Kelvin sign is not ASCII k
        {L"ab", L"abc", false},
        {L"a_b", L"a\u007Fb", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(iniKeysEqual(c.a, c.b), c.equal);
    }
}

// A text of the 8-bit code page that is not Latin-1, so the tests see that the
// caller's conversion is the one used.
std::wstring decodeWithEuro(std::string_view bytes)
{
    std::wstring text;
    for (char c : bytes)
        text.push_back(c == '\x80' ? L'\u20AC' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return text;
}

std::string encodeWithEuro(std::wstring_view text)
{
    std::string bytes;
    for (wchar_t c : text)
        bytes.push_back(c == L'\u20AC' ? '\x80' : c < 0x100 ? static_cast<char>(c) : '?');
    return bytes;
}

TEST(TypedIni, FilesWithoutUtf16Mark)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool wideOpen;
        std::wstring file;
    };
    const Case cases[] = {
        {"ANSI through the decoder", "[S]\r\nfile=\x80 caf\xE9\r\n", true, L"\u20AC caf\u00E9"},
        {"ANSI with LF only", "[S]\nfile=abc", true, L"abc"},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF[S]\r\nfile=caf\xC3\xA9 \xE2\x82\xAC\r\n", true, L"caf\u00E9 \u20AC"},
        {"UTF-8 malformed bytes", "\xEF\xBB\xBF[S]\r\nfile=a\xC3(\xF0\x9F\x98\r\n", true, L"a\uFFFD(\uFFFD\uFFFD\uFFFD"},
        {"UTF-8 outside the BMP", "\xEF\xBB\xBF[S]\r\nfile=\xF0\x9F\x98\x80!\r\n", true, L"\xD83D\xDE00!"},
        {"fallback open does not look for marks", "\xFF\xFE\r\n[S]\r\nfile=x\r\n", false, L"x"},
        {"fallback open reads ANSI", "[S]\r\nfile=\x80\r\n", false, L"\u20AC"},
        {"UTF-16 with an odd last byte", bytesOf("\xFF\xFE[\0S\0]\0\r\0\n\0f\0i\0l\0e\0=\0o\0k\0A"), true, L"ok"},
        {"UTF-16 section after the mark", bytesOf("\xFF\xFE[\0S\0]\0\n\0f\0i\0l\0e\0=\0\x41\x04\n\0"), true,
         L"\u0441"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        wchar_t file[16] = L"unset";
        IniEntry table[] = {{L"file", IniValueType::String, file}, {nullptr, IniValueType::Bool, nullptr}};
        IniReader reader = makeIniReader(c.bytes, c.wideOpen, decodeWithEuro);
        readSection(reader, table, L"[S]", 16);
        EXPECT_EQ(std::wstring(file), c.file);
    }
}

// Two sections as the settings file has them.
struct Sample {
    std::int32_t slideTime = 9000;
    std::uint8_t slideShow = 1;
    std::uint8_t onTop = 0;
    wchar_t version[12] = L"1.00";
};

void writeSample(IniWriter& writer, Sample& s)
{
    IniEntry first[] = {{L"version", IniValueType::String, s.version}, {nullptr, IniValueType::Bool, nullptr}};
    IniEntry second[] = {
        {L"slide", IniValueType::Bool, &s.slideShow},
        {L"timeslide", IniValueType::Long, &s.slideTime},
        {L"ontop", IniValueType::Bool, &s.onTop},
        {nullptr, IniValueType::Bool, nullptr},
    };
    writeSection(writer, first, L"[Tomel]");
    writeSection(writer, second, L"[Slideshow]");
}

TEST(TypedIni, WideFileGoldenBytes)
{
    Sample s;
    IniWriter writer = makeIniWriter(true, nullptr);
    writeSample(writer, s);
    const std::string expected = bytesOf(
        "\xFF\xFE"
        "[\0T\0o\0m\0e\0l\0]\0\r\0\n\0"
        "v\0e\0r\0s\0i\0o\0n\0=\0" "1\0.\0" "0\0" "0\0\r\0\n\0"
        "\r\0\n\0"
        "[\0S\0l\0i\0d\0e\0s\0h\0o\0w\0]\0\r\0\n\0"
        "s\0l\0i\0d\0e\0=\0T\0R\0U\0E\0\r\0\n\0"
        "t\0i\0m\0e\0s\0l\0i\0d\0e\0=\0" "9\0" "0\0" "0\0" "0\0\r\0\n\0"
        "o\0n\0t\0o\0p\0=\0F\0A\0L\0S\0E\0\r\0\n\0");
    EXPECT_EQ(takeIniBytes(writer), expected);
}

TEST(TypedIni, AnsiFileGoldenBytes)
{
    Sample s;
    std::wcscpy(s.version, L"\u20AC\u00E9\u4E00");
    IniWriter writer = makeIniWriter(false, encodeWithEuro);
    writeSample(writer, s);
    EXPECT_EQ(takeIniBytes(writer),
              "[Tomel]\r\nversion=\x80\xE9?\r\n\r\n[Slideshow]\r\nslide=TRUE\r\ntimeslide=9000\r\nontop=FALSE\r\n");
}

TEST(TypedIni, WritingGoesOnAfterTakingBytes)
{
    std::int32_t value = -3;
    IniEntry table[] = {{L"k", IniValueType::Long, &value}, {nullptr, IniValueType::Bool, nullptr}};
    IniEntry empty[] = {{nullptr, IniValueType::Bool, nullptr}};
    IniWriter writer = makeIniWriter(false, nullptr);
    writeSection(writer, empty, L"[Tweak]");
    EXPECT_EQ(takeIniBytes(writer), "[Tweak]\r\n");
    writeSection(writer, table, L"[S]");
    EXPECT_EQ(takeIniBytes(writer), "\r\n[S]\r\nk=-3\r\n");
}

TEST(TypedIni, ValuesAreWrittenInTheirFormats)
{
    struct Case {
        IniValueType type;
        std::uint32_t bits;  // integer targets (little-endian hosts: the low bytes come first)
        double real;         // Float and Double targets
        const char* expected;
    };
    const Case cases[] = {
        {IniValueType::Byte, 200, 0, "200"},
        {IniValueType::Bool, 0, 0, "FALSE"},
        {IniValueType::Bool, 1, 0, "TRUE"},
        {IniValueType::Short, 40000, 0, "-25536"},
        {IniValueType::Long, 0x80000000, 0, "-2147483648"},
        {IniValueType::ShortOctal, 0xFFFF, 0, "177777"},
        {IniValueType::LongOctal, 8, 0, "10"},
        {IniValueType::ShortHex, 0xABCD, 0, "abcd"},
        {IniValueType::LongHex, 0xDEADBEEF, 0, "deadbeef"},
        {IniValueType::Float, 0, 1.5, "1.5"},
        {IniValueType::Float, 0, 1e10, "1e+10"},
        {IniValueType::Double, 0, 0.0001, "0.0001"},
        {IniValueType::Double, 0, 0.00001, "1e-05"},
        {IniValueType::Double, 0, 123456789.0, "1.23457e+08"},
        {IniValueType::Double, 0, 100000.0, "100000"},
        {IniValueType::Double, 0, 1e6, "1e+06"},
        {IniValueType::Double, 0, -0.5, "-0.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        alignas(8) unsigned char memory[8] = {};
        float real = static_cast<float>(c.real);
        if (c.type == IniValueType::Float)
            std::memcpy(memory, &real, sizeof real);
        else if (c.type == IniValueType::Double)
            std::memcpy(memory, &c.real, sizeof c.real);
        else
            std::memcpy(memory, &c.bits, sizeof c.bits);
        IniEntry table[] = {{L"k", c.type, memory}, {nullptr, IniValueType::Bool, nullptr}};
        IniWriter writer = makeIniWriter(false, nullptr);
        writeSection(writer, table, L"[S]");
        EXPECT_EQ(takeIniBytes(writer), std::string("[S]\r\nk=") + c.expected + "\r\n");
    }
}

// Every type written and read back gives the same value, in both file forms.
TEST(TypedIni, RoundTripOfEveryType)
{
    struct Values {
        std::uint8_t byte;
        std::uint8_t flag;
        std::int16_t shortValue;
        std::int32_t longValue;
        std::uint16_t shortOctal;
        std::uint32_t longOctal;
        std::uint16_t shortHex;
        std::uint32_t longHex;
        float real;
        double doubleValue;
        wchar_t text[20];
    };
    auto tableFor = [](Values& v) {
        return std::vector<IniEntry>{
            {L"byte", IniValueType::Byte, &v.byte},
            {L"bool", IniValueType::Bool, &v.flag},
            {L"short", IniValueType::Short, &v.shortValue},
            {L"long", IniValueType::Long, &v.longValue},
            {L"short octal", IniValueType::ShortOctal, &v.shortOctal},
            {L"long octal", IniValueType::LongOctal, &v.longOctal},
            {L"short hex", IniValueType::ShortHex, &v.shortHex},
            {L"long hex", IniValueType::LongHex, &v.longHex},
            {L"float", IniValueType::Float, &v.real},
            {L"double", IniValueType::Double, &v.doubleValue},
            {L"text", IniValueType::String, v.text},
            {nullptr, IniValueType::Bool, nullptr},
        };
    };
    const Values samples[] = {
        {0, 0, -32768, -2147483647 - 1, 0, 0, 0, 0, 0.0f, 0.0, L"x"},
        {255, 1, 32767, 2147483647, 0xFFFF, 0xFFFFFFFF, 0xFFFF, 0xFFFFFFFF, -1.5f, 1234.5, L"C:\\Tomel\\a b.txt"},
        {17, 1, -1, -1, 0755, 012345670123, 0x00F0, 0x0BADF00D, 3.25e10f, -2.5e-7, L"\u00E9\u20AC\u4E00"},
    };
    for (bool wide : {true, false}) {
        for (const Values& sample : samples) {
            SCOPED_TRACE(testing::Message() << (wide ? "wide" : "ANSI") << " sample " << (&sample - samples));
            Values written = sample;
            IniWriter writer = makeIniWriter(wide, encodeWithEuro);
            writeSection(writer, tableFor(written).data(), L"[Other]");
            writeSection(writer, tableFor(written).data(), L"[All]");
            std::string bytes = takeIniBytes(writer);

            Values read{};
            std::memset(&read, 0x5A, sizeof read);
            IniReader reader = makeIniReader(bytes, true, decodeWithEuro);
            readSection(reader, tableFor(read).data(), L"[All]", 20);
            EXPECT_EQ(read.byte, sample.byte);
            EXPECT_EQ(read.flag, sample.flag);
            EXPECT_EQ(read.shortValue, sample.shortValue);
            EXPECT_EQ(read.longValue, sample.longValue);
            EXPECT_EQ(read.shortOctal, sample.shortOctal);
            EXPECT_EQ(read.longOctal, sample.longOctal);
            EXPECT_EQ(read.shortHex, sample.shortHex);
            EXPECT_EQ(read.longHex, sample.longHex);
            EXPECT_EQ(read.real, sample.real);
            EXPECT_EQ(read.doubleValue, sample.doubleValue);
            // The ANSI code page here knows no CJK character.
            std::wstring text = sample.text;
            if (!wide && text.find(L'\u4E00') != std::wstring::npos)
                text[text.find(L'\u4E00')] = L'?';
            EXPECT_EQ(std::wstring(read.text), text);
        }
    }
}

}  // namespace
