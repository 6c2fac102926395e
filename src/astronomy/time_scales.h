// Julian Days of civil instants, local and Greenwich time, and Delta T.
#pragma once

#include <cstdint>

#include "astronomy/angles.h"
#include "astronomy/tables/delta_t_table.h"
#include "common/date_time.h"

namespace cel::astronomy {

// Meeus 7.1, always proleptic Gregorian; the day may run past the month's end.
Real JulianDay(std::uint16_t year, int month, Real day);
// Julian Day of the decoded calendar date and time of day (to the millisecond).
Real InstantToJulianDay(TDateTime instant);

TDateTime LocalToGmt(TDateTime local, Real zoneHours);
TDateTime GmtToLocal(TDateTime gmt, Real zoneHours);

// TT - UT in seconds for a Greenwich instant: 0 before 1800, the polynomials and the stored table up
// to 2012, then the measured yearly values interpolated at the fractional year, then the Espenak-Meeus
// extrapolations joined to the last measured value without a jump.
Real DeltaT(TDateTime gmt);

} // namespace cel::astronomy
