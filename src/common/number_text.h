// Numbers as texts, for every module: reals in the general format of the stored files, reals with
// fixed decimals for tables and reports, both in the locale's decimal separator whatever the C locale
// says; and the strict readers, with the decimal-separator repair, for every file the program reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cel {

// Where the general format turns to the scientific form for large values. Stored files rely on both:
// the configuration file writes 1E14 from 15 integer digits up, the data files 1E15 from 16 up.
enum class ScientificForm { From1E14, From1E15 };

// General format with 15 significant digits rounded half away from zero, trailing zeros dropped;
// plain notation except below 0.00001 and from the large limit up ("1E-6", "1,5E-7", "1E15"; no "+",
// no leading zeros in the exponent); -0 is written "0"; non-finite values "NAN", "INF", "-INF".
void AppendReal(std::string &out, long double value, char decimalSeparator, ScientificForm form);
void AppendReal(std::string &out, double value, char decimalSeparator, ScientificForm form);
std::string FormatReal(long double value, char decimalSeparator, ScientificForm form);

// As printf's "%<width>.<decimals>f" writes it (the exact binary value rounded, ties to even, padded
// with blanks on the left to `width`), with the given decimal separator.
std::string FormatFixed(double value, int decimals, char decimalSeparator, int width = 0);
// As printf's "%.<digits>g" (or "%+.<digits>g" with `plus`), with the given decimal separator.
std::string FormatSignificant(double value, int digits, char decimalSeparator, bool plus = false);

// When the text holds no `decimalSeparator` but does hold the other one of "." and ",", the first
// of those is replaced by `decimalSeparator`; otherwise the text is returned unchanged.
std::string RepairDecimalSeparator(std::string_view text, char decimalSeparator);

// A finite real after the decimal-separator repair: optional sign, digits with one separator ("+3",
// ".5" and "5." are fine) and an optional exponent; nothing else (no blanks, words or hexadecimal).
bool ParseReal(std::string_view text, char decimalSeparator, long double &value);
bool ParseReal(std::string_view text, char decimalSeparator, double &value);
std::optional<long double> ParseReal(std::string_view text, char decimalSeparator);

// Optional sign and decimal digits within 32 bits; nothing else (no blanks, no hexadecimal).
bool ParseInt32(std::string_view text, std::int32_t &value);
// As ParseInt32, or "0x"/"0X" and 1..8 hexadecimal digits taken as a 32-bit pattern ("0xFFFFFFFF" is
// -1), as the configuration file holds integers.
std::optional<std::int32_t> ParseInt32OrHex(std::string_view text);

} // namespace cel
