#include "shell/app/autostart_win.h"

#include <string>

#include "core/app/autostart.h"
#include "shell/app/app_info_win.h"
#include "shell/app/files_win.h"
#include "state/gdi_win.h"

namespace {

constexpr const wchar_t* RUN_KEY = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

struct RegistryKeyTraits {
    using Handle = HKEY;
    static HKEY none() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};
using unique_hkey = UniqueHandle<RegistryKeyTraits>;

unique_hkey runKey(REGSAM access)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, access, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return unique_hkey();
    return unique_hkey(key);
}

// The command listed under the program's name, or none.
bool listedCommand(std::wstring& command)
{
    const unique_hkey key = runKey(KEY_QUERY_VALUE);
    DWORD type = 0, bytes = 0;
    if (!key || RegQueryValueExW(key.get(), appInfo.programName, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    command.assign(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key.get(), appInfo.programName, nullptr, nullptr, reinterpret_cast<BYTE*>(&command[0]), &bytes) !=
        ERROR_SUCCESS)
        return false;
    command.resize(command.find(L'\0'));
    return true;
}

void listProgram()
{
    const std::wstring command = startUpCommand(programFilePath());
    if (const unique_hkey key = runKey(KEY_SET_VALUE))
        RegSetValueExW(key.get(), appInfo.programName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

bool listedAtStartUp()
{
    std::wstring command;
    return listedCommand(command);
}

void toggleStartWithWindows()
{
    if (!listedAtStartUp()) return listProgram();
    if (const unique_hkey key = runKey(KEY_SET_VALUE)) RegDeleteValueW(key.get(), appInfo.programName);
}

void followMovedProgram()
{
    std::wstring command;
    if (!listedCommand(command)) return;
    const std::wstring listed = programOfCommand(command);
    if (listingIsStale(listed, programFilePath(), GetFileAttributesW(listed.c_str()) != INVALID_FILE_ATTRIBUTES))
        listProgram();
}
