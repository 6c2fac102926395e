#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/number_text.h"

// Number texts as the configuration file holds them: the scientific form from 1E14.
using namespace cel;

namespace {
std::string FormatReal(long double value, char separator) {
    return cel::FormatReal(value, separator, ScientificForm::From1E14);
}
} // namespace

TEST(RealText, FormatsFifteenSignificantDigits) {
    struct Case {
        long double value;
        const char *point;
    };
    const Case cases[] = {
        {0.5L, "0.5"},
        {0.98555553f, "0.985555529594421"}, // the single-precision preset
        {0.000001f, "9.99999997475243E-7"}, // a zero preset as stored
        {4.6, "4.6"},
        {29145.520833333332, "29145.5208333333"},
        {-5, "-5"},
        {100, "100"},
        {7, "7"},
        {-0.0L, "0"},
        {0.0L, "0"},
        {0.29f, "0.28999999165535"},
        {0.00001L, "0.00001"},
        {0.0001L, "0.0001"},
        {0.000009L, "9E-6"},
        {1e-6L, "1E-6"},
        {1.5e-7L, "1.5E-7"},
        {-2.5e-10L, "-2.5E-10"},
        {12345678901234.0L, "12345678901234"},
        {123456789012345.0L, "1.23456789012345E14"},
        {1e15L, "1E15"},
        {1234567890123.125L, "1234567890123.13"}, // a tie rounds away from zero
        {-1234567890123.125L, "-1234567890123.13"},
        {0.99999999999999999L, "1"},
        {9.9999999999999999L, "10"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FormatReal(c.value, '.'), c.point);
        std::string comma = c.point;
        for (char &ch : comma)
            if (ch == '.')
                ch = ',';
        EXPECT_EQ(FormatReal(c.value, ','), comma);
    }
    EXPECT_EQ(FormatReal(std::numeric_limits<long double>::quiet_NaN(), '.'), "NAN");
    EXPECT_EQ(FormatReal(-std::numeric_limits<long double>::infinity(), '.'), "-INF");
}

TEST(RealText, RepairsTheDecimalSeparator) {
    struct Case {
        const char *text;
        char separator;
        const char *repaired;
    };
    const Case cases[] = {
        {"0,5", '.', "0.5"},     {"0.5", '.', "0.5"},     {"0.5", ',', "0,5"}, {"0,5", ',', "0,5"},
        {"1,5,6", '.', "1.5,6"}, {"1.5,6", '.', "1.5,6"}, {"12", ',', "12"},   {"", '.', ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RepairDecimalSeparator(c.text, c.separator), c.repaired) << c.text << " " << c.separator;
}

TEST(RealText, ParsesRealsUnderEitherSeparator) {
    struct Case {
        const char *text;
        long double value;
    };
    const Case valid[] = {
        {"0,5", 0.5L}, {"0.5", 0.5L},     {"+3", 3},       {".5", 0.5L},
        {"5.", 5},     {"-2,25", -2.25L}, {"1E-6", 1e-6L}, {"9.99999997475243E-7", 9.99999997475243e-7L},
        {"7", 7},
    };
    for (char sep : {'.', ','})
        for (const Case &c : valid) {
            const auto v = ParseReal(c.text, sep);
            ASSERT_TRUE(v.has_value()) << c.text << " " << sep;
            EXPECT_EQ(*v, c.value) << c.text << " " << sep;
        }
    const char *invalid[] = {"",     "abc", "1,5.5", "1.5,5.5", "1x", "0x10",   "inf",
                             "-nan", "--1", "+-1",   "- 1",     " 1", "1e99999"};
    for (char sep : {'.', ','})
        for (const char *text : invalid)
            EXPECT_FALSE(ParseReal(text, sep).has_value()) << text << " " << sep;
}

TEST(RealText, WrittenRealsReadBackExactly) {
    const float values[] = {0.5f, 0.98555553f, 0.13333334f, 0.16666667f, 0.000001f, 4.5f, 0.29f, 123.456f};
    for (char writeSep : {'.', ','})
        for (char readSep : {'.', ','})
            for (float f : values) {
                const auto v = ParseReal(FormatReal(f, writeSep), readSep);
                ASSERT_TRUE(v.has_value());
                EXPECT_EQ(static_cast<float>(*v), f) << FormatReal(f, writeSep) << " read with " << readSep;
            }
}

TEST(RealText, ParsesIntegersInDecimalAndHex) {
    struct Case {
        const char *text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"7", 7},
        {"-1", -1},
        {"+5", 5},
        {"0", 0},
        {"2066931", 2066931},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"0x1F", 31},
        {"0XFF", 255},
        {"0xFFFFFFFF", -1},
        {"0x80000000", std::numeric_limits<std::int32_t>::min()},
        {"0x", std::nullopt},
        {"0x123456789", std::nullopt},
        {"0x-1", std::nullopt},
        {"0xG", std::nullopt},
        {"1.5", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"--1", std::nullopt},
        {"12a", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ParseInt32OrHex(c.text), c.value) << c.text;
}
