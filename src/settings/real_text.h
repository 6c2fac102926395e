// Number texts of the configuration file: reals in general format with 15 significant digits in the
// locale's decimal separator, read back under either separator; integers in decimal or "0x" hex.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cel::settings {

// General format with 15 significant digits, ties away from zero, trailing zeros dropped: fixed
// notation for ordinary magnitudes ("0.5", "29145.5208333333"), scientific below 0.00001 and from
// 15 integer digits up ("9.99999997475243E-7", "1E15"; no "+", no leading zeros in the exponent).
// -0 is written "0"; non-finite values "NAN", "INF", "-INF".
std::string FormatReal(long double value, char decimalSeparator);

// When the text holds no `decimalSeparator` but does hold the other one of "." and ",", the first
// of those is replaced by `decimalSeparator`; otherwise the text is returned unchanged.
std::string RepairDecimalSeparator(std::string_view text, char decimalSeparator);

// A finite real written under either separator (after repair): optional sign, digits with an
// optional fraction (".5" and "5." too) and an optional exponent. Nothing else may surround it.
std::optional<long double> ParseReal(std::string_view text, char decimalSeparator);

// An optional sign and decimal digits within 32 bits, or "0x"/"0X" and 1..8 hexadecimal digits taken
// as a 32-bit pattern ("0xFFFFFFFF" is -1). Anything else has no value.
std::optional<std::int32_t> ParseInteger(std::string_view text);

} // namespace cel::settings
