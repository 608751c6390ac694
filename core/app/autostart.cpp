#include "core/app/autostart.h"

#include <cwctype>

std::wstring startUpCommand(std::wstring_view programPath) { return L"\"" + std::wstring(programPath) + L"\""; }

std::wstring programOfCommand(std::wstring_view command)
{
    while (!command.empty() && command.front() == L' ') command.remove_prefix(1);
    if (!command.empty() && command.front() == L'"') {
        command.remove_prefix(1);
        return std::wstring(command.substr(0, command.find(L'"')));
    }
    return std::wstring(command.substr(0, command.find(L' ')));
}

bool listingIsStale(std::wstring_view listedProgram, std::wstring_view self, bool listedProgramExists)
{
    bool same = listedProgram.size() == self.size();
    for (std::size_t i = 0; same && i < self.size(); ++i)
        same = std::towlower(listedProgram[i]) == std::towlower(self[i]);   // file names ignore case
    return !same && !listedProgramExists;
}
