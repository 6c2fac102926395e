// Dates and times of records as the lists, exports and summaries write them.
#pragma once

#include <string>
#include <string_view>

#include "common/date_time.h"
#include "common/text_format.h"

namespace cel {

// Formats a date-time with a pattern of "yyyy", "mmm", "mm", "m", "dddd" (the day's name), "dd", "d",
// "hh", "h", "nn", "ss" and "am/pm" (12-hour clock, "am" before noon, "pm" after); anything else is
// copied as it is.
std::string FormatDateTimeText(TDateTime value, std::string_view pattern, const TextFormat &format);

} // namespace cel
