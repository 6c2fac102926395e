// The position cache against the engine, and the searches against instants found here by bisection on
// charts computed by the chart pipeline itself.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "chart/chart.h"
#include "timing/listing.h"
#include "timing/search.h"

namespace cel::timing {
namespace {

using chart::TDataAstro;
using chart::TDato;

constexpr Real kMinute = 1.0L / 1440;

// A chart computed by the pipeline for a Greenwich instant (continuous days).
TDataAstro ChartAt(Real days, Real longitude = 3.7, Real latitude = 40.4) {
    chart::ChartContext context;
    TDato record;
    record.gmtFlag = 1;
    record.deltaTFlag = 1;
    record.longitude = longitude;
    record.latitude = latitude;
    record.gmtDateTime = DateTimeFromContinuous(days);
    TDataAstro chart;
    chart::ComputeChart(context, record, chart);
    return chart;
}

Real Day(int year, int month, int day, Real hours = 0) {
    return static_cast<Real>(DaysFromCivil(year, month, day)) + hours / 24;
}

TDataAstro Natal() {
    return ChartAt(Day(1979, 10, 17, 17.5), 76.5225, 3.43722);
}

// The instant in [a, b] at which f changes sign, by bisection to a second.
template <class F> Real Bisect(F f, Real a, Real b) {
    const bool sa = f(a) < 0;
    EXPECT_NE(sa, f(b) < 0);
    while (b - a > 1.0L / 86400) {
        const Real m = (a + b) / 2;
        ((f(m) < 0) == sa ? a : b) = m;
    }
    return (a + b) / 2;
}

TEST(PositionCache, MatchesTheEngineWithinAHundredthOfAnArcSecondFrom1800To2100) {
    PositionCache cache;
    std::mt19937_64 random(26);
    std::uniform_real_distribution<double> instant(2378496.5, 2488069.5); // 1800-01-01 .. 2100-01-01
    for (int body = kFirstMovingBody; body <= kLastMovingBody; ++body) {
        Real worstLongitude = 0, worstLatitude = 0;
        for (int i = 0; i < 400; ++i) {
            const Real jd = instant(random);
            const EclipticPoint direct = DirectPosition(body, jd);
            const EclipticPoint cached = cache.Position(body, jd);
            worstLongitude =
                std::max(worstLongitude, std::fabs(Wrap180(cached.longitude - direct.longitude)));
            worstLatitude = std::max(worstLatitude, std::fabs(cached.latitude - direct.latitude));
        }
        EXPECT_LT(worstLongitude * 3600, 0.01L) << "body " << body;
        EXPECT_LT(worstLatitude * 3600, 0.01L) << "body " << body;
    }
}

TEST(PositionCache, SpeedFollowsTheLongitude) {
    PositionCache cache;
    const Real jd = 2460310.5;
    for (int body = kFirstMovingBody; body <= kLastMovingBody; ++body) {
        const Real h = 0.01L;
        const Real difference =
            Wrap180(DirectPosition(body, jd + h).longitude - DirectPosition(body, jd - h).longitude) /
            (2 * h);
        EXPECT_NEAR(static_cast<double>(cache.Speed(body, jd)), static_cast<double>(difference), 1e-5)
            << "body " << body;
    }
}

TEST(Transits, SaturnSquareSunExactToTheMinuteOfTheEngine) {
    const TDataAstro natal = Natal();
    TimingOptions options;
    options.from = Day(1990, 1, 1);
    options.to = Day(2000, 1, 1);
    options.bodies = {7};
    options.points = {{NatalPoint::Type::Body, 1}};
    options.aspects = {7};
    options.signIngresses = options.houseIngresses = options.stations = false;
    PositionCache cache;
    const std::vector<TimingEvent> events = FindTransits(natal, options, cache);
    ASSERT_FALSE(events.empty());
    int exacts = 0;
    for (const TimingEvent &e : events) {
        EXPECT_EQ(e.kind, EventKind::Aspect);
        ASSERT_TRUE(e.enter && e.leave);
        for (Real x : e.exact) {
            ASSERT_LT(*e.enter, x);
            ASSERT_LT(x, *e.leave);
            // Which side of the square: the nearer of Sun + 90 and Sun - 90.
            const Real here = ChartAt(x).bodies[7].longitude;
            const Real sun = natal.bodies[1].longitude;
            const Real target = std::fabs(Wrap180(here - sun - 90)) < std::fabs(Wrap180(here - sun + 90))
                                    ? sun + 90
                                    : sun - 90;
            const Real truth = Bisect(
                [&](Real t) { return Wrap180(ChartAt(t).bodies[7].longitude - target); }, x - 0.5L, x + 0.5L);
            EXPECT_LE(std::fabs(x - truth), kMinute);
            ++exacts;
        }
        // In orb between enter and leave, out of it just outside.
        const auto deviation = [&](Real t) {
            const Real d = Wrap180(ChartAt(t).bodies[7].longitude - natal.bodies[1].longitude);
            return std::fabs(std::fabs(d) - 90);
        };
        EXPECT_GT(deviation(*e.enter - 2 * kMinute), options.orbs.OPE[7]);
        EXPECT_LT(deviation(*e.enter + 2 * kMinute), options.orbs.OPE[7]);
        EXPECT_LT(deviation(*e.leave - 2 * kMinute), options.orbs.OPE[7]);
        EXPECT_GT(deviation(*e.leave + 2 * kMinute), options.orbs.OPE[7]);
    }
    EXPECT_GE(exacts, 3);
}

TEST(Transits, RetrogradeLoopGivesThreeExactTimesInOneEpisode) {
    // A natal point in the middle of Jupiter's retrograde arc is crossed three times.
    TDataAstro natal = Natal();
    TimingOptions options;
    options.from = Day(2023, 1, 1);
    options.to = Day(2024, 12, 31);
    options.bodies = {6};
    options.aspectsWanted = options.signIngresses = options.houseIngresses = false;
    PositionCache cache;
    const std::vector<TimingEvent> stations = FindTransits(natal, options, cache);
    ASSERT_GE(stations.size(), 2u);
    ASSERT_TRUE(stations[0].retrograde);
    ASSERT_FALSE(stations[1].retrograde);
    const Real a = ChartAt(stations[0].Time()).bodies[6].longitude;
    const Real b = ChartAt(stations[1].Time()).bodies[6].longitude;
    natal.bodies[4].longitude = Wrap360(b + Wrap180(a - b) / 2);

    options.aspectsWanted = true;
    options.stations = false;
    options.points = {{NatalPoint::Type::Body, 4}};
    options.aspects = {1}; // the built-in orb of 7 degrees holds the whole loop
    const std::vector<TimingEvent> events = FindTransits(natal, options, cache);
    ASSERT_EQ(events.size(), 1u);
    ASSERT_EQ(events[0].exact.size(), 3u);
    for (Real x : events[0].exact) {
        const Real before = Wrap180(ChartAt(x - kMinute).bodies[6].longitude - natal.bodies[4].longitude);
        const Real after = Wrap180(ChartAt(x + kMinute).bodies[6].longitude - natal.bodies[4].longitude);
        EXPECT_NE(before < 0, after < 0);
    }
    // Applying before the first pass, separating after the last.
    options.moment = events[0].exact[0] - 2;
    EXPECT_EQ(FindTransits(natal, options, cache).at(0).applying, true);
    options.moment = events[0].exact[2] + 2;
    EXPECT_EQ(FindTransits(natal, options, cache).at(0).applying, false);
}

TEST(Transits, StationIsTheTurningPointOfTheEngine) {
    TimingOptions options;
    options.from = Day(2024, 1, 1);
    options.to = Day(2025, 1, 1);
    options.bodies = {3};
    options.aspectsWanted = options.signIngresses = options.houseIngresses = false;
    PositionCache cache;
    const std::vector<TimingEvent> events = FindTransits(Natal(), options, cache);
    // Mercury turns forwards on 2 January, then three times each way in the rest of 2024.
    ASSERT_EQ(events.size(), 7u);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const TimingEvent &e = events[i];
        EXPECT_EQ(e.retrograde, i % 2 == 1);
        ASSERT_EQ(e.kind, EventKind::Station);
        const Real t = e.Time();
        const Real here = ChartAt(t).bodies[3].longitude;
        for (Real h : {-1.0L / 24, 1.0L / 24}) {
            const Real d = Wrap180(ChartAt(t + h).bodies[3].longitude - here);
            // A turn backwards is a maximum of the longitude, a turn forwards a minimum.
            EXPECT_EQ(d < 0, e.retrograde) << static_cast<double>(t);
        }
    }
}

TEST(Transits, SunEntersAriesAtTheEquinox) {
    TimingOptions options;
    options.from = Day(2024, 3, 1);
    options.to = Day(2024, 4, 1);
    options.bodies = {1};
    options.aspectsWanted = options.houseIngresses = options.stations = false;
    PositionCache cache;
    const std::vector<TimingEvent> events = FindTransits(Natal(), options, cache);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, EventKind::SignIngress);
    EXPECT_EQ(events[0].sign, 1);
    EXPECT_FALSE(events[0].retrograde);
    const Real t = events[0].Time();
    EXPECT_EQ(ChartAt(t - kMinute).bodies[1].signEcliptic, 12);
    EXPECT_EQ(ChartAt(t + kMinute).bodies[1].signEcliptic, 1);
    EXPECT_NEAR(static_cast<double>(t), static_cast<double>(Day(2024, 3, 20, 3.1)), 10.0 / 1440);
}

