#include "core/settings/typed_ini.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cmath>
#include <cstring>
#include <string>
#include <iterator>
#include <tuple>

namespace {

using T = IniValueType;

std::string utf16Bytes(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
    return bytes;
}

// One row of `type` with `target`, read from section [S] of `text`.
void readOne(const std::wstring& text, T type, void* target, std::size_t maxLength = 0)
{
    const IniEntry table[] = {{L"k", type, target}, {}};
    IniReader reader = makeIniReader(utf16Bytes(text), true, nullptr);
    readSection(reader, table, L"[S]", maxLength);
}

// An 8-bit code page that is not Latin-1, so the tests see that the caller's conversion is used.
std::wstring decodeWithEuro(std::string_view bytes)
{
    std::wstring text = latin1ToWide(bytes);
    for (wchar_t& c : text) c = c == 0x80 ? L'\u20AC' : c;
    return text;
}
std::string encodeWithEuro(std::wstring_view text)
{
    std::string bytes;
    for (wchar_t c : text) bytes.push_back(c == L'\u20AC' ? '\x80' : c < 0x100 ? static_cast<char>(c) : '?');
    return bytes;
}

TEST(TypedIni, LinesOfASection)
{
    struct Case { std::wstring text; std::uint8_t slideBefore, slide; std::int32_t time; std::wstring file; };
    const std::wstring a249(249, L'a'), a15(15, L'a');
    const Case cases[] = {
        {L"[S]\r\nslide=TRUE\r\ntime=9000\r\nfile=a.txt\r\n", 0, 1, 9000, L"a.txt"}, {L"[S]\r\ntime=7", 0, 0, 7, L"-"},
        {L"time=1\r\n[S]", 0, 0, 5000, L"-"}, {L"[O]\r\ntime=1\r\n", 0, 0, 5000, L"-"},  // header last, or missing
        {L"[S]\r\ntime=1\r\n[S]\r\ntime=2\r\nslide=TRUE\r\n", 0, 0, 1, L"-"},          // the first only
        {L"[O]\r\ntime=1\r\n[S]\r\nslide=TRUE\r\n[N]\r\ntime=2\r\n", 0, 1, 5000, L"-"},
        {L"[S]\r\nSLIDE=false\r\n", 1, 0, 5000, L"-"}, {L"[S]\r\nslide=tRuE\r\n", 0, 1, 5000, L"-"},  // any case
        {L"[S]\r\nslide=yes\r\n", 1, 1, 5000, L"-"},  {L"[S]\r\nslide=TRUE \r\n", 0, 0, 5000, L"-"},   // no trimming
        {L"[S]\r\nslide = TRUE\r\ntime =1\r\n", 0, 0, 5000, L"-"}, {L"[S] old\r\nslide=TRUE\r\n", 0, 1, 5000, L"-"},
        {L"[s]\r\nslide=TRUE\r\n", 0, 0, 5000, L"-"}, {L"(S]\r\nslide=TRUE\r\n", 0, 0, 5000, L"-"},
        {L" [S]\r\nslide=TRUE\r\n", 0, 0, 5000, L"-"},
        {L"[S]\r\n#slide=TRUE\r\ntime=4\r\n#time=3\r\n", 0, 0, 4, L"-"}, {L"[S]\r\n=slide=TRUE\r\n", 0, 1, 5000, L"-"},
        {L"[S]\r\ntime==9000\r\n", 0, 0, 9000, L"-"},  {L"[S]\r\nfile=C:\\a=b.txt\r\n", 0, 0, 5000, L"C:\\a"},
        {L"[S]\r\nslide=\r\nslide\r\n\r\n=\r\nfile=\r\ntime=6\r\n", 1, 1, 6, L"-"},
        {L"[S]\r\nfile=a\rb\nfile\r=c\r\n", 0, 0, 5000, L"c"},
        {std::wstring(L"[S]\r\nslide=TRUE\0x\r\ntime=8\r\n", 32), 0, 1, 8, L"-"},  // a zero ends the text
        // A line is read in pieces of 254 characters; the rest reads as a line of its own.
        {L"[S]\r\nfile=" + a249 + L"time=12\r\n", 0, 0, 12, a15}, {L"[S]\r\nfile=" + a249.substr(1) + L"time=12\r\n", 0, 0, 5000, a15},
        {L"[S]\r\nfile=" + a249 + L"[x]\r\ntime=1\r\n", 0, 0, 5000, a15}, {L"[S]\r\nfile=" + a249 + L"#time=1\r\ntime=2", 0, 0, 2, a15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        std::uint8_t slide = c.slideBefore;
        std::int32_t time = 5000;
        wchar_t file[16] = L"-";
        const IniEntry table[] = {{L"slide", T::Bool, &slide}, {L"time", T::Long, &time}, {L"#time", T::Long, &time},
                                  {L"file", T::String, file}, {}};
        IniReader reader = makeIniReader(utf16Bytes(c.text), true, nullptr);
        readSection(reader, table, L"[S]", 16);
        EXPECT_EQ(std::make_tuple(slide, time, std::wstring(file)), std::make_tuple(c.slide, c.time, c.file));
    }
}

TEST(TypedIni, IntegersKeepTheTargetWidth)
{
    const std::uint32_t unchanged = 0xA5A5A5A5;  // masked to the width
    struct Case { T type; const wchar_t* value; std::uint32_t bits; };
    const Case cases[] = {
        {T::Byte, L"300", 44},            {T::Byte, L"-1", 255},             {T::Byte, L"x1", unchanged},
        {T::Short, L"70000", 4464},       {T::Short, L"+12", 12},            {T::Short, L" \t\v\f12", 12},
        {T::Short, L"12abc", 12},         {T::Short, L"- 1", unchanged},     {T::Short, L"-", unchanged},
        {T::Short, L"0x10", 0},           {T::Short, L"/:", unchanged},      {T::Long, L"\u0661", unchanged},
        {T::Long, L"99999999999999999999999", 0xF67FFFFF},                    // (10^23 - 1) mod 2^32
        {T::ShortOctal, L"177777", 0xFFFF}, {T::ShortOctal, L"-1", 0xFFFF},  {T::ShortOctal, L"78", 7},
        {T::ShortOctal, L"8", unchanged},   {T::LongOctal, L"37777777777", 0xFFFFFFFF},
        {T::ShortHex, L"0X1f", 0x1F},     {T::ShortHex, L"12345", 0x2345},   {T::ShortHex, L"0x", 0},
        {T::ShortHex, L"0", 0},           {T::ShortHex, L"g", unchanged},    {T::ShortHex, L"`@G", unchanged},
        {T::LongHex, L"DeadBeef", 0xDEADBEEF}, {T::LongHex, L"-0x1", 0xFFFFFFFF}, {T::LongHex, L"aAfF09", 0xAAFF09},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        unsigned char memory[8];
        std::memset(memory, 0xA5, sizeof memory);
        readOne(std::wstring(L"[S]\r\nk=") + c.value + L"\r\n", c.type, memory);
        const std::size_t width = c.type == T::Byte ? 1 : c.type == T::Long || c.type == T::LongOctal || c.type == T::LongHex ? 4 : 2;
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < sizeof memory; ++i) {
            if (i < width) bits |= std::uint32_t(memory[i]) << (8 * i);
            else EXPECT_EQ(memory[i], 0xA5) << "byte " << i;  // nothing beyond the target
        }
        EXPECT_EQ(bits, c.bits & (width == 4 ? 0xFFFFFFFF : (1u << (8 * width)) - 1));
    }
}

TEST(TypedIni, RealsAndStrings)
{
    struct Case { const wchar_t* value; bool parses; double expected; };
    const Case cases[] = {{L"1.5", true, 1.5}, {L" \t-2.5e3", true, -2500}, {L"+.25", true, 0.25}, {L"3e", true, 3},
                          {L"1e-2x", true, 0.01}, {L"2\u00E9", true, 2}, {L"2\u0131", true, 2}, {L"abc", false, 0}, {L"+-1", false, 0},
                          {L"++1", false, 0}, {L"1e999", false, 0}};  // out of range: unchanged
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        double d = 42;
        float f = 42;
        readOne(std::wstring(L"[S]\r\nk=") + c.value, T::Double, &d);
        readOne(std::wstring(L"[S]\r\nk=") + c.value, T::Float, &f);
        EXPECT_EQ(d, c.parses ? c.expected : 42.0);
        EXPECT_EQ(f, c.parses ? static_cast<float>(c.expected) : 42.0f);
    }
    // A string is cut to maxLength - 1, zero-filled and terminated; nothing beyond is touched.
    for (const wchar_t* value : {L"abcdefghij", L"abcdefg", L"ab"}) {
        SCOPED_TRACE(value[2]);
        wchar_t target[10];
        std::wmemset(target, L'z', 10);
        readOne(std::wstring(L"[S]\r\nk=") + value, T::String, target, 8);
        std::wstring expected = std::wstring(value).substr(0, 7);
        expected.resize(8, L'\0');
        EXPECT_EQ(std::wstring(target, 10), expected + L"zz");
    }
}

