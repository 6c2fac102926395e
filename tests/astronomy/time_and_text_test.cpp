#include <gtest/gtest.h>

#include <cmath>

#include "astronomy/angle_text.h"
#include "astronomy/time_scales.h"

using namespace cel;
using namespace cel::astronomy;

namespace {
constexpr AngleLayout Dms = AngleLayout::DegreesMinutesSeconds;
constexpr AngleLayout Dm = AngleLayout::DegreesMinutes;
constexpr AngleLayout Hms = AngleLayout::HoursMinutesSeconds;
} // namespace

TEST(Norm360, ReducesToTheCircleWithTheZeroRule) {
    const std::pair<Real, Real> cases[] = {
        {725, 5},   {360, 0}, {0, 360}, {-360, 360}, {-720, 360}, {-10, 350}, {359.999L, 359.999L},
        {-370, 350}};
    for (auto [x, expected] : cases)
        EXPECT_NEAR(static_cast<double>(Norm360(x)), static_cast<double>(expected), 1e-12)
            << static_cast<double>(x);
}

TEST(JulianDay, MeeusExamplesAndProlepticGregorian) {
    EXPECT_EQ(JulianDay(2000, 1, 1.5L), 2451545.0L);
    EXPECT_EQ(JulianDay(1987, 1, 27.0L), 2446822.5L);
    EXPECT_EQ(JulianDay(1582, 10, 4.0L), 2299149.5L);
    EXPECT_EQ(JulianDay(2001, 1, 31 + 6.98L), JulianDay(2001, 2, 6.98L));
    EXPECT_EQ(InstantToJulianDay(EncodeDateTime({2000, 1, 1, 12, 0, 0, 0})), 2451545.0L);
    EXPECT_EQ(InstantToJulianDay(EncodeDateTime({1, 1, 1, 0, 0, 0, 0})), JulianDay(1, 1, 1));
}

TEST(TimeScales, LocalAndGreenwich) {
    const TDateTime noon = EncodeDateTime({2000, 1, 1, 12, 0, 0, 0});
    EXPECT_DOUBLE_EQ(GmtToLocal(noon, 1), EncodeDateTime({2000, 1, 1, 13, 0, 0, 0}));
    EXPECT_DOUBLE_EQ(LocalToGmt(noon, 1), EncodeDateTime({2000, 1, 1, 11, 0, 0, 0}));
    const CivilDateTime g = DecodeDateTime(LocalToGmt(EncodeDateTime({1899, 12, 29, 0, 30, 0, 0}), 1));
    EXPECT_EQ(g.day, 28);
    EXPECT_EQ(g.hour, 23);
    EXPECT_EQ(g.minute, 30);
}

TEST(DeltaT, TablesAndPolynomials) {
    struct Case {
        CivilDateTime date;
        double seconds;
        double tolerance;
    };
    const Case cases[] = {
        {{1990, 1, 15}, 56.8554, 0},
        {{2001, 11, 20}, 64.9, 0},
        {{2008, 7, 1}, 71.0, 0},
        {{1799, 12, 31}, 0, 0},
        {{2012, 12, 31, 23, 59, 59}, 75.0, 0},
        // 1800-1899: the eleven-term polynomial (the ten-term form gives 2228 s and 82887 s).
        {{1850, 6, 1}, 7.03, 0.005},
        {{1800, 6, 1}, 13.19, 0.005},
        {{1899, 6, 1}, -4.32, 0.005},
        {{1900, 6, 1}, -2.44, 1e-12},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date.year);
        EXPECT_NEAR(static_cast<double>(DeltaT(EncodeDateTime(c.date))), c.seconds, c.tolerance);
    }
    // Constant through a polynomial year.
    EXPECT_EQ(DeltaT(EncodeDate(1850, 2, 1)), DeltaT(EncodeDate(1850, 11, 30)));
}

