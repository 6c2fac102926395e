#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace cel {

namespace {

constexpr int kDigits = 15;

// Splits a to_chars scientific text ("-1.2345e+06") into its digits and decimal exponent; fails on
// more than maxDigits digits or a missing exponent.
bool SplitScientific(const char *begin, const char *end, char *digits, int maxDigits, int &count,
                     int &exponent) {
    count = 0;
    const char *p = begin;
    for (; p < end && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') {
            if (count == maxDigits)
                return false;
            digits[count++] = *p;
        }
    if (p >= end)
        return false;
    ++p;
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    int e = 0;
    std::from_chars(p, end, e);
    exponent = negative ? -e : e;
    return true;
}

// The first significant digits of |value| in scientific form: digits and the decimal exponent.
template <class F> bool ScientificDigits(F value, int precision, char *digits, int &exponent) {
    char buf[160];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, precision - 1);
    if (res.ec != std::errc())
        return false;
    int n = 0;
    return SplitScientific(buf, res.ptr, digits, precision, n, exponent) && n == precision;
}

// 15 significant digits of |value| rounded half away from zero.
template <class F> void RoundedDigits(F value, char *digits, int &exponent) {
    ScientificDigits(value, kDigits, digits, exponent);
    // to_chars rounds an exact tie to even; a tie must go up instead. Only a value whose 16th digit
    // is 5 followed by zeros can be one.
    char longer[120];
    int longerExp = 0;
    if (!ScientificDigits(value, 20, longer, longerExp) || longer[kDigits] != '5')
        return;
    for (int k = kDigits + 1; k < 20; ++k)
        if (longer[k] != '0')
            return;
    if (longerExp != exponent || std::memcmp(longer, digits, kDigits) != 0)
        return; // already rounded up
    // to_chars kept the lower neighbour: the value is either an exact tie or just below it.
    char exact[120];
    int exactExp = 0;
    if (!ScientificDigits(value, 110, exact, exactExp) || exact[kDigits] != '5')
        return;
    for (int k = kDigits + 1; k < 110; ++k)
        if (exact[k] != '0')
            return;
    // An exact tie: round the magnitude up.
    int k = kDigits - 1;
    while (k >= 0 && digits[k] == '9')
        digits[k--] = '0';
    if (k >= 0) {
        ++digits[k];
    } else {
        digits[0] = '1';
        ++exponent;
    }
}

// The shortest digits that read back as the double d, when there are at most 15 of them: then they
// are also the 15-digit rounding of d (and of any extended value that rounds to d), since d lies
// within half a unit in the last place of them, far less than half a unit of the 15th digit.
bool ShortDigits(double d, char *digits, int &exponent, int &count) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::scientific);
    if (res.ec != std::errc())
        return false;
    return SplitScientific(buf, res.ptr, digits, kDigits + 2, count, exponent);
}

// 15 significant digits of a positive finite value, rounded half away from zero.
template <class F> void FifteenDigits(F value, char *digits, int &exponent) {
    char shortest[kDigits + 2];
    int count = 0;
    const double d = static_cast<double>(value);
    if (ShortDigits(d, shortest, exponent, count)) {
        if (count <= kDigits) {
            std::memcpy(digits, shortest, static_cast<std::size_t>(count));
            std::memset(digits + count, '0', static_cast<std::size_t>(kDigits - count));
            return;
        }
        // A double that is not an exact tie at the 15th digit rounds the same either way.
        const bool exactDouble = static_cast<F>(d) == value;
        if (exactDouble && !(count == kDigits + 1 && shortest[kDigits] == '5')) {
            ScientificDigits(d, kDigits, digits, exponent);
            return;
        }
    }
    RoundedDigits(value, digits, exponent);
}

