// The typed INI format: decoding a file's bytes, finding a section, reading and writing every type of
// value; the language file written in it; and what a save cut short leaves.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <string>
#include <tuple>

#include "core/app/commands.h"
#include "core/settings/setting_table.h"
#include "core/settings/typed_ini.h"
#include "core/settings/written_file.h"
#include "core/ui/language.h"

using T = IniValueType;

static std::string utf16Bytes(const std::wstring& text)
{
    std::string bytes = "\xFF\xFE";
    for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF)};
    return bytes;
}

// Reads "k=<value>" of section [S] into a row of `type`, then gives that row as written.
static std::string readAndWrite(const std::wstring& value, T type, void* target, const IniRange* range = nullptr)
{
    const IniEntry table[] = {{L"k", type, target, range}, {}};
    IniReader reader = makeIniReader(utf16Bytes(L"[S]\r\nk=" + value + L"\r\n"), true, nullptr);
    readSection(reader, table, L"[S]", 0);
    IniWriter writer = makeIniWriter(false, nullptr);
    writeSection(writer, table, L"[S]");
    const std::string bytes = takeIniBytes(writer);
    return bytes.substr(7, bytes.size() - 9);   // between "[S]\r\nk=" and "\r\n"
}

TEST(TypedIni, BytesAreDecodedAsTheirMarkSays)
{
    const std::string u8 = "\xEF\xBB\xBF";
    struct Case { std::string bytes; bool wideOpen; std::wstring text; };
    const Case cases[] = {
        // UTF-16 keeps CR LF and drops an odd last byte; 8-bit text is Latin-1 without a decoder.
        {std::string("\xFF\xFE" "a\0\r\0\n\0\xAC\x20" "A", 11), true, L"a\r\n\u20AC"},
        {"\xFF\xFE\x80\r\r\n\r", false, L"\u00FF\u00FE\u0080\r\n\r"}, {"\r\nx", false, L"\nx"},   // only CR LF becomes LF
        {u8 + "\x7F\x80\xC1\x81\xC3\xC3\xA9\r\n", true, L"\x7F\uFFFD\uFFFD\uFFFD\uFFFD\u00E9\n"},
        {u8 + "\xC2\x80\xDF\xBF\xE0\x9F\xBF\xE0\xA0\x80\xEF\xBF\xBF", true,
         L"\u0080\u07FF\uFFFD\uFFFD\uFFFD\u0800\uFFFF"},                      // the ends of each length
        {u8 + "\xED\x9F\xBF\xED\xA0\x80\xED\xBF\xBF\xEE\x80\x80", true,
         L"\uD7FF\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uE000"},                // no surrogates
        {u8 + "\xF0\x8F\xBF\xBF\xF0\x90\x80\x80\xF1\x80\x80\x80\xF4\x8F\xBF\xBF", true,
         L"\uFFFD\uFFFD\uFFFD\uFFFD\xD800\xDC00\xD8C0\xDC00\xDBFF\xDFFF"},
        {u8 + "\xF4\x90\x80\x80\xF5\x80\xF8" "a\xC3(\xF0\x9F\x98", true,
         L"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD" L"a\uFFFD(\uFFFD\uFFFD\uFFFD"},
    };
    for (const Case& c : cases) {
        const IniReader reader = makeIniReader(c.bytes, c.wideOpen, nullptr);
        EXPECT_EQ(std::make_pair(reader.text, reader.wide), std::make_pair(c.text, &c == cases)) << &c - cases;
    }
    // A sequence that ends the text is whole; one cut by the end is not, whatever byte follows in memory.
    const std::string smile = u8 + "\xF0\x9F\x98\x80";
    EXPECT_EQ(makeIniReader(smile, true, nullptr).text, L"\xD83D\xDE00");
    EXPECT_EQ(makeIniReader(std::string_view(smile).substr(0, 6), true, nullptr).text, L"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(wideToLatin1(L"\u00FF\u0100"), "\xFF?");
}

TEST(TypedIni, KeysCompareWithoutCaseBeyondAscii)
{
    // The ranges of capitals and small letters, and their neighbours that do not fold.
    struct Case { std::wstring a, b; bool equal; };
    const Case cases[] = {
        {L"AZ", L"az", true}, {L"@[", L"`{", false}, {L"ab", L"abc", false},
        {L"\u00C0\u00D6\u00D8\u00DE", L"\u00E0\u00F6\u00F8\u00FE", true}, {L"\u00BF", L"\u00DF", false},
        {L"\u00D7", L"\u00F7", false}, {L"\u00DF", L"\u00FF", false}, {L"\u017F", L"\u0180", false},
        {L"\u0100\u0136\u0139\u0147\u014A\u0176\u0178\u0179\u017D",
         L"\u0101\u0137\u013A\u0148\u014B\u0177\u00FF\u017A\u017E", true},
        {L"\u0391\u03A1\u03A3\u03AB", L"\u03B1\u03C1\u03C3\u03CB", true}, {L"\u0390", L"\u03B0", false},
        {L"\u03A2", L"\u03C2", false}, {L"\u03AC", L"\u03CC", false}, {L"\u03FF", L"\u044F", false},
        {L"\u0400\u040F\u0410\u042F", L"\u0450\u045F\u0430\u044F", true}, {L"\u0430", L"\u0450", false},
    };
    for (const Case& c : cases) EXPECT_EQ(iniKeysEqual(c.a, c.b), c.equal) << &c - cases;
}

TEST(TypedIni, LinesOfASection)
{
    struct Case { std::wstring text; std::uint8_t slideBefore, slide; std::int32_t time; std::wstring file; };
    const std::wstring a249(249, L'a');
    const Case cases[] = {
        {L"[S]\r\ntime=1\r\n[S]\r\ntime=2\r\nslide=TRUE\r\n", 0, 0, 1, L"-"},          // the first only
        {L"[O]\r\ntime=1\r\n[S]\r\nslide=TRUE\r\n[N]\r\ntime=2\r\n", 0, 1, 5000, L"-"},
        {L"(S]\r\nslide=TRUE\r\n[s]\r\nslide=TRUE\r\n [S]\r\nslide=TRUE\r\n", 0, 0, 5000, L"-"},
        {L"[S] old\r\nSLIDE=false\r\n", 1, 0, 5000, L"-"},
        {L"[S]\r\n#slide=TRUE\r\ntime=4\r\n#time=3\r\n", 0, 0, 4, L"-"},
        {L"[S]\r\n=slide=TRUE\r\ntime==9000\r\nfile=C:\\a=b.txt\r\n", 0, 1, 9000, L"C:\\a"},
        {L"[S]\r\nslide=\r\nslide\r\n\r\n=\r\nfile=\r\ntime=6\r\n", 1, 1, 6, L"-"},
        // A line is read in pieces of 254 characters; the rest reads as a line of its own.
        {L"[S]\r\nfile=" + a249 + L"time=12\r\n", 0, 0, 12, std::wstring(15, L'a')},
    };
    for (const Case& c : cases) {
        std::uint8_t slide = c.slideBefore;
        std::int32_t time = 5000;
        wchar_t file[16] = L"-";
        const IniEntry table[] = {{L"slide", T::Bool, &slide}, {L"time", T::Long, &time}, {L"#time", T::Long, &time},
                                  {L"file", T::String, file}, {}};
        IniReader reader = makeIniReader(utf16Bytes(c.text), true, nullptr);
        readSection(reader, table, L"[S]", 16);
        EXPECT_EQ(std::make_tuple(slide, time, std::wstring(file)), std::make_tuple(c.slide, c.time, c.file))
            << &c - cases;
    }
    // Without a file, a table or a header nothing is read.
    std::int32_t value = 5;
    const IniEntry table[] = {{L"k", T::Long, &value}, {}}, empty[] = {{L"k", T::Long, nullptr}, {}};
    IniReader reader = makeIniReader(utf16Bytes(L"[S]\r\nk=2\r\n"), true, nullptr), none;
    for (auto [file, rows, header] : {std::tuple{&none, table, L"[S]"}, {&reader, nullptr, L"[S]"},
                                      {&reader, empty, L"[S]"}, {&reader, table, nullptr}})
        readSection(*file, rows, header, 0);
    EXPECT_EQ(value, 5);
}

TEST(TypedIni, NumbersKeepTheTargetWidthAndRangeAndAreWrittenInTheirForm)
{
    // An unreadable value leaves the target alone (bytes 0xA5, a real 42). A range is judged on the
    // number as written, before the cut to the target's width: 70000 is not 4464, 2^32 is not 0; the
    // 64-bit range saturates at its ends, beyond a range that stops one short of them.
    const IniRange shortRange{0, 32767, 4}, longRange{-5, 921599999, 5000}, wideRange{INT64_MIN + 1, INT64_MAX - 1, 7};
    struct Case { T type; const wchar_t* value; const char* written; const IniRange* range = nullptr; };
    const Case cases[] = {
        {T::Byte, L"300", "44"}, {T::Byte, L"x1", "165"}, {T::Short, L"40000", "-25536"}, {T::Short, L"0x10", "0"},
        {T::ShortOctal, L"78", "7"}, {T::LongOctal, L"-1", "37777777777"}, {T::ShortHex, L"0X12345", "2345"},
        {T::ShortHex, L"0x", "0"}, {T::LongHex, L"aAfF09", "aaff09"}, {T::LongHex, L"-0x1", "ffffffff"},
        {T::Short, L"12:@", "12"},   // the characters between the digits and the capitals end a number
        {T::Short, L"70000", "4", &shortRange}, {T::Short, L"-1", "4", &shortRange},
        {T::Short, L"32767", "32767", &shortRange}, {T::Short, L"0", "0", &shortRange},
        {T::Short, L"32768", "4", &shortRange}, {T::Short, L"abc", "-23131", &shortRange},
        {T::Long, L"4294967296", "5000", &longRange}, {T::Long, L"921599999", "921599999", &longRange},
        {T::Long, L"921600000", "5000", &longRange}, {T::Long, L"-5", "-5", &longRange}, {T::Long, L"-6", "5000", &longRange},
        {T::Long, L"99999999999999999999999", "5000", &longRange}, {T::Long, L"-9223372036854775808", "5000", &longRange},
        {T::Long, L"-18446744073709551615", "5000", &longRange},
        {T::LongHex, L"99999999999999999999", "7", &wideRange}, {T::LongHex, L"-99999999999999999999", "7", &wideRange},
        {T::Double, L" \t-2.5e3", "-2500"}, {T::Double, L"+.25", "0.25"}, {T::Double, L"2\u0131", "2"},
        {T::Double, L"abc", "42"}, {T::Double, L"+-1", "42"}, {T::Double, L"1e999", "42"}, {T::Double, L"1e-5", "1e-05"},
        {T::Double, L"-0.000123456", "-0.000123456"}, {T::Double, L"100000", "100000"}, {T::Double, L"999999.5", "1e+06"},
        {T::Double, L"123456789", "1.23457e+08"}, {T::Double, L"1000.5", "1000.5"}, {T::Double, L"0", "0"},
        {T::Double, L"1e-100", "1e-100"}, {T::Double, L"-1.25e-7", "-1.25e-07"}, {T::Double, L"-inf", "-inf"},
        {T::Double, L"nan", "nan"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        alignas(8) unsigned char memory[12];
        std::memset(memory, 0xA5, sizeof memory);
        if (const double real = 42; c.type == T::Double) std::memcpy(memory, &real, sizeof real);
        EXPECT_EQ(readAndWrite(c.value, c.type, memory, c.range), c.written);
        const bool wide = c.type == T::Long || c.type == T::LongOctal || c.type == T::LongHex;
        const std::size_t width = c.type == T::Byte ? 1 : c.type == T::Double ? 8 : wide ? 4 : 2;
        for (std::size_t i = width; i < sizeof memory; ++i) EXPECT_EQ(memory[i], 0xA5) << "byte " << i;
    }
}

TEST(TypedIni, AWholeStringIsNeverReadOrWrittenCutShort)
{
    // "path=" takes 5 of a line's 254 characters and CR LF 2: 247 are left for the value.
    EXPECT_EQ(longestWholeValue(L"path"), 247u);
    struct Case { std::wstring value; std::size_t room; bool read, written; const wchar_t* lineEnd = L"\r\n"; };
    const Case cases[] = {
        {std::wstring(247, L'p'), 260, true, true}, {std::wstring(248, L'p'), 260, false, false},
        {std::wstring(248, L'p'), 260, true, false, L""},   // the last line, without its line end, is not cut
        {std::wstring(20, L'\u0416'), 21, true, true}, {std::wstring(21, L'p'), 21, false, true},   // longer than its target
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.size());
        wchar_t path[260] = L"kept";
        const IniEntry table[] = {{L"path", T::String, path, nullptr, true}, {}};
        IniReader reader = makeIniReader(utf16Bytes(L"[S]\r\npath=" + c.value + c.lineEnd), true, nullptr);
        readSection(reader, table, L"[S]", c.room);
        EXPECT_EQ(std::wstring(path), c.read ? c.value : L"kept");
        std::wmemcpy(path, c.value.c_str(), c.value.size() + 1);
        IniWriter writer = makeIniWriter(true, nullptr);
        writeSection(writer, table, L"[S]");
        EXPECT_EQ(takeIniBytes(writer), utf16Bytes(L"[S]\r\npath=" + (c.written ? c.value : L"") + L"\r\n"));
    }
}

TEST(TypedIni, AFileIsOursWhenItHoldsTheSectionOrNothing)
{
    struct Case { std::string bytes; bool ours; };
    const Case cases[] = {
        {"[Tomel]\r\nversion=1.00\r\n", true}, {utf16Bytes(L"[D]\r\nm=F\r\n[Tomel]"), true},
        {utf16Bytes(L""), true}, {utf16Bytes(L"\r\n \t\v\f\r\n\r\n"), true}, {utf16Bytes(L"[Other]\r\n"), false},
        {utf16Bytes(L"; [Tomel]\r\n"), false}, {utf16Bytes(L"[TOMEL]\r\n"), false}, {utf16Bytes(L"\r\n\r\nx"), false},
    };
    for (const Case& c : cases) EXPECT_EQ(iniFileIsOurs(makeIniReader(c.bytes, true, nullptr), L"[Tomel]"), c.ours);
}

namespace {
// A record of the test's own and its table: a note, a text longer than its field, flags with and
// without a menu item, a number with a range, a path and a number only start-up knows, a Short in a
// 32-bit field; and a section written only when changed. Neighbours show that no default reaches
// beyond its own field.
struct Record {
    bool extra;
    bool on;
    bool plain;
    wchar_t name[8];
    std::uint32_t wide;
    std::int32_t count;
    wchar_t path[260];
    wchar_t tag[16];
    std::int32_t seen;
};
const SettingSection testSections[] = {{L"[A]", 8, false}, {L"[B]", 260, false}, {L"[X]", 16, true}};
const SettingRow testRows[] = {
    noteRow(0, L";", L"a note"),
    textRow(0, L"name", offsetof(Record, name), L"abcdefgh"),
    flagRow(0, L"on", offsetof(Record, on), true, CMD_SLIDESHOW),
    rangedRow(1, L"count", T::Long, offsetof(Record, count), 300, 0, 999),
    startUpRow(1, L"path", T::String, offsetof(Record, path), true),
    numberRow(1, L"wide", T::Short, offsetof(Record, wide), -2),
    flagRow(1, L"plain", offsetof(Record, plain), true),
    flagRow(2, L"extra", offsetof(Record, extra), false, 1201),
    textRow(2, L"tag", offsetof(Record, tag), L"t"),
    startUpRow(2, L"seen", T::Long, offsetof(Record, seen)),   // never counts as changed
};
const SettingTable testTable = {testSections, std::size(testSections), testRows, std::size(testRows)};

std::string written(const Record& record)
{
    IniWriter writer = makeIniWriter(true, nullptr);
    writeSettings(writer, testTable, &record);
    return takeIniBytes(writer);
}
}  // namespace

TEST(SettingTable, DefaultsFileAndMenuMarksComeFromTheRows)
{
    Record r;
    std::memset(&r, 0xA5, sizeof r);
    setSettingDefaults(testTable, &r);
    // A Short keeps the upper half of its field.
    EXPECT_EQ(std::make_tuple(std::wstring(r.name), r.on, r.plain, r.count, r.wide, r.extra, r.tag[0]),
              std::make_tuple(L"abcdefg", true, true, 300, 0xA5A5FFFEu, false, L't'));
    EXPECT_EQ(static_cast<std::uint32_t>(r.path[0]), 0xA5A5A5A5u);   // start-up's to set
    std::wcscpy(r.path, L"C:\\p");
    r.seen = 7;
    const std::wstring always = L"[A]\r\n;=a note\r\nname=abcdefg\r\non=TRUE\r\n\r\n"
                                L"[B]\r\ncount=300\r\npath=C:\\p\r\nwide=-2\r\nplain=TRUE\r\n";
    // [X] is written only while one of its values differs from its default.
    struct Case { bool extra; const wchar_t* tag; std::wstring x; std::vector<unsigned> checked; };
    const Case cases[] = {
        {false, L"t", L"", {CMD_SLIDESHOW}},
        {true, L"t", L"\r\n[X]\r\nextra=TRUE\r\ntag=t\r\nseen=7\r\n", {CMD_SLIDESHOW, 1201}},
        {false, L"u", L"\r\n[X]\r\nextra=FALSE\r\ntag=u\r\nseen=7\r\n", {CMD_SLIDESHOW}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Record record = r;
        record.extra = c.extra;
        std::wcscpy(record.tag, c.tag);
        const std::string bytes = written(record);
        EXPECT_EQ(bytes, utf16Bytes(always + c.x));
        EXPECT_EQ(checkedCommands(testTable, &record), c.checked);
        // Read back whole into the defaults; the shape of a whole file knows [X] may follow.
        Record back = {};
        setSettingDefaults(testTable, &back);
        IniReader reader = makeIniReader(bytes, true, nullptr);
        readSettings(reader, testTable, &back);
        EXPECT_EQ(written(back), bytes);
        EXPECT_EQ(std::make_pair(classifyWrittenFile(bytes, settingsFileShape(testTable)),
                                 classifyWrittenFile(bytes.substr(0, bytes.size() - 2), settingsFileShape(testTable))),
                  std::make_pair(WrittenFile::Whole, WrittenFile::Cut));
    }
    // Without such a section a whole file ends with its last.
    const FileShape two = settingsFileShape({testSections, 2, testRows, std::size(testRows)});
    EXPECT_EQ(std::make_tuple(std::wstring(two.lastHeader), two.lastRows, two.optionalHeader),
              std::make_tuple(L"[B]", 4u, nullptr));
    // A number outside its range gives the default; the note is written, never read.
    IniReader reader = makeIniReader(utf16Bytes(L"[A]\r\nname=xyz\r\n;=x\r\n[B]\r\ncount=1000\r\n"), true, nullptr);
    readSettings(reader, testTable, &r);
    EXPECT_EQ(std::make_pair(std::wstring(r.name), r.count), std::make_pair(std::wstring(L"xyz"), 300));
    // A path too long for its line (247 characters after "path=") takes a shorter form that fits; else it
    // stays as it is, to be written empty.
    static std::wstring form;
    const std::wstring p247(247, L'p'), p248(248, L'p');
    struct Path { std::wstring value, shorter, kept; };
    const std::wstring q247(247, L'q'), q248(248, L'q');
    for (const Path& c : {Path{p248, L"C:\\P~1", L"C:\\P~1"}, Path{p247, L"C:\\P~1", p247}, Path{p248, L"", p248},
                          Path{p248, q247, q247}, Path{p248, q248, p248}}) {
        std::wcscpy(r.path, c.value.c_str());
        form = c.shorter;
        shortenWholeValues(testTable, &r, [](const wchar_t*) { return form; });
        EXPECT_EQ(std::wstring(r.path), c.kept) << c.value.size() << " " << c.shorter.size();
    }
    // A plain toggle is the Bool row with the command's menu item.
    EXPECT_EQ(std::make_tuple(flipSetting(testTable, 1201, &r), r.extra, flipSetting(testTable, CMD_HIDE, &r),
                              flipSetting(testTable, 0, &r), r.on, r.plain),
              std::make_tuple(true, true, false, false, true, true));
}

TEST(LanguageFile, HoldsEveryRowAsItselfAndReadsBackUnchanged)
{
    // Items of the test's own making in menu order: the Pin items read "Pin", every other "Item <number>". Those
    // numbered from 1201 on come after all others, wherever the menu holds them.
    setMenuItems({CMD_PIN, 1201, CMD_SLIDESHOW, CMD_PIN_TIMERS, 1300, CMD_EXIT, CMD_PIN_BLACKBOX});
    for (TranslationRow& row : menuItemTexts)
        std::wcscpy(row.text, row.id >= CMD_PIN ? L"Pin" : (L"Item " + std::to_wstring(row.id)).c_str());
    for (TranslationRow& row : level2MenuTexts) std::wcscpy(row.text, (L"Sub " + std::to_wstring(row.id)).c_str());
    const auto written = [] {
        IniWriter writer = makeIniWriter(true, nullptr);
        writeLanguage(writer, std::wstring(60, L'9').c_str());   // the version is cut to 49 characters
        return takeIniBytes(writer);
    };
    const std::string bytes = written();
    EXPECT_NE(bytes.find(utf16Bytes(L"[Language]\r\nTomel=" + std::wstring(49, L'9') + L"\r\nLanguage=English\r\n")),
              std::string::npos);
    EXPECT_NE(bytes.find(utf16Bytes(L"[Menu Items]\r\nPin=Pin\r\nItem 1001=Item 1001\r\nPin=Pin\r\nItem 1105=Item 1105\r\n"
                                    L"Pin=Pin\r\nItem 1201=Item 1201\r\nItem 1300=Item 1300\r\n\r\n").substr(2)),
              std::string::npos);
    EXPECT_NE(bytes.find(utf16Bytes(L"[Level2 Menus]\r\nSub 6=Sub 6\r\nSub 7=Sub 7\r\nSub 17=Sub 17\r\n"
                                    L"Sub 18=Sub 18\r\nSub 19=Sub 19\r\nSub 28=Sub 28\r\nSub 29=Sub 29\r\n").substr(2)),
              std::string::npos);
    IniReader same = makeIniReader(bytes, true, nullptr);
    readLanguage(same);
    EXPECT_EQ(written(), bytes);
}

TEST(WrittenFile, EveryCutOfAWholeFileIsToldFromIt)
{
    // Files as the writer makes them: settings from [Tomel] to [Menu], and the language file.
    std::uint8_t on = 1;
    const IniEntry row[] = {{L"at cursor", T::Bool, &on}, {}};
    IniWriter settings = makeIniWriter(true, nullptr), language = makeIniWriter(true, nullptr);
    for (const wchar_t* header : {L"[Tomel]", L"[Portable]", L"[Menu]"}) writeSection(settings, row, header);
    writeLanguage(language, L"1.00");
    const auto either = {FileShape{L"[Tomel]", L"[Menu]", 1}, LANGUAGE_FILE_SHAPE};
    for (const std::string& whole : {takeIniBytes(settings), takeIniBytes(language)}) {
        EXPECT_EQ(classifyWrittenFile(whole, either), WrittenFile::Whole);
        for (std::size_t n = 0; n < whole.size(); ++n)
            ASSERT_EQ(classifyWrittenFile(whole.substr(0, n), either), WrittenFile::Cut) << n << " bytes";
        // Written over an older, longer file without cutting that off; a byte more is no character.
        for (const std::string& longer : {whole + whole.substr(2), whole + "x"})
            EXPECT_EQ(classifyWrittenFile(longer, either), WrittenFile::Cut);
    }
    // Hand-written files are someone else's; the smallest whole settings file, and near misses.
    const std::pair<std::string, WrittenFile> cases[] = {
        {utf16Bytes(L"[Slideshow]\r\nslide=FALSE\r\n"), WrittenFile::Other}, {"[Tomel]\r\n", WrittenFile::Other},
        {utf16Bytes(L"[Tomel]\r\n\r\n[Menu]\r\n=\r\n"), WrittenFile::Whole},
        {utf16Bytes(L"[Tomel]\r\n\r\n[Menu]\r\na=1\r\nb=2\r\n"), WrittenFile::Cut},
        {utf16Bytes(L"[Tomel]\r\n\r\n[Menu]\r\na\r\n"), WrittenFile::Cut},
        {utf16Bytes(L"[Tomel]\r\n\r\n[Menu]\r\na=\n1\r\n"), WrittenFile::Cut},
    };
    for (const auto& c : cases) EXPECT_EQ(classifyWrittenFile(c.first, either), c.second) << &c - cases;
}

TEST(WrittenFile, AKeptCopyNamesItsFileAndIsWholeOnlyToTheLastByte)
{
    const std::wstring target = L"\\\\?\\C:\\Program Files\\T\u00F6mel \u0416\\tomel.ini";   // beyond ASCII and Latin-1
    const std::string old("\xFF\xFE[\0\r\0\n\0", 8), copy = keptCopyBytes(target, old);
    KeptCopy read;
    for (std::size_t n = 0; n < copy.size(); ++n) ASSERT_EQ(readKeptCopy(copy.substr(0, n), read), WrittenFile::Cut) << n;
    EXPECT_EQ(std::make_pair(readKeptCopy(copy + "x", read), readKeptCopy("TomelOle", read)),
              std::make_pair(WrittenFile::Other, WrittenFile::Other));
    ASSERT_EQ(readKeptCopy(copy, read), WrittenFile::Whole);
    EXPECT_EQ(std::make_pair(read.target, read.old), std::make_pair(target, old));
    // Lengths of more than one byte, and none.
    for (const std::string& longer : {std::string(300, 'o'), std::string()}) {
        ASSERT_EQ(readKeptCopy(keptCopyBytes(target + std::wstring(300, L'x'), longer), read), WrittenFile::Whole);
        EXPECT_EQ(std::make_pair(read.target, read.old), std::make_pair(target + std::wstring(300, L'x'), longer));
    }
}
