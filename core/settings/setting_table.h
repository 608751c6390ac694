#pragma once
// A settings record described by one static table of its fields: the section and key the file keeps
// each under, its type and place in the record, its default, the numbers it can use, and the menu
// item whose check mark shows it. Reading, writing, the defaults, the menu's marks and the plain
// toggles all follow from the table; the record itself is plain data.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/settings/typed_ini.h"
#include "core/settings/written_file.h"

struct SettingSection {
    const wchar_t* header;
    std::size_t readSize;        // the size in characters of the section's String fields
    bool writtenWhenChanged;     // written only while one of its values differs from its default
};

enum class SettingDefault : std::uint8_t {
    Given,       // `number`, or `text` for a String
    AtStartUp,   // only start-up knows it (a folder, the new window, the screen): empty until then
    Note,        // no field: the row writes `text` and reads nothing
};

struct SettingRow {
    std::uint8_t section;        // index into the section table
    const wchar_t* key;
    IniValueType type;
    std::size_t offset;          // of the field in the record
    SettingDefault kind;
    std::int64_t number;         // the default of a whole number or a Bool (no setting is a real one)
    const wchar_t* text;         // the default of a String
    bool ranged;
    IniRange range;              // with `ranged`: the usable numbers; the fallback is the default
    bool whole;                  // a String that is used only whole (a path)
    unsigned command;            // a Bool's menu item, checked while it is set; 0: none
};

constexpr SettingRow flagRow(std::uint8_t section, const wchar_t* key, std::size_t offset, bool on,
                             unsigned command = 0)
{
    return {section, key, IniValueType::Bool, offset, SettingDefault::Given, on, nullptr, false, {}, false, command};
}
constexpr SettingRow numberRow(std::uint8_t section, const wchar_t* key, IniValueType type, std::size_t offset,
                               std::int64_t value)
{
    return {section, key, type, offset, SettingDefault::Given, value, nullptr, false, {}, false, 0};
}
// A hand-edited number outside min..max gives way to the default when read.
constexpr SettingRow rangedRow(std::uint8_t section, const wchar_t* key, IniValueType type, std::size_t offset,
                               std::int64_t value, std::int64_t min, std::int64_t max)
{
    return {section, key, type, offset, SettingDefault::Given, value, nullptr, true, {min, max, value}, false, 0};
}
constexpr SettingRow textRow(std::uint8_t section, const wchar_t* key, std::size_t offset, const wchar_t* text,
                             bool whole = false)
{
    return {section, key, IniValueType::String, offset, SettingDefault::Given, 0, text, false, {}, whole, 0};
}
constexpr SettingRow startUpRow(std::uint8_t section, const wchar_t* key, IniValueType type, std::size_t offset,
                                bool whole = false)
{
    return {section, key, type, offset, SettingDefault::AtStartUp, 0, nullptr, false, {}, whole, 0};
}
constexpr SettingRow noteRow(std::uint8_t section, const wchar_t* key, const wchar_t* text)
{
    return {section, key, IniValueType::String, 0, SettingDefault::Note, 0, text, false, {}, false, 0};
}

struct SettingTable {
    const SettingSection* sections;
    std::size_t sectionCount;   // in the order the file holds them
    const SettingRow* rows;
    std::size_t rowCount;       // each section's rows in the order the file holds them
    const SettingRow* begin() const { return rows; }
    const SettingRow* end() const { return rows + rowCount; }
};

// Every field of the record takes its default; those only start-up knows are left as they are.
void setSettingDefaults(const SettingTable& table, void* record);
// Every section from the file; keys it lacks keep their values.
void readSettings(IniReader& reader, const SettingTable& table, void* record);
// Every section, in order. A section written only when changed is left out while all its values
// are their defaults (and so always when it has no rows).
void writeSettings(IniWriter& writer, const SettingTable& table, const void* record);
// A value of a whole String row too long for its line (which would be written empty) takes the
// form `shorter` gives it (a path's short form; empty: none) when that fits the line.
using ShorterForm = std::wstring (*)(const wchar_t* value);
void shortenWholeValues(const SettingTable& table, void* record, ShorterForm shorter);
// The menu items of the Bool rows that are set.
std::vector<unsigned> checkedCommands(const SettingTable& table, const void* record);
// The command of a plain toggle: flips the Bool row's field whose menu item it is. False, changing
// nothing, when no row has that command.
bool flipSetting(const SettingTable& table, unsigned command, void* record);
// What a whole file written from the table ends with: its first section, its last section always
// written and, when the one after it is written only when changed, that one.
FileShape settingsFileShape(const SettingTable& table);
