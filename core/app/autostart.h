#pragma once
// Start With Windows: the program in the current user's start-up list, under its own name, as its
// full path in quotes.
#include <string>
#include <string_view>

// The command the list keeps for the program at `programPath`.
std::wstring startUpCommand(std::wstring_view programPath);
// The program a listed command starts: the quoted path, or the command up to its first space.
std::wstring programOfCommand(std::wstring_view command);
// A listing of the program that must be rewritten: it names another path, where no program is any
// more (its folder was moved). Another copy still in its place keeps its listing.
bool listingIsStale(std::wstring_view listedProgram, std::wstring_view self, bool listedProgramExists);