TEST(Transits, HouseIngressesOfBothModelsMatchTheChartHouses) {
    const TDataAstro natal = Natal();
    TimingOptions options;
    options.from = Day(2024, 1, 1);
    options.to = Day(2025, 1, 1);
    options.bodies = {1};
    options.aspectsWanted = options.signIngresses = options.stations = false;
    PositionCache cache;
    const std::vector<TimingEvent> events = FindTransits(natal, options, cache);
    int ecliptic = 0, ascensional = 0;
    for (const TimingEvent &e : events) {
        ASSERT_EQ(e.kind, EventKind::HouseIngress);
        const TDataAstro after = ChartAt(e.Time() + kMinute);
        if (e.model == HouseModel::Ecliptic) {
            ++ecliptic;
            EXPECT_EQ(chart::HouseOf(natal.eclipticCusps, after.bodies[1].longitude), e.house);
            EXPECT_EQ(chart::HouseOf(natal.eclipticCusps, ChartAt(e.Time() - kMinute).bodies[1].longitude),
                      (e.house + 10) % 12 + 1);
        } else {
            ++ascensional;
        }
    }
    EXPECT_EQ(ecliptic, 12);
    EXPECT_GE(ascensional, 10);
}

TEST(Transits, ListingIsInTimeOrderAndKeepsToItsFilters) {
    TimingOptions options;
    options.from = Day(2024, 1, 1);
    options.to = Day(2024, 7, 1);
    options.bodies = {1, 5, 7};
    options.aspects = {1, 7};
    options.stations = false;
    PositionCache cache;
    const std::vector<TimingEvent> events = FindTransits(Natal(), options, cache);
    ASSERT_GT(events.size(), 10u);
    for (std::size_t i = 1; i < events.size(); ++i)
        EXPECT_LE(events[i - 1].Time(), events[i].Time());
    for (const TimingEvent &e : events) {
        EXPECT_TRUE(e.body == 1 || e.body == 5 || e.body == 7);
        EXPECT_NE(e.kind, EventKind::Station);
        if (e.kind == EventKind::Aspect) {
            EXPECT_TRUE(e.aspect == 1 || e.aspect == 7);
        }
        EXPECT_TRUE(std::any_of(e.exact.begin(), e.exact.end(),
                                [&](Real x) { return x >= options.from && x <= options.to; }) ||
                    e.kind == EventKind::Aspect);
    }
    // Stopping through the progress callback ends the search early.
    int calls = 0;
    options.progress = [&calls](double) { return ++calls < 2; };
    EXPECT_LT(FindTransits(Natal(), options, cache).size(), events.size());
}

