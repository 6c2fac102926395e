// Columns of the text output: a text followed by spaces up to a width in characters (UTF-8: "°" is one
// character of two bytes).
#pragma once

#include <cstddef>
#include <string>

namespace cel::cli {

inline std::string Padded(std::string text, std::size_t width) {
    std::size_t chars = 0;
    for (unsigned char ch : text)
        chars += (ch & 0xC0) != 0x80;
    if (chars < width)
        text.append(width - chars, ' ');
    return text;
}

} // namespace cel::cli