// From 2013 the measured 1 January values, interpolated through the year; after the last one the
// Espenak-Meeus expressions at the fractional year.
TEST(DeltaT, MeasuredThenExtrapolated) {
    struct Case {
        CivilDateTime date;
        double seconds;
    };
    const Case cases[] = {
        {{2013, 1, 1}, 66.9069},
        {{2020, 1, 1}, 69.3612},
        {{2020, 7, 2}, 69.3603}, // halfway to 2021's 69.3594 (2020 has 366 days)
        {{2025, 1, 1}, 69.1377},
        {{2026, 1, 1}, 69.1099}, // the last measured value, where the extrapolation starts
        {{2030, 1, 1}, 72.6445}, // 2005-2050 expression with the fading correction
        {{2050, 1, 1}, 93.0},    // -20 + 32 u^2 - 0.5628 (2150 - y)
        {{2100, 1, 1}, 202.74},
        {{2200, 1, 1}, 442.08}, // -20 + 32 u^2
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date.year);
        EXPECT_NEAR(static_cast<double>(DeltaT(EncodeDateTime(c.date))), c.seconds, 5e-5);
    }
}

TEST(DeltaT, NoJumpWhereThePiecesMeet) {
    const int joins[] = {2014, 2020, 2026, 2050, 2150};
    for (int year : joins) {
        SCOPED_TRACE(year);
        const Real before = DeltaT(EncodeDateTime({year - 1, 12, 31, 23, 59, 59, 0}));
        const Real after = DeltaT(EncodeDate(year, 1, 1));
        EXPECT_NEAR(static_cast<double>(after - before), 0, 1e-4);
    }
}

