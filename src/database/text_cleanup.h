// Clean-up of typed text before it is stored: the data file's separators never reach a record.
#pragma once

#include <string>
#include <string_view>

namespace cel::database {

// Removes every "â", "ß" and "^" (the data file's separators and the line-break mark).
std::string CleanText(std::string_view text);
// As CleanText, and also removes "ê", the separator of the event sub-record.
std::string CleanEventName(std::string_view text);
// Cleans multi-line observations and stores each line break (CR LF, LF or CR) as "^~".
std::string EncodeObservations(std::string_view text);
// Turns each "^" back into a line break, dropping the character after it ("~").
std::string DecodeObservations(std::string_view stored, std::string_view lineBreak = "\n");

} // namespace cel::database