TEST(TypedIni, EveryMatchingRowIsAssignedAndNothingWithoutTableOrFile)
{
    std::uint8_t first = 0, second = 0;
    std::int32_t number = 77, value = 5;
    const IniEntry table[] = {{L"slide", T::Bool, &first}, {nullptr, T::Bool, &value}, {L"SLIDE", T::Bool, &second},
                              {L"Slide", T::Long, &number}, {}};  // "TRUE" is no number
    IniReader reader = makeIniReader(utf16Bytes(L"[E]\r\nk=1\r\n[S]\r\nsLiDe=TRUE\r\nk=2\r\n"), true, nullptr);
    readSection(reader, table, L"[S]", 0);
    EXPECT_EQ(std::tie(first, second, number, value), std::make_tuple(1, 1, 77, 5));
    const IniEntry empty[] = {{L"k", T::Long, nullptr}, {L"k", T::Long, &value}, {}};
    readSection(reader, empty, L"[E]", 0);
    readSection(reader, nullptr, L"[E]", 0);
    readSection(reader, empty + 1, nullptr, 0);
    IniReader none;
    readSection(none, empty + 1, L"[S]", 0);
    EXPECT_EQ(value, 5);
    readSection(reader, empty + 1, L"[S]", 0);  // the reader still serves the next section
    EXPECT_EQ(value, 2);
}

