// The computer's clock as a civil date-time, for the "now" of entries, jumps and file names.
#pragma once

#include "common/date_time.h"

namespace cel {

// The date and time now in the computer's local time, to the millisecond.
CivilDateTime LocalNow();
// The date and time now in universal time, to the millisecond; what it is in a place is the place's
// zone's business.
TDateTime UniversalNow();

} // namespace cel
