#include "core/settings/typed_ini.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// UTF-16 LE bytes with byte-order mark, as a file written by the program holds them.
IniReader readerOf(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return makeIniReader(bytes, true, nullptr);
}

void readText(const std::wstring& text, const IniEntry* table, std::size_t maxLength)
{
    IniReader reader = readerOf(text);
    readSection(reader, table, L"[S]", maxLength);
}

// One row of `type` reading or writing `target`, with the closing row.
struct Table {
    IniEntry rows[2];
    Table(const wchar_t* key, IniValueType type, void* target) : rows{{key, type, target}, {}} {}
};

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

TEST(TypedIni, EdgeCasesOfReading)
{
    struct Case {
        std::wstring text;
        std::uint8_t slideBefore, slide;
        std::int32_t timeslide;
        std::wstring file;
    };
    const Case cases[] = {
        {L"[S]\r\nslide=TRUE\r\ntimeslide=9000\r\nfile=a.txt\r\n", 0, 1, 9000, L"a.txt"},
        {L"[S]\r\ntimeslide=7", 0, 0, 7, L"-"},             // last line without line end
        {L"timeslide=1\r\n[S]", 0, 0, 5000, L"-"},          // header on the last line without line end
        {L"[O]\r\ntimeslide=1\r\n", 0, 0, 5000, L"-"},      // header missing
        {L"[S]\r\ntimeslide=1\r\n[S]\r\ntimeslide=2\r\nslide=TRUE\r\n", 0, 0, 1, L"-"},  // the first only
        {L"[O]\r\ntimeslide=1\r\n[S]\r\nslide=TRUE\r\n[N]\r\ntimeslide=2\r\n", 0, 1, 5000, L"-"},
        {L"[S]\r\nSLIDE=false\r\n", 1, 0, 5000, L"-"},      // key and Bool in any case
        {L"[S]\r\nslide=tRuE\r\n", 0, 1, 5000, L"-"},
        {L"[S]\r\nslide=yes\r\n", 1, 1, 5000, L"-"},
        {L"[S]\r\nslide=TRUE \r\n", 0, 0, 5000, L"-"},      // trailing blank
        {L"[S] old\r\nslide=TRUE\r\n", 0, 1, 5000, L"-"},   // header matched over its own length
        {L"[s]\r\nslide=TRUE\r\n", 0, 0, 5000, L"-"},       // header compared with case
        {L" [S]\r\nslide=TRUE\r\n", 0, 0, 5000, L"-"},      // header not at line start
        {L"[S]\r\n#slide=TRUE\r\n# note\r\ntimeslide=4\r\n", 0, 0, 4, L"-"},
        {L"[S]\r\n=slide=TRUE\r\n", 0, 1, 5000, L"-"},
        {L"[S]\r\ntimeslide==9000\r\n", 0, 0, 9000, L"-"},
        {L"[S]\r\nfile=C:\\a=b.txt\r\n", 0, 0, 5000, L"C:\\a"},
        {L"[S]\r\nslide=\r\nslide\r\n\r\n=\r\nfile=\r\ntimeslide=6\r\n", 1, 1, 6, L"-"},  // no value: skipped
        {L"[S]\r\nslide = TRUE\r\ntimeslide =1\r\n", 0, 0, 5000, L"-"},  // no trimming
        {std::wstring(L"[S]\r\nslide=TRUE\0x\r\ntimeslide=8\r\n", 32), 0, 1, 8, L"-"},  // a zero ends the text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.text));
        std::uint8_t slide = c.slideBefore;
        std::int32_t timeslide = 5000;
        wchar_t file[16] = L"-";
        IniEntry table[] = {{L"slide", IniValueType::Bool, &slide},
                            {L"timeslide", IniValueType::Long, &timeslide},
                            {L"file", IniValueType::String, file},
                            {}};
        readText(c.text, table, 16);
        EXPECT_EQ(slide, c.slide);
        EXPECT_EQ(timeslide, c.timeslide);
        EXPECT_EQ(std::wstring(file), c.file);
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
    using T = IniValueType;
    const Case cases[] = {
        {T::Byte, L"300", 44},           {T::Byte, L"-1", 255},            {T::Byte, L"x1", unchanged},
        {T::Short, L"70000", 4464},      {T::Short, L"+12", 12},           {T::Short, L" \t12", 12},
        {T::Short, L"12abc", 12},        {T::Short, L"- 1", unchanged},    {T::Short, L"-", unchanged},
        {T::Short, L"0x10", 0},          {T::Long, L"\u0661", unchanged},  // only ASCII digits
        {T::Long, L"99999999999999999999999", 0xF67FFFFF},                 // (10^23 - 1) mod 2^32
        {T::ShortOctal, L"177777", 0xFFFF}, {T::ShortOctal, L"-1", 0xFFFF}, {T::ShortOctal, L"78", 7},
        {T::ShortOctal, L"8", unchanged},   {T::LongOctal, L"37777777777", 0xFFFFFFFF},
        {T::ShortHex, L"0X1f", 0x1F},    {T::ShortHex, L"12345", 0x2345},  {T::ShortHex, L"0x", 0},
        {T::ShortHex, L"g", unchanged},  {T::LongHex, L"DeadBeef", 0xDEADBEEF}, {T::LongHex, L"-0x1", 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << static_cast<int>(c.type) << " value " << narrow(c.value));
        // The target is as wide as its type says and no wider: the bytes after it stay.
        unsigned char memory[8];
        std::memset(memory, 0xA5, sizeof memory);
        readText(std::wstring(L"[S]\r\nk=") + c.value + L"\r\n", Table(L"k", c.type, memory).rows, 0);
        const bool isLong = c.type == T::Long || c.type == T::LongOctal || c.type == T::LongHex;
        const std::size_t width = c.type == T::Byte ? 1 : isLong ? 4 : 2;
        std::uint32_t bits = 0;
        for (std::size_t i = 0; i < sizeof memory; ++i) {
            if (i < width)
                bits |= static_cast<std::uint32_t>(memory[i]) << (8 * i);
            else
                EXPECT_EQ(memory[i], 0xA5) << "byte " << i;
        }
        EXPECT_EQ(bits, c.expected & (width == 4 ? 0xFFFFFFFF : (1u << (8 * width)) - 1));
    }
}

TEST(TypedIni, RealParsing)
{
    struct Case {
        const wchar_t* value;
        bool parses;
        double expected;
    };
    const Case cases[] = {{L"1.5", true, 1.5},   {L"  -2.5e3", true, -2500}, {L"+.25", true, 0.25},
                          {L"3e", true, 3},      {L"1e-2x", true, 0.01},     {L"abc", false, 0},
                          {L"+-1", false, 0},    {L"1e999", false, 0}};  // out of range: unchanged
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.value));
        double d = 42;
        float f = 42;
        const IniEntry table[] = {{L"d", IniValueType::Double, &d}, {L"f", IniValueType::Float, &f}, {}};
        readText(std::wstring(L"[S]\r\nd=") + c.value + L"\r\nf=" + c.value + L"\r\n", table, 0);
        EXPECT_EQ(d, c.parses ? c.expected : 42.0);
        EXPECT_EQ(f, c.parses ? static_cast<float>(c.expected) : 42.0f);
    }
}

