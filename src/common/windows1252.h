// Windows-1252 at the file boundary: the data, place and CSV files are single-byte Windows-1252
// while the program holds UTF-8. Every byte round-trips (the five unassigned bytes map to the
// control characters of the same number).
#pragma once

#include <string>
#include <string_view>

namespace cel {

// Appends the UTF-8 form of Windows-1252 bytes.
void AppendWindows1252AsUtf8(std::string &out, std::string_view bytes);
std::string Windows1252ToUtf8(std::string_view bytes);

// Appends the Windows-1252 form of UTF-8 text; a character the code page cannot hold (or an invalid
// UTF-8 byte) becomes '?'. Returns false when that happened.
bool AppendUtf8AsWindows1252(std::string &out, std::string_view utf8);
std::string Utf8ToWindows1252(std::string_view utf8);

// The next character of UTF-8 text starting at i (advanced past it); an invalid byte is returned as
// 0xFFFD plus the byte value's offset so that it never compares equal to a real character.
char32_t NextUtf8Char(std::string_view utf8, std::size_t &i);

// The Windows-1252 byte of a character, or -1 when the code page has none.
int Windows1252Byte(char32_t c);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The UTF-8 text of one character.
std::string Utf8Char(char32_t c);

} // namespace cel