template <class F> void AppendGeneral(std::string &out, F value, char sep, ScientificForm form) {
    if (std::isnan(value)) {
        out += "NAN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? "-INF" : "INF";
        return;
    }
    if (value == 0) {
        out += '0';
        return;
    }
    char digits[kDigits];
    int exponent = 0;
    FifteenDigits(value < 0 ? -value : value, digits, exponent);
    int n = kDigits;
    while (n > 1 && digits[n - 1] == '0')
        --n;
    if (value < 0)
        out += '-';
    const int largeFrom = form == ScientificForm::From1E14 ? kDigits - 1 : kDigits;
    if (exponent < -5 || exponent >= largeFrom) {
        out += digits[0];
        if (n > 1) {
            out += sep;
            out.append(digits + 1, static_cast<std::size_t>(n - 1));
        }
        out += 'E';
        out += std::to_string(exponent);
    } else if (exponent >= 0) {
        for (int k = 0; k <= exponent; ++k)
            out += k < n ? digits[k] : '0';
        if (n > exponent + 1) {
            out += sep;
            out.append(digits + exponent + 1, static_cast<std::size_t>(n - exponent - 1));
        }
    } else {
        out += '0';
        out += sep;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out.append(digits, static_cast<std::size_t>(n));
    }
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Checks the syntax of a real with '.' as separator and copies it without a leading '+'.
bool Normalise(std::string_view text, char sep, char *buf, std::size_t &len) {
    if (text.empty() || text.size() > 100)
        return false;
    const char other = sep == ',' ? '.' : ',';
    std::size_t repair = std::string_view::npos;
    if (text.find(sep) == std::string_view::npos)
        repair = text.find(other);
    std::size_t i = 0;
    len = 0;
    if (text[i] == '+' || text[i] == '-') {
        if (text[i] == '-')
            buf[len++] = '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            ++mantissaDigits;
            buf[len++] = c;
        } else if (!point && (c == sep || i == repair)) {
            point = true;
            buf[len++] = '.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        buf[len++] = 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            buf[len++] = text[i++];
        int expDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++expDigits)
            buf[len++] = text[i];
        if (expDigits == 0)
            return false;
    }
    return i == text.size();
}

template <class F> bool ParseGeneral(std::string_view text, char sep, F &value) {
    char buf[128];
    std::size_t len = 0;
    if (!Normalise(text, sep, buf, len))
        return false;
    F v{};
    const auto res = std::from_chars(buf, buf + len, v);
    if (res.ec != std::errc() || res.ptr != buf + len || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

// Replaces the point of a C-locale number text by the separator.
std::string WithSeparator(const char *begin, const char *end, char sep) {
    std::string text(begin, end);
    for (char &c : text)
        if (c == '.')
            c = sep;
    return text;
}

} // namespace

void AppendReal(std::string &out, long double value, char sep, ScientificForm form) {
    AppendGeneral(out, value, sep, form);
}

void AppendReal(std::string &out, double value, char sep, ScientificForm form) {
    AppendGeneral(out, value, sep, form);
}

std::string FormatReal(long double value, char sep, ScientificForm form) {
    std::string out;
    AppendGeneral(out, value, sep, form);
    return out;
}

std::string FormatFixed(double value, int decimals, char sep, int width) {
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text = res.ec == std::errc() ? WithSeparator(buf, res.ptr, sep) : std::string("0");
    if (static_cast<int>(text.size()) < width)
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    return text;
}

std::string FormatSignificant(double value, int digits, char sep, bool plus) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    std::string text = res.ec == std::errc() ? WithSeparator(buf, res.ptr, sep) : std::string("0");
    if (plus && !std::signbit(value))
        text.insert(0, 1, '+');
    return text;
}

std::string RepairDecimalSeparator(std::string_view text, char sep) {
    std::string result(text);
    if (result.find(sep) == std::string::npos) {
        const std::size_t other = result.find(sep == ',' ? '.' : ',');
        if (other != std::string::npos)
            result[other] = sep;
    }
    return result;
}

bool ParseInt32(std::string_view text, std::int32_t &value) {
    if (text.empty())
        return false;
    std::size_t start = 0;
    if (text[0] == '+') {
        start = 1;
        if (text.size() == 1 || text[1] == '-')
            return false;
    }
    std::int32_t v = 0;
    const char *first = text.data() + start;
    const char *last = text.data() + text.size();
    const auto res = std::from_chars(first, last, v);
    if (res.ec != std::errc() || res.ptr != last)
        return false;
    value = v;
    return true;
}

std::optional<std::int32_t> ParseInt32OrHex(std::string_view text) {
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
    std::int32_t value = 0;
    if (!ParseInt32(text, value))
        return std::nullopt;
    return value;
}

bool ParseReal(std::string_view text, char sep, long double &value) {
    return ParseGeneral(text, sep, value);
}

bool ParseReal(std::string_view text, char sep, double &value) {
    return ParseGeneral(text, sep, value);
}

std::optional<long double> ParseReal(std::string_view text, char sep) {
    long double value = 0;
    if (!ParseGeneral(text, sep, value))
        return std::nullopt;
    return value;
}

} // namespace cel