TEST(TypedIni, StringIsCutZeroFilledAndTerminated)
{
    for (const wchar_t* value : {L"abcdefghij", L"ab"}) {
        SCOPED_TRACE(narrow(value));
        wchar_t target[10];
        std::wmemset(target, L'z', 10);
        readText(std::wstring(L"[S]\r\ns=") + value + L"\r\n", Table(L"s", IniValueType::String, target).rows, 8);
        std::wstring expected = std::wstring(value).substr(0, 7);
        expected.resize(10, L'\0');
        expected[8] = expected[9] = L'z';  // beyond maxLength nothing is touched
        EXPECT_EQ(std::wstring(target, 10), expected);
    }
}

TEST(TypedIni, LongLineIsReadInPiecesOf254)
{
    // 5 + 249 = 254 characters, then the remainder of the same line as a line of its own.
    struct Case {
        const wchar_t* remainder;
        std::int32_t tms;
        std::int32_t after;
    };
    for (const Case& c : {Case{L"tms=12", 12, 9}, Case{L"[x]tms=12", 0, 0}, Case{L"#tms=12", 0, 9}}) {
        SCOPED_TRACE(narrow(c.remainder));
        wchar_t file[300] = {};
        std::int32_t tms = 0;
        std::int32_t after = 0;
        IniEntry table[] = {{L"file", IniValueType::String, file},
                            {L"tms", IniValueType::Long, &tms},
                            {L"after", IniValueType::Long, &after},
                            {}};
        readText(L"[S]\r\nfile=" + std::wstring(249, L'a') + c.remainder + L"\r\nafter=9\r\n", table, 300);
        EXPECT_EQ(std::wstring(file), std::wstring(249, L'a'));
        EXPECT_EQ(tms, c.tms);
        EXPECT_EQ(after, c.after);
    }
}

