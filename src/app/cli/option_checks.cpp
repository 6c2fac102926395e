#include "option_checks.h"

#include <charconv>
#include <cmath>
#include <string>

namespace cel::cli {

std::string AsciiLower(std::string_view text) {
    std::string s(text);
    for (char &c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

CLI::Validator WholeIn(int min, int max) {
    const std::string range = std::to_string(min) + " to " + std::to_string(max);
    return CLI::Validator(
        [min, max, range](std::string &value) -> std::string {
            if (value.empty())
                return "an empty value: expected a whole number from " + range;
            double number = 0;
            const char *end = value.data() + value.size();
            const auto [ptr, ec] = std::from_chars(value.data(), end, number);
            if (ec != std::errc() || ptr != end || !std::isfinite(number))
                return "'" + value + "' is not a number: expected a whole number from " + range;
            if (number != std::floor(number))
                return "'" + value + "' is not a whole number: expected a whole number from " + range;
            if (number < min || number > max)
                return "'" + value + "' is out of range: expected a whole number from " + range;
            value = std::to_string(static_cast<int>(number));
            return {};
        },
        "INT in [" + std::to_string(min) + " - " + std::to_string(max) + "]");
}

} // namespace cel::cli
