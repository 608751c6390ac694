#pragma once
// The command strings the gong sends to the Media Control Interface, under the alias "gong".
#include <string>
#include <string_view>

// Commands are held in buffers of 260 characters, terminator included.
inline constexpr std::size_t MCI_COMMAND_BUFFER = 260;

// "open <path> alias gong". The path is the short form of the sound file's path; where that still
// holds a space (no 8.3 names on the volume) it is quoted, which MCI needs to see one path. Empty
// when the command would not fit its buffer: cut short it could open the wrong file, or open one
// without the alias, which could then never be closed.
std::wstring gongOpenCommand(std::wstring_view shortPath);
inline constexpr const wchar_t* GONG_PLAY_COMMAND = L"play gong from 0";
inline constexpr const wchar_t* GONG_CLOSE_COMMAND = L"close gong";