TEST(TypedIni, EveryMatchingRowIsAssignedAndNothingWithoutTableOrFile)
{
    std::uint8_t first = 0;
    std::uint8_t second = 0;
    std::int32_t number = 77;
    IniEntry table[] = {{L"slide", IniValueType::Bool, &first},
                        {L"SLIDE", IniValueType::Bool, &second},
                        {L"Slide", IniValueType::Long, &number},  // "TRUE" is no number
                        {}};
    readText(L"[S]\r\nsLiDe=TRUE\r\n", table, 0);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(number, 77);

    // An empty table and a reader without file leave everything alone; the reader still
    // works for the next section.
    std::int32_t value = 5;
    IniEntry empty[] = {{L"k", IniValueType::Long, nullptr}};
    IniReader reader = readerOf(L"[E]\r\nk=1\r\n[S]\r\nk=2\r\n");
    readSection(reader, empty, L"[E]", 0);
    readSection(reader, nullptr, L"[E]", 0);
    EXPECT_EQ(value, 5);
    readSection(reader, Table(L"k", IniValueType::Long, &value).rows, L"[S]", 0);
    EXPECT_EQ(value, 2);
    IniReader none;
    readSection(none, Table(L"k", IniValueType::Long, &value).rows, L"[S]", 0);
    EXPECT_EQ(value, 2);
}

TEST(TypedIni, KeysCompareWithoutCaseBeyondAscii)
{
    struct Case {
        const wchar_t *a, *b;
        bool equal;
    };
    const Case cases[] = {
        {L"Pin", L"PIN", true},  {L"\u00C9pingler", L"\u00E9PINGLER", true},
        {L"\u0401\u0417\u0430\u043A\u0440\u0435\u043F", L"\u0451\u0437\u0410\u041A\u0420\u0415\u041F", true},
        {L"\u0141\u00F3d\u017A", L"\u0142\u00D3D\u0179", true}, {L"\u010Ce\u0161tina", L"\u010DE\u0160TINA", true},
        {L"\u03A0\u03B9\u03BD", L"\u03C0\u0399\u039D", true},  {L"\u00D7", L"\u00F7", false},  // × ÷ are no pair
        {L"\u212A", L"k", false},  {L"ab", L"abc", false},  {L"a_b", L"a\u007Fb", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(iniKeysEqual(c.a, c.b), c.equal);
    }
}

// An 8-bit code page that is not Latin-1, so the tests see that the caller's conversion is used.
std::wstring decodeWithEuro(std::string_view bytes)
{
    std::wstring text = latin1ToWide(bytes);
    for (wchar_t& c : text)
        c = c == 0x80 ? L'\u20AC' : c;
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
        std::string bytes;
        bool wideOpen;
        std::wstring file;
    };
    const Case cases[] = {
        {"[S]\r\nfile=\x80 caf\xE9\r\n", true, L"\u20AC caf\u00E9"},  // through the decoder
        {"\xEF\xBB\xBF[S]\r\nfile=caf\xC3\xA9 \xE2\x82\xAC\r\n", true, L"caf\u00E9 \u20AC"},
        {"\xEF\xBB\xBF[S]\r\nfile=a\xC3(\xF0\x9F\x98\r\n", true, L"a\uFFFD(\uFFFD\uFFFD\uFFFD"},
        {"\xEF\xBB\xBF[S]\r\nfile=\xF0\x9F\x98\x80!\r\n", true, L"\xD83D\xDE00!"},
        {"\xFF\xFE\r\n[S]\r\nfile=\x80\r\n", false, L"\u20AC"},  // the fallback open looks for no mark
        {bytesOf("\xFF\xFE[\0S\0]\0\r\0\n\0f\0i\0l\0e\0=\0o\0k\0A"), true, L"ok"},  // odd last byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        wchar_t file[16] = L"unset";
        IniReader reader = makeIniReader(c.bytes, c.wideOpen, decodeWithEuro);
        readSection(reader, Table(L"file", IniValueType::String, file).rows, L"[S]", 16);
        EXPECT_EQ(std::wstring(file), c.file);
    }
}

