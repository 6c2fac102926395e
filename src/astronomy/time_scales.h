// Julian Days of civil instants, local and Greenwich time, and Delta T.
#pragma once

#include <cstdint>

#include "astronomy/angles.h"
#include "common/date_time.h"

namespace cel::astronomy {

// Meeus 7.1, always proleptic Gregorian; the day may run past the month's end.
Real JulianDay(std::uint16_t year, int month, Real day);
// Julian Day of the decoded calendar date and time of day (to the millisecond).
Real InstantToJulianDay(TDateTime instant);

TDateTime LocalToGmt(TDateTime local, Real zoneHours);
TDateTime GmtToLocal(TDateTime gmt, Real zoneHours);

// TT - UT in seconds for a Greenwich instant (0 outside 1800..2012).
Real DeltaT(TDateTime gmt);

// The stored Delta T table: 348 monthly values 1972-2000, 12 quarterly 2001-2003, 9 yearly 2004-2012.
inline constexpr int kDeltaTCount = 348 + 12 + 9;
extern const double ConstDeltaT[kDeltaTCount];

} // namespace cel::astronomy