TEST(Progressions, ProgressedMoonChangesSignWhereTheProgressionsDo) {
    const TDataAstro natal = Natal();
    TimingOptions options;
    options.from = Day(1990, 1, 1);
    options.to = Day(1995, 1, 1);
    options.bodies = {2};
    options.aspectsWanted = options.houseIngresses = options.moonPhases = false;
    PositionCache cache;
    const std::vector<TimingEvent> events = FindProgressions(natal, {Source::Secondary}, options, cache);
    std::vector<TimingEvent> moon;
    for (const TimingEvent &e : events)
        if (e.body == 2)
            moon.push_back(e);
    ASSERT_GE(moon.size(), 2u); // about one sign in two and a half years
    for (const TimingEvent &e : moon) {
        chart::TDataProg before, after;
        chart::ComputeProgressions(natal, ChartAt(e.Time() - 1.0L / 24), before, {});
        chart::ComputeProgressions(natal, ChartAt(e.Time() + 1.0L / 24), after, {});
        EXPECT_EQ(after.items[chart::kSecondary].bodies[2].sign, e.sign);
        EXPECT_EQ(before.items[chart::kSecondary].bodies[2].sign, (e.sign + 10) % 12 + 1);
    }
}

TEST(Progressions, SolarArcDirectionPerfectsOnItsDate) {
    const TDataAstro natal = Natal();
    TimingOptions options;
    options.from = Day(1980, 1, 1);
    options.to = Day(2030, 1, 1);
    options.bodies = {1, 6};
    options.aspects = {1, 7, 13};
    options.signIngresses = options.houseIngresses = options.moonPhases = false;
    PositionCache cache;
    const std::vector<TimingEvent> events = FindProgressions(natal, {Source::SolarArc}, options, cache);
    ASSERT_FALSE(events.empty());
    for (const TimingEvent &e : events) {
        ASSERT_EQ(e.source, Source::SolarArc);
        ASSERT_EQ(e.exact.size(), 1u);
        const Real angle = (e.aspect - 1) * 15;
        const Real natalX = NatalLongitude(natal, e.point);
        const auto side = [&](Real t) {
            chart::TDataProg p;
            chart::ComputeProgressions(natal, ChartAt(t), p, {});
            const Real x = e.body == kMovingAscendant   ? p.items[chart::kSolarArc].cusps[1].cusp
                           : e.body == kMovingMidheaven ? p.items[chart::kSolarArc].cusps[10].cusp
                                                        : p.items[chart::kSolarArc].bodies[e.body].position;
            const Real d = Wrap180(x - natalX);
            return std::fabs(std::fabs(d) - angle);
        };
        // Exact within a day of the program's own progressions (the arc grows a degree a year).
        EXPECT_LT(side(e.Time()), side(e.Time() - 1) + 1e-9L);
        EXPECT_LT(side(e.Time()), side(e.Time() + 1) + 1e-9L);
        EXPECT_LT(side(e.Time()), 1e-4L);
    }
}

