// The base letters of accented Latin letters, for searches that ignore accents.
#pragma once

namespace cel::zones {

extern const char *const kLatinBase1[0x24F - 0xC0 + 1]; // U+00C0 to U+024F
extern const char *const kLatinBase2[0x100];            // U+1E00 to U+1EFF

} // namespace cel::zones