TEST(FormatAngle, LayoutsSuffixesAndCarries) {
    struct Case {
        int wrap, decimals;
        AngleSuffix suffix;
        AngleLayout layout;
        Real x;
        const char *text;
    };
    const Case cases[] = {
        {360, 0, AngleSuffix::None, Dms, 5.1525L, "05° 09' 09\""},
        {360, 0, AngleSuffix::None, Dms, 10.99999L, "11° 00' 00\""},
        {360, 2, AngleSuffix::None, Dms, 5.1525L, "05° 09' 09,00\""},
        {30, 0, AngleSuffix::None, Dm, 29 + 59 / 60.0L + 30 / 3600.0L, "00° 00'"},
        {30, 0, AngleSuffix::None, Dm, 12 + 10 / 60.0L + 29 / 3600.0L, "12° 10'"},
        {360, 0, AngleSuffix::WestEast, Dm, -3.7L, "03° 42' E"},
        {360, 0, AngleSuffix::WestEast, Dm, 0, "00° 00' E"},
        {360, 0, AngleSuffix::WestEast, Dm, 74.0833L, "74° 05' W"},
        {360, 0, AngleSuffix::NorthSouth, Dm, 4.6L, "04° 36' N"},
        {360, 0, AngleSuffix::NorthSouth, Dm, -33.45L, "33° 27' S"},
        {360, 0, AngleSuffix::PlusMinus, Dm, 1.5L, "+ 01° 30'"},
        {360, 0, AngleSuffix::PlusMinus, Dm, 0, "- 00° 00'"},
        {24, 1, AngleSuffix::None, Hms, 18.697374558L, "18h 41' 50,5\""},
        {24, 0, AngleSuffix::None, Hms, 23.9999999L, "00h 00' 00\""},
        {360, 0, AngleSuffix::None, Dms, 359.9999999L, "00° 00' 00\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatAngle(c.wrap, c.decimals, c.suffix, c.layout, c.x, TextFormat{','}), c.text)
            << static_cast<double>(c.x);
    EXPECT_EQ(FormatAngle(360, 2, AngleSuffix::None, Dms, 5.1525L, TextFormat{'.'}), "05° 09' 09.00\"");
}

// Beside a sign the position is truncated: it never shows the start of a sign it has not reached.
TEST(FormatSignPosition, TruncatesWhereOtherAnglesRound) {
    struct Case {
        int decimals;
        AngleLayout layout;
        Real x;
        const char *text;
    };
    const Case cases[] = {
        {0, Dm, 29 + 59 / 60.0L + 46 / 3600.0L, "29° 59'"},
        {0, Dms, 29 + 59 / 60.0L + 59.7L / 3600, "29° 59' 59\""},
        {2, Dms, 29.9999999L, "29° 59' 59,99\""},
        {0, Dms, 10.99999L, "10° 59' 59\""},
        {0, Dm, 12 + 10 / 60.0L + 29 / 3600.0L, "12° 10'"},
        {0, Dm, 12 + 10 / 60.0L + 31 / 3600.0L, "12° 10'"},
        // Exact values whose binary form falls a hair short still read as written.
        {0, Dms, 15 + 30 / 60.0L + 30 / 3600.0L, "15° 30' 30\""},
        {0, Dm, 12.5L, "12° 30'"},
        {2, Dms, 5.1525L, "05° 09' 09,00\""},
        {0, Dm, 0, "00° 00'"},
        {0, Dm, 30, "00° 00'"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatSignPosition(c.decimals, c.layout, c.x, TextFormat{','}), c.text)
            << static_cast<double>(c.x);
    // Elsewhere the same values keep the rounding and its carries.
    EXPECT_EQ(FormatAngle(30, 0, AngleSuffix::None, Dm, 29 + 59 / 60.0L + 46 / 3600.0L), "00° 00'");
    EXPECT_EQ(FormatAngle(360, 0, AngleSuffix::None, Dms, 10.99999L), "11° 00' 00\"");
}

TEST(SplitAngle, CarriesAndWrap) {
    const SplitAngleResult r = SplitAngle(30, 29.999999999999999L);
    EXPECT_GE(r.degrees, 0);
    EXPECT_LT(r.degrees, 30);
    const SplitAngleResult s = SplitAngle(360, 5.1525L);
    EXPECT_EQ(s.degrees, 5);
    EXPECT_EQ(s.minutes, 9);
    EXPECT_NEAR(static_cast<double>(s.seconds), 9.0, 1e-9);
    EXPECT_EQ(DmsToDegrees(9, 9, 5), 5 + 9 / 60.0L + 9 / 3600.0L);
}

TEST(DateDiff, SymmetricAndIgnoresTimeOfDay) {
    struct Case {
        CivilDateTime a, b;
        int years, months, days;
    };
    const Case cases[] = {
        {{1980, 5, 31}, {1981, 3, 1}, 0, 9, 1},  {{2000, 1, 31, 23, 59}, {2000, 3, 1, 0, 0}, 0, 1, 1},
        {{2000, 1, 31}, {2001, 1, 1}, 0, 11, 1}, {{1979, 10, 17}, {2026, 12, 10}, 47, 1, 24},
        {{1850, 2, 28}, {1850, 2, 28}, 0, 0, 0},
    };
    for (const Case &c : cases) {
        for (bool swapped : {false, true}) {
            const TDateTime a = EncodeDateTime(swapped ? c.b : c.a), b = EncodeDateTime(swapped ? c.a : c.b);
            const DateDifference d = DateDiff(a, b);
            EXPECT_EQ(d.years, c.years);
            EXPECT_EQ(d.months, c.months);
            EXPECT_EQ(d.days, c.days);
        }
    }
    EXPECT_EQ(FormatAge(EncodeDate(1980, 5, 31), EncodeDate(1981, 3, 1)), "0 años 9 meses 1 día");
}

TEST(FormatAge, CarriesItsSignAndCountsOneInTheSingular) {
    struct Case {
        CivilDateTime birth, event;
        const char *text;
    };
    const Case cases[] = {
        {{1980, 5, 31}, {1981, 3, 1}, "0 años 9 meses 1 día"},
        {{1981, 3, 1}, {1980, 5, 31}, "-0 años 9 meses 1 día"}, // an event before the birth
        {{1990, 6, 15}, {1991, 7, 16}, "1 año 1 mes 1 día"},
        {{1991, 7, 16}, {1990, 6, 15}, "-1 año 1 mes 1 día"},
        {{1850, 2, 28, 12}, {1850, 2, 28, 6}, "0 años 0 meses 0 días"}, // same day: no sign
        {{1800, 1, 2}, {1799, 12, 1}, "-0 años 1 mes 1 día"},           // before the day count's origin
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatAge(EncodeDateTime(c.birth), EncodeDateTime(c.event)), c.text);
}
