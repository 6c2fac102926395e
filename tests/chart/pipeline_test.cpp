#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "astronomy/angles.h"
#include "astronomy/earth_orientation.h"
#include "astronomy/planets.h"
#include "astronomy/time_scales.h"
#include "chart/chart.h"

namespace cel::chart {
namespace {

constexpr std::int32_t kGreenwich = 7;
const PlacePosition kGreenwichPlace{0, 0, 51.4772L};

ChartContext GreenwichContext() {
    return ChartContext{};
}

TEST(ChartPipeline, GreenwichNoonOf2000EndToEnd) {
    ChartContext context = GreenwichContext();
    TDato record;
    record.placeId = kGreenwich;
    record.gmtFlag = 1;
    record.deltaTFlag = 1;
    TDataAstro chart;
    ComputeChartFor(context, record, kGreenwichPlace, chart, EncodeDate(2000, 1, 1) + 0.5);

    EXPECT_NEAR(chart.deltaT, 63.8285, 1e-4);
    EXPECT_NEAR(static_cast<double>(chart.julianDay), 2451545.000739, 1e-6);
    EXPECT_NEAR(static_cast<double>(chart.siderealTime), 18.697374558, 1e-8);
    EXPECT_NEAR(static_cast<double>(chart.armc), 280.4606, 1e-4);
    EXPECT_NEAR(static_cast<double>(chart.obliquity), 23.437691, 1e-6);
    EXPECT_NEAR(chart.eclipticCusps[10].cusp, 279.6144, 1e-4);
    EXPECT_NEAR(chart.eclipticCusps[1].cusp, 24.2733, 1e-4);
    EXPECT_NEAR(chart.ascensionalCusps[10].cusp, 280.4606, 1e-4);

    const RecPlaneta &sun = chart.bodies[1];
    EXPECT_NEAR(static_cast<double>(sun.longitude), 280.3689, 1e-4);
    EXPECT_NEAR(static_cast<double>(sun.rightAscension), 281.2784, 1e-4);
    EXPECT_NEAR(static_cast<double>(sun.declination), -23.0324, 1e-4);
    EXPECT_EQ(sun.quadrant, 1);
    EXPECT_NEAR(static_cast<double>(sun.dmo), 1.2750, 1e-4);
    EXPECT_NEAR(static_cast<double>(sun.aoDo), 281.7118, 1e-4);
    EXPECT_EQ(sun.aoDoLabel, "AO");
    EXPECT_EQ(sun.signEcliptic, 10);  // Cap
    EXPECT_EQ(sun.houseEcliptic, 10); // 0.75 degrees past the Midheaven
    EXPECT_EQ(sun.retrograde, 0);
    // Sol rules Leo: cusp 5 (119.4, the last 3 degrees of Can) and cusp 6 (147.8).
    EXPECT_EQ(chart.eclipticCusps[6].sign, 5);
    EXPECT_EQ(sun.ruledHousesEcliptic, "5,6");

    EXPECT_NEAR(static_cast<double>(chart.eclipticRotation), 540 - 24.2733 - 360, 1e-4);
    EXPECT_EQ(record.longitude, 0);
    EXPECT_EQ(record.latitude, 51.4772L);
    EXPECT_DOUBLE_EQ(record.localDateTime, record.gmtDateTime);
    EXPECT_EQ(context.counters.requests, 1u);
    EXPECT_EQ(context.counters.computed, 1u);

    // The node moves backwards; the Sun, the Moon and the Part of Fortune are never retrograde.
    EXPECT_EQ(chart.bodies[11].retrograde, 1);
    EXPECT_EQ(chart.bodies[2].retrograde, 0);
    EXPECT_EQ(chart.bodies[12].retrograde, 0);
    for (int n = 1; n <= kBodyCount; ++n) {
        EXPECT_GE(chart.bodies[n].houseEcliptic, 1);
        EXPECT_LE(chart.bodies[n].houseEcliptic, 12);
        EXPECT_GE(chart.bodies[n].houseAscensional, 1);
        EXPECT_LE(chart.bodies[n].houseAscensional, 12);
    }
}

TEST(ChartPipeline, GmtFlagAndZoneGiveBothDateTimes) {
    ChartContext context;
    const TDateTime value = EncodeDate(2000, 1, 1) + 0.5;
    TDato record;
    record.placeId = 1;
    TDataAstro chart;

    record.gmtFlag = 1;
    ComputeChartFor(context, record, PlacePosition{1, 0, 40}, chart, value);
    EXPECT_NEAR(record.localDateTime, EncodeDate(2000, 1, 1) + 13.0 / 24, 1e-9);
    EXPECT_DOUBLE_EQ(record.gmtDateTime, value);

    record.gmtFlag = 0;
    ComputeChartFor(context, record, PlacePosition{1, 0, 40}, chart, value);
    EXPECT_NEAR(record.gmtDateTime, EncodeDate(2000, 1, 1) + 11.0 / 24, 1e-9);
    EXPECT_DOUBLE_EQ(record.localDateTime, value);
}

TEST(ChartPipeline, NoPlaceGivesZeros) {
    ChartContext context = GreenwichContext();
    TDato record;
    record.placeId = 99;
    record.zone = 5;
    record.longitude = 70;
    record.latitude = 10;
    TDataAstro chart;
    ComputeChartFor(context, record, PlacePosition{}, chart, EncodeDate(2000, 1, 1));
    EXPECT_EQ(record.zone, 0);
    EXPECT_EQ(record.longitude, 0);
    EXPECT_EQ(record.latitude, 0);
    EXPECT_EQ(chart.latitude, 0);
}

TEST(ChartPipeline, WithoutDeltaTTheInstantIsGreenwichTime) {
    ChartContext context = GreenwichContext();
    TDato record;
    record.placeId = kGreenwich;
    record.gmtFlag = 1;
    record.deltaTFlag = 0;
    TDataAstro chart;
    const TDateTime value = EncodeDate(2000, 1, 1) + 0.5;
    ComputeChartFor(context, record, kGreenwichPlace, chart, value);
    EXPECT_DOUBLE_EQ(chart.instant, value);
    EXPECT_EQ(chart.deltaT, 0);
    EXPECT_NEAR(static_cast<double>(chart.julianDay), 2451545.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(chart.siderealTime),
                static_cast<double>(astronomy::SiderealTime(chart.julianDay)), 1e-12);
}

TEST(ChartPipeline, CuspSignBytes) {
    struct Case {
        float cusp;
        int sign;
        int next;
    };
    const Case cases[] = {{28.5f, 1, 2}, {26.9f, 1, 0}, {359.9f, 12, 1}, {360.0f, 1, 0},
                          {0.0f, 1, 0},  {57.0f, 2, 3}, {56.99f, 2, 0}};
    for (const Case &c : cases) {
        InfoCasas cusps{};
        for (int i = 1; i <= 12; ++i)
            cusps[i].cusp = c.cusp;
        SetCuspSigns(cusps);
        EXPECT_EQ(cusps[1].sign, c.sign) << c.cusp;
        EXPECT_EQ(cusps[1].nextSign, c.next) << c.cusp;
    }
}

// Equal houses of 30 degrees from cusp 1 at 10 degrees (cusp 12 at 340, so house 12 crosses 0).
InfoCasas EqualCusps() {
    InfoCasas cusps{};
    for (int i = 1; i <= 12; ++i)
        cusps[i].cusp = static_cast<float>(std::fmod(10.0 + 30.0 * (i - 1), 360.0));
    SetCuspSigns(cusps);
    return cusps;
}

TEST(ChartPipeline, HouseOfAndCuspTolerance) {
    const InfoCasas cusps = EqualCusps();
    const settings::CuspTolerances tolerances{7, 3, 4.5f};
    struct Case {
        ChartMode mode;
        double x;
        int house;
    };
    const Case cases[] = {
        {ChartMode::Ecliptic, 128, 5},     // 2 degrees before cusp 5
        {ChartMode::Ecliptic, 126, 4},     // 4 degrees before cusp 5: the 3 degree orb does not reach
        {ChartMode::Ecliptic, 278, 10},    // 2 degrees before the Midheaven
        {ChartMode::Ecliptic, 272, 9},     // 8 degrees before it
        {ChartMode::Ecliptic, 355, 12},    // house 12 across 0 degrees
        {ChartMode::Ecliptic, 5, 1},       // 5 degrees before the Ascendant
        {ChartMode::Ecliptic, 360, 12},    // 360 counts as 0: 10 degrees before the Ascendant
        {ChartMode::Ecliptic, 10, 1},      // on the cusp
        {ChartMode::Ascensional, 126, 5},  // 4 degrees before any cusp
        {ChartMode::Ascensional, 125, 4},  // 5 degrees before it
        {ChartMode::Ascensional, 336, 12}, // 4 degrees before cusp 12
    };
    for (const Case &c : cases) {
        const std::uint8_t house = HouseOf(cusps, c.x);
        EXPECT_EQ(CuspTolerance(c.mode, house, cusps, c.x, tolerances), c.house) << c.x;
    }
    EXPECT_EQ(HouseOf(cusps, 128), 4);

    InfoCasas degenerate{}; // every cusp 0: no interval holds anything
    EXPECT_EQ(HouseOf(degenerate, 100), 12);
    InfoCasas nan{};
    for (auto &c : nan)
        c.cusp = std::nanf("");
    EXPECT_EQ(HouseOf(nan, 100), 12);
}

TEST(ChartPipeline, RuledHousesTexts) {
    // Cusp 1 at 28.5 Ari (also counts for Tau), cusp 2 at 40 (Tau), cusp 7 at 208.5 Lib (also Esc).
    InfoCasas cusps = EqualCusps();
    cusps[1].cusp = 28.5f;
    cusps[2].cusp = 40.0f;
    cusps[7].cusp = 208.5f;
    SetCuspSigns(cusps);
    const settings::DignityMatrix modern = settings::BuiltInMatrix(settings::MatrixPreset::Modern);
    // Venus rules Tau and Lib; Mars rules Ari; Pluto rules Esc.
    EXPECT_EQ(RuledHouses(4, cusps, modern), "1,2,7");
    EXPECT_EQ(RuledHouses(5, cusps, modern), "1");
    EXPECT_EQ(RuledHouses(10, cusps, modern), "7,8");
    // A house whose cusp and next sign are both ruled appears twice.
    settings::DignityMatrix both = modern;
    both.Set(5, 2, settings::kDignityRulership);
    EXPECT_EQ(RuledHouses(5, cusps, both), "1,1,2");
    const settings::DignityMatrix reset = settings::BuiltInMatrix(settings::MatrixPreset::Reset);
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(RuledHouses(n, cusps, reset), "");
}

std::array<TAuxPos, kBodyCount> SpreadFixture(Real a, Real b) {
    std::array<TAuxPos, kBodyCount> list{};
    list[0] = {1, a};
    list[1] = {2, b};
    for (int i = 2; i < kBodyCount; ++i)
        list[i] = {i + 1, 130.0L + 20 * (i - 2)};
    return list;
}

Real PositionOf(const std::array<TAuxPos, kBodyCount> &list, int body) {
    for (const TAuxPos &e : list)
        if (e.body == body)
            return e.position;
    return -1;
}

TEST(ChartPipeline, SpreadPositionsMoveOnlyAsFarAsTheCrowdingNeeds) {
    // Two glyphs half a degree apart move symmetrically to the separation, no further.
    struct Case {
        Real separation, low, high;
    };
    for (const Case &c :
         {Case{kGlyphSeparation, 98.25L, 102.25L}, Case{kLargeGlyphSeparation, 97.25L, 103.25L}}) {
        auto list = SpreadFixture(100.5L, 100.0L);
        EXPECT_TRUE(SpreadList(list, c.separation));
        EXPECT_NEAR(static_cast<double>(PositionOf(list, 2)), static_cast<double>(c.low), 1e-12);
        EXPECT_NEAR(static_cast<double>(PositionOf(list, 1)), static_cast<double>(c.high), 1e-12);
        for (int body = 3; body <= kBodyCount; ++body) // far from the pair: unmoved
            EXPECT_EQ(PositionOf(list, body), 130.0L + 20 * (body - 3));
    }

    // Equal positions keep the body order: the lower body number comes first.
    auto equal = SpreadFixture(50, 50);
    EXPECT_TRUE(SpreadList(equal, kGlyphSeparation));
    EXPECT_LT(PositionOf(equal, 1), PositionOf(equal, 2));

    // Eleven bodies at one point, or all twelve, are spread with every neighbour 4 degrees apart.
    for (int crowded : {11, 12}) {
        std::array<TAuxPos, kBodyCount> crowd{};
        for (int i = 0; i < kBodyCount; ++i)
            crowd[i] = {i + 1, i < crowded ? 0.0L : 200.0L};
        EXPECT_TRUE(SpreadList(crowd, kGlyphSeparation));
        for (int i = 0; i < kBodyCount; ++i) {
            Real d = std::fabs(crowd[i].position - crowd[(i + 1) % kBodyCount].position);
            if (d > 180)
                d = 360 - d;
            EXPECT_GE(static_cast<double>(d), 4.0 - 1e-9) << crowded << " " << i;
        }
    }
    // Positions that are not numbers are refused.
    std::array<TAuxPos, kBodyCount> broken{};
    for (int i = 0; i < kBodyCount; ++i)
        broken[i] = {i + 1, std::nanl("")};
    EXPECT_FALSE(SpreadList(broken, kGlyphSeparation));
}

TEST(ChartPipeline, SpreadPositionsKeepTheZodiacOrderOfAStellium) {
    // Sun 15, Venus 17 and Jupiter 18 degrees 31' Aquarius.
    ChartContext context = GreenwichContext();
    TDato record;
    record.placeId = kGreenwich;
    record.gmtFlag = 1;
    TDataAstro chart;
    ComputeChartFor(context, record, kGreenwichPlace, chart, EncodeDate(1962, 2, 4) + 14.0 / 24);
    const auto &b = chart.bodies;
    ASSERT_LT(b[1].longitude, b[4].longitude);
    ASSERT_LT(b[4].longitude, b[6].longitude);
    ASSERT_LT(b[6].longitude - b[1].longitude, 4);
    EXPECT_LT(b[1].wheelEcliptic, b[4].wheelEcliptic);
    EXPECT_LT(b[4].wheelEcliptic, b[6].wheelEcliptic);
}

// Circular distance from a to b going forward, 0..360.
Real Forward(Real a, Real b) {
    Real d = std::fmod(b - a, Real(360));
    return d < 0 ? d + 360 : d;
}

TEST(ChartPipeline, SpreadPositionsPropertiesOverRandomCharts) {
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> anywhere(0, 360), near(-6, 6);
    std::uniform_int_distribution<int> clusterCount(0, 3);
    for (int chart = 0; chart < 4000; ++chart) {
        const Real separation = chart % 2 ? kGlyphSeparation : kLargeGlyphSeparation;
        // Some bodies scattered, the rest gathered round up to three stellium centres.
        const int clusters = clusterCount(random);
        std::array<Real, 4> centre{};
        for (Real &c : centre)
            c = anywhere(random);
        std::array<TAuxPos, kBodyCount> list{};
        for (int i = 0; i < kBodyCount; ++i) {
            const int k = clusters == 0 ? -1 : i % (clusters + 1) - 1;
            const double at = k < 0 ? anywhere(random) : static_cast<double>(centre[k]) + near(random);
            list[i] = {i + 1, static_cast<Real>(std::fmod(at + 360, 360.0))};
        }
        const auto original = list;
        ASSERT_TRUE(SpreadList(list, separation));
        std::array<int, kBodyCount> order{};
        for (int i = 0; i < kBodyCount; ++i)
            order[i] = list[i].body;
        // Still in zodiac order: going round from each body, the next one is the same as before.
        auto sorted = original;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const TAuxPos &a, const TAuxPos &b) { return a.position < b.position; });
        Real moved = 0, sumBefore = 0, sumAfter = 0;
        for (int i = 0; i < kBodyCount; ++i) {
            ASSERT_EQ(order[i], sorted[i].body) << chart;
            const Real gap = Forward(list[i].position, list[(i + 1) % kBodyCount].position);
            ASSERT_GE(static_cast<double>(gap), static_cast<double>(separation) - 1e-9) << chart << " " << i;
            ASSERT_LT(static_cast<double>(gap), 360 - static_cast<double>(separation) + 1e-9) << chart;
            moved = std::max(moved, std::fabs(list[i].position - sorted[i].position));
            sumBefore += sorted[i].position;
            sumAfter += list[i].position;
        }
        // Never more than the crowding needs: a body with room on both sides stays where it is, and a
        // crowd moves about its own centre, so the mean position does not drift.
        for (int i = 0; i < kBodyCount; ++i) {
            const Real before =
                Forward(sorted[(i + kBodyCount - 1) % kBodyCount].position, sorted[i].position);
            const Real after = Forward(sorted[i].position, sorted[(i + 1) % kBodyCount].position);
            const Real pushedPrev = std::fabs(list[(i + kBodyCount - 1) % kBodyCount].position -
                                              sorted[(i + kBodyCount - 1) % kBodyCount].position);
            const Real pushedNext =
                std::fabs(list[(i + 1) % kBodyCount].position - sorted[(i + 1) % kBodyCount].position);
            if (before >= separation + pushedPrev && after >= separation + pushedNext) {
                ASSERT_NEAR(static_cast<double>(list[i].position), static_cast<double>(sorted[i].position),
                            1e-9)
                    << chart << " " << i;
            }
        }
        EXPECT_NEAR(static_cast<double>(sumAfter), static_cast<double>(sumBefore), 1e-6) << chart;
        EXPECT_LT(static_cast<double>(moved), 12 * static_cast<double>(separation)) << chart;
    }
}

