#pragma once
// UTF-8 to UTF-16, as the program reads it: the settings and language files that Notepad saved with a
// byte-order mark, and text files where the user wants UTF-8 read.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Strict: none when the bytes hold anything but whole, shortest, valid sequences (no surrogates,
// nothing above U+10FFFF). Otherwise each byte that starts no valid sequence gives U+FFFD.
std::optional<std::wstring> utf8ToWide(std::string_view bytes, bool strict);

// How many of `n` bytes end on a whole sequence: an unfinished sequence at the end waits for the
// bytes that follow it (all of them count at the end of the text).
std::size_t wholeUtf8Length(const char* bytes, std::size_t n, bool atEnd);
