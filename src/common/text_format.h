// Locale choices for every text the program writes: one object, passed in, so tests can pin it.
#pragma once

namespace cel {

struct TextFormat {
    // Decimal separator of the user's locale, used when numbers are written to texts and files.
    char decimalSeparator = ',';
};

} // namespace cel
