#include "workspace/date_labels.h"

#include <cstdio>

#include "common/date_text.h"

namespace cel::workspace {

std::string DateTimeLabel(TDateTime value, std::string_view pattern, const TextFormat &format) {
    static const char *const kDays[] = {"domingo", "lunes",   "martes", "miércoles",
                                        "jueves",  "viernes", "sábado"};
    std::string out;
    const std::size_t at = pattern.find("dddd");
    if (at == std::string_view::npos)
        return FormatDateTimeText(value, pattern, format);
    const CivilDateTime dt = DecodeDateTime(value);
    // 1899-12-30 was a Saturday.
    const std::int64_t days = DaysFromCivil(dt.year, dt.month, dt.day);
    const int weekday = static_cast<int>(((days % 7) + 7 + 6) % 7);
    return FormatDateTimeText(value, pattern.substr(0, at), format) + kDays[weekday] +
           FormatDateTimeText(value, pattern.substr(at + 4), format);
}

std::string DecimalText(const char *pattern, double value, const TextFormat &format) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    for (char *c = buffer; *c != 0; ++c)
        if (*c == '.')
            *c = format.decimalSeparator;
    return buffer;
}

} // namespace cel::workspace
