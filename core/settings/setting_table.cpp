#include "core/settings/setting_table.h"

#include <cstring>
#include <cwchar>
#include <string_view>

namespace {

std::size_t widthOf(IniValueType type)
{
    switch (type) {
    case IniValueType::Byte:
    case IniValueType::Bool: return 1;
    case IniValueType::Short:
    case IniValueType::ShortOctal:
    case IniValueType::ShortHex: return 2;
    default: return 4;
    }
}

// The bytes a whole number's or a Bool's field holds at its default, little-endian as every build of
// the program is. (No setting is a real number.)
void encodeDefault(const SettingRow& row, unsigned char (&bytes)[8])
{
    const auto value = static_cast<std::uint64_t>(row.type == IniValueType::Bool ? row.number != 0 : row.number);
    for (std::size_t i = 0; i < sizeof bytes; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

unsigned char* fieldOf(const SettingRow& row, void* record) { return static_cast<unsigned char*>(record) + row.offset; }
const unsigned char* fieldOf(const SettingRow& row, const void* record)
{
    return static_cast<const unsigned char*>(record) + row.offset;
}

std::size_t readSizeOf(const SettingTable& table, const SettingRow& row)
{
    return table.sections[row.section].readSize;
}

// A String field holds `text`, cut to its size and zero-filled to its end, as a read leaves it.
void putText(const SettingTable& table, const SettingRow& row, void* record, std::wstring_view text)
{
    auto* field = reinterpret_cast<wchar_t*>(fieldOf(row, record));
    const std::size_t size = readSizeOf(table, row);
    const std::size_t kept = text.size() < size ? text.size() : size - 1;
    for (std::size_t n = 0; n < size; ++n) field[n] = n < kept ? text[n] : L'\0';
}

bool differsFromDefault(const SettingTable& table, const SettingRow& row, const void* record)
{
    if (row.kind != SettingDefault::Given) return false;
    if (row.type == IniValueType::String) {
        const auto* text = reinterpret_cast<const wchar_t*>(fieldOf(row, record));
        return std::wcsncmp(text, row.text ? row.text : L"", readSizeOf(table, row)) != 0;
    }
    unsigned char bytes[8] = {};
    encodeDefault(row, bytes);
    return std::memcmp(fieldOf(row, record), bytes, widthOf(row.type)) != 0;
}

// The section's rows as the typed INI engine takes them, ended by a row without target. A note is
// written but never read.
std::vector<IniEntry> entriesOf(const SettingTable& table, std::size_t section, void* record, bool writing)
{
    std::vector<IniEntry> entries;
    for (const SettingRow& row : table) {
        if (row.section != section || (row.kind == SettingDefault::Note && !writing)) continue;
        // Writing only reads the target, so the note's text can stand as one.
        void* target = row.kind == SettingDefault::Note ? static_cast<void*>(const_cast<wchar_t*>(row.text))
                                                         : static_cast<void*>(fieldOf(row, record));
        entries.push_back({row.key, row.type, target, row.ranged ? &row.range : nullptr, row.whole});
    }
    entries.push_back({nullptr, IniValueType::String, nullptr});
    return entries;
}

}  // namespace

void setSettingDefaults(const SettingTable& table, void* record)
{
    for (const SettingRow& row : table) {
        if (row.kind != SettingDefault::Given) continue;
        unsigned char* field = fieldOf(row, record);
        if (row.type == IniValueType::String) {
            putText(table, row, record, row.text ? row.text : L"");
            continue;
        }
        unsigned char bytes[8] = {};
        encodeDefault(row, bytes);
        std::memcpy(field, bytes, widthOf(row.type));
    }
}

void readSettings(IniReader& reader, const SettingTable& table, void* record)
{
    for (std::size_t s = 0; s < table.sectionCount; ++s) {
        const std::vector<IniEntry> entries = entriesOf(table, s, record, false);
        readSection(reader, entries.data(), table.sections[s].header, table.sections[s].readSize);
    }
}

void writeSettings(IniWriter& writer, const SettingTable& table, const void* record)
{
    for (std::size_t s = 0; s < table.sectionCount; ++s) {
        if (table.sections[s].writtenWhenChanged) {
            bool changed = false;
            for (const SettingRow& row : table)
                changed = changed || (row.section == s && differsFromDefault(table, row, record));
            if (!changed) continue;
        }
        // Writing only reads the fields.
        const std::vector<IniEntry> entries = entriesOf(table, s, const_cast<void*>(record), true);
        writeSection(writer, entries.data(), table.sections[s].header);
    }
}

void shortenWholeValues(const SettingTable& table, void* record, ShorterForm shorter)
{
    for (const SettingRow& row : table) {
        if (!row.whole) continue;
        const auto* value = reinterpret_cast<const wchar_t*>(fieldOf(row, record));
        const std::size_t room = longestWholeValue(row.key);
        if (std::wcslen(value) <= room) continue;
        const std::wstring form = shorter(value);
        if (!form.empty() && form.size() <= room) putText(table, row, record, form);
    }
}

std::vector<unsigned> checkedCommands(const SettingTable& table, const void* record)
{
    std::vector<unsigned> commands;
    for (const SettingRow& row : table) {
        if (row.type == IniValueType::Bool && row.command != 0 && *fieldOf(row, record) != 0)
            commands.push_back(row.command);
    }
    return commands;
}

bool flipSetting(const SettingTable& table, unsigned command, void* record)
{
    for (const SettingRow& row : table) {
        if (row.type != IniValueType::Bool || row.command == 0 || row.command != command) continue;
        unsigned char* flag = fieldOf(row, record);
        *flag = *flag ? 0 : 1;
        return true;
    }
    return false;
}

FileShape settingsFileShape(const SettingTable& table)
{
    const auto rowsOf = [&](std::size_t section) {
        std::size_t n = 0;
        for (const SettingRow& row : table) n += row.section == section;
        return n;
    };
    std::size_t last = table.sectionCount;
    // The first section, which tells the file for one of ours, is always written.
    while (table.sections[last - 1].writtenWhenChanged) --last;
    FileShape shape = {table.sections[0].header, table.sections[last - 1].header, rowsOf(last - 1)};
    if (last < table.sectionCount) {
        shape.optionalHeader = table.sections[last].header;
        shape.optionalRows = rowsOf(last);
    }
    return shape;
}
