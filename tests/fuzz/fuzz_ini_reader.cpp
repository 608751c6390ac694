// Any bytes as a settings file (or a language file, which is read alike): reading must stay inside the
// targets whatever the file holds, and what was read must write out and read back to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/settings/typed_ini.h"

namespace {

// A settings file is a few kilobytes; a longer input only repeats the same work.
constexpr std::size_t MAX_INPUT = 4096;
constexpr std::size_t TEXT_SIZE = 5;

std::string written(const IniEntry* table, bool wide)
{
    IniWriter writer = makeIniWriter(wide, nullptr);
    writeSection(writer, table, L"[S]");
    return takeIniBytes(writer);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size < MAX_INPUT ? size : MAX_INPUT);
    // Each target is a heap block of its own size, so that a write past it is seen.
    IniEntry table[] = {
        {L"b", IniValueType::Byte, std::calloc(1, 1)}, {L"slide", IniValueType::Bool, std::calloc(1, 1)},
        {L"s", IniValueType::Short, std::calloc(1, 2)}, {L"l", IniValueType::Long, std::calloc(1, 4)},
        {L"so", IniValueType::ShortOctal, std::calloc(1, 2)}, {L"lo", IniValueType::LongOctal, std::calloc(1, 4)},
        {L"sx", IniValueType::ShortHex, std::calloc(1, 2)}, {L"lx", IniValueType::LongHex, std::calloc(1, 4)},
        {L"f", IniValueType::Float, std::calloc(1, 4)}, {L"d", IniValueType::Double, std::calloc(1, 8)},
        {L"file", IniValueType::String, std::calloc(TEXT_SIZE, sizeof(wchar_t))}, {},
    };
    // Opened in binary, as the program opens its files, with any section header; and as 8-bit text,
    // as the fallback for a path that only opens by its short name reads it.
    IniReader reader = makeIniReader(bytes, true, nullptr);
    for (const wchar_t* header : {L"[S]", L"[", L""})
        readSection(reader, table, header, TEXT_SIZE);
    IniReader narrow = makeIniReader(bytes, false, nullptr);
    readSection(narrow, table, L"[S]", TEXT_SIZE);
    // Numbers come back from their six digits, and strings from their code page, unchanged.
    for (bool wide : {true, false}) {
        const std::string first = written(table, wide);
        IniReader again = makeIniReader(first, true, nullptr);
        readSection(again, table, L"[S]", TEXT_SIZE);
        if (written(table, wide) != first) std::abort();
    }
    for (IniEntry* row = table; row->target != nullptr; ++row)
        std::free(row->target);
    return 0;
}
