// The shared civil date-time value: a double counting days from 1899-12-30 00:00 whose fraction is
// the time of day, taken positive also before that date (-1.25 is 1899-12-29 06:00).
#pragma once

#include <cstdint>

namespace cel {

using TDateTime = double;

struct CivilDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Whole days from 1899-12-30 to the proleptic Gregorian date (negative before it).
std::int64_t DaysFromCivil(int year, int month, int day);
void CivilFromDays(std::int64_t days, int &year, int &month, int &day);

// Splits a value into date and time of day, the time rounded to the nearest millisecond;
// a time that rounds to 24:00 carries into the next day.
CivilDateTime DecodeDateTime(TDateTime value);
// Composes date and time (fields must be in range) into a value.
TDateTime EncodeDateTime(const CivilDateTime &dt);
TDateTime EncodeDate(int year, int month, int day);

// The value as days on the continuous civil time line (whole days from 1899-12-30 plus the time of
// day), which, unlike the value itself, can be added to across 1899-12-30.
long double ContinuousDays(TDateTime value);

// Adds days on the continuous civil time line: plain addition while value and result are both
// non-negative, otherwise decode, shift and encode again.
TDateTime ShiftDateTime(TDateTime value, long double days);

} // namespace cel
