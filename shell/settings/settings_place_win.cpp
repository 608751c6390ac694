#include "shell/settings/settings_place_win.h"

#include <shlobj.h>

#include "shell/app/files_win.h"

namespace {

std::wstring besideProgram(const App& app)
{
    return app.exeDirectory[0] ? std::wstring(app.exeDirectory) + L"\\tomel.ini" : std::wstring();
}

bool samePath(const std::wstring& a, const wchar_t* b)
{
    return !a.empty() && CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

// Whether a file can be made in `folder`: one is, and it vanishes when closed (also when the
// program is killed first).
bool canMakeFileIn(const std::wstring& folder)
{
    const std::wstring probe = folder + L"\\tomel-probe-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const unique_hfile file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file || GetLastError() == ERROR_FILE_EXISTS;
}

bool canWrite(const std::wstring& path)
{
    const unique_hfile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
    return static_cast<bool>(file);
}

}  // namespace

std::wstring perUserSettingsPath()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return {};
    const std::wstring path = std::wstring(folder) + L"\\Tomel\\tomel.ini";
    return path.size() < PATH_BUFFER ? path : std::wstring();
}

SettingsFiles settingsFilesAtStartUp(const App& app)
{
    const std::wstring beside = besideProgram(app);
    if (beside.empty()) return {};
    const std::wstring perUser = perUserSettingsPath();
    SettingsFolderFacts facts = {};
    facts.folderWritable = canMakeFileIn(app.exeDirectory);
    facts.besideWritable = canWrite(beside);
    facts.perUserKnown = !perUser.empty();
    facts.perUserExists = facts.perUserKnown && GetFileAttributesW(perUser.c_str()) != INVALID_FILE_ATTRIBUTES;
    const SettingsPlaces places = chooseSettingsPlaces(facts);
    const auto pathOf = [&](SettingsPlace place) { return place == SettingsPlace::PerUser ? perUser : beside; };
    return {pathOf(places.read), pathOf(places.write)};
}

bool isOwnSettingsFile(const App& app)
{
    return samePath(besideProgram(app), app.settingsPath) || samePath(perUserSettingsPath(), app.settingsPath);
}

void makeSettingsFolder(const App& app)
{
    const std::wstring perUser = perUserSettingsPath();
    if (samePath(perUser, app.settingsPath)) CreateDirectoryW(perUser.substr(0, perUser.rfind(L'\\')).c_str(), nullptr);
}