// Two sections as the settings file has them.
std::string writeSample(bool wide, const wchar_t* version)
{
    std::int32_t slideTime = 9000;
    std::uint8_t slideShow = 1;
    std::uint8_t onTop = 0;
    wchar_t text[12];
    std::wcscpy(text, version);
    IniEntry second[] = {{L"slide", IniValueType::Bool, &slideShow},
                         {L"timeslide", IniValueType::Long, &slideTime},
                         {L"ontop", IniValueType::Bool, &onTop},
                         {}};
    IniWriter writer = makeIniWriter(wide, encodeWithEuro);
    writeSection(writer, Table(L"version", IniValueType::String, text).rows, L"[Tomel]");
    writeSection(writer, second, L"[Slideshow]");
    return takeIniBytes(writer);
}

TEST(TypedIni, GoldenBytes)
{
    EXPECT_EQ(writeSample(true, L"1.00"), bytesOf("\xFF\xFE"
                                                  "[\0T\0o\0m\0e\0l\0]\0\r\0\n\0"
                                                  "v\0e\0r\0s\0i\0o\0n\0=\0" "1\0.\0" "0\0" "0\0\r\0\n\0"
                                                  "\r\0\n\0"
                                                  "[\0S\0l\0i\0d\0e\0s\0h\0o\0w\0]\0\r\0\n\0"
                                                  "s\0l\0i\0d\0e\0=\0T\0R\0U\0E\0\r\0\n\0"
                                                  "t\0i\0m\0e\0s\0l\0i\0d\0e\0=\0" "9\0" "0\0" "0\0" "0\0\r\0\n\0"
                                                  "o\0n\0t\0o\0p\0=\0F\0A\0L\0S\0E\0\r\0\n\0"));
    EXPECT_EQ(writeSample(false, L"\u20AC\u00E9\u4E00"),
              "[Tomel]\r\nversion=\x80\xE9?\r\n\r\n[Slideshow]\r\nslide=TRUE\r\ntimeslide=9000\r\nontop=FALSE\r\n");

    // Writing goes on after the bytes were taken, still parted by an empty line.
    std::int32_t value = -3;
    IniEntry empty[] = {{}};
    IniWriter writer = makeIniWriter(false, nullptr);
    writeSection(writer, empty, L"[Tweak]");
    EXPECT_EQ(takeIniBytes(writer), "[Tweak]\r\n");
    writeSection(writer, Table(L"k", IniValueType::Long, &value).rows, L"[S]");
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
    using T = IniValueType;
    const Case cases[] = {
        {T::Byte, 200, 0, "200"},          {T::Short, 40000, 0, "-25536"},     {T::ShortOctal, 0xFFFF, 0, "177777"},
        {T::ShortHex, 0xABCD, 0, "abcd"},  {T::LongHex, 0xDEADBEEF, 0, "deadbeef"},
        {T::Float, 0, 1.5, "1.5"},         {T::Float, 0, 1e10, "1e+10"},       {T::Double, 0, 0.00001, "1e-05"},
        {T::Double, 0, 123456789.0, "1.23457e+08"}, {T::Double, 0, 100000.0, "100000"}, {T::Double, 0, 1e6, "1e+06"},
        {T::Double, 0, 999999.5, "1e+06"},  {T::Double, 0, -0.000123456, "-0.000123456"}, {T::Double, 0, 0.0, "0"},
        {T::Double, 0, 1e-100, "1e-100"},   {T::Double, 0, 1000.5, "1000.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        alignas(8) unsigned char memory[8] = {};
        const float real = static_cast<float>(c.real);
        std::memcpy(memory, c.type == T::Float ? static_cast<const void*>(&real) : c.type == T::Double
                                ? static_cast<const void*>(&c.real) : &c.bits, c.type == T::Double ? 8 : 4);
        IniWriter writer = makeIniWriter(false, nullptr);
        writeSection(writer, Table(L"k", c.type, memory).rows, L"[S]");
        EXPECT_EQ(takeIniBytes(writer), std::string("[S]\r\nk=") + c.expected + "\r\n");
    }
}

// Every type written and read back gives the same value, in both file forms.
TEST(TypedIni, RoundTripOfEveryType)
{
    struct Values {
        std::uint8_t byte, flag;
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
    using T = IniValueType;
    auto tableFor = [](Values& v) {
        return std::vector<IniEntry>{
            {L"byte", T::Byte, &v.byte},          {L"bool", T::Bool, &v.flag},
            {L"short", T::Short, &v.shortValue},  {L"long", T::Long, &v.longValue},
            {L"so", T::ShortOctal, &v.shortOctal}, {L"lo", T::LongOctal, &v.longOctal},
            {L"sh", T::ShortHex, &v.shortHex},    {L"lh", T::LongHex, &v.longHex},
            {L"float", T::Float, &v.real},        {L"double", T::Double, &v.doubleValue},
            {L"text", T::String, v.text},         {}};
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
            Values read{};
            std::memset(&read, 0x5A, sizeof read);
            IniReader reader = makeIniReader(takeIniBytes(writer), true, decodeWithEuro);
            readSection(reader, tableFor(read).data(), L"[All]", 20);
            EXPECT_EQ(read.byte, sample.byte);                EXPECT_EQ(read.flag, sample.flag);
            EXPECT_EQ(read.shortValue, sample.shortValue);    EXPECT_EQ(read.longValue, sample.longValue);
            EXPECT_EQ(read.shortOctal, sample.shortOctal);    EXPECT_EQ(read.longOctal, sample.longOctal);
            EXPECT_EQ(read.shortHex, sample.shortHex);        EXPECT_EQ(read.longHex, sample.longHex);
            EXPECT_EQ(read.real, sample.real);                EXPECT_EQ(read.doubleValue, sample.doubleValue);
            std::wstring text = sample.text;  // the ANSI code page here knows no CJK character
            if (!wide && text.find(L'\u4E00') != std::wstring::npos)
                text[text.find(L'\u4E00')] = L'?';
            EXPECT_EQ(std::wstring(read.text), text);
        }
    }
}

}  // namespace