TEST(Progressions, MoonPhasesAndPrimaryDirectionsOverACentury) {
    const TDataAstro natal = Natal();
    TimingOptions options;
    options.from = Day(1980, 1, 1);
    options.to = Day(2079, 1, 1);
    options.bodies = {1, 2};
    options.signIngresses = options.houseIngresses = false;
    PositionCache cache;
    const std::vector<TimingEvent> events =
        FindProgressions(natal, {Source::Secondary, Source::PrimaryDirect}, options, cache);
    int phases = 0, primary = 0;
    for (const TimingEvent &e : events) {
        phases += e.kind == EventKind::MoonPhase;
        primary += e.source == Source::PrimaryDirect;
    }
    // The progressed lunation takes about thirty years: some thirty phases of 45 degrees in a century.
    EXPECT_GE(phases, 24);
    EXPECT_LE(phases, 30);
    EXPECT_GT(primary, 0);
}

TEST(NatalPoints, KeysReadBack) {
    for (const NatalPoint &p :
         {NatalPoint{NatalPoint::Type::Body, 12}, NatalPoint{NatalPoint::Type::Ascendant, 1},
          NatalPoint{NatalPoint::Type::Midheaven, 10}, NatalPoint{NatalPoint::Type::Cusp, 5}})
        EXPECT_EQ(ParsePointKey(PointKey(p)), p);
    EXPECT_EQ(ParsePointKey("c11"), (NatalPoint{NatalPoint::Type::Cusp, 11}));
    for (const char *bad : {"", "0", "13", "cusp 13", "x", "asc1"})
        EXPECT_FALSE(ParsePointKey(bad)) << bad;
}

TEST(TimeLine, ContinuousDaysRunStraightThrough1899) {
    for (Real days : {-36524.25L, -1.25L, -0.75L, 0.0L, 0.5L, 45000.125L})
        EXPECT_NEAR(static_cast<double>(ContinuousFromDateTime(DateTimeFromContinuous(days))),
                    static_cast<double>(days), 1e-9);
    EXPECT_DOUBLE_EQ(DateTimeFromContinuous(-0.25L), -1.75); // 1899-12-29 18:00
    const Real jd = EngineJulianDay(45000.5L, true);
    EXPECT_NEAR(static_cast<double>(ContinuousFromEngineJulianDay(jd, true)), 45000.5, 1e-8);
}

