// Locale choices for every text the program writes: one object, passed in, so tests can pin it.
#pragma once

#include <array>

namespace cel {

struct TextFormat {
    // Decimal separator of the user's locale, used when numbers are written to texts and files.
    char decimalSeparator = ',';
    // Short month names for dates written with "mmm" (the interface's Spanish ones by default).
    std::array<const char *, 12> shortMonthNames = {"ene", "feb", "mar", "abr", "may", "jun",
                                                    "jul", "ago", "sep", "oct", "nov", "dic"};
    // Day names for dates written with "dddd", Sunday first.
    std::array<const char *, 7> longDayNames = {"domingo", "lunes",   "martes", "miércoles",
                                                "jueves",  "viernes", "sábado"};
};

} // namespace cel
