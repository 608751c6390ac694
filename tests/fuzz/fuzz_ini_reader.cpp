// Any bytes as a settings or language file: reading must stay inside its buffers
// whatever the file holds, and what was read must write out again.
#include "core/settings/typed_ini.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// A settings file is a few kilobytes; a longer input only repeats the same work.
constexpr std::size_t MAX_INPUT = 4096;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size < MAX_INPUT ? size : MAX_INPUT);

    // Each target gets its own heap block so that a write past it is seen.
    auto* byteValue = new std::uint8_t(0);
    auto* flag = new std::uint8_t(0);
    auto* shortValue = new std::int16_t(0);
    auto* longValue = new std::int32_t(0);
    auto* shortOctal = new std::uint16_t(0);
    auto* longOctal = new std::uint32_t(0);
    auto* shortHex = new std::uint16_t(0);
    auto* longHex = new std::uint32_t(0);
    auto* real = new float(0);
    auto* doubleValue = new double(0);
    constexpr std::size_t textSize = 5;
    auto* text = new wchar_t[textSize]();
    auto* otherText = new wchar_t[textSize]();

    IniEntry table[] = {
        {L"b", IniValueType::Byte, byteValue},
        {L"slide", IniValueType::Bool, flag},
        {L"s", IniValueType::Short, shortValue},
        {L"l", IniValueType::Long, longValue},
        {L"so", IniValueType::ShortOctal, shortOctal},
        {L"lo", IniValueType::LongOctal, longOctal},
        {L"sx", IniValueType::ShortHex, shortHex},
        {L"lx", IniValueType::LongHex, longHex},
        {L"f", IniValueType::Float, real},
        {L"d", IniValueType::Double, doubleValue},
        {L"file", IniValueType::String, text},
        {L"FILE", IniValueType::String, otherText},
        {nullptr, IniValueType::Bool, nullptr},
    };
    IniEntry empty[] = {{nullptr, IniValueType::Bool, nullptr}};

    // Opened in binary, as the program opens its files; the sections are found as in any file.
    const wchar_t* headers[] = {L"[S]", L"[Slideshow]", L"[", L""};
    IniReader reader = makeIniReader(bytes, true, nullptr);
    for (const wchar_t* header : headers)
        readSection(reader, table, header, textSize);
    readSection(reader, empty, L"[S]", textSize);
    // The fallback for a path that only opens by its short name reads the bytes as 8-bit text;
    // only the decoding differs, so one section is enough.
    IniReader narrow = makeIniReader(bytes, false, nullptr);
    readSection(narrow, table, L"[S]", textSize);

    // Strings read are always terminated; writing them back must not run past them.
    if (text[textSize - 1] != L'\0' || otherText[textSize - 1] != L'\0')
        __builtin_trap();
    for (bool wide : {true, false}) {
        IniWriter writer = makeIniWriter(wide, nullptr);
        writeSection(writer, table, L"[S]");
        std::string written = takeIniBytes(writer);
        IniReader reader = makeIniReader(written, true, nullptr);
        readSection(reader, table, L"[S]", textSize);
    }

    delete byteValue;
    delete flag;
    delete shortValue;
    delete longValue;
    delete shortOctal;
    delete longOctal;
    delete shortHex;
    delete longHex;
    delete real;
    delete doubleValue;
    delete[] text;
    delete[] otherText;
    return 0;
}