TEST(TypedIni, KeysCompareWithoutCaseBeyondAscii)
{
    struct Case { std::wstring a, b; bool equal; };
    const Case cases[] = {
        {L"Pin", L"PIN", true}, {L"ab", L"abc", false}, {L"@[", L"`{", false}, {L"a_b", L"a\u007Fb", false}, {L"\u212A", L"k", false},
        {L"\u00C0\u00DE\u00D6\u00D8", L"\u00E0\u00FE\u00F6\u00F8", true}, {L"\u00BF", L"\u00DF", false}, {L"\u00DF", L"\u00FF", false},
        {L"\u00D7", L"\u00F7", false}, {L"\u0178", L"\u00FF", true}, {L"\u017F", L"\u0180", false}, {L"\u03A2", L"\u03C2", false},
        {L"\u0100\u0136\u0139\u0147\u014A\u0176\u0179\u017D", L"\u0101\u0137\u013A\u0148\u014B\u0177\u017A\u017E", true},
        {L"\u0391\u03A1\u03A3\u03A9\u03AB", L"\u03B1\u03C1\u03C3\u03C9\u03CB", true}, {L"\u0390", L"\u03B0", false},
        {L"\u0400\u040F\u0410\u042F", L"\u0450\u045F\u0430\u044F", true}, {L"\u03AC", L"\u03CC", false},
        {L"\u03FF", L"\u044F", false}, {L"\u0430", L"\u0450", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        const std::uint8_t before = 2;
        std::uint8_t flag = before;
        IniReader reader = makeIniReader(utf16Bytes(L"[S]\r\n" + c.b + L"=TRUE\r\n"), true, nullptr);
        const IniEntry table[] = {{c.a.c_str(), T::Bool, &flag}, {}};
        readSection(reader, table, L"[S]", 0);
        EXPECT_EQ(flag, c.equal ? 1 : before);
    }
}

TEST(TypedIni, FilesWithoutUtf16Mark)
{
    struct Case { std::string bytes; bool wideOpen; std::wstring file; };
    const std::string u8 = "\xEF\xBB\xBF[S]\r\nfile=";
    const Case cases[] = {
        {"[S]\r\nfile=\x80 caf\xE9\r\n", true, L"\u20AC caf\u00E9"},  // through the decoder
        {"\xFF\xFE\r\n[S]\r\nfile=\x80\r\n", false, L"\u20AC"},          // the fallback open looks for no mark
        {"\r\n[S]\r\nfile=a\rb\n", true, L"a"}, {"[S]\nfile=ab\n", true, L"ab"},  // a lone CR stays
        {std::string("\xFF\xFE[\0S\0]\0\r\0\n\0f\0i\0l\0e\0=\0o\0k\0A", 27), true, L"ok"},  // odd last byte
        {u8 + "caf\xC3\xA9 \xE2\x82\xAC\r\n", true, L"caf\u00E9 \u20AC"}, {u8 + "\xC3\xC3\xA9", true, L"\uFFFD\u00E9"},
        {u8 + "a\xC3(\xF0\x9F\x98\r\n", true, L"a\uFFFD(\uFFFD\uFFFD\uFFFD"}, {u8 + "\xC1\x81\xC2\x80\xDF\xBF", true, L"\uFFFD\uFFFD\u0080\u07FF"},
        {u8 + "\xE0\x9F\xBF\xE0\xA0\x80", true, L"\uFFFD\uFFFD\uFFFD\u0800"}, {u8 + "\xF0\x8F\xBF\xBF!", true, L"\uFFFD\uFFFD\uFFFD\uFFFD!"},
        {u8 + "\xED\x9F\xBF\xED\xA0\x80\xEE\x80\x80", true, L"\uD7FF\uFFFD\uFFFD\uFFFD\uE000"},
        {u8 + "\xED\xBF\xBF\xEF\xBF\xBF", true, L"\uFFFD\uFFFD\uFFFD\uFFFF"}, {u8 + "\x7F\xF8\x90\x80\x80", true, L"\x7F\uFFFD\uFFFD\uFFFD\uFFFD"},
        {u8 + "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", true, L"\xD800\xDC00\xDBFF\xDFFF"},
        {u8 + "\xF4\x90\x80\x80\xF5\x80", true, L"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {u8 + "\xF0\x9F\x98\x80", true, L"\xD83D\xDE00"},   // a sequence that ends the file
        {u8 + "\xF0\x9F\x98\x80", true, L"\uFFFD\uFFFD\uFFFD"},  // cut by the end of the bytes: see below
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        wchar_t file[16] = L"unset";
        const bool cut = &c == std::end(cases) - 1;  // the bytes end before the last one
        IniReader reader = makeIniReader(std::string_view(c.bytes).substr(0, c.bytes.size() - cut), c.wideOpen, decodeWithEuro);
        const IniEntry table[] = {{L"file", T::String, file}, {}};
        readSection(reader, table, L"[S]", 16);
        EXPECT_EQ(std::wstring(file), c.file);
    }
}

TEST(TypedIni, WrittenBytes)
{
    std::int32_t time = 9000;
    std::uint8_t on = 1, off = 0;
    wchar_t text[] = L"1.00\u20AC\u00E9\u4E00";
    const IniEntry first[] = {{L"version", T::String, text}, {}};
    const IniEntry second[] = {{L"slide", T::Bool, &on}, {L"time", T::Long, &time}, {L"top", T::Bool, &off}, {}};
    for (bool wide : {true, false}) {
        SCOPED_TRACE(wide);
        IniWriter writer = makeIniWriter(wide, encodeWithEuro);
        writeSection(writer, first, L"[Tomel]");
        writeSection(writer, second, L"[Slideshow]");
        const std::wstring expected = L"[Tomel]\r\nversion=1.00\u20AC\u00E9\u4E00\r\n\r\n[Slideshow]\r\n"
                                      L"slide=TRUE\r\ntime=9000\r\ntop=FALSE\r\n";
        const std::string bytes = takeIniBytes(writer);
        EXPECT_EQ(bytes, wide ? utf16Bytes(expected)
                                             : "[Tomel]\r\nversion=1.00\x80\xE9?\r\n\r\n[Slideshow]\r\n"
                                               "slide=TRUE\r\ntime=9000\r\ntop=FALSE\r\n");
        // Writing goes on after the bytes were taken, still parted by an empty line.
        writeSection(writer, nullptr, L"[T]");
        const std::string more = takeIniBytes(writer);
        EXPECT_EQ(more, wide ? utf16Bytes(L"\r\n[T]\r\n").substr(2) : "\r\n[T]\r\n");
        EXPECT_EQ(writer.position, bytes.size() + more.size());  // taken or not
    }
}

TEST(TypedIni, WithoutEncoderTextIsWrittenAsLatin1)
{
    wchar_t text[] = L"\u00FF\u0100\u20AC";
    const IniEntry table[] = {{L"k", T::String, text}, {}};
    IniWriter writer = makeIniWriter(false, nullptr);
    writeSection(writer, table, L"[S]");
    EXPECT_EQ(takeIniBytes(writer), "[S]\r\nk=\xFF??\r\n");
}

TEST(TypedIni, ValuesAreWrittenInTheirFormats)
{
    struct Case { T type; std::uint32_t bits; double real; const char* expected; };
    const Case cases[] = {
        {T::Byte, 200, 0, "200"}, {T::Byte, 7, 0, "7"}, {T::ShortHex, 0xF, 0, "f"}, {T::Short, 40000, 0, "-25536"},
        {T::Long, 0x80000000u, 0, "-2147483648"},
        {T::ShortOctal, 0x1FFFF, 0, "177777"}, {T::LongOctal, 8, 0, "10"}, {T::ShortHex, 0x1ABCD, 0, "abcd"},
        {T::LongHex, 0xDEADBEEF, 0, "deadbeef"}, {T::Float, 0, 1.5, "1.5"}, {T::Float, 0, 1e10, "1e+10"}, {T::Double, 0, 1e-5, "1e-05"},
        {T::Double, 0, 0.0001, "0.0001"}, {T::Double, 0, 123456789.0, "1.23457e+08"}, {T::Double, 0, 100000.0, "100000"},
        {T::Double, 0, 999999.5, "1e+06"}, {T::Double, 0, -0.000123456, "-0.000123456"}, {T::Double, 0, 0.0, "0"},
        {T::Double, 0, 1e-100, "1e-100"}, {T::Double, 0, 1000.5, "1000.5"}, {T::Double, 0, -1.25e-7, "-1.25e-07"},
        {T::Double, 0, 1e300, "1e+300"}, {T::Double, 0, -HUGE_VAL, "-inf"}, {T::Double, 0, std::nan(""), "nan"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        alignas(8) unsigned char memory[8] = {};
        const float real = static_cast<float>(c.real);
        const void* source = c.type == T::Float ? static_cast<const void*>(&real) : c.type == T::Double ? static_cast<const void*>(&c.real) : &c.bits;
        std::memcpy(memory, source, c.type == T::Double ? 8 : 4);
        const IniEntry table[] = {{L"k", c.type, memory}, {}};
        IniWriter writer = makeIniWriter(false, nullptr);
        writeSection(writer, table, L"[S]");
        EXPECT_EQ(takeIniBytes(writer), std::string("[S]\r\nk=") + c.expected + "\r\n");
    }
}

TEST(TypedIni, AFileIsOursWhenItHoldsTheSectionOrNothing)
{
    struct Case { std::string bytes; bool ours; };
    const Case cases[] = {
        {utf16Bytes(L"[Tomel]\r\nversion=1.00\r\n"), true}, {utf16Bytes(L"[D]\r\nm=F\r\n[Tomel]\r\n"), true},
        {utf16Bytes(L"x=1\r\n[Tomel]"), true}, {utf16Bytes(L""), true}, {utf16Bytes(L"\r\n \t\v\f\r\n\r\n"), true},
        {"[Tomel]\r\n", true}, {utf16Bytes(L"[Other]\r\nkey=value\r\n"), false}, {utf16Bytes(L"; [Tomel]\r\n"), false},
        {utf16Bytes(L"[TOMEL]\r\n"), false}, {utf16Bytes(L"\r\n\r\nnotes"), false}, {"[Andere]\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(iniFileIsOurs(makeIniReader(c.bytes, true, nullptr), L"[Tomel]"), c.ours);
    }
}

}  // namespace
