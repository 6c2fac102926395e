#include <gtest/gtest.h>

#include <cmath>

#include "common/number_text.h"

// Number texts as the data files hold them: the scientific form from 1E15.
using namespace cel;

TEST(NumberText, WritesGeneralFormatWithFifteenDigits) {
    struct Case {
        long double value;
        const char *comma;
        const char *point;
    };
    const Case cases[] = {
        {4.6L, "4,6", "4.6"},
        {static_cast<double>(29145.0L + 12.5L / 24.0L), "29145,5208333333", "29145.5208333333"},
        {-10463.1875L, "-10463,1875", "-10463.1875"},
        {-1.75L, "-1,75", "-1.75"},
        {-5.0L, "-5", "-5"},
        {0.0L, "0", "0"},
        {-0.0L, "0", "0"},
        {1e-6L, "1E-6", "1E-6"},
        {1.5e-7L, "1,5E-7", "1.5E-7"},
        {0.00001L, "0,00001", "0.00001"},
        {1e15L, "1E15", "1E15"},
        {123456789012345.0L, "123456789012345", "123456789012345"},
        // 15 digits round half away from zero, also on an exact binary tie.
        {100000000000000.5L, "100000000000001", "100000000000001"},
        {-100000000000000.5L, "-100000000000001", "-100000000000001"},
        {0.1L + 0.2L, "0,3", "0.3"},
        {2.0L / 3.0L, "0,666666666666667", "0.666666666666667"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.point);
        EXPECT_EQ(FormatReal(c.value, ',', ScientificForm::From1E15), c.comma);
        EXPECT_EQ(FormatReal(c.value, '.', ScientificForm::From1E15), c.point);
    }
    std::string s;
    AppendReal(s, 29145.5208333333, ',', ScientificForm::From1E15);
    EXPECT_EQ(s, "29145,5208333333");
}

TEST(NumberText, ReadsRealsWithSeparatorRepair) {
    struct Case {
        const char *text;
        char separator;
        bool ok;
        long double value;
    };
    const Case cases[] = {
        {"3,45", '.', true, 3.45L}, {"3.45", ',', true, 3.45L}, {"3,45", ',', true, 3.45L},
        {"-5", '.', true, -5},      {"+3", '.', true, 3},       {".5", ',', true, 0.5L},
        {"5.", ',', true, 5},       {"1E-6", ',', true, 1e-6L}, {"1,5E-7", '.', true, 1.5e-7L},
        {"1e5", '.', true, 1e5L},   {"1,5.3", '.', false, 0},   {"1.5,3", ',', false, 0},
        {"1,2,3", '.', false, 0},   {"", '.', false, 0},        {" 5", '.', false, 0},
        {"5 ", '.', false, 0},      {"-", '.', false, 0},       {"e5", '.', false, 0},
        {"1e", '.', false, 0},      {"0x10", '.', false, 0},    {"inf", '.', false, 0},
        {"nan", '.', false, 0},     {"1e99999", '.', false, 0}, {"--1", '.', false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        long double v = 42;
        EXPECT_EQ(ParseReal(c.text, c.separator, v), c.ok);
        if (c.ok)
            EXPECT_NEAR(static_cast<double>(v), static_cast<double>(c.value),
                        1e-15 * std::fabs(static_cast<double>(c.value)));
        else
            EXPECT_EQ(v, 42);
    }
}

TEST(NumberText, ReadsIntegersStrictly) {
    struct Case {
        const char *text;
        bool ok;
        std::int32_t value;
    };
    const Case cases[] = {
        {"0", true, 0},
        {"-1", true, -1},
        {"+5", true, 5},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"", false, 0},
        {" 1", false, 0},
        {"1 ", false, 0},
        {"1.0", false, 0},
        {"0x10", false, 0},
        {"+", false, 0},
        {"+-1", false, 0},
        {"abc", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t v = 77;
        EXPECT_EQ(ParseInt32(c.text, v), c.ok);
        EXPECT_EQ(v, c.ok ? c.value : 77);
    }
}

TEST(NumberText, TheTwoScientificLimitsOfTheStoredFiles) {
    EXPECT_EQ(FormatReal(123456789012345.0L, '.', ScientificForm::From1E14), "1.23456789012345E14");
    EXPECT_EQ(FormatReal(123456789012345.0L, '.', ScientificForm::From1E15), "123456789012345");
    EXPECT_EQ(FormatReal(12345678901234.0L, '.', ScientificForm::From1E14), "12345678901234");
    EXPECT_EQ(FormatReal(1e15L, ',', ScientificForm::From1E14), "1E15");
    EXPECT_EQ(FormatReal(1e15L, ',', ScientificForm::From1E15), "1E15");
}

// Fixed decimals as printf's "%W.Df" writes them, in the separator asked for whatever the C locale is.
TEST(NumberText, FixedAndSignificantAsPrintfWritesThem) {
    struct Case {
        double value;
        int decimals, width;
        char separator;
        const char *text;
    };
    const Case fixed[] = {
        {6.0, 0, 2, ',', " 6"},
        {69.36119842529297, 4, 0, '.', "69.3612"},
        {0.125, 2, 0, ',', "0,12"},
        {0.375, 2, 0, ',', "0,38"}, // exact ties go to even
        {-0.001, 2, 0, '.', "-0.00"},
        {1234.5, 3, 0, ',', "1234,500"},
        {5.5, 2, 8, '.', "    5.50"},
        {-5.0, 2, 2, ',', "-5,00"},
        {2444164.2297490, 4, 2, ',', "2444164,2297"},
    };
    for (const Case &c : fixed)
        EXPECT_EQ(FormatFixed(c.value, c.decimals, c.separator, c.width), c.text) << c.value;
    EXPECT_EQ(FormatSignificant(-5, 4, ',', true), "-5");
    EXPECT_EQ(FormatSignificant(5.5, 4, ',', true), "+5,5");
    EXPECT_EQ(FormatSignificant(0, 4, '.', true), "+0");
    EXPECT_EQ(FormatSignificant(5.75, 4, '.'), "5.75");
    EXPECT_EQ(FormatSignificant(12.3456, 4, '.'), "12.35");
}
