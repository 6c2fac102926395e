#include "astronomy/angle_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <tuple>

namespace cel::astronomy {

SplitAngleResult SplitAngle(int wrap, Real x) {
    SplitAngleResult r;
    const Real whole = std::trunc(x);
    r.degrees = static_cast<int>(whole);
    r.minutes = static_cast<int>(std::trunc((x - whole) * 60));
    r.seconds = ((x - whole) * 60 - r.minutes) * 60;
    if (r.seconds == 60) {
        r.seconds = 0;
        r.minutes += 1;
    }
    if (r.minutes == 60) {
        r.minutes = 0;
        r.degrees += 1;
    }
    if (r.degrees == wrap)
        r.degrees = 0;
    return r;
}

namespace {

void CarryMinute(SplitAngleResult &r, int wrap) {
    r.minutes += 1;
    if (r.minutes == 60) {
        r.minutes = 0;
        r.degrees += 1;
    }
    if (r.degrees == wrap)
        r.degrees = 0;
}

std::string TwoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.2d", value);
    return buffer;
}

// Fixed-point text with a point, independent of the C locale.
std::string FixedText(Real value, int decimals) {
    char buffer[96];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

// Seconds as two whole digits, then the separator and n decimals when n > 0.
std::string SecondsText(Real seconds, int decimals, char separator) {
    std::string text = FixedText(seconds, decimals);
    const std::size_t point = text.find('.');
    const std::size_t wholeDigits = point == std::string::npos ? text.size() : point;
    if (point != std::string::npos)
        text[point] = separator;
    return wholeDigits < 2 ? std::string(2 - wholeDigits, '0') + text : text;
}

} // namespace

std::string FormatAngle(int wrap, int decimals, AngleSuffix suffix, AngleLayout layout, Real x,
                        const TextFormat &format) {
    if (decimals < 0)
        decimals = 0;
    SplitAngleResult r = SplitAngle(wrap, std::fabs(x));
    std::string text;
    if (layout == AngleLayout::DegreesMinutes) {
        if (std::trunc(r.seconds) > 29)
            CarryMinute(r, wrap);
        text = TwoDigits(r.degrees) + "° " + TwoDigits(r.minutes) + "'";
    } else {
        // Seconds that round up to 60 show as 0 and carry into the minutes.
        if (FixedText(r.seconds, decimals).starts_with("60")) {
            r.seconds = 0;
            CarryMinute(r, wrap);
        }
        const char *unit = layout == AngleLayout::HoursMinutesSeconds ? "h " : "° ";
        text = TwoDigits(r.degrees) + unit + TwoDigits(r.minutes) + "' " +
               SecondsText(r.seconds, decimals, format.decimalSeparator) + "\"";
    }
    switch (suffix) {
    case AngleSuffix::WestEast:
        return text + (x > 0 ? " W" : " E");
    case AngleSuffix::NorthSouth:
        return text + (x > 0 ? " N" : " S");
    case AngleSuffix::PlusMinus:
        return (x > 0 ? "+ " : "- ") + text;
    case AngleSuffix::None:
        break;
    }
    return text;
}

std::string FormatSignPosition(int decimals, AngleLayout layout, Real x, const TextFormat &format) {
    decimals = std::clamp(decimals, 0, 6);
    x = std::fabs(x);
    if (x >= 30)
        x = std::fmod(x, 30);
    // Counted in the last unit shown; the small allowance keeps 15° 30' 30" from reading 29" when the
    // binary value falls a hair short of it.
    std::int64_t perDegree = 60;
    std::int64_t perSecond = 1;
    if (layout != AngleLayout::DegreesMinutes) {
        for (int i = 0; i < decimals; ++i)
            perSecond *= 10;
        perDegree = 3600 * perSecond;
    }
    const auto units =
        std::min(static_cast<std::int64_t>(std::floor(x * perDegree + 1e-6L)), 30 * perDegree - 1);
    const int degrees = static_cast<int>(units / perDegree);
    if (layout == AngleLayout::DegreesMinutes)
        return TwoDigits(degrees) + "° " + TwoDigits(static_cast<int>(units % 60)) + "'";
    const std::int64_t inDegree = units % perDegree;
    const int minutes = static_cast<int>(inDegree / (60 * perSecond));
    const std::int64_t seconds = inDegree % (60 * perSecond);
    std::string secondsText = TwoDigits(static_cast<int>(seconds / perSecond));
    if (decimals > 0) {
        std::string fraction = std::to_string(seconds % perSecond);
        secondsText += format.decimalSeparator + std::string(decimals - fraction.size(), '0') + fraction;
    }
    const char *unit = layout == AngleLayout::HoursMinutesSeconds ? "h " : "° ";
    return TwoDigits(degrees) + unit + TwoDigits(minutes) + "' " + secondsText + "\"";
}

Real DmsToDegrees(Real seconds, Real minutes, Real degrees) {
    return degrees + minutes / 60 + seconds / 3600;
}

DateDifference DateDiff(TDateTime a, TDateTime b) {
    CivilDateTime earlier = DecodeDateTime(a);
    CivilDateTime later = DecodeDateTime(b);
    auto key = [](const CivilDateTime &d) {
        return (static_cast<long long>(d.year) * 13 + d.month) * 32 + d.day;
    };
    if (key(later) < key(earlier))
        std::swap(earlier, later);
    DateDifference r;
    r.years = later.year - earlier.year;
    if (later.month < earlier.month) {
        r.months = 12;
        r.years -= 1;
    }
    r.months += later.month - earlier.month;
    if (later.day < earlier.day) {
        r.days = DaysInMonth(earlier.year, earlier.month);
        if (r.months != 0) {
            r.months -= 1;
        } else {
            r.years -= 1;
            r.months = 11;
        }
    }
    r.days += later.day - earlier.day;
    return r;
}

std::string FormatAge(TDateTime a, TDateTime b) {
    const DateDifference d = DateDiff(a, b);
    const CivilDateTime from = DecodeDateTime(a);
    const CivilDateTime to = DecodeDateTime(b);
    const bool before = std::tie(to.year, to.month, to.day) < std::tie(from.year, from.month, from.day);
    const bool sign = before && (d.years != 0 || d.months != 0 || d.days != 0);
    char text[96];
    std::snprintf(text, sizeof text, "%s%d %s %d %s %d %s", sign ? "-" : "", d.years,
                  d.years == 1 ? "año" : "años", d.months, d.months == 1 ? "mes" : "meses", d.days,
                  d.days == 1 ? "día" : "días");
    return text;
}

} // namespace cel::astronomy
