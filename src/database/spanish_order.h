// The order in which lists are shown to the user: Spanish alphabetical order, as a reader expects it
// ("Córdoba" before "Cusco", "Ñandú" after "Nuevo"). The data file keeps its own stored order.
#pragma once

#include <string>
#include <string_view>

namespace cel::database {

// Bytes that compare (as unsigned bytes) in Spanish order: letters first by their base letter (ñ its own
// letter after n), then by accent, then lower case before upper; spaces and punctuation before digits,
// digits before letters, other scripts after the Latin letters by code point.
std::string SpanishSortKey(std::string_view utf8);
int CompareSpanish(std::string_view a, std::string_view b);
inline bool SpanishLess(std::string_view a, std::string_view b) {
    return CompareSpanish(a, b) < 0;
}

} // namespace cel::database
