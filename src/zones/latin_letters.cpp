// clang-format off
// The base letters of the accented Latin letters, generated once from Unicode's canonical
// decompositions (plus the letters that have none: ß, æ, œ, ø, đ, ł, þ, ð, ...); nullptr keeps a
// character as it is.
#include "zones/latin_letters.h"

namespace cel::zones {

// U+00C0 to U+024F.
const char *const kLatinBase1[0x24F - 0xC0 + 1] = {
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e",
    "i", "i", "i", "i", "d", "n", "o", "o", "o", "o", "o", nullptr,
    "o", "u", "u", "u", "u", "y", "th", "ss", "a", "a", "a", "a",
    "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
    "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u",
    "u", "y", "th", "y", "a", "a", "a", "a", "a", "a", "c", "c",
    "c", "c", "c", "c", "c", "c", "d", "d", "d", "d", "e", "e",
    "e", "e", "e", "e", "e", "e", "e", "e", "g", "g", "g", "g",
    "g", "g", "g", "g", "h", "h", "h", "h", "i", "i", "i", "i",
    "i", "i", "i", "i", "i", "i", nullptr, nullptr, "j", "j", "k", "k",
    "k", "l", "l", "l", "l", "l", "l", "l", "l", "l", "l", "n",
    "n", "n", "n", "n", "n", nullptr, "n", "n", "o", "o", "o", "o",
    "o", "o", "oe", "oe", "r", "r", "r", "r", "r", "r", "s", "s",
    "s", "s", "s", "s", "s", "s", "t", "t", "t", "t", "t", "t",
    "u", "u", "u", "u", "u", "u", "u", "u", "u", "u", "u", "u",
    "w", "w", "y", "y", "y", "z", "z", "z", "z", "z", "z", "s",
    "b", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "f", nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "o", "o", nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "u",
    "u", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, "a", "a", "i", "i", "o", "o", "u",
    "u", "u", "u", "u", "u", "u", "u", "u", "u", nullptr, "a", "a",
    "a", "a", nullptr, nullptr, nullptr, nullptr, "g", "g", "k", "k", "o", "o",
    "o", "o", nullptr, nullptr, "j", nullptr, nullptr, nullptr, "g", "g", nullptr, nullptr,
    "n", "n", "a", "a", nullptr, nullptr, nullptr, nullptr, "a", "a", "a", "a",
    "e", "e", "e", "e", "i", "i", "i", "i", "o", "o", "o", "o",
    "r", "r", "r", "r", "u", "u", "u", "u", "s", "s", "t", "t",
    nullptr, nullptr, "h", "h", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "a", "a",
    "e", "e", "o", "o", "o", "o", "o", "o", "o", "o", "y", "y",
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr,
};

// U+1E00 to U+1EFF.
const char *const kLatinBase2[0x100] = {
    "a", "a", "b", "b", "b", "b", "b", "b", "c", "c", "d", "d",
    "d", "d", "d", "d", "d", "d", "d", "d", "e", "e", "e", "e",
    "e", "e", "e", "e", "e", "e", "f", "f", "g", "g", "h", "h",
    "h", "h", "h", "h", "h", "h", "h", "h", "i", "i", "i", "i",
    "k", "k", "k", "k", "k", "k", "l", "l", "l", "l", "l", "l",
    "l", "l", "m", "m", "m", "m", "m", "m", "n", "n", "n", "n",
    "n", "n", "n", "n", "o", "o", "o", "o", "o", "o", "o", "o",
    "p", "p", "p", "p", "r", "r", "r", "r", "r", "r", "r", "r",
    "s", "s", "s", "s", "s", "s", "s", "s", "s", "s", "t", "t",
    "t", "t", "t", "t", "t", "t", "u", "u", "u", "u", "u", "u",
    "u", "u", "u", "u", "v", "v", "v", "v", "w", "w", "w", "w",
    "w", "w", "w", "w", "w", "w", "x", "x", "x", "x", "y", "y",
    "z", "z", "z", "z", "z", "z", "h", "t", "w", "y", nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, "a", "a", "a", "a", "a", "a", "a", "a",
    "a", "a", "a", "a", "a", "a", "a", "a", "a", "a", "a", "a",
    "a", "a", "a", "a", "e", "e", "e", "e", "e", "e", "e", "e",
    "e", "e", "e", "e", "e", "e", "e", "e", "i", "i", "i", "i",
    "o", "o", "o", "o", "o", "o", "o", "o", "o", "o", "o", "o",
    "o", "o", "o", "o", "o", "o", "o", "o", "o", "o", "o", "o",
    "u", "u", "u", "u", "u", "u", "u", "u", "u", "u", "u", "u",
    "u", "u", "y", "y", "y", "y", "y", "y", "y", "y", nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr,
};

} // namespace cel::zones
