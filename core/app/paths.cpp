#include "core/app/paths.h"

#include <algorithm>

bool copyToBuffer(wchar_t* dst, std::size_t size, std::wstring_view src)
{
    if (size == 0) return src.empty();
    const std::size_t n = std::min(src.size(), size - 1);
    std::copy_n(src.data(), n, dst);
    dst[n] = L'\0';
    return n == src.size();
}

std::wstring_view trimTrailingBlanks(std::wstring_view arg)
{
    while (!arg.empty() && arg.back() == L' ') arg.remove_suffix(1);
    return arg;
}

bool isSettingsFileName(std::wstring_view path)
{
    const std::size_t dot = path.rfind(L'.');
    return dot != std::wstring_view::npos && path.substr(dot) == L".ini";
}

std::wstring_view fileNamePart(std::wstring_view path)
{
    const std::size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? path : path.substr(slash + 1);
}

bool namesHelpText(std::wstring_view path)
{
    const std::wstring_view name = fileNamePart(path), help = L"tomel.txt";
    if (name.size() != help.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const wchar_t c = name[i] >= L'A' && name[i] <= L'Z' ? static_cast<wchar_t>(name[i] - L'A' + L'a') : name[i];
        if (c != help[i]) return false;
    }
    return true;
}

std::wstring buildTitle(std::wstring_view textFilePath, std::wstring_view programName)
{
    std::wstring title(fileNamePart(textFilePath));
    title += L" - ";
    title += programName;
    if (title.size() > PATH_BUFFER - 1) title.resize(PATH_BUFFER - 1);
    return title;
}

std::wstring_view directoryPart(std::wstring_view modulePath)
{
    const std::size_t slash = modulePath.rfind(L'\\');
    return slash == std::wstring_view::npos ? modulePath : modulePath.substr(0, slash);
}

bool moduleNameIsWhole(std::size_t returned, std::size_t bufferSize) { return returned > 0 && returned < bufferSize; }

bool filesFitBeside(std::wstring_view directory)
{
    constexpr std::size_t LONGEST_NAME = 15;   // "\\tomel.lang.ini"
    return directory.size() + LONGEST_NAME < PATH_BUFFER;
}

std::wstring plainPathForm(std::wstring_view path)
{
    if (path.substr(0, 8) == L"\\\\?\\UNC\\") return L"\\\\" + std::wstring(path.substr(8));
    if (path.substr(0, 4) == L"\\\\?\\") return std::wstring(path.substr(4));
    return std::wstring(path);
}

std::wstring longPathForm(std::wstring_view fullPath)
{
    const std::wstring_view prefix = L"\\\\?\\";
    if (fullPath.substr(0, prefix.size()) == prefix) return std::wstring(fullPath);
    if (fullPath.substr(0, 2) == L"\\\\") return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
    if (fullPath.size() >= 3 && fullPath[1] == L':' && fullPath[2] == L'\\') return std::wstring(prefix) + std::wstring(fullPath);
    return std::wstring(fullPath);
}

std::wstring temporaryPathFor(std::wstring_view fullPath) { return longPathForm(fullPath) + L".new"; }

SettingsPlaces chooseSettingsPlaces(const SettingsFolderFacts& facts)
{
    if (facts.folderWritable || facts.besideWritable || !facts.perUserKnown)
        return {SettingsPlace::BesideProgram, SettingsPlace::BesideProgram};
    return {facts.perUserExists ? SettingsPlace::PerUser : SettingsPlace::BesideProgram, SettingsPlace::PerUser};
}
