// Angles, hours and ages as the fixed texts of the tables, panels and printouts.
#pragma once

#include <string>

#include "astronomy/angles.h"
#include "common/date_time.h"
#include "common/text_format.h"

namespace cel::astronomy {

struct SplitAngleResult {
    int degrees = 0;
    int minutes = 0;
    Real seconds = 0;
};

// Whole degrees, whole minutes and seconds of x >= 0, with the 60-second and wrap carries.
SplitAngleResult SplitAngle(int wrap, Real x);

// How an angle is written: "dd° mm' ss\"", "dd° mm'" (seconds rounded into the minutes) or
// "hhh mm' ss\"".
enum class AngleLayout { DegreesMinutesSeconds = 0, DegreesMinutes = 1, HoursMinutesSeconds = 5 };
// How the sign of the angle shows: not at all, " W"/" E", " N"/" S", or "+ "/"- " in front.
enum class AngleSuffix { None = 0, WestEast = 1, NorthSouth = 2, PlusMinus = 3 };

// Text of |x| wrapped at `wrap`, with n decimals of the seconds; what is dropped is rounded, carrying
// into the minutes and degrees.
std::string FormatAngle(int wrap, int decimals, AngleSuffix suffix, AngleLayout layout, Real x,
                        const TextFormat &format = {});

// Text of a position within its sign (0 <= x < 30), shown beside the sign's glyph or name: what is
// dropped is truncated, never rounded up, so 29° 59' 46" reads 29° 59' and never 00° 00' of the
// sign it has not reached.
std::string FormatSignPosition(int decimals, AngleLayout layout, Real x, const TextFormat &format = {});

Real DmsToDegrees(Real seconds, Real minutes, Real degrees);

struct DateDifference {
    int years = 0;
    int months = 0;
    int days = 0;
};

// Whole years, months and days between two dates (time of day ignored, order irrelevant).
DateDifference DateDiff(TDateTime a, TDateTime b);
// "Y años M meses D días" from a to b, singular for one, with a leading "-" when b is before a.
std::string FormatAge(TDateTime a, TDateTime b);

} // namespace cel::astronomy
