// Numbers in the program's text files: reals in general format with 15 significant digits and the
// locale's decimal separator, and the strict readers with the decimal-separator repair.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cel::database {

// General format, 15 significant digits rounded half away from zero, trailing zeros dropped; plain
// notation except below 0.00001 and from 1E15 up ("1E-6", "1,5E-7", "1E15"); -0 is written "0".
void AppendReal(std::string &out, long double value, char decimalSeparator);
void AppendReal(std::string &out, double value, char decimalSeparator);
std::string FormatReal(long double value, char decimalSeparator);

// Optional sign and decimal digits within 32 bits; nothing else (no blanks, no hexadecimal).
bool ParseInt32(std::string_view text, std::int32_t &value);

// A real after the decimal-separator repair: when the text holds no decimalSeparator but holds the
// other one of "." and ",", the first of those is taken as the separator. Optional sign, digits with
// one separator ("+3", ".5" and "5." are fine) and an optional exponent; nothing else.
bool ParseReal(std::string_view text, char decimalSeparator, long double &value);
bool ParseReal(std::string_view text, char decimalSeparator, double &value);

} // namespace cel::database
