// Dates as people type or paste them: the usual Spanish forms (25/12/1990, 25-12-1990, 25 dic 1990,
// 25 de diciembre de 1990, 1990-12-25), any year from 1 to 9999, optionally in the Julian calendar.
// The result is always the proleptic Gregorian date that the date-time values hold.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cel {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDate &, const CalendarDate &) = default;
};

// The first day of the Gregorian reform: before it, historical records give Julian-calendar dates.
inline constexpr CalendarDate kGregorianReform{1582, 10, 15};

struct TypedDate {
    CalendarDate gregorian; // what is stored
    CalendarDate julian;    // the same day in the Julian calendar
    bool typedJulian = false;
    bool namedGregorian = false; // the text said "gregoriano"
};

struct TypedDateResult {
    std::optional<TypedDate> date;
    std::string error; // a Spanish sentence when date is empty
};

// Reads a typed date. Day, month and year are separated by "/", "-", ".", "," or blanks; the month may
// be a number or a Spanish month name or abbreviation ("dic", "diciembre", with "de" and weekday
// names ignored); a first number of three or four digits is the year (1990-12-25). A year of exactly
// two digits is read between 1930 and 2029; "0090" is the year 90. The marker "j" or "juliano" reads
// the date in the Julian calendar ("4/10/1582 j" is 14 October 1582). Impossible dates are refused.
TypedDateResult ParseTypedDate(std::string_view text);

bool IsJulianLeapYear(int year);
// Conversions between the two calendars through the day count from 1899-12-30.
std::int64_t DaysFromJulian(const CalendarDate &julian);
CalendarDate JulianFromDays(std::int64_t days);
CalendarDate JulianOf(const CalendarDate &gregorian);

bool IsBeforeReform(const CalendarDate &gregorian);

// "25 dic 1990" style text of a date ("1 ene 0001"), with Spanish month abbreviations.
std::string ShortDateText(const CalendarDate &date);
// Both readings of a day, "gregoriano 25 dic 1490 = juliano 16 dic 1490"; empty for a Gregorian
// date from the reform on that was not typed in the Julian calendar.
std::string CalendarReadingsText(const TypedDate &date);

} // namespace cel
