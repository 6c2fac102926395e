#include "common/date_time.h"

#include <cmath>

namespace cel {

namespace {
constexpr std::int64_t kMsPerDay = 86'400'000;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30.
constexpr std::int64_t kEpochOffset = 693'899;
} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Civil-calendar conversions over eras of 400 years (exact for any year).
std::int64_t DaysFromCivil(int year, int month, int day) {
    std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t mp = (month + 9) % 12;
    const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - kEpochOffset;
}

void CivilFromDays(std::int64_t days, int &year, int &month, int &day) {
    const std::int64_t z = days + kEpochOffset;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

namespace {

// Date part and time of day in whole milliseconds, with the 24:00 carry.
void SplitValue(TDateTime value, std::int64_t &days, std::int64_t &ms) {
    if (!std::isfinite(value))
        value = 0;
    const double whole = std::trunc(value);
    days = static_cast<std::int64_t>(whole);
    ms = static_cast<std::int64_t>(std::llround(std::fabs(value - whole) * kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        days += 1;
    }
}

TDateTime Compose(std::int64_t days, std::int64_t ms) {
    const double time = static_cast<double>(ms) / kMsPerDay;
    return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

} // namespace

CivilDateTime DecodeDateTime(TDateTime value) {
    std::int64_t days = 0, ms = 0;
    SplitValue(value, days, ms);
    CivilDateTime dt;
    CivilFromDays(days, dt.year, dt.month, dt.day);
    dt.hour = static_cast<int>(ms / 3'600'000);
    dt.minute = static_cast<int>(ms / 60'000 % 60);
    dt.second = static_cast<int>(ms / 1000 % 60);
    dt.millisecond = static_cast<int>(ms % 1000);
    return dt;
}

TDateTime EncodeDateTime(const CivilDateTime &dt) {
    const std::int64_t ms =
        ((static_cast<std::int64_t>(dt.hour) * 60 + dt.minute) * 60 + dt.second) * 1000 + dt.millisecond;
    return Compose(DaysFromCivil(dt.year, dt.month, dt.day), ms);
}

TDateTime EncodeDate(int year, int month, int day) {
    return static_cast<double>(DaysFromCivil(year, month, day));
}

long double ContinuousDays(TDateTime value) {
    std::int64_t d = 0, ms = 0;
    SplitValue(value, d, ms);
    return static_cast<long double>(d) + static_cast<long double>(ms) / kMsPerDay;
}

TDateTime ShiftDateTime(TDateTime value, long double days) {
    const long double plain = static_cast<long double>(value) + days;
    if (value >= 0 && plain >= 0)
        return static_cast<double>(plain);
    const long double continuous = ContinuousDays(value) + days;
    const long double floorDays = std::floor(continuous);
    std::int64_t newDays = static_cast<std::int64_t>(floorDays);
    std::int64_t newMs = std::llround(static_cast<double>((continuous - floorDays) * kMsPerDay));
    if (newMs >= kMsPerDay) {
        newMs -= kMsPerDay;
        newDays += 1;
    }
    return Compose(newDays, newMs);
}

} // namespace cel