TEST(ChartPipeline, WheelRotationPutsCuspOneLeft) {
    InfoCasas cusps{};
    cusps[1].cusp = 24.2733f;
    EXPECT_NEAR(static_cast<double>(WheelRotation(cusps)), 155.7267, 1e-4);
    cusps[1].cusp = 180.0f;
    EXPECT_EQ(WheelRotation(cusps), 0); // Norm360(360)
}

TEST(ChartPipeline, ForwardMotionOverZeroIsDirect) {
    // Find an instant when Mercury, moving forward, crosses 0 Aries within its look-ahead.
    using namespace astronomy;
    const Real lookAhead = (3 + (27 + 16 / 60.0L) / 60.0L) / 24.0L;
    auto longitude = [](Real jd) { return PlanetPosition(3, jd, SunPosition(jd)).longitude; };
    TDateTime found = -1;
    for (TDateTime day = EncodeDate(2000, 1, 1); day < EncodeDate(2002, 1, 1) && found < 0; day += 1) {
        const Real jd = InstantToJulianDay(day);
        if (!(longitude(jd) > 357 && longitude(jd + 1) < 3))
            continue;
        for (TDateTime t = day; t < day + 1 && found < 0; t += 1.0 / 24) {
            const Real jdHour = InstantToJulianDay(t);
            if (longitude(jdHour) > 359 && longitude(jdHour + lookAhead) < 1)
                found = t;
        }
    }
    ASSERT_GT(found, 0);
    InfoPlanetas bodies{};
    InfoCasas cusps{};
    const Real jd = InstantToJulianDay(found);
    ComputeBodies(bodies, cusps, Obliquity(true, jd), jd, found);
    EXPECT_GT(static_cast<double>(bodies[3].longitude), 359.0);
    EXPECT_EQ(bodies[3].retrograde, 0);
}

} // namespace
} // namespace cel::chart