TEST(TypedIni, AFileIsOursWhenItHoldsTheSectionOrNothing)
{
    struct Case {
        const char* name;
        std::wstring text;
        bool ours;
    } cases[] = {
        {"our file", L"[Tomel]\r\nversion=1.00\r\n[Display]\r\n", true},
        {"section further down", L"[Display]\r\nmultiline=FALSE\r\n[Tomel]\r\n", true},
        {"header on the last line", L"x=1\r\n[Tomel]", true},
        {"empty", L"", true},
        {"blank lines", L"\r\n \t\r\n\r\n", true},
        {"someone else's", L"[Other]\r\nkey=value\r\n", false},
        {"without the header", L"[Settings]\r\nbookmark=2\r\n", false},
        {"header not at the line start", L"; [Tomel]\r\n", false},
        {"header in other capitals", L"[TOMEL]\r\n", false},
        {"a line of text", L"notes", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(iniFileIsOurs(readerOf(c.text), L"[Tomel]"), c.ours);
    }
    // An 8-bit file is judged by its text too.
    EXPECT_TRUE(iniFileIsOurs(makeIniReader("[Tomel]\r\n", true, nullptr), L"[Tomel]"));
    EXPECT_FALSE(iniFileIsOurs(makeIniReader("[Andere]\r\n", true, nullptr), L"[Tomel]"));
}
