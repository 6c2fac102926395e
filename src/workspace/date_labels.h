// Texts of the main window's date and information labels.
#pragma once

#include <string>
#include <string_view>

#include "common/date_time.h"
#include "common/text_format.h"

namespace cel::workspace {

// A date-time with the data file's patterns plus "dddd", the Spanish name of the weekday.
std::string DateTimeLabel(TDateTime value, std::string_view pattern, const TextFormat &format);

} // namespace cel::workspace
