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

enum AngleLayout : int { DegreesMinutesSeconds = 0, DegreesMinutes = 1, HoursMinutesSeconds = 5 };
enum AngleSuffix : int { NoSuffix = 0, WestEast = 1, NorthSouth = 2, PlusMinus = 3 };

// Text of x: wrap w, n decimals of the seconds, suffix kind k, layout m (see AngleLayout).
std::string FormatAngle(int wrap, int decimals, int suffixKind, int layout, Real x,
                        const TextFormat &format = {});

Real DmsToDegrees(Real seconds, Real minutes, Real degrees);

struct DateDifference {
    int years = 0;
    int months = 0;
    int days = 0;
};

// Whole years, months and days between two dates (time of day ignored, order irrelevant).
DateDifference DateDiff(TDateTime a, TDateTime b);
// "Y años M meses D días".
std::string FormatAge(TDateTime a, TDateTime b);

} // namespace cel::astronomy
