// Names as the atlas compares them: without accents or case, so "bogota" finds "Bogotá".
#pragma once

#include <string>
#include <string_view>

namespace cel::zones {

// The UTF-8 text lower-cased with the accents of Latin letters removed ("Ñ" → "n", "ß" → "ss"),
// hyphens as blanks, apostrophes dropped and runs of blanks as one; other characters kept as they are.
std::string FoldForSearch(std::string_view text);

} // namespace cel::zones
