#include "settings/real_text.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace cel::settings {

namespace {

constexpr int kSignificantDigits = 15;

char OtherSeparator(char decimalSeparator) {
    return decimalSeparator == ',' ? '.' : ',';
}

} // namespace

std::string FormatReal(long double value, char decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    // Many more digits than kept, so that the digit after the last kept one decides the rounding
    // (ties away from zero: a 5 there always rounds up in magnitude).
    char buf[128];
    std::snprintf(buf, sizeof buf, "%.60Le", std::fabs(value));
    char all[64] = {};
    int count = 0;
    int exponent = 0;
    for (const char *p = buf; *p; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (count < 63)
                all[count++] = *p;
        } else if (*p == 'e') {
            exponent = std::atoi(p + 1);
            break;
        }
    }
    char kept[kSignificantDigits + 1] = {};
    std::memcpy(kept, all, kSignificantDigits);
    if (all[kSignificantDigits] >= '5') {
        int i = kSignificantDigits - 1;
        for (; i >= 0 && kept[i] == '9'; --i)
            kept[i] = '0';
        if (i >= 0) {
            ++kept[i];
        } else {
            kept[0] = '1'; // 999..9 rounded up: 100..0 with the exponent one higher
            ++exponent;
        }
    }
    int used = kSignificantDigits;
    while (used > 1 && kept[used - 1] == '0')
        --used;
    const std::string digits(kept, static_cast<std::size_t>(used));

    std::string text = value < 0 ? "-" : "";
    if (exponent < -5 || exponent >= kSignificantDigits - 1) {
        text += digits[0];
        if (digits.size() > 1) {
            text += decimalSeparator;
            text.append(digits, 1);
        }
        text += 'E';
        text += std::to_string(exponent);
    } else if (exponent < 0) {
        text += '0';
        text += decimalSeparator;
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += digits;
    } else {
        const std::size_t integerDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integerDigits) {
            text += digits;
            text.append(integerDigits - digits.size(), '0');
        } else {
            text.append(digits, 0, integerDigits);
            text += decimalSeparator;
            text.append(digits, integerDigits);
        }
    }
    return text;
}

std::string RepairDecimalSeparator(std::string_view text, char decimalSeparator) {
    std::string result(text);
    if (result.find(decimalSeparator) == std::string::npos) {
        const std::size_t other = result.find(OtherSeparator(decimalSeparator));
        if (other != std::string::npos)
            result[other] = decimalSeparator;
    }
    return result;
}

std::optional<long double> ParseReal(std::string_view text, char decimalSeparator) {
    std::string s = RepairDecimalSeparator(text, decimalSeparator);
    // from_chars wants "." and no leading "+".
    if (decimalSeparator != '.') {
        if (s.find('.') != std::string::npos)
            return std::nullopt;
        if (const std::size_t pos = s.find(decimalSeparator); pos != std::string::npos)
            s[pos] = '.';
    }
    // An optional sign, then a digit or the separator: no blanks, words ("inf", "nan") or second sign.
    std::string_view body = s;
    const bool plus = !body.empty() && body.front() == '+';
    const std::size_t first = !body.empty() && (body.front() == '+' || body.front() == '-') ? 1 : 0;
    if (first >= body.size() ||
        !(std::isdigit(static_cast<unsigned char>(body[first])) || body[first] == '.'))
        return std::nullopt;
    if (plus)
        body.remove_prefix(1);
    long double value = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
    if (ec != std::errc() || end != body.data() + body.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int32_t> ParseInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const std::string_view hex = text.substr(2);
        if (hex.size() > 8)
            return std::nullopt;
        std::uint32_t bits = 0;
        const auto [end, ec] = std::from_chars(hex.data(), hex.data() + hex.size(), bits, 16);
        if (ec != std::errc() || end != hex.data() + hex.size())
            return std::nullopt;
        return static_cast<std::int32_t>(bits);
    }
    std::string_view body = text;
    const bool plus = !body.empty() && body.front() == '+';
    const std::size_t first = !body.empty() && (body.front() == '+' || body.front() == '-') ? 1 : 0;
    if (first >= body.size() || !std::isdigit(static_cast<unsigned char>(body[first])))
        return std::nullopt;
    if (plus)
        body.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value, 10);
    if (ec != std::errc() || end != body.data() + body.size())
        return std::nullopt;
    return value;
}

} // namespace cel::settings