// The listing a chunk at a time gives the events of one search over the period: an aspect whose passes
// fall in two chunks is listed once, by the chunk of its first exact time.
TEST(ChunkedListing, GivesTheEventsOfOneSearchOverThePeriod) {
    const TDataAstro natal = Natal();
    ListingRequest request;
    TimingOptions &options = request.options;
    options.from = Day(2023, 3, 10);
    options.to = Day(2026, 8, 20);
    options.bodies = {1, 4, 6, 7};
    options.aspects = {1, 4, 5, 7, 9, 13};
    options.moment = Day(2024, 6, 1);
    request.progressions = request.directions = true;

    PositionCache cache;
    std::vector<TimingEvent> whole = FindTransits(natal, options, cache);
    const std::vector<TimingEvent> progressed = FindProgressions(
        natal, {Source::Secondary, Source::SolarArc, Source::PrimaryDirect, Source::PrimaryConverse}, options,
        cache);
    whole.insert(whole.end(), progressed.begin(), progressed.end());
    SortEvents(whole);
    const std::vector<TimingEvent> chunked = RunListing(natal, request);

    ASSERT_EQ(chunked.size(), whole.size());
    int multiple = 0;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const TimingEvent &a = whole[i], &b = chunked[i];
        EXPECT_EQ(a.kind, b.kind) << i;
        EXPECT_EQ(a.source, b.source) << i;
        EXPECT_EQ(a.body, b.body) << i;
        EXPECT_EQ(a.point, b.point) << i;
        EXPECT_EQ(a.aspect, b.aspect) << i;
        EXPECT_EQ(a.applying, b.applying) << i;
        // Listed by the first exact time in the period. (The directed angles are single-precision cusps, flat
        // over a minute or so: one search may list such an aspect by a time a bracket's solution away.)
        EXPECT_NEAR(static_cast<double>(a.Time()), static_cast<double>(b.Time()), 120.0 / 86400) << i;
        const auto first =
            std::find_if(b.exact.begin(), b.exact.end(), [&](Real x) { return x >= options.from; });
        if (b.kind == EventKind::Aspect && first != b.exact.end()) {
            EXPECT_EQ(b.Time(), *first) << i;
        }
        ASSERT_EQ(a.exact.size(), b.exact.size()) << i;
        for (std::size_t k = 0; k < a.exact.size(); ++k)
            EXPECT_NEAR(static_cast<double>(a.exact[k]), static_cast<double>(b.exact[k]), 1.0 / 86400) << i;
        multiple += a.exact.size() > 1;
    }
    EXPECT_GT(multiple, 0) << "some retrograde passes cross the years the chunks cut";
}

TEST(ChunkedListing, AStoppedChunkGivesNothingAndTheListingGoesOn) {
    ListingRequest request;
    request.options.from = Day(2025, 1, 1);
    request.options.to = Day(2027, 1, 1);
    request.options.bodies = {1, 7};
    ChunkedListing listing(Natal(), request);
    EXPECT_DOUBLE_EQ(listing.Share(), 0);
    EXPECT_TRUE(listing.Next([] { return true; }).empty());
    EXPECT_DOUBLE_EQ(listing.Share(), 0.25);
    std::size_t found = 0;
    while (!listing.Done())
        found += listing.Next().size();
    EXPECT_GT(found, 0u);
    EXPECT_DOUBLE_EQ(listing.Share(), 1);
}

TEST(ListingText, RowsReadAsTheListingShowsThem) {
    TimingEvent square;
    square.body = 7;
    square.point = {NatalPoint::Type::Ascendant, 1};
    square.aspect = 7;
    square.enter = Day(2025, 1, 2, 3.5);
    square.exact = {Day(2025, 3, 4, 23.999)};
    square.applying = true;
    const ListingRow row = EventRow(square, kGreenwichTime);
    EXPECT_EQ(row.source, "Trán.");
    EXPECT_EQ(row.body, "Sat");
    EXPECT_EQ(row.what, "90° Asc (aplicativo)");
    EXPECT_EQ(row.enter, "2025-01-02T03:30Z");
    EXPECT_EQ(row.exact, "2025-03-05T00:00Z"); // rounded to the minute across midnight
    EXPECT_EQ(row.leave, "");
    EXPECT_EQ(EventRow(square, -5).enter, "2025-01-01T22:30-05:00");
    EXPECT_EQ(CsvField("a,\"b\""), "\"a,\"\"b\"\"\"");
}

} // namespace
} // namespace cel::timing
