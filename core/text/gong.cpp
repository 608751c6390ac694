#include "core/text/gong.h"

std::wstring gongOpenCommand(std::wstring_view shortPath)
{
    if (shortPath.empty()) return std::wstring();
    const bool quote = shortPath.find(L' ') != std::wstring_view::npos;
    std::wstring command = L"open ";
    if (quote) command += L'"';
    command += shortPath;
    if (quote) command += L'"';
    command += L" alias gong";
    if (command.size() >= MCI_COMMAND_BUFFER) return std::wstring();
    return command;
}
