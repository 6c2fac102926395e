#include "session/date_entry.h"

#include <algorithm>
#include <cmath>

namespace cel::session {

const char *StepUnitName(StepUnit unit) {
    static const char *const names[] = {"", "año", "mes", "día", "hora", "min", "seg", "ms"};
    return names[static_cast<int>(unit)];
}

int MaxStepCount(StepUnit unit) {
    static const int counts[] = {0, 10, 12, 31, 24, 60, 60, 50};
    return counts[static_cast<int>(unit)];
}

TDateTime StepDateTime(TDateTime value, StepUnit unit, int n) {
    switch (unit) {
    case StepUnit::Year:
    case StepUnit::Month: {
        CivilDateTime dt = DecodeDateTime(value);
        long months = static_cast<long>(dt.year) * 12 + (dt.month - 1);
        months += unit == StepUnit::Year ? 12L * n : n;
        dt.year = static_cast<int>(std::floor(months / 12.0));
        dt.month = static_cast<int>(months - 12L * dt.year) + 1;
        dt.year = std::clamp(dt.year, 1, 9999);
        dt.day = std::min(dt.day, DaysInMonth(dt.year, dt.month));
        return EncodeDateTime(dt);
    }
    case StepUnit::Day:
        return ShiftDateTime(value, n);
    case StepUnit::Hour:
        return ShiftDateTime(value, n / 24.0L);
    case StepUnit::Minute:
        return ShiftDateTime(value, n / 1440.0L);
    case StepUnit::Second:
        return ShiftDateTime(value, n / 86400.0L);
    case StepUnit::Millisecond:
        return ShiftDateTime(value, n / 86400000.0L);
    }
    return value;
}

CarriedTime CarryTimeFields(const TimeFields &f) {
    constexpr std::int64_t kDay = 86'400'000;
    const std::int64_t total =
        ((static_cast<std::int64_t>(f.hour) * 60 + f.minute) * 60 + f.second) * 1000 + f.millisecond;
    CarriedTime c;
    c.days = total >= 0 ? total / kDay : -((-total + kDay - 1) / kDay);
    std::int64_t rest = total - c.days * kDay;
    c.time.millisecond = static_cast<int>(rest % 1000);
    rest /= 1000;
    c.time.second = static_cast<int>(rest % 60);
    rest /= 60;
    c.time.minute = static_cast<int>(rest % 60);
    c.time.hour = static_cast<int>(rest / 60);
    return c;
}

std::int64_t DayNumberOf(TDateTime value) {
    const CivilDateTime dt = DecodeDateTime(value);
    return DaysFromCivil(dt.year, dt.month, dt.day);
}

TimeFields TimeFieldsOf(TDateTime value) {
    const CivilDateTime dt = DecodeDateTime(value);
    return {dt.hour, dt.minute, dt.second, dt.millisecond};
}

TDateTime ComposeDateTime(std::int64_t dayNumber, double hours) {
    const double magnitude = std::fabs(static_cast<double>(dayNumber)) + hours / 24.0;
    return SignOfDay(dayNumber) * magnitude;
}

std::pair<int, bool> HourTo12(int hour24) {
    const bool pm = hour24 >= 12;
    const int h = hour24 % 12;
    return {h == 0 ? 12 : h, pm};
}

int HourFrom12(int hour12, bool pm) {
    const int h = std::clamp(hour12, 1, 12) % 12;
    return h + (pm ? 12 : 0);
}

int HourAfterEdit(int oldHour24, int field, bool pm) {
    const int oldField = HourTo12(oldHour24).first;
    if (field == oldField + 1 || field == oldField - 1)
        return oldHour24 + (field - oldField);
    return HourFrom12(field, pm);
}

} // namespace cel::session
