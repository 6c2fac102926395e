#include "common/date_text.h"

#include <cstdio>

namespace cel {

namespace {

bool StartsWith(std::string_view s, std::size_t at, std::string_view token) {
    return s.size() - at >= token.size() && s.compare(at, token.size(), token) == 0;
}

void Number(std::string &out, int value, int width) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", width, value);
    out += buf;
}

} // namespace

std::string FormatDateTimeText(TDateTime value, std::string_view pattern, const TextFormat &format) {
    const CivilDateTime dt = DecodeDateTime(value);
    const bool twelve = pattern.find("am/pm") != std::string_view::npos;
    int hour = dt.hour;
    if (twelve) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (StartsWith(pattern, i, "yyyy")) {
            Number(out, dt.year, 4);
            i += 4;
        } else if (StartsWith(pattern, i, "mmm")) {
            out += format.shortMonthNames[static_cast<std::size_t>(dt.month - 1)];
            i += 3;
        } else if (StartsWith(pattern, i, "mm")) {
            Number(out, dt.month, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "m")) {
            Number(out, dt.month, 1);
            i += 1;
        } else if (StartsWith(pattern, i, "dddd")) {
            // 1899-12-30 was a Saturday.
            const auto days = DaysFromCivil(dt.year, dt.month, dt.day);
            out += format.longDayNames[static_cast<std::size_t>(((days % 7) + 7 + 6) % 7)];
            i += 4;
        } else if (StartsWith(pattern, i, "dd")) {
            Number(out, dt.day, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "d")) {
            Number(out, dt.day, 1);
            i += 1;
        } else if (StartsWith(pattern, i, "hh")) {
            Number(out, hour, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "h")) {
            Number(out, hour, 1);
            i += 1;
        } else if (StartsWith(pattern, i, "nn")) {
            Number(out, dt.minute, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "ss")) {
            Number(out, dt.second, 2);
            i += 2;
        } else if (StartsWith(pattern, i, "am/pm")) {
            out += dt.hour < 12 ? "am" : "pm";
            i += 5;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

} // namespace cel
