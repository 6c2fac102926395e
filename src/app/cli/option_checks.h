// Checks of option values shared by the commands, with messages that name the value and the range.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>

namespace cel::cli {

// A whole number from min to max. Accepts the number written as a decimal or in scientific form when
// it is whole ("1e3" is 1000) and passes it on as plain digits; refuses an empty value, a fraction and
// a value outside the range, saying which.
CLI::Validator WholeIn(int min, int max);

// The text with its ASCII letters lower-cased (other bytes as they are), as option words are compared.
std::string AsciiLower(std::string_view text);

} // namespace cel::cli
