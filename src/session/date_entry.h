// Date and time entry of the main window without the widgets: composing a date-time from the date
// field and the time fields (with the carries between them), the 12-hour reading of the hour field,
// and the stepping units with their jumps.
#pragma once

#include <cstdint>
#include <utility>

#include "common/date_time.h"

namespace cel::session {

// The stepping units of "cada:" in the order of the selector.
enum class StepUnit { Year = 1, Month, Day, Hour, Minute, Second, Millisecond };
inline constexpr int kStepUnitCount = 7;
// "año", "mes", "día", "hora", "min", "seg", "ms".
const char *StepUnitName(StepUnit unit);
// The largest step count of a unit: 10, 12, 31, 24, 60, 60, 50.
int MaxStepCount(StepUnit unit);

// The value stepped by n units: years and months keep the day (clamped to the month's length) and the
// time; the other units shift the instant.
TDateTime StepDateTime(TDateTime value, StepUnit unit, int n);

// The time fields as typed, any of them possibly out of range.
struct TimeFields {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};
// The fields carried into range: ms below 0 borrows a second, ..., hours below 0 borrow a day; values
// at or above their limit carry upwards. days is the whole number of days carried into the date.
struct CarriedTime {
    std::int64_t days = 0;
    TimeFields time;
    double Hours() const {
        return time.hour + time.minute / 60.0 + time.second / 3600.0 + time.millisecond / 3600000.0;
    }
};
CarriedTime CarryTimeFields(const TimeFields &fields);

// The day number of a value's date (its date at 0:00, counted from 1899-12-30) and its time fields.
std::int64_t DayNumberOf(TDateTime value);
TimeFields TimeFieldsOf(TDateTime value);
// The value s * (|d| + hours / 24) with s = +1 when d > 0, otherwise -1, and that sign.
TDateTime ComposeDateTime(std::int64_t dayNumber, double hours);
inline int SignOfDay(std::int64_t dayNumber) {
    return dayNumber > 0 ? 1 : -1;
}

// The hour field in 12-hour mode: 1..12 with am/pm (0 h is 12 am, 12 h is 12 pm).
std::pair<int, bool> HourTo12(int hour24); // {1..12, pm}
// The 24-hour value of a 12-hour field (1..12) with am/pm.
int HourFrom12(int hour12, bool pm);
// The 24-hour value after the 12-hour field moved from the hour oldHour24 to field (0..13 while the
// spin buttons step past the range): a change by one is a step from the old hour, so the time stays
// continuous (the result may be -1 or 24, which CarryTimeFields carries into the date); any other
// change is read as field with am/pm.
int HourAfterEdit(int oldHour24, int field, bool pm);

} // namespace cel::session
